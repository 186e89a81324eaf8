#include "record/record_image.h"

namespace tormel {

LapRow RecordImage::lap(int L) const
{
    LapRow row;
    if (L < 0 || L > MaxLaps)
        return row;
    const int times = 8 * (32 + L);
    const int summary = 8 * (132 + L);
    for (int k = 0; k < 3; ++k)
        row.sectors[std::size_t(k)] = bigEndian16(times + 2 * k);
    row.lapTime = bigEndian16(times + 6);
    row.maxRpmOver10 = bigEndian16(summary);
    row.temperature = byte(summary + 2);
    row.stage = byte(summary + 3);
    row.engine = byte(summary + 4);
    return row;
}

int RecordImage::sampleOffset(int s)
{
    // Bank 0 after its 32 header words, then banks 1, 2 and 3 whole; a bank is
    // a pair of columns, one 16-bit word per row.
    constexpr int bank0Samples = 2 * (256 - 32);
    int bank = 0;
    int index = s;
    int firstRow = 32;
    if (s >= bank0Samples) {
        index = s - bank0Samples;
        bank = 1 + index / 512;
        index %= 512;
        firstRow = 0;
    }
    const int row = firstRow + index / 2;
    const int column = 2 * bank + index % 2;
    return 8 * row + column;
}

}  // namespace tormel
