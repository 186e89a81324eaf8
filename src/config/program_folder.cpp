#include "config/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace tormel {

bool isFolderWritable(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
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

int copyMissingLanguageFiles(const QString& dataFolder, const QString& folder)
{
    if (dataFolder.isEmpty())
        return 0;
    const QDir from(dataFolder);
    const QDir to(folder);
    int copied = 0;
    for (const QString& name : shippedLanguageFileNames()) {
        const QString source = from.filePath(name);
        const QString target = to.filePath(name);
        if (QFileInfo::exists(source) && !QFileInfo::exists(target) && QFile::copy(source, target)) {
            // Installed files are read-only; the translation tools must be able to replace the copy.
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
            ++copied;
        }
    }
    return copied;
}

QString installedDataFolder(const QString& executableFolder)
{
    return QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral("../share/tormel_vue")));
}

QString decideProgramFolder(const QString& executableFolder, const QString& installedDataFolder,
                            const QString& userDataFolder, FolderAccess access)
{
    // The probe file of the test is removed at once: a read-only caller leaves nothing behind.
    if (isFolderWritable(executableFolder))
        return executableFolder;
    const QString userFolder = userDataFolder.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        : userDataFolder;
    if (access == FolderAccess::Prepare) {
        QDir().mkpath(userFolder);
        copyMissingLanguageFiles(installedDataFolder, userFolder);
    }
    return userFolder;
}

QString decideWorkingFolder(const QString& currentFolder, const QString& homeFolder, const QString& documentsFolder)
{
    const QString current = QDir::cleanPath(currentFolder);
    if (current != QDir::cleanPath(homeFolder) && isFolderWritable(current))
        return current;
    const QString own = QDir(documentsFolder).filePath(QStringLiteral("Tormel_Vue"));
    QDir().mkpath(own);
    return own;
}

}  // namespace tormel
