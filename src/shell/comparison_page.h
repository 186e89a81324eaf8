#pragma once

#include "base/units.h"
#include "library/lap_comparison.h"
#include "texts/text_tables.h"

#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

namespace tormel {

// A comparison of laps as one page: the table of times with their
// differences to the reference, a bar chart of the section differences,
// and the setup sheets side by side with what differs from the
// reference's marked. Painted by the window and into the report alike.
// Engine-speed laps instead show their traces overlaid, the cursor's
// readings, their histograms on common classes and each lap's maximum,
// minimum and mean engine speed.
struct ComparisonContent {
    std::vector<ComparedSessionLap> laps;
    int reference = 0;
    TextTables tables;
    TemperatureUnit temperatureUnit = TemperatureUnit::Celsius;
    Alignment alignment = Alignment::Time;  // engine-speed laps
    std::optional<double> cursor;           // seconds or fraction, as aligned
    // Placed on the reference lap's trace, read as on the single charts.
    std::optional<double> leftMarker;
    std::optional<double> rightMarker;
};

// Where the traces of engine-speed laps went: `x` from `from` to `to` across `plot`.
struct TracePlot {
    QRectF plot;
    double from = 0;
    double to = 1;
};

// What the cursor and the markers read, a line per row as the page shows it
// ("caption: cell | cell..."); empty without a cursor or for lap times.
QStringList cursorReadingLines(const ComparisonContent& content);

// Paints the page into `area`, its texts sized to fit its height. For
// engine-speed laps the page may be painted without the cursor's line and
// readings, and those alone over it, so that a cursor step repaints little.
enum class PaintLayer { Whole, Page, Cursor };
TracePlot paintComparison(QPainter& painter, const QRectF& area, const ComparisonContent& content,
                          PaintLayer layer = PaintLayer::Whole);

// Writes the page as an A4 landscape PDF; texts stay text. Replaced whole
// or not at all; false and why on failure.
bool writeComparisonReport(const QString& path, const ComparisonContent& content, QString* errorText = nullptr);

}  // namespace tormel
