#include "library/session_library.h"

#include "laps/conversions.h"
#include "laps/laps_records.h"
#include "record/record_file.h"
#include "support/temp_folder.h"
#include "tracks/track_file.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;

// A lap-timing record of two laps, the second the best, with a serial number of its own.
RecordImage session(std::uint16_t best, std::uint8_t serial)
{
    RecordImage image = test::lapRecord({{.lapTime = std::uint16_t(best + 100)}, {.lapTime = best}}, 0, 2);
    image.bytes[1] = serial;
    return image;
}

class SessionLibraryTest : public ::testing::Test {
protected:
    void save(const QString& name, const RecordImage& image, std::int16_t track)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(folder_.file(name)).absolutePath()));
        ASSERT_TRUE(saveRecordFile(folder_.file(name), image, track));
    }
    QStringList column(const QAbstractItemModel& model, int c) const
    {
        QStringList texts;
        for (int r = 0; r < model.rowCount(); ++r)
            texts << model.index(r, c).data().toString();
        return texts;
    }
    test::TempFolder folder_;
};

TEST_F(SessionLibraryTest, SortsFiltersAndFollowsTheWatchedFolders)
{
    save(u"work/downloads/2026-05-12_10-00-00_SN1.Tml"_s, session(4950, 1), 2);
    save(u"work/downloads/2026-06-02_10-00-00_SN2.Tml"_s, session(5010, 2), 1);
    save(u"season/june/2026-06-20_10-00-00_SN1.Tml"_s, session(4890, 1), 2);
    Track kartodrome = defaultTrack(2, {u"Kartodrome"_s, {}, {}});
    test::writeBytes(folder_.file(u"work/Pistes.aqw"_s), encodeTrackRecord(defaultTrack(1, {})) + encodeTrackRecord(kartodrome));
    test::writeBytes(folder_.file(u"season/june/2026-06-20_10-00-00_SN1.setup.json"_s), R"({"driver": "Anaïs", "frontSprocket": 12, "rearSprocket": 84})");

    const QString broken = folder_.file(u"work/downloads/2026-06-02_10-00-00_SN2.setup.json"_s);
    test::writeBytes(broken, "{\"engine\": ");
    SessionLibrary library(folder_.file(u"data/library.sqlite"_s));
    QSignalSpy updated(&library, &SessionLibrary::updated);
    QSignalSpy notices(&library, &SessionLibrary::notice);
    QSignalSpy progress(&library, &SessionLibrary::progress);
    library.setFolders(folder_.file(u"work"_s), {folder_.file(u"season"_s)}, folder_.file(u"work/Pistes.aqw"_s));
    ASSERT_TRUE(updated.wait(10000));
    LibraryFilter view(&library.model());
    ASSERT_EQ(view.rowCount(), 3);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last(), (QVariantList{3, 3}));  // every file read, told
    EXPECT_EQ(view.headerData(LibraryDateColumn, Qt::Horizontal).toString(), frenchTextTables().texts[libraryDate]);
    // A sheet that does not parse is named; its session is shown without one.
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0][0].toString().startsWith(broken)) << notices[0][0].toString().toStdString();
    view.sort(LibraryBestLapColumn);
    // Dates in the language's way.
    EXPECT_EQ(column(view, LibraryDateColumn), (QStringList{u"20/06/2026 10:00"_s, u"12/05/2026 10:00"_s, u"02/06/2026 10:00"_s}));
    EXPECT_EQ(view.index(0, LibraryTrackColumn).data().toString(), u"2 Kartodrome2"_s);
    EXPECT_EQ(view.index(0, LibraryDriverColumn).data().toString() + u' ' + view.index(0, LibraryGearingColumn).data().toString(),
              u"Anaïs 12/84"_s);
    view.sort(LibraryDateColumn, Qt::DescendingOrder);
    EXPECT_EQ(view.index(0, LibraryBestLapColumn).data().toString(), lapTimeText(4890));

    // Each filter, then all of them lifted.
    view.setTrack(2);
    EXPECT_EQ(view.rowCount(), 2);
    view.setTrack(std::nullopt);
    view.setSerialNumber(serialNumberText(session(4950, 1)));
    EXPECT_EQ(view.rowCount(), 2);
    view.setSerialNumber(QString());
    view.setDates(QDate(2026, 6, 2), QDate(2026, 6, 2));  // both days included
    EXPECT_EQ(column(view, LibraryDateColumn), QStringList{u"02/06/2026 10:00"_s});
    view.setDates({}, {});
    view.setText(u"ANAIS"_s);  // case and accents set aside
    EXPECT_EQ(view.rowCount(), 1);
    view.setText({});

    // A new download appears, and a file gone marks its session missing, without being asked.
    save(u"work/downloads/2026-06-27_10-00-00_SN1.Tml"_s, session(4800, 3), 2);
    ASSERT_TRUE(updated.wait(5000));
    EXPECT_EQ(view.rowCount(), 4);
    ASSERT_TRUE(QFile::remove(folder_.file(u"work/downloads/2026-05-12_10-00-00_SN1.Tml"_s)));
    ASSERT_TRUE(updated.wait(5000));
    view.sort(LibraryDateColumn);
    EXPECT_TRUE(view.index(0, LibraryFilesColumn).data(LibraryModel::MissingRole).toBool());
    EXPECT_TRUE(view.index(0, LibraryFilesColumn).data().toString().startsWith(u"manquant: "_s));
    // The files' paths whole in the tool tip, however narrow their column; no other column has one.
    EXPECT_EQ(view.index(1, LibraryFilesColumn).data(Qt::ToolTipRole), view.index(1, LibraryFilesColumn).data());
    EXPECT_FALSE(view.index(1, LibraryDateColumn).data(Qt::ToolTipRole).isValid());
    EXPECT_EQ(view.index(0, 0).data(LibraryModel::PathRole).toString(), QString());
    EXPECT_EQ(view.index(1, 0).data(LibraryModel::PathRole).toString(), folder_.file(u"work/downloads/2026-06-02_10-00-00_SN2.Tml"_s));
    // Another language writes the cells again.
    TextTables german = frenchTextTables();
    german.texts[libraryMissing] = u"fehlt"_s;
    german.language = Language::German;
    library.setTexts(german, TemperatureUnit::Celsius);
    EXPECT_TRUE(view.index(0, LibraryFilesColumn).data().toString().startsWith(u"fehlt: "_s));
    view.sort(LibraryDateColumn);
    EXPECT_EQ(view.index(0, LibraryDateColumn).data().toString(), u"12.05.2026 10:00"_s);
}

TEST(LibraryModel, SerialNumbersSortAsNumbers)
{
    EXPECT_TRUE(serialNumberLess(u"99"_s, u"270415"_s));
    EXPECT_FALSE(serialNumberLess(u"270415"_s, u"99"_s));
    EXPECT_TRUE(serialNumberLess(u"007"_s, u"8"_s));
    EXPECT_FALSE(serialNumberLess(u"7"_s, u"7"_s));
    // One that is no number comes after the numbers, in the order of its text.
    EXPECT_TRUE(serialNumberLess(u"270415"_s, u"A1"_s));
    EXPECT_FALSE(serialNumberLess(u"A1"_s, u"99"_s));
    EXPECT_TRUE(serialNumberLess(u"A1"_s, u"b0"_s));
}

// A session of track `track` on day `day` of June, with or without a sheet.
LibraryRow row(const QString& identity, std::optional<int> track, int day, bool sheet)
{
    LibraryRow r;
    r.session.identity = identity;
    r.session.track = track;
    r.session.date = QDateTime(QDate(2026, 6, day), QTime(10, 0));
    r.session.figures.kind = RecordKind::LapTiming;
    r.session.figures.laps = 3;
    SessionFile file;
    file.path = identity + u".Tml"_s;
    file.size = 2200;
    r.session.files = {file};
    if (sheet)
        r.setup.driver = identity;
    return r;
}

// "As the last session" takes the latest session before it on its track
// that has a whole sheet; sessions of the same hour and other tracks are not before it.
TEST(LibraryModel, EachSessionKnowsTheLastOneBeforeItOnItsTrackWithASheet)
{
    std::vector<LibraryRow> rows{row(u"a"_s, 1, 1, true), row(u"b"_s, 1, 2, false), row(u"c"_s, 1, 3, true),
                                 row(u"c2"_s, 1, 3, true), row(u"d"_s, 1, 5, false), row(u"e"_s, 2, 4, true),
                                 row(u"f"_s, 2, 6, false), row(u"g"_s, std::nullopt, 7, true), row(u"h"_s, 1, 4, true)};
    rows[8].session.files[0].size = 1000;  // cut short: its sheet is not offered
    const LibraryRows made = libraryRows(std::move(rows), frenchTextTables(), TemperatureUnit::Celsius);
    QStringList previous;
    for (const LibraryCells& c : made.cells)
        previous << c.previousWithSheet;
    EXPECT_EQ(previous, (QStringList{{}, u"a"_s, u"a"_s, u"a"_s, u"c2"_s, {}, u"e"_s, {}, u"c2"_s}));
}

// An update changes rows in place: the view keeps the chosen session.
TEST(LibraryModel, AnUpdateKeepsTheChosenRowThroughChangesRemovalsAndAdditions)
{
    LibraryModel model;
    LibraryFilter view(&model);
    view.sort(LibraryDateColumn, Qt::DescendingOrder);
    const auto update = [&](std::vector<LibraryRow> rows) {
        model.setRows(libraryRows(std::move(rows), frenchTextTables(), TemperatureUnit::Celsius));
    };
    update({row(u"a"_s, 1, 1, false), row(u"b"_s, 1, 2, false), row(u"c"_s, 1, 3, false)});
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    const QPersistentModelIndex chosen = view.index(1, 0);  // b
    ASSERT_EQ(model.row(view.mapToSource(chosen).row()).session.identity, u"b"_s);
    std::vector<LibraryRow> next{row(u"d"_s, 1, 4, false), row(u"b"_s, 1, 2, true), row(u"c"_s, 2, 3, false)};
    update(next);
    ASSERT_TRUE(chosen.isValid());
    EXPECT_EQ(model.row(view.mapToSource(chosen).row()).session.identity, u"b"_s);
    EXPECT_EQ(model.row(view.mapToSource(chosen).row()).setup.driver, u"b"_s);  // changed in place
    QStringList shown;
    for (int r = 0; r < view.rowCount(); ++r)
        shown << model.row(view.mapToSource(view.index(r, 0)).row()).session.identity;
    EXPECT_EQ(shown, (QStringList{u"d"_s, u"c"_s, u"b"_s}));
    EXPECT_EQ(view.index(1, LibraryTrackColumn).data().toString().left(1), u"2"_s);
    EXPECT_EQ(std::tuple(model.rowOf(u"d"_s) >= 0, model.rowOf(u"a"_s)), std::tuple(true, -1));
    EXPECT_EQ(reset.count(), 0);
    // Removed only: the others are found where they now stand.
    next.erase(next.begin());
    update(next);
    EXPECT_EQ(std::tuple(model.rowOf(u"d"_s), model.row(model.rowOf(u"c"_s)).session.identity), std::tuple(-1, u"c"_s));
    // The season's bests come with the rows.
    ASSERT_EQ(model.bests().size(), 2U);
    EXPECT_EQ(model.bests()[0].track, 1);
}

}  // namespace
}  // namespace tormel
