#include "library/comparison_figures.h"

#include "laps/conversions.h"
#include "laps/road_speed.h"

#include <algorithm>
#include <cmath>

namespace tormel {

namespace {

// Engine-speed axes end on a round number a little beyond the traces.
constexpr double RpmRounding = 500;

void figureSections(ComparisonFigures& f)
{
    for (const ComparedColumn& column : f.times.columns)
        for (const auto& d : column.sectionDifferences)
            if (d) {
                f.sectionLow = std::min(f.sectionLow, *d);
                f.sectionHigh = std::max(f.sectionHigh, *d);
            }
}

OverlaySeries lineOf(const OverlayLap& lap, Alignment alignment)
{
    OverlaySeries line;
    line.x.reserve(qsizetype(lap.rpm.size()));
    line.y.reserve(qsizetype(lap.rpm.size()));
    for (int s = 0; s < int(lap.rpm.size()); ++s) {
        line.x << overlayX(lap, s, alignment);
        line.y << lap.rpm[std::size_t(s)];
    }
    return line;
}

OverlaySeries speedLineOf(const OverlaySeries& line, const OverlayLap& lap, SpeedUnit unit)
{
    OverlaySeries speed;
    if (lap.speed.size() != std::size_t(line.x.size()))
        return speed;
    speed.x = line.x;
    for (const double v : lap.speed)
        speed.y << speedIn(v, unit);
    return speed;
}

// Where the reference has no reading (past its end) the difference stops.
// Along the track it is time, at every fraction either lap has a sample.
OverlaySeries differenceOf(const OverlaySeries& line, const OverlayLap& lap, const OverlayLap& reference, Alignment alignment)
{
    OverlaySeries d;
    if (alignment == Alignment::Track) {
        for (const TrackPoint& p : timeDifferenceAlongTrack(lap.fractions, reference.fractions)) {
            d.x << p.fraction;
            d.y << p.seconds;
        }
        return d;
    }
    for (qsizetype s = 0; s < line.x.size(); ++s)
        if (const std::optional<double> base = rpmAt(reference, line.x[s], alignment)) {
            d.x << line.x[s];
            d.y << line.y[s] - *base;
        }
    return d;
}

void figureSpeeds(ComparisonFigures& f)
{
    for (std::size_t i = 0; i < f.traces.size(); ++i) {
        f.speeds.push_back(speedLineOf(f.lines[i], f.traces[i], f.speedUnit));
        for (const double v : f.speeds.back().y)
            f.speedHigh = std::max(f.speedHigh, v);
    }
    // A round top a little above the fastest.
    if (f.speedHigh > 0)
        f.speedHigh = std::ceil(f.speedHigh * 1.05 / 10) * 10;
}

void figureOverlay(ComparisonFigures& f)
{
    double low = 0;
    double high = 0;
    bool any = false;
    f.xEnd = f.alignment == Alignment::Time ? OverlaySampleSeconds : 1.0;
    for (const OverlayLap& lap : f.traces) {
        f.lines.push_back(lineOf(lap, f.alignment));
        f.rpm.push_back(lapRpmFigures(lap));
        if (f.alignment == Alignment::Time)
            f.xEnd = std::max(f.xEnd, lapSeconds(lap));
        if (!lap.rpm.empty()) {
            low = any ? std::min(low, double(f.rpm.back().minimum)) : f.rpm.back().minimum;
            high = any ? std::max(high, double(f.rpm.back().maximum)) : f.rpm.back().maximum;
            any = true;
        }
    }
    f.rpmLow = std::max(0.0, std::floor(low * 0.95 / RpmRounding) * RpmRounding);
    f.rpmHigh = std::max(f.rpmLow + RpmRounding, std::ceil(high * 1.03 / RpmRounding) * RpmRounding);
    figureSpeeds(f);
    double largest = 0;
    const OverlayLap& reference = f.traces[std::size_t(f.reference)];
    for (std::size_t i = 0; i < f.lines.size(); ++i) {
        f.differences.push_back(int(i) == f.reference ? OverlaySeries{}
                                                      : differenceOf(f.lines[i], f.traces[i], reference, f.alignment));
        for (const double d : f.differences.back().y)
            largest = std::max(largest, std::abs(d));
    }
    // RPM to a round hundred; seconds to a tenth.
    if (f.alignment == Alignment::Track)
        f.differenceLimit = std::max(0.1, std::ceil(largest * 1.1 * 10) / 10);
    else
        f.differenceLimit = std::max(100.0, std::ceil(largest * 1.1 / 100) * 100);
    if (f.alignment == Alignment::Track && isLengthGiven(reference.lapLength))
        f.trackLength = reference.lapLength;
    f.histograms = commonHistograms(f.traces);
    for (const std::vector<double>& lap : f.histograms.seconds)
        for (int k = 0; k < int(lap.size()); ++k)
            if (lap[std::size_t(k)] > 0) {
                f.firstClass = f.lastClass < f.firstClass ? k : std::min(f.firstClass, k);
                f.lastClass = std::max(f.lastClass, k);
            }
}

}  // namespace

ComparisonFigures comparisonFigures(const std::vector<ComparedSessionLap>& laps, int reference, Alignment alignment,
                                    TemperatureUnit temperatureUnit, QChar decimalSeparator, SpeedUnit speedUnit)
{
    ComparisonFigures f;
    f.speedUnit = speedUnit;
    if (laps.empty())
        return f;
    f.kind = laps.front().kind;
    f.reference = std::clamp(reference, 0, int(laps.size()) - 1);
    f.alignment = alignment;
    std::vector<LapTimes> times;
    std::vector<SetupSheet> sheets;
    for (const ComparedSessionLap& lap : laps) {
        times.push_back(lap.lap);
        sheets.push_back(lap.setup);
        f.traces.push_back(lap.trace);
    }
    f.times = compareLaps(times, f.reference);
    f.decimalSeparator = decimalSeparator;
    f.setups = compareSetups(sheets, f.reference, temperatureUnit, decimalSeparator);
    figureSections(f);
    if (f.kind == RecordKind::EngineSpeed)
        figureOverlay(f);
    else
        f.traces.clear();
    return f;
}

double cursorStep(const ComparisonFigures& figures)
{
    if (figures.alignment == Alignment::Time || figures.traces.empty())
        return OverlaySampleSeconds;
    const OverlayLap& reference = figures.traces[std::size_t(figures.reference)];
    return 1.0 / double(std::max<std::size_t>(1, reference.rpm.size() - 1));
}

namespace {

bool onTrack(const ComparisonFigures& figures)
{
    if (figures.alignment != Alignment::Track || figures.traces.empty())
        return false;
    const OverlayLap& reference = figures.traces[std::size_t(figures.reference)];
    return !reference.rpm.empty() && reference.fractions.size() == reference.rpm.size();
}

// The reference's sample nearest `x`, as the sample's own x: x cut down to
// a sample would read 19.99 for 20.00 s.
double snappedCursor(const ComparisonFigures& figures, double x)
{
    if (onTrack(figures)) {
        const OverlayLap& reference = figures.traces[std::size_t(figures.reference)];
        const double position = samplePosition(reference, std::clamp(x, 0.0, 1.0), Alignment::Track).value_or(0);
        return overlayX(reference, int(std::lround(position)), Alignment::Track);
    }
    const double step = cursorStep(figures);
    return std::round(x / step) * step;
}

}  // namespace

double steppedCursor(const ComparisonFigures& figures, double from, int direction)
{
    if (!onTrack(figures))
        return from + direction * cursorStep(figures);
    const OverlayLap& reference = figures.traces[std::size_t(figures.reference)];
    const double position = samplePosition(reference, std::clamp(from, 0.0, 1.0), Alignment::Track).value_or(0);
    const int sample = std::clamp(int(std::lround(position)) + direction, 0, int(reference.rpm.size()) - 1);
    return overlayX(reference, sample, Alignment::Track);
}

OverlayReadings overlayReadings(const ComparisonFigures& figures, std::optional<double> cursor,
                                std::optional<double> leftMarker, std::optional<double> rightMarker)
{
    OverlayReadings r{cursor, leftMarker, rightMarker, {}, std::nullopt};
    if (figures.traces.empty())
        return r;
    if (cursor) {
        r.cursor = snappedCursor(figures, *cursor);
        r.laps = cursorReadings(figures.traces, figures.reference, *r.cursor, figures.alignment);
    }
    if (!leftMarker || !rightMarker)
        return r;
    const OverlayLap& base = figures.traces[std::size_t(figures.reference)];
    const double step = cursorStep(figures);
    // A hair past the sample, so that a marker placed on one reads that one.
    const auto sample = [&](double x) {
        return (onTrack(figures) ? samplePosition(base, x, Alignment::Track).value_or(0) : x / step) + 1e-9;
    };
    const auto rpm = [&](double x) { return int(std::lround(rpmAt(base, x, figures.alignment).value_or(0))); };
    r.markers = markerDifferences(sample(*leftMarker), sample(*rightMarker), rpm(*leftMarker), rpm(*rightMarker),
                                  figures.decimalSeparator);
    return r;
}

}  // namespace tormel
