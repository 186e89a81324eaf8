#include "support/temp_folder.h"
#include "tracks/track_file.h"

#include <QDir>

#include <gtest/gtest.h>

#include <bit>
#include <limits>

namespace tormel {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

// The editor as loadTrack and saveTrack see it.
class FakeEditor : public TrackEditorView {
public:
    std::array<QString, 7> vnc;
    int unit = -1, focusCount = 0;
    QString numberCaption, menuCaption;
    bool visible = false;
    std::vector<int> writeOrder;

    QString fieldText(int index) const override { return vnc.at(std::size_t(index)); }
    void setFieldText(int index, const QString& text) override { vnc.at(std::size_t(index)) = text; writeOrder.push_back(index); }
    QString fieldCaption(int index) const override { return std::array<QString, 3>{"Nom", "Hammeau", "Country"}.at(std::size_t(index)); }
    void selectUnit(int u) override { unit = u; }
    void setTrackNumberCaption(const QString& caption) override { numberCaption = caption; }
    void setTracksMenuCaption(const QString& caption) override { menuCaption = caption; }
    bool isEditorVisible() const override { return visible; }
    void focusName() override { ++focusCount; }
};

QByteArray littleEndian(std::uint32_t value, int size)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
    return bytes;
}

// A record built from the table of the file format, independent of the code under test.
QByteArray record(int marker, const char* name, const char* town, const char* country,
                  std::array<float, 4> lengths = {}, int unit = 0, char unused = '\0')
{
    QByteArray bytes = littleEndian(std::uint32_t(marker), 2);
    for (const char* text : {name, town, country})
        bytes += QByteArray(text).leftJustified(50, ' ');
    for (float length : lengths)
        bytes += littleEndian(std::bit_cast<std::uint32_t>(length), 4);
    return bytes + littleEndian(std::uint32_t(unit), 2) + QByteArray(40, unused);
}

// A fresh current folder, an editor and the state loadTrack and saveTrack share.
struct Tracks {
    TrackResult read(int n, char separator = '.')
    {
        std::int16_t trackNumber = std::int16_t(n);
        const TrackResult result = loadTrack(trackNumber, state, editor, separator);
        shownNumber = trackNumber;
        return result;
    }
    TempFolder folder;
    FakeEditor editor;
    TrackState state;
    int shownNumber = 0;
};

const QByteArray threeTracks = record(210, "A", "a", "x") + record(210, "B", "b", "y") + record(210, "C", "c", "z");

TEST(TrackFile, FirstStartCreatesTrackOne)
{
    Tracks t;
    EXPECT_EQ(t.read(7).status, TrackStatus::Done);
    EXPECT_EQ(t.shownNumber, 1);
    EXPECT_EQ(readBytes("Pistes.aqw"), record(210, "Nom1", "Hammeau1", "Country1"));
    EXPECT_EQ(t.editor.vnc, (std::array<QString, 7>{"Nom1", "Hammeau1", "Country1", "0.0", "0.0", "0.0", "0.0"}));
    EXPECT_EQ(std::tuple(t.editor.unit, t.editor.numberCaption, t.editor.menuCaption), std::tuple(0, QString("1"), QString("Nom1")));
    EXPECT_FALSE(t.state.loading || t.state.modified);
    EXPECT_EQ(t.editor.focusCount, 0);
    // Focus goes to the name only when the editor is shown.
    t.editor.visible = true;
    t.read(1);
    EXPECT_EQ(t.editor.focusCount, 1);
}

TEST(TrackFile, MissingRecordsAreInitialisedWhereAsked)
{
    const std::pair<int, QByteArray> cases[] = {
        // Track 5 grows the file; record 4 stays an empty slot.
        {5, threeTracks + QByteArray(210, '\0') + record(210, "Nom5", "Hammeau5", "Country5")},
        // Track 4 reads past the end, finds no marker and writes its defaults.
        {4, threeTracks + record(210, "Nom4", "Hammeau4", "Country4")},
        {2, threeTracks},
    };
    for (const auto& [asked, expected] : cases) {
        SCOPED_TRACE(asked);
        Tracks t;
        writeBytes("Pistes.aqw", threeTracks);
        EXPECT_EQ(t.read(asked).status, TrackStatus::Done);
        EXPECT_EQ(t.shownNumber, asked);
        EXPECT_EQ(readBytes("Pistes.aqw"), expected);
        EXPECT_EQ(t.editor.numberCaption, QString::number(asked));
        if (asked == 5) {  // then asking for the skipped slot fills it
            t.read(4);
            EXPECT_EQ(readBytes("Pistes.aqw"), threeTracks + record(210, "Nom4", "Hammeau4", "Country4")
                                                   + record(210, "Nom5", "Hammeau5", "Country5"));
        }
    }
}

TEST(TrackFile, RecordsAreReadAndCleaned)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // stored: record 2 of the file; afterwards: the record once read, when it changed.
    const struct { const char* name; QByteArray stored, afterwards; std::array<QString, 7> shown; int unit; } cases[] = {
        {"trailing blanks never reach the editor", record(210, "  Le Mans  ", "Sarthe", "France", {1200.5F, 400, 350.25F, 450.25F}, 0),
         {}, {"Le Mans", "Sarthe", "France", "1200,5", "400,0", "350,25", "450,25"}, 0},
        {"unit outside 0..3 shows metres", record(210, "T", "t", "c", {1000, 0, 0, 0}, 7), {}, {"T", "t", "c", "1000,0", "0,0", "0,0", "0,0"}, 0},
        {"miles", record(210, "T", "t", "c", {1000, 0, 0, 0}, 1), {}, {"T", "t", "c", "0,6214", "0,0", "0,0", "0,0"}, 1},
        // 1000, 300, 400 and 300 yd; saved back to the same bytes below.
        {"yards", record(210, "T", "t", "c", {914.4F, 274.32F, 365.76F, 274.32F}, 3), {},
         {"T", "t", "c", "1000,0", "300,0", "400,0", "300,0"}, 3},
        {"lengths that are not numbers are not given", record(210, "T", "t", "c", {nan, inf, -inf, 5}, 0), {},
         {"T", "t", "c", "0,0", "0,0", "0,0", "5,0"}, 0},
        {"a garbage marker resets the record", record(0xD3, "Junk", "j", "j", {1, 2, 3, 4}, 2, 'u'),
         record(210, "Nom2", "Hammeau2", "Country2", {}, 0, 'u'), {"Nom2", "Hammeau2", "Country2", "0,0", "0,0", "0,0", "0,0"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Tracks t;
        const QByteArray first = record(210, "One", "o", "o");
        const QByteArray tail("tail bytes past the last record");
        writeBytes("Pistes.aqw", first + c.stored + tail);
        EXPECT_EQ(t.read(2, ',').status, TrackStatus::Done);
        EXPECT_EQ(t.editor.vnc, c.shown);
        EXPECT_EQ(std::tuple(t.editor.unit, int(t.state.record.lengthUnit), t.editor.menuCaption), std::tuple(c.unit, c.unit, c.shown[0]));
        EXPECT_EQ(readBytes("Pistes.aqw"), first + (c.afterwards.isEmpty() ? c.stored : c.afterwards) + tail);
        // The lap length is shown last, after the sections.
        EXPECT_EQ(std::vector<int>(t.editor.writeOrder.end() - 4, t.editor.writeOrder.end()), (std::vector<int>{4, 5, 6, 3}));
    }
}

TEST(TrackFile, SavingTakesTheEditorTexts)
{
    // lengths: VNC(3..6)
    const struct { const char* name; int unit; std::array<QString, 4> lengths; char separator; std::array<float, 4> metres; } cases[] = {
        {"metres", 0, {"950,75", "400", "350,5", "200,25"}, ',', {950.75F, 400, 350.5F, 200.25F}},
        {"a point is read as well", 0, {"950.75", " 400 ", "", "12abc"}, ',', {950.75F, 400, 0, 12}},
        {"a comma in a point locale", 0, {"12.5", "12,5", "-3", "1e3"}, '.', {12.5F, 12.5F, -3, 1000}},
        {"no thousands grouping", 0, {"1,250", "1.250", "12abc", ""}, '.', {1.25F, 1.25F, 12, 0}},
        {"miles carry the display rounding", 1, {"0,6214", "", "", ""}, ',', {0.6214F / static_cast<float>(1.0 / 1609.344), 0, 0, 0}},
        {"yards as shown when read", 3, {"1000,0", "300,0", "400,0", "300,0"}, ',', {914.4F, 274.32F, 365.76F, 274.32F}},
        {"empty or unreadable lap length is not given", 2, {"", "10", "x1", "1e99"}, ',',
         {0, 10 / static_cast<float>(1.0 / 0.3048), 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Tracks t;
        t.read(1, c.separator);
        t.state.record.lengthUnit = std::int16_t(c.unit);
        t.state.modified = true;
        t.editor.vnc = {"Karting des Pins", QString(60, 'x'), "Belgique", c.lengths[0], c.lengths[1], c.lengths[2], c.lengths[3]};
        EXPECT_EQ(saveTrack(3, t.state, t.editor).status, TrackStatus::Done);
        EXPECT_FALSE(t.state.modified);
        EXPECT_EQ(t.state.record.lengths, c.metres);
        const QByteArray bytes = readBytes("Pistes.aqw");
        ASSERT_EQ(bytes.size(), 630);
        EXPECT_EQ(bytes.mid(420), record(210, "Karting des Pins", QByteArray(50, 'x').constData(), "Belgique", c.metres, c.unit));
    }
}

TEST(TrackFile, TextThatIsNoLengthKeepsTheStoredLength)
{
    Tracks t;
    writeBytes("Pistes.aqw", record(210, "Kept", "k", "k", {500, 200, 150, 150}));
    t.read(1);
    t.editor.vnc[3] = "abc";
    t.editor.vnc[4] = "";
    t.state.modified = true;
    EXPECT_EQ(saveTrack(1, t.state, t.editor).status, TrackStatus::Done);
    EXPECT_EQ(t.state.record.lengths, (std::array<float, 4>{500, 0, 150, 150}));
    EXPECT_FALSE(isLengthField("abc"));
    EXPECT_TRUE(isLengthField(" ") && isLengthField("7,5"));
}

TEST(TrackFile, TrackNumbersOutsideOneToHundredAreRefused)
{
    Tracks t;
    const QByteArray file = record(210, "Kept", "k", "k", {500, 0, 0, 0});
    writeBytes("Pistes.aqw", file);
    t.read(1);
    const TrackRecord shown = t.state.record;
    const auto vnc = t.editor.vnc;
    for (int bad : {0, 101, -32768}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(t.read(bad).status, TrackStatus::NumberRefused);
        EXPECT_EQ(saveTrack(std::int16_t(bad), t.state, t.editor).status, TrackStatus::NumberRefused);
        EXPECT_TRUE(t.state.record == shown && t.editor.vnc == vnc);
        EXPECT_EQ(readBytes("Pistes.aqw"), file);
    }
    EXPECT_EQ(t.read(100).status, TrackStatus::Done);
    EXPECT_EQ(readBytes("Pistes.aqw").size(), 100 * 210);
}

TEST(TrackFile, UnreadableTrackFileIsNeverReplaced)
{
    Tracks t;
    ASSERT_TRUE(QDir().mkpath("Pistes.aqw/inside"));
    const TrackResult read = t.read(9);
    EXPECT_EQ(read.status, TrackStatus::WriteFailed);
    EXPECT_FALSE(read.errorText.isEmpty());
    EXPECT_EQ(t.shownNumber, 9);
    EXPECT_EQ(t.editor.vnc[0], "Nom9");
    t.state.modified = true;
    EXPECT_EQ(saveTrack(9, t.state, t.editor).status, TrackStatus::WriteFailed);
    EXPECT_TRUE(t.state.modified);
    EXPECT_TRUE(QDir("Pistes.aqw/inside").exists());
}

}  // namespace
}  // namespace tormel
