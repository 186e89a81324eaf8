#include "shell/principale.h"
#include "shell/comparison_window.h"

#include "base/app_info.h"
#include "config/settings.h"
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
    const SystemSettings s = tormel::loadSettings(services_.programFolder);
    state_.currentTrack = s.currentTrack;
    menus_->AffTip->setChecked(s.showToolTips);
    Com_Click(s.comPort);
    Unite_Vitesse_Click(s.speedUnit);
    Unite_Temp_Click(s.temperatureUnit);
    state_.language = s.language;
    setCaption(menus_->Options->menuAction(), caption(menus_->Langue[std::size_t(s.language)]));
    Langue_Click(s.language);
}

void Principale::storeSettings()
{
    SystemSettings s;
    s.comPort = std::int16_t(state_.comPort);
    s.speedUnit = std::int16_t(state_.speedUnit);
    s.temperatureUnit = std::int16_t(state_.temperatureUnit);
    s.language = std::int16_t(state_.language);
    s.currentTrack = std::int16_t(state_.currentTrack);
    s.showToolTips = menus_->AffTip->isChecked();
    QString error;
    if (!tormel::saveSettings(services_.programFolder, s, &error) && !settingsFailureShown_) {
        // Once is enough: the choices still apply until the program ends.
        settingsFailureShown_ = true;
        services_.dialogs.message(state_.tables.texts[settingsNotSaved].arg(error), MessageIcon::Exclamation, applicationTitle());
    }
}

void Principale::Com_Click(int index)
{
    setCaption(menus_->Communication->menuAction(), state_.tables.texts[portMenuPrefix] + QString::number(index));
    menus_->applyMnemonics();
    for (int i = 1; i <= 4; ++i)
        menus_->Com[std::size_t(i)]->setChecked(i == index);
    state_.comPort = index;
    if (!state_.startingUp)
        storeSettings();
}

// ---- Units and filters ---------------------------------------------------

void Principale::composeUnitsCaption()
{
    setCaption(menus_->Unites->menuAction(), caption(menus_->Unite_Vitesse[std::size_t(state_.speedUnit)]) + QStringLiteral("  |  ")
                             + caption(menus_->Unite_Temp[std::size_t(state_.temperatureUnit)]));
    menus_->applyMnemonics();
}

void Principale::Unite_Vitesse_Click(int index)
{
    chooseUnit(menus_->Unite_Vitesse, state_.speedUnit, index);
}

void Principale::Unite_Temp_Click(int index)
{
    chooseUnit(menus_->Unite_Temp, state_.temperatureUnit, index);
}

void Principale::chooseUnit(const std::array<QAction*, 2>& entries, int& choice, int index)
{
    choice = index == 1 ? 1 : 0;
    entries[std::size_t(choice)]->setChecked(true);
    entries[std::size_t(1 - choice)]->setChecked(false);
    composeUnitsCaption();
    library_->setTexts(state_.tables, state_.temperatureUnit);
    if (libraryWindow_)
        libraryWindow_->applyTexts(state_.tables, state_.temperatureUnit);
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
    for (int i = 0; i < 6; ++i)
        menus_->Langue[std::size_t(i)]->setChecked(i == index);
    state_.language = index;
    installQtTranslation(index);
    setCaption(menus_->Options->menuAction(), caption(menus_->Langue[std::size_t(index)]));
    Lire_Textes_Click();
    applyTexts();
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

void Principale::installQtTranslation(int language)
{
    installQtTexts(qtTranslator_, language);
}

void Principale::Lire_Textes_Click()
{
    readMenus();
    if (caption(menus_->Options->menuAction()) == QLatin1String("Langue"))
        setCaption(menus_->Options->menuAction(), QStringLiteral("Français"));
    tormel::readTexts(services_.programFolder, state_.language, state_.tables, services_.shippedDataFolder);
}

void Principale::readMenus()
{
    MenuCaptions captions = currentMenuCaptions();
    const MenuReadStatus file =
        tormel::readMenus(services_.programFolder, state_.language, captions, services_.shippedDataFolder);
    const auto items = menus_->menuFileItems();
    for (int i = 0; i < file.fieldsRead && i < menuCaptionCount; ++i) {
        const QString& text = captions[std::size_t(i)];
        if (i == menuTrackEditor)
            panels_->Frame_Piste->setTitle(text);
        else
            setCaption(items[std::size_t(i)], text);
        if (i == menuLanguageFirst + 5)
            setCaption(menus_->Options->menuAction(), caption(menus_->Langue[std::size_t(state_.language)]));
        else if (i == menuSpeedUnitFirst + 1)
            composeUnitsCaption();
        else if (i == menuComFirst + 3 && state_.comPort >= 1 && state_.comPort <= 4)
            setCaption(menus_->Communication->menuAction(), caption(menus_->Com[std::size_t(state_.comPort)]));
    }
    menus_->applyMnemonics();
    if (file.failed) {
        // The message does not say which file: a terminal is told.
        qWarning("tormel_vue: the language file %s is missing or defective", qPrintable(file.failedFile));
        QString& message = state_.tables.texts[languageFileMissing];
        if (message.isEmpty())
            message = QStringLiteral("Fichier Défectueux ou manquant");
        services_.dialogs.message(message, MessageIcon::Exclamation, caption(menus_->Langue[std::size_t(state_.language)]));
    }
}

void Principale::applyTexts()
{
    const bool on = menus_->AffTip->isChecked();
    for (TextsPanel* panel : panels_->textsPanels())
        panel->applyTexts(state_.tables, on);
    panels_->Picture2->setPixmap(titleCard(state_.tables.texts[clickToContinue]));
    panels_->Parametres_Courbe->showSmoothing(state_.tables.texts[smoothingSamples]);
    setCaption(menus_->Rapport, state_.tables.texts[reportMenu]);
    setCaption(menus_->Bibliotheque, state_.tables.texts[libraryMenu]);
    setCaption(menus_->Comparer, state_.tables.texts[compareMenu]);
    library_->setTexts(state_.tables, state_.temperatureUnit);
    if (libraryWindow_)
        libraryWindow_->applyTexts(state_.tables, state_.temperatureUnit);
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
    applyTexts();
    storeSettings();
}

void Principale::Sauve_Textes_Click()
{
    QString error;
    if (!tormel::saveTexts(services_.programFolder, state_.language, state_.tables, &error))
        reportWriteFailure(QStringLiteral("Textes_%1.txt").arg(state_.language), error);
}

void Principale::Sauve_Tips_Click()
{
    QString error;
    if (!tormel::saveTips(services_.programFolder, state_.language, state_.tables, &error))
        reportWriteFailure(QStringLiteral("Tips_%1.txt").arg(state_.language), error);
}

void Principale::Sauve_Menus_Click()
{
    QString error;
    if (!tormel::saveMenus(services_.programFolder, state_.language, currentMenuCaptions(), &error))
        reportWriteFailure(QStringLiteral("Menu_%1.txt").arg(state_.language), error);
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
