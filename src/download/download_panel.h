#pragma once

#include "base/twips.h"
#include "texts/text_tables.h"

#include <QGroupBox>

class QLabel;
class QPushButton;

namespace tormel {

// The download panel Frame_Lecture_Pro: the scan button, the close button
// and the line that tells how the download goes.
class DownloadPanel final : public QGroupBox, public TextsPanel {
    Q_OBJECT
public:
    explicit DownloadPanel(QWidget* parent);

    // The panel with its top-left corner at `corner` (twips).
    void layOut(const TwipsRect& corner);
    void applyTexts(const TextTables& tables, bool toolTipsOn) override;

private:
    QPushButton* Command3D1;
    QPushButton* Fermer_Scan;
    QLabel* Label4;
};

}  // namespace tormel
