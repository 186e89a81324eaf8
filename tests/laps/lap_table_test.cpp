#include "laps/lap_table.h"

#include "laps_records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace tormel {
namespace {

using test::LapSpec;
using test::decoded;
using test::lapRecord;

LapTableOptions options(std::array<float, 4> d = {}, std::set<int> eliminated = {}, int sortColumn = 0)
{
    LapTableOptions o;
    o.Distances = d;
    for (int lap : eliminated)
        o.Tour_Elimine[std::size_t(lap)] = true;
    o.Colonne_Tri = sortColumn;
    return o;
}

LapTable build(const RecordImage& image, const LapTableOptions& o = {})
{
    return Affiche_Tours(image, decoded(image), frenchTextTables(), o);
}

std::vector<int> lapOrder(const LapTable& t)
{
    std::vector<int> laps;
    for (std::size_t r = 2; r < t.rows.size(); ++r)
        laps.push_back(t.rows[r].lap);
    return laps;
}

TEST(LapTable, StageNumberingStartsFromTheHiddenLapZero)
{
    struct Case {
        int stage0;
        std::vector<std::uint8_t> stages;
        std::vector<const char*> expected;
    };
    const Case cases[] = {
        {0, {0, 0, 1, 1, 5}, {" 0", " 0", " 1", " 1", " 2"}},
        {3, {4, 4, 4}, {" 1", " 1", " 1"}},
        {7, {7, 8, 7, 7}, {" 0", " 1", " 2", " 2"}},
    };
    for (const auto& c : cases) {
        std::vector<LapSpec> laps;
        for (auto s : c.stages)
            laps.push_back({.temps = 5000, .etape = s});
        const LapTable t = build(lapRecord(laps, 0, 0, c.stage0));
        for (std::size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(t.cell(int(i) + 2, 1).text, QString::fromLatin1(c.expected[i])) << c.stage0 << " lap " << i + 1;
    }
}

TEST(LapTable, SectorModeDecidesColumnsAndTheoreticalRow)
{
    const std::vector<LapSpec> laps{{.temps = 9000, .s1 = 3000, .s2 = 3100, .s3 = 2900},
                                    {.temps = 8800, .s1 = 2950, .s2 = 3200, .s3 = 2800}};
    struct Case {
        int modeByte;
        std::set<int> hidden;
        int sectorsWritten;
        const char* theoretical;
    };
    const Case cases[] = {
        {0, {4, 5, 6, 7, 8, 9, 13, 14, 15, 16}, 0, ""},
        {1, {8, 9, 13, 14, 15, 16}, 2, "1'00\"50"},  // 2950 + 3100
        {2, {13, 14, 15, 16}, 3, "1'28\"50"},        // 2950 + 3100 + 2800
        {7, {13, 14, 15, 16}, 3, "1'28\"50"},
    };
    for (const auto& c : cases) {
        const LapTable t = build(lapRecord(laps, c.modeByte, 0), options({1000, 300, 300, 300}));
        std::set<int> hidden;
        for (int col = 0; col < LapTable::ColumnCount; ++col)
            if (t.hidden[std::size_t(col)])
                hidden.insert(col);
        EXPECT_EQ(hidden, c.hidden) << c.modeByte;
        EXPECT_EQ(t.cell(1, 2).text, QString::fromUtf8(c.theoretical)) << c.modeByte;
        for (int k = 1; k <= 3; ++k)
            for (const auto& [row, col] : {std::pair{2, 2 + 2 * k}, {2, 13 + k}, {1, 2 + 2 * k}})
                EXPECT_EQ(t.cell(row, col).text.isEmpty(), k > c.sectorsWritten) << c.modeByte << " sector " << k;
    }
}

TEST(LapTable, SpeedColumnsHiddenWithoutTheirLength)
{
    const std::vector<LapSpec> laps{{.temps = 4500, .s1 = 1500, .s2 = 1500, .s3 = 1500}};
    const std::pair<std::array<float, 4>, std::set<int>> cases[] = {
        {{1000, 300, 300, 400}, {}},
        {{NAN, 300, -1, INFINITY}, {3, 7, 9}},
        {{1000, 0, 300, 0}, {5, 9}},
    };
    for (const auto& [d, hiddenSpeeds] : cases) {
        const LapTable t = build(lapRecord(laps, 2, 0), options(d));
        for (int column : {3, 5, 7, 9}) {
            EXPECT_EQ(t.hidden[std::size_t(column)], hiddenSpeeds.count(column) != 0) << column;
            EXPECT_EQ(t.cell(2, column).text.isEmpty(), hiddenSpeeds.count(column) != 0) << column;
        }
    }
    // 1000 m in 45 s, in both units and with both separators.
    LapTableOptions o = options({1000, 0, 0, 0});
    EXPECT_EQ(build(lapRecord(laps, 0, 0), o).cell(2, 3).text, QStringLiteral("080.0"));
    o.Choix_Vitesse = 1;
    o.decimalSeparator = QLatin1Char(',');
    o.uniteVitesse = QStringLiteral("miles/h");
    const LapTable miles = build(lapRecord(laps, 0, 0), o);
    EXPECT_EQ(miles.cell(2, 3).text, QStringLiteral("049,7"));
    EXPECT_EQ(miles.cell(0, 5).text, QStringLiteral("miles/h(1)"));
}

TEST(LapTable, BestLapYellowEliminatedRedAndOutOfTheColumnRanges)
{
    const std::vector<LapSpec> laps{{.temps = 5000, .rpmSur10 = 1000}, {.temps = 4000, .rpmSur10 = 1300},
                                    {.temps = 6000, .rpmSur10 = 900}};
    struct Case {
        int bestByte;
        std::set<int> eliminated;
        int meilleur;
        Rgb lap2Colour;  // column 13 of lap 2
        float min13, max13, min10, max10;
    };
    const Case cases[] = {
        {2, {}, 2, colours::Yellow, 4000, 6000, 9000, 13000},
        {2, {2}, 2, colours::Red, 5000, 6000, 9000, 10000},
        {2, {1}, 2, colours::Yellow, 4000, 6000, 9000, 13000},
        {0, {1, 2, 3}, 0, colours::Red, 65536, 0, 65536, 0},
        {200, {2}, 0, colours::Red, 5000, 6000, 9000, 10000},
        {0, {}, 0, colours::White, 4000, 6000, 9000, 13000},
    };
    for (const auto& c : cases) {
        const LapTable t = build(lapRecord(laps, 0, c.bestByte), options({}, c.eliminated));
        EXPECT_EQ(t.Meilleur_Tour_Rpm, c.meilleur) << c.bestByte;
        EXPECT_EQ(t.cell(t.rowOfLap(2), 13).background, c.lap2Colour) << c.bestByte;
        EXPECT_EQ(t.cell(t.rowOfLap(2), 0).background, c.lap2Colour == colours::White ? colours::Cyan : c.lap2Colour);
        EXPECT_EQ(t.cell(t.rowOfLap(1), 2).background, c.eliminated.count(1) ? colours::Red : colours::White);
        // Unwritten cells (no track lengths) keep the plain background.
        EXPECT_EQ(t.cell(t.rowOfLap(2), 3).background, colours::White);
        EXPECT_EQ(t.Min_Colonne[13], c.min13) << c.bestByte;
        EXPECT_EQ(t.Max_Colonne[13], c.max13);
        EXPECT_EQ(t.Min_Colonne[10], c.min10);
        EXPECT_EQ(t.Max_Colonne[10], c.max10);
        EXPECT_EQ(t.Min_Colonne[12], 65536.0F);  // columns without a range stay reset
        EXPECT_EQ(t.cell(t.rowOfLap(2), 10).text, QStringLiteral("13000"));  // an eliminated lap still shows
    }
}

TEST(LapTable, BestCellsAndTheoreticalRow)
{
    // Sector 1 best in lap 3, sector 2 in lap 1, sector 3 in lap 2;
    // fastest engine in laps 2 and 3 (tie), hottest lap 3.
    const std::vector<LapSpec> laps{{.temps = 9000, .s1 = 3000, .s2 = 2900, .s3 = 3100, .rpmSur10 = 1200, .temperature = 80},
                                    {.temps = 9100, .s1 = 3100, .s2 = 3000, .s3 = 3000, .rpmSur10 = 1250, .temperature = 85},
                                    {.temps = 9050, .s1 = 2950, .s2 = 3000, .s3 = 3100, .rpmSur10 = 1250, .temperature = 90}};
    struct Case {
        int modeByte;
        std::set<int> eliminated;
        float theoretical;
    };
    const Case cases[] = {
        {2, {}, 2950 + 2900 + 3000},
        {2, {3}, 2950 + 2900 + 3000},  // elimination changes no best sector
        {1, {}, 2950 + 2900},
        {1, {1}, 2950 + 2900},
    };
    for (const auto& c : cases) {
        const LapTable t = build(lapRecord(laps, c.modeByte, 0), options({1000, 300, 300, 300}, c.eliminated));
        EXPECT_EQ(t.Temps_Theorique, c.theoretical) << c.modeByte;
        // Column 10 green on lap 2 only: on a tie the earlier lap keeps it.
        EXPECT_EQ(t.cell(t.rowOfLap(2), 10).background, colours::Green);
        EXPECT_NE(t.cell(t.rowOfLap(3), 10).background, colours::Green);
        EXPECT_EQ(t.cell(t.rowOfLap(3), 11).background, colours::Green);
        for (const auto& [k, lap] : {std::pair{1, 3}, {2, 1}, {3, 2}}) {
            for (int column : {2 + 2 * k, 3 + 2 * k}) {
                EXPECT_EQ(t.cell(t.rowOfLap(lap), column).background == colours::Green, k <= c.modeByte + 1) << k;
                EXPECT_EQ(t.cell(1, column).text, t.cell(t.rowOfLap(lap), column).text) << k;
                EXPECT_EQ(t.cell(1, column).background, colours::Cyan);
            }
        }
    }
    const LapTable t = build(lapRecord(laps, 2, 0), options({1000, 300, 300, 300}));
    EXPECT_EQ(t.cell(1, 2).text, QStringLiteral("1'28\"50"));
    EXPECT_EQ(t.cell(1, 3).text, QStringLiteral("040.7"));  // 1000 m in 88.50 s
    // Without a lap length the theoretical speed is still written, as zero.
    EXPECT_EQ(build(lapRecord(laps, 2, 0)).cell(1, 3).text, QStringLiteral("000.0"));
}

TEST(LapTable, SortsOnNumbersNotTexts)
{
    const std::vector<LapSpec> laps{{.temps = 6500, .rpmSur10 = 1000, .temperature = 80},
                                    {.temps = 5999, .rpmSur10 = 1200, .temperature = 80},
                                    {.temps = 10500, .rpmSur10 = 1000, .temperature = 95},
                                    {.temps = 0, .rpmSur10 = 1100, .temperature = 60},
                                    {.temps = 5999, .rpmSur10 = 999, .temperature = 99}};
    const std::pair<int, std::vector<int>> cases[] = {
        {0, {1, 2, 3, 4, 5}},
        {13, {4, 2, 5, 1, 3}},  // 0, 5999, 5999, 6500, 10500: ties keep lap order
        {2, {4, 2, 5, 1, 3}},
        {10, {2, 4, 1, 3, 5}},  // descending, ties keep lap order
        {11, {5, 3, 1, 2, 4}},
        {3, {3, 1, 2, 5, 4}},   // the lap without a speed goes after all
        {99, {1, 2, 3, 4, 5}},  // unknown column: lap order
    };
    for (const auto& [column, order] : cases) {
        const LapTable t = build(lapRecord(laps, 0, 0), options({1000, 0, 0, 0}, {}, column));
        EXPECT_EQ(lapOrder(t), order) << column;
        EXPECT_EQ(t.cell(2, 0).text, QLatin1Char(' ') + QString::number(t.rows[2].lap));
    }
    // The key of a speed cell is the value its text shows, whatever the separator.
    LapTableOptions o = options({1000, 0, 0, 0});
    o.decimalSeparator = QLatin1Char(',');
    const LapCell speed = build(lapRecord(laps, 0, 0), o).cell(2, 3);
    EXPECT_EQ(speed.text, QStringLiteral("055,4"));
    ASSERT_TRUE(speed.key.has_value());
    EXPECT_NEAR(*speed.key, 55.4, 1e-5);
}

TEST(LapTable, CellTextsAndBounds)
{
    LapTableOptions o;
    o.Choix_Temp = 1;
    o.uniteTemp = QStringLiteral("°F");
    RecordImage image = lapRecord({{.temps = 0, .rpmSur10 = 65535, .temperature = 100, .moteur = 4},
                                   {.temps = 65535, .rpmSur10 = 0, .temperature = 0, .moteur = 255}},
                                  0, 0);
    image.Data_Chrono[32] = 32;  // temperature offset given
    image.Data_Chrono[113] = 5;
    const LapTable t = build(image, o);
    const std::tuple<int, int, const char*> cells[] = {
        {0, 11, "Max °F"}, {2, 2, "00\"00"}, {2, 13, ""},         {2, 10, "655350"}, {2, 11, "221"},  // 105 C
        {2, 12, "5"},      {3, 2, "10'55\"35"}, {3, 13, "65535"}, {3, 10, "0"},      {3, 12, "256"},
    };
    for (const auto& [row, column, text] : cells)
        EXPECT_EQ(t.cell(row, column).text, QString::fromUtf8(text)) << row << "," << column;
}

}  // namespace
}  // namespace tormel
