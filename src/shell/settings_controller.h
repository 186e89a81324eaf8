#pragma once

#include "shell/window_state.h"
#include "texts/language_files.h"
#include "texts/text_tables.h"

#include <QObject>
#include <QTranslator>

namespace tormel {

class Dialogs;

// The user's choices and the texts of the chosen language: it reads and
// writes the settings file, the language files and the translation tools'
// files, and says what changed. The menus only show what it holds.
class SettingsController final : public QObject {
    Q_OBJECT
public:
    SettingsController(Dialogs& dialogs, QString programFolder, QString shippedDataFolder, QObject* parent = nullptr);

    const WindowSettings& settings() const { return settings_; }
    const TextTables& tables() const { return tables_; }
    // The captions of the menu file of the language, as last read.
    const MenuCaptions& menuCaptions() const { return captions_; }

    // The stored choices and their language, at start; nothing is written.
    void restore();
    // The choices into the settings file; a failure is told once.
    void store();
    void setCurrentTrack(int track) { settings_.currentTrack = track; }

    // The menus' handlers.
    void Com_Click(int index);
    void Unite_Vitesse_Click(int index);
    void Unite_Temp_Click(int index);
    void Langue_Click(int index);
    void AffTip_Click();
    void Lire_Textes_Click();
    void Sauve_Textes_Click();
    void Sauve_Tips_Click();
    void Sauve_Menus_Click();

signals:
    void portChanged();
    void unitsChanged();
    // The language's texts and menu captions were read.
    void textsChanged();
    void toolTipsChanged();

private:
    void reportWriteFailure(const QString& what, const QString& error);

    Dialogs& dialogs_;
    QString programFolder_;
    QString shippedDataFolder_;
    WindowSettings settings_;
    TextTables tables_;
    MenuCaptions captions_;
    bool restoring_ = false;
    bool failureShown_ = false;
    // Qt's own texts (dialog buttons and titles) in the chosen language.
    QTranslator qtTranslator_;
};

}  // namespace tormel
