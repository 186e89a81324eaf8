#pragma once

#include "record/record_image.h"

#include <random>

namespace tormel::bench {

// The largest lap-timing record: 99 laps in three sectors, every other byte random.
inline RecordImage lapImage()
{
    RecordImage image;
    std::mt19937 random(7);
    for (auto& b : image.bytes)
        b = std::uint8_t(random());
    image.bytes[97] = 0;
    image.bytes[33] = 2;
    image.bytes[160] = 100;
    image.bytes[192] = 17;
    return image;
}

// The largest engine-speed record: 1984 samples, a beacon every 60.
inline RecordImage rpmImage()
{
    RecordImage image;
    std::mt19937 random(11);
    for (auto& b : image.bytes)
        b = std::uint8_t(random() % 100);
    for (int s = 0; s < RecordImage::MaxSamples; s += 60)
        image.bytes[std::size_t(RecordImage::sampleOffset(s))] |= 128;
    image.bytes[97] = 1;
    image.bytes[33] = 0;
    image.bytes[104] = 0;
    image.bytes[105] = 4;  // 2048 words announced, 1984 samples read
    return image;
}

}  // namespace tormel::bench
