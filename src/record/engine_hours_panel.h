#pragma once

#include "base/twips.h"
#include "texts/text_tables.h"

#include <QGroupBox>

#include <array>

class QLabel;
class QPushButton;

namespace tormel {

// The running time of the five engines, one column each.
class EngineHoursPanel final : public QGroupBox, public TextsPanel {
    Q_OBJECT
public:
    explicit EngineHoursPanel(QWidget* parent);

    // layOut: the panel takes the place and width of `area`.
    void layOut(const TwipsRect& area);
    // Title (texts 41), column titles (texts 2 and the engine number), close caption (texts 42).
    void applyTexts(const TextTables& tables, bool toolTipsOn) override;
    // Ltmot(0..4); "Pas Dispon." (texts 3) before any record.
    void setTimes(const std::array<QString, 5>& times);

    std::array<QLabel*, 5> Label_Moteur{};
    std::array<QLabel*, 5> Ltmot{};
    QPushButton* Fermer_Moteurs;

signals:
    // The window decides what shows in the panel's place.
    void closeClicked();
};

}  // namespace tormel
