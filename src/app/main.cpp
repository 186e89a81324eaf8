#include "app/command_folders.h"
#include "app/compare_command.h"
#include "app/export_command.h"
#include "app/library_command.h"
#include "app/receive_command.h"
#include "app/report_command.h"
#include "app/trace_command.h"
#include "base/app_info.h"
#include "config/program_folder.h"
#include "config/user_settings.h"
#include "library/session_index.h"
#include "laps/export.h"
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
    "       tormel_vue --library [FOLDER...] [--format csv|json | --report OUT.pdf]\n"
    "       tormel_vue --compare RECORD[:N] RECORD[:N]... [--gearing F/R] --report OUT.pdf\n"
    "       tormel_vue --trace RECORD[:N] [--format csv|json] [--gearing F/R] [--sprockets F/R]\n"
    "       tormel_vue --help | --version\n"
    "\n"
    "Starts the window, opening RECORD.Tml when it is given. Qt's own options\n"
    "(-platform, -style, -session...) are passed to Qt.\n"
    "\n"
    "The commands below open no window and need no display. Paths given on the\n"
    "command line are taken from the current folder. The track file Pistes.aqw\n"
    "and downloads/ are those of the window's working folder: the current\n"
    "folder, or ~/Documents/Tormel_Vue when the current folder is the home\n"
    "folder or cannot be written; a command says which track file it read when\n"
    "it is not the current folder's.\n"
    "\n"
    "--export RECORD.Tml OUT.xls\n"
    "    Writes the spreadsheet file that opening RECORD and choosing Exporter\n"
    "    would write: the lap table in lap order, or one line per sample of an\n"
    "    engine-speed record. Units and language come from the program's\n"
    "    settings, track lengths from Pistes.aqw. OUT must end in xls. Nothing\n"
    "    but OUT is written. Exits 0 on success; on failure prints one line and\n"
    "    leaves OUT as it was (exit 1).\n"
    "\n"
    "--export RECORD.Tml... --to FOLDER\n"
    "    The same for many records in one run, on all the cores: each record's\n"
    "    file, named as the record with .xls, goes into FOLDER, created when\n"
    "    missing (a file already there is replaced). A record that fails is\n"
    "    named with its reason and the others go on; of two records with the\n"
    "    same name the second is refused. A summary line gives the counts; on a\n"
    "    terminal a progress line shows the records done. Exits 0 only when\n"
    "    every record was exported, else 1.\n"
    "\n"
    "--receive OUT.Tml [--port N] [--timeout SECONDS]\n"
    "    Listens on port N (1 to 4; default: the port of the settings) as Start\n"
    "    Scan does, without a window, until the logger has sent its image. The\n"
    "    image is first kept as a dated copy in downloads/ of the working folder,\n"
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
    "    Writes the session report of RECORD as an A4 landscape PDF: the caption\n"
    "    and header, the lap table with its colours (all laps), the lap-time\n"
    "    chart and the ranges, or for an engine-speed record the three quickest\n"
    "    laps; in the language and units of the settings. A record that shows\n"
    "    nothing prints why and writes no file (exit 1).\n"
    "\n"
    "--library [FOLDER...] [--format csv|json]\n"
    "    Brings the library index up to date and prints one row per session:\n"
    "    the records of the working folder and its downloads/, of the folders\n"
    "    the window's library keeps and of the FOLDERs given (for this run\n"
    "    only; these and the kept ones with their subfolders). A session is one\n"
    "    record image, however many files hold it. CSV (RFC 4180, a header\n"
    "    row, UTF-8) or a JSON array of objects with the same fields; times in\n"
    "    seconds with two decimals, temperatures in degrees Celsius. A file\n"
    "    that cannot be read is listed with its reason. The index is the file\n"
    "    library.sqlite of the per-user data folder, a cache of the record\n"
    "    files: an unchanged file is not read again. Exits 0, or 1 with one\n"
    "    line saying what failed.\n"
    "    With --report, writes the same sessions as an A4 landscape PDF in the\n"
    "    window's language instead: per track (those without a number last),\n"
    "    its bests with their sessions, its season chart, each session's laps\n"
    "    within 0.10 s and spread, and the table of its sessions. Exits 1 with\n"
    "    one line when no session is found or OUT cannot be written.\n"
    "\n"
    "--compare RECORD[:N] RECORD[:N]... [--gearing F/R] --report OUT.pdf\n"
    "    Writes the comparison of two to six laps of one kind as an A4 landscape\n"
    "    PDF, the first lap the reference: for lap-timing laps each lap's time\n"
    "    and section times with their differences to the reference's, its\n"
    "    session's best, theoretical best and consistency and a bar chart of the\n"
    "    section differences; for engine-speed laps their traces overlaid, each\n"
    "    lap's maximum, minimum and mean engine speed and their histograms; for\n"
    "    both the setup sheets side by side with what differs marked. A final :N\n"
    "    chooses lap N of the record, else its best lap. Engine-speed laps have\n"
    "    their road speed when their track in Pistes.aqw has a lap length and\n"
    "    their setup sheet the sprockets; --gearing F/R adds a page of the\n"
    "    reference lap with F teeth at the front and R at the rear. Exits 0, or 1\n"
    "    with one line naming what cannot be compared; wrong arguments exit 2.\n"
    "\n"
    "--trace RECORD[:N] [--format csv|json] [--gearing F/R] [--sprockets F/R]\n"
    "    Prints lap N of an engine-speed record (default: its best lap), one row\n"
    "    per sample from the beacon pass that opens the lap to the one that\n"
    "    closes it: time (s from the lap's start), rpm (raw), fraction (of the\n"
    "    lap, by the engine's revolutions), distance (m) and speed (km/h), the\n"
    "    last two empty without a lap length in Pistes.aqw. CSV (a header row,\n"
    "    commas, a decimal point) or a JSON array of objects with the same keys.\n"
    "    --gearing F/R adds rpmWithGearing, the engine speed at the same road\n"
    "    speed with F front and R rear teeth; it needs the present sprockets,\n"
    "    from the session's setup sheet or --sprockets F/R, which wins. Teeth\n"
    "    are whole numbers from 5 to 120. Exits 0; 1 with one line for a record\n"
    "    that cannot be read, is not an engine-speed record or has no such\n"
    "    closed lap; wrong arguments exit 2.\n"
    "\n"
    "--help     prints this text (exit 0)\n"
    "--version  prints the version (exit 0)\n"
    "An unknown option, or --export without its files, prints this text on\n"
    "standard error and exits 2; --receive and --report given wrong arguments\n"
    "say what is wrong in one line and exit 2.\n";

int usageError(const QString& line)
{
    std::fprintf(stderr, "tormel_vue: %s\n", qPrintable(line));
    std::fputs(usage, stderr);
    return 2;
}

// Many records into one folder: a line per failure, a summary, and on a
// terminal a progress line.
int exportBatchCommand(const QStringList& records, const QString& outFolder, const tormel::ExportContext& context)
{
    if (QFileInfo::exists(outFolder) && !QFileInfo(outFolder).isDir()) {
        std::fprintf(stderr, "tormel_vue: %s is not a folder\n", qPrintable(outFolder));
        return 1;
    }
    if (!QDir().mkpath(outFolder)) {
        std::fprintf(stderr, "tormel_vue: cannot create the folder %s\n", qPrintable(outFolder));
        return 1;
    }
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
        std::fprintf(stderr, "\r%d of %lld\n", done.load(), static_cast<long long>(records.size()));
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
    const QStringList args = QCoreApplication::arguments();
    const qsizetype to = args.indexOf(QStringLiteral("--to"));
    const bool batch = to >= 3 && to == args.size() - 2;
    if (!batch && (args.size() != 4 || to >= 0))
        return usageError(QStringLiteral("--export takes a record file and an output file, or records and --to FOLDER"));
    if (!batch && !tormel::hasXlsExtension(args.at(3))) {
        std::fprintf(stderr, "tormel_vue: the output name must end in xls: %s\n", qPrintable(args.at(3)));
        return 1;
    }
    const tormel::CommandFolders folders = tormel::commandFolders();
    tormel::commandTrackFile(folders.working);
    const tormel::ExportContext context = tormel::exportContext(folders.program, folders.shipped, folders.working);
    if (!context.language.warning.isEmpty())
        std::fprintf(stderr, "tormel_vue: %s\n", qPrintable(context.language.warning));
    if (batch)
        return exportBatchCommand(args.mid(2, to - 2), args.last(), context);
    const tormel::ExportCommandResult result =
        tormel::exportOneRecord(args.at(2), args.at(3), context, QDateTime::currentDateTime());
    if (!result.ok) {
        std::fprintf(stderr, "tormel_vue: %s\n", qPrintable(result.error));
        return 1;
    }
    return 0;
}

// Qt's own options, which QApplication takes out of the arguments; Qt reads
// them after one dash or two, some with a value in the next argument.
struct QtOption {
    const char* name;
    bool takesValue;
};
constexpr QtOption qtOptions[] = {
    {"platform", true},  {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true}, {"qwindowtitle", true}, {"session", true},
    {"display", true},   {"geometry", true},  {"style", true},  {"stylesheet", true},  {"qmljsdebugger", true},
    {"reverse", false},  {"widgetcount", false}, {"nograb", false}, {"dograb", false}, {"sync", false},
};

const QtOption* findQtOption(const QString& arg)
{
    QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
    name = name.left(name.indexOf(QLatin1Char('=')));
    for (const QtOption& option : qtOptions) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

enum class WindowCall { Window, Help, Version, Unknown };

// What the arguments of a start without a command ask for; `unknown` names
// the first option of ours that we do not have.
WindowCall windowCall(int argc, char* argv[], QString& unknown)
{
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--"))
            break;  // what follows is a record, whatever its name
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            return WindowCall::Help;
        if (arg == QLatin1String("--version"))
            return WindowCall::Version;
        if (!arg.startsWith(QLatin1Char('-')) || arg.size() < 2)
            continue;
        if (const QtOption* option = findQtOption(arg)) {
            if (option->takesValue && !arg.contains(QLatin1Char('=')))
                ++i;
            continue;
        }
        if (arg.startsWith(QLatin1String("--"))) {
            unknown = arg;
            return WindowCall::Unknown;
        }
    }
    return WindowCall::Window;
}

// The commands speak only in their own lines. Qt's notes on the session it
// runs in (no XDG_RUNTIME_DIR on a machine nobody logged in to, fonts of the
// offscreen platform) are not theirs to print; Qt's errors still are.
void commandMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(text));
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
    // Before any command: the per-user settings and data folders are named
    // after the application, so the window and every command share them.
    QCoreApplication::setApplicationName(tormel::applicationTitle());
    // Without TZ, the C library reads the zone file again at every local
    // time it works out: the library's ten thousand dates cost a tenth of a
    // second. Naming the file it would read anyway changes no time shown.
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
    for (const char* command : {"--export", "--receive", "--report", "--library", "--compare"}) {
        if (argc >= 2 && std::strcmp(argv[1], command) == 0)
            qInstallMessageHandler(commandMessages);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--export") == 0)
        return exportCommand(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--receive") == 0)
        return tormel::receiveCommand(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--report") == 0)
        return tormel::reportCommand(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--library") == 0)
        return tormel::libraryCommand(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--compare") == 0)
        return tormel::compareCommand(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--trace") == 0)
        return tormel::traceCommand(argc, argv);
    QString unknown;
    switch (windowCall(argc, argv, unknown)) {
    case WindowCall::Help:
        std::fputs(usage, stdout);
        return EXIT_SUCCESS;
    case WindowCall::Version:
        std::printf("tormel_vue %s\n", qPrintable(tormel::versionText()));
        return EXIT_SUCCESS;
    case WindowCall::Unknown:
        return usageError(QStringLiteral("unknown option %1").arg(unknown));
    case WindowCall::Window:
        break;
    }
    if (!displayAvailable()) {
        std::fputs("tormel_vue: no display found (DISPLAY is not set); start it from a desktop session or under xvfb-run.\n", stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);

    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString shipped = tormel::installedDataFolder(executableFolder);
    const QString programFolder = tormel::decideProgramFolder(executableFolder, shipped);
    // Qt has taken its own options out; a record named on the command line
    // is found from where the user stands.
    QStringList args = QCoreApplication::arguments();
    args.removeOne(QStringLiteral("--"));
    if (args.size() >= 2)
        args[1] = QFileInfo(args.at(1)).absoluteFilePath();
    const QString working = tormel::standardWorkingFolder(tormel::FolderAccess::Prepare);
    if (working != QDir::currentPath()) {
        std::fprintf(stderr, "tormel_vue: working in %s\n", qPrintable(working));
        QDir::setCurrent(working);
    }

    tormel::QtDialogs dialogs;
    tormel::QtLauncher launcher;
    tormel::QtSerialPort serialPort;
    tormel::QtSound sound;
    tormel::Services services{dialogs, launcher, serialPort, sound, programFolder, tormel::UserSettings::standardFile(), shipped};
    services.libraryFile = tormel::SessionIndex::standardFile();
    tormel::Principale window(services);
    tormel::startWindow(window, args.size() >= 2 ? args.at(1) : QString());
    return QApplication::exec();
}
