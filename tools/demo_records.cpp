#include "demo_records.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tormel::demo {

namespace {

void put16be(RecordImage& image, int offset, int value)
{
    image.bytes[std::size_t(offset)] = std::uint8_t((value >> 8) & 0xFF);
    image.bytes[std::size_t(offset + 1)] = std::uint8_t(value & 0xFF);
}

void put(RecordImage& image, int offset, int value)
{
    image.bytes[std::size_t(offset)] = std::uint8_t(value & 0xFF);
}

int bcd(int value)
{
    return (value / 10) * 16 + value % 10;
}

// A small deterministic generator, so the demo files never change.
struct Noise {
    std::uint32_t state;
    int next(int spread)
    {
        state = state * 1664525U + 1013904223U;
        return int((state >> 16) % std::uint32_t(2 * spread + 1)) - spread;
    }
};

void commonHeader(RecordImage& image)
{
    put16be(image, 8, 27);     // serial, first part
    put16be(image, 0, 415);    // serial, second part
    put16be(image, 16, 312);   // software version
    put16be(image, 24, 21);    // hardware version
    put(image, 40, 135);       // temperature limit
    const int hours[5][2] = {{12, 5}, {5, 30}, {3, 45}, {0, 0}, {0, 7}};
    for (int n = 0; n < 5; ++n) {
        put(image, 8 * (n + 7), bcd(hours[n][0]));
        put(image, 8 * (n + 7) + 1, bcd(hours[n][1]));
    }
}

}  // namespace

RecordImage lapTimingRecord()
{
    RecordImage image;
    commonHeader(image);
    constexpr int laps = 24;
    put(image, 32, 32);       // a temperature offset is given
    put(image, 113, 20);
    put(image, 33, 2);        // three sections
    put(image, 97, 0);        // lap timing
    put(image, 160, laps + 1);
    put(image, 161, 3);

    Noise noise{11};
    int best = 0;
    int bestTime = 1 << 30;
    put(image, 8 * 132 + 3, 0);  // stage byte before lap 1: the first lap opens stage 1
    for (int lap = 1; lap <= laps; ++lap) {
        const int stage = lap <= 7 ? 1 : (lap <= 16 ? 2 : 3);
        // Drivers warm up, then settle; the tyres fade a little late on.
        const int trend = lap == 1 || lap == 8 || lap == 17 ? 260 : (lap % 8 == 2 ? 90 : 0);
        const int s1 = 1640 + trend / 3 + noise.next(45);
        const int s2 = 1815 + trend / 3 + noise.next(55);
        const int s3 = 1505 + trend / 3 + noise.next(40) + (lap > 20 ? 15 : 0);
        const int total = s1 + s2 + s3;
        const int row = 8 * (32 + lap);
        put16be(image, row, s1);
        put16be(image, row + 2, s2);
        put16be(image, row + 4, s3);
        put16be(image, row + 6, total);
        const int summary = 8 * (132 + lap);
        put16be(image, summary, 1460 + noise.next(35) - trend / 20);  // engine speed / 10
        put(image, summary + 2, 95 + lap / 3 + noise.next(4));        // before the offset
        put(image, summary + 3, stage);
        put(image, summary + 4, stage == 3 ? 1 : 0);
        if (trend == 0 && total < bestTime) {
            bestTime = total;
            best = lap;
        }
    }
    put(image, 192, best);

    // Time spent in each engine-speed range during the best lap: most of it
    // between 11 000 and 14 500 rpm, nothing below 8 000.
    const double weights[32] = {0, 0, 0, 0, 0.5, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 12, 11, 8, 5, 2.5, 1, 0.3};
    double sum = 0;
    for (double w : weights)
        sum += w;
    int given = 0;
    for (int i = 0; i < 32; ++i) {
        const int t = int(std::lround(bestTime * weights[i] / sum));
        put16be(image, 8 * i + 4, t);
        given += t;
    }
    // Whole hundredths: keep the sum on the lap time.
    put16be(image, 8 * 16 + 4, image.bigEndian16(8 * 16 + 4) + (bestTime - given));
    return image;
}

RecordImage engineSpeedRecord()
{
    RecordImage image;
    commonHeader(image);
    put(image, 97, 1);     // engine-speed recording
    put(image, 33, 0);     // one beacon a lap
    put(image, 121, 1);    // 150 rpm per code
    put(image, 104, 0);    // 4 x 512 - 64 = 1984 samples
    put(image, 105, 4);
    put(image, 160, 1);

    Noise noise{5};
    constexpr int lapSamples = 248;
    for (int s = 0; s < RecordImage::MaxSamples; ++s) {
        const int inLap = (s + 60) % lapSamples;
        // Four straights a lap, each a climb then a braking drop.
        const double phase = std::fmod(inLap / double(lapSamples) * 4.0, 1.0);
        const double rpm = phase < 0.8 ? 9200 + 5600 * phase / 0.8 : 14800 - 5600 * (phase - 0.8) / 0.2;
        int code = int(std::lround(rpm / 150.0)) + noise.next(1);
        code = std::max(0, std::min(127, code));
        const bool beacon = inLap == 0 && s > 0;
        image.bytes[std::size_t(RecordImage::sampleOffset(s))] = std::uint8_t(code | (beacon ? 0x80 : 0));
    }
    return image;
}

}  // namespace tormel::demo
