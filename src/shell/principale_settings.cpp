#include "shell/principale.h"
#include "shell/comparison_window.h"

#include "base/app_info.h"
#include "charts/smoothing_panel.h"
#include "platform/dialogs.h"
#include "shell/comparison_controller.h"
#include "shell/record_road.h"
#include "shell/record_screen.h"
#include "shell/help_window.h"
#include "shell/library_window.h"
#include "shell/menus.h"
#include "shell/panels.h"
#include "shell/settings_controller.h"
#include "shell/title_card.h"
#include "tracks/track_editor.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace tormel {

// ---- Settings, as the settings controller holds them -----------------------

void Principale::connectSettings()
{
    SettingsController* s = settings_;
    Menus& m = *menus_;
    connect(m.AffTip, &QAction::triggered, s, &SettingsController::AffTip_Click);
    connect(m.saveMenus, &QAction::triggered, s, &SettingsController::Sauve_Menus_Click);
    connect(m.saveTips, &QAction::triggered, s, &SettingsController::Sauve_Tips_Click);
    connect(m.saveTexts, &QAction::triggered, s, &SettingsController::Sauve_Textes_Click);
    connect(m.readTexts, &QAction::triggered, s, &SettingsController::Lire_Textes_Click);
    for (int i = 0; i < int(m.Langue.size()); ++i)
        connect(m.Langue[std::size_t(i)], &QAction::triggered, s, [s, i] { s->Langue_Click(i); });
    for (int i = 0; i < 2; ++i) {
        connect(m.Unite_Vitesse[std::size_t(i)], &QAction::triggered, s, [s, i] { s->Unite_Vitesse_Click(i); });
        connect(m.Unite_Temp[std::size_t(i)], &QAction::triggered, s, [s, i] { s->Unite_Temp_Click(i); });
    }
    for (int i = PortNumber::First; i <= PortNumber::Last; ++i)
        connect(m.Com[std::size_t(i)], &QAction::triggered, s, [s, i] { s->Com_Click(i); });

    connect(s, &SettingsController::portChanged, this, [this] {
        showSettingsInMenus();
        // The user chose: listening moves to the new port at once.
        road_->followPort();
    });
    connect(s, &SettingsController::unitsChanged, this, [this] {
        showSettingsInMenus();
        comparisons_->applyTexts();
        if (!startingUp_ && screen_->document().isShown())
            screen_->showRecord();
    });
    connect(s, &SettingsController::textsChanged, this, &Principale::languageChanged);
    connect(s, &SettingsController::toolTipsChanged, this, [this] {
        showSettingsInMenus();
        applyTexts();
    });
}

// The menus only show the choices: every check mark and the captions that
// name a choice are written here, from the values.
void Principale::showSettingsInMenus()
{
    Menus& m = *menus_;
    const WindowSettings& s = settings_->settings();
    for (int i = PortNumber::First; i <= PortNumber::Last; ++i)
        m.Com[std::size_t(i)]->setChecked(i == s.port.value);
    setCaption(m.Communication->menuAction(), settings_->tables().texts[portMenuPrefix] + QString::number(s.port.value));
    for (int i = 0; i < 2; ++i) {
        m.Unite_Vitesse[std::size_t(i)]->setChecked(i == int(s.speedUnit));
        m.Unite_Temp[std::size_t(i)]->setChecked(i == int(s.temperatureUnit));
    }
    setCaption(m.Unites->menuAction(), settings_->menuCaptions()[std::size_t(menuSpeedUnitFirst + int(s.speedUnit))]
                                           + QStringLiteral("  |  ") + temperatureUnitCaption(s.temperatureUnit));
    for (int i = 0; i < int(m.Langue.size()); ++i)
        m.Langue[std::size_t(i)]->setChecked(i == int(s.language));
    setCaption(m.Options->menuAction(), settings_->menuCaptions()[std::size_t(menuLanguageFirst + int(s.language))]);
    m.AffTip->setChecked(s.showToolTips);
    // The track menu names the track shown, whatever the menu file calls it;
    // at start-up no track is shown yet.
    if (!startingUp_)
        setCaption(m.Pistes, track_.record.name);
    m.applyMnemonics();
}

// ---- Languages -----------------------------------------------------------

void Principale::languageChanged()
{
    const MenuCaptions& captions = settings_->menuCaptions();
    const auto items = menus_->menuFileItems();
    for (int i = 0; i < menuCaptionCount; ++i) {
        if (i == menuTrackEditor)
            panels_->Frame_Piste->setTitle(captions[std::size_t(i)]);
        else
            setCaption(items[std::size_t(i)], captions[std::size_t(i)]);
    }
    applyTexts();
    showSettingsInMenus();
    showTitle();
    // An open guide turns to the new language, or says it has none.
    QString missing;
    if (help_ && help_->isVisible() && !loadHelp(&missing))
        help_->showText(settings_->tables().texts[helpFileMissing].arg(missing));
    if (!startingUp_ && screen_->document().isShown())
        screen_->showRecord();
}

void Principale::applyTexts()
{
    const TextTables& tables = settings_->tables();
    const bool on = settings_->settings().showToolTips;
    for (TextsPanel* panel : panels_->textsPanels())
        panel->applyTexts(tables, on);
    panels_->Picture2->setPixmap(titleCard(tables.texts[clickToContinue]));
    panels_->Parametres_Courbe->showSmoothing(tables.texts[smoothingSamples]);
    setCaption(menus_->Rapport, tables.texts[reportMenu]);
    setCaption(menus_->Bibliotheque, tables.texts[libraryMenu]);
    setCaption(menus_->Comparer, tables.texts[compareMenu]);
    setCaption(menus_->Pignons, tables.texts[sprocketsMenu]);
    setCaption(menus_->Comparaison, tables.texts[comparisonMenu]);
    comparisons_->applyTexts();
    panels_->Serial_Number_Caption->setText(tables.texts[serialNumberCaption]);
    // The menu bar sizes its corner only when the corner is set: set it again
    // for the caption's new width.
    menuBar()->setCornerWidget(menuBar()->cornerWidget(Qt::TopRightCorner), Qt::TopRightCorner);
    if (help_)
        help_->applyTexts(tables, on);
    menus_->applyMnemonics();
}

}  // namespace tormel
