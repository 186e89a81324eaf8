#pragma once

#include "laps/lap_table.h"
#include "laps/rpm_statistics.h"
#include "record/record_decoder.h"
#include "record/record_image.h"
#include "texts/text_tables.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace tormel {

// The lap table as the grid shows it, rows in their displayed order, in
// Windows-1252: a date line, then per row 17 cells each followed by a TAB
// and a lone CR.
QByteArray exportLapTable(const LapTable& table, const QDateTime& now);

// One line per sample: lap, beacon counter and engine speed. The lap and
// beacon counting is the export's own: every marked sample counts, with no
// dead time.
QByteArray exportRpm(const RecordImage& image, const DecodedRecord& record, const RpmStatistics& stats,
                     const TextTables& texts, const QDateTime& now);

// Writes the bytes through QSaveFile: on failure no new file is left and an
// existing file is untouched. Returns the reason on failure.
std::optional<QString> writeExport(const QString& path, const QByteArray& bytes);

// The chosen name must end in exactly "xls" (letter case counts).
bool hasXlsExtension(const QString& fileName);

}  // namespace tormel
