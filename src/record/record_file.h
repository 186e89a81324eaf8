#pragma once

#include "record/record_image.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace tormel {

// A record file is the 2048-byte image followed by the track number as a
// signed 16-bit little-endian value (2050 bytes); a bare 2048-byte image is
// read as well.
struct LoadedRecord {
    RecordImage image;                       // zero where the file was short
    std::optional<std::int16_t> trackNumber;  // only when the file is longer than 2048 bytes
    int imageBytes = 0;                      // of the image, read from the file: under 2048 for a file cut short
    int errorNumber = 0;                     // 0: read; else the file error's number
    QString errorText;
};

// The bytes of a record file.
QByteArray recordFileBytes(const RecordImage& image, std::int16_t trackNumber);

// saveRecordFile: writes image and track number. The file is replaced whole
// or not at all; on failure `errorText` says why and false is returned.
bool saveRecordFile(const QString& path, const RecordImage& image, std::int16_t trackNumber, QString* errorText = nullptr);

// loadRecordFile: reads at most the 2050 bytes a record holds.
LoadedRecord loadRecordFile(const QString& path);

// namesOfRecord: the record path without its extension, and the comment
// file beside the record.
struct RecordNames {
    QString pathWithoutExtension;
    QString commentPath;
};
RecordNames namesOfRecord(const QString& path);

// The window caption of an opened or saved record.
QString recordCaption(const QString& path, const QString& serialNumber);

}  // namespace tormel
