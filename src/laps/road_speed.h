#pragma once

#include "base/units.h"
#include "laps/rpm_statistics.h"

#include <optional>
#include <vector>

namespace tormel {

// A kart has no gearbox: once the clutch is in, the road speed is the engine
// speed over the gear ratio times the rear tyre's rolling circumference. What
// follows reads the road out of the raw engine speed of the closed laps.

// A closed lap N (1 to lapCount - 1) as its raw samples r_0..r_n: from the
// counted mark that opens it (lapStart) to the one that closes it, n being
// its duration in samples (lapDuration). Lap 0 and the unfinished last lap
// have no two marks.
struct RpmLap {
    int lap = 0;
    int first = 0;         // the sample of the opening mark
    std::vector<int> rpm;  // n + 1 raw engine speeds
};
bool isClosedLap(const RpmStatistics& stats, int lap);
std::optional<RpmLap> closedLap(const RpmStatistics& stats, int lap);

// r_0 + ... + r_(n-1): the engine's revolutions over the lap, counted in
// RPM per sample. The closing sample is the next lap's start.
long long rpmSum(const RpmLap& lap);

// The fraction of the lap by revolutions at each sample, f_0 = 0 to f_n = 1:
// it puts a corner at the same place on laps of different pace. A lap whose
// engine never turned stays at 0 until its closing mark.
std::vector<double> lapFractions(const RpmLap& lap);

// Metres from the lap's start, L x f_i; none without a lap length.
std::optional<std::vector<double>> lapDistances(const std::vector<double>& fractions, float lapLength);

// The median over the session's closed laps of 1 / rpmSum (laps whose
// engine never turned left out; of an even count, the mean of the middle
// two); none when no lap counts. Everything the session's road speed needs
// besides the lap length.
std::optional<double> medianInverseRpmSum(const RpmStatistics& stats);

// Teeth of the front (engine) and rear (axle) sprockets.
struct Sprockets {
    int front = 0;
    int rear = 0;
    bool given() const { return front > 0 && rear > 0; }
    friend bool operator==(const Sprockets&, const Sprockets&) = default;
};
// The tooth counts a user may give.
inline constexpr int fewestTeeth = 5;
inline constexpr int mostTeeth = 120;

// The rolling circumference (metres) that the lap length, the sprockets and
// the revolutions imply: L x G x 60 / (0.2 s x rpmSum) with G = rear / front,
// taken over the session's median. None without a length or sprockets.
std::optional<double> rollingCircumference(float lapLength, Sprockets sprockets, double inverseRpmSum);
// Outside these a kart tyre is not: the sprockets or the lap length are wrong.
inline constexpr double smallestCircumference = 0.6;  // metres
inline constexpr double largestCircumference = 1.2;
bool isCircumferencePlausible(double metres);

// The road speed at an engine speed, in the chosen unit (0 km/h, 1 mph):
// rpm x L / 0.2 s x the session's median of 1 / rpmSum metres a second. The
// sprockets cancel out. None without a lap length.
std::optional<double> roadSpeed(int rpm, float lapLength, double inverseRpmSum, SpeedUnit unit);

// The seconds from the lap's start to the first moment it reaches `fraction`,
// linear between samples; the lap reaches 1 only at its closing mark.
double secondsToReach(const std::vector<double>& fractions, double fraction);

// The time a lap loses on the reference (positive: slower) at each fraction
// where either has a sample: exact between them, since both times are linear
// there. At the end it is the lap-time difference.
struct TrackPoint {
    double fraction = 0;
    double seconds = 0;
    friend bool operator==(const TrackPoint&, const TrackPoint&) = default;
};
std::vector<TrackPoint> timeDifferenceAlongTrack(const std::vector<double>& lapFractions,
                                                 const std::vector<double>& referenceFractions);

// The engine speed at the same road speed with other sprockets:
// rpm x G' / G, whole RPM rounded half away from zero.
int rpmWithSprockets(int rpm, Sprockets present, Sprockets other);

// A rear sprocket with the lap's highest engine speed it would give.
struct RearChoice {
    int rear = 0;
    int maxRpm = 0;
    friend bool operator==(const RearChoice&, const RearChoice&) = default;
};

// The lap as it would be with other sprockets. A first-order view: the lap
// time would change too.
struct OtherSprockets {
    std::vector<int> rpm;  // r'_0..r'_n
    int maxRpm = 0;
    int minRpm = 0;        // the slowest corner
    int classWidth = 0;    // RPM per class, the charts' own
    // Seconds per class, over the samples the charts' histogram of the lap
    // counts (the opening mark belongs to the lap before): the lap's own and
    // with the other sprockets, both as long as the longer needs.
    std::vector<double> lapClassSeconds;
    std::vector<double> classSeconds;
    // The rear sprocket (front kept) whose maximum comes closest to the
    // target, the lower one on a tie, with up to two more either side.
    std::vector<RearChoice> rears;
    int closest = -1;  // in `rears`; -1 without a target or an engine speed
};
std::optional<OtherSprockets> withOtherSprockets(const RpmStatistics& stats, const RpmLap& lap, Sprockets present,
                                                 Sprockets other, int targetMaxRpm);
// The same from the lap's own histogram (samples per class of `classWidth`
// RPM), as a comparison keeps it.
std::optional<OtherSprockets> withOtherSprockets(const RpmLap& lap, int classWidth, const std::vector<int>& histogram,
                                                 Sprockets present, Sprockets other, int targetMaxRpm);

}  // namespace tormel
