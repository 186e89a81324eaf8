#include "shell/record_road.h"

#include "demo_records.h"
#include "record/record_file.h"
#include "shell/menus.h"
#include "shell/panels.h"
#include "shell/principale.h"
#include "shell/record_screen.h"
#include "shell/settings_controller.h"
#include "shell/track_controller.h"
#include "controller_world.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "download/download_panel.h"
#include "tracks/track_editor.h"

#include <QFile>
#include <QMenuBar>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;

// The record road on the panels alone: what is shown is a value that opening
// and saving keep, a record is saved under the track shown, and a recent
// record that is gone is said and taken off the list.
TEST(RecordRoad, OpenedAndSavedRecordsAreTheValueShown)
{
    test::ControllerWorld world;
    test::TempFolder& folder = world.folder;
    test::FakeDialogs& dialogs = world.dialogs;
    Services& services = world.services;
    SettingsController& settings = world.settings;
    QWidget window;
    window.resize(1024, 768);
    Panels panels(&window);
    QMenuBar bar;
    Menus menus(&bar);
    TrackState track;
    RecordScreen screen(window, panels, menus, settings, track, dialogs);
    TrackController tracks(*panels.Frame_Piste, settings, dialogs, services.trackFile, track);
    RecordRoad road(services, settings, screen, tracks, *panels.Frame_Lecture_Pro, window);
    tracks.showCurrentTrack();

    const QString opened = folder.file(u"a.Tml"_s);
    const QString saved = folder.file(u"b.Tml"_s);
    ASSERT_TRUE(saveRecordFile(opened, demo::lapTimingRecord(), 7));
    road.openRecord(opened);
    EXPECT_EQ(std::tuple(road.shown().source, road.shown().path, int(tracks.shownNumber())),
              std::tuple(RecordSource::File, opened, 7));
    EXPECT_TRUE(screen.document().isShown());

    dialogs.saveAnswers = {saved};
    road.Sauver_Click();
    EXPECT_EQ(road.shown().path, saved);
    EXPECT_EQ(loadRecordFile(saved).trackNumber, std::optional<std::int16_t>(7));
    EXPECT_EQ(road.recentFiles(), (QStringList{saved, opened}));

    ASSERT_TRUE(QFile::remove(opened));
    road.openRecent(1);
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].text, settings.tables().texts[recentRecordGone].arg(opened));
    EXPECT_EQ(road.recentFiles(), QStringList{saved});
    EXPECT_EQ(road.shown().path, saved);
}

}  // namespace
}  // namespace tormel
