#include "download/receiver.h"
#include "platform/qt_serial_port.h"
#include "support/fakes.h"

#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <memory>

namespace tormel {
namespace {

// A pseudo-terminal pair from socat: the receiver listens on one end as
// Com1, the test writes the logger's bytes into the other.
class Line {
public:
    Line()
    {
        socat_.setProcessChannelMode(QProcess::MergedChannels);
        socat_.start(QStringLiteral("socat"), {QStringLiteral("-d"), QStringLiteral("-d"), QStringLiteral("pty,raw,echo=0"),
                                                QStringLiteral("pty,raw,echo=0")});
        QString log;
        static const QRegularExpression pty(QStringLiteral("PTY is (\\S+)"));
        // Both names come before socat starts its transfer loop.
        while (ends_.size() < 2 && socat_.waitForReadyRead(5000)) {
            log += QString::fromLocal8Bit(socat_.readAll());
            ends_.clear();
            for (auto it = pty.globalMatch(log); it.hasNext();)
                ends_ << it.next().captured(1);
        }
        if (ends_.size() == 2) {
            qputenv("TORMEL_VUE_COM1", ends_[0].toLocal8Bit());
            logger_ = ::open(ends_[1].toLocal8Bit().constData(), O_WRONLY | O_NOCTTY);
        }
    }
    ~Line()
    {
        if (logger_ >= 0)
            ::close(logger_);
        end();
        qunsetenv("TORMEL_VUE_COM1");
    }
    bool ready() const { return logger_ >= 0; }
    void send(const QByteArray& bytes) const { ASSERT_EQ(::write(logger_, bytes.constData(), std::size_t(bytes.size())), bytes.size()); }
    void end()
    {
        socat_.kill();
        socat_.waitForFinished();
    }

private:
    QProcess socat_;
    QStringList ends_;
    int logger_ = -1;
};

QByteArray image(char fill = 'x')
{
    return QByteArray(DownloadReceiver::ImageBytes, fill);
}

struct Receiving {
    Receiving()
    {
        receiver.setTimerEnabled(false);
        QObject::connect(&receiver, &DownloadReceiver::accepted, [this](const RecordImage& i) { received = i; ++accepted; });
        QObject::connect(&receiver, &DownloadReceiver::refused, [this] { ++refused; });
        QObject::connect(&receiver, &DownloadReceiver::waiting, [this](int bytes) { waiting = bytes; });
    }
    // Ticks until the bytes have come through the terminal, a bounded number of times.
    void tickUntil(int bytes)
    {
        const int ended = accepted + refused;
        for (int i = 0; i < 200 && waiting < bytes && accepted + refused == ended; ++i) {
            receiver.tick();
            if (waiting < bytes)
                usleep(5000);
        }
    }

    // Waits, a bounded number of times, until the terminal has passed on `bytes`.
    void arrive(int bytes)
    {
        for (int i = 0; i < 200 && port.bytesWaiting() < bytes; ++i)
            usleep(5000);
    }

    QtSerialPort port;
    test::FakeSound sound;
    DownloadReceiver receiver{port, sound};
    RecordImage received;
    int accepted = 0, refused = 0, waiting = 0;
};

class Download : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty())
            GTEST_SKIP() << "socat is not installed (scripts/test installs it)";
        ASSERT_TRUE(line.ready());
    }
    Line line;
};

TEST_F(Download, AWholeImageThroughARealTerminalIsAccepted)
{
    Receiving r;
    ASSERT_TRUE(r.receiver.start(1, nullptr));
    line.send(image('a'));
    r.tickUntil(DownloadReceiver::ImageBytes);
    EXPECT_EQ(r.accepted, 1);
    EXPECT_EQ(r.received.Data_Chrono[2047], 'a');
    EXPECT_FALSE(r.receiver.listening());
}

TEST_F(Download, StopTooEarlyOrTooMuchIsRefusedAndANewStartListensAfresh)
{
    Receiving r;
    ASSERT_TRUE(r.receiver.start(1, nullptr));
    line.send(image().left(1000));
    r.tickUntil(1000);
    EXPECT_EQ(r.waiting, 1000);
    r.receiver.stop();
    EXPECT_EQ(std::pair(r.accepted, r.refused), std::pair(0, 1));
    EXPECT_FALSE(r.port.isOpen());

    ASSERT_TRUE(r.receiver.start(1, nullptr));
    EXPECT_EQ(r.port.bytesWaiting(), 0);
    line.send(image() + QByteArray(52, 'y'));
    r.arrive(2100);
    r.receiver.tick();
    EXPECT_TRUE(r.receiver.listening());  // only exactly 2048 bytes end the listening
    r.receiver.stop();
    EXPECT_EQ(std::pair(r.accepted, r.refused), std::pair(0, 2));
    EXPECT_EQ(r.receiver.Cerror()[7], QStringLiteral(" 1"));  // the overflow
}

TEST_F(Download, ATerminalThatGoesAwayEndsTheDownload)
{
    Receiving r;
    ASSERT_TRUE(r.receiver.start(1, nullptr));
    line.send(image().left(300));
    r.tickUntil(300);
    line.end();
    for (int i = 0; i < 200 && r.refused == 0; ++i) {
        r.receiver.tick();
        usleep(5000);
    }
    EXPECT_EQ(r.refused, 1);
    EXPECT_FALSE(r.port.isOpen());
}

TEST(DownloadEvents, LineErrorsCountSoundAndRefuse)
{
    test::FakeSerialPort port;
    test::FakeSound sound;
    DownloadReceiver receiver(port, sound);
    receiver.setTimerEnabled(false);
    int accepted = 0, refused = 0;
    std::vector<int> waiting;
    QObject::connect(&receiver, &DownloadReceiver::accepted, [&] { ++accepted; });
    QObject::connect(&receiver, &DownloadReceiver::refused, [&] { ++refused; });
    QObject::connect(&receiver, &DownloadReceiver::waiting, [&](int bytes) { waiting.push_back(bytes); });

    ASSERT_TRUE(receiver.start(2, nullptr));
    EXPECT_EQ(port.opened, 2);
    port.buffer = image().left(500);
    port.events = {1};  // data sent: no sound
    receiver.tick();
    port.buffer += image().left(700);
    port.events = {2};  // any other code sounds without counting
    receiver.tick();
    EXPECT_EQ(waiting, (std::vector<int>{500, 1200}));
    EXPECT_EQ(sound.beeps, 1);
    EXPECT_EQ(receiver.Cerror(), (std::array<QString, 10>{"0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));

    port.events = {1004};  // one framing error during a full transfer
    port.buffer = image();
    receiver.tick();
    EXPECT_EQ(std::pair(accepted, refused), std::pair(0, 1));
    EXPECT_EQ(receiver.Cerror()[4], QStringLiteral(" 1"));
    EXPECT_EQ(sound.beeps, 2);

    ASSERT_TRUE(receiver.start(2, nullptr));
    EXPECT_EQ(receiver.Cerror()[4], QStringLiteral("0"));
    port.buffer = image();
    receiver.tick();
    EXPECT_EQ(std::pair(accepted, refused), std::pair(1, 1));
    // A device pulled out ends in a refusal with the port closed.
    ASSERT_TRUE(receiver.start(2, nullptr));
    port.buffer = image().left(10);
    port.gone = true;
    receiver.tick();
    EXPECT_EQ(refused, 2);
    EXPECT_FALSE(port.isOpen());
}

TEST(DownloadEvents, ComPortsMapToDevices)
{
    const QStringList devices{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0"};
    EXPECT_EQ(deviceForPort(2, QString(), devices), QStringLiteral("/dev/ttyUSB1"));
    EXPECT_EQ(deviceForPort(3, QStringLiteral("/dev/pts/7"), devices), QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(deviceForPort(4, QString(), devices), QString());
}

}  // namespace
}  // namespace tormel
