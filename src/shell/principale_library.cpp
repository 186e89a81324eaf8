#include "shell/principale.h"
#include "shell/settings_controller.h"

#include "config/user_settings.h"
#include "shell/library_window.h"

#include <QDir>
#include <QFileInfo>

namespace tormel {

QString libraryFileOf(const Services& services)
{
    return services.libraryFile.isEmpty() ? QDir(services.programFolder).filePath(QStringLiteral("library.sqlite"))
                                          : services.libraryFile;
}

// The index is brought up to date in the background from the start, the
// window usable meanwhile.
void Principale::startLibrary()
{
    library_->setObjectName(QStringLiteral("SessionLibrary"));
    library_->setFolders(QDir::currentPath(), UserSettings(services_.userSettingsFile).libraryFolders(),
                         QFileInfo(services_.trackFile).absoluteFilePath());
}

void Principale::Bibliotheque_Click()
{
    if (!libraryWindow_) {
        libraryWindow_ = new LibraryWindow(*library_, services_.dialogs, this);
        libraryWindow_->applyTexts(settings_->tables(), int(settings_->settings().temperatureUnit));
        libraryWindow_->setKeptFolders(UserSettings(services_.userSettingsFile).libraryFolders());
        // A session opens as from the open dialog.
        connect(libraryWindow_, &LibraryWindow::openRequested, this, &Principale::openRecord);
        connect(libraryWindow_, &LibraryWindow::compareRequested, this, [this](const QString& path, bool best) {
            if (best)
                compareLaps(readComparableRecord(path, library_->dataFolder(), state_.filterLevel), {0});
            else
                chooseLapsToCompare(path);
        });
        connect(libraryWindow_, &LibraryWindow::commentRequested, this, [this](const QString& path) {
            openRecord(path);
            Commentaire_Click();
        });
        connect(libraryWindow_, &LibraryWindow::keptFoldersChanged, this, [this](const QStringList& folders) {
            UserSettings(services_.userSettingsFile).setLibraryFolders(folders);
            startLibrary();
        });
    }
    libraryWindow_->show();
    libraryWindow_->raise();
    libraryWindow_->activateWindow();
}

}  // namespace tormel
