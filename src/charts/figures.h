#pragma once

#include <QColor>

namespace tormel {

class Canvas;

// A measuring figure drawn in exclusive-or over a chart: drawing it a second
// time at the same place takes it off and restores the picture beneath. It
// knows whether it is on its canvas, so that each placement takes the old
// one away first.
class CrossFigure {
public:
    // A vertical line through the whole trace and a horizontal one 500
    // samples to each side, at (x, rpm).
    explicit CrossFigure(const QColor& colour) : colour_(colour) {}

    void place(Canvas& canvas, double x, double rpm);
    // The canvas was drawn anew beneath it: it is no longer there.
    void forget() { onCanvas_ = false; }
    bool onCanvas() const { return onCanvas_; }
    double x() const { return x_; }
    double rpm() const { return rpm_; }

private:
    void draw(Canvas& canvas) const;

    QColor colour_;
    double x_ = 0.0;
    double rpm_ = 0.0;
    bool onCanvas_ = false;
};

// The histogram cursor: a horizontal line across the histogram at a class.
class ClassFigure {
public:
    explicit ClassFigure(const QColor& colour) : colour_(colour) {}

    void place(Canvas& canvas, double histogramClass, double right);
    void forget() { onCanvas_ = false; }
    bool onCanvas() const { return onCanvas_; }

private:
    void draw(Canvas& canvas) const;

    QColor colour_;
    double class_ = 0.0;
    double right_ = 0.0;
    bool onCanvas_ = false;
};

}  // namespace tormel
