#include "laps/rpm_statistics.h"

#include <algorithm>

namespace tormel {

namespace {

constexpr int DeadTime = 10;  // samples after a counted mark that cannot count again
constexpr int ShortestStart = 2048;
constexpr int NoLimit = 32000;

}  // namespace

RpmStatistics computeRpmStatistics(const RecordImage& image, const DecodedRecord& record, int smoothingLevel)
{
    RpmStatistics st;
    st.smoothingLevel = std::clamp(smoothingLevel, 0, 3);
    const int W = 2 * st.smoothingLevel;
    const int n = std::clamp(int(record.sampleCount), 0, RpmStatistics::Samples);
    st.sampleCount = n;
    // A factor of at most 15 keeps code x step far inside an int.
    st.rpmStep = std::clamp(record.rpmFactor, 0, 15) * 150;
    const int beaconsPerLap = std::max(record.beaconsPerLap, 1);

    int shortest = ShortestStart;
    int running = 0;
    int beacon = beaconsPerLap - 1;
    int dead = 0;
    for (int s = 0; s < n; ++s) {
        const std::uint8_t b = image.sample(s);
        const int code = b & 127;
        auto& histogram = st.rpmHistogram[std::size_t(st.lapCount)];
        int& count = histogram[std::size_t(code)];
        ++count;
        st.histogramMax[std::size_t(st.lapCount)] = std::max(st.histogramMax[std::size_t(st.lapCount)], count);

        const int rpm = std::min(code * st.rpmStep, 32767);
        st.rawRpm[std::size_t(s)] = std::int16_t(rpm);
        st.maxRpm = std::max(st.maxRpm, rpm);

        ++running;
        if (dead > 0) {
            --dead;
            continue;
        }
        if ((b & 128) == 0)
            continue;
        st.beaconMarks[std::size_t(s)] = true;
        dead = DeadTime;
        if (++beacon < beaconsPerLap)
            continue;
        beacon = 0;
        if (st.lapCount >= RpmStatistics::MaxClosedLaps)
            continue;
        st.lapDuration[std::size_t(st.lapCount)] = running;
        if (running < shortest && st.lapCount >= 2) {
            shortest = running;
            st.bestLap = st.lapCount;
        }
        ++st.lapCount;
        st.lapStart[std::size_t(st.lapCount)] = s;
        running = 0;
    }

    if (st.lapCount < 2) {
        const auto lap = std::size_t(st.lapCount);
        st.lapDuration[lap] = running;
        st.lapStart[lap] = 0;
        st.lapStart[lap + 1] = running;
        if (n > 0)
            st.histogramMax[lap] = st.rpmHistogram[lap][std::size_t(image.sample(n - 1) & 127)];
    }

    for (int s = 0; s < n; ++s) {
        if (s + W >= n) {
            st.smoothedRpm[std::size_t(s)] = st.rawRpm[std::size_t(s)];
            continue;
        }
        int sum = 0;
        for (int k = s; k <= s + W; ++k)
            sum += st.rawRpm[std::size_t(k)];
        st.smoothedRpm[std::size_t(s)] = float(sum) / float(W + 1);
    }

    pickSecondAndThirdLaps(st);
    return st;
}

void pickSecondAndThirdLaps(RpmStatistics& st)
{
    const int last = std::min(st.lapCount, RpmStatistics::LapSlots) - 1;
    auto scan = [&](int excludedA, int excludedB, int& chosen) {
        int limit = NoLimit;
        for (int lap = 1; lap <= last; ++lap) {
            const int d = st.lapDuration[std::size_t(lap)];
            if (d > 0 && d < limit && lap != excludedA && lap != excludedB) {
                chosen = lap;
                limit = d;
            }
        }
    };
    scan(st.bestLap, st.bestLap, st.secondLap);
    scan(st.bestLap, st.secondLap, st.thirdLap);
}

std::array<int, 3> defaultChartedLaps(const RpmStatistics& stats)
{
    if (stats.lapCount <= 2)
        return {1, -1, -2};
    if (stats.lapCount == 3)
        return {stats.bestLap, stats.secondLap, -1};
    return {stats.bestLap, stats.secondLap, stats.thirdLap};
}

}  // namespace tormel
