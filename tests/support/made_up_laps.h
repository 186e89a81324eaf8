#pragma once

#include "library/lap_comparison.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace tormel::test {

// Engine-speed laps of a little over a minute between 9000 and 14000 RPM,
// each a little longer than the one before, on classes of 150 or 300 RPM:
// the comparison's tests and its benchmark draw them.
inline std::vector<ComparedSessionLap> madeUpEngineSpeedLaps(int count)
{
    std::vector<ComparedSessionLap> laps;
    for (int i = 0; i < count; ++i) {
        ComparedSessionLap lap;
        lap.kind = RecordKind::EngineSpeed;
        lap.label = QStringLiteral("2026-05-1%1 10:30 #%2").arg(i + 2).arg(i + 3);
        lap.colour = comparisonColour(i);
        lap.trace.classWidth = 150 + 150 * (i % 2);
        lap.trace.histogram.assign(128, 0);
        for (int s = 0; s < 320 + 3 * i; ++s) {
            const float rpm = 9000 + 5000 * float(std::abs(std::sin(s * 0.05 + i)));
            lap.trace.rpm.push_back(rpm);
            ++lap.trace.histogram[std::size_t(rpm / float(lap.trace.classWidth))];
        }
        lap.lap.time = std::int32_t(std::lround(lapSeconds(lap.trace) * 100));
        laps.push_back(lap);
    }
    return laps;
}

}  // namespace tormel::test
