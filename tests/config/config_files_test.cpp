#include "base/app_info.h"
#include "config/error_log.h"
#include "config/program_folder.h"
#include "config/settings.h"
#include "config/user_settings.h"
#include "support/temp_folder.h"
#include "texts/language_files.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace tormel {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

TEST(Settings, SavesTheTenBytesLittleEndian)
{
    TempFolder folder;
    SystemSettings s{3, 1, 1, 3, 12, false};
    ASSERT_TRUE(saveSettings(folder.path(), s));
    EXPECT_EQ(readBytes(folder.file("Tormport.dat")), QByteArray::fromHex("0300030003000C000000"));
    EXPECT_EQ(loadSettings(folder.path()), s);

    s.showToolTips = true;
    s.currentTrack = 100;
    ASSERT_TRUE(saveSettings(folder.path(), s));
    EXPECT_EQ(readBytes(folder.file("Tormport.dat")), QByteArray::fromHex("0300030003006400FFFF"));
}

TEST(Settings, ReadingCorrectsEachValue)
{
    const std::pair<const char*, SystemSettings> cases[] = {
        // port, units word, language, track, tips
        {"01000200000001000100", {1, 0, 1, 0, 1, true}},    // units 2: km/h and degrees F
        {"01000700000001000000", {1, 1, 1, 0, 1, false}},   // units 7: only the two low bits count
        {"0100FFFF000001000000", {1, 1, 0, 0, 1, false}},   // units -1: halved toward zero first
        {"020001000500", {2, 1, 0, 5, 1, true}},            // 6 bytes: track 1, tips on
        {"0200010005004D00", {2, 1, 0, 5, 77, true}},       // 8 bytes: track kept, tips on
        {"01000000060001000000", {1, 0, 0, 0, 1, false}},   // language 6: there are six, 0 to 5
        {"01000000000000000000", {1, 0, 0, 0, 1, false}},   // track 0
        {"01000000000065000000", {1, 0, 0, 0, 1, false}},   // track 101
        {"05000000020064000000", {1, 0, 0, 2, 100, false}}, // port 5
        {"02800000000000000000", {1, 0, 0, 0, 1, false}},   // port 0x8002: the high byte counts
        {"", {1, 0, 0, 0, 1, true}},                         // empty file: every default
        {"04", {4, 0, 0, 0, 1, true}},                       // a lone byte reads as a word
    };
    for (const auto& [bytes, expected] : cases) {
        TempFolder folder;
        writeBytes(folder.file("Tormport.dat"), QByteArray::fromHex(bytes));
        EXPECT_EQ(loadSettings(folder.path()), expected) << bytes;
    }
}

TEST(Settings, UnwritableFolderReportsFailureAndKeepsTheOldFile)
{
    TempFolder folder;
    SystemSettings s;
    QString why;
    // A settings path that is a folder cannot be replaced; nothing is lost.
    ASSERT_TRUE(QDir(folder.path()).mkpath("sub/Tormport.dat"));
    EXPECT_FALSE(saveSettings(folder.file("sub"), s, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_TRUE(QDir(folder.file("sub/Tormport.dat")).exists());
}

TEST(UserSettings, KeepsATargetMaximumPerEngineOneToFive)
{
    TempFolder folder;
    UserSettings settings(folder.file("Tormel_Vue.ini"));
    for (int engine = 1; engine <= engineCount; ++engine)
        EXPECT_EQ(settings.targetMaxRpm(engine), 0) << engine;
    settings.setTargetMaxRpm(1, 14200);
    settings.setTargetMaxRpm(5, 16000);
    settings.setTargetMaxRpm(0, 9000);
    settings.setTargetMaxRpm(6, 9000);
    // Read back by another object, as the next run would.
    const UserSettings again(folder.file("Tormel_Vue.ini"));
    for (const auto& [engine, rpm] : {std::pair{0, 0}, {1, 14200}, {2, 0}, {5, 16000}, {6, 0}})
        EXPECT_EQ(again.targetMaxRpm(engine), rpm) << engine;
    settings.setTargetMaxRpm(1, 0);
    EXPECT_EQ(again.targetMaxRpm(1), 0);
    EXPECT_FALSE(readBytes(folder.file("Tormel_Vue.ini")).contains("engine1"));  // forgotten, not kept as 0
    writeBytes(folder.file("Tormel_Vue.ini"), "[targetMaxRpm]\nengine2=fast\nengine3=-500\nengine4=13000\n");
    for (const auto& [engine, rpm] : {std::pair{2, 0}, {3, 0}, {4, 13000}})
        EXPECT_EQ(again.targetMaxRpm(engine), rpm) << engine;
    EXPECT_EQ(UserSettings(QString()).targetMaxRpm(1), 0);
}

TEST(UserSettings, TheComparedLapsAlignmentAndAnOlderVersionsFraction)
{
    TempFolder folder;
    const QString file = folder.file("Tormel_Vue.ini");
    for (const auto& [text, alignment] : {std::pair{"", 0}, {"comparedOnFraction=true\n", 1}, {"comparedOnFraction=false\n", 0},
                                          {"comparedAlignment=2\ncomparedOnFraction=true\n", 2}, {"comparedAlignment=3\n", 0},
                                          {"comparedAlignment=-1\n", 0}}) {
        writeBytes(file, QByteArray("[General]\n") + text);
        EXPECT_EQ(UserSettings(file).comparedAlignment(), alignment) << text;
    }
    // Kept in the new key, the older one gone.
    writeBytes(file, "[General]\ncomparedOnFraction=true\n");
    UserSettings(file).setComparedAlignment(2);
    EXPECT_EQ(UserSettings(file).comparedAlignment(), 2);
    EXPECT_FALSE(readBytes(file).contains("comparedOnFraction"));
}

TEST(ErrorLog, ReportsAreAppendedOlderFirst)
{
    const QLocale french(QLocale::French, QLocale::France);
    TempFolder folder;
    writeBytes(folder.file("Error.txt"), "earlier\r\n");
    ASSERT_TRUE(appendErrorReport(QStringLiteral("1"), QDateTime(QDate(2024, 3, 5), QTime(9, 0)), nullptr, french));
    ASSERT_TRUE(appendErrorReport(QStringLiteral("3"), QDateTime(QDate(2024, 3, 6), QTime(10, 30)), nullptr, french));
    EXPECT_EQ(readBytes(folder.file("Error.txt")),
              "earlier\r\nTormel_Vue Version " + versionText().toLatin1() + "05/03/202409:00\r\n1\r\n"
              "Tormel_Vue Version " + versionText().toLatin1() + "06/03/202410:30\r\n3\r\n");
}

TEST(ProgramFolder, WritableIsTriedNotGuessed)
{
    TempFolder folder;
    writeBytes(folder.file("plain-file"), "x");
    EXPECT_TRUE(isFolderWritable(folder.path()));
    for (const QString& path : {QStringLiteral("/proc"), folder.file("missing"), folder.file("plain-file"), QString()})
        EXPECT_FALSE(isFolderWritable(path)) << path.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"plain-file"});  // the probe is gone
}

TEST(ProgramFolder, TheExecutablesFolderOnlyForABuildOrAPortableCopy)
{
    // installed: a share/tormel_vue beside bin/; languages: language files beside the executable.
    const struct { const char* name; bool installed, languages; bool inExecutableFolder; } cases[] = {
        {"a build or a portable copy", false, true, true},
        {"installed, whoever can write bin/", true, false, false},
        {"installed, language files beside it as well", true, true, false},
        {"a bare executable", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const QString bin = folder.file("prefix/bin"), data = folder.file("prefix/share/tormel_vue");
        QDir().mkpath(bin);
        if (c.installed)
            QDir().mkpath(data);
        if (c.languages)
            writeBytes(folder.file("prefix/bin/Tips_4.txt"), "0,\"x\"\r\n");
        const QString user = folder.file("user");
        EXPECT_EQ(installedDataFolder(bin), data);
        EXPECT_EQ(decideProgramFolder(bin, installedDataFolder(bin), user, FolderAccess::ReadOnly),
                  c.inExecutableFolder ? bin : user);
        EXPECT_FALSE(QFileInfo::exists(user));
        EXPECT_EQ(decideProgramFolder(bin, installedDataFolder(bin), user), c.inExecutableFolder ? bin : user);
        EXPECT_EQ(QFileInfo(user).isDir(), !c.inExecutableFolder);
    }
}

TEST(ProgramFolder, CopiesOfShippedFilesGoEditedOnesStay)
{
    TempFolder folder;
    const QString shipped = folder.file("share/tormel_vue"), user = folder.file("user");
    QDir().mkpath(shipped);
    QDir().mkpath(user);
    const QByteArray menu2 = readBytes(QStringLiteral(TORMEL_LANG_DIR "/Menu_2.txt"));
    for (const char* name : {"Menu_2.txt", "Menu_3.txt", "Tips_2.txt", "Textes_2.txt"})
        writeBytes(QDir(shipped).filePath(name), "a newer version");
    writeBytes(folder.file("user/Menu_2.txt"), menu2);                                               // a copy: goes
    writeBytes(folder.file("user/Menu_3.txt"), menu2);                                               // a copy, but of another name: stays
    writeBytes(folder.file("user/Tips_2.txt"), readBytes(QStringLiteral(TORMEL_LANG_DIR "/Tips_2.txt")) + " ");  // edited: stays
    writeBytes(folder.file("user/Textes_5.txt"), readBytes(QStringLiteral(TORMEL_LANG_DIR "/Textes_5.txt")));    // nothing shipped to read instead: stays
    writeBytes(folder.file("user/Tormport.dat"), "settings");

    EXPECT_EQ(decideProgramFolder(folder.file("bin"), shipped, user), user);
    EXPECT_EQ(QDir(user).entryList(QDir::Files, QDir::Name),
              (QStringList{"Menu_3.txt", "Textes_5.txt", "Tips_2.txt", "Tormport.dat"}));
    // Never the shipped folder itself.
    writeBytes(folder.file("share/tormel_vue/Menu_2.txt"), menu2);
    EXPECT_EQ(removeShippedCopies(shipped, shipped), 0);
    EXPECT_TRUE(QFileInfo::exists(folder.file("share/tormel_vue/Menu_2.txt")));
}

TEST(ProgramFolder, TheWindowWorksInAFolderOfItsOwnWhenStartedFromHome)
{
    TempFolder folder;
    const QString home = folder.file("home"), documents = folder.file("documents"), other = folder.file("other");
    QDir().mkpath(home);
    QDir().mkpath(other);
    const QString own = folder.file("documents/Tormel_Vue");
    EXPECT_EQ(decideWorkingFolder(other, home, documents), other);
    // The commands follow the same rule but create nothing.
    EXPECT_EQ(decideWorkingFolder(home + QStringLiteral("/"), home, documents, FolderAccess::ReadOnly), own);
    EXPECT_EQ(decideWorkingFolder(QStringLiteral("/proc"), home, documents, FolderAccess::ReadOnly), own);
    // Under sudo the home is root's, yet the folder started from is its owner's home.
    if (const passwd* user = getpwuid(getuid()); user && QFileInfo(QFile::decodeName(user->pw_dir)).isDir()) {
        EXPECT_EQ(decideWorkingFolder(QFile::decodeName(user->pw_dir), home, documents, FolderAccess::ReadOnly), own);
    }
    EXPECT_FALSE(QFileInfo::exists(own));
    EXPECT_EQ(decideWorkingFolder(home + QStringLiteral("/"), home, documents), own);
    EXPECT_TRUE(QFileInfo(own).isDir());
    EXPECT_EQ(decideWorkingFolder(QStringLiteral("/proc"), home, documents), own);
}

}  // namespace
}  // namespace tormel
