#pragma once

#include "document/record_document.h"
#include "texts/text_tables.h"

#include <QChar>
#include <QString>

#include <functional>

namespace tormel {

class LapTimeChart;
class RangesView;
class RecordChart;
struct Panels;

// How the views fill themselves from the record document: the window and the
// session report call the same code, so that a report shows what the window
// would. Showing and hiding the panels is the caller's business.

// The lap grid and the lap-time chart take the document's lap table and
// eliminated laps; the grid is sized to its rows and the chart placed under
// it, for a screen of the given size in twips.
void fillLapViews(Panels& panels, const RecordDocument& document, int screenWidth, int screenHeight);

// The lap-time chart from the first lap, with as many slots as the width
// holds, in the document's charted column.
void drawLapChartFromStart(LapTimeChart& chart, const RecordDocument& document, int screenWidth);

// The engine-speed ranges of the record's best lap; none for a refused record.
void fillRanges(RangesView& view, const RecordDocument& document, const TextTables& tables, QChar decimalSeparator);

// Hears the code of a condition that should never happen.
using UnexpectedError = std::function<void(const QString& code)>;

// Engine-speed chart g draws the lap the document charts in it, or hides
// when it charts none. Statistics that cannot be drawn as they are get their
// stand-ins, and each such condition is told to `unexpected` before drawing.
void drawChartedLap(RecordChart& chart, RecordDocument& document, int g, const UnexpectedError& unexpected);

}  // namespace tormel
