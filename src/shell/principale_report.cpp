#include "shell/principale.h"

#include "base/app_info.h"
#include "charts/canvas.h"
#include "charts/lap_time_chart.h"
#include "charts/record_chart.h"
#include "laps/ranges.h"
#include "laps/ranges_view.h"
#include "platform/dialogs.h"
#include "shell/file_commands.h"
#include "shell/panels.h"
#include "shell/session_report.h"

#include <QFileInfo>

#include <algorithm>

namespace tormel {

namespace {

// An A4 page across at 200 dots an inch.
constexpr int ReportPixelsAcross = 2338;

std::vector<Canvas*> canvasesOf(const std::vector<QWidget*>& panels)
{
    std::vector<Canvas*> canvases;
    for (QWidget* panel : panels)
        for (Canvas* canvas : panel->findChildren<Canvas*>())
            canvases.push_back(canvas);
    return canvases;
}

}  // namespace

bool Principale::writeReport(const QString& path, QString* errorText)
{
    const DecodedRecord& d = document_.decoded();
    ReportContent content;
    content.caption = windowTitle();
    content.header = {state_.tables.texts[serialNumberCaption] + d.serialNumber, d.stageCountText, d.modeText, d.softwareVersionText, d.hardwareVersionText,
                      d.temperatureLimitText};
    content.header.removeAll(QString());
    Panels& p = *panels_;
    if (document_.kind() == RecordKind::EngineSpeed) {
        for (RecordChart* chart : p.Graphique_Record)
            if (!chart->isHidden())
                content.panels.push_back(chart);
    } else {
        content.table = &document_.table();
        content.panels.push_back(p.Graphique_Chronos);
        // The ranges as their panel shows them, drawn even while the table is in view.
        p.Frame_Tranches->setDecimalSeparator(systemDecimalSeparator());
        p.Frame_Tranches->showRanges(tormel::buildRangesPanel(document_.image(), state_.tables));
        content.panels.push_back(p.Frame_Tranches);
    }
    // The charts drawn again at 200 dots an inch across the page for the
    // while of the report, then back at the screen's resolution.
    const std::vector<Canvas*> canvases = canvasesOf(content.panels);
    const qreal scale = std::max(1.0, qreal(ReportPixelsAcross) / std::max(1, width()));
    for (Canvas* canvas : canvases)
        canvas->setPrintScale(scale);
    const bool written = writeSessionReport(path, content, errorText);
    for (Canvas* canvas : canvases)
        canvas->setPrintScale(1.0);
    return written;
}

void Principale::Rapport_Click()
{
    if (!document_.isShown())
        return;
    if (document_.refusal() != Refusal::None) {
        services_.dialogs.message(refusalText(document_.refusal(), state_.tables), MessageIcon::Information, applicationTitle());
        return;
    }
    FileDialogRequest request;
    request.defaultExtension = QStringLiteral("pdf");
    request.filter = {QStringLiteral("PDF"), QStringLiteral("*.pdf")};
    request.proposedName = QFileInfo(windowTitle().section(QStringLiteral("   "), 0, 0)).completeBaseName() + QStringLiteral(".pdf");
    request.confirmOverwrite = true;
    const QString path = withDefaultExtension(services_.dialogs.saveFile(request), request.defaultExtension);
    if (path.isEmpty())
        return;
    QString error;
    if (!writeReport(path, &error))
        services_.dialogs.message(state_.tables.texts[fileNotWritten].arg(path, error), MessageIcon::Critical, applicationTitle());
}

}  // namespace tormel
