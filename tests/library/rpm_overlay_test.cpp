#include "library/rpm_overlay.h"

#include "laps/laps_records.h"

#include <gtest/gtest.h>

namespace tormel {
namespace {

OverlayLap rising(int samples, float from, float step, int classWidth = 300)
{
    OverlayLap lap;
    for (int i = 0; i < samples; ++i)
        lap.rpm.push_back(from + step * float(i));
    lap.classWidth = classWidth;
    return lap;
}

TEST(RpmOverlay, LapsOfDifferentLengthsOnTimeAndOnFraction)
{
    // 5 samples (0.8 s) and 9 samples (1.6 s).
    const std::vector<OverlayLap> laps{rising(5, 8000, 100), rising(9, 7000, 200)};
    EXPECT_DOUBLE_EQ(lapSeconds(laps[1]), 1.6);
    EXPECT_DOUBLE_EQ(overlayX(laps[1], 4, Alignment::Fraction), 0.5);
    using R = std::optional<double>;
    const struct { Alignment alignment; double x; int reference; R rpm0, rpm1, difference1, seconds1, secondsDifference1; } cases[] = {
        {Alignment::Time, 0.4, 0, 8200, 7400, -800, {}, {}},
        {Alignment::Time, 0.3, 0, 8150, 7300, -850, {}, {}},   // between two samples
        {Alignment::Time, 1.0, 0, {}, 8000, {}, {}, {}},       // past the shorter lap's end
        {Alignment::Time, -0.1, 0, {}, {}, {}, {}, {}},
        {Alignment::Fraction, 0.5, 0, 8200, 7800, -400, 0.8, 0.4},
        {Alignment::Fraction, 1.0, 0, 8400, 8600, 200, 1.6, 0.8},
        {Alignment::Fraction, 0.5, 1, 8200, 7800, {}, 0.8, {}},  // the reference changed
    };
    for (const auto& c : cases) {
        const std::vector<CursorReading> r = cursorReadings(laps, c.reference, c.x, c.alignment);
        ASSERT_EQ(r.size(), 2U);
        const auto near = [](const R& a, const R& b) { return a.has_value() == b.has_value() && (!a || std::abs(*a - *b) < 1e-6); };
        EXPECT_TRUE(near(r[0].rpm, c.rpm0) && near(r[1].rpm, c.rpm1)) << c.x << ' ' << c.reference;
        EXPECT_TRUE(near(r[1].rpmDifference, c.difference1) && near(r[1].seconds, c.seconds1)) << c.x << ' ' << c.reference;
        EXPECT_TRUE(near(r[1].secondsDifference, c.secondsDifference1)) << c.x << ' ' << c.reference;
        if (c.reference == 1) {
            EXPECT_TRUE(near(r[0].rpmDifference, 400) && near(r[0].secondsDifference, -0.4)) << c.x;
        }
    }
    EXPECT_EQ(lapRpmFigures(laps[0]), (LapRpmFigures{8400, 8000, 8200}));
    EXPECT_EQ(lapRpmFigures(OverlayLap{}), LapRpmFigures{});
    EXPECT_FALSE(rpmAt(OverlayLap{}, 0, Alignment::Time).has_value());
}

TEST(RpmOverlay, LapsAsTheirRecordsChartThemAndHistogramsOnTheWidestClasses)
{
    // Lap 2 ends on the record's last sample: its last six samples, with no
    // full smoothing window, keep their raw engine speed.
    const RpmStatistics stats = test::rpmStatisticsOf(test::samplesWithBeacons(400, {10, 21, 399}), 1, 2, 3);
    ASSERT_EQ(stats.lapCount, 3);
    const OverlayLap first = overlayLapOf(stats, 1);
    ASSERT_EQ(first.rpm.size(), 12U);
    EXPECT_EQ(std::pair(first.rpm.front(), first.rpm.back()), std::pair(stats.smoothedRpm[10], stats.smoothedRpm[21]));
    const OverlayLap last = overlayLapOf(stats, 2);
    ASSERT_EQ(last.rpm.size(), 379U);
    EXPECT_EQ(last.rpm.back(), float(stats.rawRpm[399]));
    EXPECT_NE(last.rpm[370], float(stats.rawRpm[391]));
    EXPECT_EQ(last.classWidth, stats.rpmStep);
    EXPECT_GT(last.histogram[std::size_t(stats.rawRpm[100] / stats.rpmStep)], 0);
    EXPECT_TRUE(overlayLapOf(stats, 3).rpm.empty());  // never closed
    EXPECT_TRUE(overlayLapOf(stats, 0).rpm.empty());

    OverlayLap narrow = rising(1, 0, 0, 150);
    narrow.histogram = {1, 2, 3, 4, 5};  // classes of 150: 0, 150, 300, 450, 600
    OverlayLap wide = rising(1, 0, 0, 300);
    wide.histogram = {10, 0, 5};
    // Laps of records without an engine-speed factor: no classes, still a row per lap.
    EXPECT_EQ(commonHistograms({OverlayLap{}, OverlayLap{}}).seconds.size(), 2U);
    const CommonHistograms common = commonHistograms({narrow, wide});
    EXPECT_EQ(common.classWidth, 300);
    ASSERT_EQ(common.seconds.size(), 2U);
    const std::vector<double> narrowSeconds{0.6, 1.4, 1.0}, wideSeconds{2.0, 0.0, 1.0};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_NEAR(common.seconds[0][k], narrowSeconds[k], 1e-9) << k;
        EXPECT_NEAR(common.seconds[1][k], wideSeconds[k], 1e-9) << k;
    }
}

}  // namespace
}  // namespace tormel
