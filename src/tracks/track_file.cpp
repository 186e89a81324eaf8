#include "tracks/track_file.h"

#include "base/text_codec.h"
#include "laps/conversions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <bit>
#include <cmath>
#include <limits>

namespace tormel {

namespace {

constexpr qsizetype usedRecordBytes = 170;  // the fields; the rest of a slot is kept as found
constexpr qsizetype nameOffset = 2;
constexpr qsizetype townOffset = 52;
constexpr qsizetype countryOffset = 102;
constexpr qsizetype distancesOffset = 152;
constexpr qsizetype unitOffset = 168;

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
    return unit >= 0 && std::size_t(unit) < lengthUnitFactors.size() ? unit : 0;
}

qint64 recordOffset(int trackNumber)
{
    return qint64(trackNumber - 1) * trackRecordSize;
}

// Record `trackNumber` as it stands in the file; a slot past the last whole
// record reads as empty.
Track readRecordAt(QFile& file, int trackNumber)
{
    const qint64 records = file.size() / trackRecordSize;
    if (trackNumber > records || !file.seek(recordOffset(trackNumber)))
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

// Writes record `trackNumber` by replacing the whole file, so that a failed
// write leaves the old file as it was. Bytes of other slots, the unused end
// of this slot and anything past the last record are kept; a gap before a
// new record is left as empty slots.
bool writeTrackRecord(const QString& path, int trackNumber, const Track& track, QString* errorText)
{
    QSaveFile out(path);
    QFile old(path);
    const bool haveOld = old.open(QIODevice::ReadOnly);
    // A file we cannot read would be replaced by this one record: the other tracks would be lost.
    if (!haveOld && old.exists()) {
        if (errorText)
            *errorText = old.errorString();
        return false;
    }
    const qint64 oldSize = haveOld ? old.size() : 0;
    const qint64 offset = recordOffset(trackNumber);
    const QByteArray record = encodeTrackRecord(track);

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

QByteArray encodeTrackRecord(const Track& track)
{
    QByteArray bytes(trackRecordSize, '\0');
    putBytes(bytes, 0, std::uint16_t(track.marker), 2);
    bytes.replace(nameOffset, trackTextSize, fixedBytes(track.name));
    bytes.replace(townOffset, trackTextSize, fixedBytes(track.town));
    bytes.replace(countryOffset, trackTextSize, fixedBytes(track.country));
    for (std::size_t k = 0; k < track.lengths.size(); ++k)
        putBytes(bytes, distancesOffset + qsizetype(4 * k), std::bit_cast<std::uint32_t>(track.lengths[k]), 4);
    putBytes(bytes, unitOffset, std::uint16_t(track.lengthUnit), 2);
    return bytes;
}

Track decodeTrackRecord(const QByteArray& bytes)
{
    QByteArray full = bytes.left(trackRecordSize);
    full.append(trackRecordSize - full.size(), '\0');
    Track track;
    track.marker = static_cast<std::int16_t>(wordAt(full, 0, 2));
    track.name = fromWindows1252(full.mid(nameOffset, trackTextSize));
    track.town = fromWindows1252(full.mid(townOffset, trackTextSize));
    track.country = fromWindows1252(full.mid(countryOffset, trackTextSize));
    for (std::size_t k = 0; k < track.lengths.size(); ++k)
        track.lengths[k] = givenLength(std::bit_cast<float>(wordAt(full, distancesOffset + qsizetype(4 * k), 4)));
    track.lengthUnit = static_cast<std::int16_t>(wordAt(full, unitOffset, 2));
    return track;
}

std::array<QString, 3> newTrackNames(const TextTables& tables)
{
    return {tables.texts[trackNameField], tables.texts[trackNameField + 1], tables.texts[trackNameField + 2]};
}

Track defaultTrack(int trackNumber, const std::array<QString, 3>& names)
{
    Track track;
    track.marker = trackMarker;
    const QString number = QString::number(trackNumber);
    track.name = fixedTrackText(names[0] + number);
    track.town = fixedTrackText(names[1] + number);
    track.country = fixedTrackText(names[2] + number);
    return track;
}

std::array<QString, 4> lengthTexts(const Track& track, QChar decimalSeparator)
{
    const int unit = shownUnit(track.lengthUnit);
    const QString pattern = (unit == 0 || unit == 2) ? QStringLiteral("##0.0###") : QStringLiteral("#0.0###");
    const float factor = lengthUnitFactors[std::size_t(unit)];
    std::array<QString, 4> texts;
    for (std::size_t k = 0; k < texts.size(); ++k)
        texts[k] = formatNumber(double(factor * track.lengths[k]), pattern, decimalSeparator);
    return texts;
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

LoadedTrack loadTrack(const QString& path, std::int16_t trackNumber, const std::array<QString, 3>& names)
{
    LoadedTrack loaded;
    if (!isTrackNumber(trackNumber)) {
        loaded.result.status = TrackStatus::NumberRefused;
        return loaded;
    }

    // The defaults of a missing or empty record are written at once.
    const auto initialise = [&](int n) {
        Track track = defaultTrack(n, names);
        QString why;
        if (!writeTrackRecord(path, n, track, &why))
            loaded.result = {TrackStatus::WriteFailed, why};
        return track;
    };

    QFile file(path);
    const bool readable = file.open(QIODevice::ReadOnly);
    const qint64 length = readable ? file.size() : 0;
    Track track;
    if (!readable && file.exists()) {
        track = initialise(trackNumber);  // shown, never written over the file we could not read
    } else if (length == 0) {
        trackNumber = 1;
        track = initialise(1);
    } else {
        const qint64 slotCount = length / trackRecordSize + 1;
        if (slotCount < trackNumber)
            track = initialise(trackNumber);
        else
            track = readRecordAt(file, trackNumber);
        if (track.marker != trackMarker)
            track = initialise(trackNumber);
    }
    file.close();

    track.lengthUnit = static_cast<std::int16_t>(shownUnit(track.lengthUnit));
    track.name = trimBlanks(track.name);
    track.town = trimBlanks(track.town);
    track.country = trimBlanks(track.country);
    loaded.number = trackNumber;
    loaded.track = track;
    return loaded;
}

Track editedTrack(Track track, const std::array<QString, 7>& fields)
{
    track.name = fixedTrackText(fields[0]);
    track.town = fixedTrackText(fields[1]);
    track.country = fixedTrackText(fields[2]);
    const float factor = lengthUnitFactors[std::size_t(shownUnit(track.lengthUnit))];
    // An empty length is saved as not given; text that is no length leaves
    // the stored one as it was (the editor shows it as invalid).
    for (std::size_t k = 0; k < track.lengths.size(); ++k) {
        const QString& field = fields[3 + k];
        if (const std::optional<double> typed = typedLength(field))
            track.lengths[k] = typedMetres(*typed, factor);
        else if (field.trimmed().isEmpty())
            track.lengths[k] = 0.0F;
    }
    return track;
}

TrackResult saveTrack(const QString& path, std::int16_t trackNumber, const Track& track)
{
    if (!isTrackNumber(trackNumber))
        return {TrackStatus::NumberRefused, {}};
    TrackResult result;
    if (!writeTrackRecord(path, trackNumber, track, &result.errorText))
        result.status = TrackStatus::WriteFailed;
    return result;
}

std::optional<Track> readTrack(const QString& path, int trackNumber)
{
    if (!isTrackNumber(trackNumber))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    Track track = readRecordAt(file, trackNumber);
    if (track.marker != trackMarker)
        return std::nullopt;
    track.name = trimBlanks(track.name);
    track.town = trimBlanks(track.town);
    track.country = trimBlanks(track.country);
    track.lengthUnit = static_cast<std::int16_t>(shownUnit(track.lengthUnit));
    return track;
}

std::optional<std::array<float, 4>> readTrackLengths(const QString& path, int trackNumber)
{
    const std::optional<Track> track = readTrack(path, trackNumber);
    if (!track)
        return std::nullopt;
    return track->lengths;
}

std::optional<TrackBesideRecord> trackBesideRecord(const QString& recordPath, const QString& trackFile, int trackNumber)
{
    const QString beside = QFileInfo(recordPath).absoluteDir().filePath(trackFileName);
    if (QFileInfo(beside).canonicalFilePath() == QFileInfo(trackFile).canonicalFilePath())
        return std::nullopt;
    const std::optional<Track> own = readTrack(trackFile, trackNumber);
    if (own && isLengthGiven(own->lengths[0]))
        return std::nullopt;
    const std::optional<Track> offered = readTrack(beside, trackNumber);
    if (!offered || !isLengthGiven(offered->lengths[0]))
        return std::nullopt;
    return TrackBesideRecord{beside, *offered};
}

}  // namespace tormel
