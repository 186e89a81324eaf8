#include "record/record_decoder.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

void BM_DecodeRecord(benchmark::State& state)
{
    tormel::RecordImage image;
    std::mt19937 random(3);
    for (auto& b : image.Data_Chrono)
        b = std::uint8_t(random());
    const QString etapes = QStringLiteral("Etapes : ");
    for (auto _ : state)
        benchmark::DoNotOptimize(tormel::decodeRecord(image, etapes));
}
BENCHMARK(BM_DecodeRecord);

}  // namespace

BENCHMARK_MAIN();
