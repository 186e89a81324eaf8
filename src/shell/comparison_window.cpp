#include "shell/comparison_window.h"

#include "base/named.h"
#include "laps/conversions.h"
#include "platform/dialogs.h"
#include "shell/comparison_plots.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QScreen>
#include <QShortcut>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace tormel {

namespace {

// The window's first size, within the screen.
constexpr int WindowWidth = 1100;
constexpr int WindowHeight = 900;
constexpr int HistogramHeight = 260;

QIcon swatch(Rgb colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(QColor(colour.r, colour.g, colour.b));
    return QIcon(pixmap);
}

}  // namespace

ComparisonCanvas::ComparisonCanvas(PageRows rows, QWidget* parent)
    : QWidget(parent)
    , rows_(rows)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void ComparisonCanvas::setContent(const ComparisonContent* content)
{
    content_ = content;
    page_ = QImage();
    const int line = fontMetrics().height() * 3 / 2;
    setFixedHeight(content ? pageLines(*content, rows_) * line + 16 : 0);
    // The painted tables, as text for screen readers.
    setAccessibleDescription(content ? pageTextLines(*content, rows_).join(QLatin1Char('\n')) : QString());
    update();
}

void ComparisonCanvas::showReadings()
{
    update();
}

// The tables are kept as painted; a cursor step paints only its readings over them.
void ComparisonCanvas::paintEvent(QPaintEvent*)
{
    if (!content_)
        return;
    const QRectF area = pageArea();
    const qreal ratio = devicePixelRatioF();
    if (page_.isNull() || page_.deviceIndependentSize() != QSizeF(size())) {
        page_ = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        page_.setDevicePixelRatio(ratio);
        page_.fill(palette().color(QPalette::Base));
        QPainter painter(&page_);
        painter.setRenderHint(QPainter::TextAntialiasing);
        paintPage(painter, area, *content_, rows_, PaintLayer::Page);
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), page_);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintPage(painter, area, *content_, rows_, PaintLayer::Cursor);
}

// A cell's whole text, which the page may have elided.
bool ComparisonCanvas::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && content_) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = pageTextAt(pageArea(), *content_, rows_, help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

ComparisonWindow::ComparisonWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , laps_(named(new QListWidget, QStringLiteral("CompareLaps")))
    , reference_(named(new QPushButton, QStringLiteral("CompareMakeReference")))
    , remove_(named(new QPushButton, QStringLiteral("CompareRemove")))
    , clear_(named(new QPushButton, QStringLiteral("CompareClear")))
    , report_(named(new QPushButton, QStringLiteral("CompareReport")))
    , sprockets_(named(new QPushButton, QStringLiteral("CompareSprockets")))
    , alignment_(named(new QComboBox, QStringLiteral("OverlayAlignment")))
    , speed_(named(new QCheckBox, QStringLiteral("OverlaySpeed")))
    , note_(named(new QLabel, QStringLiteral("CompareNote")))
    , splitter_(named(new QSplitter(Qt::Vertical), QStringLiteral("CompareSplitter")))
    , overlay_(named(new OverlayPlot, QStringLiteral("OverlayPlot")))
    , sections_(named(new SectionBarsPlot, QStringLiteral("SectionBarsPlot")))
    , histograms_(named(new HistogramPlot, QStringLiteral("HistogramPlot")))
    , page_(named(new ComparisonCanvas(PageRows::Tables), QStringLiteral("ComparisonPage")))
    , setups_(named(new ComparisonCanvas(PageRows::Setups), QStringLiteral("ComparisonSetups")))
{
    setObjectName(QStringLiteral("ComparisonWindow"));
    laps_->setFlow(QListView::LeftToRight);
    laps_->setMaximumHeight(laps_->fontMetrics().height() * 2 + 12);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {reference_, remove_, clear_, report_, sprockets_})
        buttons->addWidget(b);
    // The ways of aligning may be long in some languages: the row keeps to a
    // 1024-pixel screen, the list shows them whole.
    alignment_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    alignment_->setMinimumContentsLength(20);
    buttons->addWidget(alignment_);
    buttons->addWidget(speed_);
    buttons->addStretch();
    auto* charts = new QWidget;
    auto* chartsLayout = new QVBoxLayout(charts);
    chartsLayout->setContentsMargins(0, 0, 0, 0);
    chartsLayout->addWidget(overlay_);
    chartsLayout->addWidget(sections_);
    auto* below = new QWidget;
    auto* belowLayout = new QVBoxLayout(below);
    belowLayout->addWidget(page_);
    belowLayout->addWidget(histograms_);
    belowLayout->addWidget(setups_);
    belowLayout->addStretch();
    histograms_->setFixedHeight(HistogramHeight);
    auto* scroll = new QScrollArea;
    scroll->setWidget(below);
    scroll->setWidgetResizable(true);
    splitter_->addWidget(charts);
    splitter_->addWidget(scroll);
    splitter_->setCollapsible(0, false);
    // The chart takes two thirds of the height; the splitter gives it more.
    splitter_->setSizes({2, 1});
    splitter_->setStretchFactor(0, 2);
    splitter_->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(laps_);
    layout->addLayout(buttons);
    layout->addWidget(note_);
    layout->addWidget(splitter_, 1);
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
    connect(sprockets_, &QPushButton::clicked, this, [this] { emit sprocketsRequested(std::max(0, laps_->currentRow())); });
    connect(alignment_, &QComboBox::currentIndexChanged, this, [this](int index) {
        setAlignment(Alignment(index));
        emit alignmentChosen(content_.alignment);
    });
    connect(speed_, &QCheckBox::toggled, this, [this](bool on) {
        content_.showSpeed = on;
        overlay_->showLaps(content_);
    });
    connect(overlay_, &OverlayPlot::cursorPlaced, this, &ComparisonWindow::placeCursor);
    connect(overlay_, &OverlayPlot::cursorStepped, this, &ComparisonWindow::stepCursor);
    connect(overlay_, &OverlayPlot::markerPlaced, this, &ComparisonWindow::placeMarker);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                          : QRect(0, 0, WindowWidth, WindowHeight);
    resize(std::min(WindowWidth, screen.width() * 9 / 10), std::min(WindowHeight, screen.height() * 9 / 10));
}

void ComparisonWindow::show(ComparisonContent content)
{
    // The speeds stay hidden once the user hid them, whatever changes.
    content.showSpeed = content_.showSpeed;
    const TextTables& t = content.tables;
    setWindowTitle(t.texts[compareTitle]);
    reference_->setText(t.texts[compareMakeReference]);
    remove_->setText(t.texts[compareRemove]);
    clear_->setText(t.texts[compareClear]);
    report_->setText(t.texts[reportMenu]);
    sprockets_->setText(t.texts[sprocketsMenu]);
    speed_->setText(t.texts[overlayShowSpeed]);
    overlay_->setToolTip(t.texts[overlayHelp]);
    const bool engineSpeed = !content.laps.empty() && content.laps.front().kind == RecordKind::EngineSpeed;
    alignment_->setVisible(engineSpeed);
    sprockets_->setVisible(engineSpeed);
    alignment_->setToolTip(t.texts[overlayAlignment]);
    alignment_->setAccessibleName(t.texts[overlayAlignment]);
    {
        const QSignalBlocker quiet(alignment_);
        alignment_->clear();
        alignment_->addItems({t.texts[overlayAlignTime], t.texts[overlayAlignFraction], t.texts[overlayAlignTrack]});
        alignment_->setCurrentIndex(int(content.alignment));
        const QSignalBlocker quietSpeed(speed_);
        speed_->setChecked(content.showSpeed);
    }
    const int row = laps_->currentRow();
    laps_->clear();
    for (std::size_t i = 0; i < content.laps.size(); ++i) {
        const ComparedSessionLap& lap = content.laps[i];
        const QString text = int(i) == content.reference
                                 ? QStringLiteral("%1 (%2)").arg(lap.label, t.texts[compareReference])
                                 : lap.label;
        laps_->addItem(new QListWidgetItem(swatch(lap.colour), text));
        laps_->item(int(i))->setToolTip(legendName(lap));
    }
    laps_->setCurrentRow(std::min(row, laps_->count() - 1));
    const bool enough = int(content.laps.size()) >= MinComparedLaps;
    note_->setText(enough ? QString() : t.texts[compareTooFew]);
    note_->setVisible(!enough);
    report_->setEnabled(enough);
    if (!enough)
        content.laps.clear();
    content_ = std::move(content);
    workOutFigures(content_);
    speed_->setVisible(content_.figures.speedHigh > 0);
    showCharts();
    QWidget::show();
    raise();
    activateWindow();
}

void ComparisonWindow::showCharts()
{
    const bool engineSpeed = content_.figures.kind == RecordKind::EngineSpeed;
    overlay_->setVisible(engineSpeed);
    histograms_->setVisible(engineSpeed);
    sections_->setVisible(!engineSpeed);
    if (engineSpeed) {
        overlay_->showLaps(content_);
        histograms_->showHistograms(content_);
    } else {
        sections_->showSections(content_);
    }
    page_->setContent(&content_);
    setups_->setContent(&content_);
    overlay_->setAccessibleDescription(QString());
}

void ComparisonWindow::setAlignment(Alignment alignment)
{
    content_.alignment = alignment;
    workOutFigures(content_);
    showCharts();
}

void ComparisonWindow::placeCursor(double x)
{
    if (content_.figures.kind != RecordKind::EngineSpeed)
        return;
    const OverlayReadings& r = content_.readings;
    content_.readings = overlayReadings(content_.figures, std::clamp(x, 0.0, content_.figures.xEnd), r.leftMarker, r.rightMarker);
    overlay_->showReadings(content_.readings);
    page_->showReadings();
    // The readings as text too, for screen readers.
    overlay_->setAccessibleDescription(cursorReadingLines(content_).join(QLatin1Char('\n')));
}

void ComparisonWindow::stepCursor(int direction)
{
    const double from = content_.readings.cursor.value_or(overlay_->xAxis->range().lower);
    placeCursor(steppedCursor(content_.figures, from, direction));
}

void ComparisonWindow::placeMarker(bool left)
{
    OverlayReadings& r = content_.readings;
    if (!r.cursor)
        return;
    (left ? r.leftMarker : r.rightMarker) = r.cursor;
    placeCursor(*r.cursor);
}

std::optional<std::vector<int>> chooseLaps(QWidget* parent, const QString& title, const std::vector<LapTimes>& laps,
                                           const TextTables& tables, const std::vector<int>& chosen, int bestLap)
{
    const DialogOwner owner(parent);
    QDialog dialog(owner.widget());
    dialog.setObjectName(QStringLiteral("LapChooser"));
    dialog.setWindowTitle(title);
    auto* list = named(new QListWidget, QStringLiteral("LapChooserLaps"));
    for (const LapTimes& lap : laps) {
        QString text = tables.texts[compareLapItem].arg(lap.lap).arg(lapTimeText(float(lap.time)));
        if (lap.lap == bestLap)
            text += QStringLiteral(" (%1)").arg(tables.texts[libraryBestLap]);
        auto* item = new QListWidgetItem(text);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        const bool ticked = std::find(chosen.begin(), chosen.end(), lap.lap) != chosen.end();
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
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
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::vector<int> ticked;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            ticked.push_back(list->item(i)->data(Qt::UserRole).toInt());
    return ticked;
}

}  // namespace tormel
