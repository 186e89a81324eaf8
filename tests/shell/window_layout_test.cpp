#include "shell/window_layout.h"

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
    for (int width : {9000, 12345}) {
        const MoteursLayout l = sizeFrameMoteurs({0, 6000, width, 4000}, 285, 1200, 375);
        const int w = (width - 240) / 5;
        EXPECT_EQ(l.titles[0].left, 120);
        EXPECT_EQ(l.titles[4].left + l.titles[4].width, 120 + 5 * w);
        EXPECT_LE(width - (l.titles[4].left + l.titles[4].width) - 120, 4);  // whole-twip division
        EXPECT_EQ(l.values[2].top, 240 + 285);
        EXPECT_EQ(l.closeButton.left, l.values[2].left);
        EXPECT_EQ(l.closeButton.top, 240 + 285 + 285 + 120);
        EXPECT_EQ(l.frame.height, l.closeButton.top + 375 + 120);
    }
}

TEST(WindowLayout, RecordChartsShareTheHeight)
{
    const auto charts = sizeGraphiqueRecord(19200, 15360);
    const int h = (15360 - 1100) / 3;
    for (int g = 0; g < 3; ++g)
        EXPECT_EQ(charts[std::size_t(g)], (TwipsRect{0, g * h, 19200, h}));
    EXPECT_EQ(centred(19200, 15360, 7800, 4500), (TwipsRect{5700, 5430, 7800, 4500}));
}

}  // namespace
}  // namespace tormel
