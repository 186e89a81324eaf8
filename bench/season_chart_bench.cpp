// A track's season of 500 sessions on the library's chart: the series made
// again (a new update, another track chosen) and the chart redrawn.
#include "shell/season_plot.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace tormel {
namespace {

// Two or three sessions a day on two days a week, the best laps drifting down.
TrackBests season(int sessions)
{
    TrackBests track;
    track.track = 1;
    QDateTime day(QDate(2026, 3, 7), QTime(9, 0));
    for (int i = 0; i < sessions; ++i) {
        const auto best = std::int32_t(5200 - i / 2 + (i * 37) % 90);
        track.sessions.push_back({QStringLiteral("s%1").arg(i), day.addSecs(3600 * (i % 3) * 2), best, best - 40,
                                  QStringLiteral("/season/s%1.Tml").arg(i), {}});
        if (i % 3 == 2)
            day = day.addDays(i % 2 ? 3 : 4);
        if (track.lap.time == 0 || best < track.lap.time)
            track.lap = {best, track.sessions.back().identity, track.sessions.back().date};
    }
    return track;
}

struct ShownSeason {
    TrackBests track = season(500);
    SeasonPlot plot;
    ShownSeason()
    {
        plot.resize(1000, 420);
        plot.show();
        plot.showTrack(track, frenchTextTables());
        QApplication::processEvents();
    }
};

void BM_RedrawSeasonOf500(benchmark::State& state)
{
    ShownSeason shown;
    for (auto _ : state)
        shown.plot.replot(QCustomPlot::rpImmediateRefresh);
}
BENCHMARK(BM_RedrawSeasonOf500)->Unit(benchmark::kMillisecond);

void BM_ShowSeasonOf500(benchmark::State& state)
{
    ShownSeason shown;
    for (auto _ : state)
        shown.plot.showTrack(shown.track, frenchTextTables());
}
BENCHMARK(BM_ShowSeasonOf500)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tormel

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
