#pragma once

#include <QString>

namespace tormel {

// Where a command finds the files the program keeps, decided as the window
// decides them, creating nothing.
struct CommandFolders {
    QString program;  // settings and the user's language files
    QString shipped;  // the installed language files beneath them
    QString working;  // the track file and downloads/
};
// Needs the application object, for the executable's folder.
CommandFolders commandFolders();

// The track file of `working`; when it is not the current folder's, says on
// standard error which file it is, since the user may expect another.
QString commandTrackFile(const QString& working);

}  // namespace tormel
