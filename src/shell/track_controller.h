#pragma once

#include "tracks/track_file.h"

#include <QObject>
#include <QString>

#include <cstdint>

namespace tormel {

class Dialogs;
class SettingsController;
class TrackEditor;

// The track shown: read from and written to the track file, edited in the
// track editor over the chart, stepped through, offered by a record that
// brings its own. The number shown is held here, never read back from the
// editor.
class TrackController final : public QObject {
    Q_OBJECT
public:
    TrackController(TrackEditor& editor, SettingsController& settings, Dialogs& dialogs, QString trackFile,
                    TrackState& track, QObject* parent = nullptr);

    // The number of the track the editor shows; its texts are saved under it.
    std::int16_t shownNumber() const { return shownNumber_; }
    // The current track of the settings, at start.
    void showCurrentTrack();
    // The track a record names: offered from beside the record when the
    // user's file gives no lengths (nothing written without a yes), then
    // shown. A number that is no track keeps the track shown.
    void showTrackOf(const QString& recordPath, std::int16_t trackNumber);

    // The editor's buttons.
    void Fermer_Piste_Click();
    void SSCommand2_Click();
    void SSCommand3_Click();

signals:
    // Another track shown, or the shown one saved.
    void trackChanged();
    // The editor closed with its track saved: the speeds follow its lengths.
    void editorClosed();

private:
    void showTrack(std::int16_t& trackNumber);
    void stepTrack(int step);
    void saveShownTrack();
    // Said once, with the whole path: the program then works from memory.
    void reportFileFailure(const QString& error);

    TrackEditor& editor_;
    SettingsController& settings_;
    Dialogs& dialogs_;
    QString trackFile_;
    TrackState& track_;
    std::int16_t shownNumber_ = 0;
};

}  // namespace tormel
