#include "laps/ranges.h"
#include "laps/rpm_statistics.h"

#include "laps_records.h"

#include <gtest/gtest.h>

#include <numeric>

namespace tormel {
namespace {

using test::rpmStatisticsOf;
using test::samplesWithBeacons;

constexpr std::uint8_t Mark = 128;

TEST(computeRpmStatistics, NoBeaconGivesOneLapZeroAndSamplesCountInTheirLap)
{
    const RpmStatistics st = rpmStatisticsOf(std::vector<std::uint8_t>(40, 10));
    EXPECT_EQ((std::vector{st.sampleCount, st.lapCount, st.lapDuration[0], st.lapStart[0], st.lapStart[1], st.rpmHistogram[0][10], st.histogramMax[0]}),
              (std::vector{40, 0, 40, 0, 40, 40, 40}));
    // With laps, each sample counts in the lap it belongs to.
    const RpmStatistics laps = rpmStatisticsOf({5, 5, 6, 5 | Mark, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7 | Mark, 8, 8, 8, 8});
    EXPECT_EQ(std::vector<int>({laps.rpmHistogram[0][5], laps.rpmHistogram[0][6], laps.histogramMax[0], laps.rpmHistogram[1][7], laps.rpmHistogram[2][8]}),
              std::vector<int>({3, 1, 3, 11, 4}));
}

TEST(computeRpmStatistics, BeaconMarksAndLaps)
{
    // counted: the samples whose mark counts; lapStarts: lapStart(0..lapCount + 1).
    // With fewer than two closed laps, the last lap is described from sample 0.
    const struct { const char* name; std::vector<int> marks; int beaconsPerLap; std::vector<int> counted; int lapCount; std::vector<int> lapStarts; int firstLapDuration; } cases[] = {
        {"10 apart", {20, 30}, 1, {20}, 1, {0, 0, 79}, 21},
        {"11 apart", {20, 31}, 1, {20, 31}, 2, {0, 20, 31}, 21},
        {"two beacons a lap", {20, 40, 60, 80}, 2, {20, 40, 60, 80}, 2, {0, 20, 60}, 21},
        {"first sample", {0, 11}, 1, {0, 11}, 2, {0, 0, 11}, 1},
    };
    for (const auto& c : cases) {
        const RpmStatistics st = rpmStatisticsOf(samplesWithBeacons(100, c.marks), c.beaconsPerLap);
        std::vector<int> counted;
        for (int s = 0; s < st.sampleCount; ++s)
            if (st.beaconMarks[std::size_t(s)])
                counted.push_back(s);
        EXPECT_EQ(std::pair(counted, st.lapCount), std::pair(c.counted, c.lapCount)) << c.name;
        EXPECT_EQ(std::vector<int>(st.lapStart.begin(), st.lapStart.begin() + std::ptrdiff_t(c.lapStarts.size())), c.lapStarts) << c.name;
        // The closing sample belongs to the lap it closes.
        EXPECT_EQ(st.lapDuration[0], c.firstLapDuration) << c.name;
    }
}

TEST(computeRpmStatistics, EngineSpeedIsCappedWithoutOverflow)
{
    // Factor byte (only its low four bits count), code, then the step and the speed: 285750 and 33000 are capped.
    const std::tuple<int, std::uint8_t, int, int> cases[] = {{15, 127, 2250, 32767}, {2, 109, 300, 32700}, {2, 110, 300, 32767}, {0x10, 127, 0, 0}, {0x21, 50, 150, 7500}};
    for (const auto& [factor, code, rpmStep, rpm] : cases) {
        const RpmStatistics st = rpmStatisticsOf(std::vector<std::uint8_t>(12, code), 1, factor);
        EXPECT_EQ(std::tuple(st.rpmStep, st.rawRpm[5], st.maxRpm), std::tuple(rpmStep, rpm, rpm)) << factor << " code " << int(code);
    }
}

TEST(computeRpmStatistics, SmoothingWindowStartsAtTheSample)
{
    // V = 3: the mean of seven raw values starting at s; the tail keeps its raw value.
    const std::vector<std::uint8_t> samples{0, 0, 0, 0, 0, 0, 70, 0, 0, 0};
    const RpmStatistics st = rpmStatisticsOf(samples, 1, 2, 3);
    const std::pair<int, float> v3[] = {{0, 3000}, {3, 3000}, {4, 0}, {6, 21000}, {7, 0}};
    for (const auto& [s, value] : v3)
        EXPECT_FLOAT_EQ(st.smoothedRpm[std::size_t(s)], value) << s;
    EXPECT_FLOAT_EQ(rpmStatisticsOf(samples, 1, 2, 1).smoothedRpm[5], 7000.0F);  // three values
    EXPECT_FLOAT_EQ(rpmStatisticsOf(samples, 1, 2, 0).smoothedRpm[6], 21000.0F);
    // Out of range levels are held to 0..3.
    EXPECT_EQ(std::pair(rpmStatisticsOf(samples, 1, 2, 9).smoothingLevel, rpmStatisticsOf(samples, 1, 2, -2).smoothingLevel), std::pair(3, 0));
}

TEST(computeRpmStatistics, BestSecondAndThirdLaps)
{
    const struct { const char* name; std::vector<int> marks; int best, second, third; std::array<int, 3> charts; } cases[] = {
        // Lap 1 is the shortest but cannot be best.
        {"short lap 1", {50, 70, 120, 175, 240}, 2, 1, 3, {2, 1, 3}},
        {"tie keeps earlier", {20, 60, 100, 140, 200}, 2, 1, 3, {2, 1, 3}},
        {"two closed laps", {20, 60}, 1, -1, -2, {1, -1, -2}},
        {"three closed laps", {20, 60, 90}, 2, 1, -2, {2, 1, -1}},
        {"no lap", {}, 1, -1, -2, {1, -1, -2}},
    };
    for (const auto& c : cases) {
        const RpmStatistics st = rpmStatisticsOf(samplesWithBeacons(400, c.marks));
        EXPECT_EQ((std::array{st.bestLap, st.secondLap, st.thirdLap}), (std::array{c.best, c.second, c.third})) << c.name;
        EXPECT_EQ(defaultChartedLaps(st), c.charts) << c.name;
    }
}

// ---- Engine-speed ranges of the best lap ------------------------------------

using test::lapRecord;
using test::putBigEndian;

// Best lap 1 of `lapTime`, with the given range times from range 0 on.
RecordImage rangesRecord(std::uint16_t lapTime, std::initializer_list<std::uint16_t> ranges, int best = 1)
{
    RecordImage image = lapRecord({{.lapTime = lapTime}}, 0, best);
    int i = 0;
    for (auto t : ranges)
        putBigEndian(image, 8 * i++ + 4, t);
    return image;
}

TEST(Ranges, LabelsAndCaptions)
{
    const std::tuple<int, const char*, const char*> cases[] = {
        {0, "0-5120 RPM", "0-5.120"}, {1, "5120-5760 RPM", " 0- 1"}, {12, "12160-12800 RPM", " 11- 12"}, {31, "24320-24960 RPM", " 30- 31"}};
    for (const auto& [i, label, caption] : cases) {
        EXPECT_EQ(rangeName(i), QString::fromLatin1(label)) << i;
        EXPECT_EQ(barCaption(i), QString::fromLatin1(caption)) << i;
    }
    EXPECT_EQ(buildRangesPanel(rangesRecord(6000, {}, 7), frenchTextTables()).bestLapCaption, QStringLiteral("Meilleur Tour : 7"));
}

TEST(Ranges, ShareOfTheLapAndBarFilling)
{
    const QChar point = QLatin1Char('.');
    const struct { std::uint16_t lapTime, range0, range1; QChar separator; int index; const char* label7; double fill0, fill1; } cases[] = {
        {6000, 1523, 3000, point, 0, "15\"23    25.38%", 50.766666, 100.0},
        {6000, 1523, 3000, QLatin1Char(','), 0, "15\"23    25,38%", 50.766666, 100.0},
        {6000, 0, 0, point, 1, "00\"00    0.00%", 0.0, 0.0},          // no range time: empty bars
        {0, 1523, 3000, point, 0, "15\"23", 50.766666, 100.0},          // no lap time: no share
        {6000, 6000, 0, point, 0, "1'00\"00    100.00%", 100.0, 0.0},
    };
    for (const auto& c : cases) {
        const RangesPanel p = buildRangesPanel(rangesRecord(c.lapTime, {c.range0, c.range1}), frenchTextTables());
        const RangeReadout r = rangeReadout(p, c.index, c.separator);
        EXPECT_EQ(r.rangeText, rangeName(c.index));
        EXPECT_EQ(r.timeText, QString::fromUtf8(c.label7)) << c.lapTime << " " << c.range0;
        EXPECT_NEAR(p.fill[0], c.fill0, 1e-4);
        EXPECT_NEAR(p.fill[1], c.fill1, 1e-4);
        EXPECT_EQ(p.fill[5], 0.0);
        EXPECT_FALSE(p.scaled);
    }
}

TEST(Ranges, LongerThanTheLapScalesDownKeepingTheBars)
{
    const RangesPanel p = buildRangesPanel(rangesRecord(6000, {2000, 4000, 2000}), frenchTextTables());
    EXPECT_TRUE(p.scaled);
    EXPECT_FLOAT_EQ(p.rangeTimes[0], 1500.0F);
    EXPECT_FLOAT_EQ(p.rangeTimes[1], 3000.0F);
    EXPECT_FLOAT_EQ(p.recordedTimes[1], 4000.0F);
    EXPECT_FLOAT_EQ(std::accumulate(p.rangeTimes.begin(), p.rangeTimes.end(), 0.0F), 6000.0F);
    EXPECT_NEAR(p.fill[0], 50.0, 1e-9);
    EXPECT_NEAR(p.fill[1], 100.0, 1e-9);
    EXPECT_EQ(rangeReadout(p, 1, QLatin1Char('.')).timeText, QStringLiteral("30\"00    50.00%"));
    // A sum equal to the lap is left as recorded.
    EXPECT_FALSE(buildRangesPanel(rangesRecord(6000, {2000, 4000}), frenchTextTables()).scaled);
}

}  // namespace
}  // namespace tormel
