#include "library/session_index.h"

#include "base/all_cores.h"
#include "base/app_info.h"
#include "download/download_copies.h"
#include "record/record_file.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QVariant>

#include <algorithm>
#include <numeric>
#include <tuple>
#include <atomic>
#include <functional>
#include <utility>

namespace tormel {

namespace {

std::atomic<int> connectionCount{0};

const QString sessionColumns = QStringLiteral(
    "identity, kind, refusal, serial, laps, best_lap, best_time, theoretical_best, racing_laps, window_count, spread,"
    " deviation, max_rpm, max_temperature, best_section1, best_section2, best_section3, engine");
const QString fileColumns = QStringLiteral("path, session, size, modified, downloaded, track, missing, error");
const QString formerColumns = QStringLiteral("path, session, size, modified, downloaded, track");
const QString setupColumns = QStringLiteral("session, path, size, modified, sheet, error");

// Each step brings the index from the version before to its own.
const std::vector<std::vector<const char*>> migrations = {
    {
        "CREATE TABLE sessions ("
        " identity TEXT PRIMARY KEY, kind INTEGER NOT NULL, refusal INTEGER NOT NULL, serial TEXT NOT NULL,"
        " laps INTEGER NOT NULL, best_lap INTEGER NOT NULL, best_time INTEGER NOT NULL,"
        " theoretical_best INTEGER NOT NULL, racing_laps INTEGER, window_count INTEGER, spread REAL,"
        " deviation REAL, max_rpm INTEGER NOT NULL, max_temperature INTEGER,"
        " best_section1 INTEGER NOT NULL, best_section2 INTEGER NOT NULL, best_section3 INTEGER NOT NULL,"
        " engine INTEGER NOT NULL)",
        "CREATE TABLE files ("
        " path TEXT PRIMARY KEY, session TEXT, size INTEGER NOT NULL, modified INTEGER NOT NULL,"
        " downloaded INTEGER, track INTEGER, missing INTEGER NOT NULL DEFAULT 0, error TEXT)",
        "CREATE INDEX files_by_session ON files(session)",
    },
    {
        // The sheet as read (JSON, with the keys kept), or why its file is none.
        "CREATE TABLE setups ("
        " session TEXT PRIMARY KEY, path TEXT NOT NULL, size INTEGER NOT NULL, modified INTEGER NOT NULL,"
        " sheet TEXT, error TEXT)",
    },
    {
        // Children refer to their session, and go with it. A session whose
        // file was saved over keeps that file as a former one.
        "CREATE TABLE sessions_new ("
        " identity TEXT PRIMARY KEY, kind INTEGER NOT NULL, refusal INTEGER NOT NULL, serial TEXT NOT NULL,"
        " laps INTEGER NOT NULL, best_lap INTEGER NOT NULL, best_time INTEGER NOT NULL,"
        " theoretical_best INTEGER NOT NULL, racing_laps INTEGER, window_count INTEGER, spread REAL,"
        " deviation REAL, max_rpm INTEGER NOT NULL, max_temperature INTEGER,"
        " best_section1 INTEGER NOT NULL, best_section2 INTEGER NOT NULL, best_section3 INTEGER NOT NULL,"
        " engine INTEGER NOT NULL)",
        "INSERT INTO sessions_new (identity, kind, refusal, serial, laps, best_lap, best_time, theoretical_best,"
        " racing_laps, window_count, spread, deviation, max_rpm, max_temperature, best_section1, best_section2,"
        " best_section3, engine) SELECT identity, kind, refusal, serial, laps, best_lap, best_time, theoretical_best,"
        " racing_laps, window_count, spread, deviation, max_rpm, max_temperature, best_section1, best_section2,"
        " best_section3, engine FROM sessions",
        "DROP TABLE sessions",
        "ALTER TABLE sessions_new RENAME TO sessions",
        "CREATE TABLE files_new ("
        " path TEXT PRIMARY KEY, session TEXT REFERENCES sessions(identity) ON DELETE CASCADE,"
        " size INTEGER NOT NULL, modified INTEGER NOT NULL, downloaded INTEGER, track INTEGER,"
        " missing INTEGER NOT NULL DEFAULT 0, error TEXT)",
        "INSERT INTO files_new (path, session, size, modified, downloaded, track, missing, error)"
        " SELECT path, session, size, modified, downloaded, track, missing, error FROM files"
        " WHERE session IS NULL OR session IN (SELECT identity FROM sessions)",
        "DROP TABLE files",
        "ALTER TABLE files_new RENAME TO files",
        "CREATE INDEX files_by_session ON files(session)",
        "CREATE TABLE former_files ("
        " path TEXT NOT NULL, session TEXT NOT NULL REFERENCES sessions(identity) ON DELETE CASCADE,"
        " size INTEGER NOT NULL, modified INTEGER NOT NULL, downloaded INTEGER, track INTEGER,"
        " PRIMARY KEY (path, session))",
        "CREATE INDEX former_files_by_session ON former_files(session)",
        "CREATE TABLE setups_new ("
        " session TEXT PRIMARY KEY REFERENCES sessions(identity) ON DELETE CASCADE, path TEXT NOT NULL,"
        " size INTEGER NOT NULL, modified INTEGER NOT NULL, sheet TEXT, error TEXT)",
        "INSERT INTO setups_new (session, path, size, modified, sheet, error)"
        " SELECT session, path, size, modified, sheet, error FROM setups"
        " WHERE session IN (SELECT identity FROM sessions)",
        "DROP TABLE setups",
        "ALTER TABLE setups_new RENAME TO setups",
    },
    {
        // Why a file holds no sheet was kept as English words; it is kept as a
        // value now, to be worded in the chosen language: such files are read again.
        "DELETE FROM setups WHERE sheet IS NULL",
    },
};

enum class Failure { Busy, Corrupt, Newer, ReadOnly, Cancelled, Other };

Failure failureOf(const QSqlError& error)
{
    // SQLite's primary result codes: BUSY, LOCKED; READONLY, CANTOPEN; CORRUPT, NOTADB.
    switch (error.nativeErrorCode().toInt() & 0xFF) {
    case 5:
    case 6:
        return Failure::Busy;
    case 8:
    case 14:
        return Failure::ReadOnly;
    case 11:
    case 26:
        return Failure::Corrupt;
    default:
        return Failure::Other;
    }
}

// A statement that failed, and how.
struct SqlFailure {
    Failure failure;
    QString text;
};

QVariant optionalValue(const std::optional<int>& v)
{
    return v ? QVariant(*v) : QVariant();
}
QVariant optionalValue(const std::optional<qint64>& v)
{
    return v ? QVariant(*v) : QVariant();
}

template <typename T>
std::optional<T> optionalOf(const QVariant& v)
{
    if (v.isNull())
        return std::nullopt;
    return v.value<T>();
}

struct FoundFile {
    QString path;
    qint64 size = 0;
    qint64 modified = 0;
};

struct ReadFile {
    SessionFile file;
    QString identity;  // empty when the file could not be read
    RecordImage image;
};

// A file as the index last saw it.
struct KnownFile {
    qint64 size = 0;
    qint64 modified = 0;
    bool missing = false;
    QString session;  // empty for a file that did not read
    std::optional<qint64> downloaded;
    std::optional<int> track;
};

bool isRecordFile(const QFileInfo& info)
{
    // error.tml is the newest download again, which has its dated copy.
    return info.suffix().compare(QLatin1String("tml"), Qt::CaseInsensitive) == 0
        && info.fileName().compare(QLatin1String("error.tml"), Qt::CaseInsensitive) != 0;
}

ReadFile readRecord(const FoundFile& found)
{
    ReadFile r;
    r.file.path = found.path;
    r.file.size = found.size;
    r.file.modified = found.modified;
    const LoadedRecord loaded = loadRecordFile(found.path);
    if (loaded.errorNumber != 0) {
        r.file.error = loaded.errorText;
        return r;
    }
    r.image = loaded.image;
    r.identity = sessionIdentity(loaded.image);
    if (loaded.trackNumber)
        r.file.track = *loaded.trackNumber;
    if (const auto when = downloadTimeOfName(QFileInfo(found.path).fileName()))
        r.file.downloaded = when->toMSecsSinceEpoch();
    return r;
}

// A name beside the index that no file has: two damaged indexes moved aside
// within one second each keep their own.
QString freeAsideName(const QString& file)
{
    const QString base = file + QStringLiteral(".old-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo::exists(name + QStringLiteral("-wal")); ++n)
        name = base + QStringLiteral("-%1").arg(n);
    return name;
}

// A journal or shared-memory file we may not write (left by a run on an
// index that was read-only) would make every later run fail: it is made
// writable again, or removed when it cannot be.
void repairSideFiles(const QString& file)
{
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        const QString side = file + suffix;
        const QFileInfo info(side);
        if (!info.exists() || info.isWritable())
            continue;
        if (!QFile::setPermissions(side, QFile::permissions(side) | QFileDevice::WriteOwner | QFileDevice::WriteUser)
            || !QFileInfo(side).isWritable()) {
            if (suffix == QLatin1String("-shm"))
                QFile::remove(side);
        }
    }
}

// Why the index cannot be written by us, if it cannot.
QString whyNotWritable(const QString& file)
{
    const QFileInfo info(file);
    if (!info.exists())
        return {};
    if (!info.isWritable())
        return QStringLiteral("the file may not be written");
    if (!QFileInfo(info.absolutePath()).isWritable())
        return QStringLiteral("its folder may not be written");
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        const QFileInfo side(file + suffix);
        if (side.exists() && !side.isWritable())
            return QStringLiteral("%1 may not be written").arg(side.fileName());
    }
    return {};
}

}  // namespace

int SessionFile::imageBytes() const
{
    return int(std::min<qint64>(size, RecordImage::Size));
}

std::optional<int> Session::truncatedBytes() const
{
    if (files.empty())
        return std::nullopt;
    int longest = 0;
    for (const SessionFile& f : files)
        longest = std::max(longest, f.imageBytes());
    return longest < RecordImage::Size ? std::optional(longest) : std::nullopt;
}

QString Session::presentFile() const
{
    for (const SessionFile& f : files)
        if (!f.missing)
            return f.path;
    return {};
}

bool fileIsUnder(const QString& path, const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QString root = QDir::cleanPath(QDir(folder).absolutePath());
        if (path.startsWith(root == QLatin1String("/") ? root : root + QLatin1Char('/')))
            return true;
    }
    return false;
}

bool sessionIsUnder(const Session& session, const QStringList& folders)
{
    return std::any_of(session.files.begin(), session.files.end(),
                       [&](const SessionFile& f) { return fileIsUnder(f.path, folders); });
}

QString IndexNotice::movedLine(const QString& file) const
{
    if (movedTo.isEmpty())
        return {};
    return QStringLiteral("the library index %1 could not be used: %2; it was moved to %3 and is built again from the "
                          "record files")
        .arg(file, why, movedTo);
}

std::vector<SessionFolder> sessionFolders(const QString& workingFolder, const QStringList& kept, const QStringList& given)
{
    std::vector<SessionFolder> folders{{workingFolder, false}, {QDir(workingFolder).filePath(QStringLiteral("downloads")), false}};
    for (const QStringList* list : {&kept, &given})
        for (const QString& folder : *list)
            folders.push_back({folder, true});
    return folders;
}

struct SessionIndex::Copy {
    QTemporaryDir folder;
};

SessionIndex::SessionIndex(QString databaseFile)
    : file_(std::move(databaseFile))
    , connection_(QStringLiteral("sessions-%1").arg(connectionCount++))
{
}

SessionIndex::~SessionIndex()
{
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

QString SessionIndex::standardFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(applicationTitle() + QStringLiteral("/library.sqlite"));
}

QString SessionIndex::dataFolder() const
{
    return QFileInfo(file_).absolutePath();
}

namespace {

// A statement run again while another program holds the index, for as long
// as the busy wait allows: SQLite waits on its own only for some steps, and
// answers "busy" at once for others (opening, the journal mode, a schema read).
std::optional<SqlFailure> retried(QSqlQuery& query, const std::function<bool()>& exec)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (exec())
            return std::nullopt;
        const Failure failure = failureOf(query.lastError());
        if (failure != Failure::Busy || waited.elapsed() >= SessionIndex::BusyWaitMilliseconds)
            return SqlFailure{failure, query.lastError().text()};
        QThread::msleep(20);
    }
}

std::optional<SqlFailure> run(QSqlQuery& query, const QString& statement)
{
    return retried(query, [&] { return query.exec(statement); });
}

std::optional<SqlFailure> run(QSqlQuery& query)
{
    return retried(query, [&] { return query.exec(); });
}

// Binds `values` in order and runs the prepared statement.
std::optional<SqlFailure> runWith(QSqlQuery& query, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    return run(query);
}

QString lockedText(const QString& file)
{
    return QStringLiteral("the library index %1 stays locked by another program (waited %2 s)")
        .arg(file)
        .arg(SessionIndex::BusyWaitMilliseconds / 1000);
}

// Brings the index to the current version inside one write transaction, so
// that two programs starting at once migrate it once.
std::optional<SqlFailure> migrate(QSqlDatabase& db)
{
    QSqlQuery q(db);
    if (auto failed = run(q, QStringLiteral("BEGIN IMMEDIATE")))
        return failed;
    auto rollback = [&](SqlFailure failure) {
        q.exec(QStringLiteral("ROLLBACK"));
        return std::optional<SqlFailure>(std::move(failure));
    };
    if (auto failed = run(q, QStringLiteral("PRAGMA user_version")))
        return rollback(*failed);
    const int version = q.next() ? q.value(0).toInt() : 0;
    for (int v = version; v < SessionIndex::SchemaVersion; ++v)
        for (const char* statement : migrations[std::size_t(v)])
            if (auto failed = run(q, QString::fromLatin1(statement)))
                return rollback(*failed);
    if (auto failed = run(q, QStringLiteral("PRAGMA user_version = %1").arg(SessionIndex::SchemaVersion)))
        return rollback(*failed);
    return run(q, QStringLiteral("COMMIT"));
}

// Opens `databaseFile` on the connection and brings it to this version.
std::optional<SqlFailure> connectTo(const QString& connection, const QString& databaseFile)
{
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    if (!db.isValid()) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(SessionIndex::BusyWaitMilliseconds));
    }
    db.close();
    db.setDatabaseName(databaseFile);
    if (!db.open())
        return SqlFailure{failureOf(db.lastError()), db.lastError().text()};
    int version = 0;
    {
        QSqlQuery q(db);
        // The first read of a file that is no database fails here.
        if (auto failed = run(q, QStringLiteral("PRAGMA user_version")))
            return failed;
        version = q.next() ? q.value(0).toInt() : 0;
        if (auto failed = run(q, QStringLiteral("PRAGMA quick_check")))
            return failed;
        if (!q.next() || q.value(0).toString() != QLatin1String("ok"))
            return SqlFailure{Failure::Corrupt, QStringLiteral("its check failed")};
        if (version > SessionIndex::SchemaVersion)
            return SqlFailure{Failure::Newer, QStringLiteral("it was written by a newer version (%1)").arg(version)};
        for (const char* pragma : {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = NORMAL"})
            if (auto failed = run(q, QString::fromLatin1(pragma)))
                return failed;
    }
    if (version < SessionIndex::SchemaVersion)
        if (auto failed = migrate(db))
            return failed;
    // Outside any transaction, where SQLite takes it.
    QSqlQuery q(db);
    return run(q, QStringLiteral("PRAGMA foreign_keys = ON"));
}

}  // namespace

bool SessionIndex::open(QString* error)
{
    const auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    copy_.reset();
    locked_ = false;
    repairSideFiles(file_);
    if (const QString why = whyNotWritable(file_); !why.isEmpty())
        return openCopy(why, error);
    if (!QDir().mkpath(QFileInfo(file_).absolutePath()))
        return fail(QStringLiteral("cannot create the folder of the library index %1").arg(file_));
    for (bool movedAside = false;;) {
        const std::optional<SqlFailure> failed = connectTo(connection_, file_);
        if (!failed)
            return true;
        switch (failed->failure) {
        case Failure::Busy:
            locked_ = true;
            return fail(lockedText(file_));
        case Failure::ReadOnly:
            return openCopy(failed->text, error);
        case Failure::Corrupt:
        case Failure::Newer:
            if (movedAside)
                break;
            if (!moveAside(failed->failure == Failure::Corrupt ? QStringLiteral("it is damaged (%1)").arg(failed->text)
                                                               : failed->text,
                           error))
                return false;
            movedAside = true;
            continue;
        case Failure::Cancelled:
        case Failure::Other:
            break;
        }
        return fail(QStringLiteral("cannot read the library index %1: %2").arg(file_, failed->text));
    }
}

bool SessionIndex::moveAside(const QString& why, QString* error)
{
    QSqlDatabase::database(connection_, false).close();
    const QString aside = freeAsideName(file_);
    QFile index(file_);
    if (!index.rename(aside)) {
        if (error)
            *error = QStringLiteral("the library index %1 cannot be read (%2) and cannot be moved to %3: %4")
                         .arg(file_, why, aside, index.errorString());
        return false;
    }
    // Its journal goes with it; the shared-memory file belongs to no one now.
    QFile::rename(file_ + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    QFile::remove(file_ + QStringLiteral("-shm"));
    notice_.movedTo = aside;
    notice_.why = why;
    return true;
}

bool SessionIndex::openCopy(const QString& why, QString* error)
{
    QSqlDatabase::database(connection_, false).close();
    const auto fail = [&](const QString& text) {
        copy_.reset();
        if (error)
            *error = QStringLiteral("cannot read the library index %1: %2").arg(file_, text);
        return false;
    };
    if (!QFileInfo::exists(file_))
        return fail(why);
    copy_ = std::make_unique<Copy>();
    if (!copy_->folder.isValid())
        return fail(QStringLiteral("no temporary folder for a copy (%1)").arg(copy_->folder.errorString()));
    // Read through a private copy: SQLite would leave files beside an index
    // it may not write that break the next run once it may.
    const QString copied = copy_->folder.filePath(QStringLiteral("library.sqlite"));
    for (const QString& suffix : {QString(), QStringLiteral("-wal")}) {
        QFile source(file_ + suffix);
        if (suffix.isEmpty() || source.exists()) {
            if (!source.copy(copied + suffix))
                return fail(source.errorString());
            QFile::setPermissions(copied + suffix, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
    }
    if (const std::optional<SqlFailure> failed = connectTo(connection_, copied))
        return fail(failed->text);
    notice_.notUpdated = why;
    notWritable_ = why;
    return true;
}

std::optional<IndexUpdate> SessionIndex::update(const std::vector<SessionFolder>& folders, QString* error,
                                               const Progress& progress)
{
    const auto notUpdated = [&](const QString& why) -> std::optional<IndexUpdate> {
        if (error)
            *error = QStringLiteral("the library index %1 could not be brought up to date: %2; the sessions it holds are "
                                    "listed as they were")
                         .arg(file_, why);
        return std::nullopt;
    };
    if (copy_)
        return notUpdated(notWritable_);
    int failure = 0;
    QString why;
    std::optional<IndexUpdate> done = tryUpdate(folders, &why, &failure, progress);
    if (!done && Failure(failure) == Failure::ReadOnly) {
        if (!openCopy(why, error))
            return std::nullopt;
        return notUpdated(why);
    }
    if (!done && Failure(failure) == Failure::Corrupt) {
        // Damaged under our hands: start anew from the files, once.
        if (!moveAside(QStringLiteral("it is damaged"), error))
            return std::nullopt;
        if (const std::optional<SqlFailure> failed = connectTo(connection_, file_))
            why = QStringLiteral("cannot read the library index %1: %2").arg(file_, failed->text);
        else
            done = tryUpdate(folders, &why, &failure, progress);
    }
    if (!done && error)
        *error = why;
    return done;
}

namespace {

// What an update found on the disk, before anything is written.
struct Findings {
    std::vector<FoundFile> toRead;
    QStringList gone;  // indexed files no longer there
    int seen = 0;
};

Findings findChanges(const std::vector<SessionFolder>& folders, const QHash<QString, KnownFile>& known,
                     const std::function<bool()>& cancelled)
{
    Findings f;
    QSet<QString> seen;
    const auto consider = [&](const QString& path, const QFileInfo& info) {
        if (seen.contains(path))
            return;
        seen.insert(path);
        ++f.seen;
        const qint64 modified = info.lastModified().toMSecsSinceEpoch();
        const auto k = known.constFind(path);
        if (k == known.constEnd() || k->missing || k->size != info.size() || k->modified != modified)
            f.toRead.push_back({path, info.size(), modified});
    };
    for (const SessionFolder& folder : folders) {
        const QString root = QDir::cleanPath(QDir(folder.path).absolutePath());
        QDirIterator it(root, {QStringLiteral("*.tml")}, QDir::Files,
                        folder.withSubfolders ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
        while (it.hasNext() && !cancelled()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            if (isRecordFile(info))
                consider(QDir::cleanPath(info.absoluteFilePath()), info);
        }
    }
    // Files indexed from folders not read this time are looked at one by one.
    for (auto k = known.constBegin(); k != known.constEnd() && !cancelled(); ++k) {
        if (seen.contains(k.key()))
            continue;
        const QFileInfo info(k.key());
        if (info.exists())
            consider(k.key(), info);
        else if (!k->missing)
            f.gone << k.key();
    }
    return f;
}

std::optional<SqlFailure> writeSessions(QSqlQuery& q, const QHash<QString, SessionFigures>& decoded)
{
    q.prepare(QStringLiteral("INSERT OR IGNORE INTO sessions (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                  .arg(sessionColumns));
    for (auto s = decoded.constBegin(); s != decoded.constEnd(); ++s) {
        const SessionFigures& f = s.value();
        const std::optional<Consistency>& c = f.consistency;
        if (auto failed = runWith(q, {s.key(), int(f.kind), int(f.refusal), f.serialNumber, f.laps, f.bestLap, f.bestTime,
                                      f.theoreticalBest, c ? QVariant(c->racingLaps) : QVariant(),
                                      c ? QVariant(c->windowCount) : QVariant(), c ? QVariant(c->spread) : QVariant(),
                                      c ? QVariant(c->deviation) : QVariant(), f.maxRpm, optionalValue(f.maxTemperature),
                                      f.bestSections[0], f.bestSections[1], f.bestSections[2], f.engine}))
            return failed;
    }
    return std::nullopt;
}

// The files read, each under its session; a file that held another session's
// image stays that session's former file, so the session is kept, missing.
// Each statement is prepared once: a first index writes ten thousand files.
std::optional<SqlFailure> writeFiles(QSqlDatabase& db, const std::vector<ReadFile>& read, const QHash<QString, KnownFile>& known,
                                     const QSet<QString>& formerPaths)
{
    QSqlQuery former(db);
    former.prepare(QStringLiteral("INSERT OR REPLACE INTO former_files (%1) VALUES (?, ?, ?, ?, ?, ?)").arg(formerColumns));
    QSqlQuery current(db);
    current.prepare(QStringLiteral("DELETE FROM former_files WHERE path = ? AND session = ?"));
    QSqlQuery file(db);
    file.prepare(QStringLiteral("INSERT OR REPLACE INTO files (%1) VALUES (?, ?, ?, ?, ?, ?, 0, ?)").arg(fileColumns));
    for (const ReadFile& r : read) {
        const auto k = known.constFind(r.file.path);
        if (k != known.constEnd() && !k->session.isEmpty() && k->session != r.identity) {
            if (auto failed = runWith(former, {r.file.path, k->session, k->size, k->modified, optionalValue(k->downloaded),
                                               optionalValue(k->track)}))
                return failed;
        }
        if (!r.identity.isEmpty() && formerPaths.contains(r.file.path)) {
            if (auto failed = runWith(current, {r.file.path, r.identity}))
                return failed;
        }
        if (auto failed = runWith(file, {r.file.path, r.identity.isEmpty() ? QVariant() : QVariant(r.identity), r.file.size,
                                         r.file.modified, optionalValue(r.file.downloaded), optionalValue(r.file.track),
                                         r.file.error.isEmpty() ? QVariant() : QVariant(r.file.error)}))
            return failed;
    }
    return std::nullopt;
}

std::optional<SqlFailure> writeGone(QSqlQuery& q, const QStringList& gone)
{
    for (const char* statement : {"UPDATE files SET missing = 1 WHERE path = ? AND session IS NOT NULL",
                                  "DELETE FROM files WHERE path = ? AND session IS NULL"}) {
        q.prepare(QString::fromLatin1(statement));
        for (const QString& path : gone)
            if (auto failed = runWith(q, {path}))
                return failed;
    }
    return std::nullopt;
}

// Each session's record files, oldest first, as the library lists them.
std::optional<SqlFailure> sessionFiles(QSqlQuery& q, std::vector<std::pair<QString, QStringList>>& sessions)
{
    q.setForwardOnly(true);
    if (auto failed = run(q, QStringLiteral("SELECT session, path FROM files WHERE session IS NOT NULL "
                                            "ORDER BY session, COALESCE(downloaded, modified), path")))
        return failed;
    while (q.next()) {
        const QString session = q.value(0).toString();
        if (sessions.empty() || sessions.back().first != session)
            sessions.emplace_back(session, QStringList());
        sessions.back().second << q.value(1).toString();
    }
    return std::nullopt;
}

// The sheet files are the truth: each session's is looked for, and read
// again only when it is another file or its size or modification time
// changed. A session without a file of its own keeps its sheet as mirrored.
std::optional<SqlFailure> mirrorSetups(QSqlQuery& q, const QString& dataFolder, int& sheetsRead)
{
    std::vector<std::pair<QString, QStringList>> sessions;
    if (auto failed = sessionFiles(q, sessions))
        return failed;
    QHash<QString, FoundFile> known;
    if (auto failed = run(q, QStringLiteral("SELECT session, path, size, modified FROM setups")))
        return failed;
    while (q.next())
        known.insert(q.value(0).toString(), {q.value(1).toString(), q.value(2).toLongLong(), q.value(3).toLongLong()});
    // Each folder of records, and the data folder's setups/, listed once.
    QSet<QString> folders{QFileInfo(setupSheetInDataFolder(QString(), dataFolder)).absolutePath()};
    for (const auto& session : sessions)
        for (const QString& record : session.second)
            folders.insert(QFileInfo(record).absolutePath());
    QSet<QString> sheetFiles;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList({QStringLiteral("*.setup.json")}, QDir::Files | QDir::Hidden))
            sheetFiles.insert(dir.filePath(name));
    }
    const auto exists = [&](const QString& path) { return sheetFiles.contains(path); };
    std::vector<FoundFile> found(sessions.size());
    onAllCores(int(sessions.size()), int(sessions.size()) / 256, [&](int i) {
        const auto& [identity, records] = sessions[std::size_t(i)];
        const QFileInfo info(setupSheetPath(records, identity, dataFolder, exists));
        if (!info.filePath().isEmpty())
            found[std::size_t(i)] = {info.filePath(), info.size(), info.lastModified().toMSecsSinceEpoch()};
    });
    std::vector<std::pair<QString, FoundFile>> changed;
    QStringList gone;
    for (std::size_t i = 0; i < sessions.size(); ++i) {
        const QString& identity = sessions[i].first;
        const auto k = known.constFind(identity);
        if (found[i].path.isEmpty()) {
            if (k != known.constEnd())
                gone << identity;
        } else if (k == known.constEnd() || k->path != found[i].path || k->size != found[i].size
                   || k->modified != found[i].modified) {
            changed.emplace_back(identity, found[i]);
        }
    }
    std::vector<FoundSetupSheet> sheets(changed.size());
    onAllCores(int(changed.size()), int(changed.size()) / 16,
               [&](int i) { sheets[std::size_t(i)] = readSetupSheetAt(changed[std::size_t(i)].second.path); });
    sheetsRead = int(changed.size());
    q.setForwardOnly(false);
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO setups (%1) VALUES (?, ?, ?, ?, ?, ?)").arg(setupColumns));
    for (std::size_t i = 0; i < changed.size(); ++i) {
        const FoundFile& file = changed[i].second;
        const bool read = sheets[i].state == SetupSheetState::Read;
        if (auto failed = runWith(q, {changed[i].first, file.path, file.size, file.modified,
                                      read ? QVariant(QString::fromUtf8(setupSheetBytes(sheets[i].sheet))) : QVariant(),
                                      read ? QVariant() : QVariant(sheets[i].error.stored())}))
            return failed;
    }
    q.prepare(QStringLiteral("DELETE FROM setups WHERE session = ?"));
    for (const QString& session : gone)
        if (auto failed = runWith(q, {session}))
            return failed;
    return std::nullopt;
}

// A sheet as the index keeps it.
FoundSetupSheet storedSetup(const QVariant& path, const QVariant& sheet, const QVariant& error)
{
    FoundSetupSheet found;
    if (path.isNull())
        return found;
    found.path = path.toString();
    found.state = SetupSheetState::Broken;
    found.error = SetupSheetError::fromStored(error.toString());
    if (!sheet.isNull()) {
        ParsedSetupSheet parsed = parseSetupSheet(sheet.toString().toUtf8());
        if (parsed.sheet) {
            found.state = SetupSheetState::Read;
            found.sheet = std::move(*parsed.sheet);
        }
    }
    return found;
}

// Every file, session and former file's path the index holds, as the update starts.
std::optional<SqlFailure> readKnown(QSqlDatabase& db, QHash<QString, KnownFile>& known, QSet<QString>& sessions,
                                    QSet<QString>& formerPaths)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (auto failed = run(q, QStringLiteral("SELECT path, size, modified, missing, session, downloaded, track FROM files")))
        return failed;
    while (q.next())
        known.insert(q.value(0).toString(), {q.value(1).toLongLong(), q.value(2).toLongLong(), q.value(3).toBool(),
                                             q.value(4).toString(), optionalOf<qint64>(q.value(5)), optionalOf<int>(q.value(6))});
    if (auto failed = run(q, QStringLiteral("SELECT identity FROM sessions")))
        return failed;
    while (q.next())
        sessions.insert(q.value(0).toString());
    if (auto failed = run(q, QStringLiteral("SELECT path FROM former_files")))
        return failed;
    while (q.next())
        formerPaths.insert(q.value(0).toString());
    return std::nullopt;
}

}  // namespace

std::optional<IndexUpdate> SessionIndex::tryUpdate(const std::vector<SessionFolder>& folders, QString* error, int* failure,
                                                  const Progress& progress)
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    const auto failedWith = [&](const SqlFailure& failed) -> std::optional<IndexUpdate> {
        *failure = int(failed.failure);
        locked_ = failed.failure == Failure::Busy;
        *error = failed.failure == Failure::Busy        ? lockedText(file_)
               : failed.failure == Failure::Cancelled ? QStringLiteral("the update of the library index was cancelled")
                                                      : QStringLiteral("cannot update the library index %1: %2").arg(file_, failed.text);
        return std::nullopt;
    };
    QHash<QString, KnownFile> known;
    QSet<QString> sessions;
    QSet<QString> formerPaths;
    if (auto failed = readKnown(db, known, sessions, formerPaths))
        return failedWith(*failed);

    const std::function<bool()> stop = [this] { return cancelled(); };
    const Findings findings = findChanges(folders, known, stop);
    std::vector<ReadFile> read(findings.toRead.size());
    std::atomic<int> done{0};
    // A thread for every 16 files at most: a few new files are read at once.
    onAllCores(int(read.size()), int(read.size()) / 16, [&](int i) {
        if (cancelled())
            return;
        read[std::size_t(i)] = readRecord(findings.toRead[std::size_t(i)]);
        if (progress)
            progress(++done, int(read.size()));
    });

    // One decode per image never seen before, however many files hold it.
    std::vector<const ReadFile*> fresh;
    QSet<QString> chosen;
    for (const ReadFile& r : read) {
        if (!r.identity.isEmpty() && !sessions.contains(r.identity) && !chosen.contains(r.identity)) {
            chosen.insert(r.identity);
            fresh.push_back(&r);
        }
    }
    std::vector<SessionFigures> figures(fresh.size());
    onAllCores(int(fresh.size()), int(fresh.size()) / 16, [&](int i) {
        if (!cancelled())
            figures[std::size_t(i)] = sessionFigures(fresh[std::size_t(i)]->image);
    });
    if (cancelled())
        return failedWith({Failure::Cancelled, {}});
    QHash<QString, SessionFigures> decoded;
    for (std::size_t i = 0; i < fresh.size(); ++i)
        decoded.insert(fresh[i]->identity, figures[i]);

    // Everything in one write transaction: another program sees all of this update or none of it.
    IndexUpdate counts;
    QSqlQuery q(db);
    if (auto failed = run(q, QStringLiteral("BEGIN IMMEDIATE")))
        return failedWith(*failed);
    std::optional<SqlFailure> failed = writeSessions(q, decoded);
    if (!failed)
        failed = writeFiles(db, read, known, formerPaths);
    if (!failed)
        failed = writeGone(q, findings.gone);
    if (!failed)
        failed = mirrorSetups(q, dataFolder(), counts.setupsRead);
    if (!failed)
        failed = run(q, QStringLiteral("COMMIT"));
    if (failed) {
        q.exec(QStringLiteral("ROLLBACK"));
        return failedWith(*failed);
    }
    counts.filesSeen = findings.seen;
    counts.filesRead = int(read.size());
    counts.decoded = int(fresh.size());
    counts.missing = int(findings.gone.size());
    return counts;
}

namespace {

Session sessionOfRow(const QSqlQuery& q)
{
    Session s;
    s.identity = q.value(0).toString();
    SessionFigures& f = s.figures;
    f.kind = RecordKind(q.value(1).toInt());
    f.refusal = Refusal(q.value(2).toInt());
    f.serialNumber = q.value(3).toString();
    f.laps = q.value(4).toInt();
    f.bestLap = q.value(5).toInt();
    f.bestTime = q.value(6).toInt();
    f.theoreticalBest = q.value(7).toInt();
    if (!q.value(8).isNull())
        f.consistency = Consistency{q.value(8).toInt(), q.value(9).toInt(), q.value(10).toDouble(), q.value(11).toDouble()};
    f.maxRpm = q.value(12).toInt();
    f.maxTemperature = optionalOf<int>(q.value(13));
    for (int k = 0; k < 3; ++k)
        f.bestSections[std::size_t(k)] = q.value(14 + k).toInt();
    f.engine = q.value(17).toInt();
    s.setup = storedSetup(q.value(18), q.value(19), q.value(20));
    return s;
}

// Its files in time order, its date, track and whether it is missing.
void completeSession(Session& s)
{
    const auto when = [](const SessionFile& f) { return f.downloaded.value_or(f.modified); };
    std::stable_sort(s.files.begin(), s.files.end(), [&](const SessionFile& a, const SessionFile& b) { return when(a) < when(b); });
    const auto dated = std::find_if(s.files.begin(), s.files.end(), [](const SessionFile& f) { return f.downloaded.has_value(); });
    qint64 date = s.files.empty() ? 0 : s.files.front().modified;
    for (const SessionFile& f : s.files)
        date = std::min(date, f.modified);
    s.date = QDateTime::fromMSecsSinceEpoch(dated != s.files.end() ? *dated->downloaded : date);
    const auto named = std::find_if(s.files.begin(), s.files.end(), [](const SessionFile& f) { return f.track.has_value(); });
    if (named != s.files.end())
        s.track = named->track;
    s.missing = std::all_of(s.files.begin(), s.files.end(), [](const SessionFile& f) { return f.missing; });
}

}  // namespace

std::optional<IndexContents> SessionIndex::contents(QString* error) const
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const auto failed = [&](const SqlFailure& failure) -> std::optional<IndexContents> {
        if (error)
            *error = failure.failure == Failure::Busy ? lockedText(file_)
                                                      : QStringLiteral("cannot read the library index %1: %2").arg(file_, failure.text);
        return std::nullopt;
    };
    IndexContents contents;
    QHash<QString, std::size_t> rowOf;
    QStringList columns = sessionColumns.split(QLatin1Char(','));
    for (QString& c : columns)
        c = QStringLiteral("sessions.") + c.trimmed();
    if (auto f = run(q, QStringLiteral("SELECT %1, setups.path, setups.sheet, setups.error FROM sessions "
                                       "LEFT JOIN setups ON setups.session = sessions.identity")
                            .arg(columns.join(QLatin1Char(',')))))
        return failed(*f);
    while (q.next()) {
        rowOf.insert(q.value(0).toString(), contents.sessions.size());
        contents.sessions.push_back(sessionOfRow(q));
    }
    if (auto f = run(q, QStringLiteral("SELECT %1 FROM files ORDER BY path").arg(fileColumns)))
        return failed(*f);
    while (q.next()) {
        SessionFile file{q.value(0).toString(), q.value(2).toLongLong(), q.value(3).toLongLong(),
                         optionalOf<qint64>(q.value(4)), optionalOf<int>(q.value(5)), q.value(6).toBool(), false,
                         q.value(7).toString()};
        const auto row = rowOf.constFind(q.value(1).toString());
        if (q.value(1).isNull() || row == rowOf.constEnd())
            contents.unreadable.push_back(std::move(file));
        else
            contents.sessions[*row].files.push_back(std::move(file));
    }
    if (auto f = run(q, QStringLiteral("SELECT %1 FROM former_files ORDER BY path").arg(formerColumns)))
        return failed(*f);
    while (q.next()) {
        const auto row = rowOf.constFind(q.value(1).toString());
        if (row != rowOf.constEnd())
            contents.sessions[*row].files.push_back({q.value(0).toString(), q.value(2).toLongLong(), q.value(3).toLongLong(),
                                                     optionalOf<qint64>(q.value(4)), optionalOf<int>(q.value(5)), true, true,
                                                     QString()});
    }
    for (Session& s : contents.sessions)
        completeSession(s);
    // Sorted by place, then moved once: a session is too large to move about while sorting.
    std::vector<Session>& all = contents.sessions;
    std::vector<std::size_t> order(all.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::sort(order.begin(), order.end(), [&all](std::size_t a, std::size_t b) {
        return std::tie(all[a].date, all[a].identity, a) < std::tie(all[b].date, all[b].identity, b);
    });
    std::vector<Session> sorted;
    sorted.reserve(all.size());
    for (const std::size_t i : order)
        sorted.push_back(std::move(all[i]));
    all = std::move(sorted);
    return contents;
}

bool SessionIndex::removeSession(const QString& identity, QString* error)
{
    if (copy_) {
        if (error)
            *error = QStringLiteral("cannot remove the session from the library index %1: %2").arg(file_, notWritable_);
        return false;
    }
    // Its files, former files and sheet go with it.
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(QStringLiteral("DELETE FROM sessions WHERE identity = ?"));
    const std::optional<SqlFailure> failed = runWith(q, {identity});
    if (!failed)
        return true;
    if (error)
        *error = failed->failure == Failure::Busy ? lockedText(file_)
                                                  : QStringLiteral("cannot remove the session from the library index %1: %2").arg(file_, failed->text);
    return false;
}

}  // namespace tormel
