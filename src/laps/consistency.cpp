#include "laps/consistency.h"

#include <cmath>
#include <cstdlib>

namespace tormel {

Consistency consistencyOf(const std::vector<std::int32_t>& lapTimes, std::int32_t best)
{
    Consistency c;
    if (best <= 0)
        return c;
    std::vector<std::int32_t> racing;
    for (const std::int32_t t : lapTimes) {
        // In whole hundredths: t <= 1.07 best without rounding.
        if (t > 0 && std::int64_t(t) * 100 <= std::int64_t(best) * 107)
            racing.push_back(t);
    }
    c.racingLaps = int(racing.size());
    if (racing.empty())
        return c;
    double sum = 0.0;
    for (const std::int32_t t : racing) {
        sum += t;
        if (t - best <= WindowHundredths)
            ++c.windowCount;
    }
    const double mean = sum / double(racing.size());
    double absolute = 0.0;
    double squares = 0.0;
    for (const std::int32_t t : racing) {
        absolute += std::abs(t - mean);
        squares += (t - mean) * (t - mean);
    }
    c.spread = absolute / double(racing.size());
    c.deviation = std::sqrt(squares / double(racing.size()));
    return c;
}

}  // namespace tormel
