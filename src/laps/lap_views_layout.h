#pragma once

#include "base/twips.h"

#include <array>

namespace tormel {

// The lap table before any record: top-left corner, half the usable height.
TwipsRect initialLapTableRect(int screenWidth, int screenHeight);

// The ranges panel and its 32 bars (relative to the panel).
struct RangesLayout {
    TwipsRect frame;
    std::array<TwipsRect, 32> bars;
};
RangesLayout rangesLayout(int screenWidth, int screenHeight, int frameTop, int firstBarLeft, int barTop);

}  // namespace tormel
