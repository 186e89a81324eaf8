#pragma once

#include "laps/road_speed.h"
#include "library/lap_comparison.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace tormel::test {

// Engine-speed laps of a little over a minute between 9000 and 14000 RPM,
// each a little longer than the one before, on classes of 150 or 300 RPM:
// the comparison's tests and its benchmark draw them. With `road`, on a
// track of 1150 m with sprockets 11/82 and engine 2: their raw engine
// speeds, fractions by revolutions and road speeds.
inline std::vector<ComparedSessionLap> madeUpEngineSpeedLaps(int count, bool road = false)
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
        if (road) {
            lap.lap.lap = i + 1;
            RpmLap raw{i + 1, 0, {}};
            for (const float rpm : lap.trace.rpm)
                raw.rpm.push_back(int(std::lround(rpm)));
            lap.trace.raw = raw.rpm;
            lap.trace.fractions = lapFractions(raw);
            lap.trace.lapLength = 1150;
            addRoadSpeed(lap.trace, 1150, 1.0 / double(rpmSum(raw)));
            lap.setup.frontSprocket = 11;
            lap.setup.rearSprocket = 82;
            lap.setup.engine = 2;
        }
        laps.push_back(lap);
    }
    return laps;
}

}  // namespace tormel::test
