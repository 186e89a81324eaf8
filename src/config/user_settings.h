#pragma once

#include <QString>
#include <QStringList>

namespace tormel {

// What the window remembers between runs beside the settings file: the
// folder last used in a file dialog, the records used last and the
// library's folders. Kept in an ini file of the per-user
// configuration; tests give a file of their own.
class UserSettings {
public:
    explicit UserSettings(QString file);

    // Where the window keeps it: Tormel_Vue.ini in the per-user configuration folder.
    static QString standardFile();

    // Empty when none was kept or the folder is gone.
    QString lastFolder() const;
    void setLastFolder(const QString& folder);

    // The records opened or saved last, the latest first.
    QStringList recentFiles() const;
    void setRecentFiles(const QStringList& paths);

    // The folders the library reads records from, besides the working folder.
    QStringList libraryFolders() const;
    void setLibraryFolders(const QStringList& folders);

    // The columns of the library's table the user hid, by number.
    QList<int> libraryHiddenColumns() const;
    void setLibraryHiddenColumns(const QList<int>& columns);

    // The laps chosen to compare, as `choiceText` writes them.
    QStringList comparedLaps() const;
    void setComparedLaps(const QStringList& laps);
    // How the compared laps are overlaid: 0 on time, 1 on the fraction of
    // the lap's time, 2 along the track. A file of an older version that
    // kept "on the fraction" reads as 1.
    int comparedAlignment() const;
    void setComparedAlignment(int alignment);

    // The highest engine speed (RPM) the user aims at with engine 1 to 5,
    // against which other sprockets are suggested; 0 when none was given
    // or for another engine. A value of 0 or less forgets it.
    int targetMaxRpm(int engine) const;
    void setTargetMaxRpm(int engine, int rpm);

private:
    QString file_;
};

// The logger keeps the hours of five engines, numbered from 1.
inline constexpr int engineCount = 5;

// `paths` with `path` put first, once, at most `RecentCount` in all.
inline constexpr int RecentCount = 5;
QStringList withRecent(QStringList paths, const QString& path);

}  // namespace tormel
