#include "charts/record_chart.h"

#include "base/number_format.h"
#include "base/widget_twips.h"
#include "charts/canvas.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

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
    connect(SSCommand4, &QPushButton::clicked, this, &RecordChart::previousLapClicked);
    connect(SSCommand5, &QPushButton::clicked, this, &RecordChart::nextLapClicked);
    hide();
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
    const auto tip = [&](int i) { return toolTipsOn ? tables.Tips[std::size_t(i)] : QString(); };
    crpm_->setToolTip(tip(5));
    ctr_->setToolTip(tip(6));
    Label24->setToolTip(tip(14));
    const int tips[] = {12, 11, 10, 13, 12, 11, 10, 9};  // Rpm_Inst, Rpm_L, Rpm_R, Label19, Label20..Label23
    for (int i = 0; i < 8; ++i)
        readouts_[std::size_t(i)]->setToolTip(tip(tips[i]));
    SSFrame3->setTitle(tables.Textes[52]);
    if (stats_)
        draw();
}

void RecordChart::Affiche_Record(const RpmStatistics& stats, const LapView& lap, int rpmMax, bool quickest)
{
    stats_ = &stats;
    lap_ = lap;
    rpmMax_ = rpmMax;
    quickest_ = quickest;
    decimalSeparator_ = systemDecimalSeparator();
    draw();
    for (QLabel* label : readouts_)
        label->clear();
    Label24->clear();
    // Chart 0 is drawn last and keeps the focus.
    crpm_->setFocus();
}

void RecordChart::redraw()
{
    if (stats_)
        draw();
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
    crpm_->setPenMode(Canvas::PenMode::Copy);
    crpm_->clear();
    if (lap_.first != lap_.last)
        crpm_->setScale({double(lap_.first), double(rpmMax_), lastColumnEdge(lap_.first, lap_.last, crpm_->width()), 0.0});
    const TraceFigure trace = traceFigure(*stats_, lap_, rpmMax_);
    for (const QLineF& segment : trace.segments)
        crpm_->line(segment.p1(), segment.p2(), Trace);
    for (const QLineF& beacon : trace.beacons)
        crpm_->line(beacon.p1(), beacon.p2(), Beacon);
    rpmMaxTour_ = trace.Rpm_Max_Tour;
    crpm_->setPenMode(Canvas::PenMode::Xor);

    ctr_->setPenMode(Canvas::PenMode::Copy);
    ctr_->clear();
    ctr_->setScale({0.0, histogramTop(rpmMax_, stats_->Pas_Rpm), lastColumnEdge(0, lap_.histoMax, ctr_->width()), 0.0});
    for (const QLineF& segment : histogramSegments(lap_, histogramClasses(rpmMax_, stats_->Pas_Rpm)))
        ctr_->line(segment.p1(), segment.p2(), Trace);
    ctr_->setPenMode(Canvas::PenMode::Xor);

    setTextColour(Label31, quickest_ ? Quickest : OtherLap);
    setTitle(lapCaption(texts_, lap_.lap, quickest_));
    Label31->setText(lapSummary(texts_, lap_.seconds, rpmMaxTour_, decimalSeparator_));
    placeTopRow();
    show();
}

}  // namespace tormel
