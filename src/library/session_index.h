#pragma once

#include "library/session_figures.h"
#include "library/setup_sheet.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace tormel {

// A folder the index reads record files from.
struct SessionFolder {
    QString path;
    bool withSubfolders = false;
};

// Where sessions come from: the working folder and its downloads/, each
// for its own files, and the kept and given folders with their subfolders.
std::vector<SessionFolder> sessionFolders(const QString& workingFolder, const QStringList& kept, const QStringList& given);

struct SessionFile {
    QString path;
    qint64 size = 0;
    qint64 modified = 0;               // milliseconds since the epoch
    std::optional<qint64> downloaded;  // from a kept download's name, milliseconds since the epoch
    std::optional<int> track;          // the record file's track number
    bool missing = false;
    QString error;  // why the file could not be read; such a file has no session
};

struct Session {
    QString identity;
    SessionFigures figures;
    std::optional<int> track;  // of its oldest file that names one
    // The download time when a kept download gives it, else the oldest
    // modification time of its files.
    QDateTime date;
    bool missing = false;  // none of its files is there any more
    std::vector<SessionFile> files;
    // Its setup sheet as last read from its file (`setupSheetPath`).
    FoundSetupSheet setup;
};

struct IndexContents {
    std::vector<Session> sessions;          // oldest first
    std::vector<SessionFile> unreadable;   // record files that could not be read
};

// What one update did.
struct IndexUpdate {
    int filesSeen = 0;
    int filesRead = 0;  // new or changed files
    int decoded = 0;    // images decoded: one per session never seen before
    int missing = 0;    // files found gone by this update
    int setupsRead = 0; // setup sheets new or changed
};

// The index of every session, in an SQLite file. It is a cache of the
// record files and of their setup sheets: deleting it loses nothing. A file
// is read again only when its size or modification time changed, an image
// decoded only once. The data folder of the sheets is the index's folder.
// Several processes may use one index at once.
class SessionIndex {
public:
    static constexpr int SchemaVersion = 2;

    explicit SessionIndex(QString databaseFile);
    ~SessionIndex();
    SessionIndex(const SessionIndex&) = delete;
    SessionIndex& operator=(const SessionIndex&) = delete;

    // library.sqlite in the per-user data folder.
    static QString standardFile();

    // Opens the index, creating it or bringing an older one up to this
    // version. A corrupt index, or one of a newer version, is moved aside
    // and started anew (`takeNotice` says where it went). One in use by
    // another program is waited for, never moved; false and `error` when
    // it stays locked or cannot be opened.
    bool open(QString* error);

    // Reads the new and changed record files of `folders`, and looks again
    // at every file indexed before, marking those that are gone. `progress`,
    // when given, hears of the files read so far and of all to read, from
    // the threads that read them.
    using Progress = std::function<void(int done, int total)>;
    std::optional<IndexUpdate> update(const std::vector<SessionFolder>& folders, QString* error, const Progress& progress = {});

    std::optional<IndexContents> contents(QString* error) const;

    // Takes a session and its files out of the index (the files stay).
    bool removeSession(const QString& identity, QString* error);

    const QString& file() const { return file_; }
    // Where the setup sheets of records in folders that cannot be written go.
    QString dataFolder() const;
    // What the user should be told of the last open or update, once.
    QString takeNotice() { return std::exchange(notice_, QString()); }

private:
    bool openConnection(QString* error, bool retried);
    bool moveAside(const QString& why, QString* error);
    std::optional<IndexUpdate> tryUpdate(const std::vector<SessionFolder>& folders, QString* error, bool* corrupt,
                                         const Progress& progress);

    QString file_;
    QString connection_;
    QString notice_;
};

}  // namespace tormel
