#pragma once

#include "document/record_document.h"
#include "library/lap_comparison.h"
#include "library/session_library.h"
#include "shell/file_commands.h"
#include "shell/window_state.h"
#include "texts/language_files.h"
#include "texts/text_tables.h"
#include "tracks/track_file.h"

#include <QHash>
#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QPixmap;
class QTimer;

namespace tormel {

class LibraryWindow;
class ComparisonWindow;

class Dialogs;
class DownloadReceiver;
class HelpWindow;
class Launcher;
class SerialPort;
class SettingsController;
class Sound;
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

// The state shared by the panels; the choices and the texts are the settings controller's.
struct ShellState {
    bool startingUp = false;
    bool downloadReceived = false;
    int filterLevel = 0;
};

// What the place of the lap views shows: the lap table, the engine-speed
// ranges, or neither (an engine-speed record, a record not yet shown).
enum class LapPanel { None, Table, Ranges };
// Which panel holds the lap-time chart's place: the chart, or the track
// editor or the engine hours opened over it.
enum class ChartPlace { Chart, TrackEditor, EngineHours };

// The main window: owns the menus, the shared state and the panels, and wires
// them together. It reads as the table of contents of the program.
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
    // The menus', buttons' and panels' handlers, connected in connectMenus.
    void Quitter_Click();

    // Settings, languages and tool tips, as the settings controller tells them.
    void connectSettings();
    void languageChanged();
    void applyTexts();

    // Smoothing.
    void Filtre_Click(int index);
    // The smoothing level changed (UpDown1): decode again.
    void UpDown1_Change(int level);

    // Menu availability after a decode.
    void enableRecordMenus();
    // The title, the menus' captions and check marks, written from the values they show.
    void showTitle();
    void showSettingsInMenus();

    // Help, start-up picture, about box and background.
    void Picture2_Click();
    void Aide_Click();
    void Infos_Click();
    void Fonds_Click();
    void showSavedBackground();
    void Image1_Click();

    // Reports a condition that should never happen, and logs it.
    void reportUnexpectedError(const QString& code);
    void reportNotImplemented();

    // The one road from the record image to the screen.
    void showRecord();
    void showLapTable();
    void Affichage_Table_Click();
    void Affichage_Tours_Click();

    // The lap table's mouse: sort by a header, eliminate or restore a lap,
    // choose the charted column. A click on a bar of the chart.
    void Liste_Tours_HeaderClick(int column);
    void Liste_Tours_LapClick(int lap);
    void Liste_Tours_ChartColumn(int column);
    void Picture1_LapToggled(int lap);

    // The download: the panel, its scan button, and what the receiver says.
    void Nouveau_Click();
    void Command3D1_Click();
    void downloadAccepted(const RecordImage& image);
    void downloadRefused();

    // File commands.
    void Ouvrir_Click();
    void Sauver_Click();
    void Commentaire_Click();
    void Supprimer_Click();
    void Exporter_Click();
    // The session report of the record as shown, as a PDF file the user names.
    void Rapport_Click();
    // Writes that report to `path`; false and why when it cannot.
    bool writeReport(const QString& path, QString* errorText);
    // One of the records used last, from the File menu.
    void openRecent(int index);

    // Track editor.
    void Pistes_Click();
    void Fermer_Piste_Click();
    void SSCommand2_Click();
    void SSCommand3_Click();

    // Engine hours.
    void Temps_Moteurs_Click();

    // The engine-speed charts: draw lap chartedLaps(g) in chart g, and
    // its previous and next lap buttons.
    void drawRecordChart(int g);
    void SSCommand4_Click(int g);
    void SSCommand5_Click(int g);

    void connectMenus();
    void showBackground(const QPixmap& picture);
    void saveShownTrack();
    // The layout rules' "screen": the window's inner size (menu bar
    // included), in twips.
    int layoutWidth() const;
    int layoutHeight() const;
    // Lays the panels out again for the window's size, without decoding.
    void relayOut();
    void clearLapViews();
    // The one place where the lap views and the panels over the chart are
    // shown, hidden and stacked.
    void showPanels(LapPanel view, ChartPlace place);
    ViewOptions viewOptions() const;
    void showHeader(const DecodedRecord& d);
    void refuse();
    void showTable();
    void redrawChart();
    void showTrack(std::int16_t& trackNumber);
    void stepTrack(int step);
    void reportWriteFailure(const QString& what, const QString& error);
    // Listens on the port chosen, telling why when it cannot.
    void startListening();
    // Reads the help of the chosen language into the help window; false
    // when there is none.
    bool loadHelp(QString* missingPath);
    void showRecentFiles();

    // The library of sessions, at start and from its menu entry.
    void startLibrary();
    void Bibliotheque_Click();

    // Laps of any sessions compared: those of the record shown (File menu)
    // or of the library's sessions, added to the choice kept in the user
    // settings; lap 0 is the record's best lap.
    void Comparer_Click();
    void compareLaps(const ComparableRecord& record, const std::vector<int>& laps);
    void chooseLapsToCompare(const QString& recordPath);
    void showComparison();
    void changeComparison(const std::function<void(LapChoice&)>& change);
    void reportComparison();

    Services services_;
    ShellState state_;
    ShownRecord shown_;
    SettingsController* settings_;
    RecordDocument document_;
    TrackState track_;
    FileCommands files_;
    std::unique_ptr<Menus> menus_;
    std::unique_ptr<Panels> panels_;
    QTimer* timer2_;
    DownloadReceiver* receiver_;
    HelpWindow* help_ = nullptr;  // made at the first Aide
    SessionLibrary* library_;
    LibraryWindow* libraryWindow_ = nullptr;  // made at the first Bibliotheque
    LapChoice choice_;
    // Records whose laps were chosen, by session: those the library does not list yet.
    QHash<QString, QString> comparedRecords_;
    ComparisonWindow* comparisonWindow_ = nullptr;  // made at the first comparison
    bool laidOut_ = false;
    LapPanel lapPanel_ = LapPanel::None;
    ChartPlace chartPlace_ = ChartPlace::Chart;
};

// The window as the program starts it: over the whole screen, past
// Form_Load, and with `record` (when given) open.
void startWindow(Principale& window, const QString& record);

}  // namespace tormel
