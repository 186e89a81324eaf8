#pragma once

#include <QDateTime>
#include <QString>

namespace tormel {

struct ExportCommandResult {
    bool ok = false;
    QString error;    // one line, for stderr, when not ok
    QString warning;  // one line, for stderr, when a language file is defective
};

// What `tormel_vue --export RECORD OUT` writes: the file the Exporter command
// would write after opening RECORD, with the units and language of the
// settings in `programFolder` (language files it lacks are read from
// `installedData`) and the track lengths of Pistes.aqw in the
// current folder. It only reads: no file but OUT is created or changed, and
// OUT is replaced whole or not at all.
ExportCommandResult exportRecordFile(const QString& recordPath, const QString& outPath, const QString& programFolder,
                                     const QString& installedData, const QDateTime& now);

}  // namespace tormel
