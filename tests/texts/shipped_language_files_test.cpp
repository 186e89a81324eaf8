#include "support/temp_folder.h"
#include "texts/language_files.h"

#include <gtest/gtest.h>

namespace tormel {
namespace {

const QString langFolder = QStringLiteral(TORMEL_LANG_DIR);

TEST(ShippedLanguageFiles, EveryLanguageReadsWhole)
{
    for (int n = 0; n <= 5; ++n) {
        SCOPED_TRACE(n);
        TextTables tables;
        const TextReadStatus status = Lire_Textes(langFolder, n, tables);
        EXPECT_TRUE(status.textesRead);
        EXPECT_TRUE(status.tipsRead);
        MenuCaptions captions;
        const MenuReadStatus menu = Lire_Menus(langFolder, n, captions);
        EXPECT_FALSE(menu.failed);
        EXPECT_EQ(menu.fieldsRead, menuCaptionCount);

        // Byte for byte what our own writers make of what was read.
        EXPECT_EQ(test::readBytes(languageFilePath(langFolder, "Textes_", n)), textesFileBytes(tables));
        EXPECT_EQ(test::readBytes(languageFilePath(langFolder, "Tips_", n)), tipsFileBytes(tables));
        EXPECT_EQ(test::readBytes(languageFilePath(langFolder, "Menu_", n)), menuFileBytes(captions));

        // Texts laid out in columns keep their blanks in every language.
        for (int i : {0, 8, 22, 24, 25, 26, 28, 29, 30, 31, 32, 33, 34})
            EXPECT_TRUE(tables.Textes[std::size_t(i)].startsWith(QLatin1Char(' '))) << i;
        EXPECT_TRUE(tables.Textes[53].endsWith(QStringLiteral("support@tormel-vue.example"))) << n;
    }
}

TEST(ShippedLanguageFiles, FrenchFilesHoldTheBuiltInTexts)
{
    TextTables tables;
    ASSERT_TRUE(Lire_Textes(langFolder, 0, tables).tipsRead);
    const TextTables french = frenchTextTables();
    EXPECT_EQ(tables.Textes, french.Textes);
    EXPECT_EQ(tables.Tips, french.Tips);
    MenuCaptions captions;
    ASSERT_FALSE(Lire_Menus(langFolder, 0, captions).failed);
    EXPECT_EQ(captions, frenchMenuCaptions());
}

}  // namespace
}  // namespace tormel
