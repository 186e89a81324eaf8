#include "shell/comparison_page.h"

#include "laps/conversions.h"
#include "shell/comparison_plots.h"
#include "shell/session_report.h"
#include "shell/sprockets_window.h"

#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>

namespace tormel {

namespace {

// The readings keep their place whatever the cursor reads: the cursor, the
// engine speed's difference, the time and its difference, the road speed,
// the markers.
constexpr int ReadingLines = 6;
// The report: a line of its tables, and the width the charts are laid out at
// before they are scaled to the page, as on a screen.
constexpr double ReportLines = 40;
constexpr double ReportPlotWidth = 1100;

QColor colourOf(Rgb c)
{
    return {c.r, c.g, c.b};
}

QString timeText(std::int32_t hundredths)
{
    return hundredths > 0 ? lapTimeText(float(hundredths)) : QString();
}

QString withDifference(std::int32_t hundredths, const std::optional<std::int32_t>& difference)
{
    const QString time = timeText(hundredths);
    return difference && !time.isEmpty() ? time + QStringLiteral("   ") + differenceText(*difference) : time;
}

QString rpmText(const std::optional<double>& rpm, bool signedText = false)
{
    if (!rpm)
        return QString();
    const long value = std::lround(*rpm);
    return (signedText && value > 0 ? QStringLiteral("+") : QString()) + QString::number(value);
}

QString secondsText(const std::optional<double>& seconds, QChar decimalSeparator, bool signedText = false)
{
    if (!seconds)
        return QString();
    return (signedText && *seconds > 0 ? QStringLiteral("+") : QString())
        + QString::number(*seconds, 'f', 2).replace(QLatin1Char('.'), decimalSeparator);
}

// Where the cursor stands: seconds into the lap, a percentage of it, or
// metres along the track when its length is known.
QString cursorPlaceText(const ComparisonFigures& f, const std::optional<double>& x)
{
    if (!x || f.alignment == Alignment::Time)
        return secondsText(x, f.decimalSeparator);
    if (f.alignment == Alignment::Track && f.trackLength > 0)
        return QStringLiteral("%1 m").arg(std::lround(*x * f.trackLength));
    return QString::number(*x * 100, 'f', 1).replace(QLatin1Char('.'), f.decimalSeparator) + QStringLiteral(" %");
}

bool engineSpeed(const ComparisonContent& content)
{
    return content.figures.kind == RecordKind::EngineSpeed;
}

// A row of the page: a caption, then a cell per lap.
struct Row {
    enum class Kind { Caption, Labels, Cells, Reading };
    Kind kind = Kind::Cells;
    QString caption;
    QStringList cells;
    std::vector<bool> marked;
};

// The readings' rows: the cursor's place and each lap's engine speed there,
// the differences to the reference, on the fraction each lap's time into the
// lap, and the markers' readings under the reference lap.
std::vector<Row> readingRows(const ComparisonContent& content)
{
    const TextTables& t = content.tables;
    const OverlayReadings& r = content.readings;
    const std::size_t laps = content.laps.size();
    std::vector<Row> rows;
    const auto readingRow = [&](const QString& caption, const auto& text) {
        Row row{Row::Kind::Reading, caption, {}, {}};
        for (std::size_t i = 0; i < laps; ++i)
            row.cells << (i < r.laps.size() ? text(r.laps[i]) : QString());
        rows.push_back(row);
    };
    const ComparisonFigures& f = content.figures;
    const QChar point = f.decimalSeparator;
    readingRow(t.texts[overlayCursor] + QStringLiteral(" ") + cursorPlaceText(f, r.cursor), [](const CursorReading& c) { return rpmText(c.rpm); });
    readingRow(t.texts[overlayRpmDifference], [](const CursorReading& c) { return rpmText(c.rpmDifference, true); });
    if (f.alignment != Alignment::Time) {
        readingRow(t.texts[overlayTime], [point](const CursorReading& c) { return secondsText(c.seconds, point); });
        readingRow(t.texts[overlayTimeDifference], [point](const CursorReading& c) { return secondsText(c.secondsDifference, point, true); });
    }
    if (f.speedHigh > 0)
        readingRow(t.texts[overlaySpeedAxis].arg(speedUnitSymbol(f.speedUnit)), [&](const CursorReading& c) {
            return c.speed ? QString::number(speedIn(*c.speed, f.speedUnit), 'f', 1).replace(QLatin1Char('.'), point) : QString();
        });
    if (r.markers) {
        Row row{Row::Kind::Reading, t.texts[overlayMarkersOnReference], {}, {}};
        for (std::size_t i = 0; i < laps; ++i)
            row.cells << (int(i) == content.figures.reference
                              ? QStringLiteral("%1 s   %2   %3").arg(r.markers->secondsText, r.markers->rpmDifferenceText,
                                                                    r.markers->rateText.value_or(QString()))
                              : QString());
        rows.push_back(row);
    }
    return rows;
}

void timeRows(std::vector<Row>& rows, const ComparisonContent& content)
{
    const TextTables& t = content.tables;
    const LapComparison& times = content.figures.times;
    Row lapTimes{Row::Kind::Cells, t.texts[compareLapTime], {}, {}};
    for (const ComparedColumn& c : times.columns)
        lapTimes.cells << withDifference(c.times.time, c.timeDifference);
    rows.push_back(lapTimes);
    for (int k = 0; k < times.sectionCount; ++k) {
        Row row{Row::Kind::Cells, t.texts[bestsSection].arg(k + 1), {}, {}};
        for (const ComparedColumn& c : times.columns)
            row.cells << (std::size_t(k) < c.times.sections.size()
                              ? withDifference(c.times.sections[std::size_t(k)], c.sectionDifferences[std::size_t(k)])
                              : QString());
        rows.push_back(row);
    }
    const auto figureRow = [&](const QString& caption, const auto& text) {
        Row row{Row::Kind::Cells, caption, {}, {}};
        for (const ComparedSessionLap& lap : content.laps)
            row.cells << text(lap.figures);
        rows.push_back(row);
    };
    figureRow(t.texts[compareSessionBest], [](const SessionFigures& f) { return timeText(f.bestTime); });
    figureRow(t.texts[libraryTheoretical], [](const SessionFigures& f) { return timeText(f.theoreticalBest); });
    figureRow(t.texts[libraryWindowCount],
              [](const SessionFigures& f) { return f.consistency ? QString::number(f.consistency->windowCount) : QString(); });
    figureRow(t.texts[librarySpread], [](const SessionFigures& f) {
        return f.consistency ? lapTimeText(float(std::lround(f.consistency->spread))) : QString();
    });
}

void overlayRows(std::vector<Row>& rows, const ComparisonContent& content)
{
    const TextTables& t = content.tables;
    std::vector<Row> readings = readingRows(content);
    readings.resize(ReadingLines, Row{Row::Kind::Reading, {}, {}, {}});
    rows.insert(rows.end(), readings.begin(), readings.end());
    Row durations{Row::Kind::Cells, t.texts[compareLapTime], {}, {}};
    for (const ComparedSessionLap& lap : content.laps)
        durations.cells << timeText(lap.lap.time);
    rows.push_back(durations);
    const auto figureRow = [&](const QString& caption, const auto& text) {
        Row row{Row::Kind::Cells, caption, {}, {}};
        for (const LapRpmFigures& f : content.figures.rpm)
            row.cells << text(f);
        rows.push_back(row);
    };
    figureRow(t.texts[overlayMaximum], [](const LapRpmFigures& f) { return QString::number(f.maximum); });
    figureRow(t.texts[overlayMinimum], [](const LapRpmFigures& f) { return QString::number(f.minimum); });
    figureRow(t.texts[overlayMean], [](const LapRpmFigures& f) { return QString::number(std::lround(f.mean)); });
}

void setupRows(std::vector<Row>& rows, const ComparisonContent& content)
{
    const TextTables& t = content.tables;
    std::map<QString, QString> captions;
    for (const SetupField& f : setupFields())
        captions[f.key] = t.texts[f.caption]
                          + (f.temperature ? QStringLiteral(" (%1)").arg(temperatureUnitCaption(content.temperatureUnit)) : QString());
    rows.push_back({Row::Kind::Caption, t.texts[compareWhatChanged], {}, {}});
    for (const SetupComparisonRow& setup : content.figures.setups)
        rows.push_back({Row::Kind::Cells, captions.at(setup.key), setup.values, setup.differs});
}

std::vector<Row> pageRows(const ComparisonContent& content, PageRows part)
{
    std::vector<Row> rows;
    if (content.laps.empty())
        return rows;
    if (part != PageRows::Setups) {
        rows.push_back({Row::Kind::Labels, {}, {}, {}});
        if (engineSpeed(content))
            overlayRows(rows, content);
        else
            timeRows(rows, content);
    }
    if (part != PageRows::Tables)
        setupRows(rows, content);
    return rows;
}

// The page's grid: a caption column, then a column per lap.
struct Grid {
    QRectF area;
    double line = 0;
    int laps = 1;

    double captionWidth() const { return area.width() * 0.24; }
    QRectF caption(double y) const { return {area.left(), y, captionWidth(), line}; }
    QRectF cell(double y, int lap) const
    {
        const double width = (area.width() - captionWidth()) / laps;
        return {area.left() + captionWidth() + lap * width, y, width, line};
    }
};

// A text in its box, fitted; the lines of a wrapped text stacked in the middle.
void drawFitted(QPainter& p, const QRectF& box, Qt::Alignment align, const QString& text, LongText longText)
{
    const FittedText fitted = fitText(text, p.font(), box.size(), longText);
    p.save();
    p.setFont(fitted.font);
    const double spacing = QFontMetricsF(fitted.font).lineSpacing();
    double y = box.center().y() - spacing * double(fitted.lines.size()) / 2;
    for (const QString& line : fitted.lines) {
        p.drawText(QRectF(box.left(), y, box.width(), spacing), align | Qt::AlignVCenter, line);
        y += spacing;
    }
    p.restore();
}

void drawCells(QPainter& p, const Grid& grid, double y, const Row& row, LongText longText)
{
    p.setPen(QColor(200, 200, 200));
    p.drawLine(QPointF(grid.area.left(), y + grid.line), QPointF(grid.area.right(), y + grid.line));
    p.setPen(Qt::black);
    drawFitted(p, grid.caption(y).adjusted(4, 0, -4, 0), Qt::AlignLeft, row.caption, longText);
    const QFont plain = p.font();
    for (int i = 0; i < int(row.cells.size()); ++i) {
        const bool mark = std::size_t(i) < row.marked.size() && row.marked[std::size_t(i)];
        QFont font = plain;
        font.setBold(mark);
        p.setFont(font);
        p.setPen(mark ? QColor(200, 0, 0) : QColor(Qt::black));
        drawFitted(p, grid.cell(y, i).adjusted(4, 0, -4, 0), Qt::AlignRight, row.cells[i], longText);
    }
    p.setFont(plain);
    p.setPen(Qt::black);
}

QString labelText(const ComparisonContent& content, std::size_t lap)
{
    return content.laps[lap].label
        + (int(lap) == content.figures.reference ? QStringLiteral(" (%1)").arg(content.tables.texts[compareReference])
                                                  : QString());
}

// The laps' labels, each over a band of its lap's colour.
void drawLabels(QPainter& p, const Grid& grid, double y, const ComparisonContent& content, LongText longText)
{
    Row labels{Row::Kind::Cells, {}, {}, {}};
    for (std::size_t i = 0; i < content.laps.size(); ++i) {
        const QRectF cell = grid.cell(y, int(i));
        p.fillRect(QRectF(cell.left() + 4, cell.bottom() - grid.line * 0.18, cell.width() - 8, grid.line * 0.14),
                   colourOf(content.laps[i].colour));
        labels.cells << labelText(content, i);
    }
    drawCells(p, grid, y, labels, longText);
}

void drawCaption(QPainter& p, const Grid& grid, double y, const QString& text)
{
    p.save();
    QFont bold = p.font();
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(QRectF(grid.area.left(), y, grid.area.width(), grid.line).adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.restore();
}

void paintTitle(QPainter& p, const QRectF& area, const QString& text)
{
    p.save();
    QFont font = p.font();
    font.setPixelSize(std::max(6, int(area.height() * 0.6)));
    font.setBold(true);
    p.setFont(font);
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text);
    p.restore();
}

}  // namespace

void workOutFigures(ComparisonContent& content)
{
    content.figures = comparisonFigures(content.laps, content.reference, content.alignment, content.temperatureUnit,
                                        decimalSeparatorOf(content.tables.language), content.speedUnit);
    content.readings = {};
}

int pageLines(const ComparisonContent& content, PageRows rows)
{
    return int(pageRows(content, rows).size());
}

FittedText fitText(const QString& text, const QFont& font, const QSizeF& cell, LongText longText)
{
    const double width = std::max(1.0, cell.width());
    if (QFontMetricsF(font).horizontalAdvance(text) <= width)
        return {{text}, font};
    if (longText == LongText::Elided)
        return {{QFontMetricsF(font).elidedText(text, Qt::ElideMiddle, width)}, font};
    FittedText fitted{{}, font};
    // A remark may run to pages: the report shows its beginning.
    constexpr qsizetype MostWrapped = 400;
    const QString shown = text.size() > MostWrapped ? text.left(MostWrapped) + QChar(0x2026) : text;
    const int largest = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    for (int size = largest; size >= 4; --size) {
        fitted.font.setPixelSize(size);
        const QFontMetricsF m(fitted.font);
        fitted.lines.clear();
        QString line;
        for (const QString& word : shown.split(QLatin1Char(' '))) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (m.horizontalAdvance(longer) <= width) {
                line = longer;
                continue;
            }
            if (!line.isEmpty())
                fitted.lines << line;
            line = word;
            // A word wider than the cell is cut where it reaches the edge.
            while (m.horizontalAdvance(line) > width && line.size() > 1) {
                qsizetype fits = 1;
                while (fits < line.size() && m.horizontalAdvance(line.left(fits + 1)) <= width)
                    ++fits;
                fitted.lines << line.left(fits);
                line = line.mid(fits);
            }
        }
        fitted.lines << line;
        if (m.lineSpacing() * double(fitted.lines.size()) <= cell.height())
            break;
    }
    return fitted;
}

QString pageTextAt(const QRectF& area, const ComparisonContent& content, PageRows part, const QPointF& at)
{
    const std::vector<Row> rows = pageRows(content, part);
    if (rows.empty() || !area.contains(at))
        return {};
    const Grid grid{area, area.height() / double(rows.size()), int(content.laps.size())};
    const auto r = std::size_t((at.y() - area.top()) / grid.line);
    if (r >= rows.size())
        return {};
    const Row& row = rows[r];
    if (at.x() < area.left() + grid.captionWidth())
        return row.caption;
    const auto lap = std::size_t((at.x() - area.left() - grid.captionWidth()) / ((area.width() - grid.captionWidth()) / grid.laps));
    if (row.kind == Row::Kind::Labels)
        return lap < content.laps.size() ? legendName(content.laps[lap])
                                              + (int(lap) == content.figures.reference
                                                     ? QStringLiteral(" (%1)").arg(content.tables.texts[compareReference])
                                                     : QString())
                                         : QString();
    return lap < std::size_t(row.cells.size()) ? row.cells[qsizetype(lap)] : QString();
}

void paintPage(QPainter& p, const QRectF& area, const ComparisonContent& content, PageRows part, PaintLayer layer,
               LongText longText)
{
    const std::vector<Row> rows = pageRows(content, part);
    if (rows.empty())
        return;
    const Grid grid{area, area.height() / double(rows.size()), int(content.laps.size())};
    QFont font = p.font();
    font.setPixelSize(std::max(6, int(grid.line * 0.6)));
    p.setFont(font);
    double y = area.top();
    for (const Row& row : rows) {
        const bool cursor = row.kind == Row::Kind::Reading;
        if (layer == PaintLayer::Cursor && cursor)
            p.fillRect(QRectF(area.left(), y, area.width(), grid.line), Qt::white);
        if ((layer == PaintLayer::Cursor) == cursor || layer == PaintLayer::Whole) {
            switch (row.kind) {
            case Row::Kind::Caption: drawCaption(p, grid, y, row.caption); break;
            case Row::Kind::Labels: drawLabels(p, grid, y, content, longText); break;
            case Row::Kind::Cells:
            case Row::Kind::Reading: drawCells(p, grid, y, row, longText); break;
            }
        }
        y += grid.line;
    }
}

QStringList pageTextLines(const ComparisonContent& content, PageRows part)
{
    QStringList lines;
    for (const Row& row : pageRows(content, part)) {
        if (row.kind == Row::Kind::Labels) {
            QStringList labels;
            for (const ComparedSessionLap& lap : content.laps)
                labels << lap.label;
            lines << labels.join(QStringLiteral(" | "));
        } else if (row.kind == Row::Kind::Caption) {
            lines << row.caption;
        } else {
            lines << row.caption + QStringLiteral(": ") + row.cells.join(QStringLiteral(" | "));
        }
    }
    return lines;
}

QStringList cursorReadingLines(const ComparisonContent& content)
{
    if (!engineSpeed(content) || !content.readings.cursor)
        return {};
    QStringList lines;
    for (const Row& row : readingRows(content))
        lines << row.caption + QStringLiteral(": ") + row.cells.join(QStringLiteral(" | "));
    return lines;
}

// The tables at the top of the first page and the main chart under them;
// engine-speed laps put their histograms and setup sheets on a second page.
bool writeComparisonReport(const QString& path, const ComparisonContent& content, QString* errorText)
{
    return writePdf(path, content.tables.texts[compareTitle], [&](QPdfWriter& pdf, QCPPainter& p) {
        const QRectF page(0, 0, pdf.width(), pdf.height());
        const double line = page.height() / ReportLines;
        const double scale = page.width() / ReportPlotWidth;
        paintTitle(p, QRectF(0, 0, page.width(), line * 1.5), content.tables.texts[compareTitle]);
        double y = line * 1.5;
        const int tables = pageLines(content, PageRows::Tables);
        paintPage(p, QRectF(0, y, page.width(), tables * line), content, PageRows::Tables, PaintLayer::Whole,
                  LongText::Wrapped);
        y += (tables + 0.5) * line;
        const int setups = pageLines(content, PageRows::Setups);
        if (engineSpeed(content)) {
            OverlayPlot overlay;
            overlay.showLaps(content);
            overlay.paintInto(p, QRectF(0, y, page.width(), page.height() - y), scale);
            pdf.newPage();
            HistogramPlot histograms;
            histograms.showHistograms(content);
            histograms.paintInto(p, QRectF(0, 0, page.width(), page.height() - (setups + 1) * line), scale);
        } else if (!content.laps.empty()) {
            SectionBarsPlot bars;
            bars.showSections(content);
            bars.paintInto(p, QRectF(0, y, page.width(), page.height() - y - (setups + 0.5) * line), scale);
        }
        paintPage(p, QRectF(0, page.height() - setups * line, page.width(), setups * line), content, PageRows::Setups,
                  PaintLayer::Whole, LongText::Wrapped);
        if (content.sprockets) {
            pdf.newPage();
            paintSprocketsPage(p, page, *content.sprockets, content.tables, scale);
        }
    }, errorText);
}

}  // namespace tormel
