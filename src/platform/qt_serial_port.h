#pragma once

#include "platform/serial_port.h"

#include <QSerialPort>

#include <array>

namespace tormel {

// The line through QSerialPort. Qt no longer reports framing, parity, break
// or overrun errors, so on Linux the driver's counters are read at each poll
// and each increase becomes its line event.
class QtSerialPort final : public SerialPort {
public:
    QtSerialPort();

    bool open(int n, PortProblem* why) override;
    bool isOpen() const override { return port_.isOpen(); }
    qint64 bytesWaiting() override;
    QByteArray readAll() override;
    void close() override;
    std::vector<int> takeEvents() override;
    bool lost() const override { return lost_; }

private:
    void pollCounters();

    QSerialPort port_;
    std::vector<int> events_;
    // frame, parity, overrun, brk, buf_overrun as last read
    std::array<int, 5> counts_{};
    bool countsKnown_ = false;
    bool lost_ = false;
};

}  // namespace tormel
