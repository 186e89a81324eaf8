#include "charts/record_chart.h"

#include "base/number_format.h"
#include "base/widget_twips.h"
#include "charts/canvas.h"
#include "charts/cursor_rules.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace tormel {

namespace {

template <typename T>
T* named(T* widget, const char* name, int g)
{
    widget->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(g));
    return widget;
}

const QColor Trace{255, 255, 255};
const QColor Beacon{0, 255, 0};
const QColor Quickest{0, 255, 0};
const QColor OtherLap{255, 255, 0};

// The right edge of a scale from `first` to `last` over `columns` pixels
// that puts `last` in the last column rather than just outside the canvas,
// so that the beacon line at the end of a lap and the longest class show.
double lastColumnEdge(int first, int last, int columns)
{
    // Half a column of margin keeps `last` clear of the rounding at the edge.
    return last + double(last - first) / std::max(0.5, columns - 0.5);
}

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

QLabel* readout(QWidget* parent, const char* name, int g)
{
    auto* label = named(new QLabel(parent), name, g);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(p);
    return label;
}

}  // namespace

RecordChart::RecordChart(QWidget* parent, int g)
    : QGroupBox(parent)
    , crpm_(named(new Canvas(this), "Crpm", g))
    , ctr_(named(new Canvas(this), "Ctr", g))
    , SSCommand4(named(new QPushButton(QStringLiteral("<"), this), "SSCommand4", g))
    , SSCommand5(named(new QPushButton(QStringLiteral(">"), this), "SSCommand5", g))
    , Label31(readout(this, "Label31", g))
    , Label24(readout(this, "Label24", g))
    , SSFrame1(named(new QGroupBox(this), "SSFrame1", g))
    , SSFrame2(named(new QGroupBox(this), "SSFrame2", g))
    , SSFrame3(named(new QGroupBox(this), "SSFrame3", g))
    , texts_(frenchTextTables())
    , decimalSeparator_(systemDecimalSeparator())
    , cursor_(QColor(255, 0, 0))
    , left_(QColor(0, 255, 255))
    , right_(QColor(255, 255, 0))
    , class_(QColor(0, 255, 0))
{
    named(this, "Graphique_Record", g);
    // Black canvases: the system's window-text colour.
    const QColor black = palette().color(QPalette::WindowText);
    for (Canvas* canvas : {crpm_, ctr_}) {
        canvas->setBackgroundColour(black);
        canvas->clear();
        connect(canvas, &Canvas::resized, this, &RecordChart::redraw);
    }
    const char* names[] = {"Rpm_Inst", "Rpm_L", "Rpm_R", "Label19", "Label20", "Label21", "Label22", "Label23", "Label25"};
    for (int i = 0; i < 9; ++i)
        readouts_[std::size_t(i)] = readout(i < 4 ? SSFrame1 : i < 8 ? SSFrame2 : SSFrame3, names[i], g);
    // Each read-out in the colour of the figure it follows.
    const QColor colours[] = {Qt::white, QColor(0, 255, 255), QColor(255, 255, 0), QColor(255, 0, 0), Qt::white,
                              QColor(0, 255, 255), QColor(255, 255, 0), QColor(255, 0, 0), QColor(0, 255, 0)};
    for (int i = 0; i < 9; ++i)
        setTextColour(readouts_[std::size_t(i)], colours[i]);
    setTextColour(Label24, QColor(255, 255, 0));
    connect(crpm_, &Canvas::mouseMoved, this, &RecordChart::Crpm_MouseMove);
    connect(crpm_, &Canvas::mousePressed, this, &RecordChart::Crpm_MouseDown);
    connect(crpm_, &Canvas::arrowPressed, this, &RecordChart::Crpm_KeyDown);
    connect(crpm_, &Canvas::focusGained, this, [this] { setFocusColour(Label31, true); });
    connect(crpm_, &Canvas::focusLost, this, [this] { setFocusColour(Label31, false); });
    connect(ctr_, &Canvas::mouseMoved, this, &RecordChart::Ctr_MouseMove);
    connect(ctr_, &Canvas::mousePressed, this, &RecordChart::Ctr_MouseDown);
    connect(ctr_, &Canvas::arrowPressed, this, &RecordChart::Ctr_KeyDown);
    connect(ctr_, &Canvas::focusGained, this, [this] { setFocusColour(Label24, true); });
    connect(ctr_, &Canvas::focusLost, this, [this] { setFocusColour(Label24, false); });
    connect(SSCommand4, &QPushButton::clicked, this, &RecordChart::previousLapClicked);
    connect(SSCommand5, &QPushButton::clicked, this, &RecordChart::nextLapClicked);
    hide();
}

RecordChart::~RecordChart()
{
    // The canvases outlive this part of the chart: their focus and pointer
    // signals, sent while they are taken down, must not reach it.
    crpm_->disconnect(this);
    ctr_->disconnect(this);
}

void RecordChart::layOut(const TwipsRect& frame, int screenWidth)
{
    placeTwips(this, frame);
    setTitle(QString());
    placeTwips(SSFrame1, {0, 300, 852, 1332});
    placeTwips(SSFrame2, {960, 300, 852, 1332});
    placeTwips(SSFrame3, {0, 1620, 1812, 552});
    for (int i = 0; i < 8; ++i)
        placeTwips(readouts_[std::size_t(i)], {120, 300 + 240 * (i % 4), 612, 252});
    placeTwips(readouts_[8], {120, 240, 1572, 252});
    const RecordChartLayout l = sizeRecordChart(screenWidth, frame.height);
    placeTwips(crpm_, l.crpm);
    placeTwips(ctr_, l.ctr);
    QFont font = Label24->font();
    font.setPointSize(label24PointSize(screenWidth));
    Label24->setFont(font);
    placeTopRow();
}

void RecordChart::placeTopRow()
{
    const TwipsRect crpm = twipsGeometry(crpm_);
    placeTwips(SSCommand4, {crpm.left, 0, 600, 240});
    placeTwips(SSCommand5, {crpm.left + 600, 0, 600, 240});
    Label31->adjustSize();
    placeTwips(Label31, {crpm.left + 1200, 0, Label31->width() * TwipsPerPixel, 276});
    const TwipsRect ctr = twipsGeometry(ctr_);
    placeTwips(Label24, {ctr.left, 0, ctr.width, 276});
}

void RecordChart::applyTexts(const TextTables& tables, bool toolTipsOn)
{
    texts_ = tables;
    const auto tip = [&](int i) { return toolTipsOn ? tables.tips[std::size_t(i)] : QString(); };
    crpm_->setToolTip(tip(cursorTraceTip));
    ctr_->setToolTip(tip(cursorHistogramTip));
    Label24->setToolTip(tip(timeInRangeTip));
    const int tips[] = {cursorValueTip, leftMarkerTip, rightMarkerTip, leftToRightTip,
                        cursorValueTip, leftMarkerTip, rightMarkerTip, rightMinusLeftTip};  // Rpm_Inst, Rpm_L, Rpm_R, Label19, Label20..Label23
    for (int i = 0; i < 8; ++i)
        readouts_[std::size_t(i)]->setToolTip(tip(tips[i]));
    SSFrame3->setTitle(tables.texts[accelerationTitle]);
    if (stats_)
        draw();
}

void RecordChart::drawLap(const RpmStatistics& stats, const LapView& lap, int rpmMax, bool quickest)
{
    stats_ = &stats;
    lap_ = lap;
    rpmMax_ = rpmMax;
    quickest_ = quickest;
    decimalSeparator_ = systemDecimalSeparator();
    draw();
    resetTrace();
    for (QLabel* label : readouts_)
        label->clear();
    Label24->clear();
    // The cursor at mid-lap, the histogram cursor half-way up.
    const double middle = (lap_.last - lap_.first) / 2.0 + lap_.first;
    placeCursor(middle);
    placeClass(ctr_->scale().top / 2.0);
}

void RecordChart::redraw()
{
    if (!stats_)
        return;
    // The picture is new beneath the figures: the cursors go back where they were.
    const double x = cursor_.x();
    draw();
    placeCursor(x);
    placeClass(classY_);
}

void RecordChart::clearLap()
{
    stats_ = nullptr;
    for (Canvas* canvas : {crpm_, ctr_}) {
        canvas->setPenMode(Canvas::PenMode::Copy);
        canvas->clear();
    }
    setTitle(QString());
    Label31->clear();
    Label24->clear();
    for (QLabel* label : readouts_)
        label->clear();
}

void RecordChart::draw()
{
    for (CrossFigure* figure : {&cursor_, &left_, &right_})
        figure->forget();
    class_.forget();
    crpm_->setPenMode(Canvas::PenMode::Copy);
    crpm_->clear();
    if (lap_.first != lap_.last)
        crpm_->setScale({double(lap_.first), double(rpmMax_), lastColumnEdge(lap_.first, lap_.last, crpm_->width()), 0.0});
    const TraceFigure trace = traceFigure(*stats_, lap_, rpmMax_);
    for (const QLineF& segment : trace.segments)
        crpm_->line(segment.p1(), segment.p2(), Trace);
    for (const QLineF& beacon : trace.beacons)
        crpm_->line(beacon.p1(), beacon.p2(), Beacon);
    lapMaxRpm_ = trace.lapMaxRpm;
    crpm_->setPenMode(Canvas::PenMode::Xor);

    ctr_->setPenMode(Canvas::PenMode::Copy);
    ctr_->clear();
    ctr_->setScale({0.0, histogramTop(rpmMax_, stats_->rpmStep), lastColumnEdge(0, lap_.histogramMax, ctr_->width()), 0.0});
    for (const QLineF& segment : histogramSegments(lap_, histogramClasses(rpmMax_, stats_->rpmStep)))
        ctr_->line(segment.p1(), segment.p2(), Trace);
    ctr_->setPenMode(Canvas::PenMode::Xor);

    setTextColour(Label31, quickest_ ? Quickest : OtherLap);
    setTitle(lapCaption(texts_, lap_.lap, quickest_));
    Label31->setText(lapSummary(texts_, lap_.seconds, lapMaxRpm_, decimalSeparator_));
    placeTopRow();
    show();
}

// ---- Measuring ------------------------------------------------------------------

int RecordChart::sampleRpm(double x) const
{
    const int s = std::clamp(int(std::floor(x)), 0, RpmStatistics::Samples - 1);
    return int(std::floor(stats_->smoothedRpm[std::size_t(s)]));
}

void RecordChart::resetTrace()
{
    crpm_->setFocus();
    left_.forget();
    right_.forget();
    cursor_.forget();
    class_.forget();
}

bool RecordChart::placeCursor(double x)
{
    const UserScale scale = crpm_->scale();
    if (!stats_ || !withinEdges(x, scale.left, scale.right))
        return false;
    const int s = std::clamp(int(std::floor(x)), 0, RpmStatistics::Samples - 1);
    cursorRpm_ = stats_->smoothedRpm[std::size_t(s)];
    cursor_.place(*crpm_, x, cursorRpm_);
    readouts_[0]->setText(QString::number(int(std::floor(cursorRpm_))));
    readouts_[4]->setText(sampleTimeText(s, lap_.first, decimalSeparator_));
    return true;
}

void RecordChart::placeMarker(bool left, double x)
{
    CrossFigure& marker = left ? left_ : right_;
    const int rpm = sampleRpm(x);
    marker.place(*crpm_, x, rpm);
    const int s = int(std::floor(x));
    readouts_[left ? 1 : 2]->setText(QString::number(rpm));
    readouts_[left ? 5 : 6]->setText(sampleTimeText(s, lap_.first, decimalSeparator_));
    const MarkerDifferences d = markerDifferences(left_.x(), right_.x(), int(left_.rpm()), int(right_.rpm()),
                                                  decimalSeparator_);
    readouts_[7]->setText(d.secondsText);
    readouts_[3]->setText(d.rpmDifferenceText);
    if (d.rateText)
        readouts_[8]->setText(*d.rateText);
}

void RecordChart::Crpm_MouseMove(PointerButtons buttons, Modifiers modifiers, double x, double y)
{
    if (!modifiers.any() || !placeCursor(x))
        return;
    // Dragging with a button and a modifier drags that button's marker too.
    if (buttons.any())
        Crpm_MouseDown(buttons, modifiers, x, y);
}

void RecordChart::Crpm_MouseDown(PointerButtons button, Modifiers modifiers, double x, double)
{
    crpm_->setFocus();
    if (!modifiers.any() || !stats_)
        return;
    placeMarker(button.leftAlone(), x);
}

void RecordChart::Crpm_KeyDown(ArrowKey key, Modifiers modifiers)
{
    if (modifiers.shiftAlone() || !stats_)
        return;
    switch (key) {
    case ArrowKey::Left:
    case ArrowKey::Right:
        placeCursor(stepTarget(cursor_.x(), key == ArrowKey::Right ? 1 : -1));
        break;
    case ArrowKey::Up:
    case ArrowKey::Down:
        placeMarker(key == ArrowKey::Up, std::floor(cursor_.x()));
        break;
    }
}

void RecordChart::placeClass(double y)
{
    const UserScale scale = ctr_->scale();
    if (!stats_ || !withinEdges(y, scale.top, scale.bottom))
        return;
    classY_ = y;
    const int c = std::clamp(int(std::floor(y)), 0, RpmStatistics::Codes - 1);
    class_.place(*ctr_, std::floor(y), scale.right);
    Label24->setText(histogramReadout(stats_->rpmStep, y, lap_.histogram[std::size_t(c)], decimalSeparator_));
}

void RecordChart::Ctr_MouseMove(PointerButtons, Modifiers modifiers, double, double y)
{
    if (modifiers.any())
        placeClass(y);
}

void RecordChart::Ctr_MouseDown(PointerButtons, Modifiers, double, double)
{
    ctr_->setFocus();
}

void RecordChart::Ctr_KeyDown(ArrowKey key, Modifiers modifiers)
{
    if (modifiers.shiftAlone() || (key != ArrowKey::Up && key != ArrowKey::Down))
        return;
    placeClass(stepTarget(classY_, key == ArrowKey::Up ? 1 : -1));
}

void RecordChart::setFocusColour(QLabel* label, bool focused)
{
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, focused ? QColor(0, 0, 255) : QColor(0, 0, 0));
    label->setPalette(p);
}

}  // namespace tormel
