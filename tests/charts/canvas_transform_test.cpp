#include "charts/canvas_transform.h"
#include "charts/lap_chart_rules.h"
#include "laps/laps_records.h"

#include <gtest/gtest.h>

namespace tormel {
namespace {

TEST(CanvasTransform, UserPointsLandInThePixelHoldingThem)
{
    const struct { UserScale scale; int width, height; QPointF user; QPoint pixel; } cases[] = {
        {{0, 0, 100, 50}, 200, 100, {50, 25}, {100, 50}},
        {{0, 0, 100, 50}, 200, 100, {99.9, 49.9}, {199, 99}},
        {{0, 0, 100, 50}, 200, 100, {100, 50}, {200, 100}},  // the far edges lie just outside
        // A chart: larger values at the top.
        {{0, 21, 60, 9}, 1200, 600, {0.1, 20.99}, {2, 0}},
        {{0, 21, 60, 9}, 1200, 600, {59.9, 9}, {1198, 600}},
        // Right to left.
        {{10, 0, 0, 10}, 100, 100, {2.5, 5}, {75, 50}},
        // Left of the canvas rounds down, not towards zero.
        {{0, 0, 100, 100}, 100, 100, {-0.5, -0.5}, {-1, -1}},
        // No extent: everything on the first edge, no division by zero.
        {{5, 5, 5, 5}, 100, 100, {7, 3}, {0, 0}},
        {{0, 0, 0, 10}, 0, 0, {1, 1}, {0, 0}},
    };
    for (const auto& c : cases) {
        const CanvasTransform t(c.scale, c.width, c.height);
        EXPECT_EQ(t.pixel(c.user), c.pixel) << c.user.x() << "," << c.user.y() << " on " << c.width << "x" << c.height;
    }
    EXPECT_EQ(CanvasTransform({2, 3, 10, 8}, 0, 0).user({5, 5}), QPointF(2, 3));  // a canvas of no size: its first edges
}

TEST(LapChartRules, TheScaleLeavesATenthOfTheRangeOrOneUnit)
{
    const struct { float minimum, maximum, top, bottom; } cases[] = {
        {10, 20, 21, 9}, {0, 0, 1, -1}, {-50, 50, 60, -60}, {5999, 6500, 6550.1F, 5948.9F},
        // A column with no lap left: the reset values, upside down but finite.
        {65536, 0, -6553.6F, 72089.6F},
    };
    for (const auto& c : cases) {
        const ChartEdges e = chartEdges(c.minimum, c.maximum);
        EXPECT_FLOAT_EQ(e.top, c.top) << c.minimum << ".." << c.maximum;
        EXPECT_FLOAT_EQ(e.bottom, c.bottom) << c.minimum << ".." << c.maximum;
    }
}

TEST(LapChartRules, ReadOutNamesLapStageTimeEngineSpeedAndTemperature)
{
    std::vector<test::LapSpec> laps = test::lapsOfTimes({6012, 5999, 6100});
    laps[1].stage = 1;
    const LapTable table = test::lapTableOf(laps);
    EXPECT_EQ(lapReadoutLine(table, 3, 2),
              QStringLiteral("  Tour  02     Etape  1         Temps  59\"99      Max RPM  10010     Max °C  61"));
    // A read-out of a row that is not there still names the columns.
    EXPECT_EQ(lapReadoutLine(table, 99, 0),
              QStringLiteral("  Tour  00     Etape  0         Temps        Max RPM       Max °C  "));
}

TEST(LapChartWindow, LapsPerScreenAndScrollRange)
{
    // Laps, screen twips, then laps per screen and the scroll bar (maximum and step when shown).
    const std::tuple<int, int, int, bool, int, int> cases[] = {
        {90, 15360, 48, true, 42, 24}, {40, 15360, 40, false, 0, 0}, {75, 19200, 60, true, 15, 30}, {99, 40000, 60, true, 39, 30}, {5, 0, 1, true, 4, 0}};
    for (const auto& [laps, twips, perScreen, scroll, maximum, step] : cases) {
        const LapChartWindow w = lapChartWindow(laps, twips);
        EXPECT_EQ(std::tuple(w.lapsOnScreen, w.scrollVisible), std::tuple(perScreen, scroll)) << laps;
        EXPECT_TRUE(!scroll || std::tuple(w.scrollMaximum, w.scrollLargeStep) == std::tuple(maximum, step)) << laps;
    }
}

}  // namespace
}  // namespace tormel
