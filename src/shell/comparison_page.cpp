#include "shell/comparison_page.h"

#include "charts/cursor_rules.h"
#include "laps/conversions.h"
#include "shell/session_report.h"

#include <QPainter>
#include <QPolygonF>
#include <QPdfWriter>

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <map>

namespace tormel {

namespace {

// Lines of text the page needs besides the sections and the setup fields:
// the title, the table's header and its six rows, two captions, the chart.
constexpr double FixedLines = 1 + 1 + 6 + 2 + 9;

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

void drawRow(QPainter& p, const Grid& grid, double y, const QString& caption, const QStringList& cells,
             const std::vector<bool>& marked = {})
{
    p.setPen(QColor(200, 200, 200));
    p.drawLine(QPointF(grid.area.left(), y + grid.line), QPointF(grid.area.right(), y + grid.line));
    p.setPen(Qt::black);
    p.drawText(grid.caption(y).adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, caption);
    const QFont plain = p.font();
    for (int i = 0; i < int(cells.size()); ++i) {
        const bool mark = std::size_t(i) < marked.size() && marked[std::size_t(i)];
        QFont font = plain;
        font.setBold(mark);
        p.setFont(font);
        p.setPen(mark ? QColor(200, 0, 0) : QColor(Qt::black));
        p.drawText(grid.cell(y, i).adjusted(4, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, cells[i]);
    }
    p.setFont(plain);
    p.setPen(Qt::black);
}

// The laps' labels, each over a band of its lap's colour.
void drawLapLabels(QPainter& p, const Grid& grid, double y, const ComparisonContent& content, int reference)
{
    QStringList labels;
    for (std::size_t i = 0; i < content.laps.size(); ++i) {
        const QRectF cell = grid.cell(y, int(i));
        p.fillRect(QRectF(cell.left() + 4, cell.bottom() - grid.line * 0.18, cell.width() - 8, grid.line * 0.14),
                   colourOf(content.laps[i].colour));
        labels << content.laps[i].label
                      + (int(i) == reference ? QStringLiteral(" (%1)").arg(content.tables.texts[compareReference]) : QString());
    }
    drawRow(p, grid, y, QString(), labels);
}

double drawTimes(QPainter& p, const Grid& grid, double y, const ComparisonContent& content, const LapComparison& comparison)
{
    const TextTables& t = content.tables;
    drawLapLabels(p, grid, y, content, comparison.reference);
    y += grid.line;
    QStringList cells;
    for (const ComparedColumn& c : comparison.columns)
        cells << withDifference(c.times.time, c.timeDifference);
    drawRow(p, grid, y, t.texts[compareLapTime], cells);
    y += grid.line;
    for (int k = 0; k < comparison.sectionCount; ++k) {
        cells.clear();
        for (const ComparedColumn& c : comparison.columns)
            cells << (std::size_t(k) < c.times.sections.size()
                          ? withDifference(c.times.sections[std::size_t(k)], c.sectionDifferences[std::size_t(k)])
                          : QString());
        drawRow(p, grid, y, t.texts[bestsSection].arg(k + 1), cells);
        y += grid.line;
    }
    const auto figureRow = [&](const QString& caption, const auto& text) {
        QStringList row;
        for (const ComparedSessionLap& lap : content.laps)
            row << text(lap.figures);
        drawRow(p, grid, y, caption, row);
        y += grid.line;
    };
    figureRow(t.texts[compareSessionBest], [](const SessionFigures& f) { return timeText(f.bestTime); });
    figureRow(t.texts[libraryTheoretical], [](const SessionFigures& f) { return timeText(f.theoreticalBest); });
    figureRow(t.texts[libraryWindowCount],
              [](const SessionFigures& f) { return f.consistency ? QString::number(f.consistency->windowCount) : QString(); });
    figureRow(t.texts[librarySpread], [](const SessionFigures& f) {
        return f.consistency ? lapTimeText(float(std::lround(f.consistency->spread))) : QString();
    });
    return y;
}

// Per section, a bar per lap other than the reference: up when slower.
void drawSectionBars(QPainter& p, const Grid& grid, const QRectF& area, const ComparisonContent& content,
                     const LapComparison& comparison)
{
    const int sections = comparison.sectionCount;
    if (sections == 0)
        return;
    std::int32_t largest = 1;
    for (const ComparedColumn& c : comparison.columns)
        for (const auto& d : c.sectionDifferences)
            largest = std::max(largest, d ? std::abs(*d) : 0);
    const double zero = area.center().y();
    const double scale = (area.height() / 2 - grid.line) / largest;
    const double groupWidth = area.width() / sections;
    const double barWidth = groupWidth * 0.8 / std::max<std::size_t>(1, comparison.columns.size() - 1);
    p.setPen(Qt::black);
    p.drawLine(QPointF(area.left(), zero), QPointF(area.right(), zero));
    for (int k = 0; k < sections; ++k) {
        const double groupLeft = area.left() + k * groupWidth;
        p.drawText(QRectF(groupLeft, area.bottom() - grid.line, groupWidth, grid.line), Qt::AlignCenter,
                   content.tables.texts[bestsSection].arg(k + 1));
        int bar = 0;
        for (std::size_t i = 0; i < comparison.columns.size(); ++i) {
            if (int(i) == comparison.reference)
                continue;
            const double left = groupLeft + groupWidth * 0.1 + bar++ * barWidth;
            const auto& difference = comparison.columns[i].sectionDifferences[std::size_t(k)];
            if (!difference)
                continue;
            const double height = *difference * scale;
            const QRectF rect(QPointF(left, zero - std::max(height, 0.0)), QSizeF(barWidth * 0.9, std::abs(height)));
            p.fillRect(rect, colourOf(content.laps[i].colour));
            const QRectF text(left, height >= 0 ? rect.top() - grid.line : rect.bottom(), barWidth, grid.line);
            p.drawText(text, Qt::AlignCenter, differenceText(*difference));
        }
    }
}

double drawSetups(QPainter& p, const Grid& grid, double y, const ComparisonContent& content, int reference)
{
    const TextTables& t = content.tables;
    std::map<QString, QString> captions;
    for (const SetupField& f : setupFields())
        captions[f.key] = t.texts[f.caption]
                          + (f.temperature ? QStringLiteral(" (%1)").arg(temperatureUnitCaption(content.temperatureUnit)) : QString());
    std::vector<SetupSheet> sheets;
    for (const ComparedSessionLap& lap : content.laps)
        sheets.push_back(lap.setup);
    for (const SetupComparisonRow& row : compareSetups(sheets, reference, content.temperatureUnit)) {
        drawRow(p, grid, y, captions.at(row.key), row.values, row.differs);
        y += grid.line;
    }
    return y;
}

QString rpmText(const std::optional<double>& rpm, bool signedText = false)
{
    if (!rpm)
        return QString();
    const long value = std::lround(*rpm);
    return (signedText && value > 0 ? QStringLiteral("+") : QString()) + QString::number(value);
}

QString secondsText(const std::optional<double>& seconds, bool signedText = false)
{
    if (!seconds)
        return QString();
    return (signedText && *seconds > 0 ? QStringLiteral("+") : QString()) + QString::number(*seconds, 'f', 2);
}

// Each lap's trace in its colour, against time into the lap or the fraction
// of it; the cursor as a vertical line, painted apart.
struct TraceScale {
    TracePlot plot;
    double low = 0;
    double high = 1;
    QPointF at(double x, double rpm) const
    {
        const QRectF& a = plot.plot;
        return {a.left() + (x - plot.from) / (plot.to - plot.from) * a.width(), a.bottom() - (rpm - low) / (high - low) * a.height()};
    }
};

TraceScale traceScale(const QRectF& area, const ComparisonContent& content, const std::vector<OverlayLap>& laps)
{
    TraceScale scale{{area, 0, 1}, 0, 1};
    if (content.alignment == Alignment::Time) {
        scale.plot.to = 0.2;
        for (const OverlayLap& lap : laps)
            scale.plot.to = std::max(scale.plot.to, lapSeconds(lap));
    }
    float high = 1;
    float low = 1e9F;
    for (const OverlayLap& lap : laps)
        for (const float rpm : lap.rpm) {
            high = std::max(high, rpm);
            low = std::min(low, rpm);
        }
    scale.low = std::min(low, high) * 0.9;
    scale.high = high * 1.05;
    return scale;
}

void drawTraces(QPainter& p, const TraceScale& scale, const ComparisonContent& content, const std::vector<OverlayLap>& laps)
{
    p.setPen(QColor(200, 200, 200));
    p.drawRect(scale.plot.plot);
    for (std::size_t i = 0; i < laps.size(); ++i) {
        const OverlayLap& lap = laps[i];
        QPolygonF line;
        line.reserve(qsizetype(lap.rpm.size()));
        for (int s = 0; s < int(lap.rpm.size()); ++s)
            line << scale.at(overlayX(lap, s, content.alignment), lap.rpm[std::size_t(s)]);
        QPen pen(colourOf(content.laps[i].colour));
        pen.setWidthF(int(i) == content.reference ? 2.5 : 1.5);
        p.setPen(pen);
        p.drawPolyline(line);
    }
}

// The time each lap spent in each class, as a line per lap, over the
// classes any lap reached; their engine speeds at the ends.
void drawHistograms(QPainter& p, const QRectF& area, const ComparisonContent& content, const CommonHistograms& common)
{
    p.setPen(QColor(200, 200, 200));
    p.drawRect(area);
    double most = 0.2;
    std::size_t first = SIZE_MAX;
    std::size_t last = 0;
    for (const auto& lap : common.seconds)
        for (std::size_t k = 0; k < lap.size(); ++k)
            if (lap[k] > 0) {
                most = std::max(most, lap[k]);
                first = std::min(first, k);
                last = std::max(last, k);
            }
    if (first == SIZE_MAX)
        return;
    const double classes = double(last - first + 1);
    for (std::size_t i = 0; i < common.seconds.size(); ++i) {
        QPolygonF line;
        for (std::size_t k = first; k <= last && k < common.seconds[i].size(); ++k)
            line << QPointF(area.left() + (double(k - first) + 0.5) * area.width() / classes,
                            area.bottom() - common.seconds[i][k] / most * area.height());
        QPen pen(colourOf(content.laps[i].colour));
        pen.setWidthF(1.5);
        p.setPen(pen);
        p.drawPolyline(line);
    }
    p.setPen(Qt::black);
    const QRectF ends(area.left() + 4, area.top(), area.width() - 8, area.height());
    p.drawText(ends, Qt::AlignLeft | Qt::AlignTop, QString::number(first * std::size_t(common.classWidth)));
    p.drawText(ends, Qt::AlignRight | Qt::AlignTop, QString::number((last + 1) * std::size_t(common.classWidth)));
}

double drawCaption(QPainter& p, const Grid& grid, double y, const QString& text)
{
    p.save();
    QFont bold = p.font();
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(QRectF(grid.area.left(), y, grid.area.width(), grid.line).adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.restore();
    return y + grid.line;
}

// Where the overlay's parts go, down the page.
struct OverlayRows {
    double tracesTop = 0;
    double readingsTop = 0;  // after the lap times
    static constexpr int ReadingLines = 5;
};

// All but what the cursor changes.
void paintOverlayPage(QPainter& p, const QRectF& area, const ComparisonContent& content, const Grid& grid,
                      const std::vector<OverlayLap>& laps, const TraceScale& scale, const OverlayRows& rows)
{
    const TextTables& t = content.tables;
    double y = drawCaption(p, grid, area.top(),
                           t.texts[overlayTitle] + QStringLiteral(" - ")
                               + t.texts[content.alignment == Alignment::Time ? overlayTime : overlayFraction]);
    drawLapLabels(p, grid, y, content, content.reference);
    QStringList durations;
    for (const ComparedSessionLap& lap : content.laps)
        durations << timeText(lap.lap.time);
    drawTraces(p, scale, content, laps);
    drawRow(p, grid, rows.tracesTop + grid.line * 10, t.texts[compareLapTime], durations);
    y = rows.readingsTop + grid.line * OverlayRows::ReadingLines;
    const auto figureRow = [&](const QString& caption, const auto& text) {
        QStringList row;
        for (const OverlayLap& lap : laps)
            row << text(lapRpmFigures(lap));
        drawRow(p, grid, y, caption, row);
        y += grid.line;
    };
    figureRow(t.texts[overlayMaximum], [](const LapRpmFigures& f) { return QString::number(f.maximum); });
    figureRow(t.texts[overlayMinimum], [](const LapRpmFigures& f) { return QString::number(f.minimum); });
    figureRow(t.texts[overlayMean], [](const LapRpmFigures& f) { return QString::number(std::lround(f.mean)); });
    const CommonHistograms common = commonHistograms(laps);
    y = drawCaption(p, grid, y,
                    t.texts[overlayHistograms] + QStringLiteral(" (") + t.texts[overlayClassWidth].arg(common.classWidth)
                        + QStringLiteral(")"));
    drawHistograms(p, QRectF(area.left(), y, area.width(), grid.line * 5), content, common);
    y = drawCaption(p, grid, y + grid.line * 5, t.texts[compareWhatChanged]);
    drawSetups(p, grid, y, content, content.reference);
}

// The two markers' readings on the reference lap, as the single charts give them.
QString markerText(const ComparisonContent& content, const OverlayLap& base)
{
    const auto sample = [&](double x) {
        return content.alignment == Alignment::Time ? x / OverlaySampleSeconds
                                                    : x * double(std::max<std::size_t>(1, base.rpm.size() - 1));
    };
    const auto rpm = [&](double x) { return int(std::lround(rpmAt(base, x, content.alignment).value_or(0))); };
    const MarkerDifferences d = markerDifferences(sample(*content.leftMarker) + 1e-9, sample(*content.rightMarker) + 1e-9,
                                                  rpm(*content.leftMarker), rpm(*content.rightMarker), QLatin1Char('.'));
    return QStringLiteral("%1 s   %2   %3").arg(d.secondsText, d.rpmDifferenceText, d.rateText.value_or(QString()));
}

// The readings' rows: the cursor's place and each lap's engine speed there,
// the differences to the reference, on the fraction each lap's time into the
// lap, and the markers' readings under the reference lap.
std::vector<std::pair<QString, QStringList>> readingRows(const ComparisonContent& content, const std::vector<OverlayLap>& laps)
{
    const TextTables& t = content.tables;
    const int reference = std::clamp(content.reference, 0, int(laps.size()) - 1);
    const std::vector<CursorReading> readings = content.cursor
                                                     ? cursorReadings(laps, content.reference, *content.cursor, content.alignment)
                                                     : std::vector<CursorReading>(laps.size());
    std::vector<std::pair<QString, QStringList>> rows;
    const auto readingRow = [&](const QString& caption, const auto& text) {
        QStringList row;
        for (const CursorReading& r : readings)
            row << text(r);
        rows.emplace_back(caption, row);
    };
    readingRow(t.texts[overlayCursor] + QStringLiteral(" ") + secondsText(content.cursor),
               [](const CursorReading& r) { return rpmText(r.rpm); });
    readingRow(t.texts[overlayRpmDifference], [](const CursorReading& r) { return rpmText(r.rpmDifference, true); });
    if (content.alignment == Alignment::Fraction) {
        readingRow(t.texts[overlayTime], [](const CursorReading& r) { return secondsText(r.seconds); });
        readingRow(t.texts[overlayTimeDifference], [](const CursorReading& r) { return secondsText(r.secondsDifference, true); });
    }
    if (content.leftMarker && content.rightMarker) {
        QStringList row;
        for (std::size_t i = 0; i < laps.size(); ++i)
            row << (int(i) == reference ? markerText(content, laps[i]) : QString());
        rows.emplace_back(t.texts[overlayMarkersOnReference], row);
    }
    return rows;
}

// The cursor's line and readings and the markers, over a background of
// their own when painted alone.
void paintOverlayCursor(QPainter& p, const QRectF& area, const ComparisonContent& content, const Grid& grid,
                        const std::vector<OverlayLap>& laps, const TraceScale& scale, const OverlayRows& rows, bool alone)
{
    const int reference = std::clamp(content.reference, 0, int(laps.size()) - 1);
    if (content.cursor) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.drawLine(scale.at(*content.cursor, scale.low), scale.at(*content.cursor, scale.high));
    }
    for (const auto& marker : {content.leftMarker, content.rightMarker}) {
        if (!marker)
            continue;
        p.setPen(QPen(colourOf(content.laps[std::size_t(reference)].colour), 1));
        p.drawLine(scale.at(*marker, scale.low), scale.at(*marker, scale.high));
    }
    if (alone)
        p.fillRect(QRectF(area.left(), rows.readingsTop, area.width(), grid.line * OverlayRows::ReadingLines), Qt::white);
    double y = rows.readingsTop;
    for (const auto& [caption, cells] : readingRows(content, laps)) {
        drawRow(p, grid, y, caption, cells);
        y += grid.line;
    }
}

// The page of engine-speed laps; `layer` paints the whole of it, or all
// but what the cursor changes, or only that, so a cursor step repaints little.
TracePlot paintOverlay(QPainter& p, const QRectF& area, const ComparisonContent& content, const Grid& grid, PaintLayer layer)
{
    std::vector<OverlayLap> laps;
    for (const ComparedSessionLap& lap : content.laps)
        laps.push_back(lap.trace);
    OverlayRows rows;
    rows.tracesTop = area.top() + 2 * grid.line;
    rows.readingsTop = rows.tracesTop + grid.line * 11;
    const TraceScale scale = traceScale(QRectF(area.left(), rows.tracesTop, area.width(), grid.line * 10), content, laps);
    if (layer != PaintLayer::Cursor)
        paintOverlayPage(p, area, content, grid, laps, scale, rows);
    if (layer != PaintLayer::Page)
        paintOverlayCursor(p, area, content, grid, laps, scale, rows, layer == PaintLayer::Cursor);
    return scale.plot;
}

}  // namespace

QStringList cursorReadingLines(const ComparisonContent& content)
{
    if (content.laps.empty() || content.laps.front().kind != RecordKind::EngineSpeed || !content.cursor)
        return {};
    std::vector<OverlayLap> laps;
    for (const ComparedSessionLap& lap : content.laps)
        laps.push_back(lap.trace);
    QStringList lines;
    for (const auto& [caption, cells] : readingRows(content, laps))
        lines << caption + QStringLiteral(": ") + cells.join(QStringLiteral(" | "));
    return lines;
}

TracePlot paintComparison(QPainter& p, const QRectF& area, const ComparisonContent& content, PaintLayer layer)
{
    if (content.laps.empty())
        return {};
    if (content.laps.front().kind != RecordKind::EngineSpeed && layer == PaintLayer::Cursor)
        return {};  // lap times have no cursor
    if (content.laps.front().kind == RecordKind::EngineSpeed) {
        // Title, labels, traces (10), lap times and readings (1 + 5), figures (3), histograms (1 + 5), the sheets.
        const int setupFields = int(compareSetups({SetupSheet{}}, 0, TemperatureUnit::Celsius).size());
        Grid grid{area, area.height() / (2 + 10 + 6 + 3 + 6 + 1 + setupFields), int(content.laps.size())};
        QFont font = p.font();
        font.setPixelSize(std::max(6, int(grid.line * 0.6)));
        p.setFont(font);
        return paintOverlay(p, area, content, grid, layer);
    }
    std::vector<LapTimes> times;
    for (const ComparedSessionLap& lap : content.laps)
        times.push_back(lap.lap);
    const LapComparison comparison = compareLaps(times, content.reference);
    const int setupFields = int(compareSetups({SetupSheet{}}, 0, TemperatureUnit::Celsius).size());
    Grid grid{area, area.height() / (FixedLines + comparison.sectionCount + setupFields), int(content.laps.size())};
    QFont font = p.font();
    font.setPixelSize(std::max(6, int(grid.line * 0.6)));
    p.setFont(font);
    QFont bold = font;
    bold.setBold(true);

    p.save();
    p.setFont(bold);
    p.drawText(QRectF(area.left(), area.top(), area.width(), grid.line), Qt::AlignLeft | Qt::AlignVCenter,
               content.tables.texts[compareTitle]);
    p.restore();
    double y = drawTimes(p, grid, area.top() + grid.line, content, comparison);

    p.save();
    p.setFont(bold);
    p.drawText(grid.caption(y).adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, content.tables.texts[compareSectionBars]);
    p.restore();
    y += grid.line;
    drawSectionBars(p, grid, QRectF(area.left(), y, area.width(), grid.line * 9), content, comparison);
    y += grid.line * 9;

    p.save();
    p.setFont(bold);
    p.drawText(grid.caption(y).adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, content.tables.texts[compareWhatChanged]);
    p.restore();
    drawSetups(p, grid, y + grid.line, content, comparison.reference);
    return {};
}

bool writeComparisonReport(const QString& path, const ComparisonContent& content, QString* errorText)
{
    return writePdf(path, content.tables.texts[compareTitle],
                    [&](QPdfWriter& pdf, QPainter& p) { paintComparison(p, QRectF(0, 0, pdf.width(), pdf.height()), content); },
                    errorText);
}

}  // namespace tormel
