#include "laps/export.h"
#include "laps/lap_table.h"
#include "laps/rpm_statistics.h"
#include "record/record_decoder.h"

#include "bench_records.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

const QString stagesCaption = QStringLiteral("Etapes : ");
const QDateTime clock{QDate(2024, 3, 7), QTime(14, 5, 9)};

using tormel::bench::lapImage;
using tormel::bench::rpmImage;

tormel::LapTableOptions lapOptions()
{
    tormel::LapTableOptions o;
    o.trackLengths = {1100.0F, 400.0F, 350.0F, 350.0F};
    o.sortColumn = tormel::RawLapTimeColumn;
    o.decimalSeparator = QLatin1Char(',');
    return o;
}

void BM_DecodeAndLapTable99(benchmark::State& state)
{
    const tormel::RecordImage image = lapImage();
    const tormel::TextTables texts = tormel::frenchTextTables();
    const tormel::LapTableOptions options = lapOptions();
    for (auto _ : state) {
        const tormel::DecodedRecord record = tormel::decodeRecord(image, stagesCaption);
        benchmark::DoNotOptimize(tormel::buildLapTable(image, record, texts, options));
    }
}
BENCHMARK(BM_DecodeAndLapTable99)->Unit(benchmark::kMicrosecond);

void BM_ComputeRpm1984V3(benchmark::State& state)
{
    const tormel::RecordImage image = rpmImage();
    const tormel::DecodedRecord record = tormel::decodeRecord(image, stagesCaption);
    for (auto _ : state)
        benchmark::DoNotOptimize(tormel::computeRpmStatistics(image, record, 3));
}
BENCHMARK(BM_ComputeRpm1984V3)->Unit(benchmark::kMicrosecond);

void BM_ExportLapTable99(benchmark::State& state)
{
    const tormel::RecordImage image = lapImage();
    const tormel::LapTable table =
        tormel::buildLapTable(image, tormel::decodeRecord(image, stagesCaption), tormel::frenchTextTables(), lapOptions());
    for (auto _ : state)
        benchmark::DoNotOptimize(tormel::exportLapTable(table, clock));
}
BENCHMARK(BM_ExportLapTable99)->Unit(benchmark::kMicrosecond);

void BM_ExportRpm1984(benchmark::State& state)
{
    const tormel::RecordImage image = rpmImage();
    const tormel::DecodedRecord record = tormel::decodeRecord(image, stagesCaption);
    const tormel::RpmStatistics stats = tormel::computeRpmStatistics(image, record, 0);
    const tormel::TextTables texts = tormel::frenchTextTables();
    for (auto _ : state)
        benchmark::DoNotOptimize(tormel::exportRpm(image, record, stats, texts, clock));
}
BENCHMARK(BM_ExportRpm1984)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
