#include "app/export_command.h"

#include "app/command_language.h"
#include "base/all_cores.h"
#include "config/settings.h"
#include "document/record_document.h"
#include "laps/export.h"
#include "record/record_file.h"
#include "texts/language_files.h"
#include "tracks/track_file.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace tormel {

namespace {

ExportCommandResult failure(const QString& message)
{
    ExportCommandResult result;
    result.error = message;
    return result;
}

}  // namespace

ExportContext exportContext(const QString& programFolder, const QString& shippedFolder, const QString& workingFolder)
{
    ExportContext c;
    c.settings = loadSettings(programFolder);
    c.language = readLanguage(programFolder, shippedFolder, languageOfNumber(c.settings.language));
    c.trackFile = QDir(workingFolder).filePath(trackFileName);
    return c;
}

ExportCommandResult exportOneRecord(const QString& recordPath, const QString& outPath, const ExportContext& context,
                                    const QDateTime& now)
{
    if (!hasXlsExtension(outPath))
        return failure(QStringLiteral("the output name must end in xls: %1").arg(outPath));
    if (!QFileInfo(recordPath).isFile())
        return failure(QStringLiteral("cannot read the record %1: no such file").arg(recordPath));
    const LoadedRecord loaded = loadRecordFile(recordPath);
    if (loaded.errorNumber != 0)
        return failure(QStringLiteral("cannot read the record %1: %2").arg(recordPath, loaded.errorText));

    const LanguageTexts& language = context.language;
    const ViewOptions options = commandViewOptions(context.settings, language, context.trackFile, loaded.trackNumber);
    RecordDocument document;
    document.open(loaded.image);
    document.analyse(language.tables, options);
    switch (document.refusal()) {
    case Refusal::TooFewSamples:
        return failure(QStringLiteral("the record %1 holds fewer than 10 engine-speed samples").arg(recordPath));
    case Refusal::NoLap:
        return failure(QStringLiteral("the record %1 holds no lap").arg(recordPath));
    case Refusal::None:
        break;
    }
    const QByteArray bytes = exportRecord(document, language.tables, now);

    if (const auto error = writeExport(outPath, bytes))
        return failure(QStringLiteral("cannot write %1: %2").arg(outPath, *error));
    ExportCommandResult result;
    result.ok = true;
    result.warning = language.warning;
    return result;
}

QString batchOutputName(const QString& recordPath)
{
    return QFileInfo(recordPath).completeBaseName() + QStringLiteral(".xls");
}

std::vector<BatchResult> exportBatch(const QStringList& records, const QString& folder, const ExportContext& context,
                                     const QDateTime& now, std::atomic<int>* done)
{
    std::vector<BatchResult> results(std::size_t(records.size()));
    // Names taken by an earlier record: a later one would overwrite its file.
    QHash<QString, int> taken;
    for (int i = 0; i < records.size(); ++i) {
        const QString name = batchOutputName(records.at(i));
        results[std::size_t(i)].name = name;
        const auto earlier = taken.constFind(name);
        if (earlier != taken.constEnd())
            results[std::size_t(i)].result = failure(
                QStringLiteral("its output %1 is already that of %2").arg(name, records.at(*earlier)));
        else
            taken.insert(name, i);
    }
    onAllCores(int(records.size()), 8, [&](int i) {
        BatchResult& r = results[std::size_t(i)];
        if (r.result.error.isEmpty())
            r.result = exportOneRecord(records.at(i), QDir(folder).filePath(r.name), context, now);
        if (done)
            ++*done;
    });
    return results;
}

}  // namespace tormel
