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
#include "shell/comparison_controller.h"
#include "shell/record_road.h"
#include "shell/record_screen.h"
#include "shell/settings_controller.h"
#include "shell/track_controller.h"
#include "tracks/track_editor.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QUrl>

namespace tormel {

QString libraryFileOf(const Services& services)
{
    return services.libraryFile.isEmpty() ? QDir(services.programFolder).filePath(QStringLiteral("library.sqlite"))
                                          : services.libraryFile;
}

Principale::Principale(Services services, QWidget* parent)
    : QMainWindow(parent)
    , services_(std::move(services))
    , settings_(new SettingsController(services_.dialogs, services_.programFolder, services_.shippedDataFolder, this))
    , menus_(std::make_unique<Menus>(menuBar()))
    , timer2_(new QTimer(this))
{
    setWindowTitle(applicationTitle());
    services_.dialogs.setParentWidget(this);
    setAcceptDrops(true);
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    setCentralWidget(central);
    panels_ = std::make_unique<Panels>(central);
    screen_ = new RecordScreen(*this, *panels_, *menus_, *settings_, track_, services_.dialogs, this);
    tracks_ = new TrackController(*panels_->Frame_Piste, *settings_, services_.dialogs, services_.trackFile, track_, this);
    road_ = new RecordRoad(services_, *settings_, *screen_, *tracks_, *panels_->Frame_Lecture_Pro, *this, this);
    comparisons_ = new ComparisonController(services_, *settings_, *this, this);
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
    // The library's and the comparison's windows go with their controller, before the library.
    delete comparisons_;
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
    connect(m.Supprimer, &QAction::triggered, this, &Principale::reportNotImplemented);
    connect(m.Fonds, &QAction::triggered, this, &Principale::Fonds_Click);
    connectSettings();
    connect(m.Aide, &QAction::triggered, this, &Principale::Aide_Click);
    connect(m.Infos, &QAction::triggered, this, &Principale::Infos_Click);
    connect(screen_, &RecordScreen::unexpectedError, this, &Principale::reportUnexpectedError);

    RecordRoad* road = road_;
    connect(m.Ouvrir, &QAction::triggered, road, &RecordRoad::Ouvrir_Click);
    connect(m.Nouveau, &QAction::triggered, road, &RecordRoad::Nouveau_Click);
    for (int i = 0; i < int(m.Recent.size()); ++i)
        connect(m.Recent[std::size_t(i)], &QAction::triggered, road, [road, i] { road->openRecent(i); });
    connect(m.Sauver, &QAction::triggered, road, &RecordRoad::Sauver_Click);
    connect(m.Exporter, &QAction::triggered, road, &RecordRoad::Exporter_Click);
    connect(m.Commentaire, &QAction::triggered, road, &RecordRoad::Commentaire_Click);
    connect(road, &RecordRoad::shownChanged, this, [this] {
        showTitle();
        showRecentFiles();
    });

    ComparisonController* comparisons = comparisons_;
    // While a comparison is shown, the report is the comparison's.
    connect(m.Rapport, &QAction::triggered, this, [road, comparisons] {
        if (comparisons->showsComparison())
            comparisons->reportComparison();
        else
            road->reportRecord();
    });
    connect(m.Bibliotheque, &QAction::triggered, comparisons, &ComparisonController::showLibrary);
    connect(m.Comparer, &QAction::triggered, comparisons, [road, comparisons] { comparisons->compareShownRecord(road->shown()); });
    connect(m.Pignons, &QAction::triggered, comparisons, [road, comparisons] { comparisons->showSprocketsOfShownRecord(road->shown()); });
    connect(m.Comparaison, &QAction::triggered, comparisons, &ComparisonController::showKeptComparison);
    // A session opens as from the open dialog.
    connect(comparisons, &ComparisonController::openRequested, road, &RecordRoad::openRecord);
    connect(comparisons, &ComparisonController::commentRequested, road, [road](const QString& path) {
        road->openRecord(path);
        road->Commentaire_Click();
    });
    connect(screen_, &RecordScreen::filterLevelChanged, comparisons, &ComparisonController::setFilterLevel);

    connect(tracks_, &TrackController::editorClosed, screen_, [this] {
        screen_->showPanels(screen_->lapPanel(), ChartPlace::Chart);
        screen_->showLapTable();
    });
    // The track menu names the track shown.
    connect(tracks_, &TrackController::trackChanged, this, [this] {
        setCaption(menus_->Pistes, track_.record.name);
        menus_->applyMnemonics();
    });
    panels_->Picture2->installEventFilter(this);
    panels_->Image1->installEventFilter(this);
}

void Principale::openRecord(const QString& path)
{
    road_->openRecord(path);
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
    m.Pignons->setEnabled(false);
    m.Filtres->menuAction()->setEnabled(false);
    m.Filtre[0]->setChecked(true);

    p.layOut(screenWidth, screenHeight);
    laidOut_ = true;
    screen_->showPanels(LapPanel::None, ChartPlace::Chart);

    startingUp_ = true;
    settings_->restore();

    raise();
    p.Picture2->raise();
    p.Picture2->show();
    timer2_->setInterval(2500);
    timer2_->start();
    m.Sauver->setEnabled(false);
    startingUp_ = false;

    tracks_->showCurrentTrack();
    showRecentFiles();
    comparisons_->startLibrary();
    comparisons_->restoreChoice();
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

void Principale::showTitle()
{
    setWindowTitle(windowTitleOf(road_->shown(), road_->activity(), settings_->tables()));
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
    const HelpText help = readHelp(services_.programFolder, services_.shippedDataFolder, settings_->settings().language);
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
    if (!road_->downloadReceived())
        showSavedBackground();
    for (QMenu* menu : {menus_->Fichiers, menus_->Options, menus_->Communication})
        menu->menuAction()->setEnabled(true);
    menus_->Aide->setEnabled(true);
    screen_->enableRecordMenus();
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

void Principale::reportWriteFailure(const QString& what, const QString& error)
{
    services_.dialogs.message(settings_->tables().texts[fileNotWritten].arg(what, error), MessageIcon::Critical, applicationTitle());
}

void Principale::reportNotImplemented()
{
    services_.dialogs.message(settings_->tables().texts[notImplemented], MessageIcon::Information, shortCaption());
}

// ---- Layout, recent records, dropped files ------------------------------------

int Principale::layoutWidth() const
{
    return width() * TwipsPerPixel;
}

int Principale::layoutHeight() const
{
    return height() * TwipsPerPixel;
}

void Principale::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (!laidOut_)
        return;
    screen_->relayOut();
    if (!panels_->Image1->isHidden())
        showBackground(panels_->Image1->pixmap());
}

void Principale::showRecentFiles()
{
    const QStringList recent = road_->recentFiles();
    Menus& m = *menus_;
    m.recentSeparator->setVisible(!recent.isEmpty());
    for (int i = 0; i < int(m.Recent.size()); ++i) {
        QAction* action = m.Recent[std::size_t(i)];
        action->setVisible(i < recent.size());
        if (i < recent.size()) {
            setCaption(action, QFileInfo(recent.at(i)).fileName());
            action->setToolTip(recent.at(i));
        }
    }
    m.applyMnemonics();
}

void Principale::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void Principale::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    // As if chosen in the open dialog: another kind of file gets its message.
    openRecord(urls.first().toLocalFile());
}

}  // namespace tormel
