#pragma once

#include <QString>
#include <QStringList>

namespace tormel {

// Whether a file can be created in `folder` (tried, not guessed from the
// permission bits, which say nothing for a super-user or a read-only mount).
bool isFolderWritable(const QString& folder);

// Names of the files the program ships for each language.
QStringList shippedLanguageFileNames();

// Copies the shipped language files from `dataFolder` into `folder` where
// they are missing there; files already present are never replaced. Returns
// how many were copied.
int copyMissingLanguageFiles(const QString& dataFolder, const QString& folder);

// The data folder an installed copy ships beside its bin/ folder
// (../share/tormel_vue), where the language and help files are.
QString installedDataFolder(const QString& executableFolder);

// What the caller may do to the folder it is given.
enum class FolderAccess {
    Prepare,   // the window: create the per-user folder and fill it
    ReadOnly,  // the command line: create nothing, read what is there
};

// The one place that decides the program folder, where the settings and
// language files live: the executable's folder when it is writable (a build
// tree, a portable copy), otherwise the per-user data folder. With Prepare
// the per-user folder is created and given the shipped language files it
// lacks; with ReadOnly nothing is created and readers fall back on
// `installedDataFolder` for the files it lacks. An empty `userDataFolder`
// means QStandardPaths::AppDataLocation.
QString decideProgramFolder(const QString& executableFolder, const QString& installedDataFolder,
                            const QString& userDataFolder = QString(), FolderAccess access = FolderAccess::Prepare);

// The folder the window works in, where the track file, "error.tml",
// "Error.txt" and the downloads live: the current folder, except when it is
// the home folder or cannot be written (a desktop launcher or a file
// manager starts programs there), then `Tormel_Vue` in the documents
// folder, which is created when missing.
QString decideWorkingFolder(const QString& currentFolder, const QString& homeFolder, const QString& documentsFolder);

}  // namespace tormel
