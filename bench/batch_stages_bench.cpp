// Where the time of one record of a batch export goes: reading the record
// file, computing its figures, formatting the spreadsheet text and writing
// it, for the largest lap-timing and engine-speed records.
#include "document/record_document.h"
#include "laps/export.h"
#include "record/record_file.h"

#include "bench_records.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QDateTime clock{QDate(2024, 3, 7), QTime(14, 5, 9)};

tormel::RecordImage imageOf(const benchmark::State& state)
{
    return state.range(0) == 0 ? tormel::bench::lapImage() : tormel::bench::rpmImage();
}

tormel::ViewOptions options()
{
    tormel::ViewOptions o;
    o.trackLengths = {1100.0F, 400.0F, 350.0F, 350.0F};
    o.decimalSeparator = QLatin1Char(',');
    return o;
}

void BM_Reading(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("r.Tml"));
    tormel::saveRecordFile(path, imageOf(state), 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(tormel::loadRecordFile(path));
}
BENCHMARK(BM_Reading)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_Computing(benchmark::State& state)
{
    const tormel::RecordImage image = imageOf(state);
    const tormel::TextTables texts = tormel::frenchTextTables();
    for (auto _ : state) {
        tormel::RecordDocument document;
        document.open(image);
        document.analyse(texts, options());
        benchmark::DoNotOptimize(document.refusal());
    }
}
BENCHMARK(BM_Computing)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_Formatting(benchmark::State& state)
{
    const tormel::TextTables texts = tormel::frenchTextTables();
    tormel::RecordDocument document;
    document.open(imageOf(state));
    document.analyse(texts, options());
    for (auto _ : state)
        benchmark::DoNotOptimize(tormel::exportRecord(document, texts, clock));
}
BENCHMARK(BM_Formatting)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_Writing(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("r.xls"));
    const tormel::TextTables texts = tormel::frenchTextTables();
    tormel::RecordDocument document;
    document.open(imageOf(state));
    document.analyse(texts, options());
    const QByteArray bytes = tormel::exportRecord(document, texts, clock);
    for (auto _ : state)
        benchmark::DoNotOptimize(tormel::writeExport(path, bytes));
}
BENCHMARK(BM_Writing)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
