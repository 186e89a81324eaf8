#pragma once

#include "charts/cursor_rules.h"
#include "charts/lap_chart_rules.h"
#include "laps/lap_table.h"
#include "texts/text_tables.h"

#include <QGroupBox>

#include <array>

class QLabel;
class QScrollBar;

namespace tormel {

class Canvas;

// The lap-time chart Graphique_Chronos: one bar per lap of the lap table,
// in table order, lapsOnScreen at a time. Pointing at a bar outlines it and
// writes its lap's figures in Label12; clicking it asks for the lap to be
// eliminated or restored (lapToggled), which the window does by decoding
// again and drawing anew.
class LapTimeChart : public QGroupBox, public TextsPanel {
    Q_OBJECT

public:
    static constexpr int MaxSlots = 60;

    explicit LapTimeChart(QWidget* parent = nullptr);

    // Places the frame under a lap table of the given height, and its parts
    // inside it; all in twips.
    void layOut(int screenWidth, int screenHeight, int tableHeight);

    // The values drawn from, which must outlive the chart or the next call.
    // None of them redraws: drawLaps does.
    void setTable(const LapTable& table);
    void setEliminatedLaps(const std::array<bool, LapFlagCount>& flags);
    void applyTexts(const TextTables& tables, bool toolTipsOn) override;
    // Empties the read-out line over the bars.
    void clearReadOut();
    // Slots and scroll bar; the scroll bar goes back to 0 without redrawing.
    void setChartWindow(const LapChartWindow& window);
    void setChartedColumn(int column) { chartedColumn_ = column; }

    // Draws from scroll position f the column c, and charts c from then on.
    void drawLaps(int f, int c);

    void HScroll1_Change();
    void Picture1_MouseMove(PointerButtons buttons, Modifiers modifiers, double x, double y);
    void Picture1_MouseDown(PointerButtons button, Modifiers modifiers, double x, double y);

    int chartedColumn() const { return chartedColumn_; }
    int lapsOnScreen() const { return lapsOnScreen_; }
    // First lap row shown, minus 2: the scroll bar's value, 0 without it.
    int scrollPosition() const { return position_; }
    float top() const { return top_; }
    float bottom() const { return bottom_; }
    int markedBar() const { return markedBar_; }
    int markedLap() const { return markedLap_; }

    Canvas* Picture1() const { return picture1_; }
    QLabel* Label12() const { return label12_; }
    QLabel* Label13(int i) const;
    QScrollBar* HScroll1() const { return hScroll1_; }

signals:
    // The user clicked the bar of this lap (0..100).
    void lapToggled(int lap);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The wheel anywhere over the chart scrolls the laps, when they scroll.
    void wheelEvent(QWheelEvent* event) override;

private:
    bool isLapRow(int row) const;
    bool eliminated(int lap) const;
    void drawBar(int slot, float value, int lap);

    QLabel* label12_;
    Canvas* picture1_;
    std::array<QLabel*, MaxSlots> label13_{};
    QScrollBar* hScroll1_;

    const LapTable* table_;
    const std::array<bool, LapFlagCount>* eliminatedLaps_;
    int lapsOnScreen_ = 0;
    bool scrollShown_ = false;
    int chartedColumn_ = 0;
    int position_ = 0;
    bool drawn_ = false;

    float top_ = 0.0F;
    float bottom_ = 0.0F;
    int pointedSlot_ = 0;
    int markedBar_ = 0;
    int markedLap_ = 0;
    bool freshChart_ = false;
};

}  // namespace tormel
