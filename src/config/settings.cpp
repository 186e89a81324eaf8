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
    putWord(bytes, 0, values.comPort);
    putWord(bytes, 2, static_cast<std::int16_t>(values.temperatureUnit * 2 + values.speedUnit));
    putWord(bytes, 4, values.language);
    putWord(bytes, 6, values.currentTrack);
    putWord(bytes, 8, values.showToolTips ? std::int16_t(-1) : std::int16_t(0));
    return bytes;
}

SystemSettings settingsFromBytes(const QByteArray& bytes)
{
    SystemSettings s;
    const qsizetype length = bytes.size();
    s.comPort = wordAt(bytes, 0);
    const int units = wordAt(bytes, 2);
    s.speedUnit = static_cast<std::int16_t>(units & 1);
    s.temperatureUnit = static_cast<std::int16_t>((units / 2) & 1);
    s.language = wordAt(bytes, 4);
    s.currentTrack = length > 6 ? wordAt(bytes, 6) : std::int16_t(1);
    if (s.currentTrack < 1 || s.currentTrack > 100)
        s.currentTrack = 1;
    s.showToolTips = length > 8 ? wordAt(bytes, 8) != 0 : true;
    if (s.comPort < 1 || s.comPort > 4)
        s.comPort = 1;
    if (s.language < 1 || s.language > 5)
        s.language = 0;
    return s;
}

bool saveSettings(const QString& programFolder, const SystemSettings& values, QString* errorText)
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

SystemSettings loadSettings(const QString& programFolder)
{
    QFile file(settingsFilePath(programFolder));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return settingsFromBytes(file.read(settingsSize));
}

}  // namespace tormel
