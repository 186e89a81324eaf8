#pragma once

#include "library/lap_comparison.h"
#include "texts/text_tables.h"

#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

namespace tormel {

// A comparison of laps as one page: the table of times with their
// differences to the reference, a bar chart of the section differences,
// and the setup sheets side by side with what differs from the
// reference's marked. Painted by the window and into the report alike.
struct ComparisonContent {
    std::vector<ComparedSessionLap> laps;
    int reference = 0;
    TextTables tables;
    int temperatureUnit = 0;
};

// Paints the page into `area`, its texts sized to fit its height.
void paintComparison(QPainter& painter, const QRectF& area, const ComparisonContent& content);

// Writes the page as an A4 landscape PDF; texts stay text. Replaced whole
// or not at all; false and why on failure.
bool writeComparisonReport(const QString& path, const ComparisonContent& content, QString* errorText = nullptr);

}  // namespace tormel
