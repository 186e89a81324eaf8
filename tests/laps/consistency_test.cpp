#include "laps/consistency.h"

#include <gtest/gtest.h>

#include <vector>

namespace tormel {
namespace {

TEST(Consistency, RacingLapsWindowSpreadAndDeviation)
{
    // 107 % of 5000 is 5350, taken in; 0.10 s from the best is taken in.
    const struct {
        std::vector<std::int32_t> laps;
        std::int32_t best;
        int racing, window;
        double spread, deviation;
    } cases[] = {
        {{5000, 5010, 5350, 5351, 0}, 5000, 3, 2, 153.333333, 162.685791},
        {{5000, 5020, 5040, 5060}, 5000, 4, 1, 20.0, 22.360679},
        {{6000, 6000}, 6000, 2, 2, 0.0, 0.0},
        // A best the logger named quicker than every lap: only laps within 107 % of it race.
        {{5400, 5300}, 5000, 1, 0, 0.0, 0.0},
        {{5000, 5100}, 0, 0, 0, 0.0, 0.0},
        {{}, 5000, 0, 0, 0.0, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.laps));
        const Consistency got = consistencyOf(c.laps, c.best);
        EXPECT_EQ(got.racingLaps, c.racing);
        EXPECT_EQ(got.windowCount, c.window);
        EXPECT_NEAR(got.spread, c.spread, 1e-6);
        EXPECT_NEAR(got.deviation, c.deviation, 1e-6);
    }
}

}  // namespace
}  // namespace tormel
