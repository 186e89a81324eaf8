#include "library/session_library.h"

#include "tracks/track_file.h"

#include <QDir>
#include <QDirIterator>
#include <QHash>
#include <QSet>

#include <utility>

namespace tormel {

namespace {

// Enough for a season's folders; a watcher on every folder of a whole disk
// would cost more than it saves.
constexpr int MaxWatchedFolders = 400;
// Files come in bursts (a copy of many records, a download and its copy):
// one update once the folder has been quiet this long.
constexpr int SettleMilliseconds = 200;

// The rows of the index, each with its track's name and its setup sheet.
std::vector<LibraryRow> rowsOf(const IndexContents& contents, const QString& trackFile, const TextTables& tables,
                               QStringList& notices)
{
    QHash<int, QString> names;
    std::vector<LibraryRow> rows;
    rows.reserve(contents.sessions.size());
    for (const Session& s : contents.sessions) {
        LibraryRow row;
        row.session = s;
        if (s.track) {
            if (!names.contains(*s.track)) {
                const std::optional<Track> track = readTrack(trackFile, *s.track);
                names.insert(*s.track, track ? track->name.trimmed() : QString());
            }
            row.trackName = names.value(*s.track);
        }
        const FoundSetupSheet& sheet = s.setup;
        if (sheet.state == SetupSheetState::Read)
            row.setup = sheet.sheet;
        if (sheet.state == SetupSheetState::Broken) {
            row.setupError = sheet.error;
            notices << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(sheet.path), setupSheetErrorText(sheet.error, tables));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace

// What one update needs, copied for the worker's thread.
struct SessionLibrary::Job {
    std::vector<SessionFolder> folders;
    QString trackFile;
    TextTables tables;
    TemperatureUnit temperatureUnit = TemperatureUnit::Celsius;
};

SessionLibrary::SessionLibrary(QString databaseFile, QObject* parent)
    : QObject(parent)
    , databaseFile_(std::move(databaseFile))
    , dataFolder_(QFileInfo(databaseFile_).absolutePath())
    , tables_(frenchTextTables())
{
    worker_ = new QObject;
    worker_->moveToThread(&thread_);
    thread_.start();
    settle_.setSingleShot(true);
    settle_.setInterval(SettleMilliseconds);
    connect(&settle_, &QTimer::timeout, this, &SessionLibrary::refresh);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
    model_.setHeaders(tables_);
}

SessionLibrary::~SessionLibrary()
{
    // The index's connection belongs to the worker's thread: closed there,
    // once the update under way has seen the cancel flag.
    cancel_ = true;
    QMetaObject::invokeMethod(worker_, [w = worker_] { delete w; }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

void SessionLibrary::setFolders(const QString& workingFolder, const QStringList& kept, const QString& trackFile)
{
    working_ = workingFolder;
    kept_ = kept;
    trackFile_ = trackFile;
    refresh();
}

void SessionLibrary::setTexts(const TextTables& tables, TemperatureUnit temperatureUnit)
{
    // Tool tips switched, or a language chosen again: the cells stay.
    if (tables.texts == tables_.texts && tables.language == tables_.language && temperatureUnit == temperatureUnit_)
        return;
    tables_ = tables;
    temperatureUnit_ = temperatureUnit;
    model_.setHeaders(tables_);
    std::vector<LibraryRow> rows;
    for (int r = 0; r < model_.rowCount(); ++r)
        rows.push_back(model_.row(r));
    model_.setRows(libraryRows(std::move(rows), tables_, temperatureUnit_));
}

void SessionLibrary::refresh()
{
    if (working_.isEmpty())
        return;
    if (running_) {
        pending_ = true;
        return;
    }
    start();
}

namespace {

// The index lives as a child of the worker, in the worker's thread.
class IndexHolder : public QObject {
public:
    explicit IndexHolder(QObject* parent, const QString& file)
        : QObject(parent)
        , index(file)
    {
        setObjectName(QStringLiteral("index"));
    }
    SessionIndex index;
};

}  // namespace

namespace {

// What the index had to say, worded for the window: the chosen language's
// lines first, the English details after them.
QStringList indexNotices(SessionIndex& index, const QString& error, const TextTables& tables)
{
    QStringList said;
    QStringList details;
    const IndexNotice notice = index.takeNotice();
    if (!notice.movedTo.isEmpty()) {
        said << tables.texts[libraryIndexMoved].arg(QDir::toNativeSeparators(notice.movedTo));
        details << notice.movedLine(index.file());
    }
    if (!index.writable()) {
        said << tables.texts[libraryIndexNotUpdated];
        details << index.notWritableReason();
    } else if (!error.isEmpty()) {
        said << (index.wasLocked() ? tables.texts[libraryIndexLocked] : error);
        details << error;
    }
    return said + details;
}

}  // namespace

void SessionLibrary::start()
{
    running_ = true;
    auto job = std::make_shared<Job>(Job{sessionFolders(working_, kept_, {}), trackFile_, tables_, temperatureUnit_});
    const QString database = databaseFile_;
    QMetaObject::invokeMethod(worker_, [this, worker = worker_, job, database] {
        QStringList notices;
        auto* holder = worker->findChild<IndexHolder*>(QStringLiteral("index"));
        QString error;
        if (!holder) {
            holder = new IndexHolder(worker, database);
            holder->index.setCancelFlag(&cancel_);
            if (!holder->index.open(&error)) {
                notices << indexNotices(holder->index, error, job->tables);
                delete holder;
                holder = nullptr;
            }
        }
        std::optional<IndexContents> contents;
        if (holder) {
            const auto told = [this](int done, int total) {
                if (done == total || done % 64 == 0)
                    QMetaObject::invokeMethod(this, [this, done, total] { emit progress(done, total); });
            };
            error.clear();
            holder->index.update(job->folders, &error, told);
            if (cancel_)
                return;
            notices << indexNotices(holder->index, holder->index.writable() ? error : QString(), job->tables);
            contents = holder->index.contents(&error);
            if (!contents)
                notices << error;
        }
        auto rows = std::make_shared<LibraryRows>(
            libraryRows(contents ? rowsOf(*contents, job->trackFile, job->tables, notices) : std::vector<LibraryRow>{},
                        job->tables, job->temperatureUnit));
        notices.removeAll(QString());
        QMetaObject::invokeMethod(this, [this, rows, notices, failed = !contents] {
            if (!failed)
                model_.setRows(std::move(*rows));
            running_ = false;
            watch();
            tell(notices);
            emit updated(model_.rowCount());
            if (std::exchange(pending_, false))
                start();
        });
    });
}

void SessionLibrary::tell(const QStringList& notices)
{
    notice_ = notices.join(QLatin1Char('\n'));
    if (!notice_.isEmpty())
        emit notice(notice_);
}

void SessionLibrary::watch()
{
    QStringList wanted{working_, QDir(working_).filePath(QStringLiteral("downloads"))};
    for (const QString& folder : kept_) {
        wanted << folder;
        QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext() && wanted.size() < MaxWatchedFolders)
            wanted << it.next();
    }
    QStringList present;
    for (const QString& folder : wanted)
        if (QFileInfo(folder).isDir())
            present << QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QStringList watched = watcher_.directories();
    const QSet<QString> keep(present.begin(), present.end());
    for (const QString& folder : watched)
        if (!keep.contains(folder))
            watcher_.removePath(folder);
    for (const QString& folder : keep)
        if (!watched.contains(folder))
            watcher_.addPath(folder);
}

void SessionLibrary::removeSession(const QString& identity)
{
    const QString failedText = tables_.texts[libraryRemoveFailed];
    QMetaObject::invokeMethod(worker_, [this, worker = worker_, identity, failedText] {
        auto* holder = worker->findChild<IndexHolder*>(QStringLiteral("index"));
        QString error;
        const bool removed = holder && holder->index.removeSession(identity, &error);
        QMetaObject::invokeMethod(this, [this, removed, error, failedText] {
            if (removed)
                refresh();
            else
                tell({failedText, error});
        });
    });
}

}  // namespace tormel
