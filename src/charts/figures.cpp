#include "charts/figures.h"

#include "charts/canvas.h"

namespace tormel {

namespace {
constexpr double TraceTop = 30000.0;  // above any engine speed: the line crosses the canvas
constexpr double HalfWidth = 500.0;   // samples to each side: 100 s
}  // namespace

void CrossFigure::draw(Canvas& canvas) const
{
    canvas.setPenMode(Canvas::PenMode::Xor);
    canvas.line(QPointF(x_, 0.0), QPointF(x_, TraceTop), colour_);
    canvas.line(QPointF(x_ - HalfWidth, rpm_), QPointF(x_ + HalfWidth, rpm_), colour_);
}

void CrossFigure::place(Canvas& canvas, double x, double rpm)
{
    if (onCanvas_)
        draw(canvas);
    x_ = x;
    rpm_ = rpm;
    draw(canvas);
    onCanvas_ = true;
}

void ClassFigure::draw(Canvas& canvas) const
{
    canvas.setPenMode(Canvas::PenMode::Xor);
    canvas.line(QPointF(0.0, class_), QPointF(right_, class_), colour_);
}

void ClassFigure::place(Canvas& canvas, double histogramClass, double right)
{
    if (onCanvas_)
        draw(canvas);
    class_ = histogramClass;
    right_ = right;
    draw(canvas);
    onCanvas_ = true;
}

}  // namespace tormel
