#include "laps/ranges_view.h"

#include "base/number_format.h"
#include "base/twips.h"
#include "laps/lap_views_layout.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tormel {

namespace {

constexpr int FirstBarLeft = 120;
constexpr int BarTop = 1200;

}  // namespace

BarPanel::BarPanel(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
}

void BarPanel::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void BarPanel::setFloodPercent(double percent)
{
    percent_ = std::isnan(percent) ? 0.0 : std::clamp(percent, 0.0, 100.0);
    update();
}

double BarPanel::captionFit() const
{
    const int room = std::max(1, width() - 2);
    const int needed = std::max(1, fontMetrics().horizontalAdvance(caption_));
    return std::min(1.0, double(room) / needed);
}

void BarPanel::setCaptionPointSize(double pointSize)
{
    captionPointSize_ = pointSize;
    update();
}

QRect BarPanel::barArea() const
{
    // The caption sits in a strip under the bar.
    const int captionHeight = fontMetrics().height() + 2;
    return rect().adjusted(1, 1, -1, -captionHeight);
}

void BarPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const QRect bar = barArea();
    if (bar.isEmpty())
        return;
    painter.fillRect(bar, QColor(224, 224, 224));
    const int filled = int(std::lround(bar.height() * percent_ / 100.0));
    if (filled > 0)
        painter.fillRect(QRect(bar.left(), bar.bottom() - filled + 1, bar.width(), filled), floodColour());
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(bar.adjusted(-1, -1, 0, 0));

    QFont font = painter.font();
    if (captionPointSize_ > 0.0)
        font.setPointSizeF(captionPointSize_);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(0, bar.bottom() + 1, width(), height() - bar.bottom() - 1), Qt::AlignCenter, caption_);
}

void BarPanel::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved();
    event->accept();
}

RangesView::RangesView(QWidget* parent)
    : QGroupBox(parent),
      label6_(new QLabel(this)),
      label7_(new QLabel(this)),
      label8_(new QLabel(this)),
      texts_(frenchTextTables()),
      decimalSeparator_(systemDecimalSeparator())
{
    setObjectName(QStringLiteral("Frame_Tranches"));
    label6_->setObjectName(QStringLiteral("Label6"));
    label7_->setObjectName(QStringLiteral("Label7"));
    label8_->setObjectName(QStringLiteral("Label8"));
    for (int i = 0; i < Count; ++i) {
        auto* bar = new BarPanel(this);
        bar->setObjectName(QStringLiteral("Tranche(%1)").arg(i));
        bar->setCaption(barCaption(i));
        connect(bar, &BarPanel::pointerMoved, this, [this, i] { Tranche_MouseMove(i); });
        bars_[std::size_t(i)] = bar;
    }
}

BarPanel* RangesView::Tranche(int i) const
{
    return i >= 0 && i < Count ? bars_[std::size_t(i)] : nullptr;
}

void RangesView::layOut(int screenWidth, int screenHeight, int frameTop)
{
    const RangesLayout l = rangesLayout(screenWidth, screenHeight, frameTop, FirstBarLeft, BarTop);
    setGeometry(twipsToPixels(l.frame));
    label8_->setGeometry(twipsToPixels({FirstBarLeft, 240, 6000, LabelHeightTwips}));
    label6_->setGeometry(twipsToPixels({FirstBarLeft, 240 + LabelHeightTwips, 6000, LabelHeightTwips}));
    label7_->setGeometry(twipsToPixels({FirstBarLeft, 240 + 2 * LabelHeightTwips, 6000, LabelHeightTwips}));
    for (int i = 0; i < Count; ++i) {
        BarPanel* bar = bars_[std::size_t(i)];
        bar->setGeometry(twipsToPixels(l.bars[std::size_t(i)]));
        bar->setCaption(barCaption(i));
        bar->show();
    }
    // Narrow bars: the captions shrink to fit rather than being cut, all
    // by the same amount so that they read as one row.
    double fit = 1.0;
    for (const BarPanel* bar : bars_)
        fit = std::min(fit, bar->captionFit());
    const double size = font().pointSizeF();
    const double shrunk = fit < 1.0 && size > 0 ? std::max(5.0, size * fit) : 0.0;
    for (BarPanel* bar : bars_)
        bar->setCaptionPointSize(shrunk);
}

void RangesView::applyTexts(const TextTables& tables, bool toolTipsOn)
{
    texts_ = tables;
    toolTipsOn_ = toolTipsOn;
    const auto tip = [&](int i) { return toolTipsOn ? tables.tips[std::size_t(i)] : QString(); };
    label6_->setToolTip(tip(rangesSpeedTip));
    label7_->setToolTip(tip(rangesTimeTip));
    label8_->setToolTip(tip(rangesLapTip));
}

void RangesView::showRanges(const RangesPanel& panel)
{
    panel_ = panel;
    label8_->setText(panel.bestLapCaption);
    for (int i = 0; i < Count; ++i)
        bars_[std::size_t(i)]->setFloodPercent(panel.fill[std::size_t(i)]);
    const RangeReadout readout = rangeReadout(panel_, 0, decimalSeparator_);
    label6_->setText(readout.rangeText);
    label7_->setText(readout.timeText);
}

void RangesView::Tranche_MouseMove(int i)
{
    BarPanel* bar = Tranche(i);
    if (!bar)
        return;
    const RangeReadout readout = rangeReadout(panel_, i, decimalSeparator_);
    label6_->setText(readout.rangeText);
    label7_->setText(readout.timeText);
    bar->setToolTip(rangeToolTip(texts_, i, toolTipsOn_));
}

void RangesView::mousePressEvent(QMouseEvent* event)
{
    raise();
    event->accept();
}

}  // namespace tormel
