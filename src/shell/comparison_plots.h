#pragma once

#include "shell/comparison_page.h"

#include <qcustomplot.h>

#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace tormel {

// The comparison's charts, drawn from the comparison's figures: on screen as
// widgets, and into a report's painter as vector drawings with their texts.
class ComparisonPlot : public QCustomPlot {
    Q_OBJECT
public:
    explicit ComparisonPlot(QWidget* parent = nullptr);
    // The plot laid out at `target`'s size divided by `scale` and painted
    // there; the fonts are in pixels, so they scale with the rest.
    void paintInto(QCPPainter& painter, const QRectF& target, double scale);

protected:
    // What a plot draws over its layers, on screen and in a report.
    virtual void drawOver(QPainter& painter) const;
    // Title, fonts and a light grid, as every chart of the comparison has them.
    void setTitle(const QString& text);
    static void styleAxis(QCPAxis* axis, const QString& title);
    // Each lap's name in the legend, cut to fit; the whole in a tool tip.
    void nameInLegend(QCPAbstractPlottable* plottable, const QString& name);
    // The laps shown before, and their names, gone.
    void clearLaps();
    // A panel under the main one, their left and right edges aligned, the
    // main one `upper` to its `lower` of the height; the legend at the main
    // one's top right.
    QCPAxisRect* addPanelBelow(int upper, int lower);
    bool event(QEvent* event) override;

private:
    QCPTextElement* title_ = nullptr;
    std::vector<std::pair<QCPAbstractPlottable*, QString>> names_;
};

// The numbers and dates of the scales in the language's way, without
// thousands' separators.
QLocale plotLocale(Language language);
// Ticks labelled as plain numbers: the axis's value times `factor`, on
// round steps of those, or every `step` when given.
QSharedPointer<QCPAxisTicker> plainTicker(double factor = 1, double step = 0);

// A lap's name in a legend: its track, date and number, and its file.
QString legendName(const ComparedSessionLap& lap);

// Engine-speed laps overlaid against time, the fraction of the lap's time
// or along the track, their road speeds thin and light on a scale of their
// own (a dashed pen would treble the redraw), over
// their differences to the reference on the same x (along the track, the
// time each loses). The wheel zooms x
// around the pointer, the right button pans, Shift and a drag zooms into a
// band, a double-click or Home shows the whole lap again. A click or a drag
// asks for the cursor, Left and Right for a step, Up and Down for a marker;
// the cursor and the markers are drawn over the plot's buffers, so that a
// step repaints the strips they leave and enter, not the whole plot.
class OverlayPlot : public ComparisonPlot {
    Q_OBJECT
public:
    explicit OverlayPlot(QWidget* parent = nullptr);
    void showLaps(const ComparisonContent& content);
    // Only the strips of the cursor and markers are painted again, unless
    // the view must follow the cursor.
    void showReadings(const OverlayReadings& readings);
    void showWholeLap();
    QCPAxisRect* differenceRect() const { return difference_; }

signals:
    void cursorPlaced(double x);
    void cursorStepped(int direction);
    void markerPlaced(bool left);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void drawOver(QPainter& painter) const override;

private:
    void styleAlignment(const TextTables& t, const ComparisonFigures& f);
    QRect stripAt(std::optional<double> x) const;
    void keepWithinLap(const QCPRange& range);
    void zoomInto(const QRect& band);
    double xAt(const QPointF& position) const;

    QCPAxisRect* difference_;
    // The cursor, the left and the right marker, where they stand, and their pens.
    std::array<std::optional<double>, 3> marks_{};
    std::array<QPen, 3> markPens_{QPen(Qt::black, 1, Qt::DashLine), QPen(Qt::darkGray, 1.5), QPen(Qt::darkGray, 1.5)};
    double xEnd_ = 1;
    double rpmLow_ = 0;
    double rpmHigh_ = 1;
    std::optional<double> panFrom_;  // the pixel a right-button drag started at
    QCPRange panRange_;
};

// Time per engine-speed class: a group of bars per class, one per lap in
// its colour, the class bounds on the axis.
class HistogramPlot : public ComparisonPlot {
    Q_OBJECT
public:
    explicit HistogramPlot(QWidget* parent = nullptr);
    void showHistograms(const ComparisonContent& content);

protected:
    void wheelEvent(QWheelEvent* event) override;
};

// The section differences as bars across, a row per section under its
// caption, each difference written beside its bar's end, left of it when
// negative: the value axis leaves the labels room inside the plot, so no
// label ever meets a caption.
class SectionBarsPlot : public ComparisonPlot {
    Q_OBJECT
public:
    explicit SectionBarsPlot(QWidget* parent = nullptr);
    void showSections(const ComparisonContent& content);
    const std::vector<QCPItemText*>& labels() const { return labels_; }

protected:
    void updateLayout() override;

private:
    std::vector<QCPItemText*> labels_;
    double low_ = 0;   // seconds
    double high_ = 0;
};

// The value range that shows `low` to `high` with `leftPixels` and
// `rightPixels` to spare on an axis `axisPixels` long.
QCPRange rangeWithRoom(double low, double high, double leftPixels, double rightPixels, double axisPixels);

}  // namespace tormel
