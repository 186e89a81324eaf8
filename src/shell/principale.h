#pragma once

#include "tracks/track_file.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class QAction;
class QPixmap;
class QTimer;

namespace tormel {

class ComparisonController;
class Dialogs;
class HelpWindow;
class Launcher;
class RecordRoad;
class RecordScreen;
class SerialPort;
class SettingsController;
class Sound;
class TrackController;
struct Menus;
struct Panels;

// What the window needs from the outside world; tests hand in fakes.
struct Services {
    Dialogs& dialogs;
    Launcher& launcher;
    SerialPort& serialPort;
    Sound& sound;
    QString programFolder;
    // What the window remembers beside the settings (UserSettings::standardFile()).
    QString userSettingsFile;
    // The installed language and help files, read beneath the user's own in
    // `programFolder`; empty for a build or a portable copy.
    QString shippedDataFolder = {};
    // The track file the window reads and writes.
    QString trackFile = trackFileName;
    // The index of sessions (SessionIndex::standardFile()); empty: library.sqlite in `programFolder`.
    QString libraryFile = {};
};

// The index of sessions the window uses.
QString libraryFileOf(const Services& services);

// The main window: owns the menus and the panels, and wires them to the
// controllers that serve them: the settings and languages, the record on
// screen, its track, its road (open, save, download, report), and the
// library with the comparison. It reads as the table of contents of the
// program.
class Principale : public QMainWindow {
    Q_OBJECT
public:
    explicit Principale(Services services, QWidget* parent = nullptr);
    ~Principale() override;

    // Start-up, in its order; ends with the start-up picture up and Timer2 running.
    void Form_Load();
    // Opens a record as Ouvrir does once the file is chosen; also used for a
    // record given on the command line or dropped on the window.
    void openRecord(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void connectMenus();
    void connectSettings();
    void Quitter_Click();

    // Settings, languages and tool tips, as the settings controller tells them.
    void languageChanged();
    void applyTexts();
    // The title, the menus' captions and check marks, written from the values they show.
    void showTitle();
    void showSettingsInMenus();
    void showRecentFiles();

    // Help, start-up picture, about box and background.
    void Picture2_Click();
    void Aide_Click();
    // Reads the help of the chosen language into the help window; false
    // when there is none.
    bool loadHelp(QString* missingPath);
    void Infos_Click();
    void Fonds_Click();
    void showSavedBackground();
    void showBackground(const QPixmap& picture);
    void Image1_Click();

    // Reports a condition that should never happen, and logs it.
    void reportUnexpectedError(const QString& code);
    void reportNotImplemented();
    void reportWriteFailure(const QString& what, const QString& error);

    // The layout rules' "screen": the window's inner size (menu bar
    // included), in twips.
    int layoutWidth() const;
    int layoutHeight() const;

    Services services_;
    // Start-up reads the settings before any track is shown.
    bool startingUp_ = false;
    bool laidOut_ = false;
    SettingsController* settings_;
    TrackState track_;
    std::unique_ptr<Menus> menus_;
    std::unique_ptr<Panels> panels_;
    QTimer* timer2_;
    HelpWindow* help_ = nullptr;  // made at the first Aide
    RecordScreen* screen_ = nullptr;
    TrackController* tracks_ = nullptr;
    RecordRoad* road_ = nullptr;
    ComparisonController* comparisons_ = nullptr;
};

// The window as the program starts it: over the whole screen, past
// Form_Load, and with `record` (when given) open.
void startWindow(Principale& window, const QString& record);

}  // namespace tormel
