#include "library/comparison_figures.h"

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
    line.rpm.reserve(qsizetype(lap.rpm.size()));
    for (int s = 0; s < int(lap.rpm.size()); ++s) {
        line.x << overlayX(lap, s, alignment);
        line.rpm << lap.rpm[std::size_t(s)];
    }
    return line;
}

// Where the reference has no reading (past its end) the difference stops.
OverlaySeries differenceOf(const OverlaySeries& line, const OverlayLap& reference, Alignment alignment)
{
    OverlaySeries d;
    for (qsizetype s = 0; s < line.x.size(); ++s)
        if (const std::optional<double> base = rpmAt(reference, line.x[s], alignment)) {
            d.x << line.x[s];
            d.rpm << line.rpm[s] - *base;
        }
    return d;
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
    double largest = 0;
    for (std::size_t i = 0; i < f.lines.size(); ++i) {
        f.differences.push_back(int(i) == f.reference ? OverlaySeries{}
                                                      : differenceOf(f.lines[i], f.traces[std::size_t(f.reference)], f.alignment));
        for (const double d : f.differences.back().rpm)
            largest = std::max(largest, std::abs(d));
    }
    f.differenceLimit = std::max(100.0, std::ceil(largest * 1.1 / 100) * 100);
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
                                    TemperatureUnit temperatureUnit, QChar decimalSeparator)
{
    ComparisonFigures f;
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

OverlayReadings overlayReadings(const ComparisonFigures& figures, std::optional<double> cursor,
                                std::optional<double> leftMarker, std::optional<double> rightMarker)
{
    OverlayReadings r{cursor, leftMarker, rightMarker, {}, std::nullopt};
    if (figures.traces.empty())
        return r;
    const double step = cursorStep(figures);
    // The cursor stands on the reference's nearest sample and reads that
    // sample's own time: x cut down to a sample would read 19.99 for 20.00 s.
    if (cursor) {
        r.cursor = std::round(*cursor / step) * step;
        r.laps = cursorReadings(figures.traces, figures.reference, *r.cursor, figures.alignment);
    }
    if (!leftMarker || !rightMarker)
        return r;
    const OverlayLap& base = figures.traces[std::size_t(figures.reference)];
    // A hair past the sample, so that a marker placed on one reads that one.
    const auto sample = [&](double x) { return x / step + 1e-9; };
    const auto rpm = [&](double x) { return int(std::lround(rpmAt(base, x, figures.alignment).value_or(0))); };
    r.markers = markerDifferences(sample(*leftMarker), sample(*rightMarker), rpm(*leftMarker), rpm(*rightMarker),
                                  figures.decimalSeparator);
    return r;
}

}  // namespace tormel
