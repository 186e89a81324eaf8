#include "shell/principale.h"
#include "shell/comparison_window.h"

#include "base/app_info.h"
#include "config/settings.h"
#include "download/receiver.h"
#include "platform/dialogs.h"
#include "shell/help_window.h"
#include "shell/library_window.h"
#include "shell/menus.h"
#include "charts/smoothing_panel.h"
#include "shell/panels.h"
#include "shell/title_card.h"
#include "tracks/track_editor.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace tormel {

// ---- Settings ------------------------------------------------------------

void Principale::restoreSettings()
{
    state_.settings = windowSettingsOf(tormel::loadSettings(services_.programFolder));
    showSettingsInMenus();
    unitsChanged();
    Langue_Click(int(state_.settings.language));
}

void Principale::storeSettings()
{
    QString error;
    if (!tormel::saveSettings(services_.programFolder, storedSettingsOf(state_.settings), &error) && !settingsFailureShown_) {
        // Once is enough: the choices still apply until the program ends.
        settingsFailureShown_ = true;
        services_.dialogs.message(state_.tables.texts[settingsNotSaved].arg(error), MessageIcon::Exclamation, applicationTitle());
    }
}

void Principale::Com_Click(int index)
{
    if (!PortNumber::isPort(index))
        return;
    state_.settings.port = PortNumber{index};
    showSettingsInMenus();
    // The user chose: listening moves to the new port at once.
    if (receiver_->listening() && receiver_->port() != index) {
        receiver_->abandon();
        startListening();
    }
    if (!state_.startingUp)
        storeSettings();
}

// The menus only show the choices: every check mark and the captions that
// name a choice are written here, from the values.
void Principale::showSettingsInMenus()
{
    Menus& m = *menus_;
    const WindowSettings& s = state_.settings;
    for (int i = PortNumber::First; i <= PortNumber::Last; ++i)
        m.Com[std::size_t(i)]->setChecked(i == s.port.value);
    setCaption(m.Communication->menuAction(), state_.tables.texts[portMenuPrefix] + QString::number(s.port.value));
    for (int i = 0; i < 2; ++i) {
        m.Unite_Vitesse[std::size_t(i)]->setChecked(i == int(s.speedUnit));
        m.Unite_Temp[std::size_t(i)]->setChecked(i == int(s.temperatureUnit));
    }
    setCaption(m.Unites->menuAction(), caption(m.Unite_Vitesse[std::size_t(s.speedUnit)]) + QStringLiteral("  |  ")
                                           + caption(m.Unite_Temp[std::size_t(s.temperatureUnit)]));
    for (int i = 0; i < int(m.Langue.size()); ++i)
        m.Langue[std::size_t(i)]->setChecked(i == int(s.language));
    setCaption(m.Options->menuAction(), caption(m.Langue[std::size_t(s.language)]));
    m.AffTip->setChecked(s.showToolTips);
    // The track menu names the track shown, whatever the menu file calls it;
    // at start-up no track is shown yet.
    if (!state_.startingUp)
        setCaption(m.Pistes, track_.record.name);
    m.applyMnemonics();
}

// ---- Units and filters ---------------------------------------------------

void Principale::Unite_Vitesse_Click(int index)
{
    state_.settings.speedUnit = index == 1 ? SpeedUnit::MilesPerHour : SpeedUnit::KilometresPerHour;
    unitsChanged();
}

void Principale::Unite_Temp_Click(int index)
{
    state_.settings.temperatureUnit = index == 1 ? TemperatureUnit::Fahrenheit : TemperatureUnit::Celsius;
    unitsChanged();
}

void Principale::unitsChanged()
{
    showSettingsInMenus();
    library_->setTexts(state_.tables, int(state_.settings.temperatureUnit));
    if (libraryWindow_)
        libraryWindow_->applyTexts(state_.tables, int(state_.settings.temperatureUnit));
    if (!state_.startingUp) {
        if (document_.isShown())
            showRecord();
        storeSettings();
    }
}

void Principale::Filtre_Click(int index)
{
    // The menu mirrors the smoothing level; the level decodes again.
    for (int i = 0; i < 4; ++i)
        menus_->Filtre[std::size_t(i)]->setChecked(i == index);
    panels_->Parametres_Courbe->setValue(index);
}

void Principale::UpDown1_Change(int level)
{
    panels_->Parametres_Courbe->showSmoothing(state_.tables.texts[smoothingSamplesChanged]);
    state_.filterLevel = level;
    for (int i = 0; i < 4; ++i)
        menus_->Filtre[std::size_t(i)]->setChecked(i == level);
    if (document_.isShown())
        showRecord();
    // Engine-speed laps compared are smoothed as the single charts are.
    if (comparisonWindow_ && comparisonWindow_->isVisible() && choice_.kind == RecordKind::EngineSpeed)
        showComparison();
}

// ---- Languages -----------------------------------------------------------

void Principale::Langue_Click(int index)
{
    if (index < 0 || index >= int(languageCaptions.size()))
        return;
    state_.settings.language = Language(index);
    installQtTranslation(state_.settings.language);
    showSettingsInMenus();
    Lire_Textes_Click();
    applyTexts();
    showSettingsInMenus();
    showTitle();
    // An open guide turns to the new language, or says it has none.
    QString missing;
    if (help_ && help_->isVisible() && !loadHelp(&missing))
        help_->showText(state_.tables.texts[helpFileMissing].arg(missing));
    if (!state_.startingUp) {
        if (document_.isShown())
            showRecord();
        storeSettings();
    }
}

void Principale::installQtTranslation(Language language)
{
    installQtTexts(qtTranslator_, int(language));
}

void Principale::Lire_Textes_Click()
{
    readMenus();
    tormel::readTexts(services_.programFolder, int(state_.settings.language), state_.tables, services_.shippedDataFolder);
}

void Principale::readMenus()
{
    MenuCaptions captions = currentMenuCaptions();
    const MenuReadStatus file =
        tormel::readMenus(services_.programFolder, int(state_.settings.language), captions, services_.shippedDataFolder);
    const auto items = menus_->menuFileItems();
    for (int i = 0; i < file.fieldsRead && i < menuCaptionCount; ++i) {
        const QString& text = captions[std::size_t(i)];
        if (i == menuTrackEditor)
            panels_->Frame_Piste->setTitle(text);
        else
            setCaption(items[std::size_t(i)], text);
    }
    showSettingsInMenus();
    if (file.failed) {
        // The message does not say which file: a terminal is told.
        qWarning("tormel_vue: the language file %s is missing or defective", qPrintable(file.failedFile));
        QString& message = state_.tables.texts[languageFileMissing];
        if (message.isEmpty())
            message = QStringLiteral("Fichier Défectueux ou manquant");
        services_.dialogs.message(message, MessageIcon::Exclamation, caption(menus_->Langue[std::size_t(state_.settings.language)]));
    }
}

void Principale::applyTexts()
{
    const bool on = state_.settings.showToolTips;
    for (TextsPanel* panel : panels_->textsPanels())
        panel->applyTexts(state_.tables, on);
    panels_->Picture2->setPixmap(titleCard(state_.tables.texts[clickToContinue]));
    panels_->Parametres_Courbe->showSmoothing(state_.tables.texts[smoothingSamples]);
    setCaption(menus_->Rapport, state_.tables.texts[reportMenu]);
    setCaption(menus_->Bibliotheque, state_.tables.texts[libraryMenu]);
    setCaption(menus_->Comparer, state_.tables.texts[compareMenu]);
    library_->setTexts(state_.tables, int(state_.settings.temperatureUnit));
    if (libraryWindow_)
        libraryWindow_->applyTexts(state_.tables, int(state_.settings.temperatureUnit));
    panels_->Serial_Number_Caption->setText(state_.tables.texts[serialNumberCaption]);
    // The menu bar sizes its corner only when the corner is set: set it again
    // for the caption's new width.
    menuBar()->setCornerWidget(menuBar()->cornerWidget(Qt::TopRightCorner), Qt::TopRightCorner);
    if (help_)
        help_->applyTexts(state_.tables, on);
    menus_->applyMnemonics();
}

void Principale::AffTip_Click()
{
    state_.settings.showToolTips = !state_.settings.showToolTips;
    applyTexts();
    storeSettings();
}

void Principale::Sauve_Textes_Click()
{
    QString error;
    if (!tormel::saveTexts(services_.programFolder, int(state_.settings.language), state_.tables, &error))
        reportWriteFailure(QStringLiteral("Textes_%1.txt").arg(int(state_.settings.language)), error);
}

void Principale::Sauve_Tips_Click()
{
    QString error;
    if (!tormel::saveTips(services_.programFolder, int(state_.settings.language), state_.tables, &error))
        reportWriteFailure(QStringLiteral("Tips_%1.txt").arg(int(state_.settings.language)), error);
}

void Principale::Sauve_Menus_Click()
{
    QString error;
    if (!tormel::saveMenus(services_.programFolder, int(state_.settings.language), currentMenuCaptions(), &error))
        reportWriteFailure(QStringLiteral("Menu_%1.txt").arg(int(state_.settings.language)), error);
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
    services_.dialogs.message(state_.tables.texts[fileNotWritten].arg(what, error), MessageIcon::Critical, applicationTitle());
}

}  // namespace tormel
