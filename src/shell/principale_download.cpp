#include "shell/principale.h"
#include "shell/settings_controller.h"

#include "base/app_info.h"
#include "download/download_copies.h"
#include "download/download_panel.h"
#include "download/refusal_texts.h"
#include "download/receiver.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "record/record_file.h"
#include "shell/menus.h"
#include "shell/panels.h"

#include <QAction>
#include <QDateTime>
#include <QDir>

namespace tormel {

namespace {
// The last image received, kept in the working folder until the next one.
const QString receivedFileName = QStringLiteral("error.tml");

QString portProblemText(const PortProblem& problem, const TextTables& tables)
{
    switch (problem.kind) {
    case PortProblem::Kind::NoDevice: return tables.texts[portCauseNoDevice].arg(problem.port);
    case PortProblem::Kind::AccessDenied: return tables.texts[portCauseAccessDenied].arg(problem.device);
    case PortProblem::Kind::Other: break;
    }
    return tables.texts[portCauseOther].arg(problem.device + QStringLiteral(": ") + problem.detail);
}
}  // namespace

void Principale::Nouveau_Click()
{
    DownloadPanel& panel = *panels_->Frame_Lecture_Pro;
    panel.layOut(centred(layoutWidth(), layoutHeight(), DownloadPanel::WidthTwips, DownloadPanel::HeightTwips));
    panel.setTitle(caption(menus_->Nouveau));
    panel.showWaiting(0);
    panel.raise();
    panel.show();
}

void Principale::Command3D1_Click()
{
    if (receiver_->listening()) {
        receiver_->stop();
        return;
    }
    startListening();
}

void Principale::startListening()
{
    const PortNumber port = settings_->settings().port;
    PortProblem why;
    if (!receiver_->start(port.value, &why))
        services_.dialogs.message(settings_->tables().texts[noSerialPort] + QStringLiteral("\n") + portProblemText(why, settings_->tables()),
                                  MessageIcon::Information, settings_->tables().texts[portTitle]);
    showTitle();
}

void Principale::downloadAccepted(const RecordImage& image)
{
    QString error;
    // The dated copy first: whatever fails after it, the download is kept.
    // A copy or an "error.tml" that cannot be written is told, and the record is shown all the same.
    const auto track = std::int16_t(settings_->settings().currentTrack);
    QString keptPath = keepDownloadCopy(QDir::currentPath(), image, track, QDateTime::currentDateTime(), &error);
    if (keptPath.isEmpty())
        services_.dialogs.message(settings_->tables().texts[downloadCopyNotKept].arg(error), MessageIcon::Exclamation, applicationTitle());
    const QString received = QDir::current().filePath(receivedFileName);
    if (saveRecordFile(received, image, track, &error)) {
        if (keptPath.isEmpty())
            keptPath = received;
    } else {
        services_.dialogs.message(settings_->tables().texts[receivedFileNotWritten].arg(receivedFileName, error), MessageIcon::Exclamation,
                                  applicationTitle());
    }
    state_.downloadReceived = true;
    shown_ = recordFromDownload(PortNumber{receiver_->port()}, keptPath, serialNumberText(image));
    showTitle();
    panels_->Frame_Lecture_Pro->hide();
    document_.replaceImage(image);
    showRecord();
}

void Principale::downloadRefused()
{
    // The cause leads the text: a title that long is cut by the window's frame.
    services_.dialogs.message(settings_->tables().texts[communicationError] + QStringLiteral("\n") + settings_->tables().texts[downloadAgain]
                                  + QStringLiteral("\n") + refusalText(receiver_->rules(), settings_->tables()),
                              MessageIcon::Information, settings_->tables().texts[portTitle]);
    showTitle();
}

}  // namespace tormel
