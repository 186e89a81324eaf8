#pragma once

#include "record/record_image.h"

namespace tormel::demo {

// A lap-timing session of our own invention: 24 laps in three stages on a
// track of about 1100 m timed in three sections, two engines, engine-speed
// ranges for the best lap.
RecordImage lapTimingRecord();

// An engine-speed recording of the same kind of kart: 1984 samples, one
// beacon a lap, about fifty seconds a lap.
RecordImage engineSpeedRecord();

}  // namespace tormel::demo
