#include "download/download_copies.h"

#include "record/record_decoder.h"
#include "record/record_file.h"

#include <QDir>
#include <QFileInfo>

namespace tormel {

QString keepDownloadCopy(const QString& workingFolder, const RecordImage& image, std::int16_t trackNumber,
                         const QDateTime& when, QString* errorText)
{
    const QDir folder(QDir(workingFolder).filePath(QStringLiteral("downloads")));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        if (errorText)
            *errorText = QStringLiteral("%1: the folder cannot be created").arg(folder.path());
        return {};
    }
    const QString stem = when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) + QStringLiteral("_SN") + serialNumberText(image);
    QString path = folder.filePath(stem + QStringLiteral(".Tml"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(stem + QStringLiteral("_%1.Tml").arg(n));
    if (!Sauve_Fichier(path, image, trackNumber, errorText))
        return {};
    return path;
}

}  // namespace tormel
