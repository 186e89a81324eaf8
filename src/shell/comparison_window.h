#pragma once

#include "library/lap_comparison.h"
#include "shell/comparison_page.h"

#include <QDialog>
#include <QImage>
#include <QWidget>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tormel {

// The comparison page, painted at the size of the widget.
class ComparisonCanvas : public QWidget {
    Q_OBJECT
public:
    explicit ComparisonCanvas(QWidget* parent = nullptr);
    void setContent(ComparisonContent content);
    const ComparisonContent& content() const { return content_; }
    void setAlignment(Alignment alignment);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Engine-speed laps: a click or a drag over the traces places the
    // cursor, Left and Right step it one sample of the reference lap.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeCursor(double x);

    ComparisonContent content_;
    TracePlot plot_;
    QImage page_;  // the page without the cursor
};

// The laps compared, each with its colour; the one chosen can become the
// reference or be taken out; under them the comparison page.
class ComparisonWindow : public QWidget {
    Q_OBJECT
public:
    explicit ComparisonWindow(QWidget* parent = nullptr);

    void show(ComparisonContent content);
    const ComparisonContent& content() const { return page_->content(); }

signals:
    void referenceChosen(int index);
    void removeRequested(int index);
    void clearRequested();
    void reportRequested();

private:
    QListWidget* laps_;
    QPushButton* reference_;
    QPushButton* remove_;
    QPushButton* clear_;
    QPushButton* report_;
    QCheckBox* fraction_;
    QLabel* note_;
    ComparisonCanvas* page_;
};

// The laps of one session with their times, each with a check box; the
// numbers of those checked, or none on cancel.
std::vector<int> chooseLaps(QWidget* parent, const QString& title, const std::vector<LapTimes>& laps, const TextTables& tables);

}  // namespace tormel
