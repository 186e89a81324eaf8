#include "record/engine_hours_layout.h"

namespace tormel {

EngineHoursLayout engineHoursLayout(const TwipsRect& area, int labelHeight, int buttonWidth, int buttonHeight)
{
    EngineHoursLayout l;
    l.frame = area;
    const int w = (l.frame.width - 240) / 5;
    for (int n = 0; n < 5; ++n) {
        l.titles[std::size_t(n)] = {120 + n * w, 240, w, labelHeight};
        l.values[std::size_t(n)] = {120 + n * w, 240 + labelHeight, w, labelHeight};
    }
    l.closeButton = {l.values[2].left, l.values[2].top + labelHeight + 120, buttonWidth, buttonHeight};
    l.frame.height = l.closeButton.top + buttonHeight + 120;
    return l;
}

}  // namespace tormel
