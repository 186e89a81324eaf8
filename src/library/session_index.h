#pragma once

#include "library/session_figures.h"
#include "library/setup_sheet.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <memory>
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
    // Saved over with another image (or with bytes that do not read): it
    // was this session's file, and is missing for it.
    bool replaced = false;
    QString error;  // why the file could not be read; such a file has no session

    // The bytes of the image the file held: fewer than 2048 for a file cut short.
    int imageBytes() const;
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

    // Every file of it was cut short: the bytes of the longest. Its figures
    // are those of an image padded with zeros, so they are not shown.
    std::optional<int> truncatedBytes() const;
    // The file that opens it: its first one still there; empty when missing.
    QString presentFile() const;
};

// Whether a file of the session is, or last was, under one of `folders`
// (their subfolders included).
bool sessionIsUnder(const Session& session, const QStringList& folders);
bool fileIsUnder(const QString& path, const QStringList& folders);

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

// What the user should be told of an open or an update, once.
struct IndexNotice {
    QString movedTo;     // a damaged or newer index went there; a new one is built from the files
    QString why;         // why it could not be used
    QString notUpdated;  // the index cannot be written (why): its sessions are shown as they were

    bool isEmpty() const { return movedTo.isEmpty() && notUpdated.isEmpty(); }
    // Where the index went and why, in English, for the command line; empty
    // when it stayed. (An index not brought up to date is told by `update`.)
    QString movedLine(const QString& file) const;
};

// The index of every session, in an SQLite file. It is a cache of the
// record files and of their setup sheets: deleting it loses nothing. A file
// is read again only when its size or modification time changed, an image
// decoded only once. The data folder of the sheets is the index's folder.
// Several processes may use one index at once.
class SessionIndex {
public:
    static constexpr int SchemaVersion = 3;
    // How long a step waits for another program's lock before giving up.
    static constexpr int BusyWaitMilliseconds = 5000;

    explicit SessionIndex(QString databaseFile);
    ~SessionIndex();
    SessionIndex(const SessionIndex&) = delete;
    SessionIndex& operator=(const SessionIndex&) = delete;

    // library.sqlite in the per-user data folder.
    static QString standardFile();

    // Opens the index, creating it or bringing an older one up to this
    // version. A corrupt index, or one of a newer version, is moved aside
    // under a free name and started anew (`takeNotice` says where it went).
    // One in use by another program is waited for, never moved. One that
    // cannot be written is read from a private copy: it lists what it holds
    // and `update` says it cannot bring it up to date. False and `error`
    // when it stays locked or cannot be read at all.
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

    // An update under way ends as soon as it sees `flag` set, writing nothing.
    void setCancelFlag(const std::atomic<bool>* flag) { cancel_ = flag; }

    const QString& file() const { return file_; }
    // Where the setup sheets of records in folders that cannot be written go.
    QString dataFolder() const;
    // False while the index is read from a copy because it cannot be written;
    // then why.
    bool writable() const { return !copy_; }
    const QString& notWritableReason() const { return notWritable_; }
    // Whether the last open or update gave up on another program's lock.
    bool wasLocked() const { return locked_; }
    // What the user should be told of the last open or update, once.
    IndexNotice takeNotice() { return std::exchange(notice_, IndexNotice()); }

private:
    bool openConnection(const QString& databaseFile, QString* error, bool retried);
    bool moveAside(const QString& why, QString* error);
    bool openCopy(const QString& why, QString* error);
    bool cancelled() const { return cancel_ && cancel_->load(); }
    std::optional<IndexUpdate> tryUpdate(const std::vector<SessionFolder>& folders, QString* error, int* failure,
                                         const Progress& progress);

    QString file_;
    QString connection_;
    IndexNotice notice_;
    QString notWritable_;
    bool locked_ = false;
    struct Copy;
    std::unique_ptr<Copy> copy_;  // the private copy read while the index cannot be written
    const std::atomic<bool>* cancel_ = nullptr;
};

}  // namespace tormel
