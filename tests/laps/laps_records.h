#pragma once

#include "record/record_decoder.h"
#include "record/record_image.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace tormel::test {

// One lap as the logger writes it.
struct LapSpec {
    std::uint16_t temps = 0;
    std::uint16_t s1 = 0;
    std::uint16_t s2 = 0;
    std::uint16_t s3 = 0;
    std::uint16_t rpmSur10 = 0;
    std::uint8_t temperature = 0;
    std::uint8_t etape = 0;
    std::uint8_t moteur = 0;
};

inline void putBigEndian(RecordImage& image, int offset, std::uint16_t value)
{
    image.Data_Chrono[std::size_t(offset)] = std::uint8_t(value >> 8);
    image.Data_Chrono[std::size_t(offset + 1)] = std::uint8_t(value & 0xff);
}

// A lap-timing record holding `laps` as laps 1.., with the given sector
// mode byte, best-lap byte and stage byte of the hidden lap 0.
inline RecordImage lapRecord(const std::vector<LapSpec>& laps, int sectorMode, int best, int stage0 = 0)
{
    RecordImage image;
    image.Data_Chrono[33] = std::uint8_t(sectorMode);
    image.Data_Chrono[160] = std::uint8_t(laps.size() + 1);
    image.Data_Chrono[192] = std::uint8_t(best);
    image.Data_Chrono[8 * 132 + 3] = std::uint8_t(stage0);
    for (std::size_t i = 0; i < laps.size(); ++i) {
        const int L = int(i) + 1;
        const LapSpec& lap = laps[i];
        const int times = 8 * (32 + L);
        const int summary = 8 * (132 + L);
        putBigEndian(image, times, lap.s1);
        putBigEndian(image, times + 2, lap.s2);
        putBigEndian(image, times + 4, lap.s3);
        putBigEndian(image, times + 6, lap.temps);
        putBigEndian(image, summary, lap.rpmSur10);
        image.Data_Chrono[std::size_t(summary + 2)] = lap.temperature;
        image.Data_Chrono[std::size_t(summary + 3)] = lap.etape;
        image.Data_Chrono[std::size_t(summary + 4)] = lap.moteur;
    }
    return image;
}

// An engine-speed record of the given sample bytes; the count is rounded up
// to a whole word, the extra sample being 0.
inline RecordImage rpmRecord(const std::vector<std::uint8_t>& samples, int balisesTour, int facteurRpm)
{
    RecordImage image;
    image.Data_Chrono[97] = 1;
    image.Data_Chrono[33] = std::uint8_t(balisesTour - 1);
    image.Data_Chrono[121] = std::uint8_t(facteurRpm);
    const int words = 32 + int(samples.size() + 1) / 2;
    image.Data_Chrono[104] = std::uint8_t(words % 256);
    image.Data_Chrono[105] = std::uint8_t(words / 256);
    for (std::size_t s = 0; s < samples.size(); ++s)
        image.Data_Chrono[std::size_t(RecordImage::sampleOffset(int(s)))] = samples[s];
    return image;
}

inline DecodedRecord decoded(const RecordImage& image)
{
    return decodeRecord(image, QStringLiteral("Etapes : "));
}

}  // namespace tormel::test
