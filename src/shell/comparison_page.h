#pragma once

#include "base/units.h"
#include "library/comparison_figures.h"
#include "library/other_sprockets.h"
#include "texts/text_tables.h"

#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

class QPainter;

namespace tormel {

// A comparison of laps: the laps chosen, the reference, how engine-speed
// laps are aligned, and the figures and readings worked out from them
// (`workOutFigures`, `overlayReadings`), which the window, its charts and
// the report draw as they stand.
struct ComparisonContent {
    std::vector<ComparedSessionLap> laps;
    int reference = 0;
    TextTables tables;
    TemperatureUnit temperatureUnit = TemperatureUnit::Celsius;
    SpeedUnit speedUnit = SpeedUnit::KilometresPerHour;
    Alignment alignment = Alignment::Time;
    bool showSpeed = true;  // the road speeds of the laps that have one
    ComparisonFigures figures;
    OverlayReadings readings;
    // A lap of the comparison with other sprockets, while its window shows it.
    std::optional<SprocketsView> sprockets;
};

// The figures of the laps as they now stand, and no cursor.
void workOutFigures(ComparisonContent& content);

// The tables of the page beside its charts: the laps' labels in their
// colours, the cursor's readings, the times with their differences and each
// lap's figures, and the setup sheets side by side with what differs from
// the reference's marked. Painted by the window and into the report alike.
enum class PageRows { Tables, Setups, All };
int pageLines(const ComparisonContent& content, PageRows rows = PageRows::All);

// Paints the rows into `area`, a line each of `area`'s height divided by
// their count. For engine-speed laps the rows may be painted without the
// cursor's readings, and those alone over them, so that a cursor step
// repaints little.
enum class PaintLayer { Whole, Page, Cursor };
// A text longer than its cell is elided in the middle on screen (where the
// cell's tool tip has it whole, `pageTextAt`) and wrapped in the report.
enum class LongText { Elided, Wrapped };
void paintPage(QPainter& painter, const QRectF& area, const ComparisonContent& content, PageRows rows = PageRows::All,
               PaintLayer layer = PaintLayer::Whole, LongText longText = LongText::Elided);

// The whole text of the cell at `at` of the rows painted into `area`: a lap's
// label with its track and file; empty outside the cells.
QString pageTextAt(const QRectF& area, const ComparisonContent& content, PageRows rows, const QPointF& at);

// A text as a cell `cell` big shows it in `font`: whole on one line when it
// fits; else elided in the middle, or wrapped at blanks (anywhere in a word
// too long for a line) in a font made smaller until its lines fit the cell.
struct FittedText {
    QStringList lines;
    QFont font;
};
FittedText fitText(const QString& text, const QFont& font, const QSizeF& cell, LongText longText);

// The page's rows as text, a line per row ("caption: cell | cell..."), the
// laps' labels first: what a screen reader reads of the tables.
QStringList pageTextLines(const ComparisonContent& content, PageRows rows = PageRows::All);

// What the cursor and the markers read, a line per row as the page shows it
// ("caption: cell | cell..."); empty without a cursor or for lap times.
QStringList cursorReadingLines(const ComparisonContent& content);

// Writes the comparison as an A4 landscape PDF: the tables, and the charts
// drawn as vectors, their texts staying text. Replaced whole or not at all;
// false and why on failure.
bool writeComparisonReport(const QString& path, const ComparisonContent& content, QString* errorText = nullptr);

}  // namespace tormel
