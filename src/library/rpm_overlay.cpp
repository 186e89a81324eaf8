#include "library/rpm_overlay.h"

#include "laps/road_speed.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tormel {

OverlayLap overlayLapOf(const RpmStatistics& stats, int lap)
{
    OverlayLap o;
    if (lap < 1 || lap >= stats.lapCount || lap + 1 >= RpmStatistics::LapSlots)
        return o;
    const int first = stats.lapStart[std::size_t(lap)];
    const int last = std::min(stats.lapStart[std::size_t(lap + 1)], stats.sampleCount - 1);
    for (int s = first; s <= last; ++s)
        o.rpm.push_back(stats.smoothedRpm[std::size_t(s)]);
    o.classWidth = stats.rpmStep;
    const auto& histogram = stats.rpmHistogram[std::size_t(lap)];
    o.histogram.assign(histogram.begin(), histogram.end());
    if (const std::optional<RpmLap> closed = closedLap(stats, lap); closed && closed->rpm.size() == o.rpm.size()) {
        o.raw = closed->rpm;
        o.fractions = lapFractions(*closed);
    }
    return o;
}

void addRoadSpeed(OverlayLap& lap, float lapLength, double inverseRpmSum)
{
    lap.speed.clear();
    for (const float rpm : lap.rpm)
        if (const std::optional<double> v = roadSpeed(int(std::lround(rpm)), lapLength, inverseRpmSum, SpeedUnit::KilometresPerHour))
            lap.speed.push_back(*v);
    if (lap.speed.size() != lap.rpm.size())
        lap.speed.clear();
}

double lapSeconds(const OverlayLap& lap)
{
    return lap.rpm.empty() ? 0.0 : double(lap.rpm.size() - 1) * OverlaySampleSeconds;
}

double overlayX(const OverlayLap& lap, int sample, Alignment alignment)
{
    if (alignment == Alignment::Time)
        return sample * OverlaySampleSeconds;
    if (alignment == Alignment::Track && lap.fractions.size() == lap.rpm.size())
        return lap.fractions[std::size_t(sample)];
    return lap.rpm.size() > 1 ? double(sample) / double(lap.rpm.size() - 1) : 0.0;
}

std::optional<double> samplePosition(const OverlayLap& lap, double x, Alignment alignment)
{
    const auto n = int(lap.rpm.size());
    if (n == 0)
        return std::nullopt;
    double position = alignment == Alignment::Time ? x / OverlaySampleSeconds : x * (n - 1);
    if (alignment == Alignment::Track && lap.fractions.size() == lap.rpm.size() && x >= 0 && x <= 1)
        position = secondsToReach(lap.fractions, x) / OverlaySampleSeconds;
    // A hair of rounding must not lose the last sample.
    constexpr double slack = 1e-9;
    if (position < -slack || position > n - 1 + slack)
        return std::nullopt;
    return std::clamp(position, 0.0, double(n - 1));
}

namespace {

template <typename Value>
std::optional<double> valueAt(const std::vector<Value>& values, std::optional<double> position)
{
    if (!position || values.empty())
        return std::nullopt;
    const auto n = int(values.size());
    const int i = std::min(int(*position), n - 1);
    if (i == n - 1)
        return values[std::size_t(i)];
    const double t = *position - i;
    return values[std::size_t(i)] * (1 - t) + values[std::size_t(i + 1)] * t;
}

}  // namespace

std::optional<double> rpmAt(const OverlayLap& lap, double x, Alignment alignment)
{
    return valueAt(lap.rpm, samplePosition(lap, x, alignment));
}

std::optional<double> speedAt(const OverlayLap& lap, double x, Alignment alignment)
{
    if (lap.speed.size() != lap.rpm.size())
        return std::nullopt;
    return valueAt(lap.speed, samplePosition(lap, x, alignment));
}

std::vector<CursorReading> cursorReadings(const std::vector<OverlayLap>& laps, int reference, double x, Alignment alignment)
{
    std::vector<CursorReading> readings;
    for (const OverlayLap& lap : laps) {
        CursorReading r;
        const std::optional<double> position = samplePosition(lap, x, alignment);
        r.rpm = valueAt(lap.rpm, position);
        if (lap.speed.size() == lap.rpm.size())
            r.speed = valueAt(lap.speed, position);
        if (alignment != Alignment::Time && position)
            r.seconds = *position * OverlaySampleSeconds;
        readings.push_back(r);
    }
    if (reference < 0 || reference >= int(readings.size()))
        return readings;
    const CursorReading base = readings[std::size_t(reference)];
    for (std::size_t i = 0; i < readings.size(); ++i) {
        if (int(i) == reference)
            continue;
        CursorReading& r = readings[i];
        if (r.rpm && base.rpm)
            r.rpmDifference = *r.rpm - *base.rpm;
        if (r.seconds && base.seconds)
            r.secondsDifference = *r.seconds - *base.seconds;
    }
    return readings;
}

LapRpmFigures lapRpmFigures(const OverlayLap& lap)
{
    if (lap.rpm.empty())
        return {};
    const auto [low, high] = std::minmax_element(lap.rpm.begin(), lap.rpm.end());
    const double sum = std::accumulate(lap.rpm.begin(), lap.rpm.end(), 0.0);
    return {int(std::lround(*high)), int(std::lround(*low)), sum / double(lap.rpm.size())};
}

CommonHistograms commonHistograms(const std::vector<OverlayLap>& laps)
{
    CommonHistograms common;
    for (const OverlayLap& lap : laps)
        common.classWidth = std::max(common.classWidth, lap.classWidth);
    if (common.classWidth == 0) {
        common.seconds.assign(laps.size(), {});
        return common;
    }
    std::size_t classes = 0;
    for (const OverlayLap& lap : laps)
        if (!lap.histogram.empty())
            classes = std::max(classes, std::size_t((lap.histogram.size() - 1) * std::size_t(lap.classWidth) / std::size_t(common.classWidth)) + 1);
    for (const OverlayLap& lap : laps) {
        std::vector<double> seconds(classes, 0.0);
        for (std::size_t k = 0; k < lap.histogram.size(); ++k)
            seconds[k * std::size_t(lap.classWidth) / std::size_t(common.classWidth)] += lap.histogram[k] * OverlaySampleSeconds;
        common.seconds.push_back(std::move(seconds));
    }
    return common;
}

}  // namespace tormel
