// What a click on a bar of the lap-time chart, a new smoothing level or a
// step of the measuring cursor costs before the screen shows the result, for
// the largest records: the window's own handlers, reached through the
// signals and menus that reach them, with the dialogs and launcher of the tests.
#include "charts/canvas.h"
#include "charts/cursor_rules.h"
#include "charts/lap_time_chart.h"
#include "charts/record_chart.h"
#include "laps/lap_grid.h"
#include "record/record_file.h"
#include "shell/principale.h"
#include "support/fakes.h"
#include "tracks/track_file.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QSaveFile>
#include <QTemporaryDir>

#include <array>

#include "bench_records.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int ScreenWidth = 19200;
constexpr int ScreenHeight = 14400;
constexpr int PixelTwips = 15;

// A window started in a folder of its own, showing a record: by default
// the 99-lap record on a track with all four lengths, sorted on the lap time.
struct Window {
    explicit Window(const tormel::RecordImage& image = tormel::bench::lapImage())
    {
        QDir::setCurrent(folder.path());
        tormel::Track track;
        track.marker = tormel::trackMarker;
        track.name = QStringLiteral("Bench");
        track.lengths = {1100.0F, 400.0F, 350.0F, 350.0F};
        QSaveFile tracks(QDir(folder.path()).filePath(tormel::trackFileName));
        tracks.open(QIODevice::WriteOnly);
        tracks.write(tormel::encodeTrackRecord(track));
        tracks.commit();
        const QString record = QDir(folder.path()).filePath(QStringLiteral("bench.Tml"));
        tormel::saveRecordFile(record, image, 1);

        window.resize(ScreenWidth / PixelTwips, ScreenHeight / PixelTwips);
        window.show();
        window.Form_Load();
        // A click on the start-up picture, as the user closes it.
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.findChild<QLabel*>(QStringLiteral("Picture2")), &press);
        window.openRecord(record);
        emit window.findChild<tormel::LapGrid*>(QStringLiteral("Liste_Tours"))->headerClicked(tormel::LapTimeColumn);
        lapChart = window.findChild<tormel::LapTimeChart*>(QStringLiteral("Graphique_Chronos"));
    }

    QTemporaryDir folder;
    tormel::test::FakeDialogs dialogs;
    tormel::test::FakeLauncher launcher;
    tormel::test::FakeSerialPort port;
    tormel::test::FakeSound sound;
    tormel::Principale window{tormel::Services{dialogs, launcher, port, sound, folder.path(), QString()}};
    tormel::LapTimeChart* lapChart = nullptr;
};

void BM_RedisplayAfterBarClick99(benchmark::State& state)
{
    Window w;
    int lap = 1;
    for (auto _ : state) {
        emit w.lapChart->lapToggled(lap);
        lap = lap % 99 + 1;
    }
}
BENCHMARK(BM_RedisplayAfterBarClick99)->Unit(benchmark::kMillisecond);

// The same, and the whole window painted as the next frame would paint it.
void BM_RedisplayAndPaintAfterBarClick99(benchmark::State& state)
{
    Window w;
    int lap = 1;
    for (auto _ : state) {
        emit w.lapChart->lapToggled(lap);
        benchmark::DoNotOptimize(w.window.grab());
        lap = lap % 99 + 1;
    }
}
BENCHMARK(BM_RedisplayAndPaintAfterBarClick99)->Unit(benchmark::kMillisecond);

// A new smoothing level on the largest engine-speed record: decode again
// and draw the three charts.
void BM_RedrawChartsAfterSmoothingChange(benchmark::State& state)
{
    Window w(tormel::bench::rpmImage());
    std::array<QAction*, 4> levels{};
    for (int i = 0; i < 4; ++i)
        levels[std::size_t(i)] = w.window.findChild<QAction*>(QStringLiteral("Filtre%1").arg(i));
    int level = 1;
    for (auto _ : state) {
        levels[std::size_t(level)]->trigger();
        level = (level + 1) % 4;
    }
}
BENCHMARK(BM_RedrawChartsAfterSmoothingChange)->Unit(benchmark::kMillisecond);

// One step of the measuring cursor with the arrow keys: erase, draw, the
// read-outs, and the trace painted again.
void BM_CursorStep(benchmark::State& state)
{
    Window w(tormel::bench::rpmImage());
    auto* chart = w.window.findChild<tormel::RecordChart*>(QStringLiteral("Graphique_Record(0)"));
    int step = 0;
    for (auto _ : state) {
        chart->Crpm_KeyDown(step++ % 2 == 0 ? tormel::ArrowKey::Right : tormel::ArrowKey::Left, {});
        chart->Crpm()->repaint();
    }
}
BENCHMARK(BM_CursorStep)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
