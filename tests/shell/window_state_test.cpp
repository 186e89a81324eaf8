#include "shell/window_state.h"

#include <gtest/gtest.h>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;

TEST(WindowState, StoredWordsBecomeChoicesAndBack)
{
    SystemSettings stored;
    stored.comPort = 3;
    stored.speedUnit = 1;
    stored.temperatureUnit = 1;
    stored.language = 5;
    stored.currentTrack = 42;
    stored.showToolTips = false;
    const WindowSettings s = windowSettingsOf(stored);
    EXPECT_EQ(s.port, PortNumber{3});
    EXPECT_EQ(s.speedUnit, SpeedUnit::MilesPerHour);
    EXPECT_EQ(s.temperatureUnit, TemperatureUnit::Fahrenheit);
    EXPECT_EQ(s.language, Language::Italian);
    EXPECT_EQ(std::pair(s.currentTrack, s.showToolTips), std::pair(42, false));
    EXPECT_EQ(storedSettingsOf(s), stored);
    // Words out of their range give the defaults.
    for (const auto& [port, language] : {std::pair(0, -1), std::pair(5, 6)}) {
        stored.comPort = std::int16_t(port);
        stored.language = std::int16_t(language);
        const WindowSettings d = windowSettingsOf(stored);
        EXPECT_EQ(std::pair(d.port, d.language), std::pair(PortNumber{1}, Language::French)) << port;
    }
    EXPECT_EQ(temperatureUnitCaption(TemperatureUnit::Celsius) + temperatureUnitCaption(TemperatureUnit::Fahrenheit), u"°C°F"_s);
    EXPECT_FALSE(PortNumber::isPort(0) || PortNumber::isPort(5));
    EXPECT_TRUE(PortNumber::isPort(1) && PortNumber::isPort(4));
}

TEST(WindowState, TheTitleAndTheCommandsFollowTheRecordShown)
{
    const TextTables french = frenchTextTables();
    const QString listening = u"Tormel_Vue Version 1.1 sur le port %1"_s;
    const QString path = u"/laps/run1.Tml"_s;
    const struct {
        ShownRecord shown;
        WindowActivity activity;
        QString title, compared, reportName;
    } rows[] = {
        {{}, {}, u"Tormel_Vue"_s, {}, u"Tormel_Vue"_s},
        {recordFromFile(path, u"270415"_s, 2048), {}, path + u"   SN:270415"_s, path, u"run1"_s},
        {recordFromFile(path, u"270415"_s, 1000), {}, path + u"   SN:270415"_s + french.texts[titleTruncated].arg(1000).arg(2048),
         path, u"run1"_s},
        // Listening names the port, over whatever is shown.
        {recordFromFile(path, u"270415"_s, 2048), {true, PortNumber{2}}, listening.arg(2), path, u"run1"_s},
        // A download has no file of its own until saved; its laps are read from the copy kept.
        {recordFromDownload(PortNumber{3}, u"/dl/copy.Tml"_s, u"1"_s), {}, listening.arg(3), u"/dl/copy.Tml"_s,
         u"Tormel_Vue"_s},
        {recordFromDownload(PortNumber{4}, {}, u"1"_s), {}, listening.arg(4), {}, u"Tormel_Vue"_s},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(windowTitleOf(r.shown, r.activity, french), r.title);
        EXPECT_EQ(comparedPathOf(r.shown), r.compared) << r.title.toStdString();
        EXPECT_EQ(reportBaseNameOf(r.shown), r.reportName) << r.title.toStdString();
    }
    EXPECT_TRUE(recordFromFile(path, {}, 2048).whole());
    EXPECT_FALSE(recordFromFile(path, {}, 2047).whole());
    EXPECT_TRUE(recordFromDownload(PortNumber{1}, path, {}).path.isEmpty());
}

}  // namespace
}  // namespace tormel
