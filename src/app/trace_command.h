#pragma once

#include "laps/road_speed.h"

#include <QString>

#include <optional>

namespace tormel {

// "F/R": front and rear teeth, whole numbers from fewestTeeth to mostTeeth;
// none for anything else.
std::optional<Sprockets> sprocketsArgument(const QString& argument);

// tormel_vue --trace RECORD[:N] [--format csv|json] [--gearing F/R]
// [--sprockets F/R]: one row per sample of a closed lap of an engine-speed
// record (its best lap by default) with its time, engine speed, fraction of
// the lap, distance and road speed, and the engine speed with the sprockets
// of --gearing.
int traceCommand(int argc, char* argv[]);

}  // namespace tormel
