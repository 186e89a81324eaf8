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

class SeasonPlot;

// The season on one track at one look: its bests, each with the date of the
// session it came from, and its sessions on the season's chart.
class SeasonBestsPanel : public QWidget {
    Q_OBJECT
public:
    explicit SeasonBestsPanel(QWidget* parent = nullptr);

    void applyTexts(const TextTables& tables);
    // `names`: the tracks' names by number.
    void showBests(std::vector<TrackBests> bests, const std::map<int, QString>& names);

signals:
    // A session of the chart clicked, double-clicked.
    void sessionChosen(const QString& identity);
    void sessionOpened(const QString& identity);

private:
    void showTrack();

    TextTables tables_;
    std::vector<TrackBests> bests_;
    QComboBox* track_;
    std::array<QLabel*, 5> captions_{};
    std::array<QLabel*, 5> values_{};
    SeasonPlot* chart_;
};

}  // namespace tormel
