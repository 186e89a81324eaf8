#pragma once

#include "laps/lap_table.h"
#include "library/rpm_overlay.h"
#include "library/session_figures.h"
#include "library/setup_sheet.h"
#include "record/record_decoder.h"
#include "record/record_image.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace tormel {

// Laps of any sessions side by side: which laps, their colours and labels,
// and each one's differences to the reference lap.
inline constexpr int MinComparedLaps = 2;
inline constexpr int MaxComparedLaps = 6;

// The palette of the compared laps, told apart also by the colour-blind;
// a lap keeps its colour as long as it stays chosen.
Rgb comparisonColour(int colour);

// A chosen lap: the session's identity, the lap's number and its colour.
struct ChosenLap {
    QString identity;
    int lap = 0;
    int colour = 0;
    friend bool operator==(const ChosenLap&, const ChosenLap&) = default;
};

// The laps chosen, in the order chosen, all of one kind; `reference` is
// the index of the lap the others are measured against.
struct LapChoice {
    RecordKind kind = RecordKind::None;
    std::vector<ChosenLap> laps;
    int reference = 0;
    friend bool operator==(const LapChoice&, const LapChoice&) = default;
};

enum class ChoiceRefusal { None, OtherKind, TooMany, AlreadyChosen };

// Adds a lap with the first colour no chosen lap has. The first lap chosen
// sets the kind and is the reference.
ChoiceRefusal addLap(LapChoice& choice, const QString& identity, int lap, RecordKind kind);
// Takes a lap out; the reference stays the same lap, or becomes the first.
void removeLap(LapChoice& choice, int index);
void makeReference(LapChoice& choice, int index);

// The choice as the user settings keep it, and read back; what does not
// read (a newer program's, an edited file) is an empty choice.
QStringList choiceText(const LapChoice& choice);
LapChoice choiceOfText(const QStringList& text);

// A lap's short label: its session's date and its number.
QString lapLabel(const QDateTime& sessionDate, int lap);
// The same with the date in the language's way, for the window.
QString lapLabel(const QDateTime& sessionDate, int lap, Language language);

// A lap of a lap-timing record.
struct LapTimes {
    int lap = 0;
    std::int32_t time = 0;               // hundredths
    std::vector<std::int32_t> sections;  // hundredths, one per section the record has
    friend bool operator==(const LapTimes&, const LapTimes&) = default;
};

// The laps of a lap-timing record, in lap order; none for another kind or
// a record that shows nothing.
std::vector<LapTimes> recordLapTimes(const RecordImage& image);


struct ComparedColumn {
    LapTimes times;
    // To the reference's (positive: slower); none for the reference itself,
    // and per section none where this lap or the reference has no such section.
    std::optional<std::int32_t> timeDifference;
    std::vector<std::optional<std::int32_t>> sectionDifferences;
};

struct LapComparison {
    int reference = 0;
    int sectionCount = 0;  // the most sections any lap has
    std::vector<ComparedColumn> columns;
};

LapComparison compareLaps(const std::vector<LapTimes>& laps, int reference);

// A difference in the lap table's time format, with a plus sign when slower.
QString differenceText(std::int32_t hundredths);

// One field of the compared setup sheets.
struct SetupComparisonRow {
    QString key;                 // the sheet file's key
    QStringList values;          // per lap, as shown; empty when not filled in
    std::vector<bool> differs;   // from the reference's; the reference's when any other differs
};

// Every field of the sheets, in the file's order, the air temperature in
// the chosen unit.
std::vector<SetupComparisonRow> compareSetups(const std::vector<SetupSheet>& sheets, int reference, TemperatureUnit temperatureUnit,
                                              QChar decimalSeparator = QLatin1Char('.'));

// What a comparison shows of each chosen lap.
struct ComparedSessionLap {
    RecordKind kind = RecordKind::LapTiming;
    QString identity;  // of its session
    QString label;
    QString track;     // its session's track's name, when the library knows it
    QString path;      // the record file it was read from
    Rgb colour;
    LapTimes lap;
    SessionFigures figures;  // of its session
    SetupSheet setup;        // of its session; empty when it has none
    OverlayLap trace;        // engine-speed laps: the lap's trace, `lap.time` its duration
};

// Why laps of a record cannot be compared, as a value: the command line
// words it in English (`englishText`), the window in the chosen language.
struct ComparisonFailure {
    enum class Kind { None, Unreadable, Refused, NoSuchLap };
    Kind kind = Kind::None;
    QString path;
    QString detail;                   // Unreadable: the reader's error
    Refusal refusal = Refusal::None;  // Refused
    int lap = 0;                      // NoSuchLap

    bool failed() const { return kind != Kind::None; }
};
// `tables` words a refusal, as the record's own messages do.
QString englishText(const ComparisonFailure& failure);

// A record file read once for a comparison: its session's figures and
// setup sheet, the laps it can give (a lap-timing record's; an
// engine-speed record's complete laps with their durations and traces, with
// the charts' smoothing), or why it cannot be compared. Its session's date
// is the download time its name gives, else the file's time; a setup sheet
// that does not read is `warning`.
struct ComparableRecord {
    QString path;
    QString identity;
    SessionFigures figures;
    QDateTime date;
    std::optional<int> track;  // the track the file names, when it names one
    SetupSheet setup;
    std::vector<LapTimes> laps;
    std::vector<OverlayLap> traces;  // engine speed: one per lap
    ComparisonFailure failure;
    QString warning;
};
// An engine-speed lap's length comes from `trackFile`, for the track the
// record names, else `currentTrack`; its road speed needs its session's
// sprockets too.
ComparableRecord readComparableRecord(const QString& path, const QString& dataFolder, int smoothing = 0,
                                      const QString& trackFile = {}, int currentTrack = 0);

// Lap `lap` of the record (its best lap when 0, the quickest when the
// logger named none) as a comparison shows it, or why not.
struct ReadComparedLap {
    std::optional<ComparedSessionLap> lap;
    RecordKind kind = RecordKind::None;
    ComparisonFailure failure;
};
ReadComparedLap comparedLapOf(const ComparableRecord& record, int lap);

}  // namespace tormel
