#include "app/receive_command.h"

#include "app/command_folders.h"
#include "base/app_info.h"
#include "config/settings.h"
#include "download/download_copies.h"
#include "download/receiver.h"
#include "download/refusal_texts.h"
#include "platform/qt_serial_port.h"
#include "platform/sound.h"
#include "record/record_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>

#include <cstdio>
#include <utility>

#include <unistd.h>

namespace tormel {

namespace {

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
            const int value = args.value(i + 1).toInt(&ok);
            // A day is more than any wait for a logger, and keeps the milliseconds in range.
            if (!ok || value < 1 || value > (a == QLatin1String("--port") ? 4 : 86400))
                return QStringLiteral("%1 takes %2").arg(a, a == QLatin1String("--port") ? QStringLiteral("a port from 1 to 4")
                                                                                      : QStringLiteral("a number of seconds up to 86400"));
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

// After an image was accepted nothing may lose it: the dated copy is written
// first, and when neither it nor OUT can be written, a copy goes to a
// private folder in the temporary folder. The exit code.
template <typename Say>
int keepImage(const RecordImage& image, std::int16_t track, const QString& out, const QString& workingFolder, Say say,
              const QString& port)
{
    QString copyError, outError;
    QString copy = keepDownloadCopy(workingFolder, image, track, QDateTime::currentDateTime(), &copyError);
    const bool written = saveRecordFile(out, image, track, &outError);
    if (copy.isEmpty()) {
        say(QStringLiteral("warning: no copy kept in downloads: %1").arg(copyError));
        if (!written)
            copy = keepPrivateCopy(image, track, QDateTime::currentDateTime(), &copyError);
    }
    if (!written) {
        say(copy.isEmpty() ? QStringLiteral("cannot write %1: %2; the image could not be kept anywhere: %3")
                                 .arg(out, outError, copyError)
                           : QStringLiteral("cannot write %1: %2; the image is kept in %3").arg(out, outError, copy));
        return 1;
    }
    say(QStringLiteral("received %1 bytes on %2: wrote %3%4")
            .arg(ReceiveRules::ImageBytes)
            .arg(port, out, copy.isEmpty() ? QString() : QStringLiteral(", copy %1").arg(copy)));
    return 0;
}

}  // namespace

int receiveCommand(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    ReceiveOptions options;
    if (const QString error = parse(QCoreApplication::arguments(), options); !error.isEmpty()) {
        fail(error);
        return 2;
    }
    const CommandFolders folders = commandFolders();
    const SystemSettings settings = loadSettings(folders.program);
    const int port = options.port != 0 ? options.port : settings.comPort;
    if (port < 1 || port > 4) {
        fail(QStringLiteral("no port chosen: give one with --port N"));
        return 1;
    }

    QtSerialPort line;
    NoSound sound;
    DownloadReceiver receiver(line, sound);
    const bool terminal = isatty(fileno(stderr)) != 0;
    bool progressShown = false;
    // The progress line ends before any other line.
    const auto say = [&](const QString& text) {
        if (std::exchange(progressShown, false))
            std::fputc('\n', stderr);
        fail(text);
    };
    const QString device = portDevice(port);
    int exitCode = 1;
    QObject::connect(&receiver, &DownloadReceiver::accepted, &app, [&](const RecordImage& image) {
        exitCode = keepImage(image, std::int16_t(settings.currentTrack), options.out, folders.working, say,
                             QStringLiteral("Com%1 (%2)").arg(port).arg(device));
        QCoreApplication::exit(exitCode);
    });
    QObject::connect(&receiver, &DownloadReceiver::refused, &app, [&] {
        say(QStringLiteral("download refused: %1; nothing written").arg(englishRefusalText(receiver.rules())));
        QCoreApplication::exit(1);
    });
    int last = 0;
    QObject::connect(&receiver, &DownloadReceiver::waiting, &app, [&](int bytes) {
        // Once the session has ended the closed port shows 0: not progress.
        if (bytes != last && terminal && receiver.listening()) {
            std::fprintf(stderr, "\r%d/%d bytes", bytes, ReceiveRules::ImageBytes);
            progressShown = true;
        }
        last = bytes;
    });
    // Only the wait for the first byte is bounded: a transfer under way ends
    // by an image or by the receiver's own rules.
    QTimer::singleShot(options.timeoutSeconds * 1000, &app, [&] {
        if (receiver.waitedInVain()) {
            say(QStringLiteral("no byte within %1 s; nothing written").arg(options.timeoutSeconds));
            QCoreApplication::exit(1);
        }
    });

    PortProblem why;
    if (!receiver.start(port, &why)) {
        fail(QStringLiteral("cannot open Com%1: %2").arg(port).arg(englishText(why)));
        return 1;
    }
    // Scripts wait for this line before the logger may send.
    std::fprintf(stderr, "tormel_vue: listening on Com%d (%s)\n", port, qPrintable(device));
    return QCoreApplication::exec();
}

}  // namespace tormel
