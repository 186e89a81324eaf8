#include "download/receiver.h"

#include "platform/serial_port.h"
#include "platform/sound.h"

#include <QTimer>

#include <algorithm>
#include <climits>

namespace tormel {

int counterOfEvent(int event)
{
    switch (event) {
    case line_event::EndOfFile: return 0;
    case line_event::Break: return 1;
    case 1002: return 2;  // clear-to-send time-out
    case 1003: return 3;  // data-set-ready time-out
    case line_event::Framing: return 4;
    case line_event::Overrun: return 5;
    case 1007: return 6;  // carrier-detect time-out
    case line_event::ReceiveOverflow: return 7;
    case line_event::Parity: return 8;
    case 1010: return 9;  // transmit buffer full
    default: return -1;
    }
}

DownloadReceiver::DownloadReceiver(SerialPort& port, Sound& sound, QObject* parent)
    : QObject(parent), port_(port), sound_(sound), timer1_(new QTimer(this))
{
    setObjectName(QStringLiteral("receiver"));
    cerror_.fill(QStringLiteral("0"));
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(TickMilliseconds);
    connect(timer1_, &QTimer::timeout, this, &DownloadReceiver::tick);
}

void DownloadReceiver::setTimerEnabled(bool enabled)
{
    timerEnabled_ = enabled;
    if (!enabled)
        timer1_->stop();
}

bool DownloadReceiver::start(int n, QString* why)
{
    cerror_.fill(QStringLiteral("0"));
    listening_ = true;
    emit listeningChanged(true);
    if (!port_.isOpen() && !port_.open(n, why))
        return false;
    if (timerEnabled_)
        timer1_->start();
    return true;
}

void DownloadReceiver::count(int event)
{
    if (event == line_event::DataSent)
        return;
    const int i = counterOfEvent(event);
    if (i >= 0) {
        QString& counter = cerror_[std::size_t(i)];
        counter = QLatin1Char(' ') + QString::number(counter.trimmed().toLongLong() + 1);
    }
    sound_.beep();
}

void DownloadReceiver::takeEvents()
{
    for (int event : port_.takeEvents())
        count(event);
}

void DownloadReceiver::tick()
{
    if (port_.lost()) {
        // The device went away mid-transfer: what came cannot be whole.
        stop();
        return;
    }
    qint64 bytes = port_.bytesWaiting();
    takeEvents();
    // The logger's memory is 2048 bytes: more than that waiting is an overflow.
    if (bytes > ImageBytes && cerror_[7] == QLatin1String("0"))
        count(line_event::ReceiveOverflow);
    if (bytes == ImageBytes && listening_) {
        stop();
        bytes = port_.bytesWaiting();
    }
    emit waiting(int(std::min<qint64>(bytes, INT_MAX)));
}

void DownloadReceiver::stop()
{
    qint64 bytes = port_.isOpen() && !port_.lost() ? port_.bytesWaiting() : 0;
    takeEvents();
    if (std::any_of(cerror_.begin(), cerror_.end(), [](const QString& c) { return c.trimmed() != QLatin1String("0"); }))
        bytes = 0;
    QByteArray received;
    if (bytes == ImageBytes)
        received = port_.readAll();
    port_.close();
    listening_ = false;
    emit listeningChanged(false);
    if (received.size() == ImageBytes) {
        RecordImage image;
        std::copy(received.begin(), received.end(), reinterpret_cast<char*>(image.Data_Chrono.data()));
        emit accepted(image);
    } else {
        emit refused();
    }
}

}  // namespace tormel
