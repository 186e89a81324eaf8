#include "shell/settings_controller.h"

#include "support/fakes.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;
using test::readBytes;
using test::writeBytes;

// A program folder of its own, with the shipped language files.
class SettingsControllerTest : public ::testing::Test {
protected:
    SettingsControllerTest()
    {
        const QDir shipped(QStringLiteral(TORMEL_LANG_DIR));
        for (const QString& name : shipped.entryList({u"*.txt"_s}, QDir::Files))
            QFile::copy(shipped.filePath(name), folder_.file(name));
    }
    QByteArray stored() const { return readBytes(folder_.file(u"Tormport.dat"_s)); }

    test::TempFolder folder_;
    test::FakeDialogs dialogs_;
    SettingsController settings_{dialogs_, folder_.path(), {}};
};

TEST_F(SettingsControllerTest, StoredChoicesApplyWithTheirLanguageAndAreNotWrittenBack)
{
    const QByteArray bytes("\x03\x00\x01\x00\x03\x00\x07\x00\x00\x00", 10);
    writeBytes(folder_.file(u"Tormport.dat"_s), bytes);
    QSignalSpy port(&settings_, &SettingsController::portChanged);
    QSignalSpy texts(&settings_, &SettingsController::textsChanged);
    settings_.restore();
    EXPECT_EQ(settings_.settings().port, PortNumber{3});
    EXPECT_EQ(settings_.settings().language, Language::German);
    EXPECT_EQ(settings_.settings().currentTrack, 7);
    EXPECT_EQ(std::pair(settings_.settings().speedUnit, settings_.settings().showToolTips), std::pair(SpeedUnit::MilesPerHour, false));
    EXPECT_EQ(settings_.tables().texts[portMenuPrefix], u"Komm:"_s);
    EXPECT_NE(settings_.menuCaptions()[0], frenchMenuCaptions()[0]);
    EXPECT_EQ(std::pair(int(port.count()), int(texts.count())), std::pair(1, 1));
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(stored(), bytes);
}

TEST_F(SettingsControllerTest, EachChoiceIsKeptAndAFailedWriteIsToldOnce)
{
    settings_.restore();
    EXPECT_TRUE(stored().isEmpty());
    QSignalSpy units(&settings_, &SettingsController::unitsChanged);
    settings_.setCurrentTrack(12);
    settings_.Com_Click(4);
    settings_.Com_Click(0);  // no port: nothing changes
    settings_.Unite_Vitesse_Click(1);
    settings_.Unite_Temp_Click(1);
    settings_.AffTip_Click();
    settings_.Langue_Click(1);
    EXPECT_EQ(stored(), QByteArray("\x04\x00\x03\x00\x01\x00\x0C\x00\x00\x00", 10));
    EXPECT_FALSE(settings_.settings().showToolTips);
    EXPECT_EQ(int(units.count()), 2);
    settings_.Unite_Vitesse_Click(0);
    EXPECT_EQ(settings_.settings().speedUnit, SpeedUnit::KilometresPerHour);

    ASSERT_TRUE(QFile::remove(folder_.file(u"Tormport.dat"_s)) && QDir(folder_.path()).mkdir(u"Tormport.dat"_s));
    settings_.Com_Click(2);
    settings_.Langue_Click(2);
    ASSERT_EQ(dialogs_.messages.size(), 1U);
    EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(settings_.settings().port, PortNumber{2});
}

TEST_F(SettingsControllerTest, AMissingLanguageIsToldAndTheToolsWriteItsFiles)
{
    settings_.restore();
    ASSERT_TRUE(QFile::remove(folder_.file(u"Menu_5.txt"_s)));
    settings_.Langue_Click(5);
    ASSERT_EQ(dialogs_.messages.size(), 1U);
    EXPECT_EQ(dialogs_.messages[0].caption, settings_.menuCaptions()[menuLanguageFirst + 5]);
    EXPECT_EQ(settings_.settings().language, Language::Italian);
    dialogs_.messages.clear();
    settings_.Langue_Click(6);  // no such language
    EXPECT_EQ(settings_.settings().language, Language::Italian);

    ASSERT_TRUE(QFile::remove(folder_.file(u"Textes_5.txt"_s)));
    settings_.Sauve_Textes_Click();
    settings_.Sauve_Menus_Click();
    EXPECT_EQ(readBytes(folder_.file(u"Textes_5.txt"_s)), textsFileBytes(settings_.tables()));
    EXPECT_EQ(readBytes(folder_.file(u"Menu_5.txt"_s)), menuFileBytes(settings_.menuCaptions()));
    ASSERT_TRUE(QFile::remove(folder_.file(u"Tips_5.txt"_s)) && QDir(folder_.path()).mkdir(u"Tips_5.txt"_s));
    settings_.Sauve_Tips_Click();
    ASSERT_EQ(dialogs_.messages.size(), 1U);
    EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(dialogs_.messages[0].text.contains(u"Tips_5.txt"_s));
}

}  // namespace
}  // namespace tormel
