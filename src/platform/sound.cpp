#include "platform/sound.h"

#include <QApplication>

namespace tormel {

void QtSound::beep()
{
    QApplication::beep();
}

}  // namespace tormel
