#pragma once

#include "base/twips.h"

#include <QGroupBox>

class QLabel;
class QSpinBox;

namespace tormel {

// The curve parameters Parametres_Courbe: the smoothing level UpDown1
// (0 to MaxLevel, the filter menu's levels) and the window it gives, Label9.
class SmoothingPanel final : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int MaxLevel = 3;

    explicit SmoothingPanel(QWidget* parent);

    void layOut(const TwipsRect& place);
    int value() const;
    // Changing the value emits valueChanged, as the user's arrows do.
    void setValue(int level);
    // Label9: the samples averaged, then `entry` (a text of the tables).
    void showSmoothing(const QString& entry);
    QString smoothingLabel() const;

signals:
    void valueChanged(int level);

private:
    QSpinBox* UpDown1;
    QLabel* Label9;
};

}  // namespace tormel
