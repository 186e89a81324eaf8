#include "shell/track_controller.h"

#include "shell/settings_controller.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "tracks/track_editor.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

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

    settings.setCurrentTrack(7);
    tracks.showCurrentTrack();  // no track file yet: its first track is made, and is the current one
    EXPECT_EQ(settings.settings().currentTrack, 1);
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

    // A step in the open editor takes the keys to the name.
    editor.show();
    editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    editor.VNC[1]->setFocus();
    tracks.SSCommand3_Click();
    EXPECT_EQ(std::pair(int(tracks.shownNumber()), settings.settings().currentTrack), std::pair(8, 8));
    EXPECT_TRUE(editor.VNC[0]->hasFocus());
    tracks.SSCommand2_Click();
    EXPECT_EQ(std::pair(int(tracks.shownNumber()), state.record.name), std::pair(7, u"Vallon"_s));
    EXPECT_TRUE(dialogs.messages.empty());
}

// A track offered beside a record and accepted, that cannot be written into
// the user's file, is told: the file is read well, so only the save fails
// (a name at the longest a folder allows leaves no room for the temporary copy).
TEST(TrackController, AnOfferedTrackThatCannotBeSavedIsTold)
{
    test::TempFolder folder;
    test::FakeDialogs dialogs;
    SettingsController settings(dialogs, folder.path(), {});
    TrackEditor editor(nullptr);
    TrackState state;
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"rec"_s));
    Track offered;
    offered.marker = trackMarker;
    offered.name = u"Vallon"_s;
    offered.lengths[0] = 1200;
    ASSERT_EQ(saveTrack(folder.file(u"rec/Pistes.aqw"_s), 7, offered).status, TrackStatus::Done);
    Track own = offered;
    own.lengths[0] = 0;
    own.name = u"Mine"_s;
    ASSERT_EQ(saveTrack(folder.file(u"short.aqw"_s), 7, own).status, TrackStatus::Done);
    const QString file = folder.file(QString(255, u'p'));
    ASSERT_TRUE(QFile::rename(folder.file(u"short.aqw"_s), file));
    TrackController tracks(editor, settings, dialogs, file, state);

    dialogs.askAnswers = {true};
    tracks.showTrackOf(folder.file(u"rec/a.Tml"_s), 7);
    EXPECT_EQ(dialogs.questions.size(), 1);
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_TRUE(dialogs.messages[0].text.contains(file));
    EXPECT_EQ(state.record.name.trimmed(), u"Mine"_s);
}

}  // namespace
}  // namespace tormel
