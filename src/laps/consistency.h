#pragma once

#include <cstdint>
#include <vector>

namespace tormel {

// How evenly a session was driven, from its lap times in hundredths of a
// second. The racing laps are the laps of at most 107 % of the best lap
// (out-laps, in-laps and laps behind a spin are not racing); a lap of no
// time is no lap. Every comparison includes its limit.
struct Consistency {
    int racingLaps = 0;
    int windowCount = 0;       // racing laps within 0.10 s of the best
    double spread = 0.0;       // mean absolute difference to the racing laps' mean
    double deviation = 0.0;    // standard deviation of the racing laps (of the laps, not of a sample)

    friend bool operator==(const Consistency&, const Consistency&) = default;
};
inline constexpr int WindowHundredths = 10;

// `best` is the session's best lap time; 0 or less gives no racing lap.
Consistency consistencyOf(const std::vector<std::int32_t>& lapTimes, std::int32_t best);

}  // namespace tormel
