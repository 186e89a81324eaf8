#pragma once

#include "charts/cursor_rules.h"
#include "library/lap_comparison.h"
#include "library/rpm_overlay.h"

#include <QList>

#include <cstdint>
#include <optional>
#include <vector>

namespace tormel {

// A lap's line on the overlay: x (seconds, or a fraction of the lap) and
// a value (engine speed, road speed, a difference), as the plots take them.
struct OverlaySeries {
    QList<double> x;
    QList<double> y;
};

// Everything a comparison shows, worked out once from the laps: the window,
// its plots and the report draw it as it stands.
struct ComparisonFigures {
    RecordKind kind = RecordKind::None;
    int reference = 0;  // within the laps
    LapComparison times;
    std::vector<SetupComparisonRow> setups;
    // The section differences' extent in hundredths, 0 included.
    std::int32_t sectionLow = 0;
    std::int32_t sectionHigh = 0;

    // Engine-speed laps.
    Alignment alignment = Alignment::Time;
    std::vector<OverlayLap> traces;
    std::vector<OverlaySeries> lines;
    // Each lap's road speed in the chosen unit; an empty line for a lap
    // without one.
    std::vector<OverlaySeries> speeds;
    SpeedUnit speedUnit = SpeedUnit::KilometresPerHour;
    double speedHigh = 0;  // the speed axis's top; 0 when no lap has a speed
    // Each lap's engine speed less the reference's at the same x, or along
    // the track the seconds it loses on the reference (positive: slower);
    // none for the reference itself.
    std::vector<OverlaySeries> differences;
    std::vector<LapRpmFigures> rpm;
    CommonHistograms histograms;
    // The classes any lap spent time in; none when `lastClass` < `firstClass`.
    int firstClass = 0;
    int lastClass = -1;
    // The whole lap: what the plots show before any zoom.
    double xEnd = 1;
    double rpmLow = 0;
    double rpmHigh = 1;
    double differenceLimit = 100;  // the difference panel shows ± this, RPM or seconds
    // Along the track: the reference's lap length (metres) that the scale
    // reads the fraction in; 0 when its track has none, the scale in %.
    float trackLength = 0;
    QChar decimalSeparator = QLatin1Char('.');  // of the numbers given as text
};

ComparisonFigures comparisonFigures(const std::vector<ComparedSessionLap>& laps, int reference, Alignment alignment,
                                    TemperatureUnit temperatureUnit, QChar decimalSeparator = QLatin1Char('.'),
                                    SpeedUnit speedUnit = SpeedUnit::KilometresPerHour);

// The cursor and the two markers on the overlay, and what they read: each
// lap at the cursor, and on the reference lap between the markers as the
// single charts read it.
struct OverlayReadings {
    std::optional<double> cursor;
    std::optional<double> leftMarker;
    std::optional<double> rightMarker;
    std::vector<CursorReading> laps;  // one per lap with a cursor, else none
    std::optional<MarkerDifferences> markers;
};
// The cursor is taken to the reference's sample nearest it.
OverlayReadings overlayReadings(const ComparisonFigures& figures, std::optional<double> cursor,
                                std::optional<double> leftMarker = std::nullopt,
                                std::optional<double> rightMarker = std::nullopt);

// One sample of the reference lap along x (along the track, on average).
double cursorStep(const ComparisonFigures& figures);
// Where a step of the cursor from `from` takes it: the reference's next
// sample that way (along the track, where its samples stand unevenly).
double steppedCursor(const ComparisonFigures& figures, double from, int direction);

}  // namespace tormel
