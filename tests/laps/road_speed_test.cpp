#include "demo_records.h"
#include "laps/laps_records.h"
#include "laps/road_speed.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tormel {
namespace {

using test::rpmStatisticsOf;

RpmLap lapOf(std::vector<int> rpm)
{
    return {1, 0, std::move(rpm)};
}

// Laps of the given raw engine speeds r_0..r_(n-1), one after another: each
// lap's closing sample is the next one's first; lap 0 is one sample.
RpmStatistics statsOfLaps(const std::vector<std::vector<int>>& laps)
{
    RpmStatistics st;
    st.rpmStep = 150;
    int s = 1;
    st.lapCount = 1;
    for (const auto& lap : laps) {
        st.lapStart[std::size_t(st.lapCount)] = s;
        st.lapDuration[std::size_t(st.lapCount)] = int(lap.size());
        for (int r : lap)
            st.rawRpm[std::size_t(s++)] = std::int16_t(r);
        ++st.lapCount;
    }
    st.lapStart[std::size_t(st.lapCount)] = s;
    st.sampleCount = s + 3;
    return st;
}

void expectNear(const std::vector<double>& actual, const std::vector<double>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-12) << "at " << i;
}

// Both none, or both within `tolerance`.
bool near(std::optional<double> actual, std::optional<double> expected, double tolerance)
{
    return actual.has_value() == expected.has_value() && (!actual || std::abs(*actual - *expected) <= tolerance);
}

TEST(RoadSpeed, FractionsAndDistancesCountRevolutionsUpToTheClosingSample)
{
    const struct { std::vector<int> rpm; std::vector<double> fractions; } cases[] = {
        // Equal engine speeds: f_i = i / n.
        {{6000, 6000, 6000, 6000, 6000}, {0, 0.25, 0.5, 0.75, 1}},
        // Twice the engine speed in the second half of the samples.
        {{3000, 3000, 6000, 6000, 9000}, {0, 1 / 6.0, 2 / 6.0, 4 / 6.0, 1}},
        // The closing sample belongs to the next lap's revolutions.
        {{3000, 3000, 30000}, {0, 0.5, 1}},
        // An engine that never turned: nothing until the closing mark.
        {{0, 0, 0}, {0, 0, 1}},
    };
    for (const auto& c : cases)
        expectNear(lapFractions(lapOf(c.rpm)), c.fractions);
    expectNear(*lapDistances({0, 0.25, 1}, 1200.0F), {0, 300, 1200});
    EXPECT_EQ(rpmSum(lapOf({3000, 3000, 6000, 6000, 9000})), 18000);
    EXPECT_FALSE(lapDistances({0, 1}, 0.0F));
    EXPECT_FALSE(lapDistances({0, 1}, std::nanf("")));
}

TEST(RoadSpeed, AClosedLapRunsFromItsCountedMarkToTheNext)
{
    // One beacon a lap: marks at 5, 20 and 40 close laps 0, 1 and 2.
    const RpmStatistics one = rpmStatisticsOf(test::samplesWithBeacons(50, {5, 20, 40}));
    for (const auto& [lap, closed] : {std::pair{-1, false}, {0, false}, {1, true}, {2, true}, {3, false}, {99, false}})
        EXPECT_EQ(isClosedLap(one, lap), closed) << lap;
    const RpmLap second = *closedLap(one, 2);
    EXPECT_EQ(second.first, 20);
    ASSERT_EQ(second.rpm.size(), 21U);
    EXPECT_EQ(second.rpm.front(), one.rawRpm[20]);
    EXPECT_EQ(second.rpm.back(), one.rawRpm[40]);
    EXPECT_FALSE(closedLap(one, 3));

    // Two beacons a lap: the mark between two counted ones does not split the lap.
    const RpmStatistics two = rpmStatisticsOf(test::samplesWithBeacons(80, {5, 20, 40, 60}), 2);
    const RpmLap first = *closedLap(two, 1);
    EXPECT_EQ(first.first, 5);
    EXPECT_EQ(first.rpm.size(), 36U);
    EXPECT_FALSE(isClosedLap(two, 2));

    // A lap whose tables run past the samples read is not taken.
    RpmStatistics cut = statsOfLaps({{100, 100}, {100, 100}});
    cut.sampleCount = cut.lapStart[2] + 1;
    EXPECT_TRUE(isClosedLap(cut, 1));
    EXPECT_FALSE(isClosedLap(cut, 2));
}

TEST(RoadSpeed, TheSessionsMedianOfInverseRevolutionsLeavesStillLapsOut)
{
    const struct { std::vector<std::vector<int>> laps; std::optional<double> median; } cases[] = {
        {{{1000}, {1000, 1000}, {2000, 2000}}, 1 / 2000.0},
        {{{1000}, {2000, 2000}}, (1 / 1000.0 + 1 / 4000.0) / 2},
        {{{0, 0}, {1000, 1000}}, 1 / 2000.0},
        {{{0, 0}}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(near(medianInverseRpmSum(statsOfLaps(c.laps)), c.median, 1e-18)) << c.laps.size();
}

TEST(RoadSpeed, CircumferenceAndSpeedFromTheLengthAndTheRevolutions)
{
    const struct { float length; Sprockets sprockets; double inverse; std::optional<double> circumference; } circumferences[] = {
        {1000.0F, {11, 82}, 1 / 3.6e6, 1000.0 * 82 * 300 / (11 * 3.6e6)},
        {1000.0F, {10, 80}, 1 / 3.0e6, 0.8},
        {0.0F, {10, 80}, 1 / 3.0e6, std::nullopt},
        {1000.0F, {0, 80}, 1 / 3.0e6, std::nullopt},
        {1000.0F, {10, 0}, 1 / 3.0e6, std::nullopt},
    };
    for (const auto& c : circumferences)
        EXPECT_TRUE(near(rollingCircumference(c.length, c.sprockets, c.inverse), c.circumference, 1e-12)) << c.length;
    for (const auto& [metres, plausible] : {std::pair{0.59, false}, {0.6, true}, {0.83, true}, {1.2, true}, {1.21, false}})
        EXPECT_EQ(isCircumferencePlausible(metres), plausible) << metres;

    // 12000 RPM, 1000 m and 3,000,000 RPM-samples a lap: 20 m/s, which with
    // 10/80 is also rpm / 60 x C / G = 200 x 0.8 / 8. Miles through the
    // program's own factor, a float.
    constexpr auto K = SpeedUnit::KilometresPerHour;
    const struct { int rpm; float length; SpeedUnit unit; std::optional<double> speed; } speeds[] = {
        {12000, 1000.0F, K, 72.0},
        {12000, 1000.0F, SpeedUnit::MilesPerHour, 72.0 / 1.609344},
        {6000, 1000.0F, K, 36.0},
        {0, 1000.0F, K, 0.0},
        {12000, 999.6F, K, 72.0},  // whole metres, as the lap table's speeds
        {12000, 0.0F, K, std::nullopt},
    };
    for (const auto& c : speeds)
        EXPECT_TRUE(near(roadSpeed(c.rpm, c.length, 1 / 3.0e6, c.unit), c.speed, 1e-5)) << c.rpm << " " << c.length;
}

TEST(RoadSpeed, ADemoLikeSessionRollsOnAKartTyre)
{
    // Laps of 248 samples averaging 12000 RPM on 1100 m with 11/82: about
    // 1100 x 82/11 x 60 / (0.2 x 248 x 12000) = 0.827 m.
    const RecordImage image = demo::engineSpeedRecord();
    const RpmStatistics stats = computeRpmStatistics(image, test::decoded(image), 0);
    const std::optional<double> inverse = medianInverseRpmSum(stats);
    ASSERT_TRUE(inverse);
    const double metres = *rollingCircumference(1100.0F, {11, 82}, *inverse);
    EXPECT_NEAR(metres, 1100.0 * 82 / 11 * 60 / (0.2 * 248 * 12000), 0.01);
    EXPECT_TRUE(isCircumferencePlausible(metres));
}

TEST(RoadSpeed, TimeDifferenceAlongTheTrackEndsAtTheLapTimeDifference)
{
    const std::vector<double> even4 = lapFractions(lapOf({6000, 6000, 6000, 6000, 6000}));
    const std::vector<double> even5 = lapFractions(lapOf({6000, 6000, 6000, 6000, 6000, 6000}));
    // Half the lap in two samples, the other half, twice as fast, in one.
    const std::vector<double> fastEnd = lapFractions(lapOf({3000, 3000, 6000, 6000}));
    const struct { std::vector<double> lap, reference; std::vector<TrackPoint> expected; } cases[] = {
        {even4, even4, {{0, 0}, {0.25, 0}, {0.5, 0}, {0.75, 0}, {1, 0}}},
        {even4, even5,
         {{0, 0}, {0.2, -0.04}, {0.25, -0.05}, {0.4, -0.08}, {0.5, -0.1}, {0.6, -0.12}, {0.75, -0.15}, {0.8, -0.16}, {1, -0.2}}},
        {fastEnd, even4, {{0, 0}, {0.25, 0}, {0.5, 0}, {0.75, -0.1}, {1, -0.2}}},
        {even4, fastEnd, {{0, 0}, {0.25, 0}, {0.5, 0}, {0.75, 0.1}, {1, 0.2}}},
        {even4, {0}, {}},
    };
    for (const auto& c : cases) {
        const std::vector<TrackPoint> points = timeDifferenceAlongTrack(c.lap, c.reference);
        ASSERT_EQ(points.size(), c.expected.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_NEAR(points[i].fraction, c.expected[i].fraction, 1e-12) << i;
            EXPECT_NEAR(points[i].seconds, c.expected[i].seconds, 1e-12) << i;
        }
    }

    // Standing still: the first moment the fraction is reached; the end only
    // at the closing mark.
    const std::vector<double> stop = lapFractions(lapOf({6000, 0, 6000, 0, 0}));
    for (const auto& [fraction, seconds] :
         {std::pair{-0.5, 0.0}, {0.0, 0.0}, {0.25, 0.1}, {0.5, 0.2}, {0.75, 0.5}, {0.99, 0.596}, {1.0, 0.8}, {2.0, 0.8}})
        EXPECT_NEAR(secondsToReach(stop, fraction), seconds, 1e-12) << fraction;
    EXPECT_EQ(secondsToReach({0}, 0.5), 0.0);
}

TEST(RoadSpeed, OtherSprocketsScaleTheEngineSpeedRoundedHalfAwayFromZero)
{
    const struct { int rpm; Sprockets present, other; int expected; } cases[] = {
        {4100, {11, 82}, {11, 84}, 4200},
        {8200, {11, 82}, {11, 84}, 8400},
        {8000, {11, 82}, {11, 84}, 8195},  // 8195.12
        {40, {10, 80}, {10, 81}, 41},      // 40.5
        {120, {10, 80}, {10, 81}, 122},    // 121.5
        {-40, {10, 80}, {10, 81}, -41},
        {5, {11, 82}, {10, 82}, 6},        // 5.5: a smaller front turns the engine faster
        {9000, {11, 82}, {12, 82}, 8250},
        {9000, {11, 82}, {11, 82}, 9000},
        {9000, {0, 82}, {11, 84}, 9000},
        {9000, {11, 82}, {11, 0}, 9000},
        {32767, {120, 5}, {5, 120}, 32767 * 576},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rpmWithSprockets(c.rpm, c.present, c.other), c.expected) << c.rpm;
}

// Marks at 5 and 20 around lap 1; the opening mark's sample, the closing
// one's and those between have codes of their own.
RpmStatistics markedLap(int rpmFactor, std::uint8_t opening, std::uint8_t inside, std::uint8_t closing)
{
    std::vector<std::uint8_t> samples(30, 30);
    for (int s = 6; s < 20; ++s)
        samples[std::size_t(s)] = inside;
    samples[5] = std::uint8_t(opening | 128);
    samples[20] = std::uint8_t(closing | 128);
    return rpmStatisticsOf(samples, 1, rpmFactor);
}

TEST(RoadSpeed, OtherSprocketsCountTheClassesOverTheChartsSamples)
{
    const RpmStatistics stats = markedLap(2, 100, 40, 50);  // 300 RPM a class
    const RpmLap lap = *closedLap(stats, 1);
    // The same sprockets: the charts' own histogram, closing mark in, opening out.
    const OtherSprockets same = *withOtherSprockets(stats, lap, {10, 80}, {10, 80}, 0);
    EXPECT_EQ(same.classSeconds, same.lapClassSeconds);
    EXPECT_EQ(same.classSeconds.size(), 128U);
    EXPECT_NEAR(same.classSeconds[40], 14 * 0.2, 1e-12);
    EXPECT_NEAR(same.classSeconds[50], 0.2, 1e-12);
    EXPECT_EQ(same.classSeconds[100], 0.0);
    EXPECT_EQ(same.classWidth, 300);
    EXPECT_EQ(same.rpm, lap.rpm);

    // Ten per cent more teeth behind: 12000 -> 13200 (class 44), 15000 -> 16500 (55).
    const OtherSprockets longer = *withOtherSprockets(stats, lap, {10, 80}, {10, 88}, 0);
    EXPECT_NEAR(longer.classSeconds[44], 14 * 0.2, 1e-12);
    EXPECT_NEAR(longer.classSeconds[55], 0.2, 1e-12);
    EXPECT_EQ(longer.classSeconds[40], 0.0);
    EXPECT_NEAR(longer.lapClassSeconds[40], 14 * 0.2, 1e-12);
    EXPECT_EQ(longer.maxRpm, 33000);  // the opening mark's 30000
    EXPECT_EQ(longer.minRpm, 13200);
    EXPECT_TRUE(longer.rears.empty());
    EXPECT_EQ(longer.closest, -1);

    // Past the charts' last class the classes go on, both lists as long.
    const RpmStatistics top = markedLap(1, 127, 127, 127);  // 19050 RPM
    const OtherSprockets doubled = *withOtherSprockets(top, *closedLap(top, 1), {10, 60}, {10, 120}, 0);
    EXPECT_EQ(doubled.classSeconds.size(), 255U);
    EXPECT_EQ(doubled.lapClassSeconds.size(), 255U);
    EXPECT_NEAR(doubled.classSeconds[254], 15 * 0.2, 1e-12);

    EXPECT_FALSE(withOtherSprockets(stats, lap, {0, 80}, {10, 88}, 0));
    EXPECT_FALSE(withOtherSprockets(stats, lap, {10, 80}, {10, 0}, 0));
    EXPECT_FALSE(withOtherSprockets(stats, RpmLap{}, {10, 80}, {10, 88}, 0));
}

TEST(RoadSpeed, TheSuggestedRearComesClosestToTheTargetWithItsNeighbours)
{
    // The lap's highest engine speed is 12000 (code 40 at 300 a class).
    const RpmStatistics stats = markedLap(2, 40, 40, 40);
    const RpmLap lap = *closedLap(stats, 1);
    // With 10/80 kept at the front, each tooth behind is 150 RPM.
    const struct { int target; std::vector<RearChoice> rears; int closest; } cases[] = {
        {13000, {{85, 12750}, {86, 12900}, {87, 13050}, {88, 13200}, {89, 13350}}, 2},
        {12975, {{84, 12600}, {85, 12750}, {86, 12900}, {87, 13050}, {88, 13200}}, 2},  // a tie: the lower
        {12000, {{78, 11700}, {79, 11850}, {80, 12000}, {81, 12150}, {82, 12300}}, 2},
        {99999, {{118, 17700}, {119, 17850}, {120, 18000}}, 2},
        {1, {{5, 750}, {6, 900}, {7, 1050}}, 0},
        {0, {}, -1},
    };
    for (const auto& c : cases) {
        const OtherSprockets other = *withOtherSprockets(stats, lap, {10, 80}, {10, 80}, c.target);
        EXPECT_EQ(other.rears, c.rears) << c.target;
        EXPECT_EQ(other.closest, c.closest) << c.target;
    }
    // An engine that never turned has nothing to suggest.
    const RpmStatistics still = markedLap(2, 0, 0, 0);
    EXPECT_TRUE(withOtherSprockets(still, *closedLap(still, 1), {10, 80}, {10, 80}, 13000)->rears.empty());
}

}  // namespace
}  // namespace tormel
