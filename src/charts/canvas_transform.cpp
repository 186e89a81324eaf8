#include "charts/canvas_transform.h"

#include <algorithm>
#include <cmath>

namespace tormel {

namespace {

// Far enough outside any canvas, small enough for int arithmetic on it.
constexpr double PixelLimit = 1.0e6;

double toPixels(double value, double from, double to, int size)
{
    const double extent = to - from;
    if (extent == 0.0 || !std::isfinite(extent))
        return 0.0;
    return (value - from) / extent * double(size);
}

double toUser(double pixels, double from, double to, int size)
{
    if (size <= 0)
        return from;
    return from + pixels / double(size) * (to - from);
}

int pixelIndex(double position)
{
    if (std::isnan(position))
        return 0;
    return int(std::floor(std::clamp(position, -PixelLimit, PixelLimit)));
}

}  // namespace

CanvasTransform::CanvasTransform(const UserScale& scale, int width, int height)
    : scale_(scale), width_(std::max(0, width)), height_(std::max(0, height))
{
}

double CanvasTransform::pixelX(double x) const
{
    return toPixels(x, scale_.left, scale_.right, width_);
}

double CanvasTransform::pixelY(double y) const
{
    return toPixels(y, scale_.top, scale_.bottom, height_);
}

QPoint CanvasTransform::pixel(QPointF user) const
{
    return {pixelIndex(pixelX(user.x())), pixelIndex(pixelY(user.y()))};
}

QPointF CanvasTransform::user(QPointF pixel) const
{
    return {toUser(pixel.x(), scale_.left, scale_.right, width_), toUser(pixel.y(), scale_.top, scale_.bottom, height_)};
}

}  // namespace tormel
