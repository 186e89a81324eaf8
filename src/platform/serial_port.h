#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace tormel {

// Line events of a serial port, by the codes of the communications control.
namespace line_event {
inline constexpr int DataSent = 1;
inline constexpr int EndOfFile = 7;
inline constexpr int Break = 1001;
inline constexpr int Framing = 1004;
inline constexpr int Overrun = 1006;
inline constexpr int ReceiveOverflow = 1008;
inline constexpr int Parity = 1009;
}  // namespace line_event

// Why a port could not be opened.
struct PortProblem {
    enum class Kind { NoDevice, AccessDenied, Other };
    Kind kind = Kind::Other;
    int port = 0;
    QString device;  // empty when there is none
    QString detail;  // the system's words, for Other
};
// The problem in a few English words, with the remedy when there is one.
QString englishText(const PortProblem& problem);

// The logger's line: port n at 9600 baud, 8 data bits, no parity, 1 stop
// bit. The program only listens and polls.
class SerialPort {
public:
    virtual ~SerialPort() = default;
    // Opens port n (1 to 4); on failure `why` says why.
    virtual bool open(int n, PortProblem* why) = 0;
    virtual bool isOpen() const = 0;
    // Bytes received and not read yet; also collects the line events.
    virtual qint64 bytesWaiting() = 0;
    virtual QByteArray readAll() = 0;
    virtual void close() = 0;
    // The line events since the last call, in order.
    virtual std::vector<int> takeEvents() = 0;
    // The device went away while open (an adapter pulled out).
    virtual bool lost() const = 0;
};

// The device of port n: the environment variable TORMEL_VUE_COM<n> when it
// is set, otherwise the n-th of `candidates`; empty when there is none.
QString deviceForPort(int n, const QString& environmentValue, const QStringList& candidates);
// The serial devices of this machine in port order: /dev/ttyUSB*, then
// /dev/ttyACM*, then /dev/ttyS*, each in numeric order.
QStringList serialDeviceCandidates();
QString portDevice(int n);

}  // namespace tormel
