#include "shell/settings_controller.h"

#include "base/app_info.h"
#include "config/settings.h"
#include "platform/dialogs.h"

namespace tormel {

SettingsController::SettingsController(Dialogs& dialogs, QString programFolder, QString shippedDataFolder, QObject* parent)
    : QObject(parent)
    , dialogs_(dialogs)
    , programFolder_(std::move(programFolder))
    , shippedDataFolder_(std::move(shippedDataFolder))
    , captions_(frenchMenuCaptions())
{
    fillFrenchTexts(tables_);
}

void SettingsController::restore()
{
    restoring_ = true;
    settings_ = windowSettingsOf(loadSettings(programFolder_));
    emit portChanged();
    emit unitsChanged();
    Langue_Click(int(settings_.language));
    restoring_ = false;
}

void SettingsController::store()
{
    if (restoring_)
        return;
    QString error;
    if (!saveSettings(programFolder_, storedSettingsOf(settings_), &error) && !failureShown_) {
        // Once is enough: the choices still apply until the program ends.
        failureShown_ = true;
        dialogs_.message(tables_.texts[settingsNotSaved].arg(error), MessageIcon::Exclamation, applicationTitle());
    }
}

void SettingsController::Com_Click(int index)
{
    if (!PortNumber::isPort(index))
        return;
    settings_.port = PortNumber{index};
    emit portChanged();
    store();
}

void SettingsController::Unite_Vitesse_Click(int index)
{
    settings_.speedUnit = index == 1 ? SpeedUnit::MilesPerHour : SpeedUnit::KilometresPerHour;
    emit unitsChanged();
    store();
}

void SettingsController::Unite_Temp_Click(int index)
{
    settings_.temperatureUnit = index == 1 ? TemperatureUnit::Fahrenheit : TemperatureUnit::Celsius;
    emit unitsChanged();
    store();
}

void SettingsController::Langue_Click(int index)
{
    if (index < 0 || index >= int(languageCaptions.size()))
        return;
    settings_.language = Language(index);
    installQtTexts(qtTranslator_, settings_.language);
    Lire_Textes_Click();
    store();
}

void SettingsController::AffTip_Click()
{
    settings_.showToolTips = !settings_.showToolTips;
    emit toolTipsChanged();
    store();
}

void SettingsController::Lire_Textes_Click()
{
    const Language language = settings_.language;
    const MenuReadStatus menus = readMenus(programFolder_, language, captions_, shippedDataFolder_);
    if (menus.failed) {
        // The message does not say which file: a terminal is told.
        qWarning("tormel_vue: the language file %s is missing or defective", qPrintable(menus.failedFile));
        QString& message = tables_.texts[languageFileMissing];
        if (message.isEmpty())
            message = QStringLiteral("Fichier Défectueux ou manquant");
        dialogs_.message(message, MessageIcon::Exclamation, captions_[std::size_t(menuLanguageFirst + int(language))]);
    }
    readTexts(programFolder_, language, tables_, shippedDataFolder_);
    emit textsChanged();
}

void SettingsController::Sauve_Textes_Click()
{
    QString error;
    if (!saveTexts(programFolder_, settings_.language, tables_, &error))
        reportWriteFailure(QStringLiteral("Textes_%1.txt").arg(int(settings_.language)), error);
}

void SettingsController::Sauve_Tips_Click()
{
    QString error;
    if (!saveTips(programFolder_, settings_.language, tables_, &error))
        reportWriteFailure(QStringLiteral("Tips_%1.txt").arg(int(settings_.language)), error);
}

void SettingsController::Sauve_Menus_Click()
{
    QString error;
    if (!saveMenus(programFolder_, settings_.language, captions_, &error))
        reportWriteFailure(QStringLiteral("Menu_%1.txt").arg(int(settings_.language)), error);
}

void SettingsController::reportWriteFailure(const QString& what, const QString& error)
{
    dialogs_.message(tables_.texts[fileNotWritten].arg(what, error), MessageIcon::Critical, applicationTitle());
}

}  // namespace tormel
