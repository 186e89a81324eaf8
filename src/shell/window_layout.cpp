#include "shell/window_layout.h"

#include <algorithm>

namespace tormel {

TwipsRect tableToursInitial(int screenWidth, int screenHeight)
{
    return {0, 0, screenWidth, std::max(0, (screenHeight - 1000) / 2)};
}

ChronosLayout sizeGraphiqueChronos(int screenWidth, int screenHeight, int tableHeight, int scrollBarHeight, int label12Height)
{
    ChronosLayout l;
    l.frame = {0, tableHeight, screenWidth, std::max(0, screenHeight - tableHeight - 1100)};
    l.scrollBar = {0, l.frame.height - scrollBarHeight, l.frame.width, scrollBarHeight};
    l.label12 = {0, 240, l.frame.width, label12Height};
    const int pictureTop = l.label12.top + label12Height;
    l.picture1 = {120, pictureTop, std::max(0, screenWidth - 240),
                  std::max(0, l.frame.height - l.label12.top - label12Height - scrollBarHeight)};
    return l;
}

TranchesLayout sizeTranches(int screenWidth, int screenHeight, int frameTop, int firstBarLeft, int barTop)
{
    TranchesLayout l;
    l.frame = {0, frameTop, screenWidth, std::max(0, screenHeight - frameTop - 1200)};
    const int height = std::max(0, l.frame.height - barTop);
    const int width = std::max(0, (l.frame.width - firstBarLeft) / 33);
    for (int i = 0; i < 32; ++i)
        l.bars[std::size_t(i)] = {firstBarLeft + i * width, barTop, width, height};
    return l;
}

std::array<TwipsRect, 3> sizeGraphiqueRecord(int screenWidth, int screenHeight)
{
    const int h = std::max(0, (screenHeight - 1100) / 3);
    return {TwipsRect{0, 0, screenWidth, h}, TwipsRect{0, h, screenWidth, h}, TwipsRect{0, 2 * h, screenWidth, h}};
}

MoteursLayout sizeFrameMoteurs(const TwipsRect& framePiste, int labelHeight, int buttonWidth, int buttonHeight)
{
    MoteursLayout l;
    l.frame = framePiste;
    const int w = (l.frame.width - 240) / 5;
    for (int n = 0; n < 5; ++n) {
        l.titles[std::size_t(n)] = {120 + n * w, 240, w, labelHeight};
        l.values[std::size_t(n)] = {120 + n * w, 240 + labelHeight, w, labelHeight};
    }
    l.closeButton = {l.values[2].left, l.values[2].top + labelHeight + 120, buttonWidth, buttonHeight};
    l.frame.height = l.closeButton.top + buttonHeight + 120;
    return l;
}

TwipsRect centred(int screenWidth, int screenHeight, int width, int height)
{
    return {(screenWidth - width) / 2, (screenHeight - height) / 2, width, height};
}

}  // namespace tormel
