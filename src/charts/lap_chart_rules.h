#pragma once

#include "laps/lap_table.h"

#include <QString>

namespace tormel {

// Values at the top and bottom edge of the lap-time chart.
struct ChartEdges {
    float top = 0.0F;
    float bottom = 0.0F;
    friend bool operator==(const ChartEdges&, const ChartEdges&) = default;
};

// A tenth of the range above and below; one unit each way when the range is 0.
ChartEdges chartEdges(float minimum, float maximum);

// The whole part of a pointer position (rounded down, as the slot
// arithmetic needs for positions left of the chart), bounded to int.
int wholePart(double x);

// How many laps the lap-time chart shows at once and how its scroll bar runs.
struct LapChartWindow {
    int lapsOnScreen = 0;
    bool scrollVisible = false;
    int scrollMaximum = 0;
    int scrollLargeStep = 0;
};
LapChartWindow lapChartWindow(int lapCount, int screenWidthTwips);

// The read-out line over the chart for the lap shown in `row`: lap, stage,
// lap time, maximum engine speed and temperature, each after its title.
QString lapReadoutLine(const LapTable& table, int row, int markedLap);

}  // namespace tormel
