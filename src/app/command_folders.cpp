#include "app/command_folders.h"

#include "config/program_folder.h"
#include "tracks/track_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace tormel {

CommandFolders commandFolders()
{
    CommandFolders folders;
    const QString executableFolder = QCoreApplication::applicationDirPath();
    folders.shipped = installedDataFolder(executableFolder);
    folders.program = decideProgramFolder(executableFolder, folders.shipped, QString(), FolderAccess::ReadOnly);
    folders.working = standardWorkingFolder(FolderAccess::ReadOnly);
    return folders;
}

QString commandTrackFile(const QString& working)
{
    const QString path = QDir(working).filePath(trackFileName);
    if (QDir::cleanPath(working) == QDir::cleanPath(QDir::currentPath()))
        return path;
    if (QFileInfo::exists(path))
        std::fprintf(stderr, "tormel_vue: track lengths from %s\n", qPrintable(path));
    else
        std::fprintf(stderr, "tormel_vue: no track file %s: the speeds stay empty\n", qPrintable(path));
    return path;
}

}  // namespace tormel
