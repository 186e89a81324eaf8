#include "shell/record_report.h"

#include "base/twips.h"
#include "charts/lap_time_chart.h"
#include "charts/record_chart.h"
#include "laps/ranges_view.h"
#include "shell/panels.h"

#include <QWidget>

namespace tormel {

namespace {

// An A4 page in landscape at 200 dots an inch.
constexpr int PageWidthPixels = 2338;
constexpr int PageHeightPixels = 1654;

}  // namespace

RecordReport::RecordReport(const QString& caption, RecordDocument& document, const TextTables& tables,
                           const ViewOptions& options, bool toolTipsOn, const UnexpectedError& unexpected)
    : screen_(std::make_unique<QWidget>())
    , panels_(std::make_unique<Panels>(screen_.get()))
{
    const int screenWidth = PageWidthPixels * TwipsPerPixel;
    const int screenHeight = PageHeightPixels * TwipsPerPixel;
    Panels& p = *panels_;
    p.layOut(screenWidth, screenHeight);
    for (TextsPanel* panel : p.textsPanels())
        panel->applyTexts(tables, toolTipsOn);

    const DecodedRecord& d = document.decoded();
    content_.caption = caption;
    content_.header = {tables.texts[serialNumberCaption] + d.serialNumber, d.stageCountText, d.modeText,
                       d.softwareVersionText, d.hardwareVersionText, d.temperatureLimitText};
    content_.header.removeAll(QString());
    if (document.kind() == RecordKind::EngineSpeed) {
        for (RecordChart* chart : p.Graphique_Record)
            chart->show();
        for (int g = 2; g >= 0; --g)
            drawChartedLap(*p.Graphique_Record[std::size_t(g)], document, g, unexpected);
        for (RecordChart* chart : p.Graphique_Record)
            if (!chart->isHidden())
                content_.panels.push_back(chart);
    } else {
        fillLapViews(p, document, screenWidth, screenHeight);
        drawLapChartFromStart(*p.Graphique_Chronos, document, screenWidth);
        // The ranges as their panel shows them, drawn even while the table is in view.
        fillRanges(*p.Frame_Tranches, document, tables, options.decimalSeparator);
        content_.table = &document.table();
        content_.panels = {p.Graphique_Chronos, p.Frame_Tranches};
    }
}

RecordReport::~RecordReport() = default;

}  // namespace tormel
