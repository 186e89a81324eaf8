#include "shell/sprockets_window.h"

#include "base/named.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QShortcut>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace tormel {

namespace {

const QColor lapColour(90, 90, 90);
const QColor otherColour(214, 39, 40);
constexpr double RpmRounding = 500;
constexpr int MostTarget = 25000;
constexpr int TargetStep = 50;

QString fittedText(const SprocketsView& view, const TextTables& t)
{
    return t.texts[sprocketsFitted].arg(view.fitted.front).arg(view.fitted.rear);
}

QString otherText(const SprocketsView& view, const TextTables& t)
{
    return t.texts[sprocketsWith].arg(view.other.front).arg(view.other.rear);
}

// The lap's own highest and lowest raw engine speed.
std::pair<int, int> lapExtremes(const SprocketsView& view)
{
    const std::vector<int>& raw = view.laps[std::size_t(view.chosen)].trace.raw;
    if (raw.empty())
        return {0, 0};
    const auto [low, high] = std::minmax_element(raw.begin(), raw.end());
    return {*high, *low};
}

// Why nothing is worked out, or nothing to say.
QString missingText(const SprocketsView& view, const TextTables& t)
{
    if (view.laps.empty() || view.laps[std::size_t(view.chosen)].trace.raw.empty())
        return t.texts[sprocketsNoLap];
    if (!view.fitted.given())
        return t.texts[sprocketsNoneFitted];
    return {};
}

// A table as tall as its rows, no taller.
void fitRows(QTableWidget* table)
{
    int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
    for (int row = 0; row < table->rowCount(); ++row)
        height += table->rowHeight(row);
    table->setFixedHeight(height);
}

void addClassBars(QCPAxisRect* rect, const std::vector<double>& seconds, int first, int last, int width, double offset,
                  const QColor& colour)
{
    auto* bars = new QCPBars(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
    bars->setWidth(width * 0.4);
    bars->setPen(Qt::NoPen);
    bars->setBrush(colour);
    for (int k = first; k <= last; ++k)
        bars->addData(double(k) * width + width * offset, seconds[std::size_t(k)]);
    bars->removeFromLegend();
}

}  // namespace

SprocketsPlot::SprocketsPlot(QWidget* parent)
    : ComparisonPlot(parent)
    , classes_(addPanelBelow(3, 2))
{
    for (QCPAxisRect* rect : {axisRect(), classes_}) {
        rect->axis(QCPAxis::atLeft)->setTicker(plainTicker());
        rect->setRangeZoom({});
        rect->setRangeDrag({});
    }
    classes_->axis(QCPAxis::atBottom)->grid()->setVisible(false);
}

void SprocketsPlot::showView(const SprocketsView& view, const TextTables& t)
{
    setLocale(plotLocale(t.language));
    clearLaps();
    const bool any = !view.laps.empty();
    setTitle(t.texts[sprocketsTitle] + (any ? QStringLiteral(" - ") + view.laps[std::size_t(view.chosen)].label : QString()));
    QCPAxis* classX = classes_->axis(QCPAxis::atBottom);
    QCPAxis* classY = classes_->axis(QCPAxis::atLeft);
    styleAxis(xAxis, t.texts[overlayTimeAxis]);
    styleAxis(yAxis, t.texts[overlayRpmAxis]);
    styleAxis(classX, t.texts[histogramClassAxis]);
    styleAxis(classY, t.texts[sprocketsClassesAxis]);
    xAxis->setTicker(plainTicker());
    if (!any || view.laps[std::size_t(view.chosen)].trace.raw.empty()) {
        replot();
        return;
    }
    const std::vector<int>& raw = view.laps[std::size_t(view.chosen)].trace.raw;
    QList<double> x;
    QList<double> own;
    QList<double> other;
    for (std::size_t k = 0; k < raw.size(); ++k) {
        x << double(k) * OverlaySampleSeconds;
        own << raw[k];
        if (view.result)
            other << view.result->rpm[k];
    }
    QCPGraph* lap = addGraph(xAxis, yAxis);
    lap->setPen(QPen(lapColour, 1.3));
    lap->setData(x, own, true);
    nameInLegend(lap, view.fitted.given() ? fittedText(view, t) : view.laps[std::size_t(view.chosen)].label);
    auto [high, low] = lapExtremes(view);
    if (view.result) {
        QCPGraph* what = addGraph(xAxis, yAxis);
        what->setPen(QPen(otherColour, 1.6));
        what->setData(x, other, true);
        nameInLegend(what, otherText(view, t));
        high = std::max(high, view.result->maxRpm);
        low = std::min(low, view.result->minRpm);
    }
    xAxis->setRange(0, std::max(OverlaySampleSeconds, x.back()));
    const double bottom = std::max(0.0, std::floor(low * 0.95 / RpmRounding) * RpmRounding);
    yAxis->setRange(bottom, std::max(bottom + RpmRounding, std::ceil(high * 1.03 / RpmRounding) * RpmRounding));
    if (view.result && view.result->classWidth > 0) {
        const OtherSprockets& r = *view.result;
        int first = -1;
        int last = -1;
        double most = 0;
        for (int k = 0; k < int(r.classSeconds.size()); ++k) {
            const double longer = std::max(r.classSeconds[std::size_t(k)], r.lapClassSeconds[std::size_t(k)]);
            if (longer > 0) {
                first = first < 0 ? k : first;
                last = k;
                most = std::max(most, longer);
            }
        }
        if (first >= 0) {
            addClassBars(classes_, r.lapClassSeconds, first, last, r.classWidth, 0.3, lapColour);
            addClassBars(classes_, r.classSeconds, first, last, r.classWidth, 0.7, otherColour);
            const int classes = last - first + 1;
            classX->setTicker(plainTicker(1, double(r.classWidth) * std::ceil(classes / 12.0)));
            classX->setRange(double(first) * r.classWidth, double(last + 1) * r.classWidth);
            classY->setRange(0, most * 1.15);
        }
    }
    replot();
}

QStringList sprocketsTextLines(const SprocketsView& view, const TextTables& t)
{
    if (const QString missing = missingText(view, t); !missing.isEmpty())
        return {missing};
    if (!view.result)
        return {};
    const OtherSprockets& r = *view.result;
    const auto [high, low] = lapExtremes(view);
    const auto pair = [&](int fitted, int other) {
        return QStringLiteral("%1 %2 | %3 %4").arg(fittedText(view, t)).arg(fitted).arg(otherText(view, t)).arg(other);
    };
    QStringList lines;
    lines << t.texts[sprocketsMaximum] + QStringLiteral(": ") + pair(high, r.maxRpm);
    lines << t.texts[sprocketsCorner] + QStringLiteral(": ") + pair(low, r.minRpm);
    if (!r.rears.empty()) {
        QStringList rears;
        for (int i = 0; i < int(r.rears.size()); ++i)
            rears << QStringLiteral("%1: %2").arg(r.rears[std::size_t(i)].rear).arg(r.rears[std::size_t(i)].maxRpm)
                         + (i == r.closest ? QStringLiteral(" (%1)").arg(t.texts[sprocketsClosest]) : QString());
        lines << t.texts[sprocketsSuggested].arg(view.other.front) + QStringLiteral(": ") + rears.join(QStringLiteral(" | "));
    }
    lines << t.texts[sprocketsFirstOrder];
    return lines;
}

void paintSprocketsPage(QCPPainter& painter, const QRectF& page, const SprocketsView& view, const TextTables& t, double scale)
{
    const QStringList lines = sprocketsTextLines(view, t);
    const double line = page.height() / 40;
    const double textHeight = (double(lines.size()) + 1) * line;
    SprocketsPlot plot;
    plot.showView(view, t);
    plot.paintInto(painter, QRectF(page.left(), page.top(), page.width(), page.height() - textHeight), scale);
    painter.save();
    QFont font = painter.font();
    font.setPixelSize(std::max(6, int(line * 0.6)));
    painter.setFont(font);
    painter.setPen(Qt::black);
    double y = page.bottom() - double(lines.size()) * line;
    for (const QString& text : lines) {
        painter.drawText(QRectF(page.left(), y, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter, text);
        y += line;
    }
    painter.restore();
}

SprocketsWindow::SprocketsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , lap_(named(new QComboBox, QStringLiteral("SprocketsLap")))
    , captions_{new QLabel, new QLabel, new QLabel}
    , front_(named(new QSpinBox, QStringLiteral("SprocketsFront")))
    , rear_(named(new QSpinBox, QStringLiteral("SprocketsRear")))
    , targetLabel_(new QLabel)
    , target_(named(new QSpinBox, QStringLiteral("SprocketsTarget")))
    , note_(named(new QLabel, QStringLiteral("SprocketsNote")))
    , plot_(named(new SprocketsPlot, QStringLiteral("SprocketsPlot")))
    , figures_(named(new QTableWidget(2, 2), QStringLiteral("SprocketsFigures")))
    , suggested_(named(new QLabel, QStringLiteral("SprocketsSuggested")))
    , rears_(named(new QTableWidget(0, 2), QStringLiteral("SprocketsRears")))
    , firstOrder_(named(new QLabel, QStringLiteral("SprocketsFirstOrder")))
{
    setObjectName(QStringLiteral("SprocketsWindow"));
    for (QSpinBox* teeth : {front_, rear_})
        teeth->setRange(fewestTeeth, mostTeeth);
    target_->setRange(0, MostTarget);
    target_->setSingleStep(TargetStep);
    target_->setSpecialValueText(QStringLiteral("-"));
    auto* choices = new QFormLayout;
    choices->addRow(captions_[0], lap_);
    choices->addRow(captions_[1], front_);
    choices->addRow(captions_[2], rear_);
    choices->addRow(targetLabel_, target_);
    note_->setWordWrap(true);
    note_->setStyleSheet(QStringLiteral("color: #b00000"));
    for (QTableWidget* table : {figures_, rears_}) {
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    }
    rears_->verticalHeader()->setVisible(false);
    auto* side = new QVBoxLayout;
    side->addLayout(choices);
    side->addWidget(note_);
    side->addWidget(figures_);
    side->addWidget(suggested_);
    side->addWidget(rears_);
    side->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(side);
    top->addWidget(plot_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(firstOrder_);
    connect(lap_, &QComboBox::activated, this, [this](int index) {
        chooseSprocketsLap(view_, index);
        showView();
    });
    for (QSpinBox* teeth : {front_, rear_})
        connect(teeth, &QSpinBox::valueChanged, this, [this] {
            view_.other = {front_->value(), rear_->value()};
            showView();
        });
    connect(target_, &QSpinBox::valueChanged, this, [this](int rpm) {
        view_.targetMaxRpm = rpm;
        if (view_.engine >= 1 && view_.engine < int(targets_.size())) {
            targets_[std::size_t(view_.engine)] = rpm;
            emit targetChosen(view_.engine, rpm);
        }
        showView();
    });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect(0, 0, 1000, 700);
    resize(std::min(1000, screen.width() * 9 / 10), std::min(700, screen.height() * 9 / 10));
}

void SprocketsWindow::show(SprocketsView view, const TextTables& tables, const std::array<int, 6>& targets)
{
    view_ = std::move(view);
    tables_ = tables;
    targets_ = targets;
    const TextTables& t = tables_;
    setWindowTitle(t.texts[sprocketsTitle]);
    const std::array<int, 3> captions{sprocketsLap, sprocketsFront, sprocketsRear};
    for (std::size_t row = 0; row < captions.size(); ++row)
        captions_[row]->setText(t.texts[captions[row]]);
    firstOrder_->setText(t.texts[sprocketsFirstOrder]);
    {
        const QSignalBlocker quiet(lap_);
        lap_->clear();
        for (const ComparedSessionLap& lap : view_.laps)
            lap_->addItem(lap.label);
    }
    chooseSprocketsLap(view_, view_.chosen);
    showView();
    QWidget::show();
    raise();
    activateWindow();
}

void SprocketsWindow::showView()
{
    const TextTables& t = tables_;
    workOutSprockets(view_);
    // The target is the chosen lap's engine's, as last kept.
    if (view_.engine >= 1 && view_.engine < int(targets_.size()) && view_.targetMaxRpm != targets_[std::size_t(view_.engine)]) {
        view_.targetMaxRpm = targets_[std::size_t(view_.engine)];
        workOutSprockets(view_);
    }
    {
        const QSignalBlocker quietLap(lap_);
        const QSignalBlocker quietFront(front_);
        const QSignalBlocker quietRear(rear_);
        const QSignalBlocker quietTarget(target_);
        lap_->setCurrentIndex(view_.chosen);
        front_->setValue(view_.other.given() ? view_.other.front : fewestTeeth);
        rear_->setValue(view_.other.given() ? view_.other.rear : fewestTeeth);
        target_->setValue(view_.targetMaxRpm);
    }
    targetLabel_->setText(t.texts[sprocketsTarget].arg(view_.engine > 0 ? QString::number(view_.engine) : QStringLiteral("-")));
    const QString missing = missingText(view_, t);
    note_->setText(missing);
    note_->setVisible(!missing.isEmpty());
    for (QWidget* w : std::initializer_list<QWidget*>{front_, rear_, target_})
        w->setEnabled(missing.isEmpty());
    plot_->showView(view_, t);
    showTables();
    plot_->setAccessibleDescription(sprocketsTextLines(view_, t).join(QLatin1Char('\n')));
}

void SprocketsWindow::showTables()
{
    const TextTables& t = tables_;
    figures_->clearContents();
    rears_->setRowCount(0);
    figures_->setVisible(bool(view_.result));
    rears_->setVisible(view_.result && !view_.result->rears.empty());
    suggested_->setVisible(rears_->isVisibleTo(this));
    if (!view_.result)
        return;
    const OtherSprockets& r = *view_.result;
    const auto [high, low] = lapExtremes(view_);
    figures_->setHorizontalHeaderLabels({fittedText(view_, t), otherText(view_, t)});
    figures_->setVerticalHeaderLabels({t.texts[sprocketsMaximum], t.texts[sprocketsCorner]});
    const std::array<int, 4> values{high, r.maxRpm, low, r.minRpm};
    for (int i = 0; i < 4; ++i) {
        auto* item = new QTableWidgetItem(QString::number(values[std::size_t(i)]));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        figures_->setItem(i / 2, i % 2, item);
    }
    rears_->setHorizontalHeaderLabels({t.texts[sprocketsRearColumn], t.texts[sprocketsMaximum]});
    suggested_->setText(t.texts[sprocketsSuggested].arg(view_.other.front));
    rears_->setRowCount(int(r.rears.size()));
    for (int i = 0; i < int(r.rears.size()); ++i) {
        const RearChoice& choice = r.rears[std::size_t(i)];
        const std::array<QString, 2> cells{QString::number(choice.rear), QString::number(choice.maxRpm)};
        for (int c = 0; c < 2; ++c) {
            auto* item = new QTableWidgetItem(cells[std::size_t(c)]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (i == r.closest) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
                item->setToolTip(t.texts[sprocketsClosest]);
            }
            rears_->setItem(i, c, item);
        }
    }
    fitRows(figures_);
    fitRows(rears_);
}

}  // namespace tormel
