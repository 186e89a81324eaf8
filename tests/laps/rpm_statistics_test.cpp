#include "laps/rpm_statistics.h"

#include "laps_records.h"

#include <gtest/gtest.h>


namespace tormel {
namespace {

using test::decoded;
using test::rpmRecord;

constexpr std::uint8_t Mark = 128;

// `count` samples of code 10 with a beacon mark at each listed sample.
std::vector<std::uint8_t> stream(int count, const std::vector<int>& marks)
{
    std::vector<std::uint8_t> samples(std::size_t(count), 10);
    for (int s : marks)
        samples[std::size_t(s)] |= Mark;
    return samples;
}

RpmStatistics compute(const std::vector<std::uint8_t>& samples, int balises = 1, int factor = 2, int V = 0)
{
    const RecordImage image = rpmRecord(samples, balises, factor);
    return Compute_Rpm(image, decoded(image), V);
}

TEST(Compute_Rpm, NoBeaconGivesOneLapZeroAndSamplesCountInTheirLap)
{
    const RpmStatistics st = compute(stream(40, {}));
    EXPECT_EQ(st.Nombre_Echantillons, 40);
    EXPECT_EQ(st.nTours, 0);
    EXPECT_EQ(st.Duree_Tour[0], 40);
    EXPECT_EQ(st.Debut_Tour[0], 0);
    EXPECT_EQ(st.Debut_Tour[1], 40);
    EXPECT_EQ(st.Histo_Rpm[0][10], 40);
    EXPECT_EQ(st.Histo_Max[0], 40);
    // With laps, each sample counts in the lap it belongs to.
    const RpmStatistics laps = compute({5, 5, 6, 5 | Mark, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7 | Mark, 8, 8, 8, 8});
    EXPECT_EQ(std::vector<int>({laps.Histo_Rpm[0][5], laps.Histo_Rpm[0][6], laps.Histo_Max[0], laps.Histo_Rpm[1][7], laps.Histo_Rpm[2][8]}),
              std::vector<int>({3, 1, 3, 11, 4}));
}

TEST(Compute_Rpm, BeaconMarksAndLaps)
{
    struct Case {
        const char* name;
        std::vector<int> marks;
        int balises;
        std::vector<int> counted;   // samples whose mark counts
        int nTours;
        std::vector<int> debut;     // Debut_Tour(0..nTours + 1)
        int duree0;
    };
    // With fewer than two closed laps, the last lap is described from sample 0.
    const Case cases[] = {
        {"5 apart", {20, 25}, 1, {20}, 1, {0, 0, 79}, 21},
        {"10 apart", {20, 30}, 1, {20}, 1, {0, 0, 79}, 21},
        {"11 apart", {20, 31}, 1, {20, 31}, 2, {0, 20, 31}, 21},
        {"two beacons a lap", {20, 40, 60, 80}, 2, {20, 40, 60, 80}, 2, {0, 20, 60}, 21},
        {"first sample", {0, 11}, 1, {0, 11}, 2, {0, 0, 11}, 1},
    };
    for (const auto& c : cases) {
        const RpmStatistics st = compute(stream(100, c.marks), c.balises);
        std::vector<int> counted;
        for (int s = 0; s < st.Nombre_Echantillons; ++s)
            if (st.Marque_Balise[std::size_t(s)])
                counted.push_back(s);
        EXPECT_EQ(counted, c.counted) << c.name;
        EXPECT_EQ(st.nTours, c.nTours) << c.name;
        for (std::size_t k = 0; k < c.debut.size(); ++k)
            EXPECT_EQ(st.Debut_Tour[k], c.debut[k]) << c.name << " lap " << k;
        // The closing sample belongs to the lap it closes.
        EXPECT_EQ(st.Duree_Tour[0], c.duree0) << c.name;
    }
}

TEST(Compute_Rpm, EngineSpeedIsCappedWithoutOverflow)
{
    struct Case {
        int factorByte;
        std::uint8_t code;
        int pas;
        int rpm;
    };
    const Case cases[] = {
        {15, 127, 2250, 32767},    // 285750
        {2, 109, 300, 32700},
        {2, 110, 300, 32767},      // 33000
        {0x10, 127, 0, 0},         // the low four bits are the factor, here 0
        {0x21, 50, 150, 7500},     // only the low four bits count
    };
    for (const auto& c : cases) {
        const RpmStatistics st = compute(std::vector<std::uint8_t>(12, c.code), 1, c.factorByte);
        EXPECT_EQ(st.Pas_Rpm, c.pas) << c.factorByte;
        EXPECT_EQ(st.Rpm_Brut[5], c.rpm) << c.factorByte << " code " << int(c.code);
        EXPECT_EQ(st.Rpm_Max, c.rpm);
    }
}

TEST(Compute_Rpm, SmoothingWindowStartsAtTheSample)
{
    // V = 3: the mean of seven raw values starting at s; the tail keeps its raw value.
    const std::vector<std::uint8_t> samples{0, 0, 0, 0, 0, 0, 70, 0, 0, 0};
    const RpmStatistics st = compute(samples, 1, 2, 3);
    const std::pair<int, float> v3[] = {{0, 3000}, {3, 3000}, {4, 0}, {6, 21000}, {7, 0}};
    for (const auto& [s, value] : v3)
        EXPECT_FLOAT_EQ(st.Rpm_Lisse[std::size_t(s)], value) << s;
    EXPECT_FLOAT_EQ(compute(samples, 1, 2, 1).Rpm_Lisse[5], 7000.0F);  // three values
    EXPECT_FLOAT_EQ(compute(samples, 1, 2, 0).Rpm_Lisse[6], 21000.0F);
    // Out of range levels are held to 0..3.
    EXPECT_EQ(compute(samples, 1, 2, 9).V, 3);
    EXPECT_EQ(compute(samples, 1, 2, -2).V, 0);
}

TEST(Compute_Rpm, BestSecondAndThirdLaps)
{
    struct Case {
        const char* name;
        std::vector<int> marks;
        int best, second, third;
    };
    const Case cases[] = {
        // Lap 1 is the shortest but cannot be best.
        {"short lap 1", {50, 70, 120, 175, 240}, 2, 1, 3},
        {"tie keeps earlier", {20, 60, 100, 140, 200}, 2, 1, 3},
        {"two closed laps", {20, 60}, 1, -1, -2},
        {"three closed laps", {20, 60, 90}, 2, 1, -2},
        {"no lap", {}, 1, -1, -2},
    };
    for (const auto& c : cases) {
        const RpmStatistics st = compute(stream(400, c.marks));
        EXPECT_EQ(st.Meilleur_Tour_Rpm, c.best) << c.name;
        EXPECT_EQ(st.Second_Tour_Rpm, c.second) << c.name;
        EXPECT_EQ(st.Troisieme_Tour_Rpm, c.third) << c.name;
    }
}

}  // namespace
}  // namespace tormel
