#pragma once

#include "base/twips.h"

class QWidget;

namespace tormel {

// Places a widget at a rectangle given in twips.
void placeTwips(QWidget* widget, const TwipsRect& rect);
// A widget's place in twips.
TwipsRect twipsGeometry(const QWidget* widget);

}  // namespace tormel
