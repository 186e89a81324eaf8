#include "shell/comparison_window.h"

#include "base/named.h"
#include "laps/conversions.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QScreen>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace tormel {

namespace {

// Below this the page scrolls: six laps, three sections and the sheets stay readable.
constexpr int PageMinimumWidth = 760;
constexpr int PageMinimumHeight = 600;

QIcon swatch(Rgb colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(QColor(colour.r, colour.g, colour.b));
    return QIcon(pixmap);
}

}  // namespace

ComparisonCanvas::ComparisonCanvas(QWidget* parent)
    : QWidget(parent)
{
    setMinimumSize(PageMinimumWidth, PageMinimumHeight);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void ComparisonCanvas::setContent(ComparisonContent content)
{
    content_ = std::move(content);
    update();
}

void ComparisonCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintComparison(painter, QRectF(rect()).adjusted(12, 8, -12, -8), content_);
}

ComparisonWindow::ComparisonWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , laps_(named(new QListWidget, QStringLiteral("CompareLaps")))
    , reference_(named(new QPushButton, QStringLiteral("CompareMakeReference")))
    , remove_(named(new QPushButton, QStringLiteral("CompareRemove")))
    , clear_(named(new QPushButton, QStringLiteral("CompareClear")))
    , report_(named(new QPushButton, QStringLiteral("CompareReport")))
    , note_(named(new QLabel, QStringLiteral("CompareNote")))
    , page_(named(new ComparisonCanvas, QStringLiteral("ComparisonPage")))
{
    setObjectName(QStringLiteral("ComparisonWindow"));
    laps_->setFlow(QListView::LeftToRight);
    laps_->setMaximumHeight(laps_->fontMetrics().height() * 2 + 12);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {reference_, remove_, clear_, report_})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* scroll = new QScrollArea;
    scroll->setWidget(page_);
    scroll->setWidgetResizable(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(laps_);
    layout->addLayout(buttons);
    layout->addWidget(note_);
    layout->addWidget(scroll, 1);
    const auto chosen = [this](void (ComparisonWindow::*signal)(int)) {
        return [this, signal] {
            if (laps_->currentRow() >= 0)
                emit(this->*signal)(laps_->currentRow());
        };
    };
    connect(reference_, &QPushButton::clicked, this, chosen(&ComparisonWindow::referenceChosen));
    connect(remove_, &QPushButton::clicked, this, chosen(&ComparisonWindow::removeRequested));
    connect(clear_, &QPushButton::clicked, this, &ComparisonWindow::clearRequested);
    connect(report_, &QPushButton::clicked, this, &ComparisonWindow::reportRequested);
    // Large enough for the page, within the screen.
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect(0, 0, 1100, 900);
    resize(std::min(1100, screen.width() * 9 / 10), std::min(900, screen.height() * 9 / 10));
}

void ComparisonWindow::show(ComparisonContent content)
{
    const TextTables& t = content.tables;
    setWindowTitle(t.texts[compareTitle]);
    reference_->setText(t.texts[compareMakeReference]);
    remove_->setText(t.texts[compareRemove]);
    clear_->setText(t.texts[compareClear]);
    report_->setText(t.texts[reportMenu]);
    const int row = laps_->currentRow();
    laps_->clear();
    for (std::size_t i = 0; i < content.laps.size(); ++i) {
        const ComparedSessionLap& lap = content.laps[i];
        const QString text = int(i) == content.reference
                                 ? QStringLiteral("%1 (%2)").arg(lap.label, t.texts[compareReference])
                                 : lap.label;
        laps_->addItem(new QListWidgetItem(swatch(lap.colour), text));
    }
    laps_->setCurrentRow(std::min(row, laps_->count() - 1));
    const bool enough = int(content.laps.size()) >= MinComparedLaps;
    note_->setText(enough ? QString() : t.texts[compareTooFew]);
    note_->setVisible(!enough);
    report_->setEnabled(enough);
    page_->setContent(enough ? std::move(content) : ComparisonContent{});
    QWidget::show();
    raise();
    activateWindow();
}

std::vector<int> chooseLaps(QWidget* parent, const QString& title, const std::vector<LapTimes>& laps, const TextTables& tables)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("LapChooser"));
    dialog.setWindowTitle(title);
    auto* list = named(new QListWidget, QStringLiteral("LapChooserLaps"));
    for (const LapTimes& lap : laps) {
        auto* item = new QListWidgetItem(tables.texts[compareLapItem].arg(lap.lap).arg(lapTimeText(float(lap.time))));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setData(Qt::UserRole, lap.lap);
        list->addItem(item);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tables.texts[compareShow]);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(buttons);
    std::vector<int> chosen;
    if (dialog.exec() != QDialog::Accepted)
        return chosen;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            chosen.push_back(list->item(i)->data(Qt::UserRole).toInt());
    return chosen;
}

}  // namespace tormel
