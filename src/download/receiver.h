#pragma once

#include "record/record_image.h"

#include <QObject>
#include <QString>

#include <array>

class QTimer;

namespace tormel {

class SerialPort;
class Sound;

// The receive cycle of a download: it owns the port while listening and
// the receive timer Timer1, counts the line errors, and accepts an image
// only when exactly 2048 bytes arrived without one. It never writes to the
// port.
class DownloadReceiver final : public QObject {
    Q_OBJECT
public:
    static constexpr int ImageBytes = 2048;
    static constexpr int TickMilliseconds = 100;

    DownloadReceiver(SerialPort& port, Sound& sound, QObject* parent = nullptr);

    bool listening() const { return listening_; }
    // Start: clears the counters and listens on port n; false and why when
    // the port cannot be opened (listening is then still on, as the button says).
    bool start(int n, QString* why);
    // Stop: accepts the image (accepted) or refuses the download (refused);
    // the port is closed either way.
    void stop();
    // Timer1: stops at exactly 2048 bytes waiting, and reports what waits.
    void tick();
    // The counter texts Cerror(0..9).
    const std::array<QString, 10>& Cerror() const { return cerror_; }
    // Ticks come from Timer1; tests turn it off and tick by hand.
    void setTimerEnabled(bool enabled);

signals:
    void accepted(const tormel::RecordImage& image);
    void refused();
    void waiting(int bytes);
    void listeningChanged(bool listening);

private:
    void takeEvents();
    void count(int event);

    SerialPort& port_;
    Sound& sound_;
    QTimer* timer1_;
    bool timerEnabled_ = true;
    bool listening_ = false;
    std::array<QString, 10> cerror_;
};

// The counter a line event increases (0..9), or -1 for none.
int counterOfEvent(int event);

}  // namespace tormel
