#include "support/temp_folder.h"

#include <QDir>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>

namespace tormel {
namespace {

const QStringList savedFiles{QStringLiteral("loop.Tml"), QStringLiteral("Pistes.aqw"), QStringLiteral("Tormport.dat")};

int envOr(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// The two versions the child alternates, as it writes them when left alone.
std::map<QString, std::array<QByteArray, 2>> knownVersions(const QString& root)
{
    std::map<QString, std::array<QByteArray, 2>> versions;
    for (int v = 0; v < 2; ++v) {
        const QString folder = QDir(root).filePath(QStringLiteral("version%1").arg(v));
        QDir().mkpath(folder);
        const int exit = QProcess::execute(QStringLiteral(TORMEL_SAVE_LOOP), {folder, QStringLiteral("once"), QString::number(v)});
        EXPECT_EQ(exit, 0) << "version " << v;
        for (const QString& name : savedFiles)
            versions[name][std::size_t(v)] = test::readBytes(QDir(folder).filePath(name));
    }
    return versions;
}

// The child saves a record, a track and the settings in a loop and is killed
// after a random number of its rounds, wherever its writes then stand: each
// file must be whole, in the one version or the other. The moment is counted
// in rounds read, never timed.
TEST(CrashSafeSave, KilledSavesLeaveOldOrNewFiles)
{
    const test::TempFolder temp;
    const int kills = envOr("TORMEL_KILLS", 100);
    const auto seed = unsigned(envOr("TORMEL_KILL_SEED", 20240501));
    std::printf("crash-safe save: %d kills, seed %u\n", kills, seed);
    std::mt19937 random(seed);

    const auto versions = knownVersions(temp.path());
    for (const auto& [name, both] : versions)
        ASSERT_TRUE(!both[0].isEmpty() && both[0] != both[1]) << name.toStdString();

    const QString folder = temp.file(QStringLiteral("loop"));
    QDir().mkpath(folder);
    for (int kill = 0; kill < kills; ++kill) {
        QProcess child;
        child.start(QStringLiteral(TORMEL_SAVE_LOOP), {folder});
        ASSERT_TRUE(child.waitForStarted(-1)) << "kill " << kill;
        // At least one round, so that every file exists.
        const int rounds = std::uniform_int_distribution(1, 4)(random);
        for (int read = 0; read < rounds;) {
            if (child.canReadLine())
                read += child.readLine().isEmpty() ? 0 : 1;
            else
                ASSERT_TRUE(child.waitForReadyRead(-1)) << "the child stopped, kill " << kill;
        }
        child.kill();
        child.waitForFinished(-1);
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << "kill " << kill;

        for (const QString& name : savedFiles) {
            const QByteArray bytes = test::readBytes(QDir(folder).filePath(name));
            const auto& both = versions.at(name);
            ASSERT_TRUE(bytes == both[0] || bytes == both[1])
                << name.toStdString() << " torn after kill " << kill << " (seed " << seed << "), " << bytes.size() << " bytes";
        }
        // A temporary file of the interrupted save may stay beside the real one.
        for (const QString& name : QDir(folder).entryList(QDir::Files))
            if (!savedFiles.contains(name))
                QFile::remove(QDir(folder).filePath(name));
    }
}

}  // namespace
}  // namespace tormel
