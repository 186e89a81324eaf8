#include "shell/comparison_window.h"

#include "base/named.h"
#include "laps/conversions.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QMouseEvent>
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
    page_ = QImage();
    update();
}

// The page is kept as painted; a cursor step paints only its line and readings over it.
void ComparisonCanvas::paintEvent(QPaintEvent*)
{
    const QRectF area = QRectF(rect()).adjusted(12, 8, -12, -8);
    const qreal ratio = devicePixelRatioF();
    if (page_.isNull() || page_.deviceIndependentSize() != QSizeF(size())) {
        page_ = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        page_.setDevicePixelRatio(ratio);
        page_.fill(palette().color(QPalette::Base));
        QPainter painter(&page_);
        painter.setRenderHint(QPainter::TextAntialiasing);
        plot_ = paintComparison(painter, area, content_, PaintLayer::Page);
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), page_);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintComparison(painter, area, content_, PaintLayer::Cursor);
}

void ComparisonCanvas::setAlignment(Alignment alignment)
{
    content_.alignment = alignment;
    content_.cursor.reset();
    content_.leftMarker.reset();
    content_.rightMarker.reset();
    page_ = QImage();
    update();
}

void ComparisonCanvas::placeCursor(double x)
{
    if (content_.laps.empty() || content_.laps.front().kind != RecordKind::EngineSpeed)
        return;
    content_.cursor = std::clamp(x, plot_.from, plot_.to);
    // The readings as text too, for screen readers.
    setAccessibleDescription(cursorReadingLines(content_).join(QLatin1Char('\n')));
    update();
}

void ComparisonCanvas::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    if (plot_.plot.width() > 0 && plot_.plot.contains(event->position()))
        placeCursor(plot_.from + (event->position().x() - plot_.plot.left()) / plot_.plot.width() * (plot_.to - plot_.from));
}

void ComparisonCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        mousePressEvent(event);
}

void ComparisonCanvas::keyPressEvent(QKeyEvent* event)
{
    // Up puts the left marker at the cursor, Down the right one, as on the single charts.
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && content_.cursor) {
        (event->key() == Qt::Key_Up ? content_.leftMarker : content_.rightMarker) = content_.cursor;
        setAccessibleDescription(cursorReadingLines(content_).join(QLatin1Char('\n')));
        update();
        return;
    }
    const int direction = event->key() == Qt::Key_Right ? 1 : event->key() == Qt::Key_Left ? -1 : 0;
    if (direction == 0 || content_.laps.empty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const OverlayLap& reference = content_.laps[std::size_t(std::clamp(content_.reference, 0, int(content_.laps.size()) - 1))].trace;
    const double step = content_.alignment == Alignment::Time ? OverlaySampleSeconds
                                                               : 1.0 / std::max<std::size_t>(1, reference.rpm.size() - 1);
    placeCursor(content_.cursor.value_or(plot_.from) + direction * step);
}

ComparisonWindow::ComparisonWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , laps_(named(new QListWidget, QStringLiteral("CompareLaps")))
    , reference_(named(new QPushButton, QStringLiteral("CompareMakeReference")))
    , remove_(named(new QPushButton, QStringLiteral("CompareRemove")))
    , clear_(named(new QPushButton, QStringLiteral("CompareClear")))
    , report_(named(new QPushButton, QStringLiteral("CompareReport")))
    , fraction_(named(new QCheckBox, QStringLiteral("OverlayFraction")))
    , note_(named(new QLabel, QStringLiteral("CompareNote")))
    , page_(named(new ComparisonCanvas, QStringLiteral("ComparisonPage")))
{
    setObjectName(QStringLiteral("ComparisonWindow"));
    laps_->setFlow(QListView::LeftToRight);
    laps_->setMaximumHeight(laps_->fontMetrics().height() * 2 + 12);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {reference_, remove_, clear_, report_})
        buttons->addWidget(b);
    buttons->addWidget(fraction_);
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
    connect(fraction_, &QCheckBox::toggled, this,
            [this](bool on) { page_->setAlignment(on ? Alignment::Fraction : Alignment::Time); });
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
    fraction_->setText(t.texts[overlayAlignFraction]);
    const bool engineSpeed = !content.laps.empty() && content.laps.front().kind == RecordKind::EngineSpeed;
    fraction_->setVisible(engineSpeed);
    content.alignment = fraction_->isChecked() ? Alignment::Fraction : Alignment::Time;
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
