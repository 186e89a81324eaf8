#include "library/comparison_figures.h"

#include "laps/road_speed.h"

#include <gtest/gtest.h>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;

ComparedSessionLap rising(int samples, float from, float step, int classWidth, int heldClass)
{
    ComparedSessionLap lap;
    lap.kind = RecordKind::EngineSpeed;
    for (int i = 0; i < samples; ++i)
        lap.trace.rpm.push_back(from + step * float(i));
    lap.trace.classWidth = classWidth;
    lap.trace.histogram.assign(std::size_t(heldClass + 1), 0);
    lap.trace.histogram[std::size_t(heldClass)] = samples;
    return lap;
}

QList<double> list(std::initializer_list<double> values)
{
    return QList<double>(values);
}

TEST(ComparisonFigures, TheOverlayItsDifferencesAndItsHistogramsOnTimeAndOnFraction)
{
    // A: 5 samples (0.8 s) from 8000 RPM by 100, all in class 27 of 300 RPM;
    // B: 9 samples (1.6 s) from 7000 by 200, all in class 12 of 600.
    const std::vector laps{rising(5, 8000, 100, 300, 27), rising(9, 7000, 200, 600, 12)};
    const struct { Alignment alignment; int reference; double xEnd; QList<double> differenceX, difference; double limit; } cases[] = {
        // B less A where A has a reading: up to A's end on time.
        {Alignment::Time, 0, 1.6, list({0, 0.2, 0.4, 0.6, 0.8}), list({-1000, -900, -800, -700, -600}), 1100},
        {Alignment::Fraction, 0, 1, list({0, 0.125, 0.25, 0.375, 0.5, 0.625, 0.75, 0.875, 1}),
         list({-1000, -850, -700, -550, -400, -250, -100, 50, 200}), 1100},
        {Alignment::Time, 1, 1.6, list({0, 0.2, 0.4, 0.6, 0.8}), list({1000, 900, 800, 700, 600}), 1100},
    };
    for (const auto& c : cases) {
        const ComparisonFigures f = comparisonFigures(laps, c.reference, c.alignment, TemperatureUnit::Celsius);
        const std::size_t other = c.reference == 0 ? 1 : 0;
        ASSERT_EQ(f.lines.size(), 2U);
        EXPECT_TRUE(f.differences[std::size_t(c.reference)].x.isEmpty());
        ASSERT_EQ(f.differences[other].x.size(), c.differenceX.size()) << int(c.alignment);
        for (qsizetype s = 0; s < c.differenceX.size(); ++s) {
            EXPECT_NEAR(f.differences[other].x[s], c.differenceX[s], 1e-9) << s;
            EXPECT_NEAR(f.differences[other].y[s], c.difference[s], 1e-6) << s;
        }
        EXPECT_DOUBLE_EQ(f.xEnd, c.xEnd);
        EXPECT_DOUBLE_EQ(f.differenceLimit, c.limit);
        // The traces' 7000 to 8600 RPM, with a margin, on round numbers.
        EXPECT_EQ(std::pair(f.rpmLow, f.rpmHigh), std::pair(6500.0, 9000.0));
        EXPECT_EQ(f.rpm[1], (LapRpmFigures{8600, 7000, 7800}));
        // Both on classes of 600: A's class 27 of 300 (8100 RPM) is class 13.
        EXPECT_EQ(std::tuple(f.histograms.classWidth, f.firstClass, f.lastClass), std::tuple(600, 12, 13));
        EXPECT_NEAR(f.histograms.seconds[0][13], 1.0, 1e-9);
        EXPECT_NEAR(f.histograms.seconds[1][12], 1.8, 1e-9);
    }
    // One short lap: the whole lap is never empty.
    EXPECT_DOUBLE_EQ(comparisonFigures({rising(1, 8000, 0, 300, 0)}, 0, Alignment::Time, TemperatureUnit::Celsius).xEnd, OverlaySampleSeconds);
    EXPECT_EQ(comparisonFigures({}, 3, Alignment::Time, TemperatureUnit::Celsius).kind, RecordKind::None);
}

TEST(ComparisonFigures, TheCursorAndTheMarkersReadOnTheReferenceLap)
{
    const std::vector laps{rising(5, 8000, 100, 300, 27), rising(9, 7000, 200, 600, 12)};
    const struct { Alignment alignment; double cursor, left, right, step; } cases[] = {
        {Alignment::Time, 0.4, 0.2, 0.6, 0.2},
        {Alignment::Fraction, 0.5, 0.25, 0.75, 0.25},  // a sample of the reference, not of the longer lap
    };
    for (const auto& c : cases) {
        const ComparisonFigures f = comparisonFigures(laps, 0, c.alignment, TemperatureUnit::Celsius);
        EXPECT_DOUBLE_EQ(cursorStep(f), c.step);
        const OverlayReadings r = overlayReadings(f, c.cursor, c.left, c.right);
        ASSERT_EQ(r.laps.size(), 2U);
        EXPECT_NEAR(*r.laps[0].rpm, 8200, 1e-6);
        EXPECT_EQ(r.laps[1].rpmDifference.has_value(), true);
        // Samples 1 and 3 of the reference: 8100 and 8300 RPM, 0.4 s apart.
        ASSERT_TRUE(r.markers.has_value());
        EXPECT_EQ(r.markers->secondsText + u'|' + r.markers->rpmDifferenceText, u"0.40|200"_s) << int(c.alignment);
        EXPECT_EQ(r.markers->rateText, u"500.00 RPM/s"_s);
        // Between two samples the cursor goes to the nearer one.
        EXPECT_DOUBLE_EQ(*overlayReadings(f, c.cursor + c.step * 0.4).cursor, c.cursor);
        EXPECT_DOUBLE_EQ(*overlayReadings(f, c.cursor - c.step * 0.6).cursor, c.cursor - c.step);
        // One marker alone reads nothing; no cursor, no readings.
        const OverlayReadings alone = overlayReadings(f, std::nullopt, c.left);
        EXPECT_TRUE(alone.laps.empty() && !alone.markers && alone.leftMarker == c.left);
    }
}

// Sample 100 reads 20.00 s, never 19.99.
TEST(ComparisonFigures, TheCursorReadsItsSamplesOwnTime)
{
    const ComparisonFigures f = comparisonFigures({rising(200, 8000, 10, 300, 27)}, 0, Alignment::Time, TemperatureUnit::Celsius);
    for (const double x : {19.93, 20.0, 20.07})
        EXPECT_EQ(QString::number(*overlayReadings(f, x).cursor, 'f', 2), u"20.00"_s) << x;
    EXPECT_NEAR(*overlayReadings(f, 19.99).laps[0].rpm, 9000, 1e-6);
}

// A lap of raw engine speeds, smoothed as they are, with its fractions by revolutions.
ComparedSessionLap byRevolutions(std::vector<int> raw)
{
    ComparedSessionLap lap = rising(0, 0, 0, 300, 0);
    lap.trace.raw = raw;
    lap.trace.rpm.assign(raw.begin(), raw.end());
    lap.trace.fractions = lapFractions({1, 0, raw});
    return lap;
}

TEST(ComparisonFigures, AlongTheTrackTheDifferenceIsTheTimeLost)
{
    // A: 0.8 s at an even engine speed; B: 1.2 s, twice as fast over its
    // last three samples: it loses 0.2 s by a quarter of the lap, 0.4 s by
    // half of it (0.8 s against 0.4 s), and nothing more after.
    std::vector laps{byRevolutions({100, 100, 100, 100, 100}), byRevolutions({100, 100, 100, 100, 200, 200, 200})};
    laps[0].trace.lapLength = 1000;
    laps[0].trace.speed = {50, 60, 70, 80, 90};
    const ComparisonFigures f = comparisonFigures(laps, 0, Alignment::Track, TemperatureUnit::Celsius, QLatin1Char('.'),
                                                  SpeedUnit::MilesPerHour);
    const OverlaySeries& lost = f.differences[1];
    EXPECT_EQ(f.lines[1].x, list({0, 0.125, 0.25, 0.375, 0.5, 0.75, 1}));
    EXPECT_EQ(lost.x, list({0, 0.125, 0.25, 0.375, 0.5, 0.75, 1}));
    const QList<double> seconds{0, 0.1, 0.2, 0.3, 0.4, 0.4, 0.4};  // at the end, the lap-time difference
    for (qsizetype i = 0; i < seconds.size(); ++i)
        EXPECT_NEAR(lost.y[i], seconds[i], 1e-9) << i;
    EXPECT_DOUBLE_EQ(f.differenceLimit, 0.5);
    EXPECT_EQ(std::pair(f.xEnd, f.trackLength), std::pair(1.0, 1000.0f));
    // Road speeds in the unit chosen, to a round top; none for a lap without.
    ASSERT_EQ(f.speeds[0].y.size(), 5);
    EXPECT_DOUBLE_EQ(f.speeds[0].y.back(), speedIn(90, SpeedUnit::MilesPerHour));
    EXPECT_TRUE(f.speeds[1].y.isEmpty());
    EXPECT_DOUBLE_EQ(f.speedHigh, 60);
    // The cursor stands on the reference's samples and reads each lap's time there.
    const OverlayReadings r = overlayReadings(f, 0.6);
    EXPECT_DOUBLE_EQ(*r.cursor, 0.5);
    EXPECT_NEAR(*r.laps[1].seconds, 0.8, 1e-9);
    EXPECT_NEAR(*r.laps[1].secondsDifference, 0.4, 1e-9);
    EXPECT_NEAR(*r.laps[1].rpmDifference, 100, 1e-9);
    EXPECT_NEAR(*r.laps[0].speed, 70, 1e-9);
    EXPECT_FALSE(r.laps[1].speed.has_value());
    EXPECT_EQ(std::tuple(steppedCursor(f, 0.5, 1), steppedCursor(f, 0, -1), steppedCursor(f, 1, 1)), std::tuple(0.75, 0.0, 1.0));
    // Markers a sample apart read the reference's 0.2 s between them.
    EXPECT_EQ(overlayReadings(f, 0.5, 0.25, 0.5).markers->secondsText, u"0.20"_s);
    // The track's length unknown: the scale stays the fraction.
    laps[0].trace.lapLength = 0;
    EXPECT_EQ(comparisonFigures(laps, 0, Alignment::Track, TemperatureUnit::Celsius).trackLength, 0.0f);
    // On the fraction of the time, the difference stays in RPM, and half
    // the lap is half its time, whatever the revolutions.
    const ComparisonFigures onTime = comparisonFigures(laps, 0, Alignment::Fraction, TemperatureUnit::Celsius);
    EXPECT_DOUBLE_EQ(onTime.differenceLimit, 200);
    EXPECT_NEAR(*overlayReadings(onTime, 0.5).laps[1].seconds, 0.6, 1e-9);
}

TEST(ComparisonFigures, LapTimesTheirSectionsAndTheSetups)
{
    std::vector<ComparedSessionLap> laps(3);
    laps[0].lap = {1, 3000, {1000, 1000, 1000}};
    laps[1].lap = {2, 3050, {1020, 980, 1050}};
    laps[2].lap = {3, 2990, {990, 1000}};
    laps[1].setup.rearSprocket = 84;
    const ComparisonFigures f = comparisonFigures(laps, 0, Alignment::Time, TemperatureUnit::Celsius);
    EXPECT_EQ(f.times.columns[2].timeDifference, -10);
    EXPECT_EQ(std::pair(f.sectionLow, f.sectionHigh), std::pair(-20, 50));
    EXPECT_TRUE(f.lines.empty() && f.traces.empty());
    const auto rear = std::find_if(f.setups.begin(), f.setups.end(), [](const SetupComparisonRow& r) { return r.key == u"rearSprocket"_s; });
    ASSERT_NE(rear, f.setups.end());
    EXPECT_EQ(rear->differs, (std::vector{true, true, false}));  // the reference's side marked too
    // Measured against another lap, the extent follows.
    const ComparisonFigures third = comparisonFigures(laps, 2, Alignment::Time, TemperatureUnit::Celsius);
    EXPECT_EQ(std::pair(third.sectionLow, third.sectionHigh), std::pair(-20, 30));
}

}  // namespace
}  // namespace tormel
