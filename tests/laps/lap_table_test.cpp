#include "laps/conversions.h"
#include "laps/lap_table.h"

#include "laps_records.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <set>

namespace tormel {
namespace {

TEST(lapTimeText, MinutesSecondsHundredths)
{
    const std::pair<float, const char*> cases[] = {
        {6543.0F, "1'05\"43"}, {0.0F, "00\"00"}, {5999.0F, "59\"99"}, {6000.0F, "1'00\"00"},
        {5999.6F, "1'00\"00"},  // the whole part rounds up to a minute
        {5999.4F, "59\"99"}, {196605.0F, "32'46\"05"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(lapTimeText(value), QString::fromUtf8(text)) << value;
    EXPECT_EQ(lapTimeText(NAN), QStringLiteral("00\"00"));
}

TEST(convertTemperature, OnlyConvertsBetweenDifferentUnitsAndBack)
{
    constexpr auto C = TemperatureUnit::Celsius;
    constexpr auto F = TemperatureUnit::Fahrenheit;
    const std::tuple<int, TemperatureUnit, TemperatureUnit, int> cases[] = {
        {212, F, C, 100}, {100, F, C, 38}, {100, F, F, 100}, {37, C, F, 99}, {100, C, C, 100}, {0, F, C, -18}};
    for (const auto& [t, measured, shown, expected] : cases)
        EXPECT_EQ(convertTemperature(t, measured, shown), expected) << t << int(measured) << int(shown);
    // What a field shows in °F is stored back as the Celsius it came from.
    EXPECT_DOUBLE_EQ(celsiusOf(temperatureIn(21.5, F), F), 21.5);
    EXPECT_DOUBLE_EQ(temperatureIn(-40.0, F), -40.0);
    EXPECT_DOUBLE_EQ(celsiusOf(21.5, C), 21.5);
}

TEST(SpeedFor, FromWholeMetresAndHundredths)
{
    // Metres are taken whole, ties to even: 1000.5 m counts as 1000 m, 80 km/h in 45 s.
    EXPECT_DOUBLE_EQ(speedFor(1000.5F, 4500.0, SpeedUnit::KilometresPerHour).value_or(0), 80.0);
    EXPECT_DOUBLE_EQ(speedFor(1001.5F, 4500.0, SpeedUnit::KilometresPerHour).value_or(0), 1002.0 * 360.0 / 4500.0);
    for (const auto& [metres, hundredths] : {std::pair{0.0F, 4500.0}, {-3.0F, 4500.0}, {1000.0F, 0.0}, {NAN, 4500.0},
                                             {INFINITY, 4500.0}, {2.0e6F, 4500.0}, {3.4e38F, 1.0}})
        EXPECT_FALSE(speedFor(metres, hundredths, SpeedUnit::KilometresPerHour).has_value()) << metres << " " << hundredths;
    // The longest length still given keeps its speed within a float column.
    EXPECT_FLOAT_EQ(float(speedFor(maxTrackLength, 1.0, SpeedUnit::KilometresPerHour).value_or(0)), 3.6e8F);
}

// ---- The lap table ----------------------------------------------------------

using test::LapSpec;
using test::decoded;
using test::lapRecord;

LapTableOptions options(std::array<float, 4> d = {}, std::set<int> eliminated = {}, int sortColumn = LapNumberColumn)
{
    LapTableOptions o;
    o.trackLengths = d;
    for (int lap : eliminated)
        o.eliminatedLaps[std::size_t(lap)] = true;
    o.sortColumn = sortColumn;
    return o;
}

LapTable build(const RecordImage& image, const LapTableOptions& o = {})
{
    return buildLapTable(image, decoded(image), frenchTextTables(), o);
}

// The laps in table order, and the texts of a column in that order.
std::vector<int> lapOrder(const LapTable& t)
{
    std::vector<int> laps;
    for (std::size_t r = 2; r < t.rows.size(); ++r)
        laps.push_back(t.rows[r].lap);
    return laps;
}
QStringList columnTexts(const LapTable& t, int column)
{
    QStringList texts;
    for (std::size_t r = 2; r < t.rows.size(); ++r)
        texts << t.rows[r].cells[std::size_t(column)].text;
    return texts;
}

TEST(LapTable, StageNumberingStartsFromTheHiddenLapZero)
{
    const struct { int stage0; std::vector<std::uint8_t> stages; QStringList expected; } cases[] = {
        {0, {0, 0, 1, 1, 5}, {" 0", " 0", " 1", " 1", " 2"}}, {3, {4, 4, 4}, {" 1", " 1", " 1"}}, {7, {7, 8, 7, 7}, {" 0", " 1", " 2", " 2"}},
    };
    for (const auto& c : cases) {
        std::vector<LapSpec> laps;
        for (auto s : c.stages)
            laps.push_back({.lapTime = 5000, .stage = s});
        EXPECT_EQ(columnTexts(build(lapRecord(laps, 0, 0, c.stage0)), StageColumn), c.expected) << c.stage0;
    }
}

TEST(LapTable, SectorModeDecidesColumnsAndTheoreticalRow)
{
    const std::vector<LapSpec> laps{{.lapTime = 9000, .s1 = 3000, .s2 = 3100, .s3 = 2900},
                                    {.lapTime = 8800, .s1 = 2950, .s2 = 3200, .s3 = 2800}};
    // Hidden besides the raw columns, from the first hidden sector column on.
    const struct { int modeByte; int firstHidden; int sectorsWritten; const char* theoretical; } cases[] = {
        {0, Sector1TimeColumn, 0, ""},
        {1, Sector3TimeColumn, 2, "1'00\"50"},  // 2950 + 3100
        {2, MaxRpmColumn, 3, "1'28\"50"},       // 2950 + 3100 + 2800
        {7, MaxRpmColumn, 3, "1'28\"50"},
    };
    for (const auto& c : cases) {
        const LapTable t = build(lapRecord(laps, c.modeByte, 0), options({1000, 300, 300, 300}));
        for (int col = 0; col < LapTable::ColumnCount; ++col)
            EXPECT_EQ(t.hidden[std::size_t(col)], col >= RawLapTimeColumn || (col >= c.firstHidden && col <= Sector3SpeedColumn))
                << c.modeByte << " column " << col;
        EXPECT_EQ(t.cell(1, LapTimeColumn).text, QString::fromUtf8(c.theoretical)) << c.modeByte;
        for (int k = 1; k <= 3; ++k)
            for (const auto& [row, col] : {std::pair{2, sectorTimeColumn(k)}, {2, rawSectorColumn(k)}, {1, sectorTimeColumn(k)}})
                EXPECT_EQ(t.cell(row, col).text.isEmpty(), k > c.sectorsWritten) << c.modeByte << " sector " << k;
    }
}

TEST(LapTable, SpeedColumnsHiddenWithoutTheirLength)
{
    const std::vector<LapSpec> laps{{.lapTime = 4500, .s1 = 1500, .s2 = 1500, .s3 = 1500}};
    const std::pair<std::array<float, 4>, std::set<int>> cases[] = {
        {{1000, 300, 300, 400}, {}},
        {{NAN, 300, -1, INFINITY}, {LapSpeedColumn, Sector2SpeedColumn, Sector3SpeedColumn}},
        {{1000, 0, 300, 0}, {Sector1SpeedColumn, Sector3SpeedColumn}},
    };
    for (const auto& [d, hiddenSpeeds] : cases) {
        const LapTable t = build(lapRecord(laps, 2, 0), options(d));
        for (int column : {LapSpeedColumn, Sector1SpeedColumn, Sector2SpeedColumn, Sector3SpeedColumn}) {
            EXPECT_EQ(t.hidden[std::size_t(column)], hiddenSpeeds.count(column) != 0) << column;
            EXPECT_EQ(t.cell(2, column).text.isEmpty(), hiddenSpeeds.count(column) != 0) << column;
        }
    }
    // 1000 m in 45 s: the unit, its caption and the separator chosen.
    const LapTable miles = build(lapRecord(laps, 0, 0), {.trackLengths = {1000, 0, 0, 0}, .speedUnit = SpeedUnit::MilesPerHour,
                                                         .speedUnitCaption = QStringLiteral("miles/h"), .decimalSeparator = QLatin1Char(',')});
    EXPECT_EQ(miles.cell(2, LapSpeedColumn).text + miles.cell(0, Sector1SpeedColumn).text, QStringLiteral("049,7miles/h(1)"));
}

TEST(LapTable, BestLapYellowEliminatedRedAndOutOfTheColumnRanges)
{
    const std::vector<LapSpec> laps{{.lapTime = 5000, .maxRpmOver10 = 1000}, {.lapTime = 4000, .maxRpmOver10 = 1300},
                                    {.lapTime = 6000, .maxRpmOver10 = 900}};
    const Rgb W = colours::White, Y = colours::Yellow, R = colours::Red;
    // lapColours: the raw lap time of laps 1 to 3; ranges: Min and Max of the raw lap time and the engine speed.
    const struct { int bestByte; std::set<int> eliminated; int bestLap; std::array<Rgb, 3> lapColours; std::array<float, 4> ranges; } cases[] = {
        {2, {}, 2, {W, Y, W}, {4000, 6000, 9000, 13000}},
        {2, {2}, 2, {W, R, W}, {5000, 6000, 9000, 10000}},
        {2, {1}, 2, {R, Y, W}, {4000, 6000, 9000, 13000}},
        {3, {}, 3, {W, W, Y}, {4000, 6000, 9000, 13000}},  // the last lap
        {0, {1, 2, 3}, 0, {R, R, R}, {65536, 0, 65536, 0}},
        {200, {2}, 0, {W, R, W}, {5000, 6000, 9000, 10000}},
        {4, {}, 0, {W, W, W}, {4000, 6000, 9000, 13000}},  // one past the last lap
    };
    for (const auto& c : cases) {
        const LapTable t = build(lapRecord(laps, 0, c.bestByte), options({}, c.eliminated));
        EXPECT_EQ(t.bestLap, c.bestLap) << c.bestByte;
        for (int lap = 1; lap <= 3; ++lap) {
            const Rgb colour = c.lapColours[std::size_t(lap - 1)];
            EXPECT_EQ(t.cell(t.rowOfLap(lap), RawLapTimeColumn).background, colour) << c.bestByte << " lap " << lap;
            EXPECT_EQ(t.cell(t.rowOfLap(lap), LapNumberColumn).background, colour == W ? colours::Cyan : colour) << c.bestByte;
        }
        // Unwritten cells (no track lengths) keep the plain background.
        EXPECT_EQ(t.cell(t.rowOfLap(2), LapSpeedColumn).background, W);
        const int raw = RawLapTimeColumn, rpm = MaxRpmColumn;
        EXPECT_EQ((std::array{t.columnMinimum[raw], t.columnMaximum[raw], t.columnMinimum[rpm], t.columnMaximum[rpm]}), c.ranges) << c.bestByte;
        EXPECT_EQ(t.columnMinimum[EngineColumn], 65536.0F);  // columns without a range stay reset
        EXPECT_EQ(t.cell(t.rowOfLap(2), MaxRpmColumn).text, QStringLiteral("13000"));  // an eliminated lap still shows
    }
}

TEST(LapTable, BestCellsAndTheoreticalRow)
{
    // Sector 1 best in lap 3, sector 2 in lap 1, sector 3 in laps 2 and 3
    // (tie); fastest engine and hottest in laps 2 and 3 (ties).
    const std::vector<LapSpec> laps{{.lapTime = 9000, .s1 = 3000, .s2 = 2900, .s3 = 3100, .maxRpmOver10 = 1200, .temperature = 80},
                                    {.lapTime = 9100, .s1 = 3100, .s2 = 3000, .s3 = 3000, .maxRpmOver10 = 1250, .temperature = 90},
                                    {.lapTime = 9050, .s1 = 2950, .s2 = 3000, .s3 = 3000, .maxRpmOver10 = 1250, .temperature = 90}};
    const struct { int modeByte; std::set<int> eliminated; float theoretical; } cases[] = {
        {2, {}, 2950 + 2900 + 3000},
        {2, {3}, 2950 + 2900 + 3000},  // elimination changes no best sector
        {1, {}, 2950 + 2900},
    };
    for (const auto& c : cases) {
        const LapTable t = build(lapRecord(laps, c.modeByte, 0), options({1000, 300, 300, 300}, c.eliminated));
        EXPECT_EQ(t.theoreticalTime, c.theoretical) << c.modeByte;
        // On a tie the earlier lap keeps the green: engine speed, temperature and sector 3 stay off lap 3.
        for (int column : {MaxRpmColumn, TemperatureColumn})
            EXPECT_EQ(t.cell(t.rowOfLap(2), column).background, colours::Green) << column;
        for (int column : {Sector3TimeColumn, Sector3SpeedColumn, MaxRpmColumn, TemperatureColumn})
            EXPECT_NE(t.cell(t.rowOfLap(3), column).background, colours::Green) << column;
        for (const auto& [k, lap] : {std::pair{1, 3}, {2, 1}, {3, 2}}) {
            for (int column : {sectorTimeColumn(k), sectorSpeedColumn(k)}) {
                EXPECT_EQ(t.cell(t.rowOfLap(lap), column).background == colours::Green, k <= c.modeByte + 1) << k;
                EXPECT_EQ(t.cell(1, column).text, t.cell(t.rowOfLap(lap), column).text) << k;
                EXPECT_EQ(t.cell(1, column).value, t.cell(t.rowOfLap(lap), column).value) << k;
                EXPECT_EQ(t.cell(1, column).background, colours::Cyan);
            }
        }
    }
    const LapTable t = build(lapRecord(laps, 2, 0), options({1000, 300, 300, 300}));
    EXPECT_EQ(t.cell(1, LapTimeColumn).text + u'|' + t.cell(1, LapSpeedColumn).text, QStringLiteral("1'28\"50|040.7"));  // 1000 m in 88.50 s
    EXPECT_EQ(cellValue(t, 1, LapTimeColumn) + cellValue(t, 1, LapSpeedColumn), 8850.0F + 40.7F);
    EXPECT_EQ(std::pair(t.columnMinimum[RawSector1Column], t.columnMaximum[RawSector1Column]), std::pair(2950.0F, 3100.0F));
    // Without a lap length the theoretical speed is still written, as zero.
    EXPECT_EQ(build(lapRecord(laps, 2, 0)).cell(1, LapSpeedColumn).text, QStringLiteral("000.0"));
    // Sectors of no time add up to no theoretical lap: no speed either.
    EXPECT_EQ(build(lapRecord({{.lapTime = 9000}}, 2, 0), options({1000, 300, 300, 300})).cell(1, LapSpeedColumn).text, QString());
}

TEST(LapTable, SortsOnNumbersNotTexts)
{
    const std::vector<LapSpec> laps{{.lapTime = 6500, .maxRpmOver10 = 1000, .temperature = 80}, {.lapTime = 5999, .maxRpmOver10 = 1200, .temperature = 80},
                                    {.lapTime = 10500, .maxRpmOver10 = 1000, .temperature = 95}, {.lapTime = 0, .maxRpmOver10 = 1100, .temperature = 60},
                                    {.lapTime = 5999, .maxRpmOver10 = 999, .temperature = 99}};
    // Raw lap time: 0, 5999, 5999, 6500, 10500, ties keep lap order; engine speed descending, ties kept too;
    // on the lap speed the lap without one goes after all; an unknown column sorts in lap order.
    const std::pair<int, std::vector<int>> cases[] = {{LapNumberColumn, {1, 2, 3, 4, 5}}, {RawLapTimeColumn, {4, 2, 5, 1, 3}},
        {LapTimeColumn, {4, 2, 5, 1, 3}}, {MaxRpmColumn, {2, 4, 1, 3, 5}}, {TemperatureColumn, {5, 3, 1, 2, 4}},
        {LapSpeedColumn, {3, 1, 2, 5, 4}}, {LapTable::ColumnCount, {1, 2, 3, 4, 5}}};
    for (const auto& [column, order] : cases) {
        const LapTable t = build(lapRecord(laps, 0, 0), options({1000, 0, 0, 0}, {}, column));
        EXPECT_EQ(lapOrder(t), order) << column;
        EXPECT_EQ(t.cell(2, LapNumberColumn).text, QLatin1Char(' ') + QString::number(t.rows[2].lap));
    }
    // The value of a speed cell is the number its text shows, whatever the separator.
    const LapTable t = build(lapRecord(laps, 0, 0), {.trackLengths = {1000, 0, 0, 0}, .decimalSeparator = QLatin1Char(',')});
    EXPECT_EQ(t.cell(2, LapSpeedColumn).text, QStringLiteral("055,4"));
    EXPECT_EQ(cellValue(t, 2, LapSpeedColumn), 55.4F);
}

TEST(LapTable, CellTextsAndBounds)
{
    LapTableOptions o{.temperatureUnit = TemperatureUnit::Fahrenheit, .temperatureUnitCaption = QStringLiteral("°F")};
    RecordImage image = lapRecord({{.lapTime = 0, .maxRpmOver10 = 65535, .temperature = 100, .engine = 4},
                                   {.lapTime = 65535, .maxRpmOver10 = 0, .temperature = 0, .engine = 255}},
                                  0, 0);
    image.bytes[32] = 32;  // temperature offset given
    image.bytes[113] = 5;
    const LapTable t = build(image, o);
    // Each text with the number the sort and the chart use (a time: its hundredths).
    const std::tuple<int, int, const char*, float> cells[] = {
        {0, TemperatureColumn, "Max °F", 0},   {2, LapTimeColumn, "00\"00", 0},       {2, RawLapTimeColumn, "", 0},
        {2, MaxRpmColumn, "655350", 655350},   {2, TemperatureColumn, "221", 221},  // 105 C
        {2, EngineColumn, "5", 5},             {3, LapTimeColumn, "10'55\"35", 65535}, {3, RawLapTimeColumn, "65535", 65535},
        {3, MaxRpmColumn, "0", 0},             {3, EngineColumn, "256", 256},          {3, LapNumberColumn, " 2", 2},
    };
    for (const auto& [row, column, text, value] : cells) {
        EXPECT_EQ(t.cell(row, column).text, QString::fromUtf8(text)) << row << "," << column;
        EXPECT_EQ(cellValue(t, row, column), value) << row << "," << column;
    }
    const int past = int(t.rows.size());
    EXPECT_EQ(cellText(t, past - 1, EngineColumn) + u'|' + cellText(t, past, EngineColumn) + cellText(t, 2, LapTable::ColumnCount),
              QStringLiteral("256|"));
    EXPECT_EQ(t.rowOfLap(3), -1);  // a lap the table does not have
    EXPECT_EQ(cellText(t, LapTable::HeaderRow, EngineColumn), t.cell(LapTable::HeaderRow, EngineColumn).text);
    EXPECT_EQ(cellValue(t, past, EngineColumn) + cellValue(t, 2, LapTable::ColumnCount), 0.0F);
    EXPECT_EQ((std::array{lapOfRow(t, LapTable::HeaderRow), lapOfRow(t, LapTable::TheoreticalRow), lapOfRow(t, 3), lapOfRow(t, past)}),
              (std::array{0, 0, 2, 0}));
}

}  // namespace
}  // namespace tormel
