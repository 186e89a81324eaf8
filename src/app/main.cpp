#include "app/export_command.h"
#include "app/receive_command.h"
#include "app/report_command.h"
#include "base/app_info.h"
#include "config/program_folder.h"
#include "config/user_settings.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/qt_serial_port.h"
#include "platform/sound.h"
#include "shell/principale.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QScreen>

#include <atomic>
#include <chrono>
#include <thread>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

namespace {

const char* const usage =
    "Usage: tormel_vue [RECORD.Tml]\n"
    "       tormel_vue --export RECORD.Tml OUT.xls\n"
    "       tormel_vue --export RECORD.Tml... --to FOLDER\n"
    "       tormel_vue --receive OUT.Tml [--port N] [--timeout SECONDS]\n"
    "       tormel_vue --report RECORD.Tml OUT.pdf\n"
    "       tormel_vue --help\n"
    "\n"
    "Starts the window, opening RECORD.Tml when it is given.\n"
    "\n"
    "--export RECORD.Tml OUT.xls\n"
    "    Writes the spreadsheet file that opening RECORD and choosing Exporter\n"
    "    would write, without opening a window: the lap table in lap order, or\n"
    "    one line per sample of an engine-speed record. Units and language come\n"
    "    from the program's settings; track lengths from Pistes.aqw in the\n"
    "    current folder. OUT must end in xls. Nothing but OUT is written.\n"
    "    Exits 0 on success; on failure prints one line and leaves OUT as it was.\n"
    "\n"
    "--export RECORD.Tml... --to FOLDER\n"
    "    The same for many records in one run, on all the cores: each record's\n"
    "    file, named as the record with .xls, goes into FOLDER (a file already\n"
    "    there is replaced). A record that fails is named with its reason and\n"
    "    the others go on; of two records with the same name the second is\n"
    "    refused. A summary line gives the counts; on a terminal a progress line\n"
    "    shows the records done. Exits 0 only when every record was exported.\n"
    "\n"
    "--receive OUT.Tml [--port N] [--timeout SECONDS]\n"
    "    Listens on port N (1 to 4; default: the port of the settings) as Start\n"
    "    Scan does, without a window, until the logger has sent its image. The\n"
    "    image is first kept as a dated copy in downloads/ of the current folder,\n"
    "    then written to OUT with the current track. Prints \"listening on ComN\"\n"
    "    once the port is open (scripts wait for it), on a terminal the progress\n"
    "    as N/2048 bytes, then one line on standard error: on success the bytes,\n"
    "    the port, OUT and the copy (exit 0); when OUT cannot be written, where\n"
    "    the image is kept (exit 1); a refused download says why (the line went\n"
    "    away, too few bytes then 2 s quiet, more than 2048 bytes, line errors by\n"
    "    name and count) and writes nothing (exit 1). The timeout (default 120 s)\n"
    "    bounds only the wait for the first byte (exit 1). A port that cannot be\n"
    "    opened says why (exit 1); wrong arguments exit 2.\n"
    "\n"
    "--report RECORD.Tml OUT.pdf\n"
    "    Writes the session report of RECORD as an A4 landscape PDF, without a\n"
    "    display: the caption and header, the lap table with its colours (all\n"
    "    laps), the lap-time chart and the ranges, or for an engine-speed record\n"
    "    the three quickest laps; in the language and units of the settings. A\n"
    "    record that shows nothing prints why and writes no file (exit 1).\n";

// Many records into one folder: a line per failure, a summary, and on a
// terminal a progress line.
int exportBatchCommand(const QStringList& records, const QString& outFolder, const QString& programFolder,
                       const QString& installedData)
{
    if (!QFileInfo(outFolder).isDir()) {
        std::fprintf(stderr, "tormel_vue: %s: no such folder\n", qPrintable(outFolder));
        return 1;
    }
    const tormel::ExportContext context = tormel::exportContext(programFolder, installedData);
    if (!context.language.warning.isEmpty())
        std::fprintf(stderr, "tormel_vue: %s\n", qPrintable(context.language.warning));
    std::atomic<int> done = 0;
    const bool terminal = isatty(fileno(stderr)) != 0;
    std::vector<tormel::BatchResult> results;
    std::thread exporting([&] { results = tormel::exportBatch(records, outFolder, context, QDateTime::currentDateTime(), &done); });
    while (terminal && done < records.size()) {
        std::fprintf(stderr, "\r%d of %lld", done.load(), static_cast<long long>(records.size()));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    exporting.join();
    if (terminal)
        std::fputc('\n', stderr);
    int failed = 0;
    for (int i = 0; i < int(results.size()); ++i) {
        if (results[std::size_t(i)].result.ok)
            continue;
        ++failed;
        std::fprintf(stderr, "tormel_vue: %s: %s\n", qPrintable(records.at(i)), qPrintable(results[std::size_t(i)].result.error));
    }
    std::printf("%lld exported, %d failed\n", static_cast<long long>(records.size()) - failed, failed);
    return failed == 0 ? 0 : 1;
}

int exportCommand(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The same name as the window's, so both find the same per-user folder.
    QCoreApplication::setApplicationName(tormel::applicationTitle());
    const QStringList args = QCoreApplication::arguments();
    const qsizetype to = args.indexOf(QStringLiteral("--to"));
    const bool batch = to >= 3 && to == args.size() - 2;
    if (!batch && (args.size() != 4 || to >= 0)) {
        std::fputs("tormel_vue: --export takes a record file and an output file, or records and --to FOLDER\n", stderr);
        std::fputs(usage, stderr);
        return 2;
    }
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString installedData = tormel::installedDataFolder(executableFolder);
    const QString folder =
        tormel::decideProgramFolder(executableFolder, installedData, QString(), tormel::FolderAccess::ReadOnly);
    if (batch)
        return exportBatchCommand(args.mid(2, to - 2), args.last(), folder, installedData);
    const tormel::ExportCommandResult result =
        tormel::exportRecordFile(args.at(2), args.at(3), folder, installedData, QDateTime::currentDateTime());
    if (!result.warning.isEmpty())
        std::fprintf(stderr, "tormel_vue: %s\n", qPrintable(result.warning));
    if (!result.ok) {
        std::fprintf(stderr, "tormel_vue: %s\n", qPrintable(result.error));
        return 1;
    }
    return 0;
}

bool displayAvailable()
{
    // Without any of these Qt would abort with a long platform-plugin report.
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        return EXIT_SUCCESS;
    }
    if (argc >= 2 && std::strcmp(argv[1], "--export") == 0)
        return exportCommand(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--receive") == 0)
        return tormel::receiveCommand(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--report") == 0)
        return tormel::reportCommand(argc, argv);
    if (!displayAvailable()) {
        std::fputs("tormel_vue: no display found (DISPLAY is not set); start it from a desktop session or under xvfb-run.\n", stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(tormel::applicationTitle());
    QApplication::setApplicationVersion(tormel::versionText());

    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString programFolder =
        tormel::decideProgramFolder(executableFolder, tormel::installedDataFolder(executableFolder));
    // A record named on the command line is found from where the user stands.
    QStringList args = QCoreApplication::arguments();
    if (args.size() >= 2)
        args[1] = QFileInfo(args.at(1)).absoluteFilePath();
    const QString working = tormel::decideWorkingFolder(
        QDir::currentPath(), QDir::homePath(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (working != QDir::currentPath()) {
        std::fprintf(stderr, "tormel_vue: working in %s\n", qPrintable(working));
        QDir::setCurrent(working);
    }

    tormel::QtDialogs dialogs;
    tormel::QtLauncher launcher;
    tormel::QtSerialPort serialPort;
    tormel::QtSound sound;
    tormel::Principale window(tormel::Services{dialogs, launcher, serialPort, sound, programFolder, tormel::UserSettings::standardFile()});
    dialogs.setParentWidget(&window);
    // Without a window manager (a bare X server) maximising does nothing: take the screen ourselves.
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        window.setGeometry(primary->availableGeometry());
    window.showMaximized();
    window.Form_Load();
    // A record named on the command line (a file manager's "open with") opens
    // as if chosen in the open dialog.
    if (args.size() >= 2)
        window.ouvrirRecord(args.at(1));
    return QApplication::exec();
}
