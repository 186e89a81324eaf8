#pragma once

#include "shell/window_layout.h"

#include <QRect>

namespace tormel {

// The one place where the twips of the layout rules become pixels.
inline QRect twipsToPixels(const TwipsRect& r)
{
    return {r.left / TwipsPerPixel, r.top / TwipsPerPixel, r.width / TwipsPerPixel, r.height / TwipsPerPixel};
}

}  // namespace tormel
