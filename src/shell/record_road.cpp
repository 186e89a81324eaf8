#include "shell/record_road.h"

#include "base/app_info.h"
#include "base/twips.h"
#include "base/widget_twips.h"
#include "download/download_copies.h"
#include "download/download_panel.h"
#include "download/receiver.h"
#include "download/refusal_texts.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "record/record_file.h"
#include "shell/principale.h"
#include "shell/record_report.h"
#include "shell/record_screen.h"
#include "shell/session_report.h"
#include "shell/settings_controller.h"
#include "shell/track_controller.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

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

RecordRoad::RecordRoad(const Services& services, SettingsController& settings, RecordScreen& screen,
                       TrackController& track, DownloadPanel& panel, const QWidget& window, QObject* parent)
    : QObject(parent)
    , services_(services)
    , settings_(settings)
    , screen_(screen)
    , track_(track)
    , panel_(panel)
    , window_(window)
    , files_(services.dialogs, services.launcher, settings.tables(), services.userSettingsFile)
    , receiver_(new DownloadReceiver(services.serialPort, services.sound, this))
{
    setObjectName(QStringLiteral("RecordRoad"));
    connect(&panel_, &DownloadPanel::Command3D1_Click, this, &RecordRoad::Command3D1_Click);
    connect(&panel_, &DownloadPanel::Fermer_Scan_Click, &panel_, &QWidget::hide);
    connect(receiver_, &DownloadReceiver::accepted, this, &RecordRoad::downloadAccepted);
    connect(receiver_, &DownloadReceiver::refused, this, &RecordRoad::downloadRefused);
    connect(receiver_, &DownloadReceiver::waiting, &panel_, &DownloadPanel::showWaiting);
    connect(receiver_, &DownloadReceiver::listeningChanged, &panel_, &DownloadPanel::showListening);
}

WindowActivity RecordRoad::activity() const
{
    return {receiver_->listening(), PortNumber{receiver_->port()}};
}

// ---- Records ----------------------------------------------------------------

void RecordRoad::Ouvrir_Click()
{
    const QString path = files_.chooseRecord();
    if (!path.isEmpty())
        openRecord(path);
}

void RecordRoad::openRecord(const QString& path)
{
    const std::optional<LoadedRecord> loaded = files_.load(path);
    if (!loaded)
        return;
    // The lap views wait for the record to say what they show.
    screen_.showPanels(LapPanel::None);
    if (loaded->trackNumber)
        track_.showTrackOf(path, *loaded->trackNumber);
    // A file cut short still opens, its missing bytes zero; the title says so.
    shown_ = recordFromFile(path, serialNumberText(loaded->image), loaded->imageBytes);
    emit shownChanged();
    screen_.document().open(loaded->image);
    screen_.showRecord();
}

void RecordRoad::openRecent(int index)
{
    const QStringList recent = files_.recentFiles();
    if (index < 0 || index >= recent.size())
        return;
    const QString path = recent.at(index);
    if (!QFileInfo::exists(path)) {
        services_.dialogs.message(settings_.tables().texts[recentRecordGone].arg(path), MessageIcon::Information,
                                  applicationTitle());
        files_.forgetRecent(path);
        emit shownChanged();
        return;
    }
    openRecord(path);
}

void RecordRoad::Sauver_Click()
{
    const RecordImage& image = screen_.document().image();
    const QString path = files_.save(image, track_.shownNumber());
    if (path.isEmpty())
        return;
    shown_ = recordFromFile(path, serialNumberText(image), RecordImage::Size);
    emit shownChanged();
}

void RecordRoad::Commentaire_Click()
{
    files_.Commentaire_Click();
}

void RecordRoad::Exporter_Click()
{
    files_.Exporter_Click(screen_.document());
}

// ---- Report -------------------------------------------------------------------

bool RecordRoad::writeReport(const QString& path, QString* errorText)
{
    // What the charts could not draw as it stood was reported when the record was shown.
    const RecordReport report(windowTitleOf(shown_, {}, settings_.tables()), screen_.document(), settings_.tables(),
                              screen_.viewOptions(), settings_.settings().showToolTips, [](const QString&) {});
    return writeSessionReport(path, report.content(), errorText);
}

void RecordRoad::reportRecord()
{
    const RecordDocument& document = screen_.document();
    if (!document.isShown())
        return;
    if (document.refusal() != Refusal::None) {
        services_.dialogs.message(refusalText(document.refusal(), settings_.tables()), MessageIcon::Information,
                                  applicationTitle());
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
        services_.dialogs.message(settings_.tables().texts[fileNotWritten].arg(path, error), MessageIcon::Critical,
                                  applicationTitle());
}

// ---- Download -------------------------------------------------------------------

void RecordRoad::Nouveau_Click()
{
    panel_.layOut(centred(window_.width() * TwipsPerPixel, window_.height() * TwipsPerPixel, DownloadPanel::WidthTwips,
                          DownloadPanel::HeightTwips));
    // The panel is titled as the menu entry that opens it.
    panel_.setTitle(settings_.menuCaptions()[menuNew]);
    panel_.showWaiting(0);
    panel_.raise();
    panel_.show();
}

void RecordRoad::Command3D1_Click()
{
    if (receiver_->listening()) {
        receiver_->stop();
        return;
    }
    startListening();
}

void RecordRoad::startListening()
{
    const PortNumber port = settings_.settings().port;
    const TextTables& tables = settings_.tables();
    PortProblem why;
    if (!receiver_->start(port.value, &why))
        services_.dialogs.message(tables.texts[noSerialPort] + QStringLiteral("\n") + portProblemText(why, tables),
                                  MessageIcon::Information, tables.texts[portTitle]);
    emit shownChanged();
}

void RecordRoad::followPort()
{
    if (receiver_->listening() && receiver_->port() != settings_.settings().port.value) {
        receiver_->abandon();
        startListening();
    }
}

void RecordRoad::downloadAccepted(const RecordImage& image)
{
    QString error;
    const TextTables& tables = settings_.tables();
    // The dated copy first: whatever fails after it, the download is kept.
    // A copy or an "error.tml" that cannot be written is told, and the record is shown all the same.
    const auto track = std::int16_t(settings_.settings().currentTrack);
    QString keptPath = keepDownloadCopy(QDir::currentPath(), image, track, QDateTime::currentDateTime(), &error);
    if (keptPath.isEmpty())
        services_.dialogs.message(tables.texts[downloadCopyNotKept].arg(error), MessageIcon::Exclamation, applicationTitle());
    const QString received = QDir::current().filePath(receivedFileName);
    if (saveRecordFile(received, image, track, &error)) {
        if (keptPath.isEmpty())
            keptPath = received;
    } else {
        services_.dialogs.message(tables.texts[receivedFileNotWritten].arg(receivedFileName, error),
                                  MessageIcon::Exclamation, applicationTitle());
    }
    downloadReceived_ = true;
    shown_ = recordFromDownload(PortNumber{receiver_->port()}, keptPath, serialNumberText(image));
    emit shownChanged();
    panel_.hide();
    screen_.document().replaceImage(image);
    screen_.showRecord();
}

void RecordRoad::downloadRefused()
{
    const TextTables& tables = settings_.tables();
    // The cause leads the text: a title that long is cut by the window's frame.
    services_.dialogs.message(tables.texts[communicationError] + QStringLiteral("\n") + tables.texts[downloadAgain]
                                  + QStringLiteral("\n") + refusalText(receiver_->rules(), tables),
                              MessageIcon::Information, tables.texts[portTitle]);
    emit shownChanged();
}

}  // namespace tormel
