#include "charts/cursor_rules.h"
#include "charts/record_chart_rules.h"

#include "laps/laps_records.h"

#include <gtest/gtest.h>

#include <numeric>

namespace tormel {
namespace {

TEST(RecordChartRules, ARecordWithoutACompleteLapIsShownWhole)
{
    const struct { const char* name; std::vector<int> beacons; } cases[] = {
        {"no beacon pass", {}}, {"one closing pass", {120}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RpmStatistics stats = test::rpmStatisticsOf(test::samplesWithBeacons(784, c.beacons));
        const LapView v = lapView(stats, 1);
        EXPECT_TRUE(v.wholeRecording);
        EXPECT_EQ(std::pair(v.first, v.last), std::pair(0, 783));
        EXPECT_DOUBLE_EQ(v.seconds, 784 * 0.2);
        EXPECT_EQ(std::accumulate(v.histogram.begin(), v.histogram.end(), 0), 784);
        EXPECT_EQ(lapSummary(frenchTextTables(), v.seconds, 0, QLatin1Char(',')), QStringLiteral(" 156,8 sec.  Max Rpm : 0"));
        EXPECT_EQ(traceFigure(stats, v, 10000).segments.size(), 784U);
    }
}

TEST(RecordChartRules, TraceAndHistogramStopAtTheTablesEnds)
{
    // Laps closed at 0, 100 and 1983: lap 2 ends on the last sample.
    const RpmStatistics stats = test::rpmStatisticsOf(test::samplesWithBeacons(1984, {0, 100, 1983}));
    ASSERT_EQ(stats.lapCount, 3);
    const LapView lap = lapView(stats, 2);
    EXPECT_FALSE(lap.wholeRecording);
    EXPECT_EQ(std::pair(lap.first, lap.last), std::pair(100, 1983));
    const TraceFigure trace = traceFigure(stats, lap, stats.maxRpm);
    EXPECT_EQ(trace.segments.back().x1(), 1982.0);  // nothing from sample 1983
    // Each segment joins a sample to the next one.
    EXPECT_EQ(trace.segments[5], QLineF(105, stats.smoothedRpm[105], 106, stats.smoothedRpm[106]));
    ASSERT_EQ(trace.beacons.size(), 2U);
    EXPECT_EQ(std::pair(trace.beacons.front().x1(), trace.beacons.back().x1()), std::pair(100.0, 1983.0));
    EXPECT_EQ(trace.beacons.front().y2(), stats.maxRpm);
    EXPECT_EQ(trace.lapMaxRpm, 89 * 300);
    // Two passes close one lap at both ends: it alone is shown.
    const RpmStatistics two = test::rpmStatisticsOf(test::samplesWithBeacons(784, {100, 500}));
    ASSERT_EQ(two.lapCount, 2);
    const LapView closed = lapView(two, 1);
    EXPECT_EQ(std::tuple(closed.wholeRecording, closed.first, closed.last), std::tuple(false, 100, 500));

    LapView top;
    top.histogram[126] = 4;
    top.histogram[127] = 9;
    const std::vector<QLineF> histogram = histogramSegments(top, histogramClasses(127 * 300, 300));
    ASSERT_EQ(histogram.size(), 126U);  // classes 126 down to 1, none to 128
    EXPECT_EQ(histogram.front(), QLineF(4, 126, 9, 127));
    EXPECT_EQ(histogramClasses(1000, 0), 127);  // no class width: no division by zero
}

TEST(RecordChartRules, CaptionsSmoothingAndReadOutFont)
{
    const TextTables t = frenchTextTables();
    EXPECT_EQ(lapCaption(t, 7, true), t.texts[4] + QStringLiteral("7"));
    EXPECT_EQ(lapCaption(t, 7, false), t.texts[5] + QStringLiteral("7"));
    EXPECT_EQ(smoothingText(2, t.texts[0]), QStringLiteral(" 5 éch."));
    const std::pair<int, int> fonts[] = {{9599, 8}, {9600, 9}, {9601, 11}, {12288, 10}, {19200, 11}};
    for (const auto& [width, size] : fonts)
        EXPECT_EQ(label24PointSize(width), size) << width;
}

TEST(RecordChartRules, TheTraceTakesThreeQuartersAndTheHistogramTheRest)
{
    const struct { int width, height; TwipsRect crpm, ctr; } cases[] = {
        // 1024 pixels: the trace from the read-outs (1812) to 11520, a gap of 200, the histogram to 320 short.
        {15360, 3000, {1812, 300, 9708, 2640}, {11720, 300, 3320, 2640}},
        // Too narrow and too low for either: nothing drawn, nothing negative.
        {2000, 200, {1812, 300, 0, 0}, {2012, 300, 0, 0}},
    };
    for (const auto& c : cases) {
        const RecordChartLayout l = sizeRecordChart(c.width, c.height);
        EXPECT_EQ(l.crpm, c.crpm) << c.width;
        EXPECT_EQ(l.ctr, c.ctr) << c.width;
    }
}

TEST(CursorRules, StepsDifferencesAndTheHistogramReadOut)
{
    EXPECT_EQ(std::pair(stepTarget(100.5, 1), stepTarget(100.5, -1)), std::pair(101.0, 99.0));
    EXPECT_TRUE(withinEdges(100.0, 100.0, 200.0) && withinEdges(200.0, 100.0, 200.0) && withinEdges(150.0, 200.0, 100.0));
    EXPECT_FALSE(withinEdges(200.01, 100.0, 200.0));

    const struct { double left, right; int leftRpm, rightRpm; char separator; QString time, rpm; std::optional<QString> rate; } cases[] = {
        {300, 310.7, 9000, 9800, '.', "2.00", "800", "400.00 RPM/s"},
        {300, 310, 9000, 9800, ',', "2,00", "800", "400,00 RPM/s"},
        {300, 300.9, 9000, 9800, '.', "0.00", "800", std::nullopt},  // the rate keeps its text
        {310, 300, 9000, 9800, '.', "-2.00", "800", "-400.00 RPM/s"},
        {0, 12, 0, 0, '.', "2.40", "0", "000.00 RPM/s"},  // a marker never placed counts as sample 0, 0 RPM
    };
    for (const auto& c : cases) {
        const MarkerDifferences d = markerDifferences(c.left, c.right, c.leftRpm, c.rightRpm, QLatin1Char(c.separator));
        EXPECT_EQ(d.secondsText + u'|' + d.rpmDifferenceText, c.time + u'|' + c.rpm) << c.left << ' ' << c.right;
        EXPECT_EQ(d.rateText, c.rate) << c.left << ' ' << c.right;
    }
    EXPECT_EQ(histogramReadout(50, 0.0, 0, QLatin1Char('.')), QStringLiteral("0-50 : 00.0s"));
    EXPECT_EQ(histogramReadout(50, 9.7, 17, QLatin1Char(',')), QStringLiteral("450-500 : 03,4s"));
    EXPECT_EQ(sampleTimeText(163, 100, QLatin1Char('.')), QStringLiteral("12.6"));
}

}  // namespace
}  // namespace tormel
