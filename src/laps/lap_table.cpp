#include "laps/lap_table.h"

#include "base/number_format.h"
#include "laps/conversions.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <utility>

namespace tormel {

SectorMode sectorModeOf(std::uint8_t stored)
{
    return stored == 0 ? SectorMode::None : stored == 1 ? SectorMode::TwoSectors : SectorMode::ThreeSectors;
}

namespace {

constexpr int Columns = LapTable::ColumnCount;

QString withLeadingBlank(long long value)
{
    // The blank and the digits in one go: one allocation per cell.
    char buffer[24];
    buffer[0] = ' ';
    const char* end = std::to_chars(buffer + 1, buffer + sizeof buffer, value).ptr;
    const char* first = value < 0 ? buffer + 1 : buffer;
    return QString::fromLatin1(first, end - first);
}

const NumberPattern& speedPattern()
{
    static const NumberPattern pattern(QStringLiteral("000.0"));
    return pattern;
}

struct Speed {
    QString text;
    float shown;   // the number the text shows: the cell's value
    double exact;
};

// One rebuild of the table: its frame, the lap rows, then the best cells
// and the theoretical row.
class LapTableBuilder {
public:
    LapTableBuilder(LapTable& table, const RecordImage& image, const DecodedRecord& record, const LapTableOptions& options)
        : t_(table), image_(image), record_(record), o_(options)
    {
    }

    void writeFrame(const TextTables& texts);
    void fillLaps();
    void paintBests();
    void writeTheoreticalRow();

private:
    bool eliminated(int lap) const { return lap >= 0 && lap < LapFlagCount && o_.eliminatedLaps[std::size_t(lap)]; }
    void fillLapRow(int lap, int column, const QString& text, double value);
    void updateRange(int lap, int column, double value);
    std::optional<Speed> speed(float distance, double hundredths) const;
    void fillTimes(int lap, const LapRow& row);
    void fillSummary(int lap, const LapRow& row);

    LapTable& t_;
    const RecordImage& image_;
    const DecodedRecord& record_;
    const LapTableOptions& o_;
    int sectors_ = 0;  // sectors timed per lap
};

void writeHeader(LapTable& t, const TextTables& texts, const LapTableOptions& o)
{
    const auto& x = texts.texts;
    const std::array<QString, Columns> headers{
        x[headerLap], x[headerStage], x[headerTime], o.speedUnitCaption + QLatin1Char('(') + x[headerLap].trimmed() + QLatin1Char(')'),
        x[headerSector1Time], o.speedUnitCaption + QStringLiteral("(1)"),
        x[headerSector2Time], o.speedUnitCaption + QStringLiteral("(2)"),
        x[headerSector3Time], o.speedUnitCaption + QStringLiteral("(3)"),
        x[headerMaxRpm], QStringLiteral("Max ") + o.temperatureUnitCaption, x[headerEngine],
        x[chartLapTime], x[chartSector1Time], x[chartSector2Time], x[chartSector3Time]};
    for (int c = 0; c < Columns; ++c)
        t.rows[LapTable::HeaderRow].cells[std::size_t(c)].text = headers[std::size_t(c)];
    t.rows[LapTable::TheoreticalRow].cells[LapNumberColumn].text = x[theoreticalBestRow];
    for (auto& row : t.rows)
        row.cells[LapNumberColumn].background = colours::Cyan;
    for (int r : {LapTable::HeaderRow, LapTable::TheoreticalRow})
        for (auto& cell : t.rows[std::size_t(r)].cells)
            cell.background = colours::Cyan;
}

void hideColumns(LapTable& t, const std::array<float, 4>& d)
{
    for (int c = RawLapTimeColumn; c <= RawSector3Column; ++c)
        t.hidden[std::size_t(c)] = true;
    if (t.sectorMode == SectorMode::None)
        for (int c = Sector1TimeColumn; c <= Sector3SpeedColumn; ++c)
            t.hidden[std::size_t(c)] = true;
    if (t.sectorMode == SectorMode::TwoSectors) {
        t.hidden[Sector3TimeColumn] = true;
        t.hidden[Sector3SpeedColumn] = true;
    }
    if (!isLengthGiven(d[0]))
        t.hidden[LapSpeedColumn] = true;
    for (int k = 1; k <= 3; ++k)
        if (!isLengthGiven(d[std::size_t(k)]))
            t.hidden[std::size_t(sectorSpeedColumn(k))] = true;
}

void LapTableBuilder::writeFrame(const TextTables& texts)
{
    // The image has rows for 99 laps; a header announcing more shows those 99.
    const int n = std::clamp(record_.lapCount, 0, int(RecordImage::MaxLaps));
    t_.lapCount = n;
    t_.rows.resize(std::size_t(n + 2));
    for (int L = 1; L <= n; ++L)
        t_.rows[std::size_t(L + 1)].lap = L;

    // A best-lap byte that names no lap of the table marks nothing.
    const int best = image_.bestLap();
    t_.bestLap = best >= 1 && best <= n ? best : 0;

    t_.sectorMode = sectorModeOf(image_.sectorMode());
    sectors_ = sectionCount(t_.sectorMode);

    writeHeader(t_, texts, o_);
    hideColumns(t_, o_.trackLengths);

    t_.sortModes.fill(SortMode::NumericAscending);
    t_.sortModes[MaxRpmColumn] = SortMode::Descending;
    t_.sortModes[TemperatureColumn] = SortMode::Descending;

    t_.columnMinimum.fill(65536.0F);
    t_.columnMaximum.fill(0.0F);
    t_.bestSectors.fill(BestRecord{65536, 0});
}

// Writes one cell of lap L and paints it: yellow for the logger's best lap,
// red for an eliminated lap (red wins).
void LapTableBuilder::fillLapRow(int lap, int column, const QString& text, double value)
{
    LapCell& cell = t_.rows[std::size_t(lap + 1)].cells[std::size_t(column)];
    cell.text = text;
    cell.value = value;
    if (lap == t_.bestLap)
        cell.background = colours::Yellow;
    if (eliminated(lap))
        cell.background = colours::Red;
}

void LapTableBuilder::updateRange(int lap, int column, double value)
{
    if (eliminated(lap))
        return;
    const auto v = float(value);
    t_.columnMinimum[std::size_t(column)] = std::min(t_.columnMinimum[std::size_t(column)], v);
    t_.columnMaximum[std::size_t(column)] = std::max(t_.columnMaximum[std::size_t(column)], v);
}

std::optional<Speed> LapTableBuilder::speed(float distance, double hundredths) const
{
    const std::optional<double> v = speedFor(distance, hundredths, o_.speedUnit);
    if (!v)
        return std::nullopt;
    NumberPattern::Shown shown = speedPattern().formatShown(*v, o_.decimalSeparator);
    return Speed{std::move(shown.text), float(shown.value), *v};
}

void LapTableBuilder::fillLaps()
{
    int stage = 0;
    int previousStage = image_.lap(0).stage;
    for (int L = 1; L <= t_.lapCount; ++L) {
        const LapRow lap = image_.lap(L);
        fillLapRow(L, LapNumberColumn, withLeadingBlank(L), L);
        if (lap.stage != previousStage)
            ++stage;
        previousStage = lap.stage;
        fillLapRow(L, StageColumn, withLeadingBlank(stage), stage);
        fillTimes(L, lap);
        fillSummary(L, lap);
    }
}

void LapTableBuilder::fillTimes(int L, const LapRow& lap)
{
    static const NumberPattern timePattern(QStringLiteral("#####"));
    const double T = lap.lapTime;
    // "#####" shows a whole number as it is, 0 as an empty text.
    fillLapRow(L, RawLapTimeColumn, timePattern.format(T, o_.decimalSeparator), T);
    fillLapRow(L, LapTimeColumn, lapTimeText(float(T)), T);
    updateRange(L, RawLapTimeColumn, T);
    if (const auto s = speed(o_.trackLengths[0], T)) {
        fillLapRow(L, LapSpeedColumn, s->text, s->shown);
        updateRange(L, LapSpeedColumn, s->shown);
    }

    for (int k = 1; k <= sectors_; ++k) {
        const double S = lap.sectors[std::size_t(k - 1)];
        updateRange(L, rawSectorColumn(k), S);
        fillLapRow(L, rawSectorColumn(k), withLeadingBlank(lap.sectors[std::size_t(k - 1)]), S);
        fillLapRow(L, sectorTimeColumn(k), lapTimeText(float(S)), S);
        BestRecord& bestSector = t_.bestSectors[std::size_t(k - 1)];
        if (std::int32_t(S) < bestSector.value)
            bestSector = {std::int32_t(S), L};
        if (const auto s = speed(o_.trackLengths[std::size_t(k)], S)) {
            fillLapRow(L, sectorSpeedColumn(k), s->text, s->shown);
            updateRange(L, sectorSpeedColumn(k), s->exact);
        }
    }
}

void LapTableBuilder::fillSummary(int L, const LapRow& lap)
{
    static const NumberPattern rpmPattern(QStringLiteral("####0"));
    // Summary bytes times ten reach 655350: held in an int.
    const std::int32_t rpm = std::int32_t(lap.maxRpmOver10) * 10;
    updateRange(L, MaxRpmColumn, rpm);
    fillLapRow(L, MaxRpmColumn, rpmPattern.format(rpm, o_.decimalSeparator), rpm);
    if (rpm > t_.bestRpm.value)
        t_.bestRpm = {rpm, L};

    const int temperature = convertTemperature(lap.temperature + record_.temperatureOffset, record_.measuredTemperatureUnit, o_.temperatureUnit);
    updateRange(L, TemperatureColumn, temperature);
    fillLapRow(L, TemperatureColumn, QString::number(temperature), temperature);
    if (temperature > t_.hottest.value)
        t_.hottest = {temperature, L};

    fillLapRow(L, EngineColumn, QString::number(lap.engine + 1), lap.engine + 1);
}

// Best cells: green where they are, and the best sectors also in the
// theoretical row.
void LapTableBuilder::paintBests()
{
    auto paint = [this](int lap, int column) {
        t_.rows[std::size_t(lap + 1)].cells[std::size_t(column)].background = colours::Green;
    };
    if (t_.bestRpm.lap > 0)
        paint(t_.bestRpm.lap, MaxRpmColumn);
    if (t_.hottest.lap > 0)
        paint(t_.hottest.lap, TemperatureColumn);
    for (int k = 1; k <= 3; ++k) {
        const int lap = t_.bestSectors[std::size_t(k - 1)].lap;
        if (lap <= 0)
            continue;
        for (int column : {sectorTimeColumn(k), sectorSpeedColumn(k)}) {
            paint(lap, column);
            const LapCell& best = t_.rows[std::size_t(lap + 1)].cells[std::size_t(column)];
            LapCell& theoretical = t_.rows[LapTable::TheoreticalRow].cells[std::size_t(column)];
            theoretical.text = best.text;
            theoretical.value = best.value;
        }
    }
}

void LapTableBuilder::writeTheoreticalRow()
{
    // Without laps no sector was offered, so there is nothing to add up.
    if (t_.sectorMode == SectorMode::None || t_.lapCount == 0)
        return;
    std::int32_t sum = 0;
    for (int k = 0; k < sectors_; ++k)
        sum += t_.bestSectors[std::size_t(k)].value;
    t_.theoreticalTime = float(sum);
    LapTableRow& row = t_.rows[LapTable::TheoreticalRow];
    row.cells[LapTimeColumn].text = lapTimeText(t_.theoreticalTime);
    row.cells[LapTimeColumn].value = sum;
    if (sum > 0) {
        // Written even without a lap length (the column is hidden then).
        const double v = speedFor(o_.trackLengths[0], sum, o_.speedUnit).value_or(0.0);
        NumberPattern::Shown shown = speedPattern().formatShown(v, o_.decimalSeparator);
        row.cells[LapSpeedColumn].text = std::move(shown.text);
        row.cells[LapSpeedColumn].value = float(shown.value);
    }
}

}  // namespace

int LapTable::rowOfLap(int lap) const
{
    for (std::size_t r = 2; r < rows.size(); ++r)
        if (rows[r].lap == lap)
            return int(r);
    return -1;
}

LapTable buildLapTable(const RecordImage& image, const DecodedRecord& record, const TextTables& texts,
                       const LapTableOptions& options)
{
    LapTable t;
    LapTableBuilder builder(t, image, record, options);
    builder.writeFrame(texts);
    builder.fillLaps();
    builder.paintBests();
    builder.writeTheoreticalRow();
    sortLapRows(t, options.sortColumn, options.sortRow);
    return t;
}

void sortLapRows(LapTable& table, int sortColumn, int sortRow)
{
    const int column = sortColumn >= 0 && sortColumn < Columns ? sortColumn : LapNumberColumn;
    table.sortColumn = column;
    table.sortRow = sortRow;
    if (table.rows.size() <= 2)
        return;
    const bool descending = table.sortModes[std::size_t(column)] == SortMode::Descending;
    // Sort the keys with their row numbers, then move each row once: a row
    // holds seventeen strings, too heavy to shuffle through a merge sort.
    struct Entry {
        std::optional<double> value;
        std::size_t row;
    };
    std::vector<Entry> order;
    order.reserve(table.rows.size() - 2);
    for (std::size_t r = 2; r < table.rows.size(); ++r)
        order.push_back({table.rows[r].cells[std::size_t(column)].value, r});
    std::stable_sort(order.begin(), order.end(), [descending](const Entry& a, const Entry& b) {
        if (!a.value || !b.value)
            return a.value.has_value() && !b.value.has_value();
        return descending ? *a.value > *b.value : *a.value < *b.value;
    });
    std::vector<LapTableRow> sorted;
    sorted.reserve(table.rows.size());
    std::move(table.rows.begin(), table.rows.begin() + 2, std::back_inserter(sorted));
    for (const Entry& e : order)
        sorted.push_back(std::move(table.rows[e.row]));
    table.rows = std::move(sorted);
}

QString cellText(const LapTable& table, int row, int column)
{
    if (row < 0 || std::size_t(row) >= table.rows.size() || column < 0 || column >= LapTable::ColumnCount)
        return {};
    return table.cell(row, column).text;
}

float cellValue(const LapTable& table, int row, int column)
{
    if (row < 0 || std::size_t(row) >= table.rows.size() || column < 0 || column >= LapTable::ColumnCount)
        return 0.0F;
    return float(table.cell(row, column).value.value_or(0.0));
}

int lapOfRow(const LapTable& table, int row)
{
    return row >= 0 && std::size_t(row) < table.rows.size() ? table.rows[std::size_t(row)].lap : 0;
}

int chartColumnFor(int column)
{
    switch (column) {
    case LapTimeColumn: return RawLapTimeColumn;
    case Sector1TimeColumn: return RawSector1Column;
    case Sector2TimeColumn: return RawSector2Column;
    case Sector3TimeColumn: return RawSector3Column;
    case LapSpeedColumn: case Sector1SpeedColumn: case Sector2SpeedColumn: case Sector3SpeedColumn:
    case MaxRpmColumn: case TemperatureColumn: return column;
    default: return LapNumberColumn;  // which the window does not chart
    }
}

int sortColumnFor(int column)
{
    switch (column) {
    case LapTimeColumn: return RawLapTimeColumn;
    case Sector1TimeColumn: return RawSector1Column;
    case Sector2TimeColumn: return RawSector2Column;
    case Sector3TimeColumn: return RawSector3Column;
    default: return column;
    }
}

const LapTable& emptyLapTable()
{
    static const LapTable empty;
    return empty;
}

}  // namespace tormel
