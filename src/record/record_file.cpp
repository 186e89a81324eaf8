#include "record/record_file.h"

#include "base/text_codec.h"

#include <QFile>

namespace tormel {

QByteArray recordFileBytes(const RecordImage& image, std::int16_t trackNumber)
{
    QByteArray bytes(reinterpret_cast<const char*>(image.bytes.data()), RecordImage::Size);
    const auto track = static_cast<std::uint16_t>(trackNumber);
    bytes.append(char(track & 0xFF));
    bytes.append(char(track >> 8));
    return bytes;
}

bool saveRecordFile(const QString& path, const RecordImage& image, std::int16_t trackNumber, QString* errorText)
{
    return saveWholeFile(path, recordFileBytes(image, trackNumber), errorText);
}

LoadedRecord loadRecordFile(const QString& path)
{
    LoadedRecord result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.errorNumber = int(file.error());
        result.errorText = file.errorString();
        return result;
    }
    const QByteArray bytes = file.read(RecordImage::Size + 2);
    if (file.error() != QFileDevice::NoError) {
        result.errorNumber = int(file.error());
        result.errorText = file.errorString();
    }
    const auto imageBytes = std::min<qsizetype>(bytes.size(), RecordImage::Size);
    result.imageBytes = int(imageBytes);
    for (qsizetype k = 0; k < imageBytes; ++k)
        result.image.bytes[std::size_t(k)] = std::uint8_t(bytes.at(k));
    if (bytes.size() > RecordImage::Size) {
        // A file of 2049 bytes carries only the low byte of the number.
        const auto low = std::uint8_t(bytes.at(RecordImage::Size));
        const auto high = bytes.size() > RecordImage::Size + 1 ? std::uint8_t(bytes.at(RecordImage::Size + 1)) : std::uint8_t(0);
        result.trackNumber = std::int16_t(std::uint16_t(high << 8 | low));
    }
    return result;
}

RecordNames namesOfRecord(const QString& path)
{
    RecordNames names;
    names.pathWithoutExtension = path.left(std::max<qsizetype>(0, path.size() - 4));
    names.commentPath = names.pathWithoutExtension + QStringLiteral(".TXT");
    return names;
}

QString recordCaption(const QString& path, const QString& serialNumber)
{
    return path + QStringLiteral("   SN:") + serialNumber;
}

}  // namespace tormel
