#include "shell/principale.h"

#include "base/app_info.h"
#include "charts/lap_time_chart.h"
#include "charts/record_chart.h"
#include "charts/smoothing_panel.h"
#include "download/download_panel.h"
#include "download/receiver.h"
#include "config/background_file.h"
#include "config/error_log.h"
#include "laps/lap_grid.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "record/engine_hours_panel.h"
#include "shell/help_window.h"
#include "shell/library_window.h"
#include "shell/menus.h"
#include "shell/panels.h"
#include "shell/settings_controller.h"
#include "tracks/track_editor.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

namespace tormel {

Principale::Principale(Services services, QWidget* parent)
    : QMainWindow(parent)
    , services_(std::move(services))
    , settings_(new SettingsController(services_.dialogs, services_.programFolder, services_.shippedDataFolder, this))
    , files_(services_.dialogs, services_.launcher, services_.programFolder, settings_->tables(), services_.userSettingsFile)
    , menus_(std::make_unique<Menus>(menuBar()))
    , timer2_(new QTimer(this))
    , receiver_(new DownloadReceiver(services_.serialPort, services_.sound, this))
    , library_(new SessionLibrary(libraryFileOf(services_), this))
{
    setWindowTitle(applicationTitle());
    services_.dialogs.setParentWidget(this);
    setAcceptDrops(true);
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    setCentralWidget(central);
    panels_ = std::make_unique<Panels>(central);
    // The serial number stays in sight at the top right, clear of the lap table.
    auto* serial = new QWidget(menuBar());
    auto* serialLayout = new QHBoxLayout(serial);
    serialLayout->setContentsMargins(0, 0, 8, 0);
    serialLayout->addWidget(panels_->Serial_Number_Caption);
    serialLayout->addWidget(panels_->Serial_Number);
    menuBar()->setCornerWidget(serial, Qt::TopRightCorner);

    timer2_->setObjectName(QStringLiteral("Timer2"));
    timer2_->setInterval(2500);
    connect(timer2_, &QTimer::timeout, this, &Principale::Picture2_Click);

    // Nothing can be chosen while the start-up picture is up.
    for (QMenu* menu : {menus_->Fichiers, menus_->Options, menus_->Communication})
        menu->menuAction()->setEnabled(false);
    menus_->Aide->setEnabled(false);
    connectMenus();
}

Principale::~Principale()
{
    // The views keep pointers into the document and the track: they go first.
    delete takeCentralWidget();
    delete libraryWindow_;
    services_.dialogs.setParentWidget(nullptr);
}

void startWindow(Principale& window, const QString& record)
{
    // Without a window manager (a bare X server) maximising does nothing: take the screen ourselves.
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        window.setGeometry(primary->availableGeometry());
    window.showMaximized();
    window.Form_Load();
    // A record named on the command line (a file manager's "open with")
    // opens as if chosen in the open dialog.
    if (!record.isEmpty())
        window.openRecord(record);
}

void Principale::connectMenus()
{
    Menus& m = *menus_;
    connect(m.Quitter, &QAction::triggered, this, &Principale::Quitter_Click);
    connect(m.Supprimer, &QAction::triggered, this, &Principale::Supprimer_Click);
    connect(m.Fonds, &QAction::triggered, this, &Principale::Fonds_Click);
    connectSettings();
    for (int i = 0; i < 4; ++i)
        connect(m.Filtre[std::size_t(i)], &QAction::triggered, this, [this, i] { Filtre_Click(i); });
    connect(m.Aide, &QAction::triggered, this, &Principale::Aide_Click);
    connect(m.Ouvrir, &QAction::triggered, this, &Principale::Ouvrir_Click);
    connect(m.Nouveau, &QAction::triggered, this, &Principale::Nouveau_Click);
    for (int i = 0; i < int(m.Recent.size()); ++i)
        connect(m.Recent[std::size_t(i)], &QAction::triggered, this, [this, i] { openRecent(i); });
    connect(m.Sauver, &QAction::triggered, this, &Principale::Sauver_Click);
    connect(m.Exporter, &QAction::triggered, this, &Principale::Exporter_Click);
    connect(m.Rapport, &QAction::triggered, this, &Principale::Rapport_Click);
    connect(m.Bibliotheque, &QAction::triggered, this, &Principale::Bibliotheque_Click);
    connect(m.Comparer, &QAction::triggered, this, &Principale::Comparer_Click);
    connect(m.Commentaire, &QAction::triggered, this, &Principale::Commentaire_Click);
    connect(m.Pistes, &QAction::triggered, this, &Principale::Pistes_Click);
    connect(m.Temps_Moteurs, &QAction::triggered, this, &Principale::Temps_Moteurs_Click);
    connect(m.Affichage_Table, &QAction::triggered, this, &Principale::Affichage_Table_Click);
    connect(m.Affichage_Tours, &QAction::triggered, this, &Principale::Affichage_Tours_Click);
    connect(m.Infos, &QAction::triggered, this, &Principale::Infos_Click);

    Panels& p = *panels_;
    connect(p.Frame_Piste, &TrackEditor::edited, this, [this] {
        // A unit chosen carries the lengths typed into the track, and the speeds follow them.
        track_.record = panels_->Frame_Piste->track();
        track_.modified = true;
    });
    connect(p.Frame_Piste, &TrackEditor::closeClicked, this, &Principale::Fermer_Piste_Click);
    connect(p.Frame_Moteurs, &EngineHoursPanel::closeClicked, this, [this] { showPanels(lapPanel_, ChartPlace::Chart); });
    connect(p.Frame_Piste, &TrackEditor::previousClicked, this, &Principale::SSCommand2_Click);
    connect(p.Frame_Piste, &TrackEditor::nextClicked, this, &Principale::SSCommand3_Click);
    connect(p.Liste_Tours, &LapGrid::headerClicked, this, &Principale::Liste_Tours_HeaderClick);
    connect(p.Liste_Tours, &LapGrid::lapClicked, this, &Principale::Liste_Tours_LapClick);
    connect(p.Liste_Tours, &LapGrid::chartColumnChosen, this, &Principale::Liste_Tours_ChartColumn);
    connect(p.Graphique_Chronos, &LapTimeChart::lapToggled, this, &Principale::Picture1_LapToggled);
    for (int g = 0; g < 3; ++g) {
        connect(p.Graphique_Record[std::size_t(g)], &RecordChart::previousLapClicked, this, [this, g] { SSCommand4_Click(g); });
        connect(p.Graphique_Record[std::size_t(g)], &RecordChart::nextLapClicked, this, [this, g] { SSCommand5_Click(g); });
    }
    connect(p.Parametres_Courbe, &SmoothingPanel::valueChanged, this, &Principale::UpDown1_Change);
    connect(p.Frame_Lecture_Pro, &DownloadPanel::Command3D1_Click, this, &Principale::Command3D1_Click);
    connect(p.Frame_Lecture_Pro, &DownloadPanel::Fermer_Scan_Click, p.Frame_Lecture_Pro, &QWidget::hide);
    connect(receiver_, &DownloadReceiver::accepted, this, &Principale::downloadAccepted);
    connect(receiver_, &DownloadReceiver::refused, this, &Principale::downloadRefused);
    connect(receiver_, &DownloadReceiver::waiting, p.Frame_Lecture_Pro, &DownloadPanel::showWaiting);
    connect(receiver_, &DownloadReceiver::listeningChanged, p.Frame_Lecture_Pro, &DownloadPanel::showListening);
    p.Picture2->installEventFilter(this);
    p.Image1->installEventFilter(this);
}

void Principale::Form_Load()
{
    const int screenWidth = layoutWidth();
    const int screenHeight = layoutHeight();
    Panels& p = *panels_;
    Menus& m = *menus_;

    p.Label1->setText(QStringLiteral("Version  ") + versionText());
    p.Label1->show();

    for (QAction* tool : {m.saveMenus, m.saveTips, m.saveTexts, m.readTexts})
        tool->setVisible(false);
    const QString& notAvailableText = settings_->tables().texts[notAvailable];
    p.Frame_Moteurs->setTimes({notAvailableText, notAvailableText, notAvailableText, notAvailableText, notAvailableText});

    // Each port names its device, which may differ from machine to machine.
    m.Communication->setToolTipsVisible(true);
    for (int i = 1; i <= 4; ++i) {
        const QString device = portDevice(i);
        m.Com[std::size_t(i)]->setToolTip(device.isEmpty() ? QStringLiteral("-") : device);
    }
    m.Affichage->menuAction()->setEnabled(false);
    m.Exporter->setEnabled(false);
    m.Rapport->setEnabled(false);
    m.Comparer->setEnabled(false);
    m.Filtres->menuAction()->setEnabled(false);
    m.Filtre[0]->setChecked(true);

    p.layOut(screenWidth, screenHeight);
    laidOut_ = true;
    showPanels(LapPanel::None, ChartPlace::Chart);

    state_.startingUp = true;
    settings_->restore();

    raise();
    p.Picture2->raise();
    p.Picture2->show();
    timer2_->setInterval(2500);
    timer2_->start();
    m.Sauver->setEnabled(false);
    state_.startingUp = false;

    auto trackNumber = std::int16_t(settings_->settings().currentTrack);
    showTrack(trackNumber);
    settings_->setCurrentTrack(trackNumber);
    showRecentFiles();
    startLibrary();
    choice_ = choiceOfText(UserSettings(services_.userSettingsFile).comparedLaps());
}

void Principale::Quitter_Click()
{
    QApplication::quit();
}

// ---- Menus ----------------------------------------------------------------

// Settings, units and languages are in principale_settings.cpp; the record
// on screen, its views, its files, its track and engine hours in
// principale_records.cpp; the layout and the engine-speed charts in
// principale_charts.cpp.

void Principale::enableRecordMenus()
{
    const RecordKind kind = document_.kind();
    if (kind == RecordKind::None)
        return;
    const bool laps = kind == RecordKind::LapTiming;
    menus_->Unites->menuAction()->setEnabled(laps);
    menus_->Pistes->setEnabled(laps);
    menus_->Affichage->menuAction()->setEnabled(laps);
    menus_->Filtres->menuAction()->setEnabled(!laps);
    menus_->Commentaire->setEnabled(true);
    menus_->Exporter->setEnabled(true);
    menus_->Rapport->setEnabled(true);
    menus_->Comparer->setEnabled(true);
}

void Principale::showTitle()
{
    setWindowTitle(windowTitleOf(shown_, {receiver_->listening(), PortNumber{receiver_->port()}}, settings_->tables()));
}

// ---- Help, pictures, about box --------------------------------------------

void Principale::Aide_Click()
{
    if (!help_)
        help_ = new HelpWindow(this);
    QString missing;
    if (!loadHelp(&missing)) {
        services_.dialogs.message(settings_->tables().texts[helpFileMissing].arg(missing), MessageIcon::Information, shortCaption());
        return;
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

bool Principale::loadHelp(QString* missingPath)
{
    const HelpText help = readHelp(services_.programFolder, services_.shippedDataFolder, int(settings_->settings().language));
    help_->applyTexts(settings_->tables(), settings_->settings().showToolTips);
    if (!help.text) {
        *missingPath = help.path;
        return false;
    }
    help_->showText(*help.text);
    return true;
}

void Principale::Infos_Click()
{
    timer2_->setInterval(5000);
    timer2_->start();
    panels_->Picture2->raise();
    panels_->Picture2->show();
}

void Principale::Picture2_Click()
{
    timer2_->stop();
    panels_->Picture2->hide();
    if (!state_.downloadReceived)
        showSavedBackground();
    for (QMenu* menu : {menus_->Fichiers, menus_->Options, menus_->Communication})
        menu->menuAction()->setEnabled(true);
    menus_->Aide->setEnabled(true);
    enableRecordMenus();
}

void Principale::Fonds_Click()
{
    FileDialogRequest request;
    request.initialFolder = services_.programFolder;
    request.defaultExtension = QStringLiteral("JPG");
    // Linux file names keep their case: offer both spellings.
    request.filter = {QStringLiteral("JPG"), QStringLiteral("*.JPG *.jpg *.jpeg *.JPEG")};
    const QString path = services_.dialogs.openFile(request);
    panels_->Image1->hide();
    if (path.isEmpty())
        return;  // a cancelled choice keeps the background as it was
    const QPixmap picture(path);
    if (picture.isNull())
        return;
    showBackground(picture);
    QString error;
    if (!saveBackgroundPath(services_.programFolder, path, &error))
        reportWriteFailure(QStringLiteral("Picture.txt"), error);
}

void Principale::showSavedBackground()
{
    panels_->Image1->hide();
    const QString path = readBackgroundPath(services_.programFolder);
    if (path.isEmpty())
        return;
    const QPixmap picture(path);
    if (!picture.isNull())
        showBackground(picture);
}

void Principale::showBackground(const QPixmap& picture)
{
    QLabel* image = panels_->Image1;
    image->setPixmap(picture);
    const TwipsRect r = centred(layoutWidth(), layoutHeight(),
                                picture.width() * TwipsPerPixel, picture.height() * TwipsPerPixel);
    placeTwips(image, r);
    // A background stays behind the panels, whatever opens later.
    image->lower();
    image->show();
}

bool Principale::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == panels_->Picture2) {
            Picture2_Click();
            return true;
        }
        if (watched == panels_->Image1) {
            Image1_Click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Principale::Image1_Click()
{
    panels_->Image1->hide();
}

// ---- Reports --------------------------------------------------------------

void Principale::reportUnexpectedError(const QString& code)
{
    services_.dialogs.message(settings_->tables().texts[unexpectedError], MessageIcon::Critical, applicationTitle());
    // The user has been told; a log that cannot be written changes nothing for them.
    appendErrorReport(code, QDateTime::currentDateTime());
}

void Principale::reportNotImplemented()
{
    services_.dialogs.message(settings_->tables().texts[notImplemented], MessageIcon::Information, shortCaption());
}

}  // namespace tormel
