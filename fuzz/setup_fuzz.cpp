// A setup sheet typed by hand or written by another version: whatever reads
// must write back to bytes that read as the same sheet, kept keys included.
#include "library/setup_sheet.h"

#include "fuzz_support.h"

using namespace tormel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ParsedSetupSheet parsed = parseSetupSheet(fuzz::bytesOf(data, size));
    fuzz::require(parsed.sheet.has_value() == !parsed.error.failed(), "a sheet or the reason there is none");
    if (!parsed.sheet)
        return 0;
    const SetupSheet& sheet = *parsed.sheet;
    fuzz::require(!sheet.engine || (*sheet.engine >= 1 && *sheet.engine <= 5), "an engine of the logger");
    fuzz::require(!sheet.frontSprocket || *sheet.frontSprocket >= 0, "no negative teeth");
    const ParsedSetupSheet again = parseSetupSheet(setupSheetBytes(sheet));
    fuzz::require(again.sheet == parsed.sheet, "a written sheet reads back the same");
    return 0;
}
