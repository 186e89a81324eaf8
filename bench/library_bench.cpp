// The library of a season of 10,000 sessions: sorting and filtering its
// table, and an update of the index when every file is unchanged (what a
// new download waits for once its folder has settled).
#include "bench_records.h"
#include "library/library_model.h"
#include "library/session_library.h"
#include "record/record_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace tormel {
namespace {

constexpr int Sessions = 10'000;

std::vector<LibraryRow> season()
{
    std::vector<LibraryRow> rows(Sessions);
    for (int i = 0; i < Sessions; ++i) {
        Session& s = rows[std::size_t(i)].session;
        s.identity = QString::number(i);
        s.date = QDateTime(QDate(2026, 1, 1), QTime(9, 0)).addSecs(qint64(i) * 3307);
        s.track = 1 + i % 37;
        s.figures.kind = RecordKind::LapTiming;
        s.figures.laps = 10 + i % 80;
        s.figures.bestTime = 4500 + (i * 7919) % 1500;
        s.figures.theoreticalBest = s.figures.bestTime - 20;
        s.figures.consistency = Consistency{8, i % 5, 30.0 + i % 40, 40.0};
        s.figures.serialNumber = QString::number(270400 + i % 12);
        s.files.push_back({QStringLiteral("/home/driver/season/%1.Tml").arg(i), 2050, 0, {}, 1, false, false, {}});
        rows[std::size_t(i)].setup.driver = i % 3 == 0 ? QStringLiteral("Ana") : QStringLiteral("Léo");
    }
    return rows;
}

void BM_SortTheLibrary(benchmark::State& state)
{
    LibraryModel model;
    model.setRows(libraryRows(season(), frenchTextTables(), TemperatureUnit::Celsius));
    LibraryFilter view(&model);
    int column = 0;
    for (auto _ : state) {
        // Alternating columns and orders, as a user clicking headers would.
        view.sort(column % 2 == 0 ? LibraryBestLapColumn : LibraryDriverColumn,
                  column % 4 < 2 ? Qt::AscendingOrder : Qt::DescendingOrder);
        ++column;
        benchmark::DoNotOptimize(view.index(0, 0));
    }
}
BENCHMARK(BM_SortTheLibrary)->Unit(benchmark::kMillisecond);

void BM_FilterTheLibrary(benchmark::State& state)
{
    LibraryModel model;
    model.setRows(libraryRows(season(), frenchTextTables(), TemperatureUnit::Celsius));
    LibraryFilter view(&model);
    view.sort(LibraryDateColumn, Qt::DescendingOrder);
    int step = 0;
    for (auto _ : state) {
        view.setText(step++ % 2 == 0 ? QStringLiteral("ana") : QString());
        benchmark::DoNotOptimize(view.rowCount());
    }
}
BENCHMARK(BM_FilterTheLibrary)->Unit(benchmark::kMillisecond);

// 10,000 distinct records in the working folder `work` of `folder`.
void writeSeason(const QTemporaryDir& folder, RecordImage& image)
{
    QDir().mkpath(folder.filePath(QStringLiteral("work/downloads")));
    for (int i = 0; i < Sessions; ++i) {
        image.bytes[2000] = std::uint8_t(i);
        image.bytes[2001] = std::uint8_t(i >> 8);
        saveRecordFile(folder.filePath(QStringLiteral("work/r%1.Tml").arg(i)), image, 1);
    }
}

// A working folder of 10,000 distinct records, its index built.
struct IndexedSeason {
    IndexedSeason()
    {
        writeSeason(folder, image);
        QObject::connect(&library, &SessionLibrary::updated, &loop, &QEventLoop::quit);
        library.setFolders(folder.filePath(QStringLiteral("work")), {}, folder.filePath(QStringLiteral("work/Pistes.aqw")));
        loop.exec();  // the first index, not measured
    }
    QTemporaryDir folder;
    RecordImage image = bench::lapImage();
    SessionLibrary library{folder.filePath(QStringLiteral("library.sqlite"))};
    QEventLoop loop;
};

void BM_UpdateUnchangedSeason(benchmark::State& state)
{
    IndexedSeason season;
    SessionLibrary& library = season.library;
    QEventLoop& loop = season.loop;
    for (auto _ : state) {
        library.refresh();
        loop.exec();
    }
    state.counters["sessions"] = library.model().rowCount();
}
BENCHMARK(BM_UpdateUnchangedSeason)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// From a new record's file written into the watched working folder of a
// season of 10,000 until its row is in the table: the watcher, its settling
// and the update.
void BM_NewDownloadAppears(benchmark::State& state)
{
    IndexedSeason season;
    SessionLibrary& library = season.library;
    RecordImage& image = season.image;
    const QTemporaryDir& folder = season.folder;
    int added = 0;
    for (auto _ : state) {
        image.bytes[2002] = std::uint8_t(++added);
        const int before = library.model().rowCount();
        saveRecordFile(folder.filePath(QStringLiteral("work/downloads/new%1.Tml").arg(added)), image, 1);
        while (library.model().rowCount() == before)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}
BENCHMARK(BM_NewDownloadAppears)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Closing the window while the first index of 10,000 files is under way:
// from the library's end to the worker's, once it has read some files.
void BM_CloseDuringTheFirstIndex(benchmark::State& state)
{
    QTemporaryDir folder;
    RecordImage image = bench::lapImage();
    writeSeason(folder, image);
    for (auto _ : state) {
        QFile::remove(folder.filePath(QStringLiteral("library.sqlite")));
        auto library = std::make_unique<SessionLibrary>(folder.filePath(QStringLiteral("library.sqlite")));
        bool reading = false;
        QObject::connect(library.get(), &SessionLibrary::progress, [&](int done, int) { reading = done >= 256; });
        library->setFolders(folder.filePath(QStringLiteral("work")), {}, folder.filePath(QStringLiteral("work/Pistes.aqw")));
        while (!reading)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const auto start = std::chrono::steady_clock::now();
        library.reset();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(BM_CloseDuringTheFirstIndex)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace
}  // namespace tormel

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
