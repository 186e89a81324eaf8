#pragma once

#include "config/user_settings.h"
#include "record/record_file.h"
#include "texts/text_tables.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace tormel {

class Dialogs;
class Launcher;
class RecordDocument;
class RecordImage;

// The record commands of the File menu: open, save, comment and export.
// They speak to the user through the dialogs; the window applies what
// they return to the record on screen.
class FileCommands {
public:
    // `tables` are the window's, read for the messages when they are shown;
    // the dialogs start in the folder last used, kept in `userSettingsFile`.
    FileCommands(Dialogs& dialogs, Launcher& launcher, const TextTables& tables, const QString& userSettingsFile);

    // Ouvrir: the record file the user chooses, empty when cancelled.
    QString chooseRecord();
    // Reads a record chosen or given on the command line. No value when its
    // name is refused; a read error is reported and what was read is returned.
    std::optional<LoadedRecord> load(const QString& path);
    // Sauver: writes the image with the track number to a file the user
    // chooses. The path written, or empty when nothing was written.
    QString save(const RecordImage& image, std::int16_t trackNumber);
    // Commentaire: the desktop's editor on the record's comment file.
    void Commentaire_Click();
    // Exporter: the spreadsheet file of the record on screen.
    void Exporter_Click(const RecordDocument& document);

    // The records opened or saved last, the latest first; a path that is
    // gone is taken off the list.
    QStringList recentFiles() const { return recent_.recentFiles(); }
    void forgetRecent(const QString& path);

private:
    void name(const QString& path);
    // The folder a dialog starts in, and the one to start in next time.
    QString startFolder(const QString& fallback) const;
    void remember(const QString& path);
    void rememberRecord(const QString& path);

    Dialogs& dialogs_;
    Launcher& launcher_;
    const TextTables& tables_;
    UserSettings recent_;
    QString pathWithoutExtension_;
    QString commentPath_;
};

}  // namespace tormel
