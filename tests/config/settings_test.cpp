#include "config/settings.h"
#include "support/temp_folder.h"

#include <QDir>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

TEST(Settings, SavesTheTenBytesLittleEndian)
{
    TempFolder folder;
    SystemSettings s;
    s.Port_Com = 3;
    s.Choix_Vitesse = 1;
    s.Choix_Temp = 1;
    s.Choix_Langue = 3;
    s.Piste_Courante = 12;
    s.AffTip = false;
    ASSERT_TRUE(Sauve_System(folder.path(), s));
    EXPECT_EQ(readBytes(folder.file("Tormport.dat")), hex("0300030003000C000000"));
    EXPECT_EQ(Charge_System(folder.path()), s);

    s.AffTip = true;
    s.Piste_Courante = 100;
    ASSERT_TRUE(Sauve_System(folder.path(), s));
    EXPECT_EQ(readBytes(folder.file("Tormport.dat")), hex("0300030003006400FFFF"));
}

TEST(Settings, ReadingCorrectsEachValue)
{
    struct Case {
        const char* bytes;
        SystemSettings expected;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        TempFolder folder;
        writeBytes(folder.file("Tormport.dat"), hex(c.bytes));
        EXPECT_EQ(Charge_System(folder.path()), c.expected);
    }
}

TEST(Settings, UnwritableFolderReportsFailureAndKeepsTheOldFile)
{
    TempFolder folder;
    SystemSettings s;
    s.Choix_Langue = 2;
    QString why;
    // A settings path that is a folder cannot be replaced; nothing is lost.
    ASSERT_TRUE(QDir(folder.path()).mkpath("sub/Tormport.dat"));
    EXPECT_FALSE(Sauve_System(folder.file("sub"), s, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_TRUE(QDir(folder.file("sub/Tormport.dat")).exists());
}

}  // namespace
}  // namespace tormel
