#pragma once

#include "library/season_bests.h"
#include "shell/comparison_plots.h"

#include <vector>

namespace tormel {

// Where each session of a track's season stands across: its day's noon,
// the sessions of one day side by side in time order, `gap` apart (seconds
// since the epoch, in the order of `sessions`).
std::vector<double> seasonPlaces(const std::vector<SeasonSession>& sessions);

// A track's season: each session's best lap and theoretical best against
// its date, the season's best lap as a line, quicker higher. The dates
// take days, weeks or months as the span needs. Hovering a point names its
// session; a click chooses it, a double click opens it.
class SeasonPlot : public ComparisonPlot {
    Q_OBJECT
public:
    explicit SeasonPlot(QWidget* parent = nullptr);
    void showTrack(const TrackBests& track, const TextTables& tables);
    // The session of the point nearest `pixel`, within a few pixels; -1 when none.
    int sessionAt(const QPointF& pixel) const;
    // What hovering session `index` says: its date and time, best lap and file.
    QString sessionText(int index) const;

signals:
    void sessionChosen(const QString& identity);
    void sessionOpened(const QString& identity);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::vector<SeasonSession> sessions_;
    std::vector<double> places_;
    TextTables tables_;
};

// The season's consistency: each session's laps within 0.10 s of its best
// (bars, left) and their spread (points, seconds, right), on the season
// chart's dates.
class ConsistencyPlot : public ComparisonPlot {
    Q_OBJECT
public:
    explicit ConsistencyPlot(QWidget* parent = nullptr);
    void showTrack(const TrackBests& track, const TextTables& tables);
};

}  // namespace tormel
