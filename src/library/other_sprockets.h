#pragma once

#include "laps/road_speed.h"
#include "library/lap_comparison.h"

#include <optional>
#include <vector>

namespace tormel {

// An engine-speed lap as it would be with other sprockets: the laps to
// choose from (the record shown, or the laps compared), the sprockets and
// target the user gives, and what they work out to. The window and the
// comparison's report show it alike.
struct SprocketsView {
    std::vector<ComparedSessionLap> laps;
    int chosen = 0;
    Sprockets other;       // the what-if
    int targetMaxRpm = 0;  // for the chosen lap's engine; 0 when none is given

    // Worked out by workOutSprockets.
    Sprockets fitted;  // the chosen lap's session's, from its setup sheet
    int engine = 0;    // its engine, 1 to 5; 0 when the sheet names none
    std::optional<OtherSprockets> result;  // none without fitted and other sprockets
};

Sprockets fittedSprockets(const SetupSheet& sheet);

// The chosen lap's sprockets and engine, and the lap with the other ones.
void workOutSprockets(SprocketsView& view);

// Lap `index` chosen: the other sprockets start at its session's, when its
// sheet gives them.
void chooseSprocketsLap(SprocketsView& view, int index);

// What a session's rolling circumference needs besides its sprockets: its
// track's lap length (0 when not given) and the median over its closed laps
// of 1 / revolutions a lap (none for a record of no engine speed).
struct SessionRoad {
    float lapLength = 0;
    std::optional<double> inverseRpmSum;
};
SessionRoad sessionRoad(const QString& recordPath, const QString& trackFile, std::optional<int> track);

}  // namespace tormel
