#include "shell/season_bests_panel.h"

#include "charts/canvas.h"
#include "base/named.h"
#include "laps/conversions.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace tormel {

namespace {

constexpr double MsPerDay = 86'400'000.0;

QString bestText(const SeasonBest& best)
{
    if (best.time <= 0)
        return QString();
    return QStringLiteral("%1   (%2)").arg(lapTimeText(float(best.time)), best.date.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
}

}  // namespace

SeasonBestsPanel::SeasonBestsPanel(QWidget* parent)
    : QWidget(parent)
    , tables_(frenchTextTables())
    , track_(new QComboBox)
    , chart_(new Canvas)
    , chartCaption_(new QLabel)
    , quickest_(named(new QLabel, "BestsQuickest"))
    , slowest_(named(new QLabel, "BestsSlowest"))
    , firstDate_(named(new QLabel, "BestsFirstDate"))
    , lastDate_(named(new QLabel, "BestsLastDate"))
{
    setObjectName(QStringLiteral("SeasonBests"));
    track_->setObjectName(QStringLiteral("BestsTrack"));
    chart_->setObjectName(QStringLiteral("BestsChart"));
    auto* grid = new QGridLayout;
    for (int i = 0; i < 5; ++i) {
        captions_[std::size_t(i)] = new QLabel;
        values_[std::size_t(i)] = new QLabel;
        values_[std::size_t(i)]->setObjectName(QStringLiteral("BestsValue%1").arg(i));
        grid->addWidget(captions_[std::size_t(i)], i, 0);
        grid->addWidget(values_[std::size_t(i)], i, 1);
    }
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(track_);
    layout->addLayout(grid);
    auto* axes = new QGridLayout;
    axes->addWidget(chartCaption_, 0, 1);
    axes->addWidget(quickest_, 1, 0, Qt::AlignTop);
    axes->addWidget(slowest_, 2, 0, Qt::AlignBottom);
    axes->addWidget(chart_, 1, 1, 2, 1);
    auto* dates = new QHBoxLayout;
    dates->addWidget(firstDate_);
    dates->addStretch();
    dates->addWidget(lastDate_);
    axes->addLayout(dates, 3, 1);
    axes->setColumnStretch(1, 1);
    axes->setRowStretch(1, 1);
    axes->setRowStretch(2, 1);
    layout->addLayout(axes, 1);
    chart_->setMinimumHeight(120);
    connect(track_, &QComboBox::currentIndexChanged, this, &SeasonBestsPanel::showTrack);
    connect(chart_, &Canvas::resized, this, &SeasonBestsPanel::showTrack);
    applyTexts(tables_);
}

void SeasonBestsPanel::applyTexts(const TextTables& tables)
{
    tables_ = tables;
    captions_[0]->setText(tables.texts[libraryBestLap]);
    chartCaption_->setText(tables.texts[libraryBestLap]);
    captions_[1]->setText(tables.texts[libraryTheoretical]);
    for (int k = 1; k <= 3; ++k)
        captions_[std::size_t(k + 1)]->setText(tables.texts[bestsSection].arg(k));
}

void SeasonBestsPanel::showBests(std::vector<TrackBests> bests, const std::map<int, QString>& names)
{
    const int chosen = track_->currentData().toInt();
    bests_ = std::move(bests);
    const QSignalBlocker quiet(track_);
    track_->clear();
    for (const TrackBests& t : bests_) {
        const auto name = names.find(t.track);
        track_->addItem(QStringLiteral("%1 %2").arg(t.track).arg(name != names.end() ? name->second : QString()), t.track);
    }
    track_->setCurrentIndex(std::max(0, track_->findData(chosen)));
    showTrack();
}

void SeasonBestsPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    showTrack();
}

void SeasonBestsPanel::showTrack()
{
    const int i = track_->currentIndex();
    const TrackBests none;
    const TrackBests& t = i >= 0 && std::size_t(i) < bests_.size() ? bests_[std::size_t(i)] : none;
    values_[0]->setText(bestText(t.lap));
    values_[1]->setText(bestText(t.theoretical));
    for (std::size_t k = 0; k < 3; ++k)
        values_[k + 2]->setText(bestText(t.sections[k]));
    drawProgress(t);
}

// Days across, the best lap up the canvas (quicker higher), each session a
// point joined to the one before.
void SeasonBestsPanel::drawProgress(const TrackBests& track)
{
    chart_->clear();
    const auto& points = track.progress;
    for (QLabel* axis : {quickest_, slowest_, firstDate_, lastDate_})
        axis->clear();
    if (points.empty())
        return;
    const double first = double(points.front().first.toMSecsSinceEpoch()) / MsPerDay;
    const double last = double(points.back().first.toMSecsSinceEpoch()) / MsPerDay;
    const auto [low, high] = std::minmax_element(points.begin(), points.end(),
                                                 [](const auto& a, const auto& b) { return a.second < b.second; });
    const double margin = std::max(10.0, double(high->second - low->second) * 0.1);
    const double dayMargin = std::max(1.0, (last - first) * 0.05);
    // Quicker is better: the lowest time at the top.
    chart_->setScale({first - dayMargin, double(low->second) - margin, last + dayMargin, double(high->second) + margin});
    for (const int time : {low->second, high->second})
        chart_->line(QPointF(first - dayMargin, time), QPointF(last + dayMargin, time), Qt::lightGray);
    quickest_->setText(lapTimeText(float(low->second)));
    slowest_->setText(lapTimeText(float(high->second)));
    firstDate_->setText(points.front().first.toString(QStringLiteral("yyyy-MM-dd")));
    lastDate_->setText(points.back().first.toString(QStringLiteral("yyyy-MM-dd")));
    QPointF before;
    for (std::size_t p = 0; p < points.size(); ++p) {
        const QPointF at(double(points[p].first.toMSecsSinceEpoch()) / MsPerDay, double(points[p].second));
        if (p > 0)
            chart_->line(before, at, Qt::darkBlue);
        const double dx = dayMargin * 0.2;
        const double dy = margin * 0.1;
        chart_->fillRectangle(at - QPointF(dx, dy), at + QPointF(dx, dy), Qt::red);
        before = at;
    }
}

}  // namespace tormel
