#include "record/record_decoder.h"

#include <gtest/gtest.h>

#include <set>

namespace tormel {
namespace {

RecordImage imageWith(std::initializer_list<std::pair<int, int>> bytes)
{
    RecordImage image;
    for (const auto& [offset, value] : bytes)
        image.Data_Chrono[std::size_t(offset)] = std::uint8_t(value);
    return image;
}

const QString etapes = QStringLiteral("Etapes : ");

TEST(DecodeRecord, HeaderReadOuts)
{
    const RecordImage image = imageWith({{8, 0}, {9, 12}, {0, 4}, {1, 87}, {16, 1}, {17, 2}, {24, 0}, {25, 7},
                                         {40, 110}, {161, 3}, {97, 0x41}, {56, 0x12}, {57, 0x05},
                                         {64, 0x05}, {65, 0x30}, {72, 0x03}, {73, 0x45}, {80, 0x99},
                                         {81, 0x59}, {88, 0x00}, {89, 0x07}});
    const DecodedRecord d = decodeRecord(image, etapes);
    EXPECT_EQ(d.Serial_Number, QStringLiteral("121111"));
    EXPECT_EQ(d.Soft_Ver, QStringLiteral("Soft Ver : 258"));
    EXPECT_EQ(d.Hard_Ver, QStringLiteral("Hard Ver : 7"));
    EXPECT_EQ(d.Temp_Limite, QStringLiteral("T° Max : 110"));
    EXPECT_EQ(d.Nombre_Etapes, QStringLiteral("Etapes : 3"));
    EXPECT_EQ(d.Mode, QStringLiteral("Mode : 65"));
    const char* counters[] = {"12:05", "5:30", "3:45", "99:59", "0:07"};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(d.Ltmot[std::size_t(k)], QString::fromLatin1(counters[k])) << k;
    EXPECT_EQ(d.Mode_Enregistrement, ModeEnregistrement::Rpm);
}

TEST(DecodeRecord, SerialKeepsLeadingZerosOfSecondPart)
{
    EXPECT_EQ(serialNumberText(imageWith({{9, 5}, {1, 7}})), QStringLiteral("50007"));
    EXPECT_EQ(serialNumberText(imageWith({{8, 255}, {9, 255}, {0, 255}, {1, 255}})), QStringLiteral("6553565535"));
}

TEST(DecodeRecord, TemperatureUnitRule)
{
    struct Case {
        int byte9, b0, b1;
        char unit;
    };
    const Case cases[] = {
        {8, 1, 145, 'C'},  // 401
        {7, 1, 44, 'C'},   // 300
        {8, 0, 200, 'F'},
        {8, 1, 144, 'F'},  // 400
        {8, 0, 199, 'C'},
    };
    for (const auto& c : cases) {
        const auto d = decodeRecord(imageWith({{9, c.byte9}, {0, c.b0}, {1, c.b1}}), etapes);
        EXPECT_EQ(d.Unite_Temp_Record, QLatin1Char(c.unit)) << c.byte9 << " " << c.b0 << " " << c.b1;
    }
}

TEST(DecodeRecord, RpmFactorBeaconsAndOffsets)
{
    // Bytes 121 and 32, then the factor.
    const int factors[][3] = {{0x23, 0x02, 3}, {0x23, 0, 3}, {0, 0x02, 4}, {0, 0, 2}, {0x10, 0, 0}};
    for (const auto& f : factors)
        EXPECT_EQ(decodeRecord(imageWith({{121, f[0]}, {32, f[1]}}), etapes).Facteur_Rpm, f[2]) << f[0] << " " << f[1];

    EXPECT_EQ(decodeRecord(imageWith({{33, 2}}), etapes).Balises_Tour, 3);
    EXPECT_EQ(decodeRecord(imageWith({{32, 32}, {113, 15}}), etapes).Decalage_Temp, 15);
    EXPECT_EQ(decodeRecord(imageWith({{32, 0}, {113, 15}}), etapes).Decalage_Temp, 0);
}

TEST(DecodeRecord, LapAndSampleCountsAreBounded)
{
    for (const auto& [byte, laps] : {std::pair{0, -1}, {1, 0}, {100, 99}, {255, 99}})
        EXPECT_EQ(decodeRecord(imageWith({{160, byte}}), etapes).nTours, laps) << byte;
    const std::tuple<int, int, int> samples[] = {{37, 0, 10}, {0, 0, -64}, {0, 4, 1984}, {255, 255, 1984}};
    for (const auto& [low, high, count] : samples)
        EXPECT_EQ(decodeRecord(imageWith({{97, 1}, {104, low}, {105, high}}), etapes).Nombre_Echantillons, count) << low;
}

TEST(RecordImage, SampleStreamCoversEveryDataByteOnce)
{
    std::set<int> offsets;
    for (int s = 0; s < RecordImage::MaxSamples; ++s) {
        const int offset = RecordImage::sampleOffset(s);
        const bool headerWord = offset < 8 * 32 && offset % 8 < 2;
        ASSERT_FALSE(headerWord) << s;
        ASSERT_GE(offset, 0);
        ASSERT_LT(offset, RecordImage::Size);
        offsets.insert(offset);
    }
    EXPECT_EQ(offsets.size(), std::size_t(RecordImage::MaxSamples));
    // Bank 0 first, two samples a row, then bank 1 from row 0.
    const std::pair<int, int> known[] = {{0, 8 * 32}, {1, 8 * 32 + 1}, {2, 8 * 33}, {447, 8 * 255 + 1},
                                         {448, 2}, {960, 4}, {1983, 8 * 255 + 7}};
    for (const auto& [s, offset] : known)
        EXPECT_EQ(RecordImage::sampleOffset(s), offset) << s;
    RecordImage image;
    image.Data_Chrono.fill(0xAA);
    EXPECT_EQ(image.sample(1984), 0);
    EXPECT_EQ(image.sample(-1), 0);
}

}  // namespace
}  // namespace tormel
