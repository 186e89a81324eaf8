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

    // Size_Frame_Moteurs: the panel takes the place and width of `area`.
    void Size_Frame_Moteurs(const TwipsRect& area);
    // Title (Textes 41), column titles (Textes 2 and the engine number), close caption (Textes 42).
    void applyTexts(const TextTables& tables, bool toolTipsOn) override;
    // Ltmot(0..4); "Pas Dispon." (Textes 3) before any record.
    void setTimes(const std::array<QString, 5>& times);

    std::array<QLabel*, 5> Label_Moteur{};
    std::array<QLabel*, 5> Ltmot{};
    QPushButton* Fermer_Moteurs;
};

}  // namespace tormel
