#include "logger_simulator_args.h"

namespace tormel::simulator {

namespace {

// A count between 0 and `maximum`, or an error naming the option.
std::variant<int, QString> parseCount(const QString& option, const QString& text, int maximum)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || value < 0 || value > maximum)
        return QStringLiteral("%1 needs a number from 0 to %2, not \"%3\"").arg(option).arg(maximum).arg(text);
    return value;
}

}  // namespace

std::variant<Options, QString> parseArguments(const QStringList& arguments)
{
    Options options;
    QStringList positional;
    bool stopAfterGiven = false;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            positional.append(argument);
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
            continue;
        }
        if (argument == QLatin1String("--fast")) {
            options.fast = true;
            continue;
        }
        // --stop-after N, --stop-after=N, --extra N, --extra=N, --chunk N, --chunk=N
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? argument : argument.left(equals);
        const bool stopAfter = name == QLatin1String("--stop-after");
        const bool chunk = name == QLatin1String("--chunk");
        if (!stopAfter && !chunk && name != QLatin1String("--extra"))
            return QStringLiteral("unknown option \"%1\" (see --help)").arg(argument);
        QString value;
        if (equals >= 0) {
            value = argument.mid(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments.at(++i);
        } else {
            return QStringLiteral("%1 needs a number").arg(name);
        }
        const auto count = parseCount(name, value, stopAfter || chunk ? imageSize : maxExtraBytes);
        if (const QString* error = std::get_if<QString>(&count))
            return *error;
        if (chunk) {
            if (std::get<int>(count) < 1)
                return QStringLiteral("--chunk takes a number from 1 to %1").arg(imageSize);
            options.chunk = std::get<int>(count);
        } else if (stopAfter) {
            options.stopAfter = std::get<int>(count);
            stopAfterGiven = true;
        } else {
            options.extra = std::get<int>(count);
        }
    }
    if (options.help)
        return options;
    // Extra bytes follow the whole image; after a cut image they would mean nothing.
    if (stopAfterGiven && options.extra > 0)
        return QStringLiteral("--stop-after and --extra cannot be used together");
    if (positional.size() != 2)
        return QStringLiteral("expected RECORD and DEVICE, got %1 argument(s) (see --help)").arg(positional.size());
    options.record = positional.at(0);
    options.device = positional.at(1);
    return options;
}

QString helpText()
{
    return QStringLiteral(
        "usage: tormel_vue_simulator [options] RECORD DEVICE\n"
        "\n"
        "Sends the 2048-byte memory image of RECORD to the serial device DEVICE as\n"
        "the logger does: 9600 baud, 8 data bits, no parity, 1 stop bit, no flow\n"
        "control, at the line's real pace (960 bytes a second, 2.13 s for the image).\n"
        "RECORD is a record file (.Tml) or any file of at least 2048 bytes: its\n"
        "first 2048 bytes are sent. DEVICE is a terminal, for instance one end of\n"
        "  socat -d -d pty,raw,echo=0 pty,raw,echo=0\n"
        "\n"
        "options:\n"
        "  --stop-after N  send only the first N bytes of the image (0 to 2048)\n"
        "  --extra N       after the image, send N more bytes: the image again from\n"
        "                  its start (up to 1048576)\n"
        "  --chunk N       hand the bytes over N at a time, each group when its last\n"
        "                  byte is due, as USB serial adapters do (1 to 2048; 1)\n"
        "  --fast          no pacing: write everything at once\n"
        "  --help          show this text\n"
        "\n"
        "Exits 0 once every byte has left, 1 on any error.\n");
}

std::int64_t byteDeadline(std::int64_t index)
{
    return (index + 1) * bitsPerByte * 1'000'000 / baudRate;
}

QByteArray bytesToSend(const QByteArray& image, const Options& options)
{
    QByteArray bytes = image.left(options.stopAfter);
    if (image.isEmpty())
        return bytes;
    bytes.reserve(bytes.size() + options.extra);
    for (int i = 0; i < options.extra; ++i)
        bytes.append(image.at(i % image.size()));
    return bytes;
}

}  // namespace tormel::simulator
