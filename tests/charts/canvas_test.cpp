#include "charts/canvas.h"


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

}  // namespace
}  // namespace tormel
