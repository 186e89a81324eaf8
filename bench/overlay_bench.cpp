// Six engine-speed laps overlaid, as the comparison window draws them: the
// overlay with its difference panel redrawn whole, on time and along the
// track (with their road speeds and the time each loses), one step of the
// cursor with its six readings, and one step of a zoom or a pan.
#include "library/comparison_figures.h"
#include "shell/comparison_page.h"
#include "shell/comparison_plots.h"
#include "support/made_up_laps.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace tormel {
namespace {

// Six laps of about 330 samples (66 s), the longest a full record holds six of.
ComparisonContent sixLaps(Alignment alignment = Alignment::Time)
{
    ComparisonContent content;
    content.tables = frenchTextTables();
    content.laps = test::madeUpEngineSpeedLaps(6, alignment == Alignment::Track);
    content.alignment = alignment;
    workOutFigures(content);
    return content;
}

// The overlay at the size it has in a 1100 x 900 window.
struct ShownOverlay {
    ComparisonContent content;
    OverlayPlot plot;
    explicit ShownOverlay(Alignment alignment = Alignment::Time)
        : content(sixLaps(alignment))
    {
        plot.resize(1076, 560);
        plot.show();
        plot.showLaps(content);
        QApplication::processEvents();
    }
};

void BM_RedrawSixOverlaidLaps(benchmark::State& state)
{
    ShownOverlay shown;
    for (auto _ : state)
        shown.plot.replot(QCustomPlot::rpImmediateRefresh);
}
BENCHMARK(BM_RedrawSixOverlaidLaps)->Unit(benchmark::kMillisecond);

void BM_RedrawSixLapsAlongTheTrack(benchmark::State& state)
{
    ShownOverlay shown(Alignment::Track);
    for (auto _ : state)
        shown.plot.replot(QCustomPlot::rpImmediateRefresh);
}
BENCHMARK(BM_RedrawSixLapsAlongTheTrack)->Unit(benchmark::kMillisecond);

// The choice of "along the track": the figures worked out, the plot filled and drawn.
void BM_AlignSixLapsAlongTheTrack(benchmark::State& state)
{
    ShownOverlay shown(Alignment::Track);
    for (auto _ : state) {
        workOutFigures(shown.content);
        shown.plot.showLaps(shown.content);
        shown.plot.replot(QCustomPlot::rpImmediateRefresh);
    }
}
BENCHMARK(BM_AlignSixLapsAlongTheTrack)->Unit(benchmark::kMillisecond);

// What the window does for a step: the readings worked out, the strips the
// cursor leaves and enters painted again as the event loop paints them, and
// the readings' rows painted over the kept tables.
void BM_CursorStepSixReadouts(benchmark::State& state)
{
    ShownOverlay shown;
    ComparisonContent& content = shown.content;
    const QRectF area(12, 8, 1076, 500);
    QImage tables(1100, 520, QImage::Format_ARGB32_Premultiplied);
    tables.fill(Qt::white);
    double x = 0;
    for (auto _ : state) {
        x = x >= 60 ? 0 : x + cursorStep(content.figures);
        content.readings = overlayReadings(content.figures, x, 10.0, 20.0);
        shown.plot.showReadings(content.readings);
        QApplication::processEvents();
        QPainter painter(&tables);
        paintPage(painter, area, content, PageRows::Tables, PaintLayer::Cursor);
    }
}
BENCHMARK(BM_CursorStepSixReadouts)->Unit(benchmark::kMillisecond);

// A wheel step in or out around the middle of the view, or a pan by a tenth of it.
void BM_ZoomOrPanStep(benchmark::State& state)
{
    ShownOverlay shown;
    QCPAxis* x = shown.plot.xAxis;
    int step = 0;
    for (auto _ : state) {
        switch (step++ % 4) {
        case 0: x->scaleRange(0.85, x->range().center()); break;
        case 1: x->moveRange(x->range().size() / 10); break;
        case 2: x->moveRange(-x->range().size() / 10); break;
        default: x->scaleRange(1 / 0.85, x->range().center());
        }
        shown.plot.replot(QCustomPlot::rpImmediateRefresh);
    }
}
BENCHMARK(BM_ZoomOrPanStep)->Unit(benchmark::kMillisecond);

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
