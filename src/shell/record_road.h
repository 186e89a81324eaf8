#pragma once

#include "shell/file_commands.h"
#include "shell/window_state.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

namespace tormel {

class DownloadPanel;
class DownloadReceiver;
class RecordImage;
class RecordScreen;
class SettingsController;
class TrackController;
struct Services;

// The record shown and its road: opened from a file or the recent list,
// downloaded from the logger, saved, commented, exported and reported. It
// holds what is shown as a value (ShownRecord), which the title, the menus
// and every command read.
class RecordRoad final : public QObject {
    Q_OBJECT
public:
    // `window` centres the download panel.
    RecordRoad(const Services& services, SettingsController& settings, RecordScreen& screen, TrackController& track,
               DownloadPanel& panel, const QWidget& window, QObject* parent = nullptr);

    const ShownRecord& shown() const { return shown_; }
    // Whether the window listens, and on which port.
    WindowActivity activity() const;
    bool downloadReceived() const { return downloadReceived_; }
    QStringList recentFiles() const { return files_.recentFiles(); }

    // Opens a record as Ouvrir does once the file is chosen.
    void openRecord(const QString& path);
    void Ouvrir_Click();
    // One of the records used last, from the File menu.
    void openRecent(int index);
    void Sauver_Click();
    void Commentaire_Click();
    void Exporter_Click();
    // The session report of the record as shown, as a PDF file the user names.
    void reportRecord();

    // The download: the panel, its scan button, and the port chosen.
    void Nouveau_Click();
    void Command3D1_Click();
    // Listens on the port chosen, telling why when it cannot.
    void startListening();
    // A port chosen while listening: listening moves to it at once.
    void followPort();

signals:
    // The record shown, the port listened on or the recent records changed.
    void shownChanged();

private:
    bool writeReport(const QString& path, QString* errorText);
    void downloadAccepted(const RecordImage& image);
    void downloadRefused();

    const Services& services_;
    SettingsController& settings_;
    RecordScreen& screen_;
    TrackController& track_;
    DownloadPanel& panel_;
    const QWidget& window_;
    FileCommands files_;
    DownloadReceiver* receiver_;
    ShownRecord shown_;
    bool downloadReceived_ = false;
};

}  // namespace tormel
