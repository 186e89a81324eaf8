#pragma once

#include "library/lap_comparison.h"
#include "shell/comparison_page.h"

#include <QDialog>
#include <QImage>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSplitter;

namespace tormel {

class HistogramPlot;
class OverlayPlot;
class SectionBarsPlot;

// Rows of the comparison page, painted at the width of the widget, a line
// each of the font's height. It keeps them as painted: a cursor step paints
// only the readings over them.
class ComparisonCanvas : public QWidget {
    Q_OBJECT
public:
    explicit ComparisonCanvas(PageRows rows, QWidget* parent = nullptr);
    // `content` outlives the canvas's next paint.
    void setContent(const ComparisonContent* content);
    void showReadings();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRectF pageArea() const { return QRectF(rect()).adjusted(12, 8, -12, -8); }
    PageRows rows_;
    const ComparisonContent* content_ = nullptr;
    QImage page_;  // the rows without the readings
};

// The laps compared, each with its colour; the one chosen can become the
// reference or be taken out. Under them, the comparison's main chart (the
// overlay of engine-speed laps, or the section differences), and beneath a
// splitter the tables with the readings, the histograms and the setup sheets.
class ComparisonWindow : public QWidget {
    Q_OBJECT
public:
    explicit ComparisonWindow(QWidget* parent = nullptr);

    void show(ComparisonContent content);
    const ComparisonContent& content() const { return content_; }

signals:
    void referenceChosen(int index);
    void removeRequested(int index);
    void clearRequested();
    void reportRequested();
    void alignmentChosen(Alignment alignment);
    // The lap at `index` with other sprockets.
    void sprocketsRequested(int index);

private:
    void setAlignment(Alignment alignment);
    void showCharts();
    // The cursor at `x`, within the laps, with the markers where they are.
    void placeCursor(double x);
    void stepCursor(int direction);
    void placeMarker(bool left);

    ComparisonContent content_;
    QListWidget* laps_;
    QPushButton* reference_;
    QPushButton* remove_;
    QPushButton* clear_;
    QPushButton* report_;
    QPushButton* sprockets_;
    QComboBox* alignment_;
    QCheckBox* speed_;
    QLabel* note_;
    QSplitter* splitter_;
    OverlayPlot* overlay_;
    SectionBarsPlot* sections_;
    HistogramPlot* histograms_;
    ComparisonCanvas* page_;
    ComparisonCanvas* setups_;
};

// The laps of one session with their times, each with a check box, those
// in `chosen` ticked and the session's best lap marked; the numbers of those
// ticked, or none on cancel.
std::optional<std::vector<int>> chooseLaps(QWidget* parent, const QString& title, const std::vector<LapTimes>& laps,
                                           const TextTables& tables, const std::vector<int>& chosen, int bestLap);

}  // namespace tormel
