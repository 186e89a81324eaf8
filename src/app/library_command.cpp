#include "app/library_command.h"

#include "app/command_folders.h"
#include "app/command_language.h"
#include "config/settings.h"
#include "config/user_settings.h"
#include "library/session_index.h"
#include "library/library_model.h"
#include "library/setup_sheet.h"
#include "shell/season_report.h"
#include "tracks/track_file.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <variant>
#include <functional>
#include <vector>

namespace tormel {

namespace {

// One printed value: its CSV text and its JSON value.
struct Field {
    QString csv;
    QJsonValue json;
};

const QStringList sessionFieldNames{
    QStringLiteral("date"),        QStringLiteral("serialNumber"), QStringLiteral("track"),
    QStringLiteral("trackName"),   QStringLiteral("kind"),         QStringLiteral("laps"),
    QStringLiteral("bestLap"),     QStringLiteral("bestTime"),     QStringLiteral("theoreticalBest"),
    QStringLiteral("racingLaps"),  QStringLiteral("windowCount"),  QStringLiteral("spread"),
    QStringLiteral("deviation"),   QStringLiteral("maxRpm"),       QStringLiteral("maxTemperature"),
    QStringLiteral("missing"),     QStringLiteral("identity"),     QStringLiteral("files"),
    QStringLiteral("reason"),
};

// The session's fields, then the setup sheet's under its file's own keys.
QStringList withSetupKeys(QStringList names)
{
    for (const SetupField& f : setupFields())
        names << f.key;
    return names;
}
const QStringList fieldNames = withSetupKeys(sessionFieldNames);

Field text(const QString& value)
{
    return {value, value};
}
Field number(int value)
{
    return {QString::number(value), value};
}
Field none()
{
    return {QString(), QJsonValue()};
}
// Hundredths as seconds with two decimals; none for 0, which is no time.
Field seconds(double hundredths)
{
    if (hundredths <= 0.0)
        return none();
    const QString shown = QString::number(hundredths / 100.0, 'f', 2);
    return {shown, shown.toDouble()};
}
// A measure in hundredths, as seconds with two decimals, 0 included.
Field spanSeconds(double hundredths)
{
    const QString shown = QString::number(hundredths / 100.0, 'f', 2);
    return {shown, shown.toDouble()};
}
Field flag(bool value)
{
    return {value ? QStringLiteral("true") : QStringLiteral("false"), value};
}
Field paths(const std::vector<SessionFile>& files)
{
    QStringList list;
    for (const SessionFile& f : files)
        list << f.path;
    return {list.join(QLatin1Char(';')), QJsonArray::fromStringList(list)};
}
QString dateText(const QDateTime& date)
{
    return date.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

using TrackName = std::function<QString(int)>;

Field measure(const std::optional<double>& value)
{
    return value ? Field{QString::number(*value, 'g', 10), *value} : none();
}

void addSetup(std::vector<Field>& row, const SetupSheet& sheet)
{
    for (const SetupField& f : setupFields()) {
        const SetupValue value = setupValue(sheet, f);
        if (const auto* t = std::get_if<QString>(&value))
            row.push_back(text(*t));
        else if (const auto* n = std::get_if<double>(&value))
            row.push_back(measure(*n));
        else
            row.push_back(f.text ? text(QString()) : none());
    }
}

std::vector<Field> sessionRow(const Session& s, const TrackName& trackName)
{
    const SessionFigures& f = s.figures;
    const std::optional<Consistency>& c = f.consistency;
    const bool laps = f.kind == RecordKind::LapTiming;
    std::vector<Field> row{
        text(dateText(s.date)),
        text(f.serialNumber),
        s.track ? number(*s.track) : none(),
        s.track ? text(trackName(*s.track)) : none(),
        text(laps ? QStringLiteral("lap timing") : QStringLiteral("engine speed")),
        number(f.laps),
        f.bestLap > 0 ? number(f.bestLap) : none(),
        seconds(f.bestTime),
        seconds(f.theoreticalBest),
        c ? number(c->racingLaps) : none(),
        c ? number(c->windowCount) : none(),
        c && c->racingLaps > 0 ? spanSeconds(c->spread) : none(),
        c && c->racingLaps > 0 ? spanSeconds(c->deviation) : none(),
        number(f.maxRpm),
        f.maxTemperature ? number(*f.maxTemperature) : none(),
        flag(s.missing),
        text(s.identity),
        paths(s.files),
        text(englishRefusalText(f.refusal)),
    };
    // The figures of an image padded with zeros say nothing of the session.
    if (const std::optional<int> bytes = s.truncatedBytes()) {
        for (int column : {5, 6, 7, 8, 9, 10, 11, 12, 13, 14})
            row[std::size_t(column)] = none();
        row[18] = text(QStringLiteral("truncated: %1 of %2 bytes").arg(*bytes).arg(RecordImage::Size));
    }
    return row;
}

std::vector<Field> unreadableRow(const SessionFile& file)
{
    std::vector<Field> row(std::size_t(fieldNames.size()), none());
    row[0] = text(dateText(QDateTime::fromMSecsSinceEpoch(file.modified)));
    row[15] = flag(false);
    row[17] = paths({file});
    row[18] = text(file.error);
    return row;
}

// RFC 4180: quoted when it holds a comma, a quote or a line break.
QString csvField(const QString& value)
{
    if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) && !value.contains(QLatin1Char('\n'))
        && !value.contains(QLatin1Char('\r')))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// The listing, written row by row as it is made: a season of ten thousand
// sessions is never held twice in memory.
class Listing {
public:
    explicit Listing(bool json)
        : json_(json)
    {
        put(json_ ? QByteArray("[") : (fieldNames.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8());
    }

    void add(const std::vector<Field>& row)
    {
        if (!json_) {
            QStringList cells;
            for (const Field& f : row)
                cells << csvField(f.csv);
            put((cells.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8());
            return;
        }
        QJsonObject object;
        for (qsizetype i = 0; i < fieldNames.size(); ++i)
            object.insert(fieldNames[i], row[std::size_t(i)].json);
        put((rows_++ == 0 ? QByteArray("\n    ") : QByteArray(",\n    ")) + QJsonDocument(object).toJson(QJsonDocument::Compact));
    }

    bool finish()
    {
        if (json_)
            put(rows_ == 0 ? QByteArray("]\n") : QByteArray("\n]\n"));
        return std::fflush(stdout) == 0 && !failed_;
    }

private:
    void put(const QByteArray& bytes)
    {
        failed_ = failed_ || std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) != std::size_t(bytes.size());
    }

    bool json_;
    int rows_ = 0;
    bool failed_ = false;
};

int fail(const QString& line, int code = 1)
{
    std::fprintf(stderr, "tormel_vue: %s\n", qPrintable(line));
    return code;
}

// The sessions listed, on paper in the language the window shows.
int seasonReport(const IndexContents& contents, const QStringList& given, const TrackName& trackName, const QString& out)
{
    std::vector<LibraryRow> rows;
    for (const Session& s : contents.sessions) {
        if (!given.isEmpty() && !sessionIsUnder(s, given))
            continue;
        LibraryRow row;
        row.session = s;
        row.trackName = s.track ? trackName(*s.track) : QString();
        row.setup = s.setup.sheet;
        rows.push_back(std::move(row));
    }
    if (rows.empty())
        return fail(QStringLiteral("no session is found for a season report"));
    const CommandFolders folders = commandFolders();
    const LanguageTexts language =
        readWindowLanguage(folders.program, folders.shipped, languageOfNumber(loadSettings(folders.program).language));
    if (!language.warning.isEmpty())
        fail(language.warning);
    QString error;
    if (!writeSeasonReport(out, rows, language.tables, &error))
        return fail(QStringLiteral("cannot write %1: %2").arg(out, error));
    return 0;
}

struct LibraryArguments {
    QStringList given;  // the folders, whole paths
    QString format;     // empty: csv
    QString report;     // the season report's file; empty: a listing
};

// The command's arguments, or the exit code of a refusal told on stderr.
std::variant<LibraryArguments, int> libraryArguments(const QStringList& args)
{
    LibraryArguments a;
    const QString usage = QStringLiteral("(--library [FOLDER...] [--format csv|json | --report OUT.pdf])");
    for (qsizetype i = 2; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--format")) {
            a.format = args.value(++i);
            if (a.format != QLatin1String("csv") && a.format != QLatin1String("json"))
                return fail(QStringLiteral("--format takes csv or json"), 2);
        } else if (args.at(i) == QLatin1String("--report")) {
            a.report = args.value(++i);
            if (!a.report.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
                return fail(QStringLiteral("--report takes an output file ending in .pdf %1").arg(usage), 2);
        } else if (args.at(i).startsWith(QLatin1String("--"))) {
            return fail(QStringLiteral("unknown option %1 %2").arg(args.at(i), usage), 2);
        } else if (!QFileInfo(args.at(i)).isDir()) {
            return fail(QStringLiteral("no such folder: %1").arg(args.at(i)));
        } else {
            a.given << QFileInfo(args.at(i)).absoluteFilePath();
        }
    }
    if (!a.format.isEmpty() && !a.report.isEmpty())
        return fail(QStringLiteral("a season report is a PDF: --format and --report do not go together"), 2);
    return a;
}

}  // namespace

int libraryCommand(int argc, char* argv[])
{
    // A season report needs fonts and a painter: a GUI application, without a display.
    const bool report = std::any_of(argv + 2, argv + argc, [](const char* a) { return std::strcmp(a, "--report") == 0; });
    if (report && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        report ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    const std::variant<LibraryArguments, int> parsed = libraryArguments(QCoreApplication::arguments());
    if (const int* refused = std::get_if<int>(&parsed))
        return *refused;
    const LibraryArguments& arguments = std::get<LibraryArguments>(parsed);

    // Everything it writes is English: no language file is read.
    const CommandFolders folders = commandFolders();

    SessionIndex index(SessionIndex::standardFile());
    QString error;
    const bool opened = index.open(&error);
    const auto tell = [&] {
        if (const QString line = index.takeNotice().movedLine(index.file()); !line.isEmpty())
            fail(line);
    };
    tell();
    if (!opened)
        return fail(error);
    const QStringList kept = UserSettings(UserSettings::standardFile()).libraryFolders();
    const bool updated = index.update(sessionFolders(folders.working, kept, arguments.given), &error).has_value();
    tell();
    // An index that cannot be written still lists what it holds.
    if (!updated && index.writable())
        return fail(error);
    if (!updated)
        fail(error);
    const std::optional<IndexContents> contents = index.contents(&error);
    if (!contents)
        return fail(error);

    const QString trackFile = QDir(folders.working).filePath(trackFileName);
    QHash<int, QString> names;
    const TrackName trackName = [&](int number) {
        if (!names.contains(number)) {
            const std::optional<Track> track = readTrack(trackFile, number);
            names.insert(number, track ? track->name.trimmed() : QString());
        }
        return names.value(number);
    };
    if (report)
        return seasonReport(*contents, arguments.given, trackName, arguments.report);
    // Folders given: the sessions that have, or last had, a file under them.
    const auto listed = [&](const QString& path) { return arguments.given.isEmpty() || fileIsUnder(path, arguments.given); };
    Listing listing(arguments.format == QLatin1String("json"));  // csv unless told
    for (const Session& s : contents->sessions) {
        if (!arguments.given.isEmpty() && !sessionIsUnder(s, arguments.given))
            continue;
        std::vector<Field> row = sessionRow(s, trackName);
        if (s.setup.state == SetupSheetState::Broken)
            fail(QStringLiteral("%1: %2").arg(s.setup.path, englishText(s.setup.error)));
        addSetup(row, s.setup.sheet);
        listing.add(row);
    }
    for (const SessionFile& f : contents->unreadable)
        if (listed(f.path))
            listing.add(unreadableRow(f));
    return listing.finish() ? 0 : fail(QStringLiteral("cannot write the listing"));
}

}  // namespace tormel
