#pragma once

#include "laps/ranges.h"
#include "texts/text_tables.h"

#include <QGroupBox>
#include <QWidget>

#include <array>

class QLabel;

namespace tormel {

// A bar panel: a caption under a bar filled from the bottom to a share of
// its height.
class BarPanel : public QWidget {
    Q_OBJECT

public:
    explicit BarPanel(QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    QString caption() const { return caption_; }
    // Per cent, bounded to 0..100.
    void setFloodPercent(double percent);
    double floodPercent() const { return percent_; }
    // The part of the panel the bar fills, in the panel's pixels.
    QRect barArea() const;
    // How much the caption must shrink to fit the panel's width (1: not at all).
    double captionFit() const;
    // The caption's size in points; 0 keeps the panel's font.
    void setCaptionPointSize(double pointSize);
    double captionPointSize() const { return captionPointSize_; }

    static QColor floodColour() { return {0, 0, 192}; }

signals:
    void pointerMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QString caption_;
    double percent_ = 0.0;
    double captionPointSize_ = 0.0;
};

// The engine-speed ranges panel Frame_Tranches: 32 bars, the best lap and
// the read-out of the range under the pointer.
class RangesView : public QGroupBox, public TextsPanel {
    Q_OBJECT

public:
    static constexpr int Count = RangesPanel::Count;

    explicit RangesView(QWidget* parent = nullptr);

    // Places the panel at frameTop and its bars (twips); captions the bars.
    void layOut(int screenWidth, int screenHeight, int frameTop = 0);
    void applyTexts(const TextTables& tables, bool toolTipsOn) override;
    void setDecimalSeparator(QChar separator) { decimalSeparator_ = separator; }

    // Fills the bars and the labels from the panel's values; range 0 in the read-out.
    void showRanges(const RangesPanel& panel);
    // The pointer over bar i: its read-out and tool tip.
    void Tranche_MouseMove(int i);

    BarPanel* Tranche(int i) const;
    QLabel* Label6() const { return label6_; }
    QLabel* Label7() const { return label7_; }
    QLabel* Label8() const { return label8_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::array<BarPanel*, Count> bars_{};
    QLabel* label6_;
    QLabel* label7_;
    QLabel* label8_;
    RangesPanel panel_;
    TextTables texts_;
    bool toolTipsOn_ = true;
    QChar decimalSeparator_;
};

}  // namespace tormel
