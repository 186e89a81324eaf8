#pragma once

#include "record/record_decoder.h"
#include "record/record_image.h"

#include <array>
#include <cstdint>

namespace tormel {

// Everything the engine-speed charts and the export read off the sample
// stream of an engine-speed record.
struct RpmStatistics {
    static constexpr int Samples = RecordImage::MaxSamples;
    static constexpr int LapSlots = 101;  // laps 0..100
    static constexpr int Codes = 128;
    static constexpr int MaxClosedLaps = LapSlots - 1;
    // The logger writes one sample every 0.2 s: every time of the charts,
    // the comparison, the road speed and the library's lap times count in these.
    static constexpr int SampleHundredths = 20;
    static constexpr double SampleSeconds = SampleHundredths / 100.0;

    int sampleCount = 0;     // samples read, 0..1984
    int smoothingLevel = 0;  // the trace was made with it
    int rpmStep = 0;
    int maxRpm = 0;
    int lapCount = 0;
    std::array<std::int16_t, Samples> rawRpm{};
    // Smoothed over W + 1 = 2V + 1 samples starting at s; the last W samples,
    // which have no full window, keep their raw value.
    std::array<float, Samples> smoothedRpm{};
    std::array<bool, Samples> beaconMarks{};
    std::array<int, LapSlots> lapStart{};
    std::array<int, LapSlots> lapDuration{};
    std::array<std::array<int, Codes>, LapSlots> rpmHistogram{};
    std::array<int, LapSlots> histogramMax{};
    int bestLap = 1;
    int secondLap = -1;
    int thirdLap = -2;
};

// One pass over the sample stream at a smoothing level (0..3, clamped).
// Lap 100 is the last slot: once 100 laps are closed, later beacon passes
// are still marked but close no lap, and lap 100 runs to the end.
RpmStatistics computeRpmStatistics(const RecordImage& image, const DecodedRecord& record, int smoothingLevel);

// Picks the second and third laps from the lap durations (laps 1 to
// lapCount - 1, shortest first, earlier lap on a tie, the best lap excluded).
void pickSecondAndThirdLaps(RpmStatistics& stats);

// The laps the three engine-speed charts show: the best three when there
// are enough laps; a lap below 1 leaves its chart empty.
std::array<int, 3> defaultChartedLaps(const RpmStatistics& stats);

}  // namespace tormel
