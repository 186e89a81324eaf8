#include "library/session_index.h"

#include "base/all_cores.h"
#include "base/app_info.h"
#include "download/download_copies.h"
#include "record/record_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <algorithm>
#include <functional>
#include <atomic>
#include <utility>

namespace tormel {

namespace {

std::atomic<int> connectionCount{0};

// How often a locked index is tried again once SQLite's own wait ran out.
constexpr int LockedRetries = 3;

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
};

enum class Failure { Busy, Corrupt, Other };

Failure failureOf(const QSqlError& error)
{
    // SQLite's primary result codes: BUSY, LOCKED; CORRUPT, NOTADB.
    switch (error.nativeErrorCode().toInt() & 0xFF) {
    case 5:
    case 6:
        return Failure::Busy;
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

struct KnownFile {
    qint64 size = 0;
    qint64 modified = 0;
    bool missing = false;
    bool hasSession = false;
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

QString dateSuffix()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

}  // namespace

std::vector<SessionFolder> sessionFolders(const QString& workingFolder, const QStringList& kept, const QStringList& given)
{
    std::vector<SessionFolder> folders{{workingFolder, false}, {QDir(workingFolder).filePath(QStringLiteral("downloads")), false}};
    for (const QStringList* list : {&kept, &given})
        for (const QString& folder : *list)
            folders.push_back({folder, true});
    return folders;
}

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

bool SessionIndex::open(QString* error)
{
    return openConnection(error, false);
}

namespace {

// A statement run again while the index is locked, as long as SQLite's own
// wait and our retries allow.
std::optional<SqlFailure> run(QSqlQuery& query, const QString& statement)
{
    for (int attempt = 0;; ++attempt) {
        if (query.exec(statement))
            return std::nullopt;
        const Failure failure = failureOf(query.lastError());
        if (failure != Failure::Busy || attempt == LockedRetries)
            return SqlFailure{failure, query.lastError().text()};
    }
}

std::optional<SqlFailure> run(QSqlQuery& query)
{
    for (int attempt = 0;; ++attempt) {
        if (query.exec())
            return std::nullopt;
        const Failure failure = failureOf(query.lastError());
        if (failure != Failure::Busy || attempt == LockedRetries)
            return SqlFailure{failure, query.lastError().text()};
    }
}

QString lockedText(const QString& file)
{
    return QStringLiteral("the library index %1 stays locked by another program").arg(file);
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

}  // namespace

bool SessionIndex::openConnection(QString* error, bool retried)
{
    const auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (!QDir().mkpath(QFileInfo(file_).absolutePath()))
        return fail(QStringLiteral("cannot create the folder of %1").arg(file_));
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.isValid()) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db.setDatabaseName(file_);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    }
    if (!db.open())
        return fail(QStringLiteral("cannot open the library index %1: %2").arg(file_, db.lastError().text()));

    std::optional<SqlFailure> failed;
    int version = 0;
    bool newer = false;
    {
        QSqlQuery q(db);
        // The first read of a file that is no database fails here.
        failed = run(q, QStringLiteral("PRAGMA user_version"));
        if (!failed) {
            version = q.next() ? q.value(0).toInt() : 0;
            failed = run(q, QStringLiteral("PRAGMA quick_check"));
        }
        if (!failed && (!q.next() || q.value(0).toString() != QLatin1String("ok")))
            failed = SqlFailure{Failure::Corrupt, QStringLiteral("its check failed")};
        newer = !failed && version > SchemaVersion;
        if (!failed && !newer)
            failed = run(q, QStringLiteral("PRAGMA journal_mode = WAL"));
        if (!failed)
            failed = run(q, QStringLiteral("PRAGMA synchronous = NORMAL"));
    }
    if (newer)
        return moveAside(QStringLiteral("it was written by a newer version (%1)").arg(version), error);
    if (!failed && version < SchemaVersion)
        failed = migrate(db);
    if (!failed)
        return true;
    if (failed->failure == Failure::Busy)
        return fail(lockedText(file_));
    if (failed->failure == Failure::Corrupt && !retried)
        return moveAside(QStringLiteral("it is damaged (%1)").arg(failed->text), error);
    return fail(QStringLiteral("cannot read the library index %1: %2").arg(file_, failed->text));
}

bool SessionIndex::moveAside(const QString& why, QString* error)
{
    QSqlDatabase::database(connection_, false).close();
    const QString aside = file_ + QStringLiteral(".old-") + dateSuffix();
    if (!QFile::rename(file_, aside)) {
        if (error)
            *error = QStringLiteral("the library index %1 cannot be read and cannot be moved aside: %2").arg(file_, why);
        return false;
    }
    // Its journal goes with it; the shared-memory file belongs to no one now.
    QFile::rename(file_ + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    QFile::remove(file_ + QStringLiteral("-shm"));
    notice_ = QStringLiteral("the library index %1 could not be used: %2; it was moved to %3 and is built again "
                             "from the record files")
                  .arg(file_, why, aside);
    return openConnection(error, true);
}

std::optional<IndexUpdate> SessionIndex::update(const std::vector<SessionFolder>& folders, QString* error,
                                               const Progress& progress)
{
    bool corrupt = false;
    std::optional<IndexUpdate> done = tryUpdate(folders, error, &corrupt, progress);
    if (!corrupt)
        return done;
    // Damaged under our hands: start anew from the files, once.
    if (!moveAside(QStringLiteral("it is damaged"), error))
        return std::nullopt;
    return tryUpdate(folders, error, &corrupt, progress);
}

namespace {

// What an update found on the disk, before anything is written.
struct Findings {
    std::vector<FoundFile> toRead;
    QStringList gone;  // indexed files no longer there
    int seen = 0;
};

Findings findChanges(const std::vector<SessionFolder>& folders, const QHash<QString, KnownFile>& known)
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
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            if (isRecordFile(info))
                consider(QDir::cleanPath(info.absoluteFilePath()), info);
        }
    }
    // Files indexed from folders not read this time are looked at one by one.
    for (auto k = known.constBegin(); k != known.constEnd(); ++k) {
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

// `statements` inside one write transaction, committed, or rolled back on the first failure.
std::optional<SqlFailure> inTransaction(QSqlQuery& q, const std::function<std::optional<SqlFailure>()>& statements)
{
    if (auto failed = run(q, QStringLiteral("BEGIN IMMEDIATE")))
        return failed;
    std::optional<SqlFailure> failed = statements();
    if (!failed)
        failed = run(q, QStringLiteral("COMMIT"));
    if (failed)
        q.exec(QStringLiteral("ROLLBACK"));
    return failed;
}

std::optional<SqlFailure> writeChanges(QSqlDatabase& db, const std::vector<ReadFile>& read,
                                       const QHash<QString, SessionFigures>& decoded, const QStringList& gone)
{
    QSqlQuery q(db);
    return inTransaction(q, [&]() -> std::optional<SqlFailure> {
        q.prepare(QStringLiteral("INSERT OR IGNORE INTO sessions VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (auto s = decoded.constBegin(); s != decoded.constEnd(); ++s) {
            const SessionFigures& f = s.value();
            const std::optional<Consistency>& c = f.consistency;
            const QVariantList values{s.key(), int(f.kind), int(f.refusal), f.serialNumber, f.laps, f.bestLap, f.bestTime,
                                      f.theoreticalBest, c ? QVariant(c->racingLaps) : QVariant(),
                                      c ? QVariant(c->windowCount) : QVariant(), c ? QVariant(c->spread) : QVariant(),
                                      c ? QVariant(c->deviation) : QVariant(), f.maxRpm, optionalValue(f.maxTemperature),
                                      f.bestSections[0], f.bestSections[1], f.bestSections[2], f.engine};
            for (int i = 0; i < values.size(); ++i)
                q.bindValue(i, values[i]);
            if (auto failed = run(q))
                return failed;
        }
        q.prepare(QStringLiteral("INSERT OR REPLACE INTO files VALUES (?, ?, ?, ?, ?, ?, 0, ?)"));
        for (const ReadFile& r : read) {
            const QVariantList values{r.file.path, r.identity.isEmpty() ? QVariant() : QVariant(r.identity), r.file.size,
                                      r.file.modified, optionalValue(r.file.downloaded), optionalValue(r.file.track),
                                      r.file.error.isEmpty() ? QVariant() : QVariant(r.file.error)};
            for (int i = 0; i < values.size(); ++i)
                q.bindValue(i, values[i]);
            if (auto failed = run(q))
                return failed;
        }
        for (const char* statement : {"UPDATE files SET missing = 1 WHERE path = ? AND session IS NOT NULL",
                                      "DELETE FROM files WHERE path = ? AND session IS NULL"}) {
            q.prepare(QString::fromLatin1(statement));
            for (const QString& path : gone) {
                q.bindValue(0, path);
                if (auto failed = run(q))
                    return failed;
            }
        }
        // A file saved over with another image may leave its old session without a file.
        if (auto failed = run(q, QStringLiteral("DELETE FROM sessions WHERE identity NOT IN "
                                                "(SELECT session FROM files WHERE session IS NOT NULL)")))
            return failed;
        return std::nullopt;
    });
}

// Each session's record files, oldest first, as the library lists them.
std::optional<SqlFailure> sessionFiles(QSqlDatabase& db, std::vector<std::pair<QString, QStringList>>& sessions)
{
    QSqlQuery q(db);
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

std::optional<SqlFailure> writeSetups(QSqlDatabase& db, const std::vector<std::pair<QString, FoundFile>>& changed,
                                      const std::vector<FoundSetupSheet>& sheets, const QStringList& gone)
{
    QSqlQuery q(db);
    return inTransaction(q, [&]() -> std::optional<SqlFailure> {
        q.prepare(QStringLiteral("INSERT OR REPLACE INTO setups VALUES (?, ?, ?, ?, ?, ?)"));
        for (std::size_t i = 0; i < changed.size(); ++i) {
            const FoundFile& file = changed[i].second;
            const bool read = sheets[i].state == SetupSheetState::Read;
            const QVariantList values{changed[i].first, file.path, file.size, file.modified,
                                      read ? QVariant(QString::fromUtf8(setupSheetBytes(sheets[i].sheet))) : QVariant(),
                                      read ? QVariant() : QVariant(sheets[i].error)};
            for (int v = 0; v < values.size(); ++v)
                q.bindValue(v, values[v]);
            if (auto failed = run(q))
                return failed;
        }
        q.prepare(QStringLiteral("DELETE FROM setups WHERE session = ?"));
        for (const QString& session : gone) {
            q.bindValue(0, session);
            if (auto failed = run(q))
                return failed;
        }
        if (auto failed = run(q, QStringLiteral("DELETE FROM setups WHERE session NOT IN (SELECT identity FROM sessions)")))
            return failed;
        return std::nullopt;
    });
}

// The sheet files are the truth: each session's is looked for, and read
// again only when it is another file or its size or modification time changed.
std::optional<SqlFailure> mirrorSetups(QSqlDatabase& db, const QString& dataFolder, int& sheetsRead)
{
    std::vector<std::pair<QString, QStringList>> sessions;
    if (auto failed = sessionFiles(db, sessions))
        return failed;
    QHash<QString, FoundFile> known;
    {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (auto failed = run(q, QStringLiteral("SELECT session, path, size, modified FROM setups")))
            return failed;
        while (q.next())
            known.insert(q.value(0).toString(), {q.value(1).toString(), q.value(2).toLongLong(), q.value(3).toLongLong()});
    }
    std::vector<FoundFile> found(sessions.size());
    onAllCores(int(sessions.size()), int(sessions.size()) / 256, [&](int i) {
        const auto& [identity, records] = sessions[std::size_t(i)];
        const QFileInfo info(setupSheetPath(records, identity, dataFolder));
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
    if (changed.empty() && gone.isEmpty())
        return std::nullopt;
    return writeSetups(db, changed, sheets, gone);
}

// A sheet as the index keeps it.
FoundSetupSheet storedSetup(const QVariant& path, const QVariant& sheet, const QVariant& error)
{
    FoundSetupSheet found;
    if (path.isNull())
        return found;
    found.path = path.toString();
    found.state = SetupSheetState::Broken;
    found.error = error.toString();
    if (!sheet.isNull()) {
        ParsedSetupSheet parsed = parseSetupSheet(sheet.toString().toUtf8());
        if (parsed.sheet) {
            found.state = SetupSheetState::Read;
            found.sheet = std::move(*parsed.sheet);
        }
    }
    return found;
}

}  // namespace

std::optional<IndexUpdate> SessionIndex::tryUpdate(const std::vector<SessionFolder>& folders, QString* error, bool* corrupt,
                                                  const Progress& progress)
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    const auto failedWith = [&](const SqlFailure& failure) -> std::optional<IndexUpdate> {
        *corrupt = failure.failure == Failure::Corrupt;
        if (error)
            *error = failure.failure == Failure::Busy ? lockedText(file_)
                                                      : QStringLiteral("cannot update the library index %1: %2").arg(file_, failure.text);
        return std::nullopt;
    };
    QHash<QString, KnownFile> known;
    QSet<QString> sessions;
    {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (auto failed = run(q, QStringLiteral("SELECT path, size, modified, missing, session IS NOT NULL FROM files")))
            return failedWith(*failed);
        while (q.next())
            known.insert(q.value(0).toString(),
                         {q.value(1).toLongLong(), q.value(2).toLongLong(), q.value(3).toBool(), q.value(4).toBool()});
        if (auto failed = run(q, QStringLiteral("SELECT identity FROM sessions")))
            return failedWith(*failed);
        while (q.next())
            sessions.insert(q.value(0).toString());
    }

    const Findings findings = findChanges(folders, known);
    std::vector<ReadFile> read(findings.toRead.size());
    std::atomic<int> done{0};
    // A thread for every 16 files at most: a few new files are read at once.
    onAllCores(int(read.size()), int(read.size()) / 16, [&](int i) {
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
    onAllCores(int(fresh.size()), int(fresh.size()) / 16, [&](int i) { figures[std::size_t(i)] = sessionFigures(fresh[std::size_t(i)]->image); });
    QHash<QString, SessionFigures> decoded;
    for (std::size_t i = 0; i < fresh.size(); ++i)
        decoded.insert(fresh[i]->identity, figures[i]);

    if (auto failed = writeChanges(db, read, decoded, findings.gone))
        return failedWith(*failed);
    IndexUpdate counts;
    if (auto failed = mirrorSetups(db, dataFolder(), counts.setupsRead))
        return failedWith(*failed);
    counts.filesSeen = findings.seen;
    counts.filesRead = int(read.size());
    counts.decoded = int(fresh.size());
    counts.missing = int(findings.gone.size());
    return counts;
}

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
    if (auto f = run(q, QStringLiteral("SELECT sessions.*, setups.path, setups.sheet, setups.error FROM sessions "
                                       "LEFT JOIN setups ON setups.session = sessions.identity")))
        return failed(*f);
    while (q.next()) {
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
        rowOf.insert(s.identity, contents.sessions.size());
        contents.sessions.push_back(std::move(s));
    }
    if (auto f = run(q, QStringLiteral("SELECT path, session, size, modified, downloaded, track, missing, error FROM files "
                                       "ORDER BY path")))
        return failed(*f);
    while (q.next()) {
        SessionFile file{q.value(0).toString(), q.value(2).toLongLong(), q.value(3).toLongLong(),
                         optionalOf<qint64>(q.value(4)), optionalOf<int>(q.value(5)), q.value(6).toBool(),
                         q.value(7).toString()};
        const auto row = rowOf.constFind(q.value(1).toString());
        if (q.value(1).isNull() || row == rowOf.constEnd())
            contents.unreadable.push_back(std::move(file));
        else
            contents.sessions[*row].files.push_back(std::move(file));
    }
    for (Session& s : contents.sessions) {
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
    std::stable_sort(contents.sessions.begin(), contents.sessions.end(), [](const Session& a, const Session& b) {
        return std::pair(a.date, a.identity) < std::pair(b.date, b.identity);
    });
    return contents;
}

bool SessionIndex::removeSession(const QString& identity, QString* error)
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    std::optional<SqlFailure> failed = run(q, QStringLiteral("BEGIN IMMEDIATE"));
    for (const char* statement : {"DELETE FROM files WHERE session = ?", "DELETE FROM setups WHERE session = ?",
                                  "DELETE FROM sessions WHERE identity = ?"}) {
        if (failed)
            break;
        q.prepare(QString::fromLatin1(statement));
        q.bindValue(0, identity);
        failed = run(q);
    }
    if (!failed)
        failed = run(q, QStringLiteral("COMMIT"));
    if (!failed)
        return true;
    q.exec(QStringLiteral("ROLLBACK"));
    if (error)
        *error = QStringLiteral("cannot remove the session from the library index %1: %2").arg(file_, failed->text);
    return false;
}

}  // namespace tormel
