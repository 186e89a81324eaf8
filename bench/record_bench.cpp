#include "record/record_decoder.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

void BM_DecodeRecord(benchmark::State& state)
{
    tormel::RecordImage image;
    std::mt19937 random(3);
    for (auto& b : image.bytes)
        b = std::uint8_t(random());
    const QString stagesCaption = QStringLiteral("Etapes : ");
    for (auto _ : state)
        benchmark::DoNotOptimize(tormel::decodeRecord(image, stagesCaption));
}
BENCHMARK(BM_DecodeRecord);

}  // namespace

BENCHMARK_MAIN();
