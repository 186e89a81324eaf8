#include "shell/principale.h"

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
    DownloadPanel& panel = *panels_->Frame_Lecture_Pro;
    if (panel.showsListening()) {
        receiver_->stop();
        return;
    }
    int port = 0;
    for (int i = 1; i <= 4 && port == 0; ++i)
        if (menus_->Com[std::size_t(i)]->isChecked())
            port = i;
    PortProblem why;
    const bool opened = receiver_->start(port, &why);
    if (port == 0) {
        // The next click stops, and finds no bytes.
        services_.dialogs.message(QStringLiteral("Prompt"), MessageIcon::Information, QStringLiteral("Title"));
        return;
    }
    if (!opened) {
        services_.dialogs.message(state_.tables.texts[noSerialPort] + QStringLiteral("\n") + portProblemText(why, state_.tables),
                                  MessageIcon::Information, QStringLiteral("Oru_Comm"));
    }
    setWindowTitle(applicationTitle() + QStringLiteral(" Version %1.%2 on Port %3").arg(versionMajor).arg(versionMinor).arg(port));
}

void Principale::downloadAccepted(const RecordImage& image)
{
    QString error;
    // The dated copy first: whatever fails after it, the download is kept.
    // A copy or an "error.tml" that cannot be written is told, and the record is shown all the same.
    if (keepDownloadCopy(QDir::currentPath(), image, std::int16_t(state_.currentTrack), QDateTime::currentDateTime(), &error)
            .isEmpty())
        services_.dialogs.message(state_.tables.texts[downloadCopyNotKept].arg(error), MessageIcon::Exclamation, applicationTitle());
    if (!saveRecordFile(QDir::current().filePath(receivedFileName), image, std::int16_t(state_.currentTrack), &error))
        services_.dialogs.message(state_.tables.texts[receivedFileNotWritten].arg(receivedFileName, error), MessageIcon::Exclamation,
                                  applicationTitle());
    state_.downloadReceived = true;
    panels_->Frame_Lecture_Pro->hide();
    document_.replaceImage(image);
    showRecord();
}

void Principale::downloadRefused()
{
    services_.dialogs.message(state_.tables.texts[downloadAgain] + QStringLiteral("\n") + refusalText(receiver_->rules(), state_.tables),
                              MessageIcon::Information, state_.tables.texts[communicationError]);
}

}  // namespace tormel
