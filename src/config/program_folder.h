#pragma once

#include <QString>
#include <QStringList>

namespace tormel {

// Whether a file can be created in `folder` (tried, not guessed from the
// permission bits, which say nothing for a super-user or a read-only mount).
bool isFolderWritable(const QString& folder);

// Names of the files the program ships for each language.
QStringList shippedLanguageFileNames();

// The data folder an installed copy ships beside its bin/ folder
// (../share/tormel_vue), where the language and help files are. Whether it
// exists is what tells an installed executable from a build or a portable
// copy.
QString installedDataFolder(const QString& executableFolder);

// What the caller may do to the folders it is given.
enum class FolderAccess {
    Prepare,   // the window: create the folder it works in and tidy it
    ReadOnly,  // the command line: create nothing, read what is there
};

// The one place that decides the program folder, where the settings and
// the user's own language files live. The executable's folder only for a
// build or a portable copy that holds its language files; for an installed
// executable, whoever runs it (root can write /usr/bin too), and for any
// other, the per-user data folder: nothing is ever written into an
// installation. With Prepare the per-user folder is created, and the
// language and help files in it that are mere copies of shipped versions
// are removed, so that the installed ones, maybe newer, are read. An empty
// `userDataFolder` means Tormel_Vue in the per-user data folder (~/.local/share),
// whatever name the running command gave the application.
QString decideProgramFolder(const QString& executableFolder, const QString& installedDataFolder,
                            const QString& userDataFolder = QString(), FolderAccess access = FolderAccess::Prepare);

// Removes from `folder` each language or help file that is byte for byte a
// version the program shipped, where `shippedFolder` holds a file of that
// name to read instead. Returns how many were removed.
int removeShippedCopies(const QString& folder, const QString& shippedFolder);

// The folder the program works in, where the track file, "error.tml",
// "Error.txt" and the downloads live: the current folder, except when it is
// the home folder (ours, or the home of the user who owns it, as under
// sudo) or cannot be written (a desktop launcher or a file
// manager starts programs there), then `Tormel_Vue` in the documents
// folder. The window (Prepare) creates that folder when missing; the
// commands (ReadOnly) create nothing.
QString decideWorkingFolder(const QString& currentFolder, const QString& homeFolder, const QString& documentsFolder,
                            FolderAccess access = FolderAccess::Prepare);
// The same for this process: its current folder, the user's home and
// documents folders.
QString standardWorkingFolder(FolderAccess access);

}  // namespace tormel
