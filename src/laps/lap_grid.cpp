#include "laps/lap_grid.h"

#include "base/twips.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <numeric>

namespace tormel {

namespace {

constexpr int Columns = LapTable::ColumnCount;
constexpr int FixedRows = 2;
constexpr int Padding = 4;  // pixels left and right of a cell's text
const QColor GridLines{colours::GridLines.r, colours::GridLines.g, colours::GridLines.b};
const QColor Outside{colours::Outside.r, colours::Outside.g, colours::Outside.b};

QColor colourOf(Rgb c)
{
    return {c.r, c.g, c.b};
}

}  // namespace

QString lapGridToolTip(const TextTables& texts, int row, int column, bool toolTipsOn)
{
    if (!toolTipsOn || row < 0 || column < 0)
        return {};
    const auto& tips = texts.tips;
    if (row == LapTable::HeaderRow)
        return column == LapNumberColumn || column == StageColumn || column == EngineColumn ? tips[sortTip] : tips[sortOrChartTip];
    if (row == LapTable::TheoreticalRow)
        return tips[theoreticalBestTip];
    return column <= StageColumn ? tips[eliminateOrChartTip].section(QLatin1Char(','), 0, 0) : tips[eliminateOrChartTip];
}

TwipsRect lapTableRect(const std::array<int, LapTable::ColumnCount>& columnWidths, int rowHeight, int rowCount,
                         int screenWidth, int screenHeight)
{
    const int sum = std::accumulate(columnWidths.begin(), columnWidths.end(), 0);
    const int width = std::min(320 + sum, screenWidth);
    const int height = std::min(rowHeight * rowCount + 100, (screenHeight - 1000) / 2);
    return {0, 0, std::max(0, width), std::max(0, height)};
}

LapGrid::LapGrid(QWidget* parent)
    : QAbstractScrollArea(parent), table_(&emptyLapTable()), texts_(frenchTextTables())
{
    setObjectName(QStringLiteral("Liste_Tours"));
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);
    rowHeight_ = fontMetrics().height() + 5;
}

void LapGrid::applyTexts(const TextTables& tables, bool toolTipsOn)
{
    texts_ = tables;
    toolTipsOn_ = toolTipsOn;
}

int LapGrid::textWidth(const QFontMetrics& metrics, const QString& text)
{
    // Bounded: a session of many records must not grow it without end.
    if (textWidths_.size() > 20000)
        textWidths_.clear();
    auto known = textWidths_.constFind(text);
    if (known == textWidths_.constEnd())
        known = textWidths_.insert(text, metrics.horizontalAdvance(text));
    return *known;
}

void LapGrid::setTable(const LapTable& table)
{
    table_ = &table;
    const QFontMetrics metrics = fontMetrics();
    rowHeight_ = metrics.height() + 5;
    for (int c = 0; c < Columns; ++c) {
        const bool hidden = table_->hidden[std::size_t(c)];
        // As wide as the header needs, and never narrower than a cell, so no
        // text is clipped (the theoretical-best label is wider than "Tour").
        int text = 0;
        for (const LapTableRow& row : table_->rows)
            text = std::max(text, textWidth(metrics, row.cells[std::size_t(c)].text));
        // Text, room on both sides, and the grid line.
        widths_[std::size_t(c)] = hidden ? 0 : text + 2 * Padding + 1;
    }
    updateScrollBars();
    viewport()->update();
}

TwipsRect LapGrid::layOut(int screenWidth, int screenHeight)
{
    std::array<int, Columns> twips{};
    std::transform(widths_.begin(), widths_.end(), twips.begin(), [](int w) { return w * TwipsPerPixel; });
    const TwipsRect place = lapTableRect(twips, rowHeight_ * TwipsPerPixel, rowCount(), screenWidth, screenHeight);
    setGeometry(twipsToPixels(place));
    return place;
}

int LapGrid::columnWidth(int column) const
{
    return column >= 0 && column < Columns ? widths_[std::size_t(column)] : 0;
}

int LapGrid::columnLeft(int column) const
{
    if (column <= 0)
        return 0;
    return widths_[0] + std::accumulate(widths_.begin() + 1, widths_.begin() + column, 0) - horizontalScrollBar()->value();
}

int LapGrid::rowTop(int row) const
{
    if (row < FixedRows)
        return row * rowHeight_;
    return (row - verticalScrollBar()->value()) * rowHeight_;
}

QRect LapGrid::cellRect(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= Columns || widths_[std::size_t(column)] == 0)
        return {};
    return {columnLeft(column), rowTop(row), widths_[std::size_t(column)], rowHeight_};
}

std::optional<LapGrid::CellPosition> LapGrid::cellAt(QPoint p) const
{
    if (p.x() < 0 || p.y() < 0 || rowHeight_ <= 0)
        return std::nullopt;
    const int fixedHeight = FixedRows * rowHeight_;
    const int row = p.y() < fixedHeight ? p.y() / rowHeight_
                                        : FixedRows + verticalScrollBar()->value() + (p.y() - fixedHeight) / rowHeight_;
    if (row >= rowCount())
        return std::nullopt;
    if (p.x() < widths_[0])
        return CellPosition{row, 0};
    int x = p.x() - widths_[0] + horizontalScrollBar()->value();
    for (int c = 1; c < Columns; ++c) {
        const int w = widths_[std::size_t(c)];
        if (x < w)
            return CellPosition{row, c};
        x -= w;
    }
    return std::nullopt;
}

void LapGrid::updateScrollBars()
{
    const int fixedHeight = FixedRows * rowHeight_;
    const int scrollingRows = std::max(0, rowCount() - FixedRows);
    const int visibleRows = std::max(1, (viewport()->height() - fixedHeight) / std::max(1, rowHeight_));
    verticalScrollBar()->setRange(0, std::max(0, scrollingRows - visibleRows));
    verticalScrollBar()->setPageStep(visibleRows);

    const int content = std::accumulate(widths_.begin() + 1, widths_.end(), 0);
    const int visibleWidth = std::max(0, viewport()->width() - widths_[0]);
    horizontalScrollBar()->setRange(0, std::max(0, content - visibleWidth));
    horizontalScrollBar()->setPageStep(std::max(1, visibleWidth));
    horizontalScrollBar()->setSingleStep(std::max(1, rowHeight_));
}

void LapGrid::drawCellText(QPainter& painter, const QRect& area, const QString& text)
{
    if (text.isEmpty())
        return;
    // Laid out once per text: shaping is the dearest part of painting the grid.
    if (staticTexts_.size() > 20000)
        staticTexts_.clear();
    auto known = staticTexts_.find(text);
    if (known == staticTexts_.end()) {
        QStaticText laidOut(text);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.prepare(QTransform(), painter.font());
        known = staticTexts_.insert(text, laidOut);
    }
    const QSizeF size = known->size();
    if (size.width() > area.width()) {
        // Rare (a label a hair wider than its whole-pixel column): drawText's own placement.
        painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, text);
        return;
    }
    // Right-aligned and centred in height, where drawText would place it.
    const QPointF topLeft(area.left() + area.width() - size.width(), area.top() + (area.height() - size.height()) / 2.0);
    painter.drawStaticText(topLeft, *known);
}

void LapGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    painter.fillRect(area, Outside);
    if (rowCount() == 0)
        return;

    const auto paintCell = [&](int row, int column) {
        const QRect r = cellRect(row, column);
        if (r.isEmpty() || !r.intersects(area))
            return;
        const LapCell& cell = table_->cell(row, column);
        painter.fillRect(r, colourOf(cell.background));
        painter.setPen(GridLines);
        painter.drawLine(r.topRight(), r.bottomRight());
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.setPen(Qt::black);
        drawCellText(painter, r.adjusted(Padding, 0, -Padding - 1, -1), cell.text);
    };

    const int fixedWidth = widths_[0];
    const int fixedHeight = std::min(rowCount(), FixedRows) * rowHeight_;
    const int firstRow = FixedRows + verticalScrollBar()->value();
    const int lastRow = std::min(rowCount() - 1, firstRow + (area.height() - fixedHeight) / std::max(1, rowHeight_) + 1);

    // Scrolling cells first, then the fixed bands over them, the corner last.
    painter.setClipRect(QRect(fixedWidth, fixedHeight, area.width(), area.height()));
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = 1; column < Columns; ++column)
            paintCell(row, column);
    painter.setClipRect(QRect(fixedWidth, 0, area.width(), fixedHeight));
    for (int row = 0; row < std::min(rowCount(), FixedRows); ++row)
        for (int column = 1; column < Columns; ++column)
            paintCell(row, column);
    painter.setClipRect(QRect(0, fixedHeight, fixedWidth, area.height()));
    for (int row = firstRow; row <= lastRow; ++row)
        paintCell(row, 0);
    painter.setClipping(false);
    for (int row = 0; row < std::min(rowCount(), FixedRows); ++row)
        paintCell(row, 0);
}

void LapGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void LapGrid::scrollContentsBy(int, int)
{
    viewport()->update();
}

void LapGrid::mousePressEvent(QMouseEvent* event)
{
    const std::optional<CellPosition> cell = cellAt(event->position().toPoint());
    if (!cell)
        return;
    if (event->button() != Qt::LeftButton) {
        emit chartColumnChosen(chartColumnFor(cell->column));
        return;
    }
    if (cell->row == LapTable::HeaderRow) {
        emit headerClicked(cell->column);
        return;
    }
    const int lap = lapOfRow(*table_, cell->row);
    if (lap >= 0 && lap < LapFlagCount)
        emit lapClicked(lap);
}

bool LapGrid::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<CellPosition> cell = cellAt(help->pos());
        const QString text = cell ? lapGridToolTip(texts_, cell->row, cell->column, toolTipsOn_) : QString();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void LapGrid::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        textWidths_.clear();
        staticTexts_.clear();
    }
    QAbstractScrollArea::changeEvent(event);
}

}  // namespace tormel
