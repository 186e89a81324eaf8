#include "base/text_codec.h"
#include "support/temp_folder.h"
#include "texts/language_files.h"

#include <gtest/gtest.h>

#include <vector>

namespace tormel {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

std::vector<QString> allFields(const QString& text)
{
    FieldReader reader(text);
    std::vector<QString> fields;
    // Bounded so that a reader that stops advancing fails instead of hanging.
    for (int guard = 0; guard < 100; ++guard) {
        const std::optional<QString> field = reader.readText();
        if (!field)
            break;
        fields.push_back(*field);
    }
    return fields;
}

TEST(FieldReader, SplitsFieldsAsTheFilesAreWritten)
{
    struct Case {
        const char* text;
        std::vector<QString> fields;
    };
    const Case cases[] = {
        {"  \"x, y\"  ,z", {"x, y", "z"}},
        {"\"  keep blanks  \"\r\n", {"  keep blanks  "}},
        {"\"q\"junk,next", {"q", "next"}},
        {"Open, save\r\nNext\r\n", {"Open", "save", "Next"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\nb\rc", {"a", "b", "c"}},
        {"done,\"never closed", {"done"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(allFields(QString::fromLatin1(c.text)), c.fields);
    }
}

TEST(TextFiles, Windows1252BothWays)
{
    EXPECT_EQ(toWindows1252(QStringLiteral("é€°Ÿ")), QByteArray("\xE9\x80\xB0\x9F"));
    EXPECT_EQ(fromWindows1252(QByteArray("\xE9\x80\xB0\x9F")), QStringLiteral("é€°Ÿ"));
    EXPECT_EQ(toWindows1252(QStringLiteral("a中b")), QByteArray("a?b"));
    EXPECT_EQ(windowsLines({QStringLiteral("x"), QString()}), QByteArray("x\r\n\r\n"));
}

struct TextesCase {
    const char* name;
    QByteArray textes;
    bool textesRead;
    bool tipsRead;
    std::vector<std::pair<int, QString>> changed;  // every other entry keeps its text
};

TEST(TextFiles, TextTableReadingRules)
{
    const QByteArray tips = "3,\"tip three\"\r\n";
    const TextesCase cases[] = {
        {"any order", "42,\"Close\"\r\n0,\" smp.\"\r\n", true, true, {{42, "Close"}, {0, " smp."}}},
        {"index 80 skipped", "80,\"x\"\r\n5,\"Lap : \"\r\n", true, true, {{5, "Lap : "}}},
        {"index 70 is the last", "70,\"last\"\r\n", true, true, {{70, "last"}}},
        {"negative index stops", "5,\"Lap : \"\r\n-1,\"x\"\r\n6,\"no\"\r\n", false, false, {{5, "Lap : "}}},
        {"unterminated quote", "5,\"Lap : \"\r\n6,\"never closed\r\n", false, false, {{5, "Lap : "}}},
        {"index not a number", "five,\"x\"\r\n", false, false, {}},
        {"empty file", "", true, true, {}},
        {"binary bytes", QByteArray("\x00\xFF\x01\"\x80,\r", 7), false, false, {}},
        {"latin text", "16,\"Chang\xE9\"\r\n", true, true, {{16, "Changé"}}},
    };
    for (const TextesCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        writeBytes(folder.file("Textes_2.txt"), c.textes);
        writeBytes(folder.file("Tips_2.txt"), tips);
        TextTables tables = frenchTextTables();
        TextTables expected = frenchTextTables();
        for (const auto& [index, text] : c.changed)
            expected.Textes[std::size_t(index)] = text;
        if (c.tipsRead)
            expected.Tips[3] = "tip three";

        const TextReadStatus status = Lire_Textes(folder.path(), 2, tables);
        EXPECT_EQ(status.textesRead, c.textesRead);
        EXPECT_EQ(status.tipsRead, c.tipsRead);
        EXPECT_EQ(tables.Textes, expected.Textes);
        EXPECT_EQ(tables.Tips, expected.Tips);
    }
}

TEST(TextFiles, WritersProduceTheFileFormat)
{
    TempFolder folder;
    TextTables tables = frenchTextTables();
    tables.Textes[17] = QStringLiteral("say \"hi\"");
    ASSERT_TRUE(Sauve_Textes(folder.path(), 0, tables));
    ASSERT_TRUE(Sauve_Tips(folder.path(), 0, tables));
    const QByteArray textes = readBytes(folder.file("Textes_0.txt"));
    EXPECT_TRUE(textes.contains("\r\n17,\"say 'hi'\"\r\n"));
    EXPECT_EQ(readBytes(folder.file("Tips_0.txt")), tipsFileBytes(tables));

    TextTables back;
    EXPECT_TRUE(Lire_Textes(folder.path(), 0, back).tipsRead);
    tables.Textes[17] = QStringLiteral("say 'hi'");
    EXPECT_EQ(back.Textes, tables.Textes);
    EXPECT_EQ(back.Tips, tables.Tips);

    QString why;
    EXPECT_FALSE(Sauve_Textes(QStringLiteral("/proc"), 0, tables, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_FALSE(Sauve_Menus(folder.path(), -1, frenchMenuCaptions()));
}

TEST(MenuFiles, WrittenThenReadBackUnchanged)
{
    TempFolder folder;
    MenuCaptions written = frenchMenuCaptions();
    written[menuUnites] = QStringLiteral("km/h  |  °C");
    written[2] = QStringLiteral("Read, download");  // quoted on writing
    written[3] = QStringLiteral("  indented");
    written[30] = QString();
    ASSERT_TRUE(Sauve_Menus(folder.path(), 5, written));
    const QByteArray bytes = readBytes(folder.file("Menu_5.txt"));
    EXPECT_TRUE(bytes.startsWith("Fichiers\r\nSauver\r\n\"Read, download\"\r\n\"  indented\"\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nkm/h  |  \xB0""C\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 36);

    MenuCaptions read;
    const MenuReadStatus status = Lire_Menus(folder.path(), 5, read);
    EXPECT_FALSE(status.failed);
    EXPECT_EQ(status.fieldsRead, 36);
    EXPECT_EQ(read, written);
}

TEST(MenuFiles, UnquotedCommaShiftsTheFollowingCaptions)
{
    TempFolder folder;
    QStringList lines;
    for (int i = 0; i < menuCaptionCount; ++i)
        lines << QStringLiteral("C%1").arg(i);
    lines[1] = QStringLiteral("Open, save");
    writeBytes(folder.file("Menu_2.txt"), windowsLines(lines));

    MenuCaptions captions = frenchMenuCaptions();
    const MenuReadStatus status = Lire_Menus(folder.path(), 2, captions);
    EXPECT_FALSE(status.failed);
    EXPECT_EQ(status.fieldsRead, 36);
    EXPECT_EQ(captions[0], "C0");
    EXPECT_EQ(captions[1], "Open");
    EXPECT_EQ(captions[2], "save");
    for (int i = 3; i < menuCaptionCount; ++i)
        EXPECT_EQ(captions[std::size_t(i)], lines[i - 1]) << i;
}

}  // namespace
}  // namespace tormel
