#include "charts/canvas.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace tormel {
namespace {

const QColor Black{0, 0, 0};
const QColor Yellow{255, 255, 220};
const QColor Green{0, 255, 0};

// A 100 x 50 canvas whose user units are its pixels, on black.
struct PixelCanvas {
    PixelCanvas()
    {
        canvas.resize(100, 50);
        canvas.setScale({0, 0, 100, 50});
        canvas.setBackgroundColour(Black);
        canvas.clear();
    }
    QRgb at(int x, int y) const { return canvas.image().pixel(x, y) & 0xFFFFFFU; }
    // Each point's colour, black being 0.
    void expectColour(std::initializer_list<QPoint> points, QRgb colour) const
    {
        for (const QPoint p : points)
            EXPECT_EQ(at(p.x(), p.y()), colour & 0xFFFFFFU) << p.x() << "," << p.y();
    }
    Canvas canvas;
};

TEST(Canvas, FillsTheRectangleBetweenTwoCornersWhateverTheirOrder)
{
    PixelCanvas p;
    p.canvas.fillRectangle({30.5, 40.5}, {10.5, 20.5}, Yellow);
    p.expectColour({{10, 20}, {30, 40}}, Yellow.rgb());
    p.expectColour({{9, 20}, {31, 40}, {20, 41}}, 0);
}

TEST(Canvas, OutlineCoversTheBorderOfTheFilledPixelsOnly)
{
    PixelCanvas p;
    p.canvas.rectangle({10, 10}, {20, 30}, Green);
    p.expectColour({{10, 10}, {20, 30}, {15, 10}, {10, 20}, {20, 20}, {15, 30}}, 0x00FF00U);
    p.expectColour({{15, 20}, {11, 11}, {9, 10}, {21, 30}, {15, 31}}, 0);
    // A fill of the same corners takes the outline back.
    p.canvas.fillRectangle({10, 10}, {20, 30}, Yellow);
    p.expectColour({{20, 30}}, Yellow.rgb());
}

TEST(Canvas, DrawsLinesFromEndToEnd)
{
    PixelCanvas p;
    p.canvas.line({0, 0}, {9, 9}, Green);
    p.canvas.line({50, 5}, {20, 5}, Green);
    p.expectColour({{0, 0}, {5, 5}, {9, 9}, {20, 5}, {35, 5}, {50, 5}}, 0x00FF00U);
    p.expectColour({{1, 0}, {51, 5}, {19, 5}}, 0);
}

TEST(Canvas, ExclusiveOrTwiceRestoresEveryPixel)
{
    PixelCanvas p;
    p.canvas.fillRectangle({0, 0}, {60, 30}, Yellow);
    p.canvas.line({0, 49}, {99, 0}, QColor(12, 34, 56));
    const QImage before = p.canvas.image().copy();

    p.canvas.setPenMode(Canvas::PenMode::Xor);
    const auto figures = [&p] {
        p.canvas.line({5, 45}, {95, 3}, Green);
        p.canvas.line({40, 0}, {40, 49}, Green);  // crosses the first line
        p.canvas.rectangle({20, 10}, {80, 40}, QColor(255, 0, 255));
        p.canvas.fillRectangle({70, 20}, {90, 45}, QColor(1, 2, 3));
        p.canvas.rectangle({50, 25}, {50, 25}, Green);  // a single pixel
    };
    figures();
    EXPECT_NE(p.canvas.image(), before);
    // One xor flips the bits by the colour: yellow under green.
    EXPECT_EQ(p.at(40, 15), (Yellow.rgb() ^ Green.rgb()) & 0xFFFFFFU);
    figures();
    EXPECT_EQ(p.canvas.image(), before);
}

TEST(Canvas, FiguresFarOutsideAreClippedNotFatal)
{
    PixelCanvas p;
    p.canvas.fillRectangle({-1e300, -1e300}, {1e300, 1e300}, Yellow);
    p.canvas.rectangle({-1e9, -1e9}, {1e9, 1e9}, Green);  // its border lies outside
    p.expectColour({{0, 0}, {99, 49}, {50, 24}}, Yellow.rgb());
    p.canvas.line({-1e300, 25.5}, {1e300, 25.5}, Green);
    p.expectColour({{0, 25}, {99, 25}}, 0x00FF00U);
}

TEST(Canvas, KeepsItsPixelsWhenResized)
{
    PixelCanvas q;
    q.canvas.fillRectangle({0, 0}, {9, 9}, Yellow);
    q.canvas.resize(200, 80);
    q.canvas.setScale({0, 0, 200, 80});
    q.canvas.line({150, 70}, {150, 70}, Green);  // drawing follows the new size at once
    EXPECT_EQ(q.canvas.image().size(), QSize(200, 80));
    q.expectColour({{5, 5}}, Yellow.rgb());
    q.expectColour({{150, 70}}, 0x00FF00U);
    q.expectColour({{120, 60}}, 0);
}

TEST(Canvas, RepaintsFromItsImage)
{
    PixelCanvas p;
    p.canvas.fillRectangle({10, 10}, {20, 20}, Yellow);
    const QImage shown = p.canvas.grab().toImage();
    EXPECT_EQ(shown.pixelColor(15, 15), Yellow);
    EXPECT_EQ(shown.pixelColor(50, 40), Black);
}

TEST(Canvas, ButtonAndModifierCodes)
{
    const struct {
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers modifiers;
        int button;
        int shift;
    } cases[] = {
        {Qt::NoButton, Qt::NoModifier, 0, 0},
        {Qt::RightButton, Qt::ControlModifier, 2, 2},
        {Qt::LeftButton | Qt::RightButton | Qt::MiddleButton, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, 7, 7},
        {Qt::BackButton, Qt::MetaModifier | Qt::KeypadModifier, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(buttonCode(c.buttons), c.button);
        EXPECT_EQ(modifierCode(c.modifiers), c.shift);
    }
}

TEST(Canvas, PointerEventsArriveInUserCoordinates)
{
    Canvas canvas;
    canvas.resize(1200, 600);
    canvas.setScale({0, 21, 60, 9});
    QSignalSpy moved(&canvas, &Canvas::pointerMoved);
    QSignalSpy pressed(&canvas, &Canvas::buttonPressed);

    QMouseEvent move(QEvent::MouseMove, QPointF(600, 300), QPointF(600, 300), Qt::NoButton,
                     Qt::LeftButton | Qt::RightButton, Qt::ShiftModifier | Qt::AltModifier);
    QApplication::sendEvent(&canvas, &move);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved[0][0].toInt(), 3);
    EXPECT_EQ(moved[0][1].toInt(), 5);
    EXPECT_DOUBLE_EQ(moved[0][2].toDouble(), 30.0);
    EXPECT_DOUBLE_EQ(moved[0][3].toDouble(), 15.0);

    QTest::mousePress(&canvas, Qt::MiddleButton, Qt::ControlModifier, QPoint(25, 0));
    ASSERT_EQ(pressed.count(), 1);
    EXPECT_EQ(pressed[0][0].toInt(), 4);
    EXPECT_EQ(pressed[0][1].toInt(), 2);
    EXPECT_DOUBLE_EQ(pressed[0][2].toDouble(), 1.25);
    EXPECT_DOUBLE_EQ(pressed[0][3].toDouble(), 21.0);
}

TEST(Canvas, KeysAndFocusAreSignalled)
{
    Canvas canvas;
    QSignalSpy keys(&canvas, &Canvas::keyPressed);
    QSignalSpy gained(&canvas, &Canvas::focusGained);
    QSignalSpy lost(&canvas, &Canvas::focusLost);

    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier | Qt::ControlModifier, QStringLiteral("A"));
    QApplication::sendEvent(&canvas, &key);
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(&canvas, &in);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&canvas, &out);

    ASSERT_EQ(keys.count(), 1);
    EXPECT_EQ(keys[0][0].toInt(), int(Qt::Key_A));
    EXPECT_EQ(keys[0][1].toInt(), 3);
    EXPECT_EQ(gained.count(), 1);
    EXPECT_EQ(lost.count(), 1);
}

}  // namespace
}  // namespace tormel
