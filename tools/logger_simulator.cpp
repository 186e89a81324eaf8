// Plays the logger's side of a download: sends a record's 2048-byte image to
// a serial device at the pace of the real line, so that the download can be
// tried without a logger (for instance over a socat pseudo-terminal pair).
#include "logger_simulator_args.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <variant>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using namespace tormel::simulator;

int fail(const QString& message)
{
    std::fprintf(stderr, "tormel_vue_simulator: %s\n", qPrintable(message));
    return 1;
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes all of `size` bytes, again after a signal or a partial write;
// false with errno set on failure.
bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// Raw 9600 baud 8N1 without flow control, and CLOCAL so that a port without
// carrier does not block.
bool setRawLine(int fd)
{
    termios line {};
    if (::tcgetattr(fd, &line) != 0)
        return false;
    ::cfmakeraw(&line);
    line.c_iflag &= tcflag_t(~(IXON | IXOFF | IXANY));
    line.c_cflag &= tcflag_t(~(CSIZE | PARENB | CSTOPB));
#ifdef CRTSCTS
    line.c_cflag &= tcflag_t(~CRTSCTS);
#endif
    line.c_cflag |= CS8 | CLOCAL | CREAD;
    if (::cfsetispeed(&line, B9600) != 0 || ::cfsetospeed(&line, B9600) != 0)
        return false;
    return ::tcsetattr(fd, TCSANOW, &line) == 0;
}

// Opened without waiting for a carrier, then blocking again for the writes.
int openDevice(const QString& device, QString* error)
{
    const int fd = ::open(QFile::encodeName(device).constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = QStringLiteral("cannot open %1: %2").arg(device, systemError(errno));
        return -1;
    }
    if (!::isatty(fd)) {
        *error = QStringLiteral("%1 is not a serial device").arg(device);
    } else if (!setRawLine(fd)) {
        *error = QStringLiteral("cannot set up %1: %2").arg(device, systemError(errno));
    } else {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0)
            return fd;
        *error = QStringLiteral("cannot set up %1: %2").arg(device, systemError(errno));
    }
    ::close(fd);
    return -1;
}

void showProgress(qsizetype sent, qsizetype total)
{
    std::printf("\rtormel_vue_simulator: %lld/%lld bytes sent", static_cast<long long>(sent), static_cast<long long>(total));
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const auto parsed = parseArguments(arguments);
    if (const QString* error = std::get_if<QString>(&parsed))
        return fail(*error);
    const Options& options = std::get<Options>(parsed);
    if (options.help) {
        std::fputs(qPrintable(helpText()), stdout);
        return 0;
    }

    QFile record(options.record);
    if (!record.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(options.record, record.errorString()));
    const QByteArray image = record.read(imageSize);
    if (image.size() != imageSize)
        return fail(QStringLiteral("%1 holds %2 bytes, fewer than the %3 of an image").arg(options.record).arg(image.size()).arg(imageSize));
    record.close();

    QString error;
    const int fd = openDevice(options.device, &error);
    if (fd < 0)
        return fail(error);

    const QByteArray bytes = bytesToSend(image, options);
    const bool progress = ::isatty(STDOUT_FILENO) != 0;
    bool written = true;
    if (options.fast) {
        written = writeAll(fd, bytes.constData(), bytes.size());
    } else {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point start = Clock::now();
        for (qsizetype i = 0; i < bytes.size() && written; i += options.chunk) {
            const qsizetype n = std::min<qsizetype>(options.chunk, bytes.size() - i);
            std::this_thread::sleep_until(start + std::chrono::microseconds(byteDeadline(i + n - 1)));
            written = writeAll(fd, bytes.constData() + i, n);
            if (progress && ((i + n) / 64 != i / 64 || i + n == bytes.size()))
                showProgress(i + n, bytes.size());
        }
    }
    if (written) {
        int drained;
        do
            drained = ::tcdrain(fd);
        while (drained != 0 && errno == EINTR);
        written = drained == 0;
    }
    const int writeError = errno;
    ::close(fd);
    if (progress && !options.fast && !bytes.isEmpty())
        std::putchar('\n');
    if (!written)
        return fail(QStringLiteral("cannot write to %1: %2").arg(options.device, systemError(writeError)));
    if (progress)
        std::printf("tormel_vue_simulator: %lld bytes sent to %s\n", static_cast<long long>(bytes.size()), qPrintable(options.device));
    return 0;
}
