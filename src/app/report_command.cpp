#include "app/report_command.h"

#include "app/command_folders.h"
#include "base/app_info.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/qt_serial_port.h"
#include "platform/sound.h"
#include "shell/principale.h"
#include "tracks/track_file.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace tormel {

namespace {

// The window drawn off screen, at 200 dots an inch across an A4 page.
constexpr int PageWidthPixels = 2338;
constexpr int PageHeightPixels = 1654;

// Nobody answers: what the window would say is kept for standard error.
class KeptMessages final : public Dialogs {
public:
    void message(const QString& text, MessageIcon, const QString&) override { texts << text; }
    QString openFile(const FileDialogRequest&) override { return {}; }
    QString saveFile(const FileDialogRequest&) override { return {}; }
    QStringList texts;
};

class NoLauncher final : public Launcher {
public:
    bool startEditor(const QString&) override { return false; }
};

void fail(const QString& line)
{
    std::fprintf(stderr, "tormel_vue: %s\n", qPrintable(line));
}

}  // namespace

int reportCommand(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(applicationTitle());
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4 || !args.at(3).endsWith(QLatin1String("pdf"), Qt::CaseInsensitive)) {
        fail(QStringLiteral("--report takes a record file and an output file ending in pdf"));
        return 2;
    }
    const QString record = QFileInfo(args.at(2)).absoluteFilePath();
    const QString out = QFileInfo(args.at(3)).absoluteFilePath();
    if (!QFileInfo(record).isFile()) {
        fail(QStringLiteral("cannot read the record %1: no such file").arg(args.at(2)));
        return 1;
    }
    const CommandFolders folders = commandFolders();
    const QString trackFile = commandTrackFile(folders.working);
    // The window may create the track file and append to the error log of
    // the current folder: it works on a copy, in a scratch folder, so the
    // report changes nothing but OUT.
    QTemporaryDir scratch;
    const QString scratchTrackFile = QDir(scratch.path()).filePath(trackFileName);
    if (QFileInfo::exists(trackFile))
        QFile::copy(trackFile, scratchTrackFile);
    QDir::setCurrent(scratch.path());

    KeptMessages dialogs;
    NoLauncher launcher;
    QtSerialPort port;
    NoSound sound;
    Principale window(Services{dialogs, launcher, port, sound, folders.program, QString(), folders.shipped, scratchTrackFile});
    window.resize(PageWidthPixels, PageHeightPixels);
    window.Form_Load();
    window.Picture2_Click();
    dialogs.texts.clear();
    window.openRecord(record);
    if (!dialogs.texts.isEmpty()) {
        fail(QStringLiteral("%1: %2").arg(args.at(2), dialogs.texts.join(QStringLiteral(" / "))));
        return 1;
    }
    QString error;
    if (!window.writeReport(out, &error)) {
        fail(QStringLiteral("cannot write %1: %2").arg(args.at(3), error));
        return 1;
    }
    return 0;
}

}  // namespace tormel
