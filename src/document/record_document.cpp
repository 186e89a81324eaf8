#include "document/record_document.h"

#include "laps/export.h"

namespace tormel {

namespace {

// A record under this many samples has no usable data.
constexpr int MinimumSamples = 10;
constexpr int SubstituteMaximum = 10000;

}  // namespace

QString refusalText(Refusal refusal, const TextTables& tables)
{
    switch (refusal) {
    case Refusal::NoLap:
        return tables.texts[emptyRecord];
    case Refusal::TooFewSamples:
        return QStringLiteral("No Data Available");
    case Refusal::None:
        break;
    }
    return QString();
}

QString englishRefusalText(Refusal refusal)
{
    switch (refusal) {
    case Refusal::NoLap: return QStringLiteral("no lap recorded");
    case Refusal::TooFewSamples: return QStringLiteral("fewer than 10 engine-speed samples");
    case Refusal::None: break;
    }
    return QString();
}

RecordDocument::RecordDocument()
    : rpm_(std::make_unique<RpmStatistics>())
{
}

void RecordDocument::open(const RecordImage& image)
{
    image_ = image;
    eliminatedLaps_.fill(false);
    chartedColumn_ = RawLapTimeColumn;
}

void RecordDocument::analyse(const TextTables& tables, const ViewOptions& options)
{
    shown_ = true;
    // Nothing of the record before survives into one that shows nothing.
    table_ = LapTable{};
    decoded_ = decodeRecord(image_, tables.texts[stagesCaption]);
    if (decoded_.kind == RecordKind::EngineSpeed) {
        kind_ = RecordKind::EngineSpeed;
        refusal_ = decoded_.sampleCount < MinimumSamples ? Refusal::TooFewSamples : Refusal::None;
        if (refusal_ != Refusal::None)
            return;
        *rpm_ = computeRpmStatistics(image_, decoded_, options.filterLevel);
        chartedLaps_ = defaultChartedLaps(*rpm_);
        // The lap length turns engine speed into road speed and distance.
        distances_ = options.trackLengths;
    } else {
        kind_ = RecordKind::LapTiming;
        refusal_ = decoded_.lapCount <= 0 ? Refusal::NoLap : Refusal::None;
        if (refusal_ != Refusal::None)
            return;
        rebuildLapTable(tables, options);
    }
}

void RecordDocument::rebuildLapTable(const TextTables& tables, const ViewOptions& options)
{
    if (kind_ != RecordKind::LapTiming)
        return;
    distances_ = options.trackLengths;
    LapTableOptions o;
    o.trackLengths = options.trackLengths;
    o.speedUnit = options.speedUnit;
    o.temperatureUnit = options.temperatureUnit;
    o.speedUnitCaption = options.speedUnitCaption;
    o.temperatureUnitCaption = options.temperatureUnitCaption;
    o.eliminatedLaps = eliminatedLaps_;
    o.sortColumn = sortColumn_;
    o.sortRow = sortRow_;
    o.decimalSeparator = options.decimalSeparator;
    table_ = tormel::buildLapTable(image_, decoded_, tables, o);
}

void RecordDocument::sortOnColumn(int gridColumn)
{
    sortRow_ = 0;
    sortColumn_ = sortColumnFor(gridColumn);
    sortLapRows(table_, sortColumn_, sortRow_);
}

bool RecordDocument::toggleLap(int lap)
{
    if (lap < 0 || lap >= LapFlagCount)
        return false;
    eliminatedLaps_[std::size_t(lap)] = !eliminatedLaps_[std::size_t(lap)];
    return true;
}

void RecordDocument::setChartedLap(int g, int lap)
{
    if (g >= 0 && g < 3)
        chartedLaps_[std::size_t(g)] = lap;
}

bool RecordDocument::substituteRpmMax()
{
    if (rpm_->maxRpm != 0)
        return false;
    rpm_->maxRpm = SubstituteMaximum;
    return true;
}

bool RecordDocument::substituteHistogramMax(int lap)
{
    if (lap < 0 || lap >= RpmStatistics::LapSlots || rpm_->histogramMax[std::size_t(lap)] != 0)
        return false;
    rpm_->histogramMax[std::size_t(lap)] = SubstituteMaximum;
    return true;
}

QByteArray exportRecord(const RecordDocument& document, const TextTables& tables, const QDateTime& now)
{
    if (document.kind() == RecordKind::EngineSpeed)
        return exportRpm(document.image(), document.decoded(), document.rpm(), tables, now);
    return exportLapTable(document.table(), now);
}

}  // namespace tormel
