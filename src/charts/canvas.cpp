#include "charts/canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace tormel {

namespace {

PointerButtons pointerButtons(Qt::MouseButtons buttons)
{
    return {buttons.testFlag(Qt::LeftButton), buttons.testFlag(Qt::RightButton), buttons.testFlag(Qt::MiddleButton)};
}

Modifiers heldModifiers(Qt::KeyboardModifiers modifiers)
{
    return {modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier), modifiers.testFlag(Qt::AltModifier)};
}

std::optional<ArrowKey> arrowKey(int key)
{
    switch (key) {
    case Qt::Key_Left: return ArrowKey::Left;
    case Qt::Key_Up: return ArrowKey::Up;
    case Qt::Key_Right: return ArrowKey::Right;
    case Qt::Key_Down: return ArrowKey::Down;
    default: return std::nullopt;
    }
}

}  // namespace

Canvas::Canvas(QWidget* parent)
    : QWidget(parent), image_(1, 1, QImage::Format_RGB32)
{
    image_.fill(background_);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel comes from the image; nothing underneath needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Canvas::setScale(const UserScale& scale)
{
    scale_ = scale;
}

QSize Canvas::pixelSize() const
{
    // The image holds the screen's own pixels, twice as many each way at double scale.
    const qreal ratio = pixelRatio();
    return {std::max(1, int(std::lround(width() * ratio))), std::max(1, int(std::lround(height() * ratio)))};
}

CanvasTransform Canvas::transform() const
{
    const QSize size = pixelSize();
    return {scale_, size.width(), size.height()};
}

bool Canvas::syncSize()
{
    const QSize size = pixelSize();
    if (image_.size() == size && image_.devicePixelRatio() == pixelRatio())
        return false;
    // Keep what was drawn at the top-left corner, new room in the background colour.
    QImage resized(size, QImage::Format_RGB32);
    resized.fill(background_);
    QPainter painter(&resized);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, image_);
    painter.end();
    image_ = std::move(resized);
    image_.setDevicePixelRatio(pixelRatio());
    return true;
}

void Canvas::setBackgroundColour(const QColor& colour)
{
    background_ = colour;
}

void Canvas::clear()
{
    syncSize();
    image_.fill(background_);
    update();
}

void Canvas::plot(int x, int y, QRgb colour)
{
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return;
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    line[x] = mode_ == PenMode::Xor ? line[x] ^ (colour & 0x00FFFFFFU) : colour;
}

void Canvas::fillPixels(QRect area, QRgb colour)
{
    syncSize();
    area = area.intersected(image_.rect());
    if (area.isEmpty())
        return;
    // One detach check per fill, not per row or pixel: large fills are common.
    uchar* bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    const QRgb xorMask = colour & 0x00FFFFFFU;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
        QRgb* first = line + area.left();
        QRgb* last = line + area.right() + 1;
        if (mode_ == PenMode::Xor)
            for (QRgb* p = first; p != last; ++p)
                *p ^= xorMask;
        else
            std::fill(first, last, colour);
    }
}

QRect Canvas::pixelRect(QPointF corner1, QPointF corner2) const
{
    const CanvasTransform t = transform();
    const QPoint a = t.pixel(corner1);
    const QPoint b = t.pixel(corner2);
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())), QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

void Canvas::line(QPointF from, QPointF to, const QColor& colour)
{
    const CanvasTransform t = transform();
    QPoint a = t.pixel(from);
    const QPoint b = t.pixel(to);
    const QRgb rgb = colour.rgb();
    syncSize();
    // Bresenham: each pixel of the line is visited once, which exclusive-or needs.
    const int dx = std::abs(b.x() - a.x());
    const int dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1;
    const int sy = a.y() < b.y() ? 1 : -1;
    long long error = dx + dy;
    for (;;) {
        plot(a.x(), a.y(), rgb);
        if (a == b)
            break;
        const long long e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            a.rx() += sx;
        }
        if (e2 <= dx) {
            error += dx;
            a.ry() += sy;
        }
    }
    update();
}

void Canvas::rectangle(QPointF corner1, QPointF corner2, const QColor& colour)
{
    const QRect r = pixelRect(corner1, corner2);
    const QRgb rgb = colour.rgb();
    // Border pixels once each, corners included.
    fillPixels(QRect(r.left(), r.top(), r.width(), 1), rgb);
    if (r.height() > 1)
        fillPixels(QRect(r.left(), r.bottom(), r.width(), 1), rgb);
    if (r.height() > 2) {
        fillPixels(QRect(r.left(), r.top() + 1, 1, r.height() - 2), rgb);
        if (r.width() > 1)
            fillPixels(QRect(r.right(), r.top() + 1, 1, r.height() - 2), rgb);
    }
    update();
}

void Canvas::fillRectangle(QPointF corner1, QPointF corner2, const QColor& colour)
{
    fillPixels(pixelRect(corner1, corner2), colour.rgb());
    update();
}

void Canvas::paintEvent(QPaintEvent*)
{
    syncSize();
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void Canvas::resizeEvent(QResizeEvent*)
{
    if (syncSize())
        emit resized();
}

QPointF Canvas::userPoint(QPointF position) const
{
    return transform().user(position * pixelRatio());
}

void Canvas::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF p = userPoint(event->position());
    const PointerButtons buttons = pointerButtons(event->buttons());
    const Modifiers modifiers = heldModifiers(event->modifiers());
    emit mouseMoved(buttons, modifiers, p.x(), p.y());
}

void Canvas::mousePressEvent(QMouseEvent* event)
{
    const QPointF p = userPoint(event->position());
    const PointerButtons button = pointerButtons(event->button());
    const Modifiers modifiers = heldModifiers(event->modifiers());
    emit mousePressed(button, modifiers, p.x(), p.y());
}

void Canvas::keyPressEvent(QKeyEvent* event)
{
    // Other keys end here too, doing nothing.
    if (const std::optional<ArrowKey> key = arrowKey(event->key()))
        emit arrowPressed(*key, heldModifiers(event->modifiers()));
}

void Canvas::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    emit focusGained();
}

void Canvas::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    emit focusLost();
}

}  // namespace tormel
