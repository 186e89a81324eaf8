#pragma once

#include "base/twips.h"
#include "texts/text_tables.h"

#include <QGroupBox>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tormel {

// The download panel Frame_Lecture_Pro: the scan button, whose caption is
// the state of listening, the close button, and the bytes received so far.
class DownloadPanel final : public QGroupBox, public TextsPanel {
    Q_OBJECT
public:
    explicit DownloadPanel(QWidget* parent);

    // The panel's size in twips, for centring it.
    static constexpr int WidthTwips = 6000;
    static constexpr int HeightTwips = 2400;
    void layOut(const TwipsRect& corner);
    void applyTexts(const TextTables& tables, bool toolTipsOn) override;

    // "Stop Scan" on red while listening, "Start Scan" on green otherwise.
    void showListening(bool listening);
    bool showsListening() const;
    // Label4 and the progress bar: bytes waiting against 2048.
    void showWaiting(int bytes);
    QString waitingText() const;

signals:
    void Command3D1_Click();
    void Fermer_Scan_Click();

private:
    QPushButton* Command3D1;
    QPushButton* Fermer_Scan;
    QLabel* Label4;
    QProgressBar* progress_;
};

}  // namespace tormel
