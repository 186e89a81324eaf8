#include "base/widget_twips.h"

#include <QWidget>

namespace tormel {

void placeTwips(QWidget* widget, const TwipsRect& rect)
{
    widget->setGeometry(twipsToPixels(rect));
}

TwipsRect twipsGeometry(const QWidget* widget)
{
    return pixelsToTwips(widget->geometry());
}

}  // namespace tormel
