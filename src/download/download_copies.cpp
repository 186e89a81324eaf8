#include "download/download_copies.h"

#include "record/record_decoder.h"
#include "record/record_file.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace tormel {

namespace {

constexpr int MaxCopiesASecond = 10000;
const QString timeFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

// The whole copy under a temporary name of its own, on the disk; the
// temporary's path, or empty and why. Created with the usual permissions of
// a file, less the user's mask.
QByteArray writeTemporary(const QDir& folder, const QByteArray& bytes, QString* errorText)
{
    for (int tries = 0; tries < 100; ++tries) {
        const QByteArray path = QFile::encodeName(
            folder.filePath(QStringLiteral(".download-%1.tmp").arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'))));
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0) {
            if (errorText)
                *errorText = QStringLiteral("%1: %2").arg(folder.path(), systemError(errno));
            return {};
        }
        const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
        const int error = errno;
        ::close(fd);
        if (written)
            return path;
        ::unlink(path.constData());
        if (errorText)
            *errorText = QStringLiteral("%1: %2").arg(folder.path(), systemError(error));
        return {};
    }
    if (errorText)
        *errorText = QStringLiteral("%1: no free temporary name").arg(folder.path());
    return {};
}

// The new name is on the disk once the folder is.
void syncFolder(const QDir& folder)
{
    const int fd = ::open(QFile::encodeName(folder.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
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
    const QByteArray temporary = writeTemporary(folder, recordFileBytes(image, trackNumber), errorText);
    if (temporary.isEmpty())
        return {};
    // link() never replaces a file: two receivers finishing in the same
    // second each get a name of their own, and a crash leaves no half copy
    // under a real name.
    const QString stem = when.toString(timeFormat) + QStringLiteral("_SN") + serialNumberText(image);
    QString kept;
    for (int n = 1; n <= MaxCopiesASecond && kept.isEmpty(); ++n) {
        const QString path = folder.filePath(stem + (n == 1 ? QString() : QStringLiteral("_%1").arg(n)) + QStringLiteral(".Tml"));
        if (::link(temporary.constData(), QFile::encodeName(path).constData()) == 0) {
            kept = path;
        } else if (errno != EEXIST) {
            if (errorText)
                *errorText = QStringLiteral("%1: %2").arg(path, systemError(errno));
            break;
        } else if (n == MaxCopiesASecond && errorText) {
            *errorText = QStringLiteral("%1: %2 copies in one second").arg(folder.path()).arg(MaxCopiesASecond);
        }
    }
    ::unlink(temporary.constData());
    if (!kept.isEmpty())
        syncFolder(folder);
    return kept;
}

QString keepPrivateCopy(const RecordImage& image, std::int16_t trackNumber, const QDateTime& when, QString* errorText)
{
    QByteArray folder = QFile::encodeName(QDir(QDir::tempPath()).filePath(QStringLiteral("tormel_vue-XXXXXX")));
    if (::mkdtemp(folder.data()) == nullptr) {
        if (errorText)
            *errorText = QStringLiteral("%1: %2").arg(QFile::decodeName(folder), systemError(errno));
        return {};
    }
    return keepDownloadCopy(QFile::decodeName(folder), image, trackNumber, when, errorText);
}

std::optional<QDateTime> downloadTimeOfName(const QString& fileName)
{
    static const QRegularExpression copyName(QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d)_SN\\d*(_\\d+)?\\.Tml$"));
    const QRegularExpressionMatch match = copyName.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    const QDateTime when = QDateTime::fromString(match.captured(1), timeFormat);
    if (!when.isValid())
        return std::nullopt;
    return when;
}

}  // namespace tormel
