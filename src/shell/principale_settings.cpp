#include "shell/principale.h"

#include "base/app_info.h"
#include "config/settings.h"
#include "platform/dialogs.h"
#include "shell/help_window.h"
#include "shell/menus.h"
#include "charts/smoothing_panel.h"
#include "shell/panels.h"
#include "shell/title_card.h"
#include "tracks/track_editor.h"

#include <QAction>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace tormel {

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
    setCaption(menus_->Options->menuAction(), caption(menus_->Langue[std::size_t(s.Choix_Langue)]));
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
        services_.dialogs.message(state_.tables.Textes[settingsNotSaved].arg(error), MessageIcon::Exclamation, applicationTitle());
    }
}

void Principale::Com_Click(int index)
{
    setCaption(menus_->Communication->menuAction(), state_.tables.Textes[portMenuPrefix] + QString::number(index));
    menus_->applyMnemonics();
    for (int i = 1; i <= 4; ++i)
        menus_->Com[std::size_t(i)]->setChecked(i == index);
    state_.Port_Com = index;
    if (!state_.Init_En_Cours)
        Sauve_System();
}

// ---- Units and filters ---------------------------------------------------

void Principale::composeUnitesTitle()
{
    setCaption(menus_->Unites->menuAction(), caption(menus_->Unite_Vitesse[std::size_t(state_.Choix_Vitesse)]) + QStringLiteral("  |  ")
                             + caption(menus_->Unite_Temp[std::size_t(state_.Choix_Temp)]));
    menus_->applyMnemonics();
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
        if (document_.isShown())
            Affiche_Data();
        Sauve_System();
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
    panels_->Parametres_Courbe->showSmoothing(state_.tables.Textes[smoothingSamplesChanged]);
    state_.filterLevel = level;
    for (int i = 0; i < 4; ++i)
        menus_->Filtre[std::size_t(i)]->setChecked(i == level);
    if (document_.isShown())
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
    installQtTranslation(index);
    setCaption(menus_->Options->menuAction(), caption(menus_->Langue[std::size_t(index)]));
    Lire_Textes_Click();
    Update_Textes();
    // An open guide turns to the new language, or says it has none.
    QString missing;
    if (help_ && help_->isVisible() && !loadHelp(&missing))
        help_->showText(state_.tables.Textes[helpFileMissing].arg(missing));
    if (!state_.Init_En_Cours) {
        if (document_.isShown())
            Affiche_Data();
        Sauve_System();
    }
}

void Principale::installQtTranslation(int language)
{
    // Qt ships no English catalogue: English is its own language.
    static const std::array<const char*, 6> locales{"fr", "nl", "en", "de", "es", "it"};
    QCoreApplication::removeTranslator(&qtTranslator_);
    if (qtTranslator_.load(QLocale(QLatin1String(locales[std::size_t(language)])), QStringLiteral("qtbase"),
                           QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator_);
}

void Principale::Lire_Textes_Click()
{
    Lire_Menus();
    if (caption(menus_->Options->menuAction()) == QLatin1String("Langue"))
        setCaption(menus_->Options->menuAction(), QStringLiteral("Français"));
    tormel::Lire_Textes(services_.programFolder, state_.Choix_Langue, state_.tables, services_.shippedDataFolder);
}

void Principale::Lire_Menus()
{
    MenuCaptions captions = currentMenuCaptions();
    const MenuReadStatus file =
        tormel::Lire_Menus(services_.programFolder, state_.Choix_Langue, captions, services_.shippedDataFolder);
    const auto items = menus_->menuFileItems();
    for (int i = 0; i < file.fieldsRead && i < menuCaptionCount; ++i) {
        const QString& text = captions[std::size_t(i)];
        if (i == menuFramePiste)
            panels_->Frame_Piste->setTitle(text);
        else
            setCaption(items[std::size_t(i)], text);
        if (i == menuLangueFirst + 5)
            setCaption(menus_->Options->menuAction(), caption(menus_->Langue[std::size_t(state_.Choix_Langue)]));
        else if (i == menuUniteVitesseFirst + 1)
            composeUnitesTitle();
        else if (i == menuComFirst + 3 && state_.Port_Com >= 1 && state_.Port_Com <= 4)
            setCaption(menus_->Communication->menuAction(), caption(menus_->Com[std::size_t(state_.Port_Com)]));
    }
    menus_->applyMnemonics();
    if (file.failed) {
        // The message does not say which file: a terminal is told.
        qWarning("tormel_vue: the language file %s is missing or defective", qPrintable(file.failedFile));
        QString& message = state_.tables.Textes[languageFileMissing];
        if (message.isEmpty())
            message = QStringLiteral("Fichier Défectueux ou manquant");
        services_.dialogs.message(message, MessageIcon::Exclamation, caption(menus_->Langue[std::size_t(state_.Choix_Langue)]));
    }
}

void Principale::Update_Textes()
{
    const bool on = menus_->AffTip->isChecked();
    for (TextsPanel* panel : panels_->textsPanels())
        panel->applyTexts(state_.tables, on);
    panels_->Picture2->setPixmap(titleCard(state_.tables.Textes[clickToContinue]));
    panels_->Parametres_Courbe->showSmoothing(state_.tables.Textes[smoothingSamples]);
    setCaption(menus_->Rapport, state_.tables.Textes[reportMenu]);
    panels_->Serial_Number_Caption->setText(state_.tables.Textes[serialNumberCaption]);
    // The menu bar sizes its corner only when the corner is set: set it again
    // for the caption's new width.
    menuBar()->setCornerWidget(menuBar()->cornerWidget(Qt::TopRightCorner), Qt::TopRightCorner);
    if (help_)
        help_->applyTexts(state_.tables, on);
    menus_->applyMnemonics();
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
    services_.dialogs.message(state_.tables.Textes[fileNotWritten].arg(what, error), MessageIcon::Critical, applicationTitle());
}

}  // namespace tormel
