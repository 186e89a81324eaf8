#include "config/error_log.h"
#include "config/program_folder.h"
#include "config/settings.h"
#include "support/temp_folder.h"
#include "texts/language_files.h"

#include <gtest/gtest.h>

namespace tormel {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

TEST(Settings, SavesTheTenBytesLittleEndian)
{
    TempFolder folder;
    SystemSettings s{3, 1, 1, 3, 12, false};
    ASSERT_TRUE(Sauve_System(folder.path(), s));
    EXPECT_EQ(readBytes(folder.file("Tormport.dat")), QByteArray::fromHex("0300030003000C000000"));
    EXPECT_EQ(Charge_System(folder.path()), s);

    s.AffTip = true;
    s.Piste_Courante = 100;
    ASSERT_TRUE(Sauve_System(folder.path(), s));
    EXPECT_EQ(readBytes(folder.file("Tormport.dat")), QByteArray::fromHex("0300030003006400FFFF"));
}

TEST(Settings, ReadingCorrectsEachValue)
{
    const std::pair<const char*, SystemSettings> cases[] = {
        // port, units word, language, track, tips
        {"0300030003000C000000", {3, 1, 1, 3, 12, false}},
        {"01000200000001000100", {1, 0, 1, 0, 1, true}},    // units 2: km/h and degrees F
        {"01000700000001000000", {1, 1, 1, 0, 1, false}},   // units 7: only the two low bits count
        {"0100FFFF000001000000", {1, 1, 0, 0, 1, false}},   // units -1: halved toward zero first
        {"020001000500", {2, 1, 0, 5, 1, true}},            // 6 bytes: track 1, tips on
        {"0200010005004D00", {2, 1, 0, 5, 77, true}},       // 8 bytes: track kept, tips on
        {"01000000090001000000", {1, 0, 0, 0, 1, false}},   // language 9
        {"01000000000000000000", {1, 0, 0, 0, 1, false}},   // track 0
        {"01000000000065000000", {1, 0, 0, 0, 1, false}},   // track 101
        {"05000000020064000000", {1, 0, 0, 2, 100, false}}, // port 5
        {"", {1, 0, 0, 0, 1, true}},                         // empty file: every default
        {"04", {4, 0, 0, 0, 1, true}},                       // a lone byte reads as a word
    };
    for (const auto& [bytes, expected] : cases) {
        TempFolder folder;
        writeBytes(folder.file("Tormport.dat"), QByteArray::fromHex(bytes));
        EXPECT_EQ(Charge_System(folder.path()), expected) << bytes;
    }
}

TEST(Settings, UnwritableFolderReportsFailureAndKeepsTheOldFile)
{
    TempFolder folder;
    SystemSettings s;
    QString why;
    // A settings path that is a folder cannot be replaced; nothing is lost.
    ASSERT_TRUE(QDir(folder.path()).mkpath("sub/Tormport.dat"));
    EXPECT_FALSE(Sauve_System(folder.file("sub"), s, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_TRUE(QDir(folder.file("sub/Tormport.dat")).exists());
}

TEST(ErrorLog, ReportsAreAppendedOlderFirst)
{
    const QLocale french(QLocale::French, QLocale::France);
    TempFolder folder;
    writeBytes(folder.file("Error.txt"), "earlier\r\n");
    ASSERT_TRUE(appendErrorReport(QStringLiteral("1"), QDateTime(QDate(2024, 3, 5), QTime(9, 0)), nullptr, french));
    ASSERT_TRUE(appendErrorReport(QStringLiteral("3"), QDateTime(QDate(2024, 3, 6), QTime(10, 30)), nullptr, french));
    EXPECT_EQ(readBytes(folder.file("Error.txt")),
              QByteArray("earlier\r\n"
                         "Tormel_Vue Version 1.1.905/03/202409:00\r\n1\r\n"
                         "Tormel_Vue Version 1.1.906/03/202410:30\r\n3\r\n"));
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

TEST(ProgramFolder, UserFolderGetsTheMissingShippedFiles)
{
    TempFolder folder;
    QDir().mkpath(folder.file("data"));
    writeBytes(folder.file("data/Menu_0.txt"), "shipped menu");
    writeBytes(folder.file("data/Textes_3.txt"), "shipped texts");
    writeBytes(folder.file("data/Help_5.txt"), "shipped help");
    writeBytes(folder.file("data/unrelated.txt"), "no");
    QDir().mkpath(folder.file("user"));
    writeBytes(folder.file("user/Textes_3.txt"), "user's own");

    const QString chosen = decideProgramFolder(QStringLiteral("/proc"), folder.file("data"), folder.file("user"));
    EXPECT_EQ(chosen, folder.file("user"));
    EXPECT_EQ(readBytes(folder.file("user/Menu_0.txt")), "shipped menu");
    EXPECT_EQ(readBytes(folder.file("user/Help_5.txt")), "shipped help");
    EXPECT_EQ(readBytes(folder.file("user/Textes_3.txt")), "user's own");
    EXPECT_FALSE(QFileInfo::exists(folder.file("user/unrelated.txt")));
    EXPECT_EQ(copyMissingLanguageFiles(folder.file("data"), folder.file("user")), 0);
}

TEST(ProgramFolder, TheCommandLineCreatesNothingAndReadsWhatIsInstalled)
{
    TempFolder folder;
    QDir().mkpath(folder.file("data"));
    writeBytes(folder.file("data/Menu_2.txt"), "shipped");
    const QString user = folder.file("user");

    EXPECT_EQ(decideProgramFolder(QStringLiteral("/proc"), folder.file("data"), user, FolderAccess::ReadOnly), user);
    EXPECT_FALSE(QFileInfo::exists(user));
    EXPECT_EQ(languageFileToRead(user, folder.file("data"), "Menu_", 2), folder.file("data/Menu_2.txt"));
    // Missing in both: the reader is pointed at the program folder and fails there.
    EXPECT_EQ(languageFileToRead(user, folder.file("data"), "Menu_", 3), folder.file("user/Menu_3.txt"));
    QDir().mkpath(user);
    writeBytes(folder.file("user/Menu_2.txt"), "user's own");
    EXPECT_EQ(languageFileToRead(user, folder.file("data"), "Menu_", 2), folder.file("user/Menu_2.txt"));
}

TEST(ProgramFolder, TheWindowWorksInAFolderOfItsOwnWhenStartedFromHome)
{
    TempFolder folder;
    const QString home = folder.file("home"), documents = folder.file("documents"), other = folder.file("other");
    QDir().mkpath(home);
    QDir().mkpath(other);
    const QString own = folder.file("documents/Tormel_Vue");
    EXPECT_EQ(decideWorkingFolder(other, home, documents), other);
    EXPECT_FALSE(QFileInfo::exists(own));
    EXPECT_EQ(decideWorkingFolder(home + QStringLiteral("/"), home, documents), own);
    EXPECT_TRUE(QFileInfo(own).isDir());
    EXPECT_EQ(decideWorkingFolder(QStringLiteral("/proc"), home, documents), own);
}

}  // namespace
}  // namespace tormel
