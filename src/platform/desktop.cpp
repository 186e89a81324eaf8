#include "platform/desktop.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>

namespace tormel {

namespace {
constexpr int twipsPerPixel = 15;
}

int QtScreen::widthTwips() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().width() * twipsPerPixel : 1024 * twipsPerPixel;
}

int QtScreen::heightTwips() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().height() * twipsPerPixel : 768 * twipsPerPixel;
}

bool QtLauncher::startEditor(const QString& path)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return false;
    return QProcess::startDetached(opener, path.isEmpty() ? QStringList() : QStringList{path});
}

}  // namespace tormel
