// A settings file from an old version or another machine: read, corrected,
// written back with its tail kept, read again to the same values.
#include "config/settings.h"

#include "fuzz_support.h"

using namespace tormel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = fuzz::bytesOf(data, size);
    fuzz::writeFile(settingsFileName, input);
    const SystemSettings read = Charge_System(fuzz::folder());
    fuzz::require(read.Port_Com >= 1 && read.Port_Com <= 4 && read.Choix_Langue >= 0 && read.Choix_Langue <= 5
                      && read.Piste_Courante >= 1 && read.Piste_Courante <= 100 && (read.Choix_Vitesse & ~1) == 0
                      && (read.Choix_Temp & ~1) == 0,
                  "values in range");
    fuzz::require(Sauve_System(fuzz::folder(), read), "settings are written");
    QFile file(settingsFilePath(fuzz::folder()));
    fuzz::require(file.open(QIODevice::ReadOnly), "the settings file is there");
    fuzz::require(file.readAll() == settingsBytes(read) + input.left(64 * 1024).mid(10), "the tail is kept");
    fuzz::require(Charge_System(fuzz::folder()) == read, "written values read back");
    return 0;
}
