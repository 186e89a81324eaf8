#include "app/export_command.h"

#include "app/command_language.h"
#include "base/number_format.h"
#include "config/settings.h"
#include "document/record_document.h"
#include "laps/export.h"
#include "record/record_file.h"
#include "texts/language_files.h"
#include "tracks/track_file.h"

#include <QDir>
#include <QFileInfo>

namespace tormel {

namespace {

ExportCommandResult failure(const QString& message)
{
    ExportCommandResult result;
    result.error = message;
    return result;
}

}  // namespace

ExportCommandResult exportRecordFile(const QString& recordPath, const QString& outPath, const QString& programFolder,
                                     const QString& installedData, const QDateTime& now)
{
    if (!hasXlsExtension(outPath))
        return failure(QStringLiteral("the output name must end in xls: %1").arg(outPath));
    if (!QFileInfo(recordPath).isFile())
        return failure(QStringLiteral("cannot read the record %1: no such file").arg(recordPath));
    const LoadedRecord loaded = Charge_Fichier(recordPath);
    if (loaded.errorNumber != 0)
        return failure(QStringLiteral("cannot read the record %1: %2").arg(recordPath, loaded.errorText));

    const SystemSettings settings = Charge_System(programFolder);
    const Language language = readLanguage(programFolder, installedData, settings.Choix_Langue);

    ViewOptions options;
    int track = settings.Piste_Courante;
    if (loaded.trackNumber && isTrackNumber(*loaded.trackNumber))
        track = *loaded.trackNumber;
    options.Distances = lireDistancesPiste(QDir::current().filePath(trackFileName), track).value_or(std::array<float, 4>{});
    options.Choix_Vitesse = settings.Choix_Vitesse;
    options.Choix_Temp = settings.Choix_Temp;
    options.uniteVitesse = language.menus[std::size_t(menuUniteVitesseFirst + settings.Choix_Vitesse)];
    // The temperature captions are not in the menu file.
    options.uniteTemp = settings.Choix_Temp == 1 ? QStringLiteral("°F") : QStringLiteral("°C");
    options.decimalSeparator = systemDecimalSeparator();

    RecordDocument document;
    document.open(loaded.image);
    document.Affiche_Data(language.tables, options);
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

}  // namespace tormel
