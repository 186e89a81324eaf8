#include "shell/season_bests_panel.h"

#include "base/named.h"
#include "laps/conversions.h"
#include "shell/season_plot.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace tormel {

namespace {

QString bestText(const SeasonBest& best, const TextTables& tables)
{
    if (best.time <= 0)
        return QString();
    const QString date = languageLocale(tables.language).toString(best.date, languageDateFormat(tables.language) + QStringLiteral(" HH:mm"));
    return QStringLiteral("%1   (%2)").arg(lapTimeText(float(best.time)), date);
}

}  // namespace

SeasonBestsPanel::SeasonBestsPanel(QWidget* parent)
    : QWidget(parent)
    , tables_(frenchTextTables())
    , track_(new QComboBox)
    , chart_(new SeasonPlot)
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
    layout->addWidget(chart_, 1);
    chart_->setMinimumHeight(160);
    connect(track_, &QComboBox::currentIndexChanged, this, &SeasonBestsPanel::showTrack);
    connect(chart_, &SeasonPlot::sessionChosen, this, &SeasonBestsPanel::sessionChosen);
    connect(chart_, &SeasonPlot::sessionOpened, this, &SeasonBestsPanel::sessionOpened);
    applyTexts(tables_);
}

void SeasonBestsPanel::applyTexts(const TextTables& tables)
{
    tables_ = tables;
    captions_[0]->setText(tables.texts[libraryBestLap]);
    captions_[1]->setText(tables.texts[libraryTheoretical]);
    for (int k = 1; k <= 3; ++k)
        captions_[std::size_t(k + 1)]->setText(tables.texts[bestsSection].arg(k));
    showTrack();
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

void SeasonBestsPanel::showTrack()
{
    const int i = track_->currentIndex();
    const TrackBests none;
    const TrackBests& t = i >= 0 && std::size_t(i) < bests_.size() ? bests_[std::size_t(i)] : none;
    values_[0]->setText(bestText(t.lap, tables_));
    values_[1]->setText(bestText(t.theoretical, tables_));
    for (std::size_t k = 0; k < 3; ++k)
        values_[k + 2]->setText(bestText(t.sections[k], tables_));
    chart_->showTrack(t, tables_);
}

}  // namespace tormel
