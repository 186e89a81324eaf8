#pragma once

#include "laps/rpm_statistics.h"

#include <optional>
#include <vector>

namespace tormel {

// Engine-speed laps of several sessions on one canvas: their traces
// against time into the lap, the fraction of its time, or along the track
// (the fraction of its revolutions), what the cursor reads off each, and
// their histograms on common classes.
inline constexpr double OverlaySampleSeconds = RpmStatistics::SampleSeconds;

// One lap of an engine-speed record: its smoothed trace from the lap's
// first sample to the one that closes it, and its histogram.
struct OverlayLap {
    std::vector<float> rpm;
    int classWidth = 0;  // RPM per histogram class
    std::vector<int> histogram;  // samples per class
    // The raw engine speeds, and how far along the lap each sample stands
    // by the revolutions before it (0 to 1).
    std::vector<int> raw;
    std::vector<double> fractions;
    // Its road speed (km/h) at each sample, as smoothed as the trace; none
    // without its track's length or its session's sprockets.
    std::vector<double> speed;
    float lapLength = 0;  // metres, of its record's track; 0 when not given

    friend bool operator==(const OverlayLap&, const OverlayLap&) = default;
};

// Lap `lap` (1 to lapCount - 1) as the record's own charts show it, with
// their smoothing; empty for a lap the record does not close.
OverlayLap overlayLapOf(const RpmStatistics& stats, int lap);
// The lap's road speed from its track's length and the session's median of
// 1 / revolutions a lap (`medianInverseRpmSum`).
void addRoadSpeed(OverlayLap& lap, float lapLength, double inverseRpmSum);

// Time: seconds into the lap; Fraction: of the lap's time; Track: of its
// revolutions, which puts a corner at one place on laps of any pace.
enum class Alignment { Time, Fraction, Track };

// How long the lap lasted: from its first sample to its last.
double lapSeconds(const OverlayLap& lap);

// Where sample `sample` of the lap stands across the canvas: seconds into
// the lap, or a fraction of it (0 to 1).
double overlayX(const OverlayLap& lap, int sample, Alignment alignment);

// Where `x` falls between the lap's samples (2.5: halfway from the third
// to the fourth); none before its start or past its end.
std::optional<double> samplePosition(const OverlayLap& lap, double x, Alignment alignment);

// The lap's engine speed at `x`, between two samples on the line joining
// them; none before its start or past its end.
std::optional<double> rpmAt(const OverlayLap& lap, double x, Alignment alignment);
// Its road speed there likewise; none without one.
std::optional<double> speedAt(const OverlayLap& lap, double x, Alignment alignment);

// What the cursor at `x` reads off one lap: its engine speed and road
// speed and, when the laps are aligned on a fraction, the time into the lap
// there; each with its difference to the reference lap's (none for the
// reference itself or where either lap has no reading).
struct CursorReading {
    std::optional<double> rpm;
    std::optional<double> rpmDifference;
    std::optional<double> seconds;
    std::optional<double> secondsDifference;
    std::optional<double> speed;  // km/h
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
