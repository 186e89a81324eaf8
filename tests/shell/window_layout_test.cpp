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

}  // namespace
}  // namespace tormel
