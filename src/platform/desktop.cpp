#include "platform/desktop.h"

#include "base/twips.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>

namespace tormel {

int QtScreen::widthTwips() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().width() * TwipsPerPixel : 1024 * TwipsPerPixel;
}

int QtScreen::heightTwips() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().height() * TwipsPerPixel : 768 * TwipsPerPixel;
}

bool QtLauncher::startEditor(const QString& path)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return false;
    return QProcess::startDetached(opener, path.isEmpty() ? QStringList() : QStringList{path});
}

}  // namespace tormel
