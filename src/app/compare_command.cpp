#include "app/compare_command.h"

#include "app/command_folders.h"
#include "app/command_language.h"
#include "base/app_info.h"
#include "config/settings.h"
#include "download/download_copies.h"
#include "library/session_index.h"
#include "record/record_file.h"
#include "shell/comparison_page.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>

namespace tormel {

namespace {

void fail(const QString& line)
{
    std::fprintf(stderr, "tormel_vue: %s\n", qPrintable(line));
}

// The lap's time and what the comparison shows of its session; why not, when it cannot be compared.
struct ReadLap {
    std::optional<ComparedSessionLap> lap;
    RecordKind kind = RecordKind::None;
    QString error;
};

ReadLap readLap(const LapArgument& argument, const TextTables& tables, const QString& dataFolder)
{
    const LoadedRecord loaded = loadRecordFile(argument.record);
    if (loaded.errorNumber != 0)
        return {std::nullopt, RecordKind::None, QStringLiteral("cannot read the record %1: %2").arg(argument.record, loaded.errorText)};
    ComparedSessionLap lap;
    lap.figures = sessionFigures(loaded.image);
    if (lap.figures.refusal != Refusal::None)
        return {std::nullopt, RecordKind::None, QStringLiteral("%1: %2").arg(argument.record, refusalText(lap.figures.refusal, tables))};
    if (lap.figures.kind != RecordKind::LapTiming)
        return {std::nullopt, lap.figures.kind,
                QStringLiteral("%1: only laps of lap-timing records are compared").arg(argument.record)};
    const std::vector<LapTimes> laps = recordLapTimes(loaded.image);
    int number = argument.lap.value_or(lap.figures.bestLap);
    if (number == 0 && !laps.empty())  // no best lap named by the logger: the quickest
        number = std::min_element(laps.begin(), laps.end(), [](const LapTimes& a, const LapTimes& b) {
                     return (a.time > 0 ? a.time : INT32_MAX) < (b.time > 0 ? b.time : INT32_MAX);
                 })->lap;
    if (number < 1 || number > int(laps.size()))
        return {std::nullopt, RecordKind::LapTiming, QStringLiteral("%1 has no lap %2").arg(argument.record).arg(number)};
    lap.lap = laps[std::size_t(number - 1)];
    const QFileInfo file(argument.record);
    const QDateTime date = downloadTimeOfName(file.fileName()).value_or(file.lastModified());
    lap.label = lapLabel(date, number);
    const FoundSetupSheet sheet = readSetupSheet({file.absoluteFilePath()}, sessionIdentity(loaded.image), dataFolder);
    if (sheet.state == SetupSheetState::Broken)
        fail(QStringLiteral("%1: %2").arg(sheet.path, sheet.error));
    lap.setup = sheet.sheet;
    return {lap, RecordKind::LapTiming, {}};
}

}  // namespace

LapArgument lapArgument(const QString& argument)
{
    static const QRegularExpression lapSuffix(QStringLiteral("^(.+):(\\d{1,3})$"));
    const QRegularExpressionMatch match = lapSuffix.match(argument);
    if (QFileInfo(argument).isFile() || !match.hasMatch())
        return {argument, std::nullopt};
    return {match.captured(1), match.captured(2).toInt()};
}

int compareCommand(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(applicationTitle());
    const QStringList args = QCoreApplication::arguments();
    const qsizetype laps = args.size() - 4;
    if (args.size() < 4 || args.at(args.size() - 2) != QLatin1String("--report") || laps < MinComparedLaps
        || laps > MaxComparedLaps || !args.last().endsWith(QLatin1String("pdf"), Qt::CaseInsensitive)) {
        fail(QStringLiteral("--compare takes two to six laps (RECORD or RECORD:N), then --report and an output file ending in pdf"));
        return 2;
    }
    const CommandFolders folders = commandFolders();
    const SystemSettings settings = loadSettings(folders.program);
    const Language language = readWindowLanguage(folders.program, folders.shipped, settings.language);
    if (!language.warning.isEmpty())
        fail(language.warning);
    ComparisonContent content{{}, 0, language.tables, settings.temperatureUnit};
    const QString dataFolder = QFileInfo(SessionIndex::standardFile()).absolutePath();
    for (qsizetype i = 2; i < 2 + laps; ++i) {
        const ReadLap read = readLap(lapArgument(args.at(i)), language.tables, dataFolder);
        if (!read.lap) {
            fail(read.error);
            return 1;
        }
        content.laps.push_back(*read.lap);
        content.laps.back().colour = comparisonColour(int(i - 2));
    }
    QString error;
    if (!writeComparisonReport(args.last(), content, &error)) {
        fail(QStringLiteral("cannot write %1: %2").arg(args.last(), error));
        return 1;
    }
    return 0;
}

}  // namespace tormel
