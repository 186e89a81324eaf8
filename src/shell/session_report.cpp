#include "shell/session_report.h"

#include <qcustomplot.h>

#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QWidget>

#include <algorithm>

namespace tormel {

namespace {

constexpr int Dpi = 200;

QColor colourOf(Rgb c)
{
    return {c.r, c.g, c.b};
}

// The lap table from `first` on, as far as `height` allows; returns the next row to draw.
int drawTable(QPainter& p, const LapTable& table, int first, const QRect& area)
{
    std::vector<int> columns;
    for (int c = 0; c < LapTable::ColumnCount; ++c)
        if (!table.hidden[std::size_t(c)])
            columns.push_back(c);
    if (columns.empty())
        return int(table.rows.size());
    const QFontMetrics metrics = p.fontMetrics();
    const int rowHeight = metrics.height() + metrics.height() / 3;
    const int width = area.width() / int(columns.size());
    int y = area.top();
    const auto drawRow = [&](int row) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const LapCell& cell = table.cell(row, columns[i]);
            const QRect r(area.left() + int(i) * width, y, width, rowHeight);
            p.fillRect(r, colourOf(cell.background));
            p.setPen(QColor(160, 160, 160));
            p.drawRect(r);
            p.setPen(Qt::black);
            p.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, cell.text);
        }
        y += rowHeight;
    };
    // The header and the theoretical best head every page.
    drawRow(LapTable::HeaderRow);
    drawRow(LapTable::TheoreticalRow);
    int row = std::max(first, 2);
    for (; row < int(table.rows.size()) && y + rowHeight <= area.bottom(); ++row)
        drawRow(row);
    return row;
}

}  // namespace

bool writePdf(const QString& path, const QString& title, const std::function<void(QPdfWriter&, QCPPainter&)>& paint,
              QString* errorText)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    {
        QPdfWriter pdf(&file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setResolution(Dpi);
        pdf.setTitle(title);
        QCPPainter p(&pdf);
        paint(pdf, p);
    }
    if (!file.commit()) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    return true;
}

bool writeSessionReport(const QString& path, const ReportContent& content, QString* errorText)
{
    return writePdf(path, content.caption, [&](QPdfWriter& pdf, QCPPainter& p) {
        const QRect page(0, 0, pdf.width(), pdf.height());
        QFont font = p.font();
        font.setPointSizeF(9);
        p.setFont(font);
        const int line = p.fontMetrics().height();
        int y = 0;
        QFont title = font;
        title.setPointSizeF(13);
        title.setBold(true);
        p.setFont(title);
        p.drawText(QRect(0, y, page.width(), 2 * line), Qt::AlignLeft | Qt::AlignVCenter, content.caption);
        p.setFont(font);
        y += 2 * line;
        p.drawText(QRect(0, y, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter, content.header.join(QStringLiteral("    ")));
        y += 2 * line;

        if (content.table) {
            int row = 2;
            row = drawTable(p, *content.table, row, QRect(0, y, page.width(), page.height() - y));
            while (row < int(content.table->rows.size())) {
                pdf.newPage();
                row = drawTable(p, *content.table, row, page);
            }
        }
        // Each panel fitted to the page width, on a page of its own when it does not fit below.
        for (QWidget* panel : content.panels) {
            if (!panel || panel->width() <= 0 || panel->height() <= 0)
                continue;
            const double scale = std::min(double(page.width()) / panel->width(), double(page.height()) / panel->height());
            const int height = int(panel->height() * scale);
            if (content.table || y + height > page.height()) {
                pdf.newPage();
                y = 0;
            }
            p.save();
            p.translate(0, y);
            p.scale(scale, scale);
            panel->render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
            p.restore();
            y += height + line;
        }
    }, errorText);
}

}  // namespace tormel
