#pragma once

#include "laps/lap_table.h"
#include "laps/rpm_statistics.h"
#include "record/record_decoder.h"
#include "record/record_image.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace tormel::test {

// One lap as the logger writes it.
struct LapSpec {
    std::uint16_t lapTime = 0, s1 = 0, s2 = 0, s3 = 0, maxRpmOver10 = 0;
    std::uint8_t temperature = 0, stage = 0, engine = 0;
};

inline void putBigEndian(RecordImage& image, int offset, std::uint16_t value)
{
    image.bytes[std::size_t(offset)] = std::uint8_t(value >> 8);
    image.bytes[std::size_t(offset + 1)] = std::uint8_t(value & 0xff);
}

// A lap-timing record holding `laps` as laps 1.., with the given sector
// mode byte, best-lap byte and stage byte of the hidden lap 0.
inline RecordImage lapRecord(const std::vector<LapSpec>& laps, int sectorMode, int best, int stage0 = 0)
{
    RecordImage image;
    image.bytes[33] = std::uint8_t(sectorMode);
    image.bytes[160] = std::uint8_t(laps.size() + 1);
    image.bytes[192] = std::uint8_t(best);
    image.bytes[8 * 132 + 3] = std::uint8_t(stage0);
    for (std::size_t i = 0; i < laps.size(); ++i) {
        const LapSpec& lap = laps[i];
        const int times = 8 * (33 + int(i)), summary = 8 * (133 + int(i));
        for (const auto& [offset, value] : {std::pair{0, lap.s1}, {2, lap.s2}, {4, lap.s3}, {6, lap.lapTime}})
            putBigEndian(image, times + offset, value);
        putBigEndian(image, summary, lap.maxRpmOver10);
        for (const auto& [offset, value] : {std::pair{2, lap.temperature}, {3, lap.stage}, {4, lap.engine}})
            image.bytes[std::size_t(summary + offset)] = value;
    }
    return image;
}

// An engine-speed record of the given sample bytes; the count is rounded up
// to a whole word, the extra sample being 0.
inline RecordImage rpmRecord(const std::vector<std::uint8_t>& samples, int beaconsPerLap, int rpmFactor)
{
    RecordImage image;
    const int words = 32 + int(samples.size() + 1) / 2;
    for (const auto& [offset, value] : {std::pair{97, 1}, {33, beaconsPerLap - 1}, {121, rpmFactor}, {104, words % 256}, {105, words / 256}})
        image.bytes[std::size_t(offset)] = std::uint8_t(value);
    for (std::size_t s = 0; s < samples.size(); ++s)
        image.bytes[std::size_t(RecordImage::sampleOffset(int(s)))] = samples[s];
    return image;
}

// Marks at 5, 20 and 35 close laps 1 and 2 of 15 samples; at 300 RPM a
// class lap 1 turns at 6000 RPM, lap 2 (the best) at 12000 and its closing
// mark at 15000. Over both, the median of 1 / revolutions is 1 / 120000.
inline RecordImage tracedRecord()
{
    std::vector<std::uint8_t> samples(40, 30);
    for (int s = 5; s < 20; ++s)
        samples[std::size_t(s)] = 20;
    for (int s = 20; s < 35; ++s)
        samples[std::size_t(s)] = 40;
    samples[35] = 50;
    for (int mark : {5, 20, 35})
        samples[std::size_t(mark)] |= 128;
    return rpmRecord(samples, 1, 2);
}

// Engine-speed samples with a beacon mark at each of `beacons` (sample
// numbers); codes rise and fall so each lap has a top.
inline std::vector<std::uint8_t> samplesWithBeacons(int count, const std::vector<int>& beacons)
{
    std::vector<std::uint8_t> samples(static_cast<std::size_t>(count));
    for (int s = 0; s < count; ++s)
        samples[std::size_t(s)] = std::uint8_t(60 + (s * 7) % 30);
    for (int b : beacons)
        samples[std::size_t(b)] |= 128;
    return samples;
}

inline DecodedRecord decoded(const RecordImage& image)
{
    return decodeRecord(image, QStringLiteral("Etapes : "));
}

inline RpmStatistics rpmStatisticsOf(const std::vector<std::uint8_t>& samples, int beaconsPerLap = 1, int rpmFactor = 2, int smoothing = 0)
{
    const RecordImage image = rpmRecord(samples, beaconsPerLap, rpmFactor);
    return computeRpmStatistics(image, decoded(image), smoothing);
}

// Laps of the given lap times (hundredths), each with its own engine speed
// and temperature so that a read-out shows whose row it read.
inline std::vector<LapSpec> lapsOfTimes(const std::vector<std::uint16_t>& times)
{
    std::vector<LapSpec> laps;
    for (std::size_t i = 0; i < times.size(); ++i)
        laps.push_back({.lapTime = times[i], .maxRpmOver10 = std::uint16_t(1000 + i), .temperature = std::uint8_t(60 + i % 50),
                        .stage = std::uint8_t(i / 10)});
    return laps;
}

// The French lap table of `laps` on a track of 1000 m in sections of 300, 300 and 400 m.
inline LapTable lapTableOf(const std::vector<LapSpec>& laps, const std::array<bool, LapFlagCount>& eliminated = {},
                           int sortColumn = LapNumberColumn, int best = 0)
{
    const RecordImage image = lapRecord(laps, 0, best);
    LapTableOptions options;
    options.trackLengths = {1000.0F, 300.0F, 300.0F, 400.0F};
    options.eliminatedLaps = eliminated;
    options.sortColumn = sortColumn;
    return buildLapTable(image, decoded(image), frenchTextTables(), options);
}

}  // namespace tormel::test
