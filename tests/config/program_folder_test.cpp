#include "config/program_folder.h"
#include "support/temp_folder.h"
#include "texts/language_files.h"

#include <QDir>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

TEST(ProgramFolder, WritableIsTriedNotGuessed)
{
    TempFolder folder;
    writeBytes(folder.file("plain-file"), "x");
    struct Case {
        QString folder;
        bool writable;
    };
    const Case cases[] = {
        {folder.path(), true},
        {QStringLiteral("/proc"), false},
        {folder.file("missing"), false},
        {folder.file("plain-file"), false},
        {QString(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        EXPECT_EQ(isFolderWritable(c.folder), c.writable);
    }
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

}  // namespace
}  // namespace tormel
