#include "charts/chart_layout.h"
#include "laps/lap_views_layout.h"
#include "record/engine_hours_layout.h"

#include <gtest/gtest.h>

namespace tormel {
namespace {

TEST(WindowLayout, ChronosFrameSitsUnderTheTable)
{
    const ChronosLayout l = sizeGraphiqueChronos(19200, 15360, 7000, 255, 285);
    EXPECT_EQ(l.frame, (TwipsRect{0, 7000, 19200, 15360 - 7000 - 1100}));
    EXPECT_EQ(l.scrollBar, (TwipsRect{0, l.frame.height - 255, 19200, 255}));
    EXPECT_EQ(l.label12.top, 240);
    EXPECT_EQ(l.picture1, (TwipsRect{120, 525, 19200 - 240, l.frame.height - 240 - 285 - 255}));
    // A table taller than the screen leaves no negative sizes.
    const ChronosLayout tiny = sizeGraphiqueChronos(1000, 1000, 5000, 255, 285);
    EXPECT_GE(tiny.frame.height, 0);
    EXPECT_GE(tiny.picture1.height, 0);
}

TEST(WindowLayout, RangeBarsStandSideBySide)
{
    const TranchesLayout l = sizeTranches(19200, 15360, 0, 120, 1200);
    EXPECT_EQ(l.frame.height, 15360 - 1200);
    for (const auto& [i, left] : {std::pair{0, 120}, {1, 698}, {31, 18038}}) {
        EXPECT_EQ(l.bars[std::size_t(i)].left, left) << i;
        EXPECT_EQ(l.bars[std::size_t(i)].width, 578);
        EXPECT_EQ(l.bars[std::size_t(i)].height, 15360 - 2400);
    }
}

TEST(WindowLayout, EngineColumnsFillThePanelLessMargins)
{
    for (int width : {9000, 9240, 12345}) {
        const MoteursLayout l = sizeFrameMoteurs({0, 6000, width, 4000}, 285, 1200, 375);
        const int w = (width - 240) / 5;
        for (int n = 0; n < 5; ++n) {
            EXPECT_EQ(l.titles[std::size_t(n)].left, 120 + n * w) << width;
            EXPECT_EQ(l.titles[std::size_t(n)].width, w) << width;
        }
        // The fifth column ends 120 twips from the right edge, to the twip lost in the division.
        EXPECT_LE(width - 120 - (l.titles[4].left + w), 4) << width;
        EXPECT_EQ(l.closeButton.left, l.values[2].left);
        EXPECT_EQ(l.frame.height, l.closeButton.top + 375 + 120);
    }
}

}  // namespace
}  // namespace tormel
