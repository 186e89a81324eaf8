#include "laps/ranges.h"

#include "laps_records.h"

#include <gtest/gtest.h>

#include <numeric>

namespace tormel {
namespace {

using test::lapRecord;
using test::putBigEndian;

// Best lap 1 of `lapTime`, with the given range times from range 0 on.
RecordImage rangesRecord(std::uint16_t lapTime, std::initializer_list<std::uint16_t> ranges, int best = 1)
{
    RecordImage image = lapRecord({{.temps = lapTime}}, 0, best);
    int i = 0;
    for (auto t : ranges)
        putBigEndian(image, 8 * i++ + 4, t);
    return image;
}

TEST(Ranges, LabelsAndCaptions)
{
    const std::pair<int, const char*> labels[] = {
        {0, "0-5120 RPM"}, {1, "5120-5760 RPM"}, {31, "24320-24960 RPM"}};
    for (const auto& [i, text] : labels)
        EXPECT_EQ(Libelle_Tranche(i), QString::fromLatin1(text)) << i;
    const std::pair<int, const char*> captions[] = {{0, "0-5.120"}, {1, " 0- 1"}, {12, " 11- 12"}, {31, " 30- 31"}};
    for (const auto& [i, text] : captions)
        EXPECT_EQ(barCaption(i), QString::fromLatin1(text)) << i;
}

TEST(Ranges, ShareOfTheLapAndBarFilling)
{
    struct Case {
        std::uint16_t lapTime;
        std::uint16_t range0, range1;
        QChar separator;
        int index;
        const char* label7;
        double fill0, fill1;
    };
    const QChar point = QLatin1Char('.');
    const Case cases[] = {
        {6000, 1523, 3000, point, 0, "15\"23    25.38%", 50.766666, 100.0},
        {6000, 1523, 3000, QLatin1Char(','), 0, "15\"23    25,38%", 50.766666, 100.0},
        {6000, 0, 0, point, 1, "00\"00    0.00%", 0.0, 0.0},          // no range time: empty bars
        {0, 1523, 3000, point, 0, "15\"23", 50.766666, 100.0},          // no lap time: no share
        {6000, 6000, 0, point, 0, "1'00\"00    100.00%", 100.0, 0.0},
    };
    for (const auto& c : cases) {
        const RangesPanel p = Affiche_Tranches(rangesRecord(c.lapTime, {c.range0, c.range1}), frenchTextTables());
        const RangeReadout r = rangeReadout(p, c.index, c.separator);
        EXPECT_EQ(r.Label6, Libelle_Tranche(c.index));
        EXPECT_EQ(r.Label7, QString::fromUtf8(c.label7)) << c.lapTime << " " << c.range0;
        EXPECT_NEAR(p.fill[0], c.fill0, 1e-4);
        EXPECT_NEAR(p.fill[1], c.fill1, 1e-4);
        EXPECT_EQ(p.fill[5], 0.0);
        EXPECT_FALSE(p.scaled);
    }
}

TEST(Ranges, LongerThanTheLapScalesDownKeepingTheBars)
{
    const RangesPanel p = Affiche_Tranches(rangesRecord(6000, {2000, 4000, 2000}), frenchTextTables());
    EXPECT_TRUE(p.scaled);
    EXPECT_FLOAT_EQ(p.Temps_Tranche[0], 1500.0F);
    EXPECT_FLOAT_EQ(p.Temps_Tranche[1], 3000.0F);
    EXPECT_FLOAT_EQ(p.recordedTimes[1], 4000.0F);
    EXPECT_FLOAT_EQ(std::accumulate(p.Temps_Tranche.begin(), p.Temps_Tranche.end(), 0.0F), 6000.0F);
    EXPECT_NEAR(p.fill[0], 50.0, 1e-9);
    EXPECT_NEAR(p.fill[1], 100.0, 1e-9);
    EXPECT_EQ(rangeReadout(p, 1, QLatin1Char('.')).Label7, QStringLiteral("30\"00    50.00%"));
    // A sum equal to the lap is left as recorded.
    EXPECT_FALSE(Affiche_Tranches(rangesRecord(6000, {2000, 4000}), frenchTextTables()).scaled);
}

}  // namespace
}  // namespace tormel
