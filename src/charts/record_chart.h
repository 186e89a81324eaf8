#pragma once

#include "base/twips.h"
#include "charts/cursor_rules.h"
#include "charts/figures.h"
#include "charts/record_chart_rules.h"
#include "texts/text_tables.h"

#include <QGroupBox>

#include <array>

class QLabel;
class QPushButton;

namespace tormel {

class Canvas;

// One engine-speed chart Graphique_Record(g): the trace Crpm(g) of one lap,
// its histogram Ctr(g), the lap buttons, the lap summary Label31(g), the
// histogram read-out Label24(g) and the measurement read-outs at the left.
// It draws what it is given and asks for another lap with signals.
class RecordChart final : public QGroupBox, public TextsPanel {
    Q_OBJECT
public:
    RecordChart(QWidget* parent, int g);
    ~RecordChart() override;

    // Size_Graphique_Record for this chart: the frame at `frame` (twips),
    // the canvases and the read-out font from the layout width.
    void layOut(const TwipsRect& frame, int screenWidth);
    void applyTexts(const TextTables& tables, bool toolTipsOn) override;

    // drawLap: draws `lap` of `stats` (which must outlive the chart
    // or the next call) against `rpmMax`, then names and sums it up.
    void drawLap(const RpmStatistics& stats, const LapView& lap, int rpmMax, bool quickest);
    // Draws the last lap again, as after a resize.
    void redraw();
    // Forgets the lap: empty canvases and texts.
    void clearLap();

    Canvas* Crpm() const { return crpm_; }
    Canvas* Ctr() const { return ctr_; }
    int lapMaxRpm() const { return lapMaxRpm_; }

    // The measuring cursor, the two markers and the histogram cursor;
    // positions in the canvas's own coordinates. A pointer position is
    // always a position: only the keys step.
    void Crpm_MouseMove(PointerButtons buttons, Modifiers modifiers, double x, double y);
    void Crpm_MouseDown(PointerButtons button, Modifiers modifiers, double x, double y);
    void Crpm_KeyDown(ArrowKey key, Modifiers modifiers);
    void Ctr_MouseMove(PointerButtons buttons, Modifiers modifiers, double x, double y);
    void Ctr_MouseDown(PointerButtons button, Modifiers modifiers, double x, double y);
    void Ctr_KeyDown(ArrowKey key, Modifiers modifiers);
    double cursorX() const { return cursor_.x(); }
    double classY() const { return classY_; }

signals:
    void previousLapClicked();
    void nextLapClicked();

private:
    void draw();
    void placeTopRow();
    // Trace: the cursor at x when it lies on the lap; a marker at x.
    bool placeCursor(double x);
    void placeMarker(bool left, double x);
    void resetTrace();
    // Histogram: the cursor at class position y when it lies on the canvas.
    void placeClass(double y);
    void setFocusColour(QLabel* label, bool focused);
    int sampleRpm(double x) const;

    Canvas* crpm_;
    Canvas* ctr_;
    QPushButton* SSCommand4;
    QPushButton* SSCommand5;
    QLabel* Label31;
    QLabel* Label24;
    QGroupBox* SSFrame1;
    QGroupBox* SSFrame2;
    QGroupBox* SSFrame3;
    // Rpm_Inst, Rpm_L, Rpm_R, Label19 | Label20..Label23 | Label25
    std::array<QLabel*, 9> readouts_{};

    TextTables texts_;
    QChar decimalSeparator_;
    const RpmStatistics* stats_ = nullptr;
    LapView lap_;
    int rpmMax_ = 0;
    bool quickest_ = false;
    int lapMaxRpm_ = 0;

    CrossFigure cursor_;
    CrossFigure left_;
    CrossFigure right_;
    ClassFigure class_;
    float cursorRpm_ = 0.0F;
    double classY_ = 0.0;
};

}  // namespace tormel
