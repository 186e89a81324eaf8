#include "laps/road_speed.h"

#include "laps/conversions.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace tormel {

namespace {

constexpr double SecondsPerMinute = 60.0;
constexpr double HundredthsPerSample = RpmStatistics::SampleHundredths;

// num / den rounded half away from zero, den > 0.
long long roundedQuotient(long long num, long long den)
{
    const long long whole = (2 * std::llabs(num) + den) / (2 * den);
    return num < 0 ? -whole : whole;
}

std::vector<double> classSecondsOf(const std::vector<int>& rpm, int classWidth)
{
    std::vector<int> counts;
    // The charts count the closing mark in the lap and the opening one in
    // the lap before.
    for (std::size_t k = 1; k < rpm.size(); ++k) {
        const auto c = std::size_t(classWidth > 0 ? std::max(rpm[k], 0) / classWidth : 0);
        if (c >= counts.size())
            counts.resize(c + 1, 0);
        ++counts[c];
    }
    std::vector<double> seconds;
    seconds.reserve(counts.size());
    for (int count : counts)
        seconds.push_back(count * RpmStatistics::SampleSeconds);
    return seconds;
}

// The rear sprocket whose maximum comes closest to the target, and its
// neighbours.
void chooseRears(OtherSprockets& result, int lapMaxRpm, Sprockets present, int front, int targetMaxRpm)
{
    if (targetMaxRpm <= 0 || lapMaxRpm <= 0)
        return;
    int best = fewestTeeth;
    int bestGap = -1;
    for (int rear = fewestTeeth; rear <= mostTeeth; ++rear) {
        // Rounding keeps the order, so the lap's maximum is the maximum's own.
        const int gap = std::abs(rpmWithSprockets(lapMaxRpm, present, {front, rear}) - targetMaxRpm);
        if (bestGap < 0 || gap < bestGap) {
            best = rear;
            bestGap = gap;
        }
    }
    for (int rear = std::max(fewestTeeth, best - 2); rear <= std::min(mostTeeth, best + 2); ++rear) {
        if (rear == best)
            result.closest = int(result.rears.size());
        result.rears.push_back({rear, rpmWithSprockets(lapMaxRpm, present, {front, rear})});
    }
}

}  // namespace

bool isClosedLap(const RpmStatistics& stats, int lap)
{
    if (lap < 1 || lap >= stats.lapCount || lap >= RpmStatistics::MaxClosedLaps)
        return false;
    const int first = stats.lapStart[std::size_t(lap)];
    const int n = stats.lapDuration[std::size_t(lap)];
    return first >= 0 && n >= 1 && first + n < stats.sampleCount;
}

std::optional<RpmLap> closedLap(const RpmStatistics& stats, int lap)
{
    if (!isClosedLap(stats, lap))
        return std::nullopt;
    RpmLap l;
    l.lap = lap;
    l.first = stats.lapStart[std::size_t(lap)];
    const auto begin = stats.rawRpm.begin() + l.first;
    l.rpm.assign(begin, begin + stats.lapDuration[std::size_t(lap)] + 1);
    return l;
}

long long rpmSum(const RpmLap& lap)
{
    if (lap.rpm.empty())
        return 0;
    return std::accumulate(lap.rpm.begin(), lap.rpm.end() - 1, 0LL);
}

std::vector<double> lapFractions(const RpmLap& lap)
{
    std::vector<double> f(lap.rpm.size(), 0.0);
    if (f.empty())
        return f;
    const long long total = rpmSum(lap);
    long long running = 0;
    for (std::size_t i = 1; i + 1 < f.size() && total > 0; ++i) {
        running += lap.rpm[i - 1];
        f[i] = double(running) / double(total);
    }
    f.back() = 1.0;
    return f;
}

std::optional<std::vector<double>> lapDistances(const std::vector<double>& fractions, float lapLength)
{
    if (!isLengthGiven(lapLength))
        return std::nullopt;
    std::vector<double> d;
    d.reserve(fractions.size());
    for (double f : fractions)
        d.push_back(double(lapLength) * f);
    return d;
}

std::optional<double> medianInverseRpmSum(const RpmStatistics& stats)
{
    std::vector<double> inverses;
    for (int lap = 1; lap < stats.lapCount; ++lap) {
        const std::optional<RpmLap> l = closedLap(stats, lap);
        const long long sum = l ? rpmSum(*l) : 0;
        if (sum > 0)
            inverses.push_back(1.0 / double(sum));
    }
    if (inverses.empty())
        return std::nullopt;
    std::sort(inverses.begin(), inverses.end());
    const std::size_t middle = inverses.size() / 2;
    return inverses.size() % 2 == 1 ? inverses[middle] : (inverses[middle - 1] + inverses[middle]) / 2.0;
}

std::optional<double> rollingCircumference(float lapLength, Sprockets sprockets, double inverseRpmSum)
{
    if (!isLengthGiven(lapLength) || !sprockets.given())
        return std::nullopt;
    const double ratio = double(sprockets.rear) / double(sprockets.front);
    return double(lapLength) * ratio * SecondsPerMinute / RpmStatistics::SampleSeconds * inverseRpmSum;
}

bool isCircumferencePlausible(double metres)
{
    return metres >= smallestCircumference && metres <= largestCircumference;
}

std::optional<double> roadSpeed(int rpm, float lapLength, double inverseRpmSum, SpeedUnit unit)
{
    if (!isLengthGiven(lapLength))
        return std::nullopt;
    const double perSample = double(rpm) * inverseRpmSum;  // laps a sample
    if (!(perSample > 0.0))
        return 0.0;
    // The lap's length over the time a lap would take at this engine speed:
    // the lap table's own speed.
    return speedFor(lapLength, HundredthsPerSample / perSample, unit);
}

double secondsToReach(const std::vector<double>& fractions, double fraction)
{
    if (fractions.size() < 2 || fraction <= 0.0)
        return 0.0;
    const auto n = fractions.size() - 1;
    if (fraction >= 1.0)
        return double(n) * RpmStatistics::SampleSeconds;
    // The first sample at or past the fraction; the one before is short of it.
    const auto j = std::size_t(std::lower_bound(fractions.begin() + 1, fractions.end(), fraction) - fractions.begin());
    const double before = fractions[j - 1];
    const double position = double(j - 1) + (fraction - before) / (fractions[j] - before);
    return position * RpmStatistics::SampleSeconds;
}

std::vector<TrackPoint> timeDifferenceAlongTrack(const std::vector<double>& lapFractions,
                                                 const std::vector<double>& referenceFractions)
{
    std::vector<double> at;
    at.reserve(lapFractions.size() + referenceFractions.size());
    std::merge(lapFractions.begin(), lapFractions.end(), referenceFractions.begin(), referenceFractions.end(),
               std::back_inserter(at));
    at.erase(std::unique(at.begin(), at.end()), at.end());
    std::vector<TrackPoint> points;
    if (lapFractions.size() < 2 || referenceFractions.size() < 2)
        return points;
    points.reserve(at.size());
    for (double f : at)
        points.push_back({f, secondsToReach(lapFractions, f) - secondsToReach(referenceFractions, f)});
    return points;
}

int rpmWithSprockets(int rpm, Sprockets present, Sprockets other)
{
    if (!present.given() || !other.given())
        return rpm;
    // G' / G = (R' / F') / (R / F), in whole numbers so that a tie is a tie.
    const long long num = static_cast<long long>(rpm) * other.rear * present.front;
    const long long den = static_cast<long long>(other.front) * present.rear;
    return int(roundedQuotient(num, den));
}

std::optional<OtherSprockets> withOtherSprockets(const RpmStatistics& stats, const RpmLap& lap, Sprockets present,
                                                 Sprockets other, int targetMaxRpm)
{
    if (lap.lap < 0 || lap.lap >= RpmStatistics::LapSlots)
        return std::nullopt;
    const auto& histogram = stats.rpmHistogram[std::size_t(lap.lap)];
    return withOtherSprockets(lap, stats.rpmStep, std::vector<int>(histogram.begin(), histogram.end()), present, other,
                              targetMaxRpm);
}

std::optional<OtherSprockets> withOtherSprockets(const RpmLap& lap, int classWidth, const std::vector<int>& histogram,
                                                 Sprockets present, Sprockets other, int targetMaxRpm)
{
    if (!present.given() || !other.given() || lap.rpm.empty())
        return std::nullopt;
    OtherSprockets result;
    result.rpm.reserve(lap.rpm.size());
    for (int r : lap.rpm)
        result.rpm.push_back(rpmWithSprockets(r, present, other));
    const auto [low, high] = std::minmax_element(result.rpm.begin(), result.rpm.end());
    result.minRpm = *low;
    result.maxRpm = *high;

    result.classWidth = classWidth;
    result.classSeconds = classSecondsOf(result.rpm, classWidth);
    for (int count : histogram)
        result.lapClassSeconds.push_back(count * RpmStatistics::SampleSeconds);
    const std::size_t classes = std::max(result.classSeconds.size(), result.lapClassSeconds.size());
    result.classSeconds.resize(classes, 0.0);
    result.lapClassSeconds.resize(classes, 0.0);

    chooseRears(result, *std::max_element(lap.rpm.begin(), lap.rpm.end()), present, other.front, targetMaxRpm);
    return result;
}

}  // namespace tormel
