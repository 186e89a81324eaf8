#pragma once

#include "laps/lap_table.h"

#include <QString>

namespace tormel {

// Values at the top and bottom edge of the lap-time chart.
struct ChartEdges {
    float Haut_Graphique = 0.0F;
    float Bas_Graphique = 0.0F;
    friend bool operator==(const ChartEdges&, const ChartEdges&) = default;
};

// A tenth of the range above and below; one unit each way when the range is 0.
ChartEdges chartEdges(float minimum, float maximum);

// The whole part of a pointer position (rounded down, as the slot
// arithmetic needs for positions left of the chart), bounded to int.
int wholePart(double x);

// Text of a cell, empty for a row or column the table does not have.
QString cellText(const LapTable& table, int row, int column);
// A cell read as a number (0 for text that is not one, or no cell).
float cellValue(const LapTable& table, int row, int column);
// The lap a row shows: its column-0 text read as a number and rounded.
int lapOfRow(const LapTable& table, int row);

// The read-out line over the chart for the lap shown in `row`: lap, stage,
// lap time, maximum engine speed and temperature, each after its title.
QString label12Text(const LapTable& table, int row, int tourMarque);

}  // namespace tormel
