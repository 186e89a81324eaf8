#pragma once

#include <array>
#include <cstdint>

namespace tormel {

// One lap of a lap-timing record: its time row and its summary row.
struct LapRow {
    std::array<std::uint16_t, 3> sectors{};  // sector times, hundredths
    std::uint16_t lapTime = 0;               // lap time, hundredths
    std::uint16_t maxRpmOver10 = 0;          // maximum engine speed / 10
    std::uint8_t temperature = 0;            // before temperatureOffset
    std::uint8_t stage = 0;                  // stage byte
    std::uint8_t engine = 0;                 // engine number minus one
};

// The logger's 2048-byte memory, exactly as it came over the line. Any 2048
// bytes are a valid image; every accessor stays inside it.
class RecordImage {
public:
    static constexpr int Size = 2048;
    static constexpr int MaxLaps = 99;          // lap rows 33..131 and 133..231
    static constexpr int MaxSamples = Size - 64;
    static constexpr int RangeCount = 32;

    std::array<std::uint8_t, Size> bytes{};

    std::uint8_t byte(int offset) const { return bytes[std::size_t(offset)]; }
    // Row r, column c of the 256 x 8 view: byte 8r + c.
    int byteAt(int row, int column) const { return bytes[std::size_t(8 * row + column)]; }
    std::uint16_t bigEndian16(int offset) const { return std::uint16_t(byte(offset) << 8 | byte(offset + 1)); }
    std::uint16_t littleEndian16(int offset) const { return std::uint16_t(byte(offset + 1) << 8 | byte(offset)); }

    // Header fields.
    std::uint16_t serialSecondPart() const { return bigEndian16(0); }
    std::uint16_t serialFirstPart() const { return bigEndian16(8); }
    std::uint16_t softwareVersion() const { return bigEndian16(16); }
    std::uint16_t hardwareVersion() const { return bigEndian16(24); }
    std::uint8_t flags() const { return byte(32); }
    std::uint8_t sectorMode() const { return byte(33); }
    std::uint8_t temperatureLimit() const { return byte(40); }
    // Engine counters of engines 0..4 as BCD bytes: hours, minutes.
    std::uint8_t engineHoursBcd(int engine) const { return byte(8 * (engine + 7)); }
    std::uint8_t engineMinutesBcd(int engine) const { return byte(8 * (engine + 7) + 1); }
    std::uint8_t recordMode() const { return byte(97); }
    bool isRpmRecording() const { return (recordMode() & 1) != 0; }
    std::uint8_t lowPointer() const { return byte(104); }
    std::uint8_t highPointer() const { return byte(105); }
    std::uint8_t temperatureOffset() const { return byte(113); }
    std::uint8_t rpmFactorByte() const { return byte(121); }
    std::uint8_t lapCountPlusOne() const { return byte(160); }
    std::uint8_t stageCount() const { return byte(161); }
    std::uint8_t bestLap() const { return byte(192); }

    // Lap L for L = 0..99 (lap 0 is the never-shown predecessor of lap 1).
    // Laps past 99 have no room in the image and read as zero.
    LapRow lap(int L) const;

    // Time spent in engine-speed range i (0..31) during the best lap, hundredths.
    std::uint16_t rangeTime(int i) const { return bigEndian16(8 * i + 4); }

    // Sample s (0..1983) of an engine-speed recording, in stream order.
    std::uint8_t sample(int s) const { return s < 0 || s >= MaxSamples ? 0 : byte(sampleOffset(s)); }
    static int sampleOffset(int s);  // s in 0..1983
};

}  // namespace tormel
