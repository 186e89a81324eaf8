#pragma once

#include "record/record_image.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

namespace tormel {

// Every accepted download is kept besides "error.tml", which the next one
// replaces: in the folder `downloads` of `workingFolder`, as a record file
// named from the time and the logger's serial number
// (2026-12-06_14-03-12_SN270415.Tml, then _2, _3 in the same second). A copy
// is never overwritten. The path written, or empty and why.
QString keepDownloadCopy(const QString& workingFolder, const RecordImage& image, std::int16_t trackNumber,
                         const QDateTime& when, QString* errorText = nullptr);

// The last resort when neither the record file asked for nor `downloads/`
// can be written: the same copy in a folder of this user's own, made afresh
// (mode 0700, by mkdtemp) in the temporary folder ($TMPDIR, else /tmp), so
// that no other user's folder stands in the way. The path written, or empty
// and why.
QString keepPrivateCopy(const RecordImage& image, std::int16_t trackNumber, const QDateTime& when,
                        QString* errorText = nullptr);

// The download time a kept copy's file name gives, in local time; none for
// any other name.
std::optional<QDateTime> downloadTimeOfName(const QString& fileName);

}  // namespace tormel
