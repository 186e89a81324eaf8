#pragma once

#include "library/lap_comparison.h"
#include "shell/comparison_page.h"

#include <QDialog>
#include <QWidget>

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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ComparisonContent content_;
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
    QLabel* note_;
    ComparisonCanvas* page_;
};

// The laps of one session with their times, each with a check box; the
// numbers of those checked, or none on cancel.
std::vector<int> chooseLaps(QWidget* parent, const QString& title, const std::vector<LapTimes>& laps, const TextTables& tables);

}  // namespace tormel
