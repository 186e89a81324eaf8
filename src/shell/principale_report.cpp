#include "shell/principale.h"
#include "shell/settings_controller.h"
#include "shell/comparison_window.h"

#include "base/app_info.h"
#include "platform/dialogs.h"
#include "shell/file_commands.h"
#include "shell/menus.h"
#include "shell/record_report.h"
#include "shell/session_report.h"

#include <QAction>
#include <QFileInfo>

namespace tormel {

bool Principale::writeReport(const QString& path, QString* errorText)
{
    // What the charts could not draw as it stood was reported when the record was shown.
    const RecordReport report(windowTitleOf(shown_, {}, settings_->tables()), document_, settings_->tables(), viewOptions(),
                              settings_->settings().showToolTips,
                              [](const QString&) {});
    return writeSessionReport(path, report.content(), errorText);
}

void Principale::Rapport_Click()
{
    // While a comparison is shown, the report is the comparison's.
    if (comparisonWindow_ && comparisonWindow_->isVisible() && !comparisonWindow_->isMinimized()
        && int(comparisonWindow_->content().laps.size()) >= MinComparedLaps) {
        reportComparison();
        return;
    }
    if (!document_.isShown())
        return;
    if (document_.refusal() != Refusal::None) {
        services_.dialogs.message(refusalText(document_.refusal(), settings_->tables()), MessageIcon::Information, applicationTitle());
        return;
    }
    FileDialogRequest request;
    request.defaultExtension = QStringLiteral("pdf");
    request.filter = {QStringLiteral("PDF"), QStringLiteral("*.pdf")};
    request.proposedName = reportBaseNameOf(shown_) + QStringLiteral(".pdf");
    request.confirmOverwrite = true;
    const QString path = withDefaultExtension(services_.dialogs.saveFile(request), request.defaultExtension);
    if (path.isEmpty())
        return;
    QString error;
    if (!writeReport(path, &error))
        services_.dialogs.message(settings_->tables().texts[fileNotWritten].arg(path, error), MessageIcon::Critical, applicationTitle());
}

}  // namespace tormel
