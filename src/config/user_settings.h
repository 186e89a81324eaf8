#pragma once

#include <QString>

namespace tormel {

// What the window remembers between runs beside the settings file: the
// folder last used in a file dialog. Kept in an ini file of the per-user
// configuration; tests give a file of their own.
class UserSettings {
public:
    explicit UserSettings(QString file);

    // Where the window keeps it: Tormel_Vue.ini in the per-user configuration folder.
    static QString standardFile();

    // Empty when none was kept or the folder is gone.
    QString lastFolder() const;
    void setLastFolder(const QString& folder);

private:
    QString file_;
};

}  // namespace tormel
