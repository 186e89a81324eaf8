#include "download/download_panel.h"

#include "base/widget_twips.h"
#include "record/record_image.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace tormel {

namespace {
const QString startScan = QStringLiteral("Start Scan");
const QString stopScan = QStringLiteral("Stop Scan");
}  // namespace

DownloadPanel::DownloadPanel(QWidget* parent)
    : QGroupBox(parent)
    , Command3D1(new QPushButton(startScan, this))
    , Fermer_Scan(new QPushButton(this))
    , Label4(new QLabel(QStringLiteral("0"), this))
    , progress_(new QProgressBar(this))
{
    setObjectName(QStringLiteral("Frame_Lecture_Pro"));
    Command3D1->setObjectName(QStringLiteral("Command3D1"));
    Fermer_Scan->setObjectName(QStringLiteral("Fermer_Scan"));
    Label4->setObjectName(QStringLiteral("Label4"));
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, RecordImage::Size);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    showListening(false);
    connect(Command3D1, &QPushButton::clicked, this, &DownloadPanel::Command3D1_Click);
    connect(Fermer_Scan, &QPushButton::clicked, this, &DownloadPanel::Fermer_Scan_Click);
    hide();
}

void DownloadPanel::layOut(const TwipsRect& corner)
{
    placeTwips(this, {corner.left, corner.top, WidthTwips, HeightTwips});
    placeTwips(Command3D1, {240, 360, 2400, ButtonHeightTwips});
    placeTwips(Fermer_Scan, {3000, 360, ButtonWidthTwips, ButtonHeightTwips});
    placeTwips(Label4, {240, 960, 1200, LabelHeightTwips});
    placeTwips(progress_, {1560, 960, 4200, LabelHeightTwips});
}

void DownloadPanel::applyTexts(const TextTables& tables, bool toolTipsOn)
{
    Command3D1->setToolTip(toolTipsOn ? tables.tips[startScanTip] : QString());
    Fermer_Scan->setText(tables.texts[closeButton]);
}

void DownloadPanel::showListening(bool listening)
{
    Command3D1->setText(listening ? stopScan : startScan);
    const QColor colour = listening ? QColor(192, 0, 0) : QColor(0, 128, 0);
    Command3D1->setStyleSheet(QStringLiteral("QPushButton { background: %1; color: white; }").arg(colour.name()));
}

bool DownloadPanel::showsListening() const
{
    return Command3D1->text() != startScan;
}

void DownloadPanel::showWaiting(int bytes)
{
    Label4->setText(QString::number(bytes));
    progress_->setValue(std::clamp(bytes, 0, RecordImage::Size));
}

QString DownloadPanel::waitingText() const
{
    return Label4->text();
}

}  // namespace tormel
