#include "config/background_file.h"

#include "base/text_codec.h"
#include "texts/language_files.h"

#include <QDir>
#include <QFile>

namespace tormel {

QString readBackgroundPath(const QString& programFolder)
{
    QFile file(QDir(programFolder).filePath(backgroundFileName));
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 5)
        return {};
    // A path is short; anything longer is not ours.
    FieldReader reader(fromWindows1252(file.read(64 * 1024)));
    return reader.readText().value_or(QString());
}

bool saveBackgroundPath(const QString& programFolder, const QString& picturePath, QString* errorText)
{
    // Quoted, so that a path holding a comma reads back whole.
    const QString line = picturePath.contains(QLatin1Char(',')) ? QLatin1Char('"') + picturePath + QLatin1Char('"') : picturePath;
    return saveWholeFile(QDir(programFolder).filePath(backgroundFileName), windowsLines({line}), errorText);
}

}  // namespace tormel
