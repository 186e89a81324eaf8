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

LapTable build(const RecordImage& image, const LapTableOptions& options = {})
{
    return Affiche_Tours(image, decoded(image), frenchTextTables(), options);
}

std::vector<int> lapOrder(const LapTable& t)
{
    std::vector<int> laps;
    for (std::size_t r = 2; r < t.rows.size(); ++r)
        laps.push_back(t.rows[r].lap);
    return laps;
}

std::set<int> hiddenColumns(const LapTable& t)
{
    std::set<int> hidden;
    for (int c = 0; c < LapTable::ColumnCount; ++c)
        if (t.hidden[std::size_t(c)])
            hidden.insert(c);
    return hidden;
}

LapTableOptions withDistances(std::array<float, 4> d)
{
    LapTableOptions o;
    o.Distances = d;
    return o;
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
        {0, {9}, {" 1"}},
    };
    for (const auto& c : cases) {
        std::vector<LapSpec> laps;
        for (auto s : c.stages)
            laps.push_back({.temps = 5000, .etape = s});
        const LapTable t = build(lapRecord(laps, 0, 0, c.stage0));
        ASSERT_EQ(t.rows.size(), c.stages.size() + 2);
        for (std::size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(t.cell(int(i) + 2, 1).text, QString::fromLatin1(c.expected[i])) << "stage0 " << c.stage0 << " lap " << i + 1;
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
        const char* theoretical;  // row 1, column 2
    };
    const Case cases[] = {
        {0, {4, 5, 6, 7, 8, 9, 13, 14, 15, 16}, 0, ""},
        {1, {8, 9, 13, 14, 15, 16}, 2, "1'00\"50"},    // 2950 + 3100
        {2, {13, 14, 15, 16}, 3, "1'28\"50"},          // 2950 + 3100 + 2800
        {7, {13, 14, 15, 16}, 3, "1'28\"50"},
    };
    for (const auto& c : cases) {
        const LapTable t = build(lapRecord(laps, c.modeByte, 0), withDistances({1000, 300, 300, 300}));
        EXPECT_EQ(hiddenColumns(t), c.hidden) << c.modeByte;
        EXPECT_EQ(t.cell(1, 0).text, QStringLiteral("Théor."));
        EXPECT_EQ(t.cell(1, 2).text, QString::fromUtf8(c.theoretical)) << c.modeByte;
        for (int k = 1; k <= 3; ++k) {
            const bool written = k <= c.sectorsWritten;
            EXPECT_EQ(t.cell(2, 2 + 2 * k).text.isEmpty(), !written) << c.modeByte << " sector " << k;
            EXPECT_EQ(t.cell(2, 13 + k).text.isEmpty(), !written) << c.modeByte << " sector " << k;
            EXPECT_EQ(t.cell(1, 2 + 2 * k).text.isEmpty(), !written) << c.modeByte << " sector " << k;
        }
    }
}

TEST(LapTable, SpeedColumnsHiddenWithoutTheirLength)
{
    const std::vector<LapSpec> laps{{.temps = 4500, .s1 = 1500, .s2 = 1500, .s3 = 1500}};
    struct Case {
        std::array<float, 4> d;
        std::set<int> hiddenSpeeds;
    };
    const Case cases[] = {
        {{1000, 300, 300, 400}, {}},
        {{0, 0, 0, 0}, {3, 5, 7, 9}},
        {{NAN, 300, -1, INFINITY}, {3, 7, 9}},
        {{1000, 0, 300, 0}, {5, 9}},
    };
    for (const auto& c : cases) {
        const LapTable t = build(lapRecord(laps, 2, 0), withDistances(c.d));
        for (int column : {3, 5, 7, 9}) {
            const bool hidden = c.hiddenSpeeds.count(column) != 0;
            EXPECT_EQ(t.hidden[std::size_t(column)], hidden) << column;
            EXPECT_EQ(t.cell(2, column).text.isEmpty(), hidden) << column;
        }
    }
    // 1000 m in 45 s, in both units and with both separators.
    LapTableOptions o = withDistances({1000, 0, 0, 0});
    EXPECT_EQ(build(lapRecord(laps, 0, 0), o).cell(2, 3).text, QStringLiteral("080.0"));
    o.Choix_Vitesse = 1;
    o.decimalSeparator = QLatin1Char(',');
    o.uniteVitesse = QStringLiteral("miles/h");
    const LapTable miles = build(lapRecord(laps, 0, 0), o);
    EXPECT_EQ(miles.cell(2, 3).text, QStringLiteral("049,7"));
    EXPECT_EQ(miles.cell(0, 3).text, QStringLiteral("miles/h(Tour)"));
    EXPECT_EQ(miles.cell(0, 5).text, QStringLiteral("miles/h(1)"));
    EXPECT_FLOAT_EQ(miles.Max_Colonne[3], 49.7F);
}

TEST(LapTable, BestLapYellowEliminatedRed)
{
    const std::vector<LapSpec> laps{{.temps = 5000, .rpmSur10 = 1000, .temperature = 80},
                                    {.temps = 4900, .rpmSur10 = 1100, .temperature = 70},
                                    {.temps = 5100, .rpmSur10 = 900, .temperature = 90}};
    struct Case {
        int bestByte;
        std::set<int> eliminated;
        int meilleur;
        Rgb lap2Colour;  // column 13 of lap 2
    };
    const Case cases[] = {
        {2, {}, 2, colours::Yellow},
        {2, {2}, 2, colours::Red},
        {2, {1}, 2, colours::Yellow},
        {0, {}, 0, colours::White},
        {4, {}, 0, colours::White},
        {200, {2}, 0, colours::Red},
    };
    for (const auto& c : cases) {
        LapTableOptions o;
        for (int lap : c.eliminated)
            o.Tour_Elimine[std::size_t(lap)] = true;
        const LapTable t = build(lapRecord(laps, 0, c.bestByte), o);
        EXPECT_EQ(t.Meilleur_Tour_Rpm, c.meilleur) << c.bestByte;
        EXPECT_EQ(t.cell(t.rowOfLap(2), 13).background, c.lap2Colour) << c.bestByte;
        EXPECT_EQ(t.cell(t.rowOfLap(2), 0).background, c.lap2Colour == colours::White ? colours::Cyan : c.lap2Colour);
        for (int lap : {1, 3})
            EXPECT_EQ(t.cell(t.rowOfLap(lap), 2).background, c.eliminated.count(lap) ? colours::Red : colours::White);
        // A lap's unwritten cells (no track lengths) keep the plain background.
        EXPECT_EQ(t.cell(t.rowOfLap(2), 3).background, colours::White);
    }
}

TEST(LapTable, EliminatedLapsLeaveTheColumnRanges)
{
    const std::vector<LapSpec> laps{{.temps = 5000, .rpmSur10 = 1000, .temperature = 80},
                                    {.temps = 4000, .rpmSur10 = 1300, .temperature = 95},
                                    {.temps = 6000, .rpmSur10 = 900, .temperature = 70}};
    struct Case {
        std::set<int> eliminated;
        float min13, max13, min10, max10;
    };
    const Case cases[] = {
        {{}, 4000, 6000, 9000, 13000},
        {{2}, 5000, 6000, 9000, 10000},
        {{1, 2, 3}, 65536, 0, 65536, 0},
    };
    for (const auto& c : cases) {
        LapTableOptions o;
        for (int lap : c.eliminated)
            o.Tour_Elimine[std::size_t(lap)] = true;
        const LapTable t = build(lapRecord(laps, 0, 0), o);
        EXPECT_EQ(t.Min_Colonne[13], c.min13);
        EXPECT_EQ(t.Max_Colonne[13], c.max13);
        EXPECT_EQ(t.Min_Colonne[10], c.min10);
        EXPECT_EQ(t.Max_Colonne[10], c.max10);
        EXPECT_EQ(t.Min_Colonne[12], 65536.0F);  // columns without a range stay reset
        // The eliminated lap still shows its values.
        EXPECT_EQ(t.cell(t.rowOfLap(2), 10).text, QStringLiteral("13000"));
    }
}

TEST(LapTable, BestCellsAndTheoreticalRow)
{
    // Sector 1 best in lap 3, sector 2 in lap 1, sector 3 in lap 2;
    // fastest engine in lap 2, hottest lap 3.
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
        {2, {1, 2, 3}, 2950 + 2900 + 3000},
        {1, {}, 2950 + 2900},
        {1, {1}, 2950 + 2900},
    };
    for (const auto& c : cases) {
        LapTableOptions o = withDistances({1000, 300, 300, 300});
        for (int lap : c.eliminated)
            o.Tour_Elimine[std::size_t(lap)] = true;
        const LapTable t = build(lapRecord(laps, c.modeByte, 0), o);
        EXPECT_EQ(t.Temps_Theorique, c.theoretical) << c.modeByte;
        // Column 10 green on lap 2 only (lap 3 ties, the earlier lap keeps it).
        EXPECT_EQ(t.cell(t.rowOfLap(2), 10).background, colours::Green);
        EXPECT_NE(t.cell(t.rowOfLap(3), 10).background, colours::Green);
        EXPECT_EQ(t.cell(t.rowOfLap(3), 11).background, colours::Green);
        const std::pair<int, int> bestSector[] = {{1, 3}, {2, 1}, {3, 2}};
        for (const auto& [k, lap] : bestSector) {
            const bool shown = k <= c.modeByte + 1;
            for (int column : {2 + 2 * k, 3 + 2 * k}) {
                EXPECT_EQ(t.cell(t.rowOfLap(lap), column).background == colours::Green, shown) << k;
                EXPECT_EQ(t.cell(1, column).text, t.cell(t.rowOfLap(lap), column).text) << k;
                EXPECT_EQ(t.cell(1, column).background, colours::Cyan);
            }
        }
    }
    const LapTable t = build(lapRecord(laps, 2, 0), withDistances({1000, 300, 300, 300}));
    EXPECT_EQ(t.cell(1, 2).text, QStringLiteral("1'28\"50"));
    EXPECT_EQ(t.cell(1, 3).text, QStringLiteral("040.7"));  // 360000 / 8850
    EXPECT_EQ(t.cell(1, 4).text, QStringLiteral("29\"50"));
    EXPECT_EQ(t.cell(1, 5).text, QStringLiteral("036.6"));
    // Without a lap length the theoretical speed is still written, as zero.
    EXPECT_EQ(build(lapRecord(laps, 2, 0)).cell(1, 3).text, QStringLiteral("000.0"));
}

TEST(LapTable, NothingGreenWithoutEngineSpeedOrHeat)
{
    const LapTable t = build(lapRecord({{.temps = 5000}, {.temps = 5100}}, 0, 0));
    for (std::size_t r = 0; r < t.rows.size(); ++r)
        for (int column : {10, 11})
            EXPECT_NE(t.cell(int(r), column).background, colours::Green);
    EXPECT_EQ(t.bestRpm.lap, 0);
    EXPECT_EQ(t.hottest.lap, 0);
}

TEST(LapTable, SortsOnNumbersNotTexts)
{
    const std::vector<LapSpec> laps{{.temps = 6500, .rpmSur10 = 1000, .temperature = 80},
                                    {.temps = 5999, .rpmSur10 = 1200, .temperature = 80},
                                    {.temps = 10500, .rpmSur10 = 1000, .temperature = 95},
                                    {.temps = 0, .rpmSur10 = 1100, .temperature = 60},
                                    {.temps = 5999, .rpmSur10 = 999, .temperature = 99}};
    struct Case {
        int column;
        QChar separator;
        std::vector<int> order;
    };
    const QChar point = QLatin1Char('.');
    const QChar comma = QLatin1Char(',');
    const Case cases[] = {
        {0, point, {1, 2, 3, 4, 5}},
        {13, point, {4, 2, 5, 1, 3}},          // 0, 5999, 5999, 6500, 10500: ties keep lap order
        {2, point, {4, 2, 5, 1, 3}},
        {10, point, {2, 4, 1, 3, 5}},          // descending, ties keep lap order
        {11, point, {5, 3, 1, 2, 4}},
        {3, point, {3, 1, 2, 5, 4}},           // the lap without a speed goes after all
        {3, comma, {3, 1, 2, 5, 4}},
        {12, point, {1, 2, 3, 4, 5}},
        {99, point, {1, 2, 3, 4, 5}},          // unknown column: lap order
        {-3, point, {1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        LapTableOptions o = withDistances({1000, 0, 0, 0});
        o.Colonne_Tri = c.column;
        o.decimalSeparator = c.separator;
        const LapTable t = build(lapRecord(laps, 0, 0), o);
        EXPECT_EQ(lapOrder(t), c.order) << c.column << " " << c.separator.toLatin1();
        EXPECT_EQ(t.cell(0, 0).text, QStringLiteral("  Tour"));
        EXPECT_EQ(t.cell(1, 0).text, QStringLiteral("Théor."));
        for (std::size_t r = 2; r < t.rows.size(); ++r)
            EXPECT_EQ(t.rows[r].cells[0].text, QLatin1Char(' ') + QString::number(t.rows[r].lap));
    }
    // The key of a speed cell is the value its text shows, whatever the separator.
    LapTableOptions o = withDistances({1000, 0, 0, 0});
    o.decimalSeparator = QLatin1Char(',');
    const LapTable t = build(lapRecord(laps, 0, 0), o);
    EXPECT_EQ(t.cell(t.rowOfLap(1), 3).text, QStringLiteral("055,4"));
    ASSERT_TRUE(t.cell(t.rowOfLap(1), 3).key.has_value());
    EXPECT_NEAR(*t.cell(t.rowOfLap(1), 3).key, 55.4, 1e-5);
}

TEST(LapTable, TriageResortsAnExistingTable)
{
    LapTable t = build(lapRecord({{.temps = 7000}, {.temps = 6000}, {.temps = 8000}}, 0, 0));
    Triage(t, 13, 0);
    EXPECT_EQ(lapOrder(t), (std::vector<int>{2, 1, 3}));
    Triage(t, 0, 0);
    EXPECT_EQ(lapOrder(t), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(t.rowOfLap(3), 4);
    EXPECT_EQ(t.rowOfLap(4), -1);
}

TEST(LapTable, CellTextsAndBounds)
{
    LapTableOptions o;
    o.Choix_Temp = 1;
    o.uniteTemp = QStringLiteral("°F");
    RecordImage image = lapRecord({{.temps = 0, .rpmSur10 = 65535, .temperature = 100, .moteur = 4},
                                   {.temps = 65535, .rpmSur10 = 0, .temperature = 0, .moteur = 255}},
                                  0, 0);
    image.Data_Chrono[32] = 32;   // temperature offset given
    image.Data_Chrono[113] = 5;
    const LapTable t = build(image, o);
    EXPECT_EQ(t.cell(0, 11).text, QStringLiteral("Max °F"));
    EXPECT_EQ(t.cell(2, 2).text, QStringLiteral("00\"00"));
    EXPECT_EQ(t.cell(2, 13).text, QString());
    EXPECT_EQ(t.cell(2, 10).text, QStringLiteral("655350"));
    EXPECT_EQ(t.cell(2, 11).text, QStringLiteral("221"));  // 105 C
    EXPECT_EQ(t.cell(2, 12).text, QStringLiteral("5"));
    EXPECT_EQ(t.cell(3, 2).text, QStringLiteral("10'55\"35"));
    EXPECT_EQ(t.cell(3, 13).text, QStringLiteral("65535"));
    EXPECT_EQ(t.cell(3, 10).text, QStringLiteral("0"));
    EXPECT_EQ(t.cell(3, 12).text, QStringLiteral("256"));
    EXPECT_EQ(t.Max_Colonne[10], 655350.0F);

    struct Case {
        int announced;
        std::size_t rows;
    };
    const Case counts[] = {{-1, 2}, {0, 2}, {1, 3}, {99, 101}, {100, 101}, {5000, 101}};
    for (const auto& c : counts) {
        DecodedRecord record = decoded(image);
        record.nTours = c.announced;
        const LapTable big = Affiche_Tours(image, record, frenchTextTables(), {});
        EXPECT_EQ(big.rows.size(), c.rows) << c.announced;
        EXPECT_EQ(big.cell(1, 2).text, QString()) << c.announced;
    }
}

TEST(LapTable, NoLapsGivesHeaderAndTheoreticalRowOnly)
{
    for (int mode : {0, 1, 2}) {
        const LapTable t = build(lapRecord({}, mode, 0));
        ASSERT_EQ(t.rows.size(), 2U);
        EXPECT_EQ(t.cell(1, 0).text, QStringLiteral("Théor."));
        for (int c = 1; c < LapTable::ColumnCount; ++c)
            EXPECT_TRUE(t.cell(1, c).text.isEmpty()) << mode << " " << c;
    }
}

}  // namespace
}  // namespace tormel
