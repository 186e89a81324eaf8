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

// A track file away from the current folder, which must stay untouched.
struct Tracks {
    Tracks() { QDir().mkdir("tracks"); }
    LoadedTrack read(int n) const { return loadTrack(path, std::int16_t(n), newTrackNames(frenchTextTables())); }
    TempFolder folder;
    QString path = folder.file("tracks/Pistes.aqw");
};

const QByteArray threeTracks = record(210, "A", "a", "x") + record(210, "B", "b", "y") + record(210, "C", "c", "z");

TEST(TrackFile, FirstStartCreatesTrackOne)
{
    Tracks t;
    const LoadedTrack loaded = t.read(7);
    EXPECT_EQ(loaded.result.status, TrackStatus::Done);
    EXPECT_EQ(loaded.number, 1);
    EXPECT_EQ(readBytes(t.path), record(210, "Nom1", "Hammeau1", "Country1"));
    EXPECT_EQ(std::tuple(loaded.track.name, loaded.track.town, loaded.track.country),
              std::tuple(QString("Nom1"), QString("Hammeau1"), QString("Country1")));
    EXPECT_FALSE(QFile::exists("Pistes.aqw"));
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
        writeBytes(t.path, threeTracks);
        const LoadedTrack loaded = t.read(asked);
        EXPECT_EQ(loaded.result.status, TrackStatus::Done);
        EXPECT_EQ(loaded.number, asked);
        EXPECT_EQ(readBytes(t.path), expected);
        if (asked == 5) {  // then asking for the skipped slot fills it
            t.read(4);
            EXPECT_EQ(readBytes(t.path), threeTracks + record(210, "Nom4", "Hammeau4", "Country4")
                                             + record(210, "Nom5", "Hammeau5", "Country5"));
        }
    }
}

TEST(TrackFile, RecordsAreReadAndCleaned)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // stored: record 2 of the file; afterwards: the record once read, when it changed;
    // shown: name, town, country, lap length, sections, with a comma separator.
    const struct { const char* name; QByteArray stored, afterwards; std::array<QString, 7> shown; int unit; } cases[] = {
        {"trailing blanks are trimmed", record(210, "  Le Mans  ", "Sarthe", "France", {1200.5F, 400, 350.25F, 450.25F}, 0),
         {}, {"Le Mans", "Sarthe", "France", "1200,5", "400,0", "350,25", "450,25"}, 0},
        {"unit outside 0..3 shows metres", record(210, "T", "t", "c", {1000, 0, 0, 0}, 4), {}, {"T", "t", "c", "1000,0", "0,0", "0,0", "0,0"}, 0},
        {"miles", record(210, "T", "t", "c", {1000, 0, 0, 0}, 1), {}, {"T", "t", "c", "0,6214", "0,0", "0,0", "0,0"}, 1},
        {"feet", record(210, "T", "t", "c", {30.48F, 0, 0, 0}, 2), {}, {"T", "t", "c", "100,0", "0,0", "0,0", "0,0"}, 2},
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
        writeBytes(t.path, first + c.stored + tail);
        const LoadedTrack loaded = t.read(2);
        EXPECT_EQ(loaded.result.status, TrackStatus::Done);
        const Track& track = loaded.track;
        const std::array<QString, 4> lengths = lengthTexts(track, QLatin1Char(','));
        EXPECT_EQ((std::array<QString, 7>{track.name, track.town, track.country, lengths[0], lengths[1], lengths[2], lengths[3]}),
                  c.shown);
        EXPECT_EQ(int(track.lengthUnit), c.unit);
        EXPECT_EQ(readBytes(t.path), first + (c.afterwards.isEmpty() ? c.stored : c.afterwards) + tail);
    }
}

TEST(TrackFile, SavingTakesTheEditorTexts)
{
    // lengths: the lap length and the sections as typed
    const struct { const char* name; int unit; std::array<QString, 4> lengths; std::array<float, 4> metres; } cases[] = {
        {"metres", 0, {"950,75", "400", "350,5", "200,25"}, {950.75F, 400, 350.5F, 200.25F}},
        {"a point is read as well", 0, {"950.75", " 400 ", "", "12abc"}, {950.75F, 400, 0, 12}},
        {"signs and exponents", 0, {"12.5", "12,5", "-3", "1e3"}, {12.5F, 12.5F, -3, 1000}},
        {"no thousands grouping", 0, {"1,250", "1.250", "12abc", ""}, {1.25F, 1.25F, 12, 0}},
        {"miles carry the display rounding", 1, {"0,6214", "", "", ""}, {0.6214F / static_cast<float>(1.0 / 1609.344), 0, 0, 0}},
        {"yards as shown when read", 3, {"1000,0", "300,0", "400,0", "300,0"}, {914.4F, 274.32F, 365.76F, 274.32F}},
        {"a unit outside 0..3 is metres", 4, {"5", "", "", ""}, {5, 0, 0, 0}},
        {"empty, beyond a float: not given", 2, {"", "10", ".5", "1e99"}, {0, 10 / static_cast<float>(1.0 / 0.3048), 0.5F / static_cast<float>(1.0 / 0.3048), 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Tracks t;
        Track shown = t.read(1).track;
        shown.lengthUnit = std::int16_t(c.unit);
        const Track edited = editedTrack(shown, {"Karting des Pins", QString(60, 'x'), "Belgique", c.lengths[0],
                                                       c.lengths[1], c.lengths[2], c.lengths[3]});
        EXPECT_EQ(edited.lengths, c.metres);
        EXPECT_EQ(saveTrack(t.path, 3, edited).status, TrackStatus::Done);
        const QByteArray bytes = readBytes(t.path);
        ASSERT_EQ(bytes.size(), 630);
        EXPECT_EQ(bytes.mid(420), record(210, "Karting des Pins", QByteArray(50, 'x').constData(), "Belgique", c.metres, c.unit));
    }
}

TEST(TrackFile, TextThatIsNoLengthKeepsTheStoredLength)
{
    Track shown;
    shown.lengths = {500, 200, 150, 150};
    EXPECT_EQ(editedTrack(shown, {"Kept", "k", "k", "abc", "", "+", "150"}).lengths, (std::array<float, 4>{500, 0, 150, 150}));
    EXPECT_TRUE(isLengthField(" ") && isLengthField("7,5"));
}

TEST(TrackFile, TrackNumbersOutsideOneToHundredAreRefused)
{
    Tracks t;
    const QByteArray file = record(210, "Kept", "k", "k", {500, 0, 0, 0});
    writeBytes(t.path, file);
    const Track kept = t.read(1).track;
    for (int bad : {0, 101, -32768}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(t.read(bad).result.status, TrackStatus::NumberRefused);
        EXPECT_EQ(saveTrack(t.path, std::int16_t(bad), kept).status, TrackStatus::NumberRefused);
        EXPECT_EQ(readBytes(t.path), file);
    }
    EXPECT_EQ(t.read(100).result.status, TrackStatus::Done);
    EXPECT_EQ(readBytes(t.path).size(), 100 * 210);
}

TEST(TrackFile, UnreadableTrackFileIsNeverReplaced)
{
    Tracks t;
    ASSERT_TRUE(QDir().mkpath("tracks/Pistes.aqw/inside"));
    const LoadedTrack loaded = t.read(9);
    EXPECT_EQ(loaded.result.status, TrackStatus::WriteFailed);
    EXPECT_FALSE(loaded.result.errorText.isEmpty());
    EXPECT_EQ(loaded.number, 9);
    EXPECT_EQ(loaded.track.name, "Nom9");
    EXPECT_EQ(saveTrack(t.path, 9, loaded.track).status, TrackStatus::WriteFailed);
    EXPECT_TRUE(QDir("tracks/Pistes.aqw/inside").exists());
    // Nowhere to write the new file: a failure, not a success.
    const TrackResult nowhere = saveTrack(QStringLiteral("no such folder/Pistes.aqw"), 9, loaded.track);
    EXPECT_EQ(nowhere.status, TrackStatus::WriteFailed);
    EXPECT_FALSE(nowhere.errorText.isEmpty());
}

TEST(TrackFile, ARecordsFolderOffersItsTrackWhereTheUsersGivesNoLengths)
{
    const QByteArray vallon = record(210, "Vallon", "v", "F", {1200.0F, 400.0F, 400.0F, 400.0F});
    const QByteArray noLengths = record(210, "Nom2", "Hammeau2", "Country2");
    // beside: the track file in the record's folder; own: the user's, empty for none.
    const struct { const char* name; QByteArray beside, own; int number; bool offered; } cases[] = {
        {"no track file of the user's", noLengths + vallon, {}, 2, true},
        {"the user's track gives no lap length", noLengths + vallon, noLengths + noLengths, 2, true},
        {"the user's own track has lengths", noLengths + vallon, noLengths + vallon, 2, false},
        {"the user's file lacks that record", noLengths + vallon, noLengths, 2, true},
        {"the record's folder gives no lengths either", noLengths + noLengths, {}, 2, false},
        {"no such track beside the record", vallon, {}, 2, false},
        {"no track file beside the record", {}, {}, 2, false},
        {"a number that is no track", vallon, {}, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        QDir().mkpath("examples");
        writeBytes("examples/demo.Tml", "record");
        if (!c.beside.isEmpty())
            writeBytes("examples/Pistes.aqw", c.beside);
        if (!c.own.isEmpty())
            writeBytes("Pistes.aqw", c.own);
        const auto offered = trackBesideRecord(folder.file("examples/demo.Tml"), QStringLiteral("Pistes.aqw"), c.number);
        ASSERT_EQ(offered.has_value(), c.offered);
        if (c.offered) {
            EXPECT_EQ(offered->track.name, "Vallon");
            EXPECT_EQ(offered->trackFile, folder.file("examples/Pistes.aqw"));
        }
        EXPECT_EQ(readBytes("Pistes.aqw"), c.own);  // read only
    }
    // A record in the working folder offers nothing from its own track file.
    TempFolder folder;
    writeBytes("Pistes.aqw", vallon);
    EXPECT_FALSE(trackBesideRecord(folder.file("demo.Tml"), QStringLiteral("Pistes.aqw"), 1));
}

}  // namespace
}  // namespace tormel
