// Six engine-speed laps overlaid: redrawing the comparison page at a
// window's size, and one step of the cursor with its six read-outs.
#include "library/rpm_overlay.h"
#include "shell/comparison_page.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>

namespace tormel {
namespace {

// Six laps of about 330 samples (66 s), the longest a full record holds six of.
ComparisonContent sixLaps()
{
    ComparisonContent content;
    content.tables = frenchTextTables();
    for (int i = 0; i < 6; ++i) {
        ComparedSessionLap lap;
        lap.kind = RecordKind::EngineSpeed;
        lap.label = QStringLiteral("2026-05-12 10:30 #%1").arg(i + 1);
        lap.colour = comparisonColour(i);
        lap.trace.classWidth = 150 + 150 * (i % 2);
        lap.trace.histogram.assign(128, 0);
        for (int s = 0; s < 320 + 3 * i; ++s) {
            const float rpm = 9000 + 5000 * float(std::abs(std::sin(s * 0.05 + i)));
            lap.trace.rpm.push_back(rpm);
            ++lap.trace.histogram[std::size_t(rpm / float(lap.trace.classWidth))];
        }
        lap.lap.time = std::int32_t(std::lround(lapSeconds(lap.trace) * 100));
        content.laps.push_back(lap);
    }
    content.cursor = 20.0;
    return content;
}

void BM_RedrawSixOverlaidLaps(benchmark::State& state)
{
    const ComparisonContent content = sixLaps();
    QImage image(1100, 800, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        paintComparison(painter, QRectF(12, 8, 1076, 784), content);
    }
}
BENCHMARK(BM_RedrawSixOverlaidLaps)->Unit(benchmark::kMillisecond);

// What the window does for a step: the page kept as painted, the cursor's
// line and its six readings painted over it.
void BM_CursorStepSixReadouts(benchmark::State& state)
{
    ComparisonContent content = sixLaps();
    const QRectF area(12, 8, 1076, 784);
    QImage page(1100, 800, QImage::Format_ARGB32_Premultiplied);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        paintComparison(painter, area, content, PaintLayer::Page);
    }
    QImage screen(1100, 800, QImage::Format_ARGB32_Premultiplied);
    double x = 0;
    for (auto _ : state) {
        x = x >= 60 ? 0 : x + OverlaySampleSeconds;
        content.cursor = x;
        QPainter painter(&screen);
        painter.drawImage(QPointF(0, 0), page);
        paintComparison(painter, area, content, PaintLayer::Cursor);
    }
}
BENCHMARK(BM_CursorStepSixReadouts)->Unit(benchmark::kMillisecond);

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
