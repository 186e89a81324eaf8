#include "laps/lap_views_layout.h"

#include <algorithm>

namespace tormel {

TwipsRect initialLapTableRect(int screenWidth, int screenHeight)
{
    return {0, 0, screenWidth, std::max(0, (screenHeight - 1000) / 2)};
}

RangesLayout rangesLayout(int screenWidth, int screenHeight, int frameTop, int firstBarLeft, int barTop)
{
    RangesLayout l;
    l.frame = {0, frameTop, screenWidth, std::max(0, screenHeight - frameTop - 1200)};
    const int height = std::max(0, l.frame.height - barTop);
    const int width = std::max(0, (l.frame.width - firstBarLeft) / 33);
    for (int i = 0; i < 32; ++i)
        l.bars[std::size_t(i)] = {firstBarLeft + i * width, barTop, width, height};
    return l;
}

}  // namespace tormel
