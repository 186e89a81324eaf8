#pragma once

#include <QPixmap>

namespace tormel {

// The start-up picture and about box: our own title card, drawn at run time,
// with the prompt of the chosen language at its foot.
QPixmap titleCard(const QString& prompt);

}  // namespace tormel
