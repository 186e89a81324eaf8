#pragma once

#include "base/twips.h"
#include "texts/text_tables.h"

#include <QGroupBox>

class QLabel;

namespace tormel {

// One engine-speed chart Graphique_Record(g): the trace Crpm(g), its
// histogram Ctr(g), and the read-outs in the left column.
class RecordChart final : public QGroupBox, public TextsPanel {
    Q_OBJECT
public:
    RecordChart(QWidget* parent, int g);

    // The frame at `frame` (twips); the read-outs to the left, then the
    // trace over three quarters of the screen width and the histogram.
    void layOut(const TwipsRect& frame, int screenWidth);
    void applyTexts(const TextTables& tables, bool toolTipsOn) override;

private:
    QWidget* Crpm;
    QWidget* Ctr;
    QGroupBox* SSFrame3;
    QLabel* Label19;
    QLabel* Label20;
    QLabel* Label21;
    QLabel* Label22;
    QLabel* Label23;
    QLabel* Label24;
    QLabel* Rpm_Inst;
    QLabel* Rpm_L;
    QLabel* Rpm_R;
};

}  // namespace tormel
