#pragma once

#include <QPoint>
#include <QPointF>

namespace tormel {

// The values a canvas shows at its four edges. Either direction works: a
// chart usually puts the larger value at the top.
struct UserScale {
    double left = 0.0;
    double top = 0.0;
    double right = 1.0;
    double bottom = 1.0;
    friend bool operator==(const UserScale&, const UserScale&) = default;
};

// Maps user coordinates onto a canvas of width x height pixels and back.
// Pixel (0, 0) is the top-left pixel; a user point lands in the pixel that
// contains it. A scale of zero extent maps everything onto its first edge
// rather than dividing by zero.
class CanvasTransform {
public:
    CanvasTransform() = default;
    CanvasTransform(const UserScale& scale, int width, int height);

    // Position in pixels as a real number (0 = left or top edge of the canvas).
    double pixelX(double x) const;
    double pixelY(double y) const;
    // The pixel holding a user point; far-away points are clamped to a range
    // that still lies outside the canvas, so they stay safe to draw with.
    QPoint pixel(QPointF user) const;
    // The user point at the centre of a pixel's left/top edge (the pixel's origin).
    QPointF user(QPointF pixel) const;

    const UserScale& scale() const { return scale_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    UserScale scale_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace tormel
