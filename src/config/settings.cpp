#include "config/settings.h"

#include "base/text_codec.h"

#include <QDir>
#include <QFile>

namespace tormel {

namespace {

constexpr qsizetype settingsSize = 10;
// A settings file has 10 bytes; anything far bigger is not ours, and only
// its first bytes are kept on rewriting.
constexpr qint64 keptTailLimit = 64 * 1024;

void putWord(QByteArray& bytes, qsizetype offset, std::int16_t value)
{
    const auto u = static_cast<std::uint16_t>(value);
    bytes[offset] = char(u & 0xFF);
    bytes[offset + 1] = char(u >> 8);
}

// Bytes past the end of the file read as zero.
std::int16_t wordAt(const QByteArray& bytes, qsizetype offset)
{
    const auto byte = [&bytes](qsizetype k) { return k < bytes.size() ? std::uint8_t(bytes[k]) : std::uint8_t(0); };
    return static_cast<std::int16_t>(std::uint16_t(byte(offset) | (byte(offset + 1) << 8)));
}

}  // namespace

QString settingsFilePath(const QString& programFolder)
{
    return QDir(programFolder).filePath(settingsFileName);
}

QByteArray settingsBytes(const SystemSettings& values)
{
    QByteArray bytes(settingsSize, '\0');
    putWord(bytes, 0, values.Port_Com);
    putWord(bytes, 2, static_cast<std::int16_t>(values.Choix_Temp * 2 + values.Choix_Vitesse));
    putWord(bytes, 4, values.Choix_Langue);
    putWord(bytes, 6, values.Piste_Courante);
    putWord(bytes, 8, values.AffTip ? std::int16_t(-1) : std::int16_t(0));
    return bytes;
}

SystemSettings settingsFromBytes(const QByteArray& bytes)
{
    SystemSettings s;
    const qsizetype length = bytes.size();
    s.Port_Com = wordAt(bytes, 0);
    const int units = wordAt(bytes, 2);
    s.Choix_Vitesse = static_cast<std::int16_t>(units & 1);
    s.Choix_Temp = static_cast<std::int16_t>((units / 2) & 1);
    s.Choix_Langue = wordAt(bytes, 4);
    s.Piste_Courante = length > 6 ? wordAt(bytes, 6) : std::int16_t(1);
    if (s.Piste_Courante < 1 || s.Piste_Courante > 100)
        s.Piste_Courante = 1;
    s.AffTip = length > 8 ? wordAt(bytes, 8) != 0 : true;
    if (s.Port_Com < 1 || s.Port_Com > 4)
        s.Port_Com = 1;
    if (s.Choix_Langue < 1 || s.Choix_Langue > 5)
        s.Choix_Langue = 0;
    return s;
}

bool Sauve_System(const QString& programFolder, const SystemSettings& values, QString* errorText)
{
    const QString path = settingsFilePath(programFolder);
    QByteArray bytes = settingsBytes(values);
    QFile old(path);
    if (old.open(QIODevice::ReadOnly)) {
        const QByteArray existing = old.read(keptTailLimit);
        if (existing.size() > settingsSize)
            bytes += existing.mid(settingsSize);
    }
    return saveWholeFile(path, bytes, errorText);
}

SystemSettings Charge_System(const QString& programFolder)
{
    QFile file(settingsFilePath(programFolder));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return settingsFromBytes(file.read(settingsSize));
}

}  // namespace tormel
