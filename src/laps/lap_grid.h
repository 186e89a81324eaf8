#pragma once

#include "base/twips.h"
#include "laps/lap_table.h"
#include "texts/text_tables.h"

#include <QAbstractScrollArea>

#include <array>
#include <optional>

namespace tormel {

// Column the lap-time chart draws for a column of the lap table: time
// columns chart their raw hundredths, stage, engine and lap number nothing (0).
int chartColumnFor(int column);
// Column a header click sorts on: time columns sort on their raw hundredths.
int sortColumnFor(int column);

// Tool tip of a cell of the lap table; empty when tool tips are off.
QString lapGridToolTip(const TextTables& texts, int row, int column, bool affTip);

// The grid's place at the top-left corner of the window: as wide as its
// columns (plus room for the frame and a scroll bar) and as high as its rows,
// each within the screen's share.
TwipsRect sizeTableTours(const std::array<int, LapTable::ColumnCount>& columnWidths, int rowHeight, int rowCount,
                         int screenWidth, int screenHeight);

// The grid Liste_Tours: the lap table as the model gives it, texts and
// colours included. Rows 0 and 1 and column 0 stay in place while the rest
// scrolls under them.
class LapGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit LapGrid(QWidget* parent = nullptr);

    // Shows the table; column widths follow its header texts and hidden columns.
    void setTable(const LapTable& table);
    const LapTable& table() const { return table_; }
    void setTexts(const TextTables& texts) { texts_ = texts; }
    void setToolTipsOn(bool on) { affTip_ = on; }

    // Places and sizes the grid for the current table (twips) and returns
    // where it went, for the chart underneath.
    TwipsRect Size_Table_Tours(int screenWidth, int screenHeight);

    int rowHeight() const { return rowHeight_; }
    int columnWidth(int column) const;
    // Cell at a point of the viewport, nullopt beyond the cells.
    struct CellPosition {
        int row = 0;
        int column = 0;
        friend bool operator==(const CellPosition&, const CellPosition&) = default;
    };
    std::optional<CellPosition> cellAt(QPoint viewportPoint) const;
    // Where a cell is drawn in the viewport (empty when hidden or scrolled away).
    QRect cellRect(int row, int column) const;

signals:
    // Left button on the header row: the column clicked, as it stands.
    void headerClicked(int column);
    // Left button on any other row: the lap of that row, 0 for the theoretical best.
    void lapClicked(int lap);
    // Any other button: the column the chart should draw (chartColumnFor).
    void chartColumnChosen(int column);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int rowCount() const { return int(table_.rows.size()); }
    int columnLeft(int column) const;
    int rowTop(int row) const;
    void updateScrollBars();

    LapTable table_;
    TextTables texts_;
    bool affTip_ = true;
    std::array<int, LapTable::ColumnCount> widths_{};
    int rowHeight_ = 0;
};

}  // namespace tormel
