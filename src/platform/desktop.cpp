#include "platform/desktop.h"

#include <QProcess>
#include <QStandardPaths>

namespace tormel {

bool QtLauncher::startEditor(const QString& path)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return false;
    return QProcess::startDetached(opener, path.isEmpty() ? QStringList() : QStringList{path});
}

}  // namespace tormel
