#pragma once

#include "app/command_language.h"
#include "config/settings.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <atomic>
#include <vector>

namespace tormel {

struct ExportCommandResult {
    bool ok = false;
    QString error;    // one line, for stderr, when not ok
    QString warning;  // one line, for stderr, when a language file is defective
};

// What every export of one run shares: the settings, the language and the
// track file, read once. The settings and the user's language files come
// from `programFolder` (over the shipped ones of `shippedFolder`), the track
// lengths from Pistes.aqw in `workingFolder`, as the window would read them.
struct ExportContext {
    SystemSettings settings;
    LanguageTexts language;
    QString trackFile;
};
ExportContext exportContext(const QString& programFolder, const QString& shippedFolder, const QString& workingFolder);

// What `tormel_vue --export RECORD OUT` writes: the file the Exporter command
// would write after opening RECORD. It only reads: no file but OUT is
// created or changed, and OUT is replaced whole or not at all.
ExportCommandResult exportOneRecord(const QString& recordPath, const QString& outPath, const ExportContext& context,
                                    const QDateTime& now);

// `tormel_vue --export RECORD... --to FOLDER`: each record's file, named as
// the record with .xls, into FOLDER, on all the cores. Results in the order
// of `records`; a record whose output name an earlier one took is refused.
// `done` counts the records finished, for a progress line.
struct BatchResult {
    QString name;  // the output file's name
    ExportCommandResult result;
};
QString batchOutputName(const QString& recordPath);
std::vector<BatchResult> exportBatch(const QStringList& records, const QString& folder, const ExportContext& context,
                                     const QDateTime& now, std::atomic<int>* done = nullptr);

}  // namespace tormel
