#include "base/text_codec.h"
#include "support/temp_folder.h"
#include "texts/language_files.h"
#include "texts/shipped_files.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>

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
    for (auto field = reader.readText(); field && fields.size() < 100; field = reader.readText())
        fields.push_back(*field);
    return fields;
}

TEST(FieldReader, SplitsFieldsAsTheFilesAreWritten)
{
    const std::pair<const char*, std::vector<QString>> cases[] = {
        {"  \"x, y\"  ,z", {"x, y", "z"}}, {"\"  keep blanks  \"\r\n", {"  keep blanks  "}}, {"\"q\"junk,next", {"q", "next"}},
        {"Open, save\r\nNext\r\n", {"Open", "save", "Next"}}, {"a\r\n\r\nb", {"a", "", "b"}}, {"a\nb\rc", {"a", "b", "c"}},
        {"done,\"never closed", {"done", "never closed"}}, {"\"open\r\nnext", {"open", "next"}}, {"", {}}, {"a,\"b\"", {"a", "b"}},
    };
    for (const auto& [text, fields] : cases)
        EXPECT_EQ(allFields(QString::fromLatin1(text)), fields) << text;
}

TEST(TextFiles, Windows1252BothWays)
{
    EXPECT_EQ(toWindows1252(QStringLiteral("é€°Ÿ")), QByteArray("\xE9\x80\xB0\x9F"));
    EXPECT_EQ(fromWindows1252(QByteArray("\xE9\x80\xB0\x9F")), QStringLiteral("é€°Ÿ"));
    EXPECT_EQ(toWindows1252(QStringLiteral("a中b")), QByteArray("a?b"));
    EXPECT_EQ(windowsLines({QStringLiteral("x"), QString()}), QByteArray("x\r\n\r\n"));
}

TEST(TextFiles, TextTableReadingRules)
{
    const QByteArray tips = "3,\"tip three\"\r\n";
    // changed: the entries read; every other one keeps its text.
    const struct { const char* name; QByteArray texts; bool textsRead, tipsRead; std::vector<std::pair<int, QString>> changed; } cases[] = {
        {"any order", "42,\"Close\"\r\n0,\" smp.\"\r\n", true, true, {{42, "Close"}, {0, " smp."}}},
        {"index 300 skipped", "300,\"x\"\r\n5,\"Lap : \"\r\n", true, true, {{5, "Lap : "}}},
        {"index 299 is the last", "299,\"last\"\r\n", true, true, {{299, "last"}}},
        {"a blank line between entries", "5,\"Lap : \"\r\n\r\n6,\"Best\"\r\n", true, true, {{5, "Lap : "}, {6, "Best"}}},
        {"blank lines at the end", "5,\"Lap : \"\r\n\r\n \t\r\n", true, true, {{5, "Lap : "}}},
        {"negative index stops", "5,\"Lap : \"\r\n-1,\"x\"\r\n6,\"no\"\r\n", false, false, {{5, "Lap : "}}},
        {"a quote left open ends with its line", "24,\"    Time UNTERMINATED\r\n25,\"Next\"\r\n", true, true,
         {{24, "    Time UNTERMINATED"}, {25, "Next"}}},
        {"index not a number", "five,\"x\"\r\n", false, false, {}},
        {"empty file", "", true, true, {}},
        {"binary bytes", QByteArray("\x00\xFF\x01\"\x80,\r", 7), false, false, {}},
        {"4 MiB is the most read", "5,\"Lap : \"\r\n" + QByteArray(maxLanguageFileBytes - 12, ' '), true, true, {{5, "Lap : "}}},
        {"a byte over 4 MiB is no language file", "5,\"Lap : \"\r\n" + QByteArray(maxLanguageFileBytes - 11, ' '), false, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        writeBytes(folder.file("Textes_2.txt"), c.texts);
        writeBytes(folder.file("Tips_2.txt"), tips);
        TextTables tables = frenchTextTables();
        TextTables expected = frenchTextTables();
        for (const auto& [index, text] : c.changed)
            expected.texts[std::size_t(index)] = text;
        if (c.tipsRead)
            expected.tips[3] = "tip three";

        const TextReadStatus status = readTexts(folder.path(), Language::English, tables);
        EXPECT_EQ(std::pair(status.textsRead, status.tipsRead), std::pair(c.textsRead, c.tipsRead));
        EXPECT_EQ(tables.texts, expected.texts);
        EXPECT_EQ(tables.tips, expected.tips);
    }
}

TEST(TextFiles, ATipIndexOutsideTheTableStopsTheTips)
{
    for (const char* bad : {"26", "-1"}) {
        SCOPED_TRACE(bad);
        TempFolder folder;
        writeBytes(folder.file("Textes_2.txt"), "5,\"Lap : \"\r\n");
        writeBytes(folder.file("Tips_2.txt"), QByteArray("3,\"tip three\"\r\n") + bad + ",\"x\"\r\n4,\"never\"\r\n");
        TextTables tables = frenchTextTables();
        const TextReadStatus status = readTexts(folder.path(), Language::English, tables);
        EXPECT_EQ(std::pair(status.textsRead, status.tipsRead), std::pair(true, false));
        EXPECT_EQ(tables.tips[3], "tip three");
        EXPECT_EQ(tables.tips[4], frenchTextTables().tips[4]);
    }
}

TEST(TextFiles, WritersProduceTheFileFormat)
{
    TempFolder folder;
    TextTables tables = frenchTextTables();
    tables.texts[17] = QStringLiteral("say \"hi\"\r\nnow");
    ASSERT_TRUE(saveTexts(folder.path(), Language::French, tables));
    ASSERT_TRUE(saveTips(folder.path(), Language::French, tables));
    // Whole, and read back unchanged as the shipped files are; a double quote would end its text.
    EXPECT_EQ(readBytes(folder.file("Textes_0.txt")), textsFileBytes(tables));
    EXPECT_TRUE(textsFileBytes(tables).contains("\r\n17,\"say 'hi'  now\"\r\n"));
    EXPECT_EQ(readBytes(folder.file("Tips_0.txt")), tipsFileBytes(tables));

    QString why;
    EXPECT_FALSE(saveTexts(QStringLiteral("/proc"), Language::French, tables, &why));
    EXPECT_FALSE(why.isEmpty());
}

TEST(MenuFiles, WrittenThenReadBackUnchanged)
{
    TempFolder folder;
    MenuCaptions written = frenchMenuCaptions();
    written[menuUnits] = QStringLiteral("km/h  |  °C");
    written[2] = QStringLiteral("Read, download");  // quoted on writing
    written[3] = QStringLiteral("  indented");
    written[30] = QString();
    ASSERT_TRUE(saveMenus(folder.path(), Language::Italian, written));
    const QByteArray bytes = readBytes(folder.file("Menu_5.txt"));
    EXPECT_TRUE(bytes.startsWith("Fichiers\r\nSauver\r\n\"Read, download\"\r\n\"  indented\"\r\n"));

    MenuCaptions read;
    const MenuReadStatus status = readMenus(folder.path(), Language::Italian, read);
    EXPECT_EQ(std::pair(status.failed, status.fieldsRead), std::pair(false, 36));
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
    const MenuReadStatus status = readMenus(folder.path(), Language::English, captions);
    EXPECT_EQ(std::pair(status.failed, status.fieldsRead), std::pair(false, 36));
    QStringList expected = lines.mid(0, menuCaptionCount - 1);
    expected.replace(1, QStringLiteral("save"));
    expected.insert(1, QStringLiteral("Open"));
    EXPECT_EQ(QStringList(captions.begin(), captions.end()), expected);
    // Counts: French takes the singular for 0 and 1, the others for 1 only;
    // a file without the singular's entry keeps its one form.
    TextTables counts = frenchTextTables();
    EXPECT_EQ(countText(counts, librarySessionOne, librarySessionCount, 0), QStringLiteral("0 session"));
    EXPECT_EQ(countText(counts, librarySessionOne, librarySessionCount, 1), QStringLiteral("1 session"));
    EXPECT_EQ(countText(counts, librarySessionOne, librarySessionCount, 2), QStringLiteral("2 sessions"));
    ASSERT_TRUE(readTexts(QStringLiteral(TORMEL_LANG_DIR), Language::German, counts).textsRead);
    EXPECT_EQ(countText(counts, librarySessionOne, librarySessionCount, 0), QStringLiteral("0 Sitzungen"));
    EXPECT_EQ(countText(counts, librarySessionOne, librarySessionCount, 1), QStringLiteral("1 Sitzung"));
    counts.texts[librarySessionOne].clear();
    EXPECT_EQ(countText(counts, librarySessionOne, librarySessionCount, 1), QStringLiteral("1 Sitzungen"));
    // A stored number no language has is French, whatever the folder holds.
    EXPECT_EQ(std::pair(languageOfNumber(6), languageOfNumber(-1)), std::pair(Language::French, Language::French));
    EXPECT_EQ(languageOfNumber(5), Language::Italian);
}

// ---- The language files shipped with the program ----------------------------

const QString langFolder = QStringLiteral(TORMEL_LANG_DIR);

TEST(ShippedLanguageFiles, EveryLanguageReadsWhole)
{
    for (int n = 0; n <= 5; ++n) {
        SCOPED_TRACE(n);
        TextTables tables;
        readTexts(langFolder, Language(n), tables);
        MenuCaptions captions;
        readMenus(langFolder, Language(n), captions);
        // Byte for byte what our own writers make of what was read: a file read short, or
        // not at all, would be written back otherwise.
        EXPECT_EQ(test::readBytes(languageFilePath(langFolder, "Textes_", Language(n))), textsFileBytes(tables));
        EXPECT_EQ(test::readBytes(languageFilePath(langFolder, "Tips_", Language(n))), tipsFileBytes(tables));
        EXPECT_EQ(test::readBytes(languageFilePath(langFolder, "Menu_", Language(n))), menuFileBytes(captions));
        // The French files hold the built-in texts.
        if (n == 0) {
            EXPECT_EQ(tables.texts, frenchTextTables().texts);
            EXPECT_EQ(tables.tips, frenchTextTables().tips);
            EXPECT_EQ(captions, frenchMenuCaptions());
        }

        // Texts laid out in columns keep their blanks in every language.
        for (int i : {0, 8, 22, 24, 25, 26, 28, 29, 30, 31, 32, 33, 34})
            EXPECT_TRUE(tables.texts[std::size_t(i)].startsWith(QLatin1Char(' '))) << i;
        EXPECT_TRUE(tables.texts[53].endsWith(QStringLiteral("support@tormel-vue.example"))) << n;
    }
}

TEST(ShippedLanguageFiles, EveryShippedFileHasItsDigest)
{
    // A copy of any of them in a user's folder must be known as a copy.
    for (const QString& folder : {langFolder, QStringLiteral(TORMEL_HELP_DIR)}) {
        for (const QString& name : QDir(folder).entryList({QStringLiteral("*_?.txt")}, QDir::Files)) {
            const QByteArray bytes = test::readBytes(QDir(folder).filePath(name));
            EXPECT_TRUE(isShippedVersion(name, bytes))
                << "add to src/texts/shipped_files.cpp: {\"" << name.toStdString() << "\", \""
                << QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString() << "\"},";
        }
    }
}

// ---- A user's files over the installed ones ------------------------------------

TEST(LanguageLayers, TheUsersEntriesOverTheShippedOnes)
{
    const QByteArray shippedMenu = test::readBytes(QDir(langFolder).filePath("Menu_2.txt"));
    MenuCaptions newer;
    ASSERT_FALSE(readMenuFile(languageFilePath(langFolder, "Menu_", Language::English), newer).failed);
    newer[16] = QStringLiteral("kmh-new");
    // user: the user's Menu_2.txt and Textes_2.txt; shipped: whether the installed folder is given.
    const struct { const char* name; QByteArray userMenu, userTexts; bool shipped; QString caption16, text22, text5; bool failed; } cases[] = {
        {"nothing of the user's", {}, {}, true, "kmh-new", "  Lap", "Lap : ", false},
        {"an old copy is passed over", shippedMenu, {}, true, "kmh-new", "  Lap", "Lap : ", false},
        {"an edited entry is kept, the others shipped", {}, "22,\"  Round\"\r\n", true, "kmh-new", "  Round", "Lap : ", false},
        {"an empty entry of the user's hides no shipped text", {}, "22,\"  Round\"\r\n5,\"\"\r\n", true, "kmh-new", "  Round", "Lap : ", false},
        {"an edited menu file wins whole", menuFileBytes(frenchMenuCaptions()), {}, true, "kmh-new", "  Lap", "Lap : ", false},
        {"a short menu file of the user's is reported", "Only\r\n", {}, true, "kmh-new", "  Lap", "Lap : ", true},
        {"a build's own copy is read", shippedMenu, test::readBytes(languageFilePath(langFolder, "Textes_", Language::English)), false, "km/h", "  Lap", "Lap : ", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        QDir().mkpath(folder.file("share"));
        QDir().mkpath(folder.file("user"));
        writeBytes(folder.file("share/Menu_2.txt"), menuFileBytes(newer));
        for (const char* name : {"Textes_2.txt", "Tips_2.txt"})
            writeBytes(folder.file(QStringLiteral("share/") + name), test::readBytes(QDir(langFolder).filePath(name)));
        if (!c.userMenu.isEmpty())
            writeBytes(folder.file("user/Menu_2.txt"), c.userMenu);
        if (!c.userTexts.isEmpty())
            writeBytes(folder.file("user/Textes_2.txt"), c.userTexts);
        if (!c.shipped)
            writeBytes(folder.file("user/Tips_2.txt"), test::readBytes(QDir(langFolder).filePath("Tips_2.txt")));
        const QString shipped = c.shipped ? folder.file("share") : QString();

        MenuCaptions captions = frenchMenuCaptions();
        const MenuReadStatus menus = readMenus(folder.file("user"), Language::English, captions, shipped);
        TextTables tables = frenchTextTables();
        const TextReadStatus texts = readTexts(folder.file("user"), Language::English, tables, shipped);
        EXPECT_EQ(menus.failed, c.failed);
        EXPECT_EQ(menus.fieldsRead, menuCaptionCount);
        EXPECT_EQ(captions[16], c.caption16);
        EXPECT_TRUE(texts.textsRead && texts.tipsRead);
        EXPECT_EQ(tables.texts[22] + u'|' + tables.texts[5], c.text22 + u'|' + c.text5);
    }
}

TEST(ShippedLanguageFiles, EveryCurrentTextIsInTheTableOfShippedTexts)
{
    for (int n = 0; n <= 5; ++n) {
        TextTables tables;
        ASSERT_TRUE(readTextsFile(languageFilePath(langFolder, "Textes_", Language(n)), tables));
        ASSERT_TRUE(readTipsFile(languageFilePath(langFolder, "Tips_", Language(n)), tables));
        MenuCaptions captions;
        ASSERT_FALSE(readMenuFile(languageFilePath(langFolder, "Menu_", Language(n)), captions).failed);
        const auto check = [n](const char* prefix, const auto& entries) {
            const QString name = QStringLiteral("%1%2.txt").arg(QLatin1String(prefix)).arg(n);
            for (std::size_t i = 0; i < entries.size(); ++i)
                EXPECT_TRUE(entries[i].isEmpty() || isShippedText(name, int(i), entries[i]))
                    << name.toStdString() << " entry " << i << ": run scripts/shipped_texts";
        };
        check("Textes_", tables.texts);
        check("Tips_", tables.tips);
        check("Menu_", captions);
    }
}

TEST(ShippedLanguageFiles, TheTableAnswersByFileEntryAndText)
{
    for (const ShippedText& t : shippedTexts())
        ASSERT_TRUE(isShippedText(QLatin1String(t.file), t.entry, QString::fromUtf8(t.text))) << t.file << ' ' << t.entry;
    const struct { const char* file; int entry; QString text; bool shipped; } cases[] = {
        {"Textes_2.txt", 22, "  Lap", true}, {"Textes_2.txt", 21, "  Lap", false}, {"Textes_3.txt", 22, "  Lap", false},
        {"Textes_2.txt", 22, "  Lap ", false}, {"Textes_2.txt", 22, " Lap", false}, {"Textes_0.txt", 0, " éch.", true},
        {"Menu_2.txt", 35, "Help", true}, {"Menu_2.txt", 35, "Guide", false}, {"Help_2.txt", 0, "Help", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isShippedText(QLatin1String(c.file), c.entry, c.text), c.shipped) << c.file << ' ' << c.entry;
}

// A user's files written whole from one version, with an entry or two of
// their own, read under the next version's installed files: every entry the
// user did not change shows the new text.
TEST(LanguageLayers, AnUpgradeReachesEveryEntryTheUserDidNotChange)
{
    TextTables current;
    ASSERT_TRUE(readTextsFile(languageFilePath(langFolder, "Textes_", Language::English), current));
    ASSERT_TRUE(readTipsFile(languageFilePath(langFolder, "Tips_", Language::English), current));
    MenuCaptions currentMenu;
    ASSERT_FALSE(readMenuFile(languageFilePath(langFolder, "Menu_", Language::English), currentMenu).failed);
    TextTables next = current;
    next.texts[23] = QStringLiteral("Stint");
    next.texts[150] = QStringLiteral("Compare");
    next.tips[7] = QStringLiteral("Start the download");
    MenuCaptions nextMenu = currentMenu;
    nextMenu[34] = QStringLiteral("Remarks");
    nextMenu[16] = QStringLiteral("kph");

    TextTables edited = current;
    edited.texts[22] = QStringLiteral("  Round");
    edited.tips[8] = QStringLiteral("Click me");
    MenuCaptions editedMenu = currentMenu;
    editedMenu[35] = QStringLiteral("Guide");
    TextTables blanks = current;
    blanks.texts[23].clear();
    blanks.tips[7].clear();
    MenuCaptions blankMenu = currentMenu;
    blankMenu[16].clear();
    blankMenu[34].clear();
    // The first 71 entries, as versions before the 200-entry table wrote them.
    const QByteArray old = textsFileBytes(edited).left(textsFileBytes(edited).indexOf("\r\n71,") + 2);

    // Expected: texts 22, 23, 150, tips 7, 8, captions 16, 34, 35.
    const struct { const char* name; QByteArray texts, tips, menu; QStringList expected; } cases[] = {
        {"one entry of each file changed", textsFileBytes(edited), tipsFileBytes(edited), menuFileBytes(editedMenu),
         {"  Round", "Stint", "Compare", "Start the download", "Click me", "kph", "Remarks", "Guide"}},
        {"a text table older than the 200-entry one", old, {}, {},
         {"  Round", "Stint", "Compare", "Start the download", next.tips[8], "kph", "Remarks", "Help"}},
        {"empty entries keep the installed texts", textsFileBytes(blanks), tipsFileBytes(blanks), menuFileBytes(blankMenu),
         {"  Lap", "Stint", "Compare", "Start the download", next.tips[8], "kph", "Remarks", "Help"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        QDir().mkpath(folder.file("share"));
        QDir().mkpath(folder.file("user"));
        writeBytes(folder.file("share/Textes_2.txt"), textsFileBytes(next));
        writeBytes(folder.file("share/Tips_2.txt"), tipsFileBytes(next));
        writeBytes(folder.file("share/Menu_2.txt"), menuFileBytes(nextMenu));
        const std::pair<const char*, QByteArray> userFiles[] = {{"user/Textes_2.txt", c.texts}, {"user/Tips_2.txt", c.tips}, {"user/Menu_2.txt", c.menu}};
        for (const auto& [name, bytes] : userFiles) {
            if (!bytes.isEmpty())
                writeBytes(folder.file(name), bytes);
        }
        TextTables tables = frenchTextTables();
        const TextReadStatus status = readTexts(folder.file("user"), Language::English, tables, folder.file("share"));
        MenuCaptions captions = frenchMenuCaptions();
        EXPECT_FALSE(readMenus(folder.file("user"), Language::English, captions, folder.file("share")).failed);
        EXPECT_TRUE(status.textsRead && status.tipsRead);
        EXPECT_EQ(QStringList({tables.texts[22], tables.texts[23], tables.texts[150], tables.tips[7], tables.tips[8], captions[16],
                               captions[34], captions[35]}),
                  c.expected);
    }
}

TEST(LanguageLayers, NoFileAtAllIsAFailureNamingTheShippedOne)
{
    TempFolder folder;
    QDir().mkpath(folder.file("share"));
    MenuCaptions captions = frenchMenuCaptions();
    const MenuReadStatus menus = readMenus(folder.file("user"), Language::German, captions, folder.file("share"));
    EXPECT_TRUE(menus.failed);
    EXPECT_EQ(menus.failedFile, folder.file("share/Menu_3.txt"));
    EXPECT_EQ(captions, frenchMenuCaptions());
    TextTables tables;
    EXPECT_FALSE(readTexts(folder.file("user"), Language::German, tables, folder.file("share")).textsRead);
    // Without an installed folder the user's own is named.
    EXPECT_EQ(readMenus(folder.file("user"), Language::German, captions).failedFile, folder.file("user/Menu_3.txt"));
    // A name that is there but cannot be read as a file fails too.
    QDir().mkpath(folder.file("user/Textes_3.txt"));
    EXPECT_FALSE(readTexts(folder.file("user"), Language::German, tables).textsRead);
}

TEST(LanguageLayers, TheHelpOfTheUserOrTheShippedOne)
{
    TempFolder folder;
    QDir().mkpath(folder.file("share"));
    QDir().mkpath(folder.file("user"));
    writeBytes(folder.file("share/Help_1.txt"), "Gids \xE2\x82\xAC\n");
    writeBytes(folder.file("share/Help_2.txt"), "Guide\n");
    writeBytes(folder.file("user/Help_2.txt"), "Mine \x80\n");  // not UTF-8: an old Windows-1252 file
    const QString user = folder.file("user"), shipped = folder.file("share");
    const struct { Language language; QString path; std::optional<QString> text; } cases[] = {
        {Language::Dutch, folder.file("share/Help_1.txt"), QStringLiteral("Gids €\n")},
        {Language::English, folder.file("user/Help_2.txt"), QStringLiteral("Mine €\n")},
        {Language::German, folder.file("share/Help_3.txt"), std::nullopt},
    };
    for (const auto& c : cases) {
        const HelpText help = readHelp(user, shipped, c.language);
        EXPECT_EQ(help.path, c.path) << int(c.language);
        EXPECT_EQ(help.text, c.text) << int(c.language);
    }
}

}  // namespace
}  // namespace tormel
