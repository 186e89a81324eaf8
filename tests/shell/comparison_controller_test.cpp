#include "shell/comparison_controller.h"

#include "demo_records.h"
#include "record/record_file.h"
#include "shell/comparison_window.h"
#include "shell/library_window.h"
#include "shell/principale.h"
#include "shell/settings_controller.h"
#include "shell/window_state.h"
#include "controller_world.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

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
    }
    EXPECT_EQ(owner.findChild<LibraryWindow*>(), nullptr);
    EXPECT_EQ(owner.findChild<ComparisonWindow*>(), nullptr);
}

}  // namespace
}  // namespace tormel
