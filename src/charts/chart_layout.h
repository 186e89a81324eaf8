#pragma once

#include "base/twips.h"

#include <array>

namespace tormel {

// The lap-time chart frame and its parts, under the lap table.
struct LapChartLayout {
    TwipsRect frame;
    TwipsRect scrollBar;  // relative to the frame
    TwipsRect label12;    // relative to the frame
    TwipsRect picture1;   // relative to the frame
};
LapChartLayout lapChartLayout(int screenWidth, int screenHeight, int tableHeight,
                                   int scrollBarHeight, int label12Height);

// The three engine-speed chart frames, stacked.
std::array<TwipsRect, 3> recordChartFrames(int screenWidth, int screenHeight);

}  // namespace tormel
