#include "config/program_folder.h"

#include "base/app_info.h"
#include "texts/language_files.h"
#include "texts/shipped_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>

#include <pwd.h>
#include <sys/stat.h>

namespace tormel {

namespace {

// The home folder of the user who owns it: under sudo the home folder is
// root's, but a folder started from is still its owner's home.
bool isItsOwnersHome(const QString& folder)
{
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0)
        return false;
    const passwd* owner = ::getpwuid(info.st_uid);
    return owner && owner->pw_dir && QDir::cleanPath(QFile::decodeName(owner->pw_dir)) == folder;
}

bool holdsLanguageFiles(const QString& folder)
{
    const QStringList names = shippedLanguageFileNames();
    return std::any_of(names.begin(), names.end(), [&folder](const QString& name) {
        return !name.startsWith(QLatin1String("Help_")) && QFileInfo::exists(QDir(folder).filePath(name));
    });
}

}  // namespace

bool isFolderWritable(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    // The probe file is removed at once: a read-only caller leaves nothing behind.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("write-probe-XXXXXX")));
    return probe.open();
}

QStringList shippedLanguageFileNames()
{
    QStringList names;
    for (int n = 0; n <= 5; ++n) {
        for (const char* prefix : {"Textes_", "Tips_", "Menu_", "Help_"})
            names << QString::fromLatin1(prefix) + QString::number(n) + QStringLiteral(".txt");
    }
    return names;
}

QString installedDataFolder(const QString& executableFolder)
{
    return QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral("../share/tormel_vue")));
}

QString decideProgramFolder(const QString& executableFolder, const QString& installedDataFolder,
                            const QString& userDataFolder, FolderAccess access)
{
    const bool installed = QFileInfo(installedDataFolder).isDir();
    if (!installed && holdsLanguageFiles(executableFolder))
        return executableFolder;
    const QString userFolder = userDataFolder.isEmpty()
        ? QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(applicationTitle())
        : userDataFolder;
    if (access == FolderAccess::Prepare) {
        QDir().mkpath(userFolder);
        if (installed)
            removeShippedCopies(userFolder, installedDataFolder);
    }
    return userFolder;
}

int removeShippedCopies(const QString& folder, const QString& shippedFolder)
{
    int removed = 0;
    if (QDir::cleanPath(folder) == QDir::cleanPath(shippedFolder))
        return removed;
    for (const QString& name : shippedLanguageFileNames()) {
        const QString path = QDir(folder).filePath(name);
        if (!QFileInfo::exists(QDir(shippedFolder).filePath(name)) || !QFileInfo(path).isFile())
            continue;
        QFile file(path);
        if (file.size() > maxLanguageFileBytes || !file.open(QIODevice::ReadOnly))
            continue;
        const bool copy = isShippedVersion(name, file.readAll());
        file.close();
        if (copy && QFile::remove(path))
            ++removed;
    }
    return removed;
}

QString decideWorkingFolder(const QString& currentFolder, const QString& homeFolder, const QString& documentsFolder,
                            FolderAccess access)
{
    const QString current = QDir::cleanPath(currentFolder);
    if (current != QDir::cleanPath(homeFolder) && !isItsOwnersHome(current) && isFolderWritable(current))
        return current;
    const QString own = QDir(documentsFolder).filePath(QStringLiteral("Tormel_Vue"));
    if (access == FolderAccess::Prepare)
        QDir().mkpath(own);
    return own;
}

QString standardWorkingFolder(FolderAccess access)
{
    return decideWorkingFolder(QDir::currentPath(), QDir::homePath(),
                               QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), access);
}

}  // namespace tormel
