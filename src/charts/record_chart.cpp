#include "charts/record_chart.h"

#include "base/widget_twips.h"

#include <QLabel>

#include <algorithm>

namespace tormel {

namespace {

template <typename T>
T* named(T* widget, const char* name, int g)
{
    widget->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(g));
    return widget;
}

}  // namespace

RecordChart::RecordChart(QWidget* parent, int g)
    : QGroupBox(parent)
    , Crpm(named(new QWidget(this), "Crpm", g))
    , Ctr(named(new QWidget(this), "Ctr", g))
    , SSFrame3(named(new QGroupBox(this), "SSFrame3", g))
    , Label19(named(new QLabel(this), "Label19", g))
    , Label20(named(new QLabel(this), "Label20", g))
    , Label21(named(new QLabel(this), "Label21", g))
    , Label22(named(new QLabel(this), "Label22", g))
    , Label23(named(new QLabel(this), "Label23", g))
    , Label24(named(new QLabel(this), "Label24", g))
    , Rpm_Inst(named(new QLabel(this), "Rpm_Inst", g))
    , Rpm_L(named(new QLabel(this), "Rpm_L", g))
    , Rpm_R(named(new QLabel(this), "Rpm_R", g))
{
    named(this, "Graphique_Record", g);
    hide();
}

void RecordChart::layOut(const TwipsRect& frame, int screenWidth)
{
    placeTwips(this, frame);
    const int x0 = 2400;
    const int y0 = 240;
    const int crpmWidth = int(0.75 * screenWidth) - x0;
    placeTwips(Crpm, {x0, y0, std::max(0, crpmWidth), std::max(0, frame.height - 360)});
    const int x1 = x0 + crpmWidth + 200;
    placeTwips(Ctr, {x1, y0, std::max(0, screenWidth - x1 - 320), std::max(0, frame.height - 360)});
    int top = y0;
    for (QLabel* l : {Label19, Label20, Rpm_Inst, Label21, Rpm_L, Label22, Rpm_R, Label23, Label24}) {
        placeTwips(l, {120, top, x0 - 240, LabelHeightTwips});
        top += LabelHeightTwips;
    }
    placeTwips(SSFrame3, {120, top, x0 - 240, 2 * LabelHeightTwips});
}

void RecordChart::applyTexts(const TextTables& tables, bool toolTipsOn)
{
    const auto tip = [&](int i) { return toolTipsOn ? tables.Tips[std::size_t(i)] : QString(); };
    Crpm->setToolTip(tip(5));
    Ctr->setToolTip(tip(6));
    Label24->setToolTip(tip(14));
    Label23->setToolTip(tip(9));
    Label22->setToolTip(tip(10));
    Rpm_R->setToolTip(tip(10));
    Label21->setToolTip(tip(11));
    Rpm_L->setToolTip(tip(11));
    Label20->setToolTip(tip(12));
    Rpm_Inst->setToolTip(tip(12));
    Label19->setToolTip(tip(13));
    SSFrame3->setTitle(tables.Textes[52]);
}

}  // namespace tormel
