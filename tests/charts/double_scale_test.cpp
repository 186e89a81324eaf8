#include "charts/canvas.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace tormel {
namespace {

// Before the test main makes the application.
const bool doubleScale = qputenv("QT_SCALE_FACTOR", "2");

// Run at QT_SCALE_FACTOR=2: the canvas keeps the screen's own pixels, so a
// chart is as sharp as the screen and lands where it does at single scale.
TEST(DoubleScale, CanvasesHoldTheScreensPixels)
{
    ASSERT_TRUE(doubleScale);
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0);
    Canvas canvas;
    canvas.resize(200, 100);
    canvas.setScale({0.0, 100.0, 200.0, 0.0});
    canvas.clear();
    EXPECT_EQ(canvas.image().size(), QSize(400, 200));
    EXPECT_EQ(canvas.image().devicePixelRatio(), 2.0);
    canvas.line(QPointF(0, 50), QPointF(200, 50), Qt::red);
    // One screen pixel thick, in the middle of the canvas.
    EXPECT_EQ(canvas.image().pixel(300, 100) & 0xFFFFFF, 0xFF0000U);
    EXPECT_NE(canvas.image().pixel(300, 101) & 0xFFFFFF, 0xFF0000U);
    // A pointer at logical (150, 25) is a quarter from the top, three quarters across.
    EXPECT_EQ(canvas.userPoint(QPointF(150, 25)), QPointF(150, 75));
}

}  // namespace
}  // namespace tormel
