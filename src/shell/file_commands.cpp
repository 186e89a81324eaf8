#include "shell/file_commands.h"

#include "base/app_info.h"
#include "document/record_document.h"
#include "laps/export.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"

#include <QDateTime>
#include <QFile>
#include <QDir>
#include <QFileInfo>

namespace tormel {

namespace {

const FileFilter recordFilter{QStringLiteral("Tml"), QStringLiteral("*.Tml")};

// Linux file names keep their case: the open dialog offers every spelling.
const FileFilter recordOpenFilter{QStringLiteral("Tml"), QStringLiteral("*.Tml *.tml *.TML")};

const QString extensionError = QStringLiteral("File Extension Error");

}  // namespace

FileCommands::FileCommands(Dialogs& dialogs, Launcher& launcher, const TextTables& tables, const QString& userSettingsFile)
    : dialogs_(dialogs)
    , launcher_(launcher)
    , tables_(tables)
    , recent_(userSettingsFile)
{
}

QString FileCommands::startFolder(const QString& fallback) const
{
    const QString last = recent_.lastFolder();
    return last.isEmpty() ? fallback : last;
}

void FileCommands::remember(const QString& path)
{
    recent_.setLastFolder(QFileInfo(path).absolutePath());
}

void FileCommands::rememberRecord(const QString& path)
{
    recent_.setRecentFiles(withRecent(recent_.recentFiles(), QFileInfo(path).absoluteFilePath()));
}

void FileCommands::forgetRecent(const QString& path)
{
    QStringList paths = recent_.recentFiles();
    paths.removeAll(path);
    recent_.setRecentFiles(paths);
}

void FileCommands::name(const QString& path)
{
    const RecordNames names = namesOfRecord(path);
    pathWithoutExtension_ = names.pathWithoutExtension;
    commentPath_ = names.commentPath;
}

QString FileCommands::chooseRecord()
{
    FileDialogRequest request;
    // A new user starts in the working folder, never in the hidden program folder.
    request.initialFolder = startFolder(QDir::currentPath());
    request.defaultExtension = QStringLiteral("Tml");
    request.filter = recordOpenFilter;
    const QString path = dialogs_.openFile(request);
    if (!path.isEmpty())
        remember(path);
    return path;
}

std::optional<LoadedRecord> FileCommands::load(const QString& path)
{
    if (path.right(3).compare(QLatin1String("Tml"), Qt::CaseInsensitive) != 0) {
        dialogs_.message(extensionError, MessageIcon::Information, applicationTitle());
        return std::nullopt;
    }
    LoadedRecord loaded = loadRecordFile(path);
    if (loaded.errorNumber != 0)
        dialogs_.message(QStringLiteral("Erreur") + QString::number(loaded.errorNumber), MessageIcon::Critical,
                         applicationTitle());
    name(path);
    rememberRecord(path);
    return loaded;
}

QString FileCommands::save(const RecordImage& image, std::int16_t trackNumber)
{
    FileDialogRequest request;
    request.initialFolder = startFolder(QString());
    request.defaultExtension = QStringLiteral("Tml");
    request.filter = recordFilter;
    request.confirmOverwrite = true;
    const QString path = withDefaultExtension(dialogs_.saveFile(request), request.defaultExtension);
    if (path.isEmpty())
        return {};
    if (path.right(3) != QLatin1String("Tml")) {
        dialogs_.message(extensionError, MessageIcon::Information, applicationTitle());
        return {};
    }
    QString error;
    if (!saveRecordFile(path, image, trackNumber, &error)) {
        dialogs_.message(tables_.texts[recordNotSaved].arg(path, error), MessageIcon::Critical,
                         applicationTitle());
        return {};
    }
    name(path);
    remember(path);
    rememberRecord(path);
    return path;
}

void FileCommands::Commentaire_Click()
{
    const QString& path = commentPath_;
    if (path.isEmpty())
        return;  // no record opened or saved yet: no comment file to edit
    if (!QFileInfo::exists(path)) {
        // The desktop's editors open existing files only.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            dialogs_.message(tables_.texts[commentNotCreated].arg(path, file.errorString()),
                             MessageIcon::Critical, applicationTitle());
            return;
        }
    }
    if (!launcher_.startEditor(path))
        dialogs_.message(editorNotFoundText(), MessageIcon::Critical, shortCaption());
}

void FileCommands::Exporter_Click(const RecordDocument& document)
{
    // A record whose decode stopped early has nothing on screen to export;
    // the menu may still be enabled from the record before it.
    if (document.refusal() != Refusal::None) {
        dialogs_.message(refusalText(document.refusal(), tables_), MessageIcon::Information, applicationTitle());
        return;
    }
    FileDialogRequest request;
    request.initialFolder = startFolder(QString());
    request.defaultExtension = QStringLiteral("xls");
    request.filter = {QStringLiteral("xls"), QStringLiteral("*.xls")};
    request.proposedName = pathWithoutExtension_ + QStringLiteral(".xls");
    request.confirmOverwrite = true;
    const QString path = withDefaultExtension(dialogs_.saveFile(request), request.defaultExtension);
    if (path.isEmpty())
        return;
    if (!hasXlsExtension(path)) {
        dialogs_.message(tables_.texts[fileExtensionError], MessageIcon::Information, applicationTitle());
        return;
    }
    const QByteArray bytes = exportRecord(document, tables_, QDateTime::currentDateTime());
    if (const auto error = writeExport(path, bytes)) {
        dialogs_.message(tables_.texts[exportNotWritten].arg(path, *error), MessageIcon::Critical, applicationTitle());
        return;
    }
    remember(path);
}

}  // namespace tormel
