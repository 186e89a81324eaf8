#pragma once

#include <QRect>

namespace tormel {

// Positions and sizes of the window's panels, in twips, the unit of the
// layout rules. Widgets convert them to pixels once, when they are placed.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

inline constexpr int TwipsPerPixel = 15;

// Sizes of the window's ordinary controls, shared by every panel.
inline constexpr int LabelHeightTwips = 285;
inline constexpr int ButtonHeightTwips = 375;
inline constexpr int ButtonWidthTwips = 1200;

// The one place where twips become pixels, and back.
inline QRect twipsToPixels(const TwipsRect& r)
{
    return {r.left / TwipsPerPixel, r.top / TwipsPerPixel, r.width / TwipsPerPixel, r.height / TwipsPerPixel};
}

inline TwipsRect pixelsToTwips(const QRect& r)
{
    return {r.x() * TwipsPerPixel, r.y() * TwipsPerPixel, r.width() * TwipsPerPixel, r.height() * TwipsPerPixel};
}

// A rectangle of the given size centred in an area of the given size.
inline TwipsRect centred(int areaWidth, int areaHeight, int width, int height)
{
    return {(areaWidth - width) / 2, (areaHeight - height) / 2, width, height};
}

}  // namespace tormel
