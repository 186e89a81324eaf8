#pragma once

#include "base/units.h"

#include <QChar>
#include <QString>

#include <array>
#include <optional>

namespace tormel {

// A duration in hundredths as lap-time text: minutes and an apostrophe when
// there is at least one minute, then seconds, a double quote and hundredths.
QString lapTimeText(float hundredths);

// Longer than any track: a length past it comes from a damaged file or a
// slip of the keyboard, and would give speeds no column can hold.
inline constexpr float maxTrackLength = 1.0e6F;  // metres

// Speed in the chosen unit from a length in metres and a time in
// hundredths. No speed when the length is not given (0 or less, above
// maxTrackLength, or not a finite number) or the time is 0.
std::optional<double> speedFor(float distanceMetres, double hundredths, SpeedUnit unit);

// Whether a track length counts as given.
bool isLengthGiven(float distanceMetres);

}  // namespace tormel
