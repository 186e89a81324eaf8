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
    Canvas canvas;
};

TEST(Canvas, FillsTheRectangleBetweenTwoCornersWhateverTheirOrder)
{
    PixelCanvas p;
    p.canvas.fillRectangle({30.5, 40.5}, {10.5, 20.5}, Yellow);
    EXPECT_EQ(p.at(10, 20), Yellow.rgb() & 0xFFFFFFU);
    EXPECT_EQ(p.at(30, 40), Yellow.rgb() & 0xFFFFFFU);
    EXPECT_EQ(p.at(9, 20), 0U);
    EXPECT_EQ(p.at(31, 40), 0U);
    EXPECT_EQ(p.at(20, 41), 0U);
    EXPECT_EQ(p.canvas.image().size(), QSize(100, 50));
}

TEST(Canvas, OutlineCoversTheBorderOfTheFilledPixelsOnly)
{
    PixelCanvas p;
    p.canvas.rectangle({10, 10}, {20, 30}, Green);
    for (const QPoint border : {QPoint(10, 10), QPoint(20, 10), QPoint(10, 30), QPoint(20, 30), QPoint(15, 10), QPoint(10, 20),
                                QPoint(20, 20), QPoint(15, 30)})
        EXPECT_EQ(p.at(border.x(), border.y()), 0x00FF00U) << border.x() << "," << border.y();
    for (const QPoint off : {QPoint(15, 20), QPoint(11, 11), QPoint(9, 10), QPoint(21, 30), QPoint(15, 31)})
        EXPECT_EQ(p.at(off.x(), off.y()), 0U) << off.x() << "," << off.y();
    // A fill of the same corners takes the outline back.
    p.canvas.fillRectangle({10, 10}, {20, 30}, Yellow);
    EXPECT_EQ(p.at(20, 30), Yellow.rgb() & 0xFFFFFFU);
}

TEST(Canvas, DrawsLinesFromEndToEnd)
{
    PixelCanvas p;
    p.canvas.line({0, 0}, {9, 9}, Green);
    p.canvas.line({50, 5}, {20, 5}, Green);
    for (int i = 0; i <= 9; ++i)
        EXPECT_EQ(p.at(i, i), 0x00FF00U) << i;
    EXPECT_EQ(p.at(1, 0), 0U);
    for (int x = 20; x <= 50; ++x)
        EXPECT_EQ(p.at(x, 5), 0x00FF00U) << x;
    EXPECT_EQ(p.at(51, 5), 0U);
    EXPECT_EQ(p.at(19, 5), 0U);
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
    EXPECT_EQ(p.at(0, 0), Yellow.rgb() & 0xFFFFFFU);
    EXPECT_EQ(p.at(99, 49), Yellow.rgb() & 0xFFFFFFU);
    p.canvas.rectangle({-1e9, -1e9}, {1e9, 1e9}, Green);  // its border lies outside
    EXPECT_EQ(p.at(50, 25), Yellow.rgb() & 0xFFFFFFU);
    p.canvas.line({-1e300, 25.5}, {1e300, 25.5}, Green);
    EXPECT_EQ(p.at(0, 25), 0x00FF00U);
    EXPECT_EQ(p.at(99, 25), 0x00FF00U);
}

TEST(Canvas, KeepsItsPixelsWhenResized)
{
    PixelCanvas q;
    q.canvas.fillRectangle({0, 0}, {9, 9}, Yellow);
    q.canvas.resize(200, 80);
    q.canvas.setScale({0, 0, 200, 80});
    q.canvas.line({150, 70}, {150, 70}, Green);  // drawing follows the new size at once
    EXPECT_EQ(q.canvas.image().size(), QSize(200, 80));
    EXPECT_EQ(q.at(5, 5), Yellow.rgb() & 0xFFFFFFU);
    EXPECT_EQ(q.at(150, 70), 0x00FF00U);
    EXPECT_EQ(q.at(120, 60), 0U);
}

TEST(Canvas, RepaintsFromItsImage)
{
    PixelCanvas p;
    p.canvas.fillRectangle({10, 10}, {20, 20}, Yellow);
    const QImage shown = p.canvas.grab().toImage();
    EXPECT_EQ(shown.pixelColor(15, 15), Yellow);
    EXPECT_EQ(shown.pixelColor(50, 40), Black);
}

struct CodeCase {
    Qt::MouseButtons buttons;
    Qt::KeyboardModifiers modifiers;
    int button;
    int shift;
};

TEST(Canvas, ButtonAndModifierCodes)
{
    const CodeCase cases[] = {
        {Qt::NoButton, Qt::NoModifier, 0, 0},
        {Qt::LeftButton, Qt::ShiftModifier, 1, 1},
        {Qt::RightButton, Qt::ControlModifier, 2, 2},
        {Qt::MiddleButton, Qt::AltModifier, 4, 4},
        {Qt::LeftButton | Qt::RightButton | Qt::MiddleButton, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, 7, 7},
        {Qt::BackButton, Qt::MetaModifier | Qt::KeypadModifier, 0, 0},
    };
    for (const CodeCase& c : cases) {
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
