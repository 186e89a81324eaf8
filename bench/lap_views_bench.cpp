// What a click on a bar of the lap-time chart costs before the screen shows
// the result: decode the record again, rebuild the lap table, refill the grid
// and redraw the chart, for the largest record (99 laps).
#include "charts/lap_time_chart.h"
#include "laps/lap_grid.h"
#include "laps/lap_table.h"
#include "record/record_decoder.h"

#include <QApplication>
#include <QWidget>

#include "bench_records.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int ScreenWidth = 19200;
constexpr int ScreenHeight = 14400;

using tormel::bench::lapImage;

struct Window {
    Window()
    {
        window.resize(ScreenWidth / tormel::TwipsPerPixel, ScreenHeight / tormel::TwipsPerPixel);
        options.Distances = {1100.0F, 400.0F, 350.0F, 350.0F};
        options.Colonne_Tri = 13;
        window.show();
    }

    // One click on a bar: toggle the lap, then redisplay everything it touches.
    void redisplayAfterClick(int lap)
    {
        options.Tour_Elimine[std::size_t(lap)] = !options.Tour_Elimine[std::size_t(lap)];
        const tormel::DecodedRecord record = tormel::decodeRecord(image, texts.Textes[19]);
        const tormel::LapTable table = tormel::Affiche_Tours(image, record, texts, options);
        grid.setTable(table);
        const tormel::TwipsRect place = grid.Size_Table_Tours(ScreenWidth, ScreenHeight);
        chart.Size_Graphique_Chronos(ScreenWidth, ScreenHeight, place.height);
        chart.setTable(table);
        chart.setTourElimine(options.Tour_Elimine);
        chart.setChartWindow(tormel::lapChartWindow(table.nTours, ScreenWidth));
        chart.Affiche_New_Graphique(0, 13);
    }

    tormel::RecordImage image = lapImage();
    tormel::TextTables texts = tormel::frenchTextTables();
    tormel::LapTableOptions options;
    QWidget window;
    tormel::LapGrid grid{&window};
    tormel::LapTimeChart chart{&window};
};

void BM_RedisplayAfterBarClick99(benchmark::State& state)
{
    Window w;
    int lap = 1;
    for (auto _ : state) {
        w.redisplayAfterClick(lap);
        lap = lap % 99 + 1;
    }
}
BENCHMARK(BM_RedisplayAfterBarClick99)->Unit(benchmark::kMillisecond);

// The same, and the window painted as the next frame would paint it.
void BM_RedisplayAndPaintAfterBarClick99(benchmark::State& state)
{
    Window w;
    int lap = 1;
    for (auto _ : state) {
        w.redisplayAfterClick(lap);
        benchmark::DoNotOptimize(w.window.grab());
        lap = lap % 99 + 1;
    }
}
BENCHMARK(BM_RedisplayAndPaintAfterBarClick99)->Unit(benchmark::kMillisecond);

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
