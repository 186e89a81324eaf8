#pragma once

#include "charts/canvas_transform.h"
#include "charts/cursor_rules.h"

#include <QColor>
#include <QImage>
#include <QWidget>

namespace tormel {

// A drawing surface that keeps its own pixels: figures are drawn into an
// image in user coordinates, and the widget only ever copies that image to
// the screen, so exclusive-or cursors survive being covered and uncovered.
class Canvas : public QWidget {
    Q_OBJECT

public:
    enum class PenMode { Copy, Xor };

    explicit Canvas(QWidget* parent = nullptr);

    void setScale(const UserScale& scale);
    UserScale scale() const { return scale_; }
    // User coordinates over the image's pixels, which are the screen's own.
    CanvasTransform transform() const;
    // A position in the widget's (logical) pixels in user coordinates.
    QPointF userPoint(QPointF position) const;
    // Image pixels per logical pixel: the screen's ratio.
    qreal pixelRatio() const { return devicePixelRatioF(); }

    void setBackgroundColour(const QColor& colour);
    QColor backgroundColour() const { return background_; }
    // The colour figures are drawn in when the caller names none.
    void setDrawingColour(const QColor& colour) { drawing_ = colour; }
    QColor drawingColour() const { return drawing_; }
    // In exclusive-or mode every figure flips the bits of the pixels it
    // covers by its colour, so drawing it a second time restores them.
    void setPenMode(PenMode mode) { mode_ = mode; }
    PenMode penMode() const { return mode_; }

    // Wipes the whole canvas to the background colour (always a copy).
    void clear();
    void line(QPointF from, QPointF to, const QColor& colour);
    void line(QPointF from, QPointF to) { line(from, to, drawing_); }
    // Outline and filled rectangle between two opposite corners; both cover
    // the same pixels, so a fill takes an outline back entirely.
    void rectangle(QPointF corner1, QPointF corner2, const QColor& colour);
    void fillRectangle(QPointF corner1, QPointF corner2, const QColor& colour);
    void fillRectangle(QPointF corner1, QPointF corner2) { fillRectangle(corner1, corner2, drawing_); }

    const QImage& image() const { return image_; }

signals:
    // Qt's events in the measuring rules' own terms, positions in user
    // coordinates; keys other than the arrows are not passed on.
    void mouseMoved(PointerButtons buttons, Modifiers modifiers, double x, double y);
    void mousePressed(PointerButtons button, Modifiers modifiers, double x, double y);
    void arrowPressed(ArrowKey key, Modifiers modifiers);
    void focusGained();
    void focusLost();
    // The pixels were kept at the top-left corner; owners redraw if they wish.
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The image follows the widget's size at once, even while it is hidden
    // and Qt holds its resize event back; true when it changed.
    bool syncSize();
    QSize pixelSize() const;
    void plot(int x, int y, QRgb colour);
    void fillPixels(QRect area, QRgb colour);
    QRect pixelRect(QPointF corner1, QPointF corner2) const;

    QImage image_;
    UserScale scale_;
    QColor background_ = Qt::white;
    QColor drawing_ = Qt::black;
    PenMode mode_ = PenMode::Copy;
};

}  // namespace tormel
