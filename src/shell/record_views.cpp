#include "shell/record_views.h"

#include "charts/lap_chart_rules.h"
#include "charts/lap_time_chart.h"
#include "charts/record_chart.h"
#include "charts/record_chart_rules.h"
#include "laps/lap_grid.h"
#include "laps/ranges.h"
#include "laps/ranges_view.h"
#include "shell/panels.h"

namespace tormel {

void fillLapViews(Panels& panels, const RecordDocument& document, int screenWidth, int screenHeight)
{
    panels.Liste_Tours->setTable(document.table());
    panels.sizeTableAndChart(screenWidth, screenHeight);
    panels.Graphique_Chronos->setTable(document.table());
    panels.Graphique_Chronos->setEliminatedLaps(document.eliminatedLaps());
}

void drawLapChartFromStart(LapTimeChart& chart, const RecordDocument& document, int screenWidth)
{
    chart.setChartWindow(lapChartWindow(document.decoded().lapCount, screenWidth));
    chart.drawLaps(0, document.chartedColumn());
}

void fillRanges(RangesView& view, const RecordDocument& document, const TextTables& tables, QChar decimalSeparator)
{
    view.setDecimalSeparator(decimalSeparator);
    view.showRanges(document.refusal() == Refusal::None ? buildRangesPanel(document.image(), tables) : RangesPanel{});
}

void drawChartedLap(RecordChart& chart, RecordDocument& document, int g, const UnexpectedError& unexpected)
{
    const int lap = document.chartedLaps()[std::size_t(g)];
    if (lap < 1) {
        chart.hide();
        return;
    }
    if (document.substituteRpmMax())
        unexpected(QStringLiteral("1"));
    LapView view = lapView(document.rpm(), lap);
    if (view.first == view.last)
        unexpected(QStringLiteral("2"));
    if (view.histogramMax == 0 && document.substituteHistogramMax(lap)) {
        unexpected(QStringLiteral("3"));
        view = lapView(document.rpm(), lap);
    }
    const RpmStatistics& rpm = document.rpm();
    chart.drawLap(rpm, view, rpm.maxRpm, lap == rpm.bestLap);
}

}  // namespace tormel
