// A settings file from an old version or another machine: read, corrected,
// written back with its tail kept, read again to the same values.
#include "config/settings.h"

#include "fuzz_support.h"

using namespace tormel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = fuzz::bytesOf(data, size);
    fuzz::writeFile(settingsFileName, input);
    const SystemSettings read = loadSettings(fuzz::folder());
    fuzz::require(read.comPort >= 1 && read.comPort <= 4 && read.language >= 0 && read.language <= 5
                      && read.currentTrack >= 1 && read.currentTrack <= 100 && (read.speedUnit & ~1) == 0
                      && (read.temperatureUnit & ~1) == 0,
                  "values in range");
    fuzz::require(saveSettings(fuzz::folder(), read), "settings are written");
    QFile file(settingsFilePath(fuzz::folder()));
    fuzz::require(file.open(QIODevice::ReadOnly), "the settings file is there");
    fuzz::require(file.readAll() == settingsBytes(read) + input.left(64 * 1024).mid(10), "the tail is kept");
    fuzz::require(loadSettings(fuzz::folder()) == read, "written values read back");
    return 0;
}
