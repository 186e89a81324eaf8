// A lap with other sprockets, as the window would show it: the engine speed
// at the same road speed, its classes and the suggested rear sprockets.
#include "demo_records.h"
#include "laps/road_speed.h"
#include "record/record_decoder.h"

#include <benchmark/benchmark.h>

namespace tormel {
namespace {

RpmStatistics statisticsOf(const RecordImage& image)
{
    return computeRpmStatistics(image, decodeRecord(image, QStringLiteral("Etapes : ")), 0);
}

void whatIf(benchmark::State& state, const RpmStatistics& stats, int lap)
{
    for (auto _ : state) {
        const std::optional<RpmLap> samples = closedLap(stats, lap);
        benchmark::DoNotOptimize(withOtherSprockets(stats, *samples, {11, 82}, {11, 84}, 14500));
    }
}

// A lap of the demo record: 248 samples.
void BM_OtherSprocketsDemoLap(benchmark::State& state)
{
    const auto stats = std::make_unique<RpmStatistics>(statisticsOf(demo::engineSpeedRecord()));
    whatIf(state, *stats, stats->bestLap);
}
BENCHMARK(BM_OtherSprocketsDemoLap)->Unit(benchmark::kMicrosecond);

// The longest lap a record holds: every sample but the first and the last.
void BM_OtherSprocketsLongestLap(benchmark::State& state)
{
    RecordImage image = demo::engineSpeedRecord();
    for (int s = 0; s < RecordImage::MaxSamples; ++s)
        image.bytes[std::size_t(RecordImage::sampleOffset(s))] &= 127;
    for (int s : {1, RecordImage::MaxSamples - 2})
        image.bytes[std::size_t(RecordImage::sampleOffset(s))] |= 128;
    const auto stats = std::make_unique<RpmStatistics>(statisticsOf(image));
    whatIf(state, *stats, 1);
}
BENCHMARK(BM_OtherSprocketsLongestLap)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tormel

BENCHMARK_MAIN();
