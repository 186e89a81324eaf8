#include "shell/track_controller.h"

#include "base/app_info.h"
#include "platform/dialogs.h"
#include "shell/settings_controller.h"
#include "tracks/track_editor.h"

#include <QFileInfo>

#include <utility>

namespace tormel {

TrackController::TrackController(TrackEditor& editor, SettingsController& settings, Dialogs& dialogs, QString trackFile,
                                 TrackState& track, QObject* parent)
    : QObject(parent)
    , editor_(editor)
    , settings_(settings)
    , dialogs_(dialogs)
    , trackFile_(std::move(trackFile))
    , track_(track)
{
    setObjectName(QStringLiteral("TrackController"));
    connect(&editor_, &TrackEditor::edited, this, [this] {
        // A unit chosen carries the lengths typed into the track, and the speeds follow them.
        track_.record = editor_.track();
        track_.modified = true;
    });
    connect(&editor_, &TrackEditor::closeClicked, this, &TrackController::Fermer_Piste_Click);
    connect(&editor_, &TrackEditor::previousClicked, this, &TrackController::SSCommand2_Click);
    connect(&editor_, &TrackEditor::nextClicked, this, &TrackController::SSCommand3_Click);
}

void TrackController::showCurrentTrack()
{
    auto trackNumber = std::int16_t(settings_.settings().currentTrack);
    showTrack(trackNumber);
    settings_.setCurrentTrack(trackNumber);
}

void TrackController::showTrackOf(const QString& recordPath, std::int16_t trackNumber)
{
    // A number that is no track keeps the current one; nothing is written.
    if (!isTrackNumber(trackNumber))
        return;
    // A record that brings its track along (the shipped examples do) offers it where the user's
    // file gives no lengths; nothing is written without a yes.
    if (const auto beside = trackBesideRecord(recordPath, trackFile_, trackNumber)) {
        const QString question = settings_.tables().texts[trackOffered].arg(beside->track.name, beside->trackFile,
                                                                           QFileInfo(trackFile_).absoluteFilePath());
        if (dialogs_.ask(question, applicationTitle())) {
            const TrackResult saved = saveTrack(trackFile_, trackNumber, beside->track);
            if (saved.status == TrackStatus::WriteFailed)
                reportFileFailure(saved.errorText);
        }
    }
    showTrack(trackNumber);
}

void TrackController::showTrack(std::int16_t& trackNumber)
{
    const LoadedTrack loaded = loadTrack(trackFile_, trackNumber, newTrackNames(settings_.tables()));
    if (loaded.result.status == TrackStatus::NumberRefused)
        return;
    trackNumber = loaded.number;
    shownNumber_ = loaded.number;
    track_.record = loaded.track;
    editor_.showTrack(loaded.track, loaded.number);
    if (editor_.isVisible())
        editor_.focusName();
    emit trackChanged();
    if (loaded.result.status == TrackStatus::WriteFailed)
        reportFileFailure(loaded.result.errorText);
}

void TrackController::reportFileFailure(const QString& error)
{
    if (std::exchange(track_.writeFailureShown, true))
        return;
    dialogs_.message(settings_.tables().texts[trackFileNotWritten].arg(QFileInfo(trackFile_).absoluteFilePath(), error),
                     MessageIcon::Exclamation, applicationTitle());
}

void TrackController::saveShownTrack()
{
    if (!track_.modified || !isTrackNumber(shownNumber_))
        return;
    // Kept even when the write fails: the track stays modified, and a later save can still write it.
    track_.record = editor_.takeEdits();
    const TrackResult saved = saveTrack(trackFile_, shownNumber_, track_.record);
    if (saved.status == TrackStatus::WriteFailed)
        reportFileFailure(saved.errorText);
    else
        track_.modified = false;
}

void TrackController::Fermer_Piste_Click()
{
    saveShownTrack();
    emit trackChanged();
    emit editorClosed();
}

void TrackController::SSCommand2_Click()
{
    stepTrack(-1);
}

void TrackController::SSCommand3_Click()
{
    stepTrack(+1);
}

void TrackController::stepTrack(int step)
{
    // The editor's texts belong to the track it shows: they are saved under
    // that number, and stepping starts from it, so a track opened with a
    // record is never written under the current track's number.
    const std::int16_t shown = shownNumber_;
    saveShownTrack();
    const int next = shown + step;
    if (isTrackNumber(shown) && isTrackNumber(next)) {
        auto trackNumber = std::int16_t(next);
        showTrack(trackNumber);
        settings_.setCurrentTrack(trackNumber);
    }
    settings_.store();
}

}  // namespace tormel
