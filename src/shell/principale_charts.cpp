#include "shell/principale.h"

#include "base/twips.h"
#include "charts/canvas.h"
#include "charts/lap_chart_rules.h"
#include "charts/lap_time_chart.h"
#include "charts/record_chart.h"
#include "laps/ranges_view.h"
#include "record/engine_hours_panel.h"
#include "shell/panels.h"
#include "shell/record_views.h"
#include "tracks/track_editor.h"

#include <QLabel>
#include <QResizeEvent>

#include <algorithm>

namespace tormel {

// ---- Layout -------------------------------------------------------------------

int Principale::layoutWidth() const
{
    return width() * TwipsPerPixel;
}

int Principale::layoutHeight() const
{
    return height() * TwipsPerPixel;
}

void Principale::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (laidOut_)
        relayOut();
}

void Principale::relayOut()
{
    Panels& p = *panels_;
    const int w = layoutWidth();
    const int h = layoutHeight();
    p.layOut(w, h);
    LapTimeChart& chart = *p.Graphique_Chronos;
    if (document_.kind() == RecordKind::LapTiming && document_.refusal() == Refusal::None) {
        p.sizeTableAndChart(w, h);
        // The laps in view stay in view as far as the new width allows.
        const LapChartWindow window = lapChartWindow(document_.decoded().lapCount, w);
        const int position = std::min(chart.scrollPosition(), window.scrollMaximum);
        chart.setChartWindow(window);
        if (!chart.isHidden())
            chart.drawLaps(position, chart.chartedColumn());
    }
    showPanels(lapPanel_, chartPlace_);
    if (document_.kind() == RecordKind::EngineSpeed && document_.refusal() == Refusal::None) {
        for (RecordChart* chart : p.Graphique_Record)
            if (!chart->isHidden())
                chart->redraw();
    }
    if (!p.Image1->isHidden())
        showBackground(p.Image1->pixmap());
}

// ---- Engine-speed charts ---------------------------------------------------------

void Principale::drawRecordChart(int g)
{
    drawChartedLap(*panels_->Graphique_Record[std::size_t(g)], document_, g,
                   [this](const QString& code) { reportUnexpectedError(code); });
}

void Principale::SSCommand4_Click(int g)
{
    const int lap = document_.chartedLaps()[std::size_t(g)];
    if (lap < 2) {
        panels_->Graphique_Record[std::size_t(g)]->Crpm()->setFocus();
        return;
    }
    document_.setChartedLap(g, lap - 1);
    drawRecordChart(g);
}

void Principale::SSCommand5_Click(int g)
{
    const int lap = document_.chartedLaps()[std::size_t(g)];
    if (lap >= document_.rpm().lapCount - 1) {
        panels_->Graphique_Record[std::size_t(g)]->Crpm()->setFocus();
        return;
    }
    document_.setChartedLap(g, lap + 1);
    drawRecordChart(g);
}

}  // namespace tormel
