#pragma once

#include "base/twips.h"
#include "laps/lap_table.h"
#include "texts/text_tables.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QStaticText>

#include <array>
#include <optional>

class QFontMetrics;
class QPainter;

namespace tormel {

// Tool tip of a cell of the lap table; empty when tool tips are off.
QString lapGridToolTip(const TextTables& texts, int row, int column, bool toolTipsOn);

// The grid's place at the top-left corner of the window: as wide as its
// columns (plus room for the frame and a scroll bar) and as high as its rows,
// each within the screen's share.
TwipsRect lapTableRect(const std::array<int, LapTable::ColumnCount>& columnWidths, int rowHeight, int rowCount,
                         int screenWidth, int screenHeight);

// The grid Liste_Tours: the lap table as the model gives it, texts and
// colours included. Rows 0 and 1 and column 0 stay in place while the rest
// scrolls under them.
class LapGrid : public QAbstractScrollArea, public TextsPanel {
    Q_OBJECT

public:
    explicit LapGrid(QWidget* parent = nullptr);

    // Shows the table, which must outlive the grid or the next setTable;
    // column widths follow its texts and hidden columns.
    void setTable(const LapTable& table);
    const LapTable& table() const { return *table_; }
    void applyTexts(const TextTables& tables, bool toolTipsOn) override;

    // Places and sizes the grid for the current table (twips) and returns
    // where it went, for the chart underneath.
    TwipsRect layOut(int screenWidth, int screenHeight);

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
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int rowCount() const { return int(table_->rows.size()); }
    int textWidth(const QFontMetrics& metrics, const QString& text);
    void drawCellText(QPainter& painter, const QRect& area, const QString& text);
    int columnLeft(int column) const;
    int rowTop(int row) const;
    void updateScrollBars();

    const LapTable* table_;
    // Measuring a text is the dearest part of a redisplay, and a record's
    // texts repeat from one redisplay to the next.
    QHash<QString, int> textWidths_;
    QHash<QString, QStaticText> staticTexts_;
    TextTables texts_;
    bool toolTipsOn_ = true;
    std::array<int, LapTable::ColumnCount> widths_{};
    int rowHeight_ = 0;
};

}  // namespace tormel
