#include "app/trace_command.h"

#include "app/command_folders.h"
#include "app/command_language.h"
#include "app/compare_command.h"
#include "base/app_info.h"
#include "config/settings.h"
#include "document/record_document.h"
#include "library/session_figures.h"
#include "library/session_index.h"
#include "library/setup_sheet.h"
#include "record/record_file.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>

namespace tormel {

namespace {

void warn(const QString& line)
{
    std::fprintf(stderr, "tormel_vue: %s\n", qPrintable(line));
}

int fail(const QString& line, int code)
{
    warn(line);
    return code;
}

const QString usageLine = QStringLiteral("--trace RECORD[:N] [--format csv|json] [--gearing F/R] [--sprockets F/R]");

struct TraceArguments {
    QString lap;
    bool json = false;
    std::optional<Sprockets> gearing;
    std::optional<Sprockets> sprockets;
};

// The arguments, or the line that says what is wrong with them.
std::optional<TraceArguments> traceArguments(const QStringList& args, QString& wrong)
{
    TraceArguments t;
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--format")) {
            const QString format = args.value(++i);
            if (format != QLatin1String("csv") && format != QLatin1String("json")) {
                wrong = QStringLiteral("--format takes csv or json");
                return std::nullopt;
            }
            t.json = format == QLatin1String("json");
        } else if (arg == QLatin1String("--gearing") || arg == QLatin1String("--sprockets")) {
            const std::optional<Sprockets> s = sprocketsArgument(args.value(++i));
            if (!s) {
                wrong = QStringLiteral("%1 takes F/R, the front and rear teeth, whole numbers from %2 to %3")
                            .arg(arg)
                            .arg(fewestTeeth)
                            .arg(mostTeeth);
                return std::nullopt;
            }
            (arg == QLatin1String("--gearing") ? t.gearing : t.sprockets) = s;
        } else if (arg.startsWith(QLatin1String("--")) || !t.lap.isEmpty()) {
            wrong = QStringLiteral("%1 is not an argument of %2").arg(arg, usageLine);
            return std::nullopt;
        } else {
            t.lap = arg;
        }
    }
    if (t.lap.isEmpty()) {
        wrong = QStringLiteral("a record is missing: %1").arg(usageLine);
        return std::nullopt;
    }
    return t;
}

// The present sprockets: those given, else the session's setup sheet's.
std::optional<Sprockets> presentSprockets(const TraceArguments& t, const QString& path, const RecordImage& image)
{
    if (t.sprockets)
        return t.sprockets;
    const QString dataFolder = QFileInfo(SessionIndex::standardFile()).absolutePath();
    const FoundSetupSheet found = readSetupSheet({QFileInfo(path).absoluteFilePath()}, sessionIdentity(image), dataFolder);
    if (found.state == SetupSheetState::Broken)
        warn(QStringLiteral("%1: %2").arg(found.path, englishText(found.error)));
    const Sprockets s{found.sheet.frontSprocket.value_or(0), found.sheet.rearSprocket.value_or(0)};
    return s.given() ? std::optional(s) : std::nullopt;
}

// A column as printed: its texts for CSV, or its JSON values (the numbers
// the texts show, null where a text is empty).
struct Column {
    QString name;
    QStringList csv;
    QJsonArray json;
};

void add(Column& column, const std::optional<double>& value, int decimals, bool json)
{
    const QString shown = value ? QString::number(*value, 'f', decimals) : QString();
    if (!json)
        column.csv << shown;
    else if (!value)
        column.json.append(QJsonValue());
    else
        column.json.append(decimals == 0 ? QJsonValue(shown.toInt()) : QJsonValue(shown.toDouble()));
}

// The columns of lap `lap` of the record, one value per sample s_0..s_n.
std::vector<Column> traceColumns(const RpmStatistics& stats, const RpmLap& lap, float lapLength,
                                 std::optional<Sprockets> present, std::optional<Sprockets> gearing, bool json)
{
    std::vector<Column> columns{{QStringLiteral("time"), {}, {}},     {QStringLiteral("rpm"), {}, {}},
                                {QStringLiteral("fraction"), {}, {}}, {QStringLiteral("distance"), {}, {}},
                                {QStringLiteral("speed"), {}, {}}};
    if (gearing)
        columns.push_back({QStringLiteral("rpmWithGearing"), {}, {}});
    const std::vector<double> fractions = lapFractions(lap);
    const std::optional<std::vector<double>> distances = lapDistances(fractions, lapLength);
    const std::optional<double> inverse = medianInverseRpmSum(stats);
    for (std::size_t k = 0; k < lap.rpm.size(); ++k) {
        const int rpm = lap.rpm[k];
        add(columns[0], double(k) * RpmStatistics::SampleSeconds, 2, json);
        add(columns[1], rpm, 0, json);
        add(columns[2], fractions[k], 6, json);
        add(columns[3], distances ? std::optional((*distances)[k]) : std::nullopt, 1, json);
        add(columns[4], inverse ? roadSpeed(rpm, lapLength, *inverse, SpeedUnit::KilometresPerHour) : std::nullopt, 1, json);
        if (gearing)
            add(columns[5], rpmWithSprockets(rpm, *present, *gearing), 0, json);
    }
    return columns;
}

QByteArray traceText(const std::vector<Column>& columns, bool json)
{
    if (json) {
        const qsizetype rows = columns.front().json.size();
        QJsonArray array;
        for (qsizetype row = 0; row < rows; ++row) {
            QJsonObject object;
            for (const Column& c : columns)
                object.insert(c.name, c.json.at(row));
            array.append(object);
        }
        return QJsonDocument(array).toJson(QJsonDocument::Indented);
    }
    QStringList header;
    for (const Column& c : columns)
        header << c.name;
    QString out = header.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (qsizetype row = 0; row < columns.front().csv.size(); ++row) {
        QStringList cells;
        for (const Column& c : columns)
            cells << c.csv.at(row);
        out += cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return out.toLatin1();
}

// The closed lap asked for (the best when none was), or why not.
std::optional<RpmLap> askedLap(const RecordDocument& document, const LapArgument& asked, QString& why)
{
    if (document.refusal() == Refusal::TooFewSamples) {
        why = QStringLiteral("the record %1 holds fewer than 10 engine-speed samples").arg(asked.record);
        return std::nullopt;
    }
    if (document.kind() != RecordKind::EngineSpeed) {
        why = QStringLiteral("%1 is not an engine-speed record").arg(asked.record);
        return std::nullopt;
    }
    const RpmStatistics& stats = document.rpm();
    const int lap = asked.lap.value_or(stats.bestLap);
    std::optional<RpmLap> closed = closedLap(stats, lap);
    if (!closed && stats.lapCount < 2)
        why = QStringLiteral("%1 has no closed lap").arg(asked.record);
    else if (!closed)
        why = QStringLiteral("%1 has no closed lap %2 (its closed laps are 1 to %3)").arg(asked.record).arg(lap).arg(stats.lapCount - 1);
    return closed;
}

}  // namespace

std::optional<Sprockets> sprocketsArgument(const QString& argument)
{
    static const QRegularExpression teeth(QStringLiteral("^(\\d{1,3})/(\\d{1,3})$"));
    const QRegularExpressionMatch match = teeth.match(argument);
    if (!match.hasMatch())
        return std::nullopt;
    const Sprockets s{match.captured(1).toInt(), match.captured(2).toInt()};
    const auto inRange = [](int t) { return t >= fewestTeeth && t <= mostTeeth; };
    return inRange(s.front) && inRange(s.rear) ? std::optional(s) : std::nullopt;
}

int traceCommand(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(applicationTitle());
    QString wrong;
    const std::optional<TraceArguments> t = traceArguments(QCoreApplication::arguments(), wrong);
    if (!t)
        return fail(wrong, 2);
    const LapArgument asked = lapArgument(t->lap);
    if (!QFileInfo(asked.record).isFile())
        return fail(QStringLiteral("cannot read the record %1: no such file").arg(asked.record), 1);
    const LoadedRecord loaded = loadRecordFile(asked.record);
    if (loaded.errorNumber != 0)
        return fail(QStringLiteral("cannot read the record %1: %2").arg(asked.record, loaded.errorText), 1);

    const CommandFolders folders = commandFolders();
    const SystemSettings settings = loadSettings(folders.program);
    const LanguageTexts french;
    RecordDocument document;
    document.open(loaded.image);
    document.analyse(french.tables, commandViewOptions(settings, french, commandTrackFile(folders.working), loaded.trackNumber));
    QString why;
    const std::optional<RpmLap> lap = askedLap(document, asked, why);
    if (!lap)
        return fail(why, 1);
    const std::optional<Sprockets> present = presentSprockets(*t, asked.record, loaded.image);
    if (t->gearing && !present)
        return fail(QStringLiteral("%1: its setup sheet gives no sprockets: give them with --sprockets F/R").arg(asked.record), 1);

    const float lapLength = document.trackLengths()[0];
    const QByteArray out = traceText(traceColumns(document.rpm(), *lap, lapLength, present, t->gearing, t->json), t->json);
    std::fwrite(out.constData(), 1, std::size_t(out.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : fail(QStringLiteral("cannot write the trace"), 1);
}

}  // namespace tormel
