#include "download/download_panel.h"

#include "base/widget_twips.h"

#include <QLabel>
#include <QPushButton>

namespace tormel {

DownloadPanel::DownloadPanel(QWidget* parent)
    : QGroupBox(parent)
    , Command3D1(new QPushButton(QStringLiteral("Start Scan"), this))
    , Fermer_Scan(new QPushButton(this))
    , Label4(new QLabel(this))
{
    setObjectName(QStringLiteral("Frame_Lecture_Pro"));
    Command3D1->setObjectName(QStringLiteral("Command3D1"));
    Fermer_Scan->setObjectName(QStringLiteral("Fermer_Scan"));
    Label4->setObjectName(QStringLiteral("Label4"));
    hide();
}

void DownloadPanel::layOut(const TwipsRect& corner)
{
    placeTwips(this, {corner.left, corner.top, 6000, 2400});
    placeTwips(Command3D1, {240, 360, 2400, ButtonHeightTwips});
    placeTwips(Fermer_Scan, {3000, 360, ButtonWidthTwips, ButtonHeightTwips});
    placeTwips(Label4, {240, 960, 5000, LabelHeightTwips});
}

void DownloadPanel::applyTexts(const TextTables& tables, bool toolTipsOn)
{
    Command3D1->setToolTip(toolTipsOn ? tables.Tips[7] : QString());
    Fermer_Scan->setText(tables.Textes[42]);
}

}  // namespace tormel
