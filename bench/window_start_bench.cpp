// The window's start with a library of 10,000 indexed, unchanged records in
// its working folder, against the same start with an empty one: from the
// window's construction until it is on the screen, past Form_Load. The
// index's update runs meanwhile in its own thread; the time until its rows
// are in the library's table is given as a counter.
#include "library/session_index.h"
#include "library/session_library.h"
#include "record/record_file.h"
#include "shell/principale.h"
#include "support/fakes.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWindow>

#include "bench_records.h"

#include <benchmark/benchmark.h>

namespace {

// A working folder of `records` distinct lap records, and an index of them.
struct Season {
    explicit Season(int records)
    {
        QDir().mkpath(work());
        tormel::RecordImage image = tormel::bench::lapImage();
        for (int i = 0; i < records; ++i) {
            image.bytes[2000] = std::uint8_t(i);
            image.bytes[2001] = std::uint8_t(i >> 8);
            tormel::saveRecordFile(QDir(work()).filePath(QStringLiteral("r%1.Tml").arg(i)), image, 1);
        }
        tormel::SessionIndex index(libraryFile());
        index.open(nullptr);
        index.update(tormel::sessionFolders(work(), {}, {}), nullptr);
    }
    QString work() const { return folder.filePath(QStringLiteral("work")); }
    QString libraryFile() const { return folder.filePath(QStringLiteral("library.sqlite")); }

    QTemporaryDir folder;
};

void BM_StartTheWindow(benchmark::State& state)
{
    static Season empty(0);
    static Season full(10'000);
    const Season& season = state.range(0) == 0 ? empty : full;
    QDir::setCurrent(season.work());
    tormel::test::FakeDialogs dialogs;
    tormel::test::FakeLauncher launcher;
    tormel::test::FakeSerialPort port;
    tormel::test::FakeSound sound;
    // Until the window is on the screen, and until the library lists its
    // rows (waited for before the next start, which must not overlap it).
    const auto start = [&](benchmark::State* timed) {
        QElapsedTimer clock;
        clock.start();
        tormel::Services services{dialogs, launcher, port, sound, season.folder.path(), QString()};
        services.libraryFile = season.libraryFile();
        tormel::Principale window(services);
        auto* library = window.findChild<tormel::SessionLibrary*>();
        double rowsShown = -1;  // the update may end before the window is on the screen
        QObject::connect(library, &tormel::SessionLibrary::updated, [&] { rowsShown = double(clock.elapsed()); });
        tormel::startWindow(window, QString());
        while (!window.windowHandle() || !window.windowHandle()->isExposed())
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        if (timed)
            timed->PauseTiming();
        while (rowsShown < 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (timed && library->model().rowCount() != int(timed->range(0)))
            timed->SkipWithError("the library did not list every session");
        if (timed)
            timed->ResumeTiming();
        return rowsShown;
    };
    start(nullptr);  // fonts, styles and plugins are loaded once
    double rowsShown = 0;
    for (auto _ : state)
        rowsShown += start(&state);
    state.counters["rows_shown_ms"] = rowsShown / double(state.iterations());
}
BENCHMARK(BM_StartTheWindow)->Arg(0)->Arg(10'000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
