#pragma once

#include <QPixmap>

namespace tormel {

// The start-up picture and about box: our own title card, drawn at run time.
QPixmap titleCard();

}  // namespace tormel
