// A track file from another machine: read any track of it, show it in the
// editor, type lengths, write it back. Writing one track must leave every
// other byte of the file as it was.
#include "tracks/track_file.h"

#include "fuzz_support.h"

using namespace tormel;

namespace {

QByteArray fileBytes()
{
    QFile file(trackFileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool inFolder = QDir::setCurrent(fuzz::folder());
    fuzz::require(inFolder, "a temporary current folder");
    const QByteArray input = fuzz::bytesOf(data, size);
    const QString path = fuzz::writeFile(trackFileName, input);

    FuzzedDataProvider in(data, size);
    std::int16_t trackNumber = in.ConsumeBool() ? in.ConsumeIntegral<std::int16_t>()
                                           : in.ConsumeIntegralInRange<std::int16_t>(firstTrack, lastTrack);
    const std::optional<Track> read = readTrack(path, trackNumber);
    const std::optional<std::array<float, 4>> distances = readTrackLengths(path, trackNumber);
    fuzz::require(read.has_value() == distances.has_value() && (!read || read->lengths == *distances),
                  "both readers agree");
    fuzz::require(fileBytes() == input, "reading leaves the file alone");

    const std::int16_t asked = trackNumber;
    const LoadedTrack shown = loadTrack(path, trackNumber, {QStringLiteral("Champ0 "), QStringLiteral("Champ1 "), QStringLiteral("Champ2 ")});
    if (!isTrackNumber(asked)) {
        fuzz::require(shown.result.status == TrackStatus::NumberRefused && fileBytes() == input, "a refused number changes nothing");
        return 0;
    }
    fuzz::require(shown.result.status == TrackStatus::Done, "a track of a writable folder is shown");
    fuzz::require(shown.track.lengthUnit >= 0 && shown.track.lengthUnit <= 3, "a unit of the menu");
    trackNumber = shown.number;

    // What the user types over the lengths and the unit chosen in the editor.
    Track track = shown.track;
    std::array<QString, 7> typed{track.name, track.town, track.country};
    const std::array<QString, 4> lengths = lengthTexts(track, in.ConsumeBool() ? QLatin1Char(',') : QLatin1Char('.'));
    std::copy(lengths.begin(), lengths.end(), typed.begin() + 3);
    for (int k = 3; k < 7; ++k)
        if (in.ConsumeBool())
            typed.at(std::size_t(k)) = QString::fromLatin1(in.ConsumeBytesAsString(in.ConsumeIntegralInRange(0, 48)));
    track.lengthUnit = in.ConsumeIntegralInRange<std::int16_t>(-1, 4);
    track = editedTrack(track, typed);

    const QByteArray before = fileBytes();
    fuzz::require(saveTrack(path, trackNumber, track).status == TrackStatus::Done, "a track is written");
    const QByteArray after = fileBytes();
    const qsizetype offset = qsizetype(trackNumber - 1) * trackRecordSize;
    constexpr qsizetype fields = 170;
    fuzz::require(after.size() == std::max(before.size(), offset + trackRecordSize), "the file grows only to the track");
    fuzz::require(after.left(std::min(offset, before.size())) == before.left(offset)
                      && after.mid(offset + fields, before.size() - offset - fields) == before.mid(offset + fields),
                  "other bytes are kept");
    const std::optional<Track> back = readTrack(path, trackNumber);
    fuzz::require(back && back->lengths == track.lengths, "the written lengths read back");
    return 0;
}
