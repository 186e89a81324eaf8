#pragma once

#include <array>

namespace tormel {

// Positions and sizes of the window's panels, in twips. The widgets convert
// them to pixels once, when they are placed.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

inline constexpr int TwipsPerPixel = 15;

// Sizes of the window's ordinary controls, shared by every panel.
inline constexpr int LabelHeightTwips = 285;
inline constexpr int ButtonHeightTwips = 375;
inline constexpr int ButtonWidthTwips = 1200;

// The lap table before any record: top-left corner, half the usable height.
TwipsRect tableToursInitial(int screenWidth, int screenHeight);

// The lap-time chart frame and its parts, under the lap table.
struct ChronosLayout {
    TwipsRect frame;
    TwipsRect scrollBar;  // relative to the frame
    TwipsRect label12;    // relative to the frame
    TwipsRect picture1;   // relative to the frame
};
ChronosLayout sizeGraphiqueChronos(int screenWidth, int screenHeight, int tableHeight,
                                   int scrollBarHeight, int label12Height);

// The ranges panel and its 32 bars (relative to the panel).
struct TranchesLayout {
    TwipsRect frame;
    std::array<TwipsRect, 32> bars;
};
TranchesLayout sizeTranches(int screenWidth, int screenHeight, int frameTop, int firstBarLeft, int barTop);

// The three engine-speed chart frames, stacked.
std::array<TwipsRect, 3> sizeGraphiqueRecord(int screenWidth, int screenHeight);

// The engine-hours panel: five columns side by side, the close button under
// the middle one.
struct MoteursLayout {
    TwipsRect frame;
    std::array<TwipsRect, 5> titles;
    std::array<TwipsRect, 5> values;
    TwipsRect closeButton;
};
MoteursLayout sizeFrameMoteurs(const TwipsRect& framePiste, int labelHeight, int buttonWidth, int buttonHeight);

// The start-up picture centred on the screen.
TwipsRect centred(int screenWidth, int screenHeight, int width, int height);

}  // namespace tormel
