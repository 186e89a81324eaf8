#include "download/download_copies.h"
#include "download/receiver.h"
#include "platform/qt_serial_port.h"
#include "support/fakes.h"
#include "record/record_decoder.h"
#include "support/pty_pair.h"
#include "support/temp_folder.h"

#include <QByteArray>
#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>

namespace tormel {
namespace {

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
        qputenv("TORMEL_VUE_COM1", line.programEnd().toLocal8Bit());
    }
    void TearDown() override { qunsetenv("TORMEL_VUE_COM1"); }
    test::PtyPair line;
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

TEST(DownloadCopies, EveryDownloadIsKeptAndNoneOverwritten)
{
    test::TempFolder folder;
    const RecordImage image;
    const QDateTime when(QDate(2026, 12, 6), QTime(14, 3, 12));
    QStringList written;
    for (int i = 0; i < 3; ++i)
        written << QFileInfo(keepDownloadCopy(folder.path(), image, 7, when)).fileName();
    const QString stem = u"2026-12-06_14-03-12_SN"_qs + serialNumberText(image);
    EXPECT_EQ(written, (QStringList{stem + u".Tml"_qs, stem + u"_2.Tml"_qs, stem + u"_3.Tml"_qs}));
    EXPECT_EQ(test::readBytes(folder.file(u"downloads/"_qs + written[0])).size(), 2050);

    // A file in the way of the folder: no copy, and why.
    test::TempFolder blocked;
    test::writeBytes(blocked.file("downloads"), "x");
    QString why;
    EXPECT_TRUE(keepDownloadCopy(blocked.path(), image, 7, when, &why).isEmpty());
    EXPECT_FALSE(why.isEmpty());
}

}  // namespace
}  // namespace tormel
