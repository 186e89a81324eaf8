#include "download/receiver.h"

#include "platform/serial_port.h"
#include "platform/sound.h"

#include <QTimer>

#include <algorithm>
#include <climits>

namespace tormel {

DownloadReceiver::DownloadReceiver(SerialPort& port, Sound& sound, QObject* parent)
    : QObject(parent), port_(port), sound_(sound), timer1_(new QTimer(this)), poll_(new QTimer(this))
{
    setObjectName(QStringLiteral("receiver"));
    clock_.start();
    now_ = [this] { return clock_.elapsed(); };
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(TickMilliseconds);
    connect(timer1_, &QTimer::timeout, this, &DownloadReceiver::tick);
    poll_->setTimerType(Qt::PreciseTimer);
    poll_->setInterval(ReceiveRules::PollMilliseconds);
    connect(poll_, &QTimer::timeout, this, &DownloadReceiver::poll);
}

void DownloadReceiver::setTimerEnabled(bool enabled)
{
    timerEnabled_ = enabled;
    if (!enabled) {
        timer1_->stop();
        poll_->stop();
    }
}

bool DownloadReceiver::start(int n, PortProblem* why)
{
    portNumber_ = n;
    showCount(0);
    if (!port_.isOpen() && !port_.open(n, why))
        return false;
    rules_.start(now_());
    emit listeningChanged(true);
    if (timerEnabled_) {
        timer1_->start();
        poll_->start();
    }
    return true;
}

void DownloadReceiver::takeEvents()
{
    for (int event : port_.takeEvents())
        carryOut(rules_.lineEvent(event));
}

void DownloadReceiver::poll()
{
    if (!rules_.listening())
        return;
    if (port_.lost()) {
        carryOut(rules_.lineLost());
        return;
    }
    // Events first: an error that came with the last bytes must stop their acceptance.
    const qint64 bytes = port_.bytesWaiting();
    takeEvents();
    carryOut(rules_.bytesWaiting(bytes, now_()));
}

bool DownloadReceiver::waitedInVain()
{
    poll();
    return rules_.listening() && rules_.bytesReceived() == 0;
}

void DownloadReceiver::tick()
{
    if (!rules_.listening())
        return;
    const qint64 seen = port_.bytesWaiting();
    poll();
    // A session that ended on this look leaves what came in sight.
    showCount(int(std::min<qint64>(rules_.listening() ? port_.bytesWaiting() : seen, INT_MAX)));
}

// The count stays in sight after the session, until the next start.
void DownloadReceiver::showCount(int bytes)
{
    emit waiting(bytes);
}

void DownloadReceiver::abandon()
{
    if (!rules_.listening())
        return;
    rules_ = ReceiveRules{};
    endSession();
}

void DownloadReceiver::stop()
{
    if (!rules_.listening())
        return;
    if (port_.lost()) {
        carryOut(rules_.lineLost());
        return;
    }
    const qint64 bytes = port_.bytesWaiting();
    takeEvents();
    carryOut(rules_.stopClicked(bytes, now_()));
}

void DownloadReceiver::endSession()
{
    timer1_->stop();
    poll_->stop();
    port_.close();
    emit listeningChanged(false);
}

void DownloadReceiver::carryOut(ReceiveOutcome outcome)
{
    QByteArray received;
    if (outcome.step == ReceiveStep::TakeImage) {
        received = port_.readAll();
        showCount(int(std::min<qint64>(received.size(), INT_MAX)));
        const ReceiveOutcome taken = rules_.imageTaken(received.size());
        outcome = {taken.step, outcome.beeps + taken.beeps};
    }
    for (int i = 0; i < outcome.beeps; ++i)
        sound_.beep();
    if (outcome.step == ReceiveStep::Accept) {
        endSession();
        RecordImage image;
        std::copy(received.begin(), received.end(), reinterpret_cast<char*>(image.bytes.data()));
        emit accepted(image);
    } else if (outcome.step == ReceiveStep::Refuse) {
        endSession();
        emit refused();
    }
}

}  // namespace tormel
