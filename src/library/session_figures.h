#pragma once

#include "document/record_document.h"
#include "laps/consistency.h"
#include "record/record_decoder.h"
#include "record/record_image.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace tormel {

// A session is one record image: two files holding the same 2048 bytes are
// one session. Its identity is the SHA-256 of those bytes, in hex.
QString sessionIdentity(const RecordImage& image);

// What the library keeps of a session, read off the record through the
// window's own road with no lap eliminated, in units that do not depend on
// the settings: hundredths of a second, RPM, °C.
struct SessionFigures {
    RecordKind kind = RecordKind::None;
    Refusal refusal = Refusal::None;
    QString serialNumber;
    // Lap timing: the laps of the table. Engine speed: the laps closed at
    // both ends.
    int laps = 0;
    int bestLap = 0;                   // lap timing: the logger's best lap; engine speed: the quickest complete lap; 0: none
    std::int32_t bestTime = 0;         // hundredths, 0 without a best lap
    std::int32_t theoreticalBest = 0;  // hundredths, 0 without sections
    std::array<std::int32_t, 3> bestSections{};  // hundredths of the quickest time of each section, 0: none
    std::optional<Consistency> consistency;  // lap timing only
    int maxRpm = 0;
    std::optional<int> maxTemperature;  // lap timing only
    int engine = 0;  // lap timing: the engine (1 to 5) of the last lap; 0: none

    friend bool operator==(const SessionFigures&, const SessionFigures&) = default;
};

SessionFigures sessionFigures(const RecordImage& image);
// The same of a document already analysed with no lap eliminated and no
// track lengths (the smoothing of the traces changes none of them).
SessionFigures sessionFigures(const RecordDocument& document);

}  // namespace tormel
