#include "shell/comparison_plots.h"

#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace tormel {

namespace {

// Pixel-sized fonts measure the same on screen and in a report's painter.
constexpr int FontPixels = 12;
constexpr int TitlePixels = 14;
constexpr int LegendTextPixels = 260;  // a legend's line, elided beyond
constexpr double ReferencePen = 2.6;
constexpr double LapPen = 1.3;
const QColor gridColour(228, 228, 228);

QFont pixelFont(int pixels, bool bold = false)
{
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QColor colourOf(Rgb c)
{
    return {c.r, c.g, c.b};
}

// Tick labels as plain numbers, never grouped (8000, 10000); `factor` turns
// the fraction of the lap into % or metres, on round steps of those,
// `step` puts ticks on class bounds.
class PlainTicker : public QCPAxisTicker {
public:
    explicit PlainTicker(double factor = 1, double step = 0)
        : factor_(factor)
        , step_(step)
    {
    }

protected:
    double getTickStep(const QCPRange& range) override
    {
        if (step_ > 0)
            return step_;
        return QCPAxisTicker::getTickStep(QCPRange(range.lower * factor_, range.upper * factor_)) / factor_;
    }
    QString getTickLabel(double tick, const QLocale& locale, QChar, int) override
    {
        // Rounded, so that a sum of steps prints as the number it stands for.
        return locale.toString(std::round(tick * factor_ * 1e6) / 1e6, 'g', 10);
    }

private:
    double factor_;
    double step_;
};

}  // namespace

QSharedPointer<QCPAxisTicker> plainTicker(double factor, double step)
{
    return QSharedPointer<PlainTicker>::create(factor, step);
}

QLocale plotLocale(Language language)
{
    QLocale locale = languageLocale(language);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QString legendName(const ComparedSessionLap& lap)
{
    QStringList parts;
    if (!lap.track.isEmpty())
        parts << lap.track;
    parts << lap.label;
    if (!lap.path.isEmpty())
        parts << QFileInfo(lap.path).fileName();
    return parts.join(QStringLiteral(", "));
}

QCPRange rangeWithRoom(double low, double high, double leftPixels, double rightPixels, double axisPixels)
{
    if (high <= low)
        high = low + 1;
    // Never less than a fifth of the axis for the bars themselves.
    const double room = std::min(leftPixels + rightPixels, axisPixels * 0.8);
    const double scale = room > 0 ? room / (leftPixels + rightPixels) : 0;
    const double span = (high - low) / (1 - room / std::max(1.0, axisPixels));
    return {low - leftPixels * scale * span / std::max(1.0, axisPixels), high + rightPixels * scale * span / std::max(1.0, axisPixels)};
}

ComparisonPlot::ComparisonPlot(QWidget* parent)
    : QCustomPlot(parent)
{
    setNoAntialiasingOnDrag(true);
    // A lap's few hundred points joined as one polyline: the joins are not
    // seen at these widths, and a redraw costs a third.
    setPlottingHint(QCP::phFastPolylines);
    legend->setFont(pixelFont(FontPixels));
    legend->setBrush(QColor(255, 255, 255, 220));
    legend->setBorderPen(QPen(gridColour));
    legend->setIconSize(20, 10);
}

void ComparisonPlot::setTitle(const QString& text)
{
    if (!title_) {
        plotLayout()->insertRow(0);
        title_ = new QCPTextElement(this, text, pixelFont(TitlePixels, true));
        plotLayout()->addElement(0, 0, title_);
    }
    title_->setText(text);
}

void ComparisonPlot::styleAxis(QCPAxis* axis, const QString& title)
{
    axis->setLabel(title);
    axis->setLabelFont(pixelFont(FontPixels));
    axis->setTickLabelFont(pixelFont(FontPixels));
    axis->grid()->setPen(QPen(gridColour, 0));
    axis->grid()->setSubGridVisible(false);
    axis->setSubTicks(false);
}

void ComparisonPlot::nameInLegend(QCPAbstractPlottable* plottable, const QString& name)
{
    plottable->setName(QFontMetrics(legend->font()).elidedText(name, Qt::ElideRight, LegendTextPixels));
    names_.emplace_back(plottable, name);
}

void ComparisonPlot::clearLaps()
{
    clearPlottables();
    names_.clear();
}

bool ComparisonPlot::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && legend->visible()) {
        const auto* help = static_cast<QHelpEvent*>(event);
        for (const auto& [plottable, name] : names_) {
            const QCPPlottableLegendItem* item = legend->itemWithPlottable(plottable);
            if (item && item->outerRect().contains(help->pos())) {
                QToolTip::showText(help->globalPos(), name, this);
                return true;
            }
        }
    }
    return QCustomPlot::event(event);
}

void ComparisonPlot::paintInto(QCPPainter& painter, const QRectF& target, double scale)
{
    const QSize size(int(target.width() / scale), int(target.height() / scale));
    setViewport(QRect(QPoint(0, 0), size));
    updateLayout();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    toPainter(&painter, size.width(), size.height());
    drawOver(painter);
    painter.restore();
}

void ComparisonPlot::drawOver(QPainter&) const {}

QCPAxisRect* ComparisonPlot::addPanelBelow(int upper, int lower)
{
    auto* panel = new QCPAxisRect(this);
    plotLayout()->addElement(1, 0, panel);
    plotLayout()->setRowStretchFactors({double(upper), double(lower)});
    auto* margins = new QCPMarginGroup(this);
    axisRect()->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    panel->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    axisRect()->insetLayout()->addElement(legend, Qt::AlignTop | Qt::AlignRight);
    legend->setVisible(true);
    return panel;
}

OverlayPlot::OverlayPlot(QWidget* parent)
    : ComparisonPlot(parent)
    , difference_(addPanelBelow(2, 1))
{
    setFocusPolicy(Qt::StrongFocus);
    for (QCPAxisRect* rect : {axisRect(), difference_}) {
        rect->setRangeZoom(Qt::Horizontal);
        rect->setRangeZoomAxes(rect->axis(QCPAxis::atBottom), nullptr);
        rect->setRangeDrag({});
        rect->axis(QCPAxis::atLeft)->setTicker(QSharedPointer<PlainTicker>::create());
        rect->axis(QCPAxis::atLeft)->grid()->setZeroLinePen(QPen(Qt::darkGray, 0));
    }
    setInteractions(QCP::iRangeZoom);
    // Both panels show the same stretch of the lap, never beyond it.
    connect(xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, [this](const QCPRange& r) {
        difference_->axis(QCPAxis::atBottom)->setRange(r);
        keepWithinLap(r);
    });
    connect(difference_->axis(QCPAxis::atBottom), qOverload<const QCPRange&>(&QCPAxis::rangeChanged), xAxis,
            qOverload<const QCPRange&>(&QCPAxis::setRange));
    connect(selectionRect(), &QCPSelectionRect::accepted, this, [this](const QRect& band, QMouseEvent*) { zoomInto(band); });
}

void OverlayPlot::showLaps(const ComparisonContent& content)
{
    setLocale(plotLocale(content.tables.language));
    const TextTables& t = content.tables;
    const ComparisonFigures& f = content.figures;
    clearLaps();
    styleAlignment(t, f);
    styleAxis(yAxis, t.texts[overlayRpmAxis]);
    const bool speed = content.showSpeed && f.speedHigh > 0;
    yAxis2->setVisible(speed);
    if (speed) {
        styleAxis(yAxis2, t.texts[overlaySpeedAxis].arg(speedUnitSymbol(f.speedUnit)));
        yAxis2->setTicker(plainTicker());
        yAxis2->grid()->setVisible(false);
        yAxis2->setRange(0, f.speedHigh);
    }
    for (std::size_t i = 0; i < f.lines.size(); ++i) {
        QPen pen(colourOf(content.laps[i].colour), int(i) == f.reference ? ReferencePen : LapPen);
        QCPGraph* trace = addGraph(xAxis, yAxis);
        trace->setPen(pen);
        trace->setData(f.lines[i].x, f.lines[i].y, true);
        nameInLegend(trace, legendName(content.laps[i]));
        if (speed && !f.speeds[i].x.isEmpty()) {
            QCPGraph* road = addGraph(xAxis, yAxis2);
            road->setPen(QPen(pen.color().lighter(160), 1));
            road->setData(f.speeds[i].x, f.speeds[i].y, true);
            road->removeFromLegend();
        }
        if (int(i) == f.reference)
            continue;
        QCPGraph* difference = addGraph(difference_->axis(QCPAxis::atBottom), difference_->axis(QCPAxis::atLeft));
        difference->setPen(QPen(pen.color(), LapPen));
        difference->setData(f.differences[i].x, f.differences[i].y, true);
        difference->removeFromLegend();
    }
    xEnd_ = f.xEnd;
    rpmLow_ = f.rpmLow;
    rpmHigh_ = f.rpmHigh;
    difference_->axis(QCPAxis::atLeft)->setRange(-f.differenceLimit, f.differenceLimit);
    markPens_[1].setColor(colourOf(content.laps[std::size_t(f.reference)].colour));
    markPens_[2].setColor(markPens_[1].color());
    showReadings(content.readings);
    showWholeLap();
}

// The title and scales of the way the laps are aligned: along the track, x
// reads metres when the reference's track has a length, and the panel below
// the time lost.
void OverlayPlot::styleAlignment(const TextTables& t, const ComparisonFigures& f)
{
    const bool track = f.alignment == Alignment::Track;
    const int way = f.alignment == Alignment::Time ? overlayTime : track ? overlayAlongTrack : overlayFraction;
    setTitle(t.texts[overlayTitle] + QStringLiteral(" - ") + t.texts[way]);
    const int axis = f.alignment == Alignment::Time ? overlayTimeAxis
                     : !track                       ? overlayFractionAxis
                     : f.trackLength > 0            ? overlayDistanceAxis
                                                    : overlayRevolutionsAxis;
    const double factor = f.alignment == Alignment::Time ? 1 : track && f.trackLength > 0 ? f.trackLength : 100;
    for (QCPAxisRect* rect : {axisRect(), difference_}) {
        QCPAxis* x = rect->axis(QCPAxis::atBottom);
        styleAxis(x, t.texts[axis]);
        x->setTicker(plainTicker(factor));
    }
    styleAxis(difference_->axis(QCPAxis::atLeft), t.texts[track ? overlayTimeLossAxis : overlayDifferenceAxis]);
    difference_->axis(QCPAxis::atBottom)->setLabel(QString());
}

void OverlayPlot::showWholeLap()
{
    xAxis->setRange(0, xEnd_);
    yAxis->setRange(rpmLow_, rpmHigh_);
    replot();
}

void OverlayPlot::showReadings(const OverlayReadings& readings)
{
    const std::array<std::optional<double>, 3> marks{readings.cursor, readings.leftMarker, readings.rightMarker};
    // Only the strips of the lines that moved: strips far apart would be
    // painted as the whole stretch between them.
    QRegion moved;
    for (std::size_t l = 0; l < marks.size(); ++l)
        if (marks[l] != marks_[l])
            moved += QRegion(stripAt(marks_[l])) + stripAt(marks[l]);
    marks_ = marks;
    // A cursor stepped out of a zoomed view takes the view along.
    const QCPRange shown = xAxis->range();
    if (readings.cursor && !shown.contains(*readings.cursor)) {
        const double shift = *readings.cursor < shown.lower ? *readings.cursor - shown.lower : *readings.cursor - shown.upper;
        xAxis->setRange(shown.lower + shift, shown.upper + shift);
        replot();
        return;
    }
    update(moved);
}

QRect OverlayPlot::stripAt(std::optional<double> x) const
{
    if (!x)
        return {};
    const int pixel = int(std::lround(xAxis->coordToPixel(*x)));
    return {pixel - 3, 0, 7, height()};
}

void OverlayPlot::paintEvent(QPaintEvent* event)
{
    QCustomPlot::paintEvent(event);
    QPainter painter(this);
    drawOver(painter);
}

void OverlayPlot::drawOver(QPainter& painter) const
{
    for (QCPAxisRect* rect : {axisRect(), difference_}) {
        painter.save();
        painter.setClipRect(rect->rect());
        for (const std::size_t l : {1U, 2U, 0U})  // the cursor over a marker at its place
            if (marks_[l]) {
                const double x = rect->axis(QCPAxis::atBottom)->coordToPixel(*marks_[l]);
                painter.setPen(markPens_[l]);
                painter.drawLine(QLineF(x, rect->top(), x, rect->bottom()));
            }
        painter.restore();
    }
}

void OverlayPlot::keepWithinLap(const QCPRange& range)
{
    if (range.size() >= xEnd_) {
        if (range.lower != 0 || range.upper != xEnd_)
            xAxis->setRange(0, xEnd_);
    } else if (range.lower < 0) {
        xAxis->setRange(0, range.size());
    } else if (range.upper > xEnd_) {
        xAxis->setRange(xEnd_ - range.size(), xEnd_);
    }
}

void OverlayPlot::zoomInto(const QRect& band)
{
    setSelectionRectMode(QCP::srmNone);
    if (band.width() < 3)
        return;
    QCPAxisRect* rect = axisRectAt(band.center());
    xAxis->setRange(xAxis->pixelToCoord(band.left()), xAxis->pixelToCoord(band.right()));
    if (rect == axisRect() && band.height() >= 3)
        yAxis->setRange(yAxis->pixelToCoord(band.bottom()), yAxis->pixelToCoord(band.top()));
    replot();
}

double OverlayPlot::xAt(const QPointF& position) const
{
    return xAxis->pixelToCoord(position.x());
}

void OverlayPlot::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    const bool band = event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier);
    setSelectionRectMode(band ? QCP::srmCustom : QCP::srmNone);
    QCustomPlot::mousePressEvent(event);
    if (event->button() == Qt::RightButton) {
        panFrom_ = event->position().x();
        panRange_ = xAxis->range();
    } else if (event->button() == Qt::LeftButton && !band && axisRectAt(event->position())) {
        emit cursorPlaced(xAt(event->position()));
    }
}

void OverlayPlot::mouseMoveEvent(QMouseEvent* event)
{
    QCustomPlot::mouseMoveEvent(event);
    if (panFrom_ && (event->buttons() & Qt::RightButton)) {
        const double shift = xAxis->pixelToCoord(*panFrom_) - xAxis->pixelToCoord(event->position().x());
        xAxis->setRange(panRange_.lower + shift, panRange_.upper + shift);
        replot(rpQueuedReplot);
    } else if ((event->buttons() & Qt::LeftButton) && selectionRectMode() == QCP::srmNone && axisRectAt(event->position())) {
        emit cursorPlaced(xAt(event->position()));
    }
}

void OverlayPlot::mouseReleaseEvent(QMouseEvent* event)
{
    QCustomPlot::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        panFrom_.reset();
}

void OverlayPlot::mouseDoubleClickEvent(QMouseEvent* event)
{
    QCustomPlot::mouseDoubleClickEvent(event);
    showWholeLap();
}

void OverlayPlot::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Home: showWholeLap(); break;
    case Qt::Key_Left: emit cursorStepped(-1); break;
    case Qt::Key_Right: emit cursorStepped(1); break;
    // Up puts the left marker at the cursor, Down the right one, as on the single charts.
    case Qt::Key_Up: emit markerPlaced(true); break;
    case Qt::Key_Down: emit markerPlaced(false); break;
    default: QCustomPlot::keyPressEvent(event);
    }
}

HistogramPlot::HistogramPlot(QWidget* parent)
    : ComparisonPlot(parent)
{
    // It stands in a scrolled page: the wheel scrolls the page.
    setAttribute(Qt::WA_NoMousePropagation, false);
    axisRect()->insetLayout()->addElement(legend, Qt::AlignTop | Qt::AlignRight);
    legend->setVisible(true);
    yAxis->setTicker(QSharedPointer<PlainTicker>::create());
}

void HistogramPlot::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}

void HistogramPlot::showHistograms(const ComparisonContent& content)
{
    setLocale(plotLocale(content.tables.language));
    const TextTables& t = content.tables;
    const ComparisonFigures& f = content.figures;
    clearLaps();
    const int width = f.histograms.classWidth;
    setTitle(t.texts[overlayHistograms] + QStringLiteral(" (") + t.texts[overlayClassWidth].arg(width) + QStringLiteral(")"));
    styleAxis(xAxis, t.texts[histogramClassAxis]);
    styleAxis(yAxis, t.texts[histogramSecondsAxis]);
    xAxis->grid()->setVisible(false);
    const int classes = std::max(1, f.lastClass - f.firstClass + 1);
    // A tick on every class bound, or on every few when there are many.
    xAxis->setTicker(QSharedPointer<PlainTicker>::create(1, double(width) * std::ceil(classes / 12.0)));
    const std::size_t laps = f.histograms.seconds.size();
    const double barWidth = width * 0.8 / double(std::max<std::size_t>(1, laps));
    double most = 0;
    for (std::size_t i = 0; i < laps; ++i) {
        auto* bars = new QCPBars(xAxis, yAxis);
        bars->setWidth(barWidth);
        bars->setPen(Qt::NoPen);
        bars->setBrush(colourOf(content.laps[i].colour));
        nameInLegend(bars, legendName(content.laps[i]));
        for (int k = f.firstClass; k <= f.lastClass; ++k) {
            const double seconds = f.histograms.seconds[i][std::size_t(k)];
            bars->addData(double(k) * width + width * 0.1 + (double(i) + 0.5) * barWidth, seconds);
            most = std::max(most, seconds);
        }
    }
    xAxis->setRange(double(f.firstClass) * width, double(f.firstClass + classes) * std::max(1, width));
    yAxis->setRange(0, std::max(0.2, most * 1.25));  // room for the legend over the bars
    replot();
}

SectionBarsPlot::SectionBarsPlot(QWidget* parent)
    : ComparisonPlot(parent)
{
    yAxis->setRangeReversed(true);  // the first section at the top, as in the table
    xAxis->setTicker(QSharedPointer<PlainTicker>::create());
    xAxis->grid()->setZeroLinePen(QPen(Qt::black, 0));
    yAxis->grid()->setVisible(false);
}

void SectionBarsPlot::showSections(const ComparisonContent& content)
{
    setLocale(plotLocale(content.tables.language));
    const TextTables& t = content.tables;
    const ComparisonFigures& f = content.figures;
    clearLaps();
    clearItems();
    labels_.clear();
    setTitle(t.texts[compareSectionBars]);
    styleAxis(xAxis, t.texts[sectionDifferenceAxis]);
    styleAxis(yAxis, QString());
    auto captions = QSharedPointer<QCPAxisTickerText>::create();
    for (int k = 1; k <= f.times.sectionCount; ++k)
        captions->addTick(k, t.texts[bestsSection].arg(k));
    yAxis->setTicker(captions);
    yAxis->setRange(0.5, std::max(1, f.times.sectionCount) + 0.5);
    const int others = std::max(1, int(f.times.columns.size()) - 1);
    const double height = 0.8 / others;
    int bar = 0;
    for (std::size_t i = 0; i < f.times.columns.size(); ++i) {
        if (int(i) == f.reference)
            continue;
        auto* bars = new QCPBars(yAxis, xAxis);
        bars->setWidth(height * 0.9);
        bars->setPen(Qt::NoPen);
        bars->setBrush(colourOf(content.laps[i].colour));
        const double offset = (bar++ - (others - 1) / 2.0) * height;
        for (int k = 0; k < f.times.sectionCount; ++k) {
            const auto& d = f.times.columns[i].sectionDifferences[std::size_t(k)];
            if (!d)
                continue;
            bars->addData(k + 1 + offset, *d / 100.0);
            auto* label = new QCPItemText(this);
            label->setFont(pixelFont(FontPixels));
            label->setText(differenceText(*d));
            label->setPadding(QMargins(4, 0, 4, 0));
            label->position->setAxes(xAxis, yAxis);
            label->position->setCoords(*d / 100.0, k + 1 + offset);
            label->setPositionAlignment((*d < 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            labels_.push_back(label);
        }
    }
    low_ = f.sectionLow / 100.0;
    high_ = f.sectionHigh / 100.0;
    replot();
}

// The value axis is set once the plot's width is known, so that the widest
// label on either side fits between its bar's end and the plot's edge.
void SectionBarsPlot::updateLayout()
{
    ComparisonPlot::updateLayout();
    double left = 0;
    double right = 0;
    for (const QCPItemText* label : labels_) {
        const double width = QFontMetrics(label->font()).horizontalAdvance(label->text()) + 12;
        (label->position->coords().x() < 0 ? left : right) = std::max(width, label->position->coords().x() < 0 ? left : right);
    }
    const QCPRange range = rangeWithRoom(low_, high_, left, right, axisRect()->width());
    if (range != xAxis->range()) {
        xAxis->setRange(range);
        ComparisonPlot::updateLayout();
    }
}

}  // namespace tormel
