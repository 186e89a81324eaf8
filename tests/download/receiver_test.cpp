#include "download/download_copies.h"
#include "download/receiver.h"
#include "support/fakes.h"
#include "record/record_decoder.h"
#include "support/temp_folder.h"

#include <QByteArray>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <iterator>
#include <set>
#include <vector>

namespace tormel {
namespace {

QByteArray image(char fill = 'x')
{
    return QByteArray(RecordImage::Size, fill);
}

TEST(DownloadEvents, LineErrorsSoundAndRefuseAndTheCountersStartAgain)
{
    test::FakeSerialPort port;
    test::FakeSound sound;
    DownloadReceiver receiver(port, sound);
    receiver.setTimerEnabled(false);
    qint64 now = 0;
    receiver.setClock([&] { return now; });
    int accepted = 0, refused = 0;
    std::vector<int> waiting;
    QObject::connect(&receiver, &DownloadReceiver::accepted, [&] { ++accepted; });
    QObject::connect(&receiver, &DownloadReceiver::refused, [&] { ++refused; });
    QObject::connect(&receiver, &DownloadReceiver::waiting, [&](int bytes) { waiting.push_back(bytes); });

    ASSERT_TRUE(receiver.start(2, nullptr));
    EXPECT_EQ(port.opened, 2);
    port.buffer = image().left(500);
    receiver.tick();
    port.buffer += image().left(700);
    port.events = {line_event::Framing};
    now = 100;
    receiver.tick();
    EXPECT_EQ(waiting, (std::vector<int>{0, 500, 1200}));
    EXPECT_EQ(sound.beeps, 1);
    port.buffer += image().left(848);
    now = 200;
    receiver.poll();
    now = 250;
    receiver.tick();
    EXPECT_EQ(std::pair(accepted, refused), std::pair(0, 1));
    EXPECT_EQ(receiver.rules().counters()[4], 1);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(waiting.back(), 2048);  // what came stays in sight until the next start

    ASSERT_TRUE(receiver.start(2, nullptr));
    port.buffer = image();
    receiver.poll();
    now = 300;
    receiver.stop();
    EXPECT_EQ(std::pair(accepted, refused), std::pair(1, 1));
    EXPECT_EQ(sound.beeps, 1);  // a clean image makes no sound

    // A port that cannot be opened listens to nothing, and a Stop finds no
    // session to end; a port left for another ends without a verdict.
    port.openable = false;
    EXPECT_FALSE(receiver.start(3, nullptr));
    EXPECT_EQ(std::pair(receiver.listening(), waiting.back()), std::pair(false, 0));
    receiver.stop();
    port.openable = true;
    ASSERT_TRUE(receiver.start(2, nullptr));
    port.buffer = image().left(100);
    receiver.abandon();
    EXPECT_FALSE(receiver.listening() || port.isOpen());
    EXPECT_EQ(std::pair(accepted, refused), std::pair(1, 1));
    ASSERT_TRUE(receiver.start(4, nullptr));
    EXPECT_EQ(std::pair(port.opened, receiver.port()), std::pair(4, 4));
    // A Stop on a device that went away refuses.
    port.gone = true;
    receiver.stop();
    EXPECT_EQ(refused, 2);
    port.gone = false;
    ASSERT_TRUE(receiver.start(2, nullptr));
    port.gone = true;
    receiver.stop();
    EXPECT_EQ(refused, 3);
    EXPECT_EQ(receiver.rules().refusal(), DownloadRefusal::LineLost);
}

// The end of --receive's wait: bytes on the port count even before a poll
// has seen them, so a transfer that began within the last poll is kept.
TEST(DownloadEvents, AWaitIsInVainOnlyWhenNoByteIsOnThePort)
{
    test::FakeSerialPort port;
    test::FakeSound sound;
    DownloadReceiver receiver(port, sound);
    receiver.setTimerEnabled(false);
    qint64 now = 0;
    receiver.setClock([&] { return now; });
    int accepted = 0;
    QObject::connect(&receiver, &DownloadReceiver::accepted, [&] { ++accepted; });

    ASSERT_TRUE(receiver.start(1, nullptr));
    EXPECT_TRUE(receiver.waitedInVain());
    port.buffer = image().left(12);  // came after the last poll
    EXPECT_FALSE(receiver.waitedInVain());
    EXPECT_EQ(receiver.rules().bytesReceived(), 12);
    port.buffer += image().mid(12);
    receiver.poll();
    now = 100;
    receiver.poll();
    EXPECT_EQ(accepted, 1);
    EXPECT_FALSE(receiver.waitedInVain());  // no longer listening: the session has ended
}

TEST(DownloadEvents, ComPortsMapToDevices)
{
    const struct { int port; const char* environment; QStringList devices; const char* device; } rows[] = {
        {1, "", {"/dev/ttyUSB0"}, "/dev/ttyUSB0"},
        {2, "", {"/dev/ttyUSB0"}, ""},
        {3, "", {"/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0"}, "/dev/ttyS0"},
        {3, "/dev/pts/7", {"/dev/ttyUSB0"}, "/dev/pts/7"},
        {4, "", {}, ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(deviceForPort(r.port, QString::fromLatin1(r.environment), r.devices), QString::fromLatin1(r.device)) << r.port;
    // Why a port did not open, for the command line; the group only where access was denied.
    EXPECT_EQ(englishText({PortProblem::Kind::NoDevice, 2, {}, {}}), u"no serial device for Com2"_qs);
    EXPECT_EQ(englishText({PortProblem::Kind::AccessDenied, 1, u"/dev/ttyUSB0"_qs, {}}),
              u"/dev/ttyUSB0: permission denied (the user must be in the dialout group)"_qs);
    EXPECT_EQ(englishText({PortProblem::Kind::Other, 1, u"/dev/ttyS0"_qs, u"busy"_qs}), u"/dev/ttyS0: busy"_qs);
}

TEST(DownloadCopies, EveryDownloadIsKeptAndNoneOverwritten)
{
    test::TempFolder folder;
    const RecordImage image;
    const QDateTime when(QDate(2026, 12, 6), QTime(14, 3, 12));
    QStringList written;
    const auto openFiles = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
    const auto filesBefore = openFiles();
    for (int i = 0; i < 3; ++i)
        written << QFileInfo(keepDownloadCopy(folder.path(), image, 7, when)).fileName();
    EXPECT_EQ(openFiles(), filesBefore);  // every file and folder opened is closed
    const QString stem = u"2026-12-06_14-03-12_SN"_qs + serialNumberText(image);
    EXPECT_EQ(written, (QStringList{stem + u".Tml"_qs, stem + u"_2.Tml"_qs, stem + u"_3.Tml"_qs}));
    EXPECT_EQ(test::readBytes(folder.file(u"downloads/"_qs + written[0])).size(), 2050);

    // The second's last free name is taken; past it, no copy, and why.
    for (int n = 4; n < 10000; ++n)
        QFile(folder.file(u"downloads/"_qs + stem + u"_%1.Tml"_qs.arg(n))).open(QIODevice::WriteOnly);
    EXPECT_EQ(QFileInfo(keepDownloadCopy(folder.path(), image, 7, when)).fileName(), stem + u"_10000.Tml"_qs);
    QString full;
    EXPECT_TRUE(keepDownloadCopy(folder.path(), image, 7, when, &full).isEmpty());
    EXPECT_TRUE(full.endsWith(u"10000 copies in one second"_qs)) << full.toStdString();

    // A file in the way of the folder: no copy, and why.
    test::TempFolder blocked;
    test::writeBytes(blocked.file("downloads"), "x");
    QString why;
    EXPECT_TRUE(keepDownloadCopy(blocked.path(), image, 7, when, &why).isEmpty());
    EXPECT_FALSE(why.isEmpty());

    // A write that fails half-way (here the file-size limit, a full disk in
    // the field) leaves no temporary file behind.
    test::TempFolder small;
    rlimit unlimited{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &unlimited), 0);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = unlimited;
    limited.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const QString kept = keepDownloadCopy(small.path(), image, 7, when);
    setrlimit(RLIMIT_FSIZE, &unlimited);
    std::signal(SIGXFSZ, handler);
    EXPECT_TRUE(kept.isEmpty());
    EXPECT_EQ(QDir(small.file("downloads")).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST(DownloadCopies, EightProcessesInTheSameSecondKeepEightCopies)
{
    test::TempFolder folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"downloads"_qs));
    const QDateTime when(QDate(2026, 12, 6), QTime(14, 3, 12));
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    std::vector<pid_t> children;
    for (int i = 0; i < 8; ++i) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // All wait for one signal, so that the copies race for the names.
            char c;
            ::close(go[1]);
            const bool started = ::read(go[0], &c, 1) == 0;
            RecordImage image;
            image.bytes[100] = std::uint8_t(i);
            _exit(started && !keepDownloadCopy(folder.path(), image, 7, when).isEmpty() ? 0 : 1);
        }
        children.push_back(child);
    }
    ::close(go[0]);
    ::close(go[1]);
    std::set<int> kept;
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const QDir downloads(folder.file(u"downloads"_qs));
    const QStringList names = downloads.entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(names.size(), 8) << names.join(u' ').toStdString();
    for (const QString& name : names)
        kept.insert(test::readBytes(downloads.filePath(name)).at(100));
    EXPECT_EQ(kept.size(), 8U);
}

}  // namespace
}  // namespace tormel
