#pragma once

#include "base/twips.h"

#include <array>

namespace tormel {

// The engine-hours panel: five columns side by side, the close button under
// the middle one.
struct EngineHoursLayout {
    TwipsRect frame;
    std::array<TwipsRect, 5> titles;
    std::array<TwipsRect, 5> values;
    TwipsRect closeButton;
};
EngineHoursLayout engineHoursLayout(const TwipsRect& area, int labelHeight, int buttonWidth, int buttonHeight);

}  // namespace tormel
