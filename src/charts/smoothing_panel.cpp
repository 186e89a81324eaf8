#include "charts/smoothing_panel.h"

#include "base/widget_twips.h"
#include "charts/record_chart_rules.h"

#include <QLabel>
#include <QSpinBox>

#include <algorithm>

namespace tormel {

SmoothingPanel::SmoothingPanel(QWidget* parent)
    : QGroupBox(parent)
    , UpDown1(new QSpinBox(this))
    , Label9(new QLabel(this))
{
    setObjectName(QStringLiteral("Parametres_Courbe"));
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    Label9->setObjectName(QStringLiteral("Label9"));
    UpDown1->setRange(0, MaxLevel);
    UpDown1->setValue(0);
    connect(UpDown1, &QSpinBox::valueChanged, this, &SmoothingPanel::valueChanged);
    hide();
}

void SmoothingPanel::layOut(const TwipsRect& place)
{
    placeTwips(this, place);
    const int row = std::max(0, place.height - 120);
    placeTwips(UpDown1, {120, 60, 900, row});
    placeTwips(Label9, {1140, 60, std::max(0, place.width - 1260), row});
}

int SmoothingPanel::value() const
{
    return UpDown1->value();
}

void SmoothingPanel::setValue(int level)
{
    UpDown1->setValue(level);
}

void SmoothingPanel::showSmoothing(const QString& entry)
{
    Label9->setText(smoothingText(UpDown1->value(), entry));
}

QString SmoothingPanel::smoothingLabel() const
{
    return Label9->text();
}

}  // namespace tormel
