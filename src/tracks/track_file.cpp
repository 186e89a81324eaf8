#include "tracks/track_file.h"

#include "base/text_codec.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <bit>
#include <cmath>
#include <limits>

namespace tormel {

namespace {

constexpr qsizetype usedRecordBytes = 170;  // the fields; the rest of a slot is kept as found
constexpr qsizetype nomOffset = 2;
constexpr qsizetype hammeauOffset = 52;
constexpr qsizetype countryOffset = 102;
constexpr qsizetype distancesOffset = 152;
constexpr qsizetype uniteOffset = 168;

std::uint8_t byteAt(const QByteArray& bytes, qsizetype k)
{
    return k < bytes.size() ? std::uint8_t(bytes[k]) : std::uint8_t(0);
}

std::uint32_t wordAt(const QByteArray& bytes, qsizetype offset, int size)
{
    std::uint32_t value = 0;
    for (int k = size - 1; k >= 0; --k)
        value = (value << 8) | byteAt(bytes, offset + k);
    return value;
}

void putBytes(QByteArray& bytes, qsizetype offset, std::uint32_t value, int size)
{
    for (int k = 0; k < size; ++k) {
        bytes[offset + k] = char(value & 0xFF);
        value >>= 8;
    }
}

QByteArray fixedBytes(const QString& text)
{
    QByteArray bytes = toWindows1252(text).left(trackTextSize);
    bytes.append(trackTextSize - bytes.size(), ' ');
    return bytes;
}

QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

float givenLength(float metres)
{
    return std::isfinite(metres) ? metres : 0.0F;
}

// A typed length in metres; one too big for a float is not given.
float typedMetres(double typed, float factor)
{
    if (!(std::fabs(typed) <= double(std::numeric_limits<float>::max())))
        return 0.0F;
    return givenLength(float(typed) / factor);
}

int shownUnit(std::int16_t unit)
{
    return unit >= 0 && unit <= 3 ? unit : 0;
}

qint64 recordOffset(int numero)
{
    return qint64(numero - 1) * trackRecordSize;
}

// Record `numero` as it stands in the file; a slot past the last whole
// record reads as empty.
Fiche_Piste readRecordAt(QFile& file, int numero)
{
    const qint64 records = file.size() / trackRecordSize;
    if (numero > records || !file.seek(recordOffset(numero)))
        return {};
    return decodeTrackRecord(file.read(trackRecordSize));
}

bool copyBytes(QFile& from, QSaveFile& to, qint64 count)
{
    while (count > 0) {
        const QByteArray chunk = from.read(std::min<qint64>(count, 64 * 1024));
        if (chunk.isEmpty() || to.write(chunk) != chunk.size())
            return false;
        count -= chunk.size();
    }
    return true;
}

// Writes record `numero` by replacing the whole file, so that a failed
// write leaves the old file as it was. Bytes of other slots, the unused end
// of this slot and anything past the last record are kept; a gap before a
// new record is left as empty slots.
bool writeTrackRecord(int numero, const Fiche_Piste& fiche, QString* errorText)
{
    QSaveFile out(trackFileName);
    QFile old(trackFileName);
    const bool haveOld = old.open(QIODevice::ReadOnly);
    // A file we cannot read would be replaced by this one record: the other tracks would be lost.
    if (!haveOld && old.exists()) {
        if (errorText)
            *errorText = old.errorString();
        return false;
    }
    const qint64 oldSize = haveOld ? old.size() : 0;
    const qint64 offset = recordOffset(numero);
    const QByteArray record = encodeTrackRecord(fiche);

    bool ok = out.open(QIODevice::WriteOnly);
    ok = ok && copyBytes(old, out, std::min(offset, oldSize));
    if (ok && oldSize < offset)
        ok = out.write(QByteArray(offset - oldSize, '\0')) == offset - oldSize;
    ok = ok && out.write(record.left(usedRecordBytes)) == usedRecordBytes;
    QByteArray unused;
    if (ok && oldSize > offset + usedRecordBytes && old.seek(offset + usedRecordBytes))
        unused = old.read(trackRecordSize - usedRecordBytes);
    unused.append(trackRecordSize - usedRecordBytes - unused.size(), '\0');
    ok = ok && out.write(unused) == unused.size();
    if (ok && oldSize > offset + trackRecordSize)
        ok = old.seek(offset + trackRecordSize) && copyBytes(old, out, oldSize - offset - trackRecordSize);
    if (!ok || !out.commit()) {
        if (errorText)
            *errorText = out.error() != QFileDevice::NoError ? out.errorString() : old.errorString();
        out.cancelWriting();
        return false;
    }
    return true;
}

}  // namespace

bool isTrackNumber(int number)
{
    return number >= firstTrack && number <= lastTrack;
}

QString fixedTrackText(const QString& text)
{
    return text.left(trackTextSize).leftJustified(trackTextSize, QLatin1Char(' '));
}

QByteArray encodeTrackRecord(const Fiche_Piste& fiche)
{
    QByteArray bytes(trackRecordSize, '\0');
    putBytes(bytes, 0, std::uint16_t(fiche.Marque_Piste), 2);
    bytes.replace(nomOffset, trackTextSize, fixedBytes(fiche.Nom));
    bytes.replace(hammeauOffset, trackTextSize, fixedBytes(fiche.Hammeau));
    bytes.replace(countryOffset, trackTextSize, fixedBytes(fiche.Country));
    for (int k = 0; k < 4; ++k)
        putBytes(bytes, distancesOffset + 4 * k, std::bit_cast<std::uint32_t>(fiche.Distances[std::size_t(k)]), 4);
    putBytes(bytes, uniteOffset, std::uint16_t(fiche.Unite_Longueur), 2);
    return bytes;
}

Fiche_Piste decodeTrackRecord(const QByteArray& bytes)
{
    QByteArray full = bytes.left(trackRecordSize);
    full.append(trackRecordSize - full.size(), '\0');
    Fiche_Piste fiche;
    fiche.Marque_Piste = static_cast<std::int16_t>(wordAt(full, 0, 2));
    fiche.Nom = fromWindows1252(full.mid(nomOffset, trackTextSize));
    fiche.Hammeau = fromWindows1252(full.mid(hammeauOffset, trackTextSize));
    fiche.Country = fromWindows1252(full.mid(countryOffset, trackTextSize));
    for (int k = 0; k < 4; ++k)
        fiche.Distances[std::size_t(k)] = givenLength(std::bit_cast<float>(wordAt(full, distancesOffset + 4 * k, 4)));
    fiche.Unite_Longueur = static_cast<std::int16_t>(wordAt(full, uniteOffset, 2));
    return fiche;
}

Fiche_Piste Init_Piste(int numero, const std::array<QString, 3>& nomChamp)
{
    Fiche_Piste fiche;
    fiche.Marque_Piste = trackMarker;
    const QString number = QString::number(numero);
    fiche.Nom = fixedTrackText(nomChamp[0] + number);
    fiche.Hammeau = fixedTrackText(nomChamp[1] + number);
    fiche.Country = fixedTrackText(nomChamp[2] + number);
    return fiche;
}

void Display_Distances(const Fiche_Piste& fiche, TrackEditorView& view, QChar decimalSeparator)
{
    const int unit = shownUnit(fiche.Unite_Longueur);
    const QString pattern = (unit == 0 || unit == 2) ? QStringLiteral("##0.0###") : QStringLiteral("#0.0###");
    const float factor = Facteur_Distance[std::size_t(unit)];
    // The lap length goes last: the sections' change events may have overwritten it with their sum.
    for (int k : {1, 2, 3, 0}) {
        const float shown = factor * fiche.Distances[std::size_t(k)];
        view.setFieldText(3 + k, Format(double(shown), pattern, decimalSeparator));
    }
}

std::optional<double> typedLength(const QString& text)
{
    QString t = text.trimmed();
    // A length has no thousands grouping, so either separator can only be
    // the decimal one: a length typed the other way is not lost.
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    static const QRegularExpression leading(QStringLiteral(R"(^[+-]?(\d|\.\d))"));
    if (!leading.match(t).hasMatch())
        return std::nullopt;
    const double value = leadingNumber(t);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isLengthField(const QString& text)
{
    return text.trimmed().isEmpty() || typedLength(text).has_value();
}

TrackResult Lire_Piste(std::int16_t& numero, TrackState& state, TrackEditorView& view, QChar decimalSeparator)
{
    if (!isTrackNumber(numero))
        return {TrackStatus::NumberRefused, {}};

    TrackResult result;
    const std::array<QString, 3> nomChamp{view.fieldCaption(0), view.fieldCaption(1), view.fieldCaption(2)};
    // The defaults of a missing or empty record are written at once.
    const auto initialise = [&](int n) {
        Fiche_Piste fiche = Init_Piste(n, nomChamp);
        QString why;
        if (!writeTrackRecord(n, fiche, &why))
            result = {TrackStatus::WriteFailed, why};
        return fiche;
    };

    state.Piste_Chargement = true;
    QFile file(trackFileName);
    const bool readable = file.open(QIODevice::ReadOnly);
    const qint64 length = readable ? file.size() : 0;
    Fiche_Piste fiche;
    if (!readable && file.exists()) {
        fiche = initialise(numero);  // shown, never written over the file we could not read
    } else if (length == 0) {
        numero = 1;
        fiche = initialise(1);
    } else {
        const qint64 slotCount = length / trackRecordSize + 1;
        if (slotCount < numero)
            fiche = initialise(numero);
        else
            fiche = readRecordAt(file, numero);
        if (fiche.Marque_Piste != trackMarker)
            fiche = initialise(numero);
    }
    file.close();

    fiche.Unite_Longueur = static_cast<std::int16_t>(shownUnit(fiche.Unite_Longueur));
    view.selectUnit(fiche.Unite_Longueur);
    fiche.Nom = trimBlanks(fiche.Nom);
    fiche.Hammeau = trimBlanks(fiche.Hammeau);
    fiche.Country = trimBlanks(fiche.Country);
    view.setFieldText(0, fiche.Nom);
    view.setFieldText(1, fiche.Hammeau);
    view.setFieldText(2, fiche.Country);
    state.fiche = fiche;
    Display_Distances(state.fiche, view, decimalSeparator);
    view.setTrackNumberCaption(QString::number(numero));
    view.setTracksMenuCaption(view.fieldText(0));
    state.Piste_Chargement = false;
    if (view.isEditorVisible())
        view.focusName();
    return result;
}

TrackResult Sauve_Piste(std::int16_t numero, TrackState& state, const TrackEditorView& view)
{
    if (!isTrackNumber(numero))
        return {TrackStatus::NumberRefused, {}};

    Fiche_Piste& fiche = state.fiche;
    fiche.Nom = fixedTrackText(view.fieldText(0));
    fiche.Hammeau = fixedTrackText(view.fieldText(1));
    fiche.Country = fixedTrackText(view.fieldText(2));
    const float factor = Facteur_Distance[std::size_t(shownUnit(fiche.Unite_Longueur))];
    // An empty length is saved as not given; text that is no length leaves
    // the stored one as it was (the editor shows it as invalid).
    for (int k = 0; k < 4; ++k) {
        const QString field = view.fieldText(3 + k);
        if (const std::optional<double> typed = typedLength(field))
            fiche.Distances[std::size_t(k)] = typedMetres(*typed, factor);
        else if (field.trimmed().isEmpty())
            fiche.Distances[std::size_t(k)] = 0.0F;
    }

    TrackResult result;
    if (writeTrackRecord(numero, fiche, &result.errorText))
        state.Piste_Modifiee = false;
    else
        result.status = TrackStatus::WriteFailed;
    return result;
}

std::optional<Fiche_Piste> readTrack(const QString& path, int numero)
{
    if (!isTrackNumber(numero))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    Fiche_Piste fiche = readRecordAt(file, numero);
    if (fiche.Marque_Piste != trackMarker)
        return std::nullopt;
    fiche.Nom = trimBlanks(fiche.Nom);
    fiche.Hammeau = trimBlanks(fiche.Hammeau);
    fiche.Country = trimBlanks(fiche.Country);
    fiche.Unite_Longueur = static_cast<std::int16_t>(shownUnit(fiche.Unite_Longueur));
    return fiche;
}

std::optional<std::array<float, 4>> lireDistancesPiste(const QString& path, int numero)
{
    const std::optional<Fiche_Piste> fiche = readTrack(path, numero);
    if (!fiche)
        return std::nullopt;
    return fiche->Distances;
}

}  // namespace tormel
