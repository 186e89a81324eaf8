#include "platform/qt_serial_port.h"

#include <cstdio>

#ifdef __linux__
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace tormel {

QtSerialPort::QtSerialPort()
{
    // No cap on Qt's buffer: more than a memory image waiting must be seen,
    // as the overflow it is, rather than cut to size.
    port_.setReadBufferSize(0);
    QObject::connect(&port_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError)
            lost_ = true;
    });
}

bool QtSerialPort::open(int n, PortProblem* why)
{
    lost_ = false;
    events_.clear();
    countsKnown_ = false;
    const QString device = portDevice(n);
    if (device.isEmpty()) {
        if (why)
            *why = {PortProblem::Kind::NoDevice, n, {}, {}};
        return false;
    }
    port_.setPortName(device);
    if (!port_.open(QIODevice::ReadOnly)) {
        if (why) {
            *why = port_.error() == QSerialPort::PermissionError
                ? PortProblem{PortProblem::Kind::AccessDenied, n, device, {}}
                : PortProblem{PortProblem::Kind::Other, n, device, port_.errorString()};
        }
        return false;
    }
    port_.setBaudRate(QSerialPort::Baud9600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    port_.clear(QSerialPort::Input);
    pollCounters();
    return true;
}

void QtSerialPort::pollCounters()
{
#ifdef __linux__
    serial_icounter_struct icount{};
    if (ioctl(int(port_.handle()), TIOCGICOUNT, &icount) != 0) {
        static bool told = false;
        if (!told) {
            told = true;
            std::fputs("tormel_vue: this serial driver keeps no error counters; line errors go unseen\n", stderr);
        }
        return;
    }
    const std::array<int, 5> now{icount.frame, icount.parity, icount.overrun, icount.brk, icount.buf_overrun};
    static constexpr std::array<int, 5> codes{line_event::Framing, line_event::Parity, line_event::Overrun,
                                              line_event::Break, line_event::ReceiveOverflow};
    if (countsKnown_) {
        for (std::size_t i = 0; i < now.size(); ++i)
            for (int k = counts_[i]; k < now[i]; ++k)
                events_.push_back(codes[i]);
    }
    counts_ = now;
    countsKnown_ = true;
#endif
}

qint64 QtSerialPort::bytesWaiting()
{
    if (!port_.isOpen())
        return 0;
    // Takes what the driver holds without waiting for the event loop.
    port_.waitForReadyRead(0);
    pollCounters();
    return port_.bytesAvailable();
}

QByteArray QtSerialPort::readAll()
{
    return port_.isOpen() ? port_.readAll() : QByteArray();
}

void QtSerialPort::close()
{
    if (port_.isOpen())
        port_.close();
}

std::vector<int> QtSerialPort::takeEvents()
{
    std::vector<int> events;
    events.swap(events_);
    return events;
}

}  // namespace tormel
