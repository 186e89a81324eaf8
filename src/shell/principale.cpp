#include "shell/principale.h"

#include "shell/app_info.h"

namespace tormel {

Principale::Principale(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(applicationTitle());
}

}  // namespace tormel
