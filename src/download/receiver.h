#pragma once

#include "download/receive_rules.h"
#include "record/record_image.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>

class QTimer;

namespace tormel {

class SerialPort;
class Sound;

// The receive cycle of a download: it owns the port while listening, looks
// at it every few milliseconds, feeds what it sees to the receive rules and
// carries out their verdict. Timer1 reports the bytes waiting for the panel.
// It never writes to the port.
class DownloadReceiver final : public QObject {
    Q_OBJECT
public:
    static constexpr int TickMilliseconds = 100;

    DownloadReceiver(SerialPort& port, Sound& sound, QObject* parent = nullptr);

    bool listening() const { return rules_.listening(); }
    // The port listened on, or last listened on; 0 before any.
    int port() const { return portNumber_; }
    // Start: clears the counters and listens on port n. A port that cannot
    // be opened gives false and why, and nothing listens.
    bool start(int n, PortProblem* why);
    // The Stop click.
    void stop();
    // Stops listening without a verdict: the bytes come on another port now.
    void abandon();
    // A look at the port; the poll timer calls it while listening.
    void poll();
    // Timer1: a look at the port, then the bytes waiting for the panel.
    void tick();
    // At the end of a bounded wait: still listening and no byte came. The
    // port is looked at first, so that bytes that came since the last poll
    // count: a transfer that has begun is never cut.
    bool waitedInVain();
    // The counters, and why the last session ended without an image.
    const ReceiveRules& rules() const { return rules_; }
    // Tests turn the timers off, poll by hand and give the time.
    void setTimerEnabled(bool enabled);
    void setClock(std::function<qint64()> now) { now_ = std::move(now); }

signals:
    void accepted(const tormel::RecordImage& image);
    void refused();
    void waiting(int bytes);
    void listeningChanged(bool listening);

private:
    void takeEvents();
    void carryOut(ReceiveOutcome outcome);
    void endSession();
    void showCount(int bytes);

    SerialPort& port_;
    Sound& sound_;
    QTimer* timer1_;
    QTimer* poll_;
    QElapsedTimer clock_;
    std::function<qint64()> now_;
    bool timerEnabled_ = true;
    ReceiveRules rules_;
    int portNumber_ = 0;
};

}  // namespace tormel
