#include "laps/lap_table.h"

#include "base/number_format.h"
#include "laps/conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

namespace tormel {

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

class Builder {
public:
    Builder(LapTable& table, const LapTableOptions& options)
        : t_(table), o_(options)
    {
    }

    bool eliminated(int lap) const { return lap >= 0 && lap < LapFlagCount && o_.eliminatedLaps[std::size_t(lap)]; }

    // Writes one cell of lap L and paints it: yellow for the logger's best
    // lap, red for an eliminated lap (red wins).
    void fillLapRow(int lap, int column, const QString& text, std::optional<double> key)
    {
        LapCell& cell = t_.rows[std::size_t(lap + 1)].cells[std::size_t(column)];
        cell.text = text;
        cell.key = key;
        if (lap == t_.bestLap)
            cell.background = colours::Yellow;
        if (eliminated(lap))
            cell.background = colours::Red;
    }

    void updateRange(int lap, int column, double value)
    {
        if (eliminated(lap))
            return;
        const auto v = float(value);
        t_.columnMinimum[std::size_t(column)] = std::min(t_.columnMinimum[std::size_t(column)], v);
        t_.columnMaximum[std::size_t(column)] = std::max(t_.columnMaximum[std::size_t(column)], v);
    }

    struct Speed {
        QString text;
        float shown;   // the text read back
        double exact;
    };
    std::optional<Speed> speed(float distance, double hundredths) const
    {
        const std::optional<double> v = speedFor(distance, hundredths, o_.speedUnit);
        if (!v)
            return std::nullopt;
        Speed s{speedPattern().format(*v, o_.decimalSeparator), 0.0F, *v};
        s.shown = readFormattedNumber(s.text);
        return s;
    }

private:
    LapTable& t_;
    const LapTableOptions& o_;
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
        t.rows[0].cells[std::size_t(c)].text = headers[std::size_t(c)];
    t.rows[1].cells[0].text = x[theoreticalBestRow];
    for (auto& row : t.rows)
        row.cells[0].background = colours::Cyan;
    for (int r = 0; r < 2; ++r)
        for (auto& cell : t.rows[std::size_t(r)].cells)
            cell.background = colours::Cyan;
}

void hideColumns(LapTable& t, const std::array<float, 4>& d)
{
    for (int c = 13; c <= 16; ++c)
        t.hidden[std::size_t(c)] = true;
    if (t.sectorMode == 0)
        for (int c = 4; c <= 9; ++c)
            t.hidden[std::size_t(c)] = true;
    if (t.sectorMode == 1) {
        t.hidden[8] = true;
        t.hidden[9] = true;
    }
    if (!isLengthGiven(d[0]))
        t.hidden[3] = true;
    for (int k = 1; k <= 3; ++k)
        if (!isLengthGiven(d[std::size_t(k)]))
            t.hidden[std::size_t(3 + 2 * k)] = true;
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
    // The image has rows for 99 laps; a header announcing more shows those 99.
    const int n = std::clamp(record.lapCount, 0, int(RecordImage::MaxLaps));
    t.lapCount = n;
    t.rows.resize(std::size_t(n + 2));
    for (int L = 1; L <= n; ++L)
        t.rows[std::size_t(L + 1)].lap = L;

    // A best-lap byte that names no lap of the table marks nothing.
    const int best = image.bestLap();
    t.bestLap = best >= 1 && best <= n ? best : 0;

    const std::uint8_t mode = image.sectorMode();
    t.sectorMode = mode == 0 ? 0 : mode == 1 ? 1 : 2;
    const int sectors = t.sectorMode == 0 ? 0 : t.sectorMode + 1;

    writeHeader(t, texts, options);
    hideColumns(t, options.trackLengths);

    t.sortModes.fill(SortMode::NumericAscending);
    t.sortModes[10] = SortMode::Descending;
    t.sortModes[11] = SortMode::Descending;

    t.columnMinimum.fill(65536.0F);
    t.columnMaximum.fill(0.0F);
    t.bestSectors.fill(BestRecord{65536, 0});

    static const NumberPattern timePattern(QStringLiteral("#####"));
    static const NumberPattern rpmPattern(QStringLiteral("####0"));
    Builder b(t, options);
    int stage = 0;
    int previousStage = image.lap(0).stage;
    for (int L = 1; L <= n; ++L) {
        const LapRow lap = image.lap(L);
        b.fillLapRow(L, 0, withLeadingBlank(L), L);

        if (lap.stage != previousStage)
            ++stage;
        previousStage = lap.stage;
        b.fillLapRow(L, 1, withLeadingBlank(stage), stage);

        const double T = lap.lapTime;
        b.fillLapRow(L, 13, timePattern.format(T, options.decimalSeparator), T);
        b.fillLapRow(L, 2, lapTimeText(float(T)), T);
        b.updateRange(L, 13, T);

        if (const auto s = b.speed(options.trackLengths[0], T)) {
            b.fillLapRow(L, 3, s->text, s->shown);
            b.updateRange(L, 3, s->shown);
        }

        for (int k = 1; k <= sectors; ++k) {
            const double S = lap.sectors[std::size_t(k - 1)];
            const int raw = 13 + k;
            const int time = 2 * k + 2;
            b.updateRange(L, raw, S);
            b.fillLapRow(L, raw, withLeadingBlank(lap.sectors[std::size_t(k - 1)]), S);
            b.fillLapRow(L, time, lapTimeText(float(S)), S);
            BestRecord& bestSector = t.bestSectors[std::size_t(k - 1)];
            if (std::int32_t(S) < bestSector.value)
                bestSector = {std::int32_t(S), L};
            if (const auto s = b.speed(options.trackLengths[std::size_t(k)], S)) {
                b.fillLapRow(L, time + 1, s->text, s->shown);
                b.updateRange(L, time + 1, s->exact);
            }
        }

        // Summary bytes times ten reach 655350: held in an int.
        const std::int32_t rpm = std::int32_t(lap.maxRpmOver10) * 10;
        b.updateRange(L, 10, rpm);
        b.fillLapRow(L, 10, rpmPattern.format(rpm, options.decimalSeparator), rpm);
        if (rpm > t.bestRpm.value)
            t.bestRpm = {rpm, L};

        const int temperature = convertTemperature(lap.temperature + record.temperatureOffset, record.recordTemperatureUnit, options.temperatureUnit);
        b.updateRange(L, 11, temperature);
        b.fillLapRow(L, 11, QString::number(temperature), temperature);
        if (temperature > t.hottest.value)
            t.hottest = {temperature, L};

        b.fillLapRow(L, 12, QString::number(lap.engine + 1), lap.engine + 1);
    }

    // Best cells: green where they are, and the best sectors also in the
    // theoretical row.
    auto paint = [&](int lap, int column) {
        t.rows[std::size_t(lap + 1)].cells[std::size_t(column)].background = colours::Green;
    };
    if (t.bestRpm.lap > 0)
        paint(t.bestRpm.lap, 10);
    if (t.hottest.lap > 0)
        paint(t.hottest.lap, 11);
    for (int k = 1; k <= 3; ++k) {
        const int lap = t.bestSectors[std::size_t(k - 1)].lap;
        if (lap <= 0)
            continue;
        for (int column : {2 + 2 * k, 3 + 2 * k}) {
            paint(lap, column);
            t.rows[1].cells[std::size_t(column)].text = t.rows[std::size_t(lap + 1)].cells[std::size_t(column)].text;
        }
    }

    // Without laps no sector was offered, so there is nothing to add up.
    if (t.sectorMode > 0 && n > 0) {
        std::int32_t sum = 0;
        for (int k = 0; k < sectors; ++k)
            sum += t.bestSectors[std::size_t(k)].value;
        t.theoreticalTime = float(sum);
        t.rows[1].cells[2].text = lapTimeText(t.theoreticalTime);
        if (sum > 0) {
            // Written even without a lap length (the column is hidden then).
            const double v = speedFor(options.trackLengths[0], sum, options.speedUnit).value_or(0.0);
            t.rows[1].cells[3].text = speedPattern().format(v, options.decimalSeparator);
        }
    }

    sortLapRows(t, options.sortColumn, options.sortRow);
    return t;
}

void sortLapRows(LapTable& table, int sortColumn, int sortRow)
{
    const int column = sortColumn >= 0 && sortColumn < Columns ? sortColumn : 0;
    table.sortColumn = column;
    table.sortRow = sortRow;
    if (table.rows.size() <= 2)
        return;
    const bool descending = table.sortModes[std::size_t(column)] == SortMode::Descending;
    // Sort the keys with their row numbers, then move each row once: a row
    // holds seventeen strings, too heavy to shuffle through a merge sort.
    struct Entry {
        std::optional<double> key;
        std::size_t row;
    };
    std::vector<Entry> order;
    order.reserve(table.rows.size() - 2);
    for (std::size_t r = 2; r < table.rows.size(); ++r)
        order.push_back({table.rows[r].cells[std::size_t(column)].key, r});
    std::stable_sort(order.begin(), order.end(), [descending](const Entry& a, const Entry& b) {
        if (!a.key || !b.key)
            return a.key.has_value() && !b.key.has_value();
        return descending ? *a.key > *b.key : *a.key < *b.key;
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
    return readFormattedNumber(cellText(table, row, column));
}

int lapOfRow(const LapTable& table, int row)
{
    const double lap = roundHalfEven(double(cellValue(table, row, 0)));
    if (!std::isfinite(lap))
        return 0;
    // Far beyond any lap; keeps the conversion defined for any text.
    return int(std::clamp(lap, -1.0e6, 1.0e6));
}

int chartColumnFor(int column)
{
    switch (column) {
    case 2: return 13;
    case 4: return 14;
    case 6: return 15;
    case 8: return 16;
    case 3: case 5: case 7: case 9: case 10: case 11: return column;
    default: return 0;
    }
}

int sortColumnFor(int column)
{
    switch (column) {
    case 2: return 13;
    case 4: return 14;
    case 6: return 15;
    case 8: return 16;
    default: return column;
    }
}

const LapTable& emptyLapTable()
{
    static const LapTable empty;
    return empty;
}

}  // namespace tormel
