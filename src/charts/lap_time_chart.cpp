#include "charts/lap_time_chart.h"

#include "base/twips.h"
#include "charts/canvas.h"
#include "charts/chart_layout.h"
#include "charts/lap_chart_rules.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace tormel {

namespace {

const QColor Eliminated{0, 0, 0};
const QColor Outline{0, 255, 0};
const std::array<bool, LapFlagCount> noLapEliminated{};

}  // namespace

LapTimeChart::LapTimeChart(QWidget* parent)
    : QGroupBox(parent),
      label12_(new QLabel(this)),
      picture1_(new Canvas(this)),
      hScroll1_(new QScrollBar(Qt::Horizontal, this)),
      table_(&emptyLapTable()),
      eliminatedLaps_(&noLapEliminated)
{
    setObjectName(QStringLiteral("Graphique_Chronos"));
    label12_->setObjectName(QStringLiteral("Label12"));
    label12_->setAutoFillBackground(true);
    QPalette cyan = label12_->palette();
    cyan.setColor(QPalette::Window, QColor(0, 255, 255));
    label12_->setPalette(cyan);

    picture1_->setObjectName(QStringLiteral("Picture1"));
    // The system's tool-tip colours: dark background, pale bars.
    const QPalette system = QApplication::palette();
    picture1_->setBackgroundColour(system.color(QPalette::ToolTipText));
    picture1_->setDrawingColour(system.color(QPalette::ToolTipBase));

    for (int i = 0; i < MaxSlots; ++i) {
        auto* label = new QLabel(picture1_);
        label->setObjectName(QStringLiteral("Label13(%1)").arg(i));
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        label->hide();
        // A lap number sits over its bar: pointing at it leaves the outline
        // where it is and clicking it toggles nothing, so its pointer events
        // never fall through to the canvas underneath.
        label->installEventFilter(this);
        label13_[std::size_t(i)] = label;
    }

    hScroll1_->setObjectName(QStringLiteral("HScroll1"));
    hScroll1_->hide();

    connect(picture1_, &Canvas::mouseMoved, this, &LapTimeChart::Picture1_MouseMove);
    connect(picture1_, &Canvas::mousePressed, this, &LapTimeChart::Picture1_MouseDown);
    // With tracking on, dragging the thumb changes the value as it goes, so
    // one signal serves both the change and the scroll of the bar.
    connect(hScroll1_, &QScrollBar::valueChanged, this, &LapTimeChart::HScroll1_Change);
    connect(picture1_, &Canvas::resized, this, [this] {
        if (!drawn_)
            return;
        freshChart_ = true;
        drawLaps(position_, chartedColumn_);
    });
}

QLabel* LapTimeChart::Label13(int i) const
{
    return i >= 0 && i < MaxSlots ? label13_[std::size_t(i)] : nullptr;
}

void LapTimeChart::layOut(int screenWidth, int screenHeight, int tableHeight)
{
    const LapChartLayout l = lapChartLayout(screenWidth, screenHeight, tableHeight,
                                                 hScroll1_->sizeHint().height() * TwipsPerPixel, LabelHeightTwips);
    setTitle(QString());
    setGeometry(twipsToPixels(l.frame));
    hScroll1_->setGeometry(twipsToPixels(l.scrollBar));
    label12_->setGeometry(twipsToPixels(l.label12));
    picture1_->setGeometry(twipsToPixels(l.picture1));
}

void LapTimeChart::setTable(const LapTable& table)
{
    table_ = &table;
}

void LapTimeChart::setEliminatedLaps(const std::array<bool, LapFlagCount>& flags)
{
    eliminatedLaps_ = &flags;
}

void LapTimeChart::applyTexts(const TextTables& tables, bool toolTipsOn)
{
    picture1_->setToolTip(toolTipsOn ? tables.tips[eliminateBarTip] : QString());
}

void LapTimeChart::clearReadOut()
{
    label12_->clear();
}

void LapTimeChart::setChartWindow(const LapChartWindow& window)
{
    lapsOnScreen_ = std::clamp(window.lapsOnScreen, 0, MaxSlots);
    scrollShown_ = window.scrollVisible;
    const QSignalBlocker quiet(hScroll1_);
    hScroll1_->setRange(0, std::max(0, window.scrollMaximum));
    hScroll1_->setPageStep(std::max(1, window.scrollLargeStep));
    hScroll1_->setValue(0);
    hScroll1_->setVisible(scrollShown_);
    position_ = 0;
}

bool LapTimeChart::isLapRow(int row) const
{
    return row >= 2 && row <= table_->lapCount + 1 && std::size_t(row) < table_->rows.size();
}

bool LapTimeChart::eliminated(int lap) const
{
    return lap >= 0 && lap < LapFlagCount && (*eliminatedLaps_)[std::size_t(lap)];
}

void LapTimeChart::drawBar(int slot, float value, int lap)
{
    // Slot k (from 0) holds its bar from k + 0.1 to k + 0.9: drawing, outline
    // and taking the outline back all use these very numbers, so they cover
    // the same pixels.
    picture1_->fillRectangle(QPointF(slot + 0.1, value), QPointF(slot + 0.9, bottom_),
                             eliminated(lap) ? Eliminated : picture1_->drawingColour());
}

void LapTimeChart::drawLaps(int f, int c)
{
    raise();
    setTitle(cellText(*table_, LapTable::HeaderRow, c));
    chartedColumn_ = c;
    position_ = f;
    if (scrollShown_ && f >= hScroll1_->minimum() && f <= hScroll1_->maximum()) {
        const QSignalBlocker quiet(hScroll1_);
        hScroll1_->setValue(f);
    }

    const bool known = c >= 0 && c < LapTable::ColumnCount;
    const ChartEdges edges = known ? chartEdges(table_->columnMinimum[std::size_t(c)], table_->columnMaximum[std::size_t(c)])
                                   : chartEdges(0.0F, 0.0F);
    top_ = edges.top;
    bottom_ = edges.bottom;
    picture1_->setScale({0.0, double(top_), double(lapsOnScreen_), double(bottom_)});
    picture1_->setPenMode(Canvas::PenMode::Copy);
    picture1_->clear();

    const CanvasTransform t = picture1_->transform();
    for (int i = 1; i <= MaxSlots; ++i) {
        QLabel* label = label13_[std::size_t(i - 1)];
        const int row = f + i + 1;
        if (i > lapsOnScreen_ || !isLapRow(row)) {
            label->hide();
            continue;
        }
        const int lap = lapOfRow(*table_, row);
        drawBar(i - 1, cellValue(*table_, row, c), lap);

        label->setText(QString::number(lap));
        // The transform counts the screen's pixels; the labels are placed in logical ones.
        const qreal ratio = picture1_->pixelRatio();
        const int left = int(t.pixelX(i - 0.9) / ratio);
        const int right = int(t.pixelX(i - 0.1) / ratio);
        const int height = label->sizeHint().height();
        label->setGeometry(left, picture1_->height() - height, std::max(1, right - left), height);
        label->show();
    }
    picture1_->show();
    show();
    drawn_ = true;

    Picture1_MouseMove({}, {.shift = true}, pointedSlot_, 0.0);
}

void LapTimeChart::HScroll1_Change()
{
    freshChart_ = true;
    drawLaps(hScroll1_->value(), chartedColumn_);
    picture1_->setFocus();
}

void LapTimeChart::Picture1_MouseMove(PointerButtons, Modifiers, double x, double)
{
    const int p = wholePart(x);
    pointedSlot_ = p;
    if (p < 0 || p > table_->lapCount - 1 || p >= lapsOnScreen_)
        return;
    if (table_->lapCount > 1 && p == markedBar_)
        return;
    const int row = position_ + p + 2;
    if (!isLapRow(row))
        return;

    if (!freshChart_) {
        const int k = markedBar_;
        const int oldRow = position_ + k + 2;
        if (k >= 0 && k < lapsOnScreen_ && isLapRow(oldRow))
            drawBar(k, cellValue(*table_, oldRow, chartedColumn_), markedLap_);
    }

    markedLap_ = lapOfRow(*table_, row);
    markedBar_ = p;
    freshChart_ = false;

    picture1_->rectangle(QPointF(p + 0.1, cellValue(*table_, row, chartedColumn_)), QPointF(p + 0.9, bottom_), Outline);
    label12_->setText(lapReadoutLine(*table_, row, markedLap_));
}

void LapTimeChart::Picture1_MouseDown(PointerButtons, Modifiers, double x, double)
{
    const int p = wholePart(x);
    pointedSlot_ = p;
    if (p < 0 || p >= lapsOnScreen_)
        return;
    const int row = position_ + p + 2;
    if (!isLapRow(row))
        return;
    const int lap = lapOfRow(*table_, row);
    if (lap >= 0 && lap < LapFlagCount)
        emit lapToggled(lap);
}

void LapTimeChart::wheelEvent(QWheelEvent* event)
{
    if (!scrollShown_) {
        event->ignore();
        return;
    }
    QCoreApplication::sendEvent(hScroll1_, event);
}

bool LapTimeChart::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return QGroupBox::eventFilter(watched, event);
    }
}

}  // namespace tormel
