#include "app/compare_command.h"

#include "app/command_folders.h"
#include "app/command_language.h"
#include "app/trace_command.h"
#include "base/app_info.h"
#include "config/settings.h"
#include "config/user_settings.h"
#include "library/session_index.h"
#include "tracks/track_file.h"
#include "shell/comparison_page.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

namespace tormel {

namespace {

void fail(const QString& line)
{
    std::fprintf(stderr, "tormel_vue: %s\n", qPrintable(line));
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
    const QStringList args = QCoreApplication::arguments();
    // --gearing F/R before --report: the reference lap with those sprockets on a page of its own.
    const bool gearing = args.size() >= 6 && args.at(args.size() - 4) == QLatin1String("--gearing");
    const std::optional<Sprockets> other = gearing ? sprocketsArgument(args.at(args.size() - 3)) : std::nullopt;
    const qsizetype laps = args.size() - 4 - (gearing ? 2 : 0);
    if (args.size() < 4 || args.at(args.size() - 2) != QLatin1String("--report") || laps < MinComparedLaps
        || laps > MaxComparedLaps || !args.last().endsWith(QLatin1String("pdf"), Qt::CaseInsensitive) || (gearing && !other)) {
        fail(QStringLiteral("--compare takes two to six laps (RECORD or RECORD:N), then --gearing F/R (whole teeth from %1 to "
                            "%2) if you wish, then --report and an output file ending in pdf")
                 .arg(fewestTeeth)
                 .arg(mostTeeth));
        return 2;
    }
    const CommandFolders folders = commandFolders();
    const SystemSettings settings = loadSettings(folders.program);
    const LanguageTexts language = readWindowLanguage(folders.program, folders.shipped, languageOfNumber(settings.language));
    if (!language.warning.isEmpty())
        fail(language.warning);
    ComparisonContent content;
    content.tables = language.tables;
    content.temperatureUnit = temperatureUnitOf(settings.temperatureUnit);
    const QString dataFolder = QFileInfo(SessionIndex::standardFile()).absolutePath();
    const QString trackFile = QDir(folders.working).filePath(trackFileName);
    for (qsizetype i = 2; i < 2 + laps; ++i) {
        const LapArgument lap = lapArgument(args.at(i));
        if (lap.lap == 0) {
            fail(QStringLiteral("%1 has no lap 0").arg(lap.record));
            return 1;
        }
        const ComparableRecord record = readComparableRecord(lap.record, dataFolder, 0, trackFile, settings.currentTrack);
        if (!record.warning.isEmpty())
            fail(record.warning);
        const ReadComparedLap read = comparedLapOf(record, lap.lap.value_or(0));
        if (!read.lap) {
            fail(englishText(read.failure));
            return 1;
        }
        if (!content.laps.empty() && read.lap->kind != content.laps.front().kind) {
            fail(QStringLiteral("%1: a lap of another kind than the first: lap-timing and engine-speed laps are not compared "
                                "together")
                     .arg(lap.record));
            return 1;
        }
        content.laps.push_back(*read.lap);
        content.laps.back().colour = comparisonColour(int(i - 2));
        // The legend names the track as the window's does, from the track file.
        if (const std::optional<Track> track = record.track ? readTrack(trackFile, *record.track) : std::nullopt)
            content.laps.back().track = track->name.trimmed();
    }
    content.speedUnit = speedUnitOf(settings.speedUnit);
    workOutFigures(content);
    if (other && content.figures.kind == RecordKind::EngineSpeed) {
        SprocketsView view;
        view.laps = {content.laps.front()};
        view.other = *other;
        workOutSprockets(view);
        view.targetMaxRpm = UserSettings(UserSettings::standardFile()).targetMaxRpm(view.engine);
        workOutSprockets(view);
        content.sprockets = view;
    }
    QString error;
    if (!writeComparisonReport(args.last(), content, &error)) {
        fail(QStringLiteral("cannot write %1: %2").arg(args.last(), error));
        return 1;
    }
    return 0;
}

}  // namespace tormel
