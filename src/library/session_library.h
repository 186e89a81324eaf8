#pragma once

#include "library/library_model.h"
#include "library/session_index.h"
#include "texts/text_tables.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

namespace tormel {

// The library as the window has it: a model of the index, brought up to date
// in a thread of its own (the window stays usable), at start and whenever
// a file appears, changes or goes in a watched folder.
class SessionLibrary : public QObject {
    Q_OBJECT
public:
    // The index in `databaseFile`; its folder is the data folder, where setup
    // sheets go when a record's folder cannot be written.
    explicit SessionLibrary(QString databaseFile, QObject* parent = nullptr);
    ~SessionLibrary() override;

    // The folders read: the working folder (and its downloads/) and the kept
    // ones; the track file names the tracks. Starts an update.
    void setFolders(const QString& workingFolder, const QStringList& kept, const QString& trackFile);
    // The language and temperature unit the cells are written in; redoes them.
    void setTexts(const TextTables& tables, TemperatureUnit temperatureUnit);
    void refresh();
    // Takes the session out of the index in the worker's thread, after the
    // update under way: the window never waits. A failure is a `notice`.
    void removeSession(const QString& identity);

    LibraryModel& model() { return model_; }
    const QString& dataFolder() const { return dataFolder_; }
    const QString& trackFile() const { return trackFile_; }
    bool updating() const { return running_; }
    // What the last update had to say, in the chosen language (the details,
    // in English, as a second part after a line break); empty when nothing.
    const QString& lastNotice() const { return notice_; }

signals:
    void progress(int done, int total);
    void updated(int sessions);
    void notice(const QString& text);  // an index moved aside, a sheet that does not parse, an index in use

private:
    struct Job;
    void start();
    void watch();
    void tell(const QStringList& notices);

    QString databaseFile_;
    QString dataFolder_;
    QString working_;
    QStringList kept_;
    QString trackFile_;
    TextTables tables_;
    TemperatureUnit temperatureUnit_ = TemperatureUnit::Celsius;
    LibraryModel model_;
    std::vector<LibraryRow> rows_;
    QThread thread_;
    QObject* worker_ = nullptr;  // lives in thread_
    bool running_ = false;
    bool pending_ = false;
    QString notice_;
    // Set when the library goes: an update under way stops at once.
    std::atomic<bool> cancel_{false};
    QFileSystemWatcher watcher_;
    QTimer settle_;
};

}  // namespace tormel
