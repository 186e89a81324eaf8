#include "shell/track_controller.h"

#include "shell/settings_controller.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "tracks/track_editor.h"

#include <QLineEdit>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;

// The number shown is the controller's own: a record's track shown over the
// current one takes the edits and the steps, and the current track moves
// only by a step.
TEST(TrackController, EditsGoUnderTheTrackShownAndStepsStartFromIt)
{
    test::TempFolder folder;
    test::FakeDialogs dialogs;
    SettingsController settings(dialogs, folder.path(), {});
    TrackEditor editor(nullptr);
    TrackState state;
    const QString file = folder.file(u"Pistes.aqw"_s);
    TrackController tracks(editor, settings, dialogs, file, state);
    QSignalSpy changed(&tracks, &TrackController::trackChanged);
    QSignalSpy closed(&tracks, &TrackController::editorClosed);

    tracks.showCurrentTrack();
    tracks.showTrackOf(folder.file(u"a.Tml"_s), 7);
    tracks.showTrackOf(folder.file(u"a.Tml"_s), 101);  // no track: the one shown stays
    EXPECT_EQ(std::pair(int(tracks.shownNumber()), settings.settings().currentTrack), std::pair(7, 1));
    EXPECT_EQ(changed.size(), 2);

    editor.VNC[0]->setText(u"Vallon"_s);
    tracks.Fermer_Piste_Click();
    EXPECT_EQ(readTrack(file, 7).value_or(Track{}).name, u"Vallon"_s);
    EXPECT_NE(readTrack(file, 1).value_or(Track{}).name, u"Vallon"_s);
    EXPECT_EQ(closed.size(), 1);
    EXPECT_EQ(state.record.name.trimmed(), u"Vallon"_s);

    tracks.SSCommand3_Click();
    EXPECT_EQ(std::pair(int(tracks.shownNumber()), settings.settings().currentTrack), std::pair(8, 8));
    tracks.SSCommand2_Click();
    EXPECT_EQ(std::pair(int(tracks.shownNumber()), state.record.name), std::pair(7, u"Vallon"_s));
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace tormel
