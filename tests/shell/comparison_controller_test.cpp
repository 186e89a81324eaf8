#include "shell/comparison_controller.h"

#include "demo_records.h"
#include "record/record_file.h"
#include "shell/comparison_window.h"
#include "shell/library_window.h"
#include "shell/principale.h"
#include "shell/settings_controller.h"
#include "shell/window_state.h"
#include "config/user_settings.h"
#include "controller_world.h"
#include "library/session_library.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTableView>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;

// Laps asked for from the library's window come side by side in the
// comparison's window; both windows belong to the main window and go with
// the controller, before the library whose rows they show.
TEST(ComparisonController, LapsAskedForInTheLibraryAreComparedAndTheWindowsGoWithIt)
{
    test::ControllerWorld world;
    test::TempFolder& folder = world.folder;
    test::FakeDialogs& dialogs = world.dialogs;
    Services& services = world.services;
    SettingsController& settings = world.settings;
    RecordImage other = demo::lapTimingRecord();
    other.bytes[1] = std::uint8_t(other.bytes[1] ^ 1U);  // another logger's session
    ASSERT_TRUE(saveRecordFile(folder.file(u"a.Tml"_s), demo::lapTimingRecord(), 1));
    ASSERT_TRUE(saveRecordFile(folder.file(u"b.Tml"_s), other, 1));
    QWidget owner;
    {
        ComparisonController comparisons(services, settings, owner);
        comparisons.compareShownRecord(ShownRecord{});  // nothing shown: told, nothing compared
        ASSERT_EQ(dialogs.messages.size(), 1U);
        EXPECT_EQ(dialogs.messages[0].text, settings.tables().texts[downloadKeptNowhere]);
        EXPECT_FALSE(comparisons.showsComparison());

        comparisons.showLibrary();
        auto* library = owner.findChild<LibraryWindow*>();
        ASSERT_NE(library, nullptr);
        emit library->compareRequested(folder.file(u"a.Tml"_s), true);
        emit library->compareRequested(folder.file(u"b.Tml"_s), true);
        auto* window = owner.findChild<ComparisonWindow*>();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->content().laps.size(), 2U);
        EXPECT_TRUE(comparisons.showsComparison());
        EXPECT_EQ(dialogs.messages.size(), 1U);
        // The records read are kept while their files are unchanged: a new reference shows at once.
        emit window->referenceChosen(1);
        EXPECT_EQ(window->content().reference, 1);
        // A file saved over is read again, off the window's thread: its lap is gone.
        RecordImage third = demo::lapTimingRecord();
        third.bytes[1] = std::uint8_t(third.bytes[1] ^ 2U);
        ASSERT_TRUE(saveRecordFile(folder.file(u"b.Tml"_s), third, 1));
        QFile(folder.file(u"b.Tml"_s)).setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
        emit window->referenceChosen(0);
        EXPECT_TRUE(QTest::qWaitFor([&dialogs] { return dialogs.messages.size() == 2U; }, 10000));
        // One lap left is too few to compare.
        EXPECT_TRUE(window->content().laps.empty());
        EXPECT_FALSE(dialogs.messages.back().text.contains(u", "_s)) << dialogs.messages.back().text.toStdString();
    }
    EXPECT_EQ(owner.findChild<LibraryWindow*>(), nullptr);
    EXPECT_EQ(owner.findChild<ComparisonWindow*>(), nullptr);
}

// After a restart the kept laps wait for the library's first update: a lap
// added meanwhile does not make them gone.
TEST(ComparisonController, KeptLapsWaitForTheLibraryAfterARestart)
{
    test::ControllerWorld world;
    test::TempFolder& folder = world.folder;
    RecordImage other = demo::lapTimingRecord();
    other.bytes[1] = std::uint8_t(other.bytes[1] ^ 1U);
    ASSERT_TRUE(QDir().mkpath(folder.file(u"season"_s)));
    ASSERT_TRUE(saveRecordFile(folder.file(u"season/a.Tml"_s), demo::lapTimingRecord(), 1));
    ASSERT_TRUE(saveRecordFile(folder.file(u"season/b.Tml"_s), other, 1));
    UserSettings(world.services.userSettingsFile).setLibraryFolders({folder.file(u"season"_s)});
    QWidget owner;
    const auto start = [&](ComparisonController& comparisons) {
        comparisons.startLibrary();
        comparisons.restoreChoice();
        comparisons.showLibrary();
        return owner.findChild<LibraryWindow*>();
    };
    {
        ComparisonController comparisons(world.services, world.settings, owner);
        LibraryWindow* library = start(comparisons);
        // The kept folders are listed in the window; a session's comments are asked for through the controller.
        EXPECT_EQ(library->findChild<QComboBox*>(u"LibraryFolders"_s)->itemText(0), folder.file(u"season"_s));
        QSignalSpy updated(comparisons.findChild<SessionLibrary*>(), &SessionLibrary::updated);
        ASSERT_TRUE(updated.wait(10000));
        auto* table = library->findChild<QTableView*>(u"LibraryTable"_s);
        table->setCurrentIndex(table->model()->index(0, 0));
        QSignalSpy comments(&comparisons, &ComparisonController::commentRequested);
        library->findChild<QPushButton*>(u"SetupComment"_s)->click();
        ASSERT_EQ(comments.size(), 1);
        EXPECT_TRUE(comments[0][0].toString().startsWith(folder.file(u"season/"_s)));
        emit library->compareRequested(folder.file(u"season/a.Tml"_s), true);
    }
    ComparisonController comparisons(world.services, world.settings, owner);
    LibraryWindow* library = start(comparisons);
    QSignalSpy updated(comparisons.findChild<SessionLibrary*>(), &SessionLibrary::updated);
    emit library->compareRequested(folder.file(u"season/b.Tml"_s), true);
    ASSERT_TRUE(updated.wait(10000));
    auto* window = owner.findChild<ComparisonWindow*>();
    ASSERT_NE(window, nullptr);
    // The other session's record is read off the window's thread.
    EXPECT_TRUE(QTest::qWaitFor([window] { return window->content().laps.size() == 2U; }, 10000));
    EXPECT_TRUE(world.dialogs.messages.empty());
}

}  // namespace
}  // namespace tormel
