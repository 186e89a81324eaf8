#include "shell/principale.h"

#include "base/app_info.h"
#include "charts/lap_time_chart.h"
#include "config/background_file.h"
#include "config/error_log.h"
#include "config/settings.h"
#include "laps/export.h"
#include "laps/lap_grid.h"
#include "laps/ranges.h"
#include "laps/ranges_view.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "record/engine_hours_panel.h"
#include "record/record_file.h"
#include "shell/menus.h"
#include "shell/panels.h"
#include "texts/language_files.h"
#include "tracks/track_editor.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

namespace tormel {

Principale::Principale(Services services, QWidget* parent)
    : QMainWindow(parent)
    , services_(std::move(services))
    , menus_(std::make_unique<Menus>(menuBar()))
    , timer2_(new QTimer(this))
{
    setWindowTitle(applicationTitle());
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

Principale::~Principale() = default;

void Principale::connectMenus()
{
    Menus& m = *menus_;
    connect(m.Quitter, &QAction::triggered, this, &Principale::Quitter_Click);
    connect(m.AffTip, &QAction::triggered, this, &Principale::AffTip_Click);
    connect(m.Supprimer, &QAction::triggered, this, &Principale::Supprimer_Click);
    connect(m.Fonds, &QAction::triggered, this, &Principale::Fonds_Click);
    connect(m.Sauve_Menus, &QAction::triggered, this, &Principale::Sauve_Menus_Click);
    connect(m.Sauve_Tips, &QAction::triggered, this, &Principale::Sauve_Tips_Click);
    connect(m.Sauve_Textes, &QAction::triggered, this, &Principale::Sauve_Textes_Click);
    connect(m.Lire_Textes, &QAction::triggered, this, &Principale::Lire_Textes_Click);
    for (int i = 0; i < 6; ++i)
        connect(m.Langue[std::size_t(i)], &QAction::triggered, this, [this, i] { Langue_Click(i); });
    for (int i = 0; i < 2; ++i) {
        connect(m.Unite_Vitesse[std::size_t(i)], &QAction::triggered, this, [this, i] { Unite_Vitesse_Click(i); });
        connect(m.Unite_Temp[std::size_t(i)], &QAction::triggered, this, [this, i] { Unite_Temp_Click(i); });
    }
    for (int i = 1; i <= 4; ++i)
        connect(m.Com[std::size_t(i)], &QAction::triggered, this, [this, i] { Com_Click(i); });
    for (int i = 0; i < 4; ++i)
        connect(m.Filtre[std::size_t(i)], &QAction::triggered, this, [this, i] { Filtre_Click(i); });
    connect(m.Aide, &QAction::triggered, this, &Principale::Aide_Click);
    connect(m.Ouvrir, &QAction::triggered, this, &Principale::Ouvrir_Click);
    connect(m.Sauver, &QAction::triggered, this, &Principale::Sauver_Click);
    connect(m.Exporter, &QAction::triggered, this, &Principale::Exporter_Click);
    connect(m.Commentaire, &QAction::triggered, this, &Principale::Commentaire_Click);
    connect(m.Pistes, &QAction::triggered, this, &Principale::Pistes_Click);
    connect(m.Temps_Moteurs, &QAction::triggered, this, &Principale::Temps_Moteurs_Click);
    connect(m.Affichage_Table, &QAction::triggered, this, &Principale::Affichage_Table_Click);
    connect(m.Affichage_Tours, &QAction::triggered, this, &Principale::Affichage_Tours_Click);
    connect(m.Infos, &QAction::triggered, this, &Principale::Infos_Click);

    Panels& p = *panels_;
    connect(p.Frame_Piste, &TrackEditor::tracksMenuCaptionChanged, this, [this](const QString& text) { setCaption(menus_->Pistes, text); });
    connect(p.Frame_Piste, &TrackEditor::closeClicked, this, &Principale::Fermer_Piste_Click);
    connect(p.Frame_Piste, &TrackEditor::previousClicked, this, &Principale::SSCommand2_Click);
    connect(p.Frame_Piste, &TrackEditor::nextClicked, this, &Principale::SSCommand3_Click);
    connect(p.Liste_Tours, &LapGrid::headerClicked, this, &Principale::Liste_Tours_HeaderClick);
    connect(p.Liste_Tours, &LapGrid::lapClicked, this, &Principale::Liste_Tours_LapClick);
    connect(p.Liste_Tours, &LapGrid::chartColumnChosen, this, &Principale::Liste_Tours_ChartColumn);
    connect(p.Graphique_Chronos, &LapTimeChart::lapToggled, this, &Principale::Picture1_LapToggled);
    p.Picture2->installEventFilter(this);
    p.Image1->installEventFilter(this);
}

void Principale::Form_Load()
{
    const int screenWidth = services_.screen.widthTwips();
    const int screenHeight = services_.screen.heightTwips();
    Panels& p = *panels_;
    Menus& m = *menus_;

    p.Label1->setText(QStringLiteral("Version  ") + versionText());
    p.Label1->show();

    for (QAction* tool : {m.Sauve_Menus, m.Sauve_Tips, m.Sauve_Textes, m.Lire_Textes})
        tool->setVisible(false);
    Init_Textes(state_.tables);
    p.Frame_Moteurs->setTimes({state_.tables.Textes[3], state_.tables.Textes[3], state_.tables.Textes[3],
                               state_.tables.Textes[3], state_.tables.Textes[3]});

    m.Affichage->menuAction()->setEnabled(false);
    m.Exporter->setEnabled(false);
    m.Filtres->menuAction()->setEnabled(false);
    m.Filtre[0]->setChecked(true);

    p.layOut(screenWidth, screenHeight);
    p.Frame_Piste->hide();

    state_.Init_En_Cours = true;
    Charge_System();

    raise();
    p.Picture2->raise();
    p.Picture2->show();
    timer2_->setInterval(2500);
    timer2_->start();
    m.Sauver->setEnabled(false);
    state_.Init_En_Cours = false;

    auto numero = std::int16_t(state_.Piste_Courante);
    lireTrack(numero);
    state_.Piste_Courante = numero;
}

void Principale::Quitter_Click()
{
    QApplication::quit();
}

// ---- Settings ------------------------------------------------------------

void Principale::Charge_System()
{
    const SystemSettings s = tormel::Charge_System(services_.programFolder);
    state_.Piste_Courante = s.Piste_Courante;
    menus_->AffTip->setChecked(s.AffTip);
    Com_Click(s.Port_Com);
    Unite_Vitesse_Click(s.Choix_Vitesse);
    Unite_Temp_Click(s.Choix_Temp);
    state_.Choix_Langue = s.Choix_Langue;
    menus_->Options->setTitle(caption(menus_->Langue[std::size_t(s.Choix_Langue)]));
    Langue_Click(s.Choix_Langue);
}

void Principale::Sauve_System()
{
    SystemSettings s;
    s.Port_Com = std::int16_t(state_.Port_Com);
    s.Choix_Vitesse = std::int16_t(state_.Choix_Vitesse);
    s.Choix_Temp = std::int16_t(state_.Choix_Temp);
    s.Choix_Langue = std::int16_t(state_.Choix_Langue);
    s.Piste_Courante = std::int16_t(state_.Piste_Courante);
    s.AffTip = menus_->AffTip->isChecked();
    QString error;
    if (!tormel::Sauve_System(services_.programFolder, s, &error) && !settingsFailureShown_) {
        // Once is enough: the choices still apply until the program ends.
        settingsFailureShown_ = true;
        services_.dialogs.message(QStringLiteral("The settings could not be saved (%1). Your choices apply until the program ends.")
                                      .arg(error),
                                  MessageIcon::Exclamation, applicationTitle());
    }
}

void Principale::Com_Click(int index)
{
    setCaption(menus_->Communication->menuAction(), state_.tables.Textes[9] + QString::number(index));
    for (int i = 1; i <= 4; ++i)
        menus_->Com[std::size_t(i)]->setChecked(i == index);
    state_.Port_Com = index;
    if (!state_.Init_En_Cours)
        Sauve_System();
}

// ---- Units and filters ---------------------------------------------------

void Principale::composeUnitesTitle()
{
    menus_->Unites->setTitle(caption(menus_->Unite_Vitesse[std::size_t(state_.Choix_Vitesse)]) + QStringLiteral("  |  ")
                             + caption(menus_->Unite_Temp[std::size_t(state_.Choix_Temp)]));
}

void Principale::Unite_Vitesse_Click(int index)
{
    chooseUnit(menus_->Unite_Vitesse, state_.Choix_Vitesse, index);
}

void Principale::Unite_Temp_Click(int index)
{
    chooseUnit(menus_->Unite_Temp, state_.Choix_Temp, index);
}

void Principale::chooseUnit(const std::array<QAction*, 2>& entries, int& choice, int index)
{
    choice = index == 1 ? 1 : 0;
    entries[std::size_t(choice)]->setChecked(true);
    entries[std::size_t(1 - choice)]->setChecked(false);
    composeUnitesTitle();
    if (!state_.Init_En_Cours) {
        if (menus_->Sauver->isEnabled())
            Affiche_Data();
        Sauve_System();
    }
}

void Principale::Filtre_Click(int index)
{
    // The engine-speed charts read the level when they recompute.
    state_.filterLevel = index;
    for (int i = 0; i < 4; ++i)
        menus_->Filtre[std::size_t(i)]->setChecked(i == index);
    if (menus_->Sauver->isEnabled())
        Affiche_Data();
}

// ---- Languages -----------------------------------------------------------

void Principale::Langue_Click(int index)
{
    if (index < 0 || index >= int(languageCaptions.size()))
        return;
    for (int i = 0; i < 6; ++i)
        menus_->Langue[std::size_t(i)]->setChecked(i == index);
    state_.Choix_Langue = index;
    menus_->Options->setTitle(caption(menus_->Langue[std::size_t(index)]));
    Lire_Textes_Click();
    Update_Textes();
    if (!state_.Init_En_Cours) {
        if (menus_->Sauver->isEnabled())
            Affiche_Data();
        Sauve_System();
    }
}

void Principale::Lire_Textes_Click()
{
    Lire_Menus();
    if (menus_->Options->title() == QLatin1String("Langue"))
        menus_->Options->setTitle(QStringLiteral("Français"));
    tormel::Lire_Textes(services_.programFolder, state_.Choix_Langue, state_.tables);
}

void Principale::Lire_Menus()
{
    MenuCaptions captions = currentMenuCaptions();
    const MenuReadStatus file = tormel::Lire_Menus(services_.programFolder, state_.Choix_Langue, captions);
    const auto items = menus_->menuFileItems();
    for (int i = 0; i < file.fieldsRead && i < menuCaptionCount; ++i) {
        const QString& text = captions[std::size_t(i)];
        if (i == menuFramePiste)
            panels_->Frame_Piste->setTitle(text);
        else
            setCaption(items[std::size_t(i)], text);
        if (i == menuLangueFirst + 5)
            menus_->Options->setTitle(caption(menus_->Langue[std::size_t(state_.Choix_Langue)]));
        else if (i == menuUniteVitesseFirst + 1)
            composeUnitesTitle();
        else if (i == menuComFirst + 3 && state_.Port_Com >= 1 && state_.Port_Com <= 4)
            setCaption(menus_->Communication->menuAction(), caption(menus_->Com[std::size_t(state_.Port_Com)]));
    }
    if (file.failed) {
        QString& message = state_.tables.Textes[51];
        if (message.isEmpty())
            message = QStringLiteral("Fichier Défectueux ou manquant");
        services_.dialogs.message(message, MessageIcon::Exclamation, caption(menus_->Langue[std::size_t(state_.Choix_Langue)]));
    }
}

void Principale::Update_Textes()
{
    const bool on = menus_->AffTip->isChecked();
    const auto& tips = state_.tables.Tips;
    const auto tip = [on, &tips](int i) { return on ? tips[std::size_t(i)] : QString(); };
    Panels& p = *panels_;
    for (const Panels::RecordChart& c : p.Graphique_Record) {
        c.Crpm->setToolTip(tip(5));
        c.Ctr->setToolTip(tip(6));
        c.Label24->setToolTip(tip(14));
        c.Label23->setToolTip(tip(9));
        c.Label22->setToolTip(tip(10));
        c.Rpm_R->setToolTip(tip(10));
        c.Label21->setToolTip(tip(11));
        c.Rpm_L->setToolTip(tip(11));
        c.Label20->setToolTip(tip(12));
        c.Rpm_Inst->setToolTip(tip(12));
        c.Label19->setToolTip(tip(13));
        c.SSFrame3->setTitle(state_.tables.Textes[52]);
    }
    p.Command3D1->setToolTip(tip(7));
    p.Graphique_Chronos->setPictureToolTip(tip(8));
    p.Frame_Tranches->Label6()->setToolTip(tip(15));
    p.Frame_Tranches->Label7()->setToolTip(tip(16));
    p.Frame_Tranches->Label8()->setToolTip(tip(17));
    p.Liste_Tours->setTexts(state_.tables);
    p.Liste_Tours->setToolTipsOn(on);
    p.Frame_Tranches->setTexts(state_.tables);
    p.Frame_Tranches->setToolTipsOn(on);

    const auto& textes = state_.tables.Textes;
    p.Frame_Moteurs->setTexts(textes[41], textes[2], textes[42]);
    std::array<QString, 7> nomChamp;
    for (int i = 0; i < 7; ++i)
        nomChamp[std::size_t(i)] = textes[std::size_t(43 + i)];
    p.Frame_Piste->setCaptions(nomChamp, textes[42]);
    p.Fermer_Scan->setText(textes[42]);
}

void Principale::AffTip_Click()
{
    Update_Textes();
    Sauve_System();
}

void Principale::Sauve_Textes_Click()
{
    QString error;
    if (!tormel::Sauve_Textes(services_.programFolder, state_.Choix_Langue, state_.tables, &error))
        reportWriteFailure(QStringLiteral("Textes_%1.txt").arg(state_.Choix_Langue), error);
}

void Principale::Sauve_Tips_Click()
{
    QString error;
    if (!tormel::Sauve_Tips(services_.programFolder, state_.Choix_Langue, state_.tables, &error))
        reportWriteFailure(QStringLiteral("Tips_%1.txt").arg(state_.Choix_Langue), error);
}

void Principale::Sauve_Menus_Click()
{
    QString error;
    if (!tormel::Sauve_Menus(services_.programFolder, state_.Choix_Langue, currentMenuCaptions(), &error))
        reportWriteFailure(QStringLiteral("Menu_%1.txt").arg(state_.Choix_Langue), error);
}

MenuCaptions Principale::currentMenuCaptions() const
{
    MenuCaptions captions;
    const auto items = menus_->menuFileItems();
    for (int i = 0; i < menuCaptionCount; ++i)
        captions[std::size_t(i)] = items[std::size_t(i)] ? caption(items[std::size_t(i)]) : panels_->Frame_Piste->title();
    return captions;
}

void Principale::reportWriteFailure(const QString& what, const QString& error)
{
    services_.dialogs.message(QStringLiteral("%1: %2").arg(what, error), MessageIcon::Critical, applicationTitle());
}

// ---- Menus ----------------------------------------------------------------

// The record on screen, its views, its files, its track and engine hours
// are in principale_records.cpp.

void Principale::Autorisation_Menu()
{
    const int mode = state_.Mode_Enregistrement;
    if (mode != 1 && mode != 2)
        return;
    const bool laps = mode == 1;
    menus_->Unites->menuAction()->setEnabled(laps);
    menus_->Pistes->setEnabled(laps);
    menus_->Affichage->menuAction()->setEnabled(laps);
    menus_->Filtres->menuAction()->setEnabled(!laps);
    menus_->Commentaire->setEnabled(true);
    menus_->Exporter->setEnabled(true);
}

// ---- Help, pictures, about box --------------------------------------------

void Principale::Aide_Click()
{
    const QString path = QDir(services_.programFolder).filePath(QStringLiteral("Help_%1.txt").arg(state_.Choix_Langue));
    if (!services_.launcher.startEditor(path))
        services_.dialogs.message(editorNotFoundText(), MessageIcon::Critical, shortCaption());
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
    if (!state_.Donnees_Presentes)
        affiche_Image();
    for (QMenu* menu : {menus_->Fichiers, menus_->Options, menus_->Communication})
        menu->menuAction()->setEnabled(true);
    menus_->Aide->setEnabled(true);
    Autorisation_Menu();
}

void Principale::Fonds_Click()
{
    FileDialogRequest request;
    request.initialFolder = services_.programFolder;
    request.defaultExtension = QStringLiteral("JPG");
    // Linux file names keep their case: offer both spellings.
    request.filter = {QStringLiteral("JPG (*.JPG"), QStringLiteral("*.JPG *.jpg *.jpeg *.JPEG")};
    const QString path = services_.dialogs.openFile(request);
    panels_->Image1->hide();
    if (path.isEmpty())
        return;  // a cancelled choice keeps the background as it was
    const QPixmap picture(path);
    if (picture.isNull())
        return;
    showBackground(picture);
    QString error;
    if (!Sauve_Fonds(services_.programFolder, path, &error))
        reportWriteFailure(QStringLiteral("Picture.txt"), error);
}

void Principale::affiche_Image()
{
    panels_->Image1->hide();
    const QString path = Lire_Fonds(services_.programFolder);
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
    const TwipsRect r = centred(services_.screen.widthTwips(), services_.screen.heightTwips(),
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

void Principale::Erreur_Imprevue(const QString& code)
{
    services_.dialogs.message(state_.tables.Textes[53], MessageIcon::Critical, applicationTitle());
    // The user has been told; a log that cannot be written changes nothing for them.
    appendErrorReport(code, QDateTime::currentDateTime());
}

void Principale::Pas_Implemente()
{
    services_.dialogs.message(state_.tables.Textes[1], MessageIcon::Information, shortCaption());
}

}  // namespace tormel
