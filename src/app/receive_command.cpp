#include "app/receive_command.h"

#include "app/command_language.h"
#include "base/app_info.h"
#include "config/program_folder.h"
#include "config/settings.h"
#include "download/download_copies.h"
#include "download/receiver.h"
#include "platform/qt_serial_port.h"
#include "platform/sound.h"
#include "record/record_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

#include <unistd.h>

namespace tormel {

namespace {

// A line that stays quiet this long after bytes came counts as a click on Stop.
constexpr qint64 QuietMilliseconds = 2000;
constexpr int DefaultTimeoutSeconds = 120;

struct ReceiveOptions {
    QString out;
    int port = 0;  // 0: the port of the settings
    int timeoutSeconds = DefaultTimeoutSeconds;
};

// The options, or an error line.
QString parse(const QStringList& args, ReceiveOptions& o)
{
    for (int i = 2; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--port") || a == QLatin1String("--timeout")) {
            bool ok = false;
            const int value = i + 1 < args.size() ? args.at(i + 1).toInt(&ok) : 0;
            if (!ok || value < 1 || (a == QLatin1String("--port") && value > 4))
                return QStringLiteral("%1 takes %2").arg(a, a == QLatin1String("--port") ? QStringLiteral("a port from 1 to 4")
                                                                                      : QStringLiteral("a number of seconds"));
            (a == QLatin1String("--port") ? o.port : o.timeoutSeconds) = value;
            ++i;
        } else if (o.out.isEmpty() && !a.startsWith(QLatin1String("--"))) {
            o.out = a;
        } else {
            return QStringLiteral("unexpected argument %1").arg(a);
        }
    }
    if (o.out.isEmpty())
        return QStringLiteral("--receive takes the record file to write");
    if (o.out.right(3).compare(QLatin1String("Tml"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("the record file must end in Tml: %1").arg(o.out);
    return {};
}

void fail(const QString& line)
{
    std::fprintf(stderr, "tormel_vue: %s\n", qPrintable(line));
}

}  // namespace

int receiveCommand(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(applicationTitle());
    ReceiveOptions options;
    if (const QString error = parse(QCoreApplication::arguments(), options); !error.isEmpty()) {
        fail(error);
        return 2;
    }
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString installedData = installedDataFolder(executableFolder);
    const QString programFolder = decideProgramFolder(executableFolder, installedData, QString(), FolderAccess::ReadOnly);
    const SystemSettings settings = Charge_System(programFolder);
    const Language language = readLanguage(programFolder, installedData, settings.Choix_Langue);
    const int port = options.port != 0 ? options.port : settings.Port_Com;
    if (port < 1 || port > 4) {
        fail(QStringLiteral("no port chosen: give one with --port N"));
        return 1;
    }

    QtSerialPort line;
    NoSound sound;
    DownloadReceiver receiver(line, sound);
    const bool terminal = isatty(fileno(stderr)) != 0;
    int exitCode = 1;
    QObject::connect(&receiver, &DownloadReceiver::accepted, &app, [&](const RecordImage& image) {
        QString error;
        if (!Sauve_Fichier(options.out, image, std::int16_t(settings.Piste_Courante), &error)) {
            fail(QStringLiteral("cannot write %1: %2").arg(options.out, error));
        } else {
            exitCode = 0;
            if (keepDownloadCopy(standardWorkingFolder(FolderAccess::ReadOnly), image, std::int16_t(settings.Piste_Courante),
                                 QDateTime::currentDateTime(), &error).isEmpty())
                fail(QStringLiteral("warning: no copy kept in downloads: %1").arg(error));
        }
        QCoreApplication::exit(exitCode);
    });
    QObject::connect(&receiver, &DownloadReceiver::refused, &app, [&] {
        if (terminal)
            std::fputc('\n', stderr);
        fail(language.tables.Textes[10]);
        QCoreApplication::exit(1);
    });
    int last = 0;
    QElapsedTimer sinceChange;
    sinceChange.start();
    QObject::connect(&receiver, &DownloadReceiver::waiting, &app, [&](int bytes) {
        if (bytes != last) {
            last = bytes;
            sinceChange.restart();
            if (terminal)
                std::fprintf(stderr, "\r%d bytes", bytes);
        } else if (bytes > 0 && sinceChange.elapsed() >= QuietMilliseconds) {
            receiver.stop();
        }
    });
    QTimer::singleShot(options.timeoutSeconds * 1000, &app, [&] {
        line.close();
        fail(QStringLiteral("no image within %1 s").arg(options.timeoutSeconds));
        QCoreApplication::exit(1);
    });

    QString why;
    if (!receiver.start(port, &why)) {
        fail(QStringLiteral("cannot open Com%1: %2").arg(port).arg(why));
        return 1;
    }
    // Scripts wait for this line before the logger may send.
    std::fprintf(stderr, "tormel_vue: listening on Com%d (%s)\n", port, qPrintable(portDevice(port)));
    return QCoreApplication::exec();
}

}  // namespace tormel
