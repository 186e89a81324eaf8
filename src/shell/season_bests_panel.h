#pragma once

#include "library/season_bests.h"
#include "texts/text_tables.h"

#include <QWidget>

#include <array>
#include <map>
#include <vector>

class QComboBox;
class QLabel;

namespace tormel {

class Canvas;

// The season on one track at one look: its bests, each with the date of the
// session it came from, and each session's best lap against its date.
class SeasonBestsPanel : public QWidget {
    Q_OBJECT
public:
    explicit SeasonBestsPanel(QWidget* parent = nullptr);

    void applyTexts(const TextTables& tables);
    // `names`: the tracks' names by number.
    void showBests(std::vector<TrackBests> bests, const std::map<int, QString>& names);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showTrack();
    void drawProgress(const TrackBests& track);

    TextTables tables_;
    std::vector<TrackBests> bests_;
    QComboBox* track_;
    std::array<QLabel*, 5> captions_{};
    std::array<QLabel*, 5> values_{};
    Canvas* chart_;
    // The chart's axes: its caption, the quickest and slowest best laps (the
    // grey lines), the first and last sessions' dates.
    QLabel* chartCaption_;
    QLabel* quickest_;
    QLabel* slowest_;
    QLabel* firstDate_;
    QLabel* lastDate_;
};

}  // namespace tormel
