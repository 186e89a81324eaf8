#include "library/session_index.h"

#include "demo_records.h"
#include "laps/laps_records.h"
#include "record/record_file.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;
using test::LapSpec;

TEST(SessionFigures, LapTimingAndEngineSpeedRecords)
{
    // Lap 2 is the logger's best; lap 3 an in-lap past 107 %; three sections.
    const std::vector<LapSpec> laps{
        {.lapTime = 5000, .s1 = 1500, .s2 = 2000, .s3 = 1500, .maxRpmOver10 = 1400, .temperature = 90},
        {.lapTime = 4950, .s1 = 1550, .s2 = 1900, .s3 = 1500, .maxRpmOver10 = 1420, .temperature = 95},
        {.lapTime = 6000, .s1 = 2000, .s2 = 2000, .s3 = 2000, .maxRpmOver10 = 1300, .temperature = 80, .engine = 2},
    };
    const std::vector<std::uint8_t> samples = test::samplesWithBeacons(400, {0, 40, 65});
    // kind, refusal, laps, best lap, its time, theoretical best, racing laps (-1: none), max RPM, max temperature (-1: none)
    using Figures = std::tuple<RecordKind, Refusal, int, int, int, int, int, int, int>;
    const std::pair<RecordImage, Figures> cases[] = {
        {test::lapRecord(laps, 2, 2), {RecordKind::LapTiming, Refusal::None, 3, 2, 4950, 4900, 2, 14200, 95}},
        // Laps closed at 0, 40 and 65: laps 1 and 2 are complete, lap 2 is the window's best, 25 samples of 0.2 s.
        {test::rpmRecord(samples, 1, 2),
         {RecordKind::EngineSpeed, Refusal::None, 2, 2, 500, 0, -1, test::rpmStatisticsOf(samples).maxRpm, -1}},
        {RecordImage{}, {RecordKind::LapTiming, Refusal::NoLap, 0, 0, 0, 0, -1, 0, -1}},
    };
    for (const auto& [image, expected] : cases) {
        const SessionFigures f = sessionFigures(image);
        EXPECT_EQ(Figures(f.kind, f.refusal, f.laps, f.bestLap, f.bestTime, f.theoreticalBest,
                          f.consistency ? f.consistency->racingLaps : -1, f.maxRpm, f.maxTemperature.value_or(-1)),
                  expected);
    }
    EXPECT_EQ(sessionFigures(test::lapRecord(laps, 2, 2)).bestSections, (std::array<std::int32_t, 3>{1500, 1900, 1500}));
    EXPECT_EQ(sessionFigures(test::lapRecord(laps, 2, 2)).engine, 3);  // the last lap's
    // The racing laps are measured against the logger's best, or the quickest when it names none.
    EXPECT_EQ(sessionFigures(test::lapRecord(laps, 2, 3)).consistency->racingLaps, 3);
    EXPECT_EQ(sessionFigures(test::lapRecord(laps, 2, 0)).consistency->racingLaps, 2);
}

class SessionIndexTest : public ::testing::Test {
protected:
    QString database() const { return folder_.file(u"data/library.sqlite"_s); }
    QString path(const QString& name) const { return folder_.file(name); }
    void save(const QString& name, const RecordImage& image, std::int16_t track = 1)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path(name)).absolutePath()));
        ASSERT_TRUE(saveRecordFile(path(name), image, track));
    }
    IndexUpdate update(SessionIndex& index)
    {
        QString error;
        const std::optional<IndexUpdate> done = index.update(sessionFolders(path(u"work"_s), {path(u"season"_s)}, {}), &error);
        EXPECT_TRUE(done.has_value()) << error.toStdString();
        return done.value_or(IndexUpdate{});
    }
    std::vector<Session> sessions(SessionIndex& index)
    {
        QString error;
        const std::optional<IndexContents> contents = index.contents(&error);
        EXPECT_TRUE(contents.has_value()) << error.toStdString();
        return contents ? contents->sessions : std::vector<Session>{};
    }
    QStringList asideFiles() const { return QDir(path(u"data"_s)).entryList({u"library.sqlite.old-*"_s}, QDir::Files); }

    test::TempFolder folder_;
};

TEST_F(SessionIndexTest, CopiesOfAnImageAreOneSessionReadOnceAndMissingOnceAllAreGone)
{
    const RecordImage laps = demo::lapTimingRecord();
    save(u"work/downloads/2026-05-12_10-30-00_SN270415.Tml"_s, laps, 3);
    save(u"work/saved.Tml"_s, laps, 3);
    save(u"work/error.tml"_s, demo::engineSpeedRecord());  // the newest download again: never a session
    save(u"season/round 1/rpm.TML"_s, demo::engineSpeedRecord());
    SessionIndex index(database());
    QString error;
    ASSERT_TRUE(index.open(&error)) << error.toStdString();
    IndexUpdate u = update(index);
    EXPECT_EQ(std::tuple(u.filesSeen, u.filesRead, u.decoded), std::tuple(3, 3, 2));
    std::vector<Session> all = sessions(index);
    ASSERT_EQ(all.size(), 2U);
    // Oldest first: the download's own time.
    EXPECT_EQ(all[0].date, QDateTime(QDate(2026, 5, 12), QTime(10, 30)));
    EXPECT_EQ(all[0].identity, sessionIdentity(laps));
    EXPECT_EQ(all[0].files.size(), 2U);
    EXPECT_EQ(all[0].track, 3);
    EXPECT_EQ(all[1].figures.kind, RecordKind::EngineSpeed);

    // Unchanged files are not read again; a new copy of a known image is read, not decoded.
    save(u"season/copy.Tml"_s, laps, 3);
    u = update(index);
    EXPECT_EQ(std::tuple(u.filesSeen, u.filesRead, u.decoded), std::tuple(4, 1, 0));
    u = update(index);
    EXPECT_EQ(std::tuple(u.filesRead, u.decoded), std::tuple(0, 0));

    // A file saved over with another image moves to that session; the rpm session
    // loses its only file and is missing, but stays listed until removed.
    save(u"season/copy.Tml"_s, demo::engineSpeedRecord());
    ASSERT_TRUE(QFile::remove(path(u"season/round 1/rpm.TML"_s)));
    ASSERT_TRUE(QFile::remove(path(u"work/saved.Tml"_s)));
    u = update(index);
    EXPECT_EQ(std::tuple(u.filesRead, u.decoded, u.missing), std::tuple(1, 0, 2));
    all = sessions(index);
    ASSERT_EQ(all.size(), 2U);
    EXPECT_FALSE(all[0].missing);
    EXPECT_FALSE(all[1].missing);
    ASSERT_TRUE(QFile::remove(path(u"season/copy.Tml"_s)));
    update(index);
    all = sessions(index);
    ASSERT_EQ(all.size(), 2U);
    EXPECT_TRUE(all[1].missing);
    ASSERT_TRUE(index.removeSession(all[1].identity, &error));
    EXPECT_EQ(sessions(index).size(), 1U);
    // A file that goes away and comes back unchanged (a drive unplugged) is there again.
    const QString dated = path(u"work/downloads/2026-05-12_10-30-00_SN270415.Tml"_s);
    ASSERT_TRUE(QFile::rename(dated, path(u"away.bin"_s)));
    update(index);
    EXPECT_TRUE(sessions(index)[0].missing);
    ASSERT_TRUE(QFile::rename(path(u"away.bin"_s), dated));
    update(index);
    EXPECT_FALSE(sessions(index)[0].missing);

    // The index is a cache: a second index of the same files says the same.
    SessionIndex again(path(u"other.sqlite"_s));
    ASSERT_TRUE(again.open(&error));
    update(again);
    ASSERT_EQ(sessions(again).size(), 1U);
    EXPECT_EQ(sessions(again)[0].figures, sessions(index)[0].figures);
}

TEST_F(SessionIndexTest, SetupSheetsAreMirroredAndReadAgainOnlyWhenChanged)
{
    save(u"work/laps.Tml"_s, demo::lapTimingRecord());
    const QString sheet = path(u"work/laps.setup.json"_s);
    SessionIndex index(database());
    QString error;
    ASSERT_TRUE(index.open(&error)) << error.toStdString();
    const auto setupAfterUpdate = [&](int read) {
        EXPECT_EQ(update(index).setupsRead, read);
        const std::vector<Session> all = sessions(index);
        return all.empty() ? FoundSetupSheet{} : all[0].setup;
    };
    EXPECT_EQ(setupAfterUpdate(0).state, SetupSheetState::None);
    test::writeBytes(sheet, R"({"driver": "Ana", "ballast": 5})");
    FoundSetupSheet found = setupAfterUpdate(1);
    EXPECT_EQ(std::tuple(found.state, found.path, found.sheet.driver, found.sheet.otherKeys.value(u"ballast"_s).toInt()),
              std::tuple(SetupSheetState::Read, sheet, u"Ana"_s, 5));
    EXPECT_EQ(setupAfterUpdate(0).sheet.driver, u"Ana"_s);
    test::writeBytes(sheet, R"({"driver": "Beatriz"})");
    EXPECT_EQ(setupAfterUpdate(1).sheet.driver, u"Beatriz"_s);
    // A mistyped key is named, through the index too; bytes that are no sheet are reported.
    test::writeBytes(sheet, R"({"driver": 7, "kart": "K2"})");
    found = setupAfterUpdate(1);
    EXPECT_EQ(std::tuple(found.state, found.sheet.kart, found.sheet.mistyped.size()), std::tuple(SetupSheetState::Read, u"K2"_s, 1U));
    test::writeBytes(sheet, R"({"driver": )");
    found = setupAfterUpdate(1);
    EXPECT_EQ(found.state, SetupSheetState::Broken);
    EXPECT_EQ(found.error, parseSetupSheet(R"({"driver": )").error);
    ASSERT_TRUE(QFile::remove(sheet));
    EXPECT_EQ(setupAfterUpdate(0).state, SetupSheetState::None);
}

TEST_F(SessionIndexTest, ADamagedOrNewerIndexIsMovedAsideAndBuiltAgain)
{
    save(u"work/laps.Tml"_s, demo::lapTimingRecord());
    ASSERT_TRUE(QDir().mkpath(path(u"data"_s)));
    const QByteArray garbage = QByteArray("not an index ").repeated(400);
    test::writeBytes(database(), garbage);
    {
        SessionIndex index(database());
        QString error;
        ASSERT_TRUE(index.open(&error)) << error.toStdString();
        EXPECT_TRUE(index.takeNotice().movedLine(database()).contains(u"moved to"_s));
        ASSERT_EQ(asideFiles().size(), 1U);
        EXPECT_EQ(test::readBytes(path(u"data/"_s + asideFiles()[0])), garbage);
        update(index);
        EXPECT_EQ(sessions(index).size(), 1U);
    }
    // Damaged again within the same second, an index cut short this time:
    // moved under a name of its own.
    test::writeBytes(database(), test::readBytes(database()).left(4096));
    {
        SessionIndex index(database());
        QString error;
        ASSERT_TRUE(index.open(&error)) << error.toStdString();
        const IndexNotice notice = index.takeNotice();
        EXPECT_TRUE(asideFiles().contains(QFileInfo(notice.movedTo).fileName()));
        EXPECT_TRUE(notice.movedLine(database()).contains(notice.movedTo));
        ASSERT_EQ(asideFiles().size(), 2U);
    }
    for (const QString& name : asideFiles())
        QFile::remove(path(u"data/"_s + name));
    const auto rewrite = [this](const QStringList& statements) {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"older"_s);
            db.setDatabaseName(database());
            ASSERT_TRUE(db.open());
            for (const QString& statement : statements)
                ASSERT_TRUE(QSqlQuery(db).exec(statement)) << statement.toStdString();
        }
        QSqlDatabase::removeDatabase(u"older"_s);
    };
    rewrite({u"PRAGMA user_version = %1"_s.arg(SessionIndex::SchemaVersion + 1)});
    SessionIndex index(database());
    QString error;
    ASSERT_TRUE(index.open(&error));
    EXPECT_EQ(index.takeNotice().why, u"it was written by a newer version (%1)"_s.arg(SessionIndex::SchemaVersion + 1));
    EXPECT_EQ(asideFiles().size(), 1U);
    EXPECT_TRUE(sessions(index).empty());
}

TEST_F(SessionIndexTest, ALockedIndexIsWaitedForNeverMovedAside)
{
    save(u"work/laps.Tml"_s, demo::lapTimingRecord());
    SessionIndex index(database());
    QString error;
    ASSERT_TRUE(index.open(&error));
    // Another program holds the write lock for a second.
    std::atomic<bool> locked{false};
    std::thread other([&] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"other"_s);
            db.setDatabaseName(database());
            db.open();
            QSqlQuery q(db);
            q.exec(u"BEGIN IMMEDIATE"_s);
            locked = true;
            std::this_thread::sleep_for(std::chrono::seconds(1));
            q.exec(u"COMMIT"_s);
            db.close();
        }
        QSqlDatabase::removeDatabase(u"other"_s);
    });
    while (!locked)
        std::this_thread::yield();
    const IndexUpdate u = update(index);
    other.join();
    EXPECT_EQ(u.decoded, 1);
    EXPECT_TRUE(asideFiles().empty());
    EXPECT_EQ(sessions(index).size(), 1U);
}

TEST_F(SessionIndexTest, ARecordSavedOverLeavesItsSessionMissingWithItsFiguresAndSheet)
{
    const RecordImage laps = demo::lapTimingRecord();
    save(u"work/a.Tml"_s, laps);
    const QString sheet = path(u"work/a.setup.json"_s);
    test::writeBytes(sheet, R"({"driver": "Ana"})");
    SessionIndex index(database());
    QString error;
    ASSERT_TRUE(index.open(&error)) << error.toStdString();
    update(index);
    const SessionFigures before = sessions(index).at(0).figures;

    save(u"work/a.Tml"_s, demo::engineSpeedRecord());
    test::writeBytes(sheet, R"({"driver": "Beatriz"})");
    update(index);
    std::vector<Session> all = sessions(index);
    ASSERT_EQ(all.size(), 2U);
    // The old session keeps its figures and the sheet as the index had it; the file's sheet is the new session's.
    EXPECT_EQ(std::tuple(all[0].identity, all[0].missing, all[0].figures, all[0].setup.sheet.driver),
              std::tuple(sessionIdentity(laps), true, before, u"Ana"_s));
    ASSERT_EQ(all[0].files.size(), 1U);
    EXPECT_TRUE(all[0].files[0].replaced);
    EXPECT_EQ(all[0].presentFile(), QString());
    EXPECT_FALSE(all[1].files.at(0).replaced);
    EXPECT_EQ(std::tuple(all[1].missing, all[1].presentFile(), all[1].setup.sheet.driver),
              std::tuple(false, path(u"work/a.Tml"_s), u"Beatriz"_s));

    // Saved back: the file is the first session's again, and the second one's former file.
    save(u"work/a.Tml"_s, laps);
    update(index);
    all = sessions(index);
    ASSERT_EQ(all.size(), 2U);
    const bool lapsFirst = all[0].identity == sessionIdentity(laps);
    const Session& lapSession = all[lapsFirst ? 0 : 1];
    const Session& rpmSession = all[lapsFirst ? 1 : 0];
    EXPECT_EQ(std::tuple(lapSession.missing, lapSession.files.size(), rpmSession.missing), std::tuple(false, 1U, true));
    // Removed by the user, it goes with its files and sheet; the file read again brings nothing back of it.
    ASSERT_TRUE(index.removeSession(rpmSession.identity, &error)) << error.toStdString();
    update(index);
    EXPECT_EQ(sessions(index).size(), 1U);
}

TEST_F(SessionIndexTest, AFileCutShortIsATruncatedSessionUnlessAWholeCopyExists)
{
    RecordImage image = demo::lapTimingRecord();
    std::fill(image.bytes.begin() + 1000, image.bytes.end(), std::uint8_t(0));
    save(u"work/whole.Tml"_s, image);
    const QByteArray bytes = test::readBytes(path(u"work/whole.Tml"_s));
    ASSERT_TRUE(QDir().mkpath(path(u"season"_s)));
    test::writeBytes(path(u"season/short.Tml"_s), bytes.left(1000));
    test::writeBytes(path(u"season/shorter.Tml"_s), bytes.left(330));
    SessionIndex index(database());
    QString error;
    ASSERT_TRUE(index.open(&error)) << error.toStdString();
    update(index);
    std::vector<Session> all = sessions(index);
    ASSERT_EQ(all.size(), 2U);
    const auto truncated = [&](const QString& file) {
        for (const Session& s : all)
            for (const SessionFile& f : s.files)
                if (f.path == path(file))
                    return s.truncatedBytes();
        return std::optional<int>(-1);
    };
    // The short copy pads to the whole file's image: one session, and a whole one.
    EXPECT_EQ(truncated(u"season/short.Tml"_s), std::nullopt);
    EXPECT_EQ(truncated(u"season/shorter.Tml"_s), 330);
}

// The index as the first and second versions of the program wrote it.
TEST_F(SessionIndexTest, IndexesOfEarlierVersionsKeepTheirSessionsAndSheets)
{
    const QStringList firstVersion{
        u"CREATE TABLE sessions (identity TEXT PRIMARY KEY, kind INTEGER NOT NULL, refusal INTEGER NOT NULL,"
        " serial TEXT NOT NULL, laps INTEGER NOT NULL, best_lap INTEGER NOT NULL, best_time INTEGER NOT NULL,"
        " theoretical_best INTEGER NOT NULL, racing_laps INTEGER, window_count INTEGER, spread REAL, deviation REAL,"
        " max_rpm INTEGER NOT NULL, max_temperature INTEGER, best_section1 INTEGER NOT NULL,"
        " best_section2 INTEGER NOT NULL, best_section3 INTEGER NOT NULL, engine INTEGER NOT NULL)"_s,
        u"CREATE TABLE files (path TEXT PRIMARY KEY, session TEXT, size INTEGER NOT NULL, modified INTEGER NOT NULL,"
        " downloaded INTEGER, track INTEGER, missing INTEGER NOT NULL DEFAULT 0, error TEXT)"_s,
        u"CREATE INDEX files_by_session ON files(session)"_s,
        u"INSERT INTO sessions VALUES ('old', 1, 0, '270415', 12, 3, 5012, 4990, 10, 4, 21.5, 30.25, 14200, 95,"
        " 1500, 2000, 1490, 2)"_s,
        u"INSERT INTO files VALUES ('/gone/old.Tml', 'old', 2050, 1000, NULL, 7, 1, NULL)"_s,
        u"INSERT INTO files VALUES ('/gone/bad.Tml', NULL, 12, 1000, NULL, NULL, 1, 'cut')"_s,
    };
    const QStringList secondVersion{
        u"CREATE TABLE setups (session TEXT PRIMARY KEY, path TEXT NOT NULL, size INTEGER NOT NULL,"
        " modified INTEGER NOT NULL, sheet TEXT, error TEXT)"_s,
        u"INSERT INTO setups VALUES ('old', '/gone/old.setup.json', 20, 1000, '{\"driver\": \"Ana\"}', NULL)"_s,
    };
    for (int version : {1, 2}) {
        QFile::remove(database());
        ASSERT_TRUE(QDir().mkpath(path(u"data"_s)));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"older"_s);
            db.setDatabaseName(database());
            ASSERT_TRUE(db.open());
            for (const QString& statement : firstVersion + (version == 2 ? secondVersion : QStringList())
                     + QStringList{u"PRAGMA user_version = %1"_s.arg(version)})
                ASSERT_TRUE(QSqlQuery(db).exec(statement)) << statement.toStdString();
        }
        QSqlDatabase::removeDatabase(u"older"_s);
        SessionIndex index(database());
        QString error;
        ASSERT_TRUE(index.open(&error)) << error.toStdString();
        EXPECT_TRUE(index.takeNotice().isEmpty());
        QString why;
        const std::optional<IndexContents> contents = index.contents(&why);
        ASSERT_TRUE(contents) << why.toStdString();
        ASSERT_EQ(contents->sessions.size(), 1U) << version;
        const Session& s = contents->sessions[0];
        EXPECT_EQ(std::tuple(s.identity, s.figures.bestTime, s.figures.consistency->spread, s.track, s.missing),
                  std::tuple(u"old"_s, 5012, 21.5, std::optional(7), true));
        EXPECT_EQ(s.setup.sheet.driver, version == 2 ? u"Ana"_s : QString());
        EXPECT_EQ(contents->unreadable.size(), 1U);
        // The children now go with their session.
        ASSERT_TRUE(index.removeSession(u"old"_s, &error)) << error.toStdString();
        // A file row left behind would come back as a file without a session.
        EXPECT_EQ(index.contents(&why)->unreadable.size(), 1U);
        EXPECT_TRUE(index.contents(&why)->sessions.empty());
    }
}

TEST_F(SessionIndexTest, ACancelledUpdateEndsWritingNothing)
{
    for (int i = 0; i < 40; ++i) {
        RecordImage image = demo::lapTimingRecord();
        image.bytes[2000] = std::uint8_t(i);
        save(u"season/r%1.Tml"_s.arg(i), image);
    }
    std::atomic<bool> cancel{true};
    SessionIndex index(database());
    index.setCancelFlag(&cancel);
    QString error;
    ASSERT_TRUE(index.open(&error)) << error.toStdString();
    EXPECT_FALSE(index.update(sessionFolders(path(u"work"_s), {path(u"season"_s)}, {}), &error).has_value());
    EXPECT_TRUE(sessions(index).empty());
    cancel = false;
    EXPECT_EQ(update(index).decoded, 40);
}

TEST_F(SessionIndexTest, AnIndexHeldExclusivelyIsWaitedForWhileOpening)
{
    save(u"work/laps.Tml"_s, demo::lapTimingRecord());
    {
        SessionIndex first(database());
        QString error;
        ASSERT_TRUE(first.open(&error)) << error.toStdString();
    }
    // Another program holds the whole file for a second: even reading the
    // schema's version answers "busy" at once.
    std::atomic<bool> locked{false};
    std::thread other([&] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"exclusive"_s);
            db.setDatabaseName(database());
            db.open();
            QSqlQuery q(db);
            q.exec(u"PRAGMA locking_mode = EXCLUSIVE"_s);
            q.exec(u"BEGIN EXCLUSIVE"_s);
            q.exec(u"COMMIT"_s);
            locked = true;
            std::this_thread::sleep_for(std::chrono::seconds(1));
            db.close();
        }
        QSqlDatabase::removeDatabase(u"exclusive"_s);
    });
    while (!locked)
        std::this_thread::yield();
    SessionIndex index(database());
    QString error;
    const bool opened = index.open(&error);
    other.join();
    ASSERT_TRUE(opened) << error.toStdString();
    EXPECT_EQ(update(index).decoded, 1);
    EXPECT_TRUE(asideFiles().empty());
}

}  // namespace
}  // namespace tormel
