#include "charts/chart_layout.h"

#include <algorithm>

namespace tormel {

LapChartLayout lapChartLayout(int screenWidth, int screenHeight, int tableHeight, int scrollBarHeight, int label12Height)
{
    LapChartLayout l;
    l.frame = {0, tableHeight, screenWidth, std::max(0, screenHeight - tableHeight - 1100)};
    l.scrollBar = {0, l.frame.height - scrollBarHeight, l.frame.width, scrollBarHeight};
    l.label12 = {0, 240, l.frame.width, label12Height};
    const int pictureTop = l.label12.top + label12Height;
    l.picture1 = {120, pictureTop, std::max(0, screenWidth - 240),
                  std::max(0, l.frame.height - l.label12.top - label12Height - scrollBarHeight)};
    return l;
}

std::array<TwipsRect, 3> recordChartFrames(int screenWidth, int screenHeight)
{
    const int h = std::max(0, (screenHeight - 1100) / 3);
    return {TwipsRect{0, 0, screenWidth, h}, TwipsRect{0, h, screenWidth, h}, TwipsRect{0, 2 * h, screenWidth, h}};
}

}  // namespace tormel
