#include "download/download_copies.h"

#include "record/record_decoder.h"
#include "record/record_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace tormel {

namespace {

constexpr int MaxCopiesASecond = 10000;

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The whole copy under a temporary name, flushed to the disk.
bool writeTemporary(QTemporaryFile& file, const QByteArray& bytes, QString* errorText)
{
    // A record's usual permissions, not the temporary file's private ones.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (file.open() && ::fchmod(int(file.handle()), 0666 & ~mask) == 0 && file.write(bytes) == bytes.size()
        && file.flush() && ::fsync(int(file.handle())) == 0)
        return true;
    if (errorText)
        *errorText = file.errorString();
    return false;
}

}  // namespace

QString keepDownloadCopy(const QString& workingFolder, const RecordImage& image, std::int16_t trackNumber,
                         const QDateTime& when, QString* errorText)
{
    const QDir folder(QDir(workingFolder).filePath(QStringLiteral("downloads")));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        if (errorText)
            *errorText = QStringLiteral("%1: the folder cannot be created").arg(folder.path());
        return {};
    }
    QTemporaryFile temporary(folder.filePath(QStringLiteral(".download-XXXXXX")));
    if (!writeTemporary(temporary, recordFileBytes(image, trackNumber), errorText))
        return {};
    // link() never replaces a file: two receivers finishing in the same
    // second each get a name of their own, and a crash leaves no half copy
    // under a real name.
    const QByteArray from = QFile::encodeName(temporary.fileName());
    const QString stem = when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) + QStringLiteral("_SN") + serialNumberText(image);
    for (int n = 1; n <= MaxCopiesASecond; ++n) {
        const QString path = folder.filePath(stem + (n == 1 ? QString() : QStringLiteral("_%1").arg(n)) + QStringLiteral(".Tml"));
        if (::link(from.constData(), QFile::encodeName(path).constData()) == 0)
            return path;  // the temporary name goes with `temporary`
        if (errno != EEXIST) {
            if (errorText)
                *errorText = QStringLiteral("%1: %2").arg(path, systemError(errno));
            return {};
        }
    }
    if (errorText)
        *errorText = QStringLiteral("%1: %2 copies in one second").arg(folder.path()).arg(MaxCopiesASecond);
    return {};
}

}  // namespace tormel
