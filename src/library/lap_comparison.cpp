#include "library/lap_comparison.h"

#include "document/record_document.h"
#include "download/download_copies.h"
#include "record/record_file.h"
#include "laps/conversions.h"
#include "laps/road_speed.h"
#include "tracks/track_file.h"

#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <cmath>
#include <array>
#include <cstdlib>
#include <functional>

namespace tormel {

namespace {

// Okabe and Ito's palette, without its black and its yellow (unreadable on white).
constexpr std::array<Rgb, MaxComparedLaps> palette{{
    {0, 114, 178},    // blue
    {213, 94, 0},     // vermilion
    {0, 158, 115},    // bluish green
    {204, 121, 167},  // reddish purple
    {230, 159, 0},    // orange
    {86, 180, 233},   // sky blue
}};

QString number(const std::optional<double>& value)
{
    return value ? QString::number(*value, 'g', 10) : QString();
}

}  // namespace

Rgb comparisonColour(int colour)
{
    return palette[std::size_t(std::clamp(colour, 0, MaxComparedLaps - 1))];
}

ChoiceRefusal addLap(LapChoice& choice, const QString& identity, int lap, RecordKind kind)
{
    if (!choice.laps.empty() && kind != choice.kind)
        return ChoiceRefusal::OtherKind;
    const auto same = [&](const ChosenLap& c) { return c.identity == identity && c.lap == lap; };
    if (std::any_of(choice.laps.begin(), choice.laps.end(), same))
        return ChoiceRefusal::AlreadyChosen;
    if (int(choice.laps.size()) >= MaxComparedLaps)
        return ChoiceRefusal::TooMany;
    int colour = 0;
    while (std::any_of(choice.laps.begin(), choice.laps.end(), [&](const ChosenLap& c) { return c.colour == colour; }))
        ++colour;
    if (choice.laps.empty()) {
        choice.kind = kind;
        choice.reference = 0;
    }
    choice.laps.push_back({identity, lap, colour});
    return ChoiceRefusal::None;
}

void removeLap(LapChoice& choice, int index)
{
    if (index < 0 || index >= int(choice.laps.size()))
        return;
    choice.laps.erase(choice.laps.begin() + index);
    if (index == choice.reference)
        choice.reference = 0;
    else if (index < choice.reference)
        --choice.reference;
    if (choice.laps.empty())
        choice.kind = RecordKind::None;
}

void makeReference(LapChoice& choice, int index)
{
    if (index >= 0 && index < int(choice.laps.size()))
        choice.reference = index;
}

// "KIND REFERENCE", then "IDENTITY LAP COLOUR" per lap.
QStringList choiceText(const LapChoice& choice)
{
    if (choice.laps.empty())
        return {};
    QStringList text{QStringLiteral("%1 %2").arg(int(choice.kind)).arg(choice.reference)};
    for (const ChosenLap& c : choice.laps)
        text << QStringLiteral("%1 %2 %3").arg(c.identity).arg(c.lap).arg(c.colour);
    return text;
}

LapChoice choiceOfText(const QStringList& text)
{
    if (text.size() < 2)
        return {};
    const QStringList head = text.front().split(QLatin1Char(' '));
    bool kindOk = false;
    bool referenceOk = false;
    const int kind = head.value(0).toInt(&kindOk);
    const int reference = head.value(1).toInt(&referenceOk);
    if (head.size() != 2 || !kindOk || !referenceOk
        || (kind != int(RecordKind::LapTiming) && kind != int(RecordKind::EngineSpeed)))
        return {};
    LapChoice choice;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QStringList parts = text[i].split(QLatin1Char(' '));
        bool lapOk = false;
        bool colourOk = false;
        const int lap = parts.value(1).toInt(&lapOk);
        const int colour = parts.value(2).toInt(&colourOk);
        if (parts.size() != 3 || !lapOk || !colourOk || colour < 0 || colour >= MaxComparedLaps
            || addLap(choice, parts[0], lap, RecordKind(kind)) != ChoiceRefusal::None)
            return {};
        choice.laps.back().colour = colour;
    }
    if (reference < 0 || reference >= int(choice.laps.size()))
        return {};
    choice.reference = reference;
    return choice;
}

QString lapLabel(const QDateTime& sessionDate, int lap)
{
    return sessionDate.toString(QStringLiteral("yyyy-MM-dd HH:mm")) + QStringLiteral(" #%1").arg(lap);
}

QString lapLabel(const QDateTime& sessionDate, int lap, Language language)
{
    return languageLocale(language).toString(sessionDate, languageDateFormat(language) + QStringLiteral(" HH:mm"))
        + QStringLiteral(" #%1").arg(lap);
}

namespace {

// The laps of a lap-timing record's table, in lap order.
std::vector<LapTimes> lapTimesOf(const LapTable& table)
{
    const int sections = sectionCount(table.sectorMode);
    std::vector<LapTimes> laps;
    for (int lap = 1; lap <= table.lapCount; ++lap) {
        const int row = table.rowOfLap(lap);
        LapTimes t{lap, std::int32_t(cellValue(table, row, RawLapTimeColumn)), {}};
        for (int k = 1; k <= sections; ++k)
            t.sections.push_back(std::int32_t(cellValue(table, row, rawSectorColumn(k))));
        laps.push_back(std::move(t));
    }
    return laps;
}

}  // namespace

std::vector<LapTimes> recordLapTimes(const RecordImage& image)
{
    static const TextTables tables = frenchTextTables();
    RecordDocument document;
    document.open(image);
    document.analyse(tables, ViewOptions{});
    if (document.refusal() != Refusal::None || document.kind() != RecordKind::LapTiming)
        return {};
    return lapTimesOf(document.table());
}

LapComparison compareLaps(const std::vector<LapTimes>& laps, int reference)
{
    LapComparison c;
    if (laps.empty())
        return c;
    c.reference = std::clamp(reference, 0, int(laps.size()) - 1);
    for (const LapTimes& lap : laps)
        c.sectionCount = std::max(c.sectionCount, int(lap.sections.size()));
    const LapTimes& base = laps[std::size_t(c.reference)];
    for (std::size_t i = 0; i < laps.size(); ++i) {
        ComparedColumn column{laps[i], std::nullopt, std::vector<std::optional<std::int32_t>>(std::size_t(c.sectionCount))};
        if (int(i) != c.reference) {
            column.timeDifference = laps[i].time - base.time;
            for (std::size_t k = 0; k < laps[i].sections.size() && k < base.sections.size(); ++k)
                column.sectionDifferences[k] = laps[i].sections[k] - base.sections[k];
        }
        c.columns.push_back(std::move(column));
    }
    return c;
}

QString differenceText(std::int32_t hundredths)
{
    const QString sign = hundredths > 0 ? QStringLiteral("+") : hundredths < 0 ? QStringLiteral("-") : QString();
    return sign + lapTimeText(float(std::abs(hundredths)));
}

std::vector<SetupComparisonRow> compareSetups(const std::vector<SetupSheet>& sheets, int reference, TemperatureUnit temperatureUnit,
                                              QChar decimalSeparator)
{
    const auto shown = [temperatureUnit, decimalSeparator](const SetupSheet& sheet, const SetupField& field) {
        const SetupValue value = setupValue(sheet, field);
        if (const auto* text = std::get_if<QString>(&value))
            return *text;
        if (const auto* n = std::get_if<double>(&value))
            return number(std::optional(field.temperature ? temperatureIn(*n, temperatureUnit) : *n))
                .replace(QLatin1Char('.'), decimalSeparator);
        return QString();
    };
    std::vector<SetupComparisonRow> rows;
    if (sheets.empty())
        return rows;
    const std::size_t base = std::size_t(std::clamp(reference, 0, int(sheets.size()) - 1));
    for (const SetupField& field : setupFields()) {
        SetupComparisonRow row{field.key, {}, {}};
        for (const SetupSheet& sheet : sheets)
            row.values << shown(sheet, field);
        for (std::size_t i = 0; i < sheets.size(); ++i)
            row.differs.push_back(row.values[qsizetype(i)] != row.values[qsizetype(base)]);
        // The reference's side is marked too, wherever another lap differs from it.
        row.differs[base] = std::find(row.differs.begin(), row.differs.end(), true) != row.differs.end();
        rows.push_back(std::move(row));
    }
    return rows;
}

QString englishText(const ComparisonFailure& failure)
{
    switch (failure.kind) {
    case ComparisonFailure::Kind::None: break;
    case ComparisonFailure::Kind::Unreadable:
        return QStringLiteral("cannot read the record %1: %2").arg(failure.path, failure.detail);
    case ComparisonFailure::Kind::Refused: return QStringLiteral("%1: %2").arg(failure.path, englishRefusalText(failure.refusal));
    case ComparisonFailure::Kind::NoSuchLap: return QStringLiteral("%1 has no lap %2").arg(failure.path).arg(failure.lap);
    }
    return {};
}

namespace {

// Each lap's length, and its road speed when the sheet gives the sprockets.
void addRoad(ComparableRecord& record, const RpmStatistics& stats, float lapLength)
{
    const std::optional<double> inverse = medianInverseRpmSum(stats);
    const bool sprockets = record.setup.frontSprocket.value_or(0) > 0 && record.setup.rearSprocket.value_or(0) > 0;
    for (OverlayLap& trace : record.traces) {
        trace.lapLength = isLengthGiven(lapLength) ? lapLength : 0;
        if (inverse && sprockets)
            addRoadSpeed(trace, lapLength, *inverse);
    }
}

}  // namespace

ComparableRecord readComparableRecord(const QString& path, const QString& dataFolder, int smoothing,
                                      const QString& trackFile, int currentTrack)
{
    ComparableRecord record;
    record.path = path;
    const LoadedRecord loaded = loadRecordFile(path);
    if (loaded.errorNumber != 0) {
        record.failure = {ComparisonFailure::Kind::Unreadable, path, loaded.errorText};
        return record;
    }
    static const TextTables french = frenchTextTables();
    RecordDocument document;
    document.open(loaded.image);
    ViewOptions options;
    options.filterLevel = smoothing;
    document.analyse(french, options);
    record.identity = sessionIdentity(loaded.image);
    record.track = loaded.trackNumber;
    record.figures = sessionFigures(document);
    if (record.figures.refusal != Refusal::None) {
        record.failure = {ComparisonFailure::Kind::Refused, path, {}, record.figures.refusal};
        return record;
    }
    if (record.figures.kind == RecordKind::LapTiming) {
        record.laps = lapTimesOf(document.table());
    } else {
        for (int lap = 1; lap < document.rpm().lapCount; ++lap) {
            record.traces.push_back(overlayLapOf(document.rpm(), lap));
            record.laps.push_back({lap, std::int32_t(std::lround(lapSeconds(record.traces.back()) * 100)), {}});
        }
    }
    const QFileInfo file(path);
    record.date = downloadTimeOfName(file.fileName()).value_or(file.lastModified());
    const FoundSetupSheet sheet = readSetupSheet({file.absoluteFilePath()}, record.identity, dataFolder);
    if (sheet.state == SetupSheetState::Broken)
        record.warning = QStringLiteral("%1: %2").arg(sheet.path, englishText(sheet.error));
    record.setup = sheet.sheet;
    if (!record.traces.empty() && !trackFile.isEmpty()) {
        const int track = record.track && isTrackNumber(*record.track) ? *record.track : currentTrack;
        addRoad(record, document.rpm(), readTrackLengths(trackFile, track).value_or(std::array<float, 4>{})[0]);
    }
    return record;
}

ReadComparedLap comparedLapOf(const ComparableRecord& record, int lap)
{
    const RecordKind kind = record.failure.failed() ? RecordKind::None : record.figures.kind;
    if (record.failure.failed())
        return {std::nullopt, kind, record.failure};
    const std::vector<LapTimes>& laps = record.laps;
    int number = lap != 0 ? lap : record.figures.bestLap;
    if (number == 0 && !laps.empty())
        number = std::min_element(laps.begin(), laps.end(), [](const LapTimes& a, const LapTimes& b) {
                     return (a.time > 0 ? a.time : INT_MAX) < (b.time > 0 ? b.time : INT_MAX);
                 })->lap;
    if (number < 1 || number > int(laps.size()))
        return {std::nullopt, kind, {ComparisonFailure::Kind::NoSuchLap, record.path, {}, Refusal::None, number}};
    ComparedSessionLap compared;
    compared.kind = kind;
    compared.identity = record.identity;
    compared.label = lapLabel(record.date, number);
    compared.path = record.path;
    compared.lap = laps[std::size_t(number - 1)];
    compared.figures = record.figures;
    compared.setup = record.setup;
    if (!record.traces.empty())
        compared.trace = record.traces[std::size_t(number - 1)];
    return {std::move(compared), kind, {}};
}

}  // namespace tormel
