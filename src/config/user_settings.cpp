#include "config/user_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace tormel {

namespace {
const QString lastFolderKey = QStringLiteral("lastFolder");
const QString recentKey = QStringLiteral("recentFiles");
const QString libraryKey = QStringLiteral("libraryFolders");
const QString comparedKey = QStringLiteral("comparedLaps");

QString targetKey(int engine)
{
    return QStringLiteral("targetMaxRpm/engine%1").arg(engine);
}
}  // namespace

UserSettings::UserSettings(QString file)
    : file_(std::move(file))
{
}

QString UserSettings::standardFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(QStringLiteral("Tormel_Vue.ini"));
}

QString UserSettings::lastFolder() const
{
    if (file_.isEmpty())
        return {};
    const QString folder = QSettings(file_, QSettings::IniFormat).value(lastFolderKey).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void UserSettings::setLastFolder(const QString& folder)
{
    if (file_.isEmpty())
        return;
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(lastFolderKey, folder);
}

QStringList UserSettings::recentFiles() const
{
    if (file_.isEmpty())
        return {};
    return QSettings(file_, QSettings::IniFormat).value(recentKey).toStringList().mid(0, RecentCount);
}

void UserSettings::setRecentFiles(const QStringList& paths)
{
    if (file_.isEmpty())
        return;
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(recentKey, paths);
}

QStringList UserSettings::libraryFolders() const
{
    if (file_.isEmpty())
        return {};
    return QSettings(file_, QSettings::IniFormat).value(libraryKey).toStringList();
}

void UserSettings::setLibraryFolders(const QStringList& folders)
{
    if (file_.isEmpty())
        return;
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(libraryKey, folders);
}

QStringList withRecent(QStringList paths, const QString& path)
{
    paths.removeAll(path);
    paths.prepend(path);
    return paths.mid(0, RecentCount);
}

QStringList UserSettings::comparedLaps() const
{
    if (file_.isEmpty())
        return {};
    return QSettings(file_, QSettings::IniFormat).value(comparedKey).toStringList();
}

void UserSettings::setComparedLaps(const QStringList& laps)
{
    if (file_.isEmpty())
        return;
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(comparedKey, laps);
}

QList<int> UserSettings::libraryHiddenColumns() const
{
    QList<int> columns;
    if (file_.isEmpty())
        return columns;
    for (const QString& n : QSettings(file_, QSettings::IniFormat).value(QStringLiteral("libraryHiddenColumns")).toStringList()) {
        bool ok = false;
        const int column = n.toInt(&ok);
        if (ok && column >= 0)
            columns << column;
    }
    return columns;
}

void UserSettings::setLibraryHiddenColumns(const QList<int>& columns)
{
    if (file_.isEmpty())
        return;
    QStringList numbers;
    for (const int column : columns)
        numbers << QString::number(column);
    QSettings(file_, QSettings::IniFormat).setValue(QStringLiteral("libraryHiddenColumns"), numbers);
}

int UserSettings::comparedAlignment() const
{
    if (file_.isEmpty())
        return 0;
    const QSettings settings(file_, QSettings::IniFormat);
    if (!settings.contains(QStringLiteral("comparedAlignment")))
        return settings.value(QStringLiteral("comparedOnFraction")).toBool() ? 1 : 0;
    const int alignment = settings.value(QStringLiteral("comparedAlignment")).toInt();
    return alignment >= 0 && alignment <= 2 ? alignment : 0;
}

void UserSettings::setComparedAlignment(int alignment)
{
    if (file_.isEmpty())
        return;
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(QStringLiteral("comparedAlignment"), alignment);
    settings.remove(QStringLiteral("comparedOnFraction"));
}

int UserSettings::targetMaxRpm(int engine) const
{
    if (file_.isEmpty() || engine < 1 || engine > engineCount)
        return 0;
    bool ok = false;
    const int rpm = QSettings(file_, QSettings::IniFormat).value(targetKey(engine)).toInt(&ok);
    return ok && rpm > 0 ? rpm : 0;
}

void UserSettings::setTargetMaxRpm(int engine, int rpm)
{
    if (file_.isEmpty() || engine < 1 || engine > engineCount)
        return;
    QSettings settings(file_, QSettings::IniFormat);
    if (rpm > 0)
        settings.setValue(targetKey(engine), rpm);
    else
        settings.remove(targetKey(engine));
}

}  // namespace tormel
