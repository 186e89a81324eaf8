#pragma once

#include "shell/principale.h"
#include "shell/settings_controller.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace tormel::test {

// What a controller needs from outside the window: fakes for the desktop and
// the line, a program folder of its own with its track file, and the settings.
struct ControllerWorld {
    TempFolder folder;
    FakeDialogs dialogs;
    FakeLauncher launcher;
    FakeSerialPort port;
    FakeSound sound;
    Services services{dialogs, launcher, port, sound, folder.path(), folder.file(QStringLiteral("user.ini")), {},
                      folder.file(QStringLiteral("Pistes.aqw"))};
    SettingsController settings{dialogs, folder.path(), {}};
};

}  // namespace tormel::test
