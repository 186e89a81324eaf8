// A track file from another machine: read any track of it, show it in the
// editor, type lengths, write it back. Writing one track must leave every
// other byte of the file as it was.
#include "tracks/track_file.h"

#include "fuzz_support.h"

using namespace tormel;

namespace {

class FakeEditor final : public TrackEditorView {
public:
    std::array<QString, 7> fields;
    QString fieldText(int index) const override { return fields.at(std::size_t(index)); }
    void setFieldText(int index, const QString& text) override { fields.at(std::size_t(index)) = text; }
    QString fieldCaption(int index) const override { return QStringLiteral("Champ%1 ").arg(index); }
    void selectUnit(int unit) override { fuzz::require(unit >= 0 && unit <= 3, "a unit of the menu"); }
    void setTrackNumberCaption(const QString&) override {}
    void setTracksMenuCaption(const QString&) override {}
    bool isEditorVisible() const override { return true; }
    void focusName() override {}
};

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
    const std::optional<TrackRecord> read = readTrack(path, trackNumber);
    const std::optional<std::array<float, 4>> distances = readTrackLengths(path, trackNumber);
    fuzz::require(read.has_value() == distances.has_value() && (!read || read->lengths == *distances),
                  "both readers agree");
    fuzz::require(fileBytes() == input, "reading leaves the file alone");

    TrackState state;
    FakeEditor editor;
    const std::int16_t asked = trackNumber;
    const TrackResult shown = loadTrack(trackNumber, state, editor, in.ConsumeBool() ? QLatin1Char(',') : QLatin1Char('.'));
    if (!isTrackNumber(asked)) {
        fuzz::require(shown.status == TrackStatus::NumberRefused && fileBytes() == input, "a refused number changes nothing");
        return 0;
    }
    fuzz::require(shown.status == TrackStatus::Done, "a track of a writable folder is shown");

    // What the user types over the lengths and the unit chosen in the editor.
    for (int k = 3; k < 7; ++k)
        if (in.ConsumeBool())
            editor.fields.at(std::size_t(k)) = QString::fromLatin1(in.ConsumeBytesAsString(in.ConsumeIntegralInRange(0, 48)));
    state.record.lengthUnit = in.ConsumeIntegralInRange<std::int16_t>(-1, 4);

    const QByteArray before = fileBytes();
    fuzz::require(saveTrack(trackNumber, state, editor).status == TrackStatus::Done, "a track is written");
    const QByteArray after = fileBytes();
    const qsizetype offset = qsizetype(trackNumber - 1) * trackRecordSize;
    constexpr qsizetype fields = 170;
    fuzz::require(after.size() == std::max(before.size(), offset + trackRecordSize), "the file grows only to the track");
    fuzz::require(after.left(std::min(offset, before.size())) == before.left(offset)
                      && after.mid(offset + fields, before.size() - offset - fields) == before.mid(offset + fields),
                  "other bytes are kept");
    const std::optional<TrackRecord> back = readTrack(path, trackNumber);
    fuzz::require(back && back->lengths == state.record.lengths, "the written lengths read back");
    return 0;
}
