#pragma once

#include "library/other_sprockets.h"
#include "shell/comparison_plots.h"
#include "texts/text_tables.h"

#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QSpinBox;
class QTableWidget;

namespace tormel {

// A lap's engine speed against time with the engine speed other sprockets
// would give over it, and beneath the time each spent per engine-speed
// class side by side.
class SprocketsPlot : public ComparisonPlot {
    Q_OBJECT
public:
    explicit SprocketsPlot(QWidget* parent = nullptr);
    void showView(const SprocketsView& view, const TextTables& tables);

private:
    QCPAxisRect* classes_;
};

// The figures of the view as lines of text: the fitted and other sprockets'
// maximum and slowest corner, the suggested rear sprockets, and that the
// view is a first-order one. What the report prints and a screen reader reads.
QStringList sprocketsTextLines(const SprocketsView& view, const TextTables& tables);

// Paints the view as a page of the comparison's report: its title, the
// plot, and the lines of text beneath.
void paintSprocketsPage(QCPPainter& painter, const QRectF& page, const SprocketsView& view, const TextTables& tables,
                        double scale);

// "Other sprockets" on an engine-speed lap: the lap chosen among those
// given, the front and rear teeth (starting at its session's) and the
// target maximum of its engine; the what-if worked out at each change.
class SprocketsWindow : public QWidget {
    Q_OBJECT
public:
    explicit SprocketsWindow(QWidget* parent = nullptr);
    // `view`'s laps, lap `view.chosen` shown; `targets` the kept target of
    // each engine, 1 to 5 (index 0 unused).
    void show(SprocketsView view, const TextTables& tables, const std::array<int, 6>& targets);
    const SprocketsView& view() const { return view_; }
    // The laps came from the comparison, whose report then holds the view.
    bool fromComparison = false;

signals:
    void targetChosen(int engine, int rpm);

private:
    void showView();
    void showTables();

    SprocketsView view_;
    TextTables tables_;
    std::array<int, 6> targets_{};
    QComboBox* lap_;
    std::array<QLabel*, 3> captions_;  // of the lap, the front and the rear
    QSpinBox* front_;
    QSpinBox* rear_;
    QLabel* targetLabel_;
    QSpinBox* target_;
    QLabel* note_;
    SprocketsPlot* plot_;
    QTableWidget* figures_;
    QLabel* suggested_;
    QTableWidget* rears_;
    QLabel* firstOrder_;
};

}  // namespace tormel
