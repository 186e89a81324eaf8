#include "record/engine_hours_panel.h"

#include "base/widget_twips.h"
#include "record/engine_hours_layout.h"

#include <QLabel>
#include <QPushButton>

namespace tormel {

EngineHoursPanel::EngineHoursPanel(QWidget* parent)
    : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame_Moteurs"));
    for (int n = 0; n < 5; ++n) {
        auto* title = new QLabel(this);
        title->setObjectName(QStringLiteral("Label_Moteur(%1)").arg(n));
        title->setAlignment(Qt::AlignCenter);
        Label_Moteur[std::size_t(n)] = title;
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("Ltmot(%1)").arg(n));
        value->setAlignment(Qt::AlignCenter);
        QFont font = value->font();
        font.setBold(true);
        value->setFont(font);
        Ltmot[std::size_t(n)] = value;
    }
    Fermer_Moteurs = new QPushButton(this);
    Fermer_Moteurs->setObjectName(QStringLiteral("Fermer_Moteurs"));
    connect(Fermer_Moteurs, &QPushButton::clicked, this, &EngineHoursPanel::closeClicked);
    hide();
}

void EngineHoursPanel::layOut(const TwipsRect& area)
{
    const EngineHoursLayout l = engineHoursLayout(area, LabelHeightTwips, ButtonWidthTwips, ButtonHeightTwips);
    placeTwips(this, l.frame);
    for (int n = 0; n < 5; ++n) {
        placeTwips(Label_Moteur[std::size_t(n)], l.titles[std::size_t(n)]);
        placeTwips(Ltmot[std::size_t(n)], l.values[std::size_t(n)]);
    }
    placeTwips(Fermer_Moteurs, l.closeButton);
}

void EngineHoursPanel::applyTexts(const TextTables& tables, bool)
{
    setTitle(tables.texts[engineHoursTitle]);
    for (int n = 0; n < 5; ++n)
        Label_Moteur[std::size_t(n)]->setText(tables.texts[engineWord] + QString::number(n + 1));
    Fermer_Moteurs->setText(tables.texts[closeButton]);
}

void EngineHoursPanel::setTimes(const std::array<QString, 5>& times)
{
    for (int n = 0; n < 5; ++n)
        Ltmot[std::size_t(n)]->setText(times[std::size_t(n)]);
}

}  // namespace tormel
