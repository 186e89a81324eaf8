#pragma once

#include "laps/rpm_statistics.h"

#include <optional>
#include <vector>

namespace tormel {

// Engine-speed laps of several sessions on one canvas: their traces
// against time into the lap or against the fraction of the lap, what the
// cursor reads off each, and their histograms on common classes.
inline constexpr double OverlaySampleSeconds = RpmStatistics::SampleSeconds;

// One lap of an engine-speed record: its smoothed trace from the lap's
// first sample to the one that closes it, and its histogram.
struct OverlayLap {
    std::vector<float> rpm;
    int classWidth = 0;  // RPM per histogram class
    std::vector<int> histogram;  // samples per class

    friend bool operator==(const OverlayLap&, const OverlayLap&) = default;
};

// Lap `lap` (1 to lapCount - 1) as the record's own charts show it, with
// their smoothing; empty for a lap the record does not close.
OverlayLap overlayLapOf(const RpmStatistics& stats, int lap);

enum class Alignment { Time, Fraction };

// How long the lap lasted: from its first sample to its last.
double lapSeconds(const OverlayLap& lap);

// Where sample `sample` of the lap stands across the canvas: seconds into
// the lap, or the fraction of it (0 to 1).
double overlayX(const OverlayLap& lap, int sample, Alignment alignment);

// The lap's engine speed at `x`, between two samples on the line joining
// them; none before its start or past its end.
std::optional<double> rpmAt(const OverlayLap& lap, double x, Alignment alignment);

// What the cursor at `x` reads off one lap: its engine speed and, when the
// laps are aligned on the fraction, the time into the lap there; each with
// its difference to the reference lap's (none for the reference itself or
// where either lap has no reading).
struct CursorReading {
    std::optional<double> rpm;
    std::optional<double> rpmDifference;
    std::optional<double> seconds;
    std::optional<double> secondsDifference;
};
std::vector<CursorReading> cursorReadings(const std::vector<OverlayLap>& laps, int reference, double x, Alignment alignment);

struct LapRpmFigures {
    int maximum = 0;
    int minimum = 0;
    double mean = 0;
    friend bool operator==(const LapRpmFigures&, const LapRpmFigures&) = default;
};
LapRpmFigures lapRpmFigures(const OverlayLap& lap);

// The laps' histograms on the classes of the widest: time (seconds) per
// class, a narrower class counted in the wide one that holds its lower bound.
struct CommonHistograms {
    int classWidth = 0;
    std::vector<std::vector<double>> seconds;  // per lap, per class
};
CommonHistograms commonHistograms(const std::vector<OverlayLap>& laps);

}  // namespace tormel
