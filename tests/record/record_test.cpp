#include "record/engine_hours_layout.h"
#include "record/record_decoder.h"
#include "record/record_file.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <gtest/gtest.h>

#include <set>

namespace tormel {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

RecordImage imageWith(std::initializer_list<std::pair<int, int>> bytes)
{
    RecordImage image;
    for (const auto& [offset, value] : bytes)
        image.bytes[std::size_t(offset)] = std::uint8_t(value);
    return image;
}

const QString stagesCaption = QStringLiteral("Etapes : ");

TEST(DecodeRecord, HeaderReadOuts)
{
    const RecordImage image = imageWith({{8, 0}, {9, 12}, {0, 4}, {1, 87}, {16, 1}, {17, 2}, {24, 0}, {25, 7},
                                         {40, 110}, {161, 3}, {97, 0x41}, {56, 0x12}, {57, 0x05},
                                         {64, 0x05}, {65, 0x30}, {72, 0x03}, {73, 0x45}, {80, 0x99},
                                         {81, 0x59}, {88, 0x00}, {89, 0x07}});
    const DecodedRecord d = decodeRecord(image, stagesCaption);
    EXPECT_EQ((QStringList{d.serialNumber, d.softwareVersionText, d.hardwareVersionText, d.temperatureLimitText, d.stageCountText, d.modeText}),
              (QStringList{"121111", "Soft Ver : 258", "Hard Ver : 7", "T° Max : 110", "Etapes : 3", "Mode : 65"}));
    EXPECT_EQ(QStringList(d.engineTimes.begin(), d.engineTimes.end()), (QStringList{"12:05", "5:30", "3:45", "99:59", "0:07"}));
    EXPECT_EQ(d.kind, RecordKind::EngineSpeed);
    // The serial's second part keeps its leading zeros.
    EXPECT_EQ(serialNumberText(imageWith({{9, 5}, {1, 7}})), QStringLiteral("50007"));
    EXPECT_EQ(serialNumberText(imageWith({{8, 255}, {9, 255}, {0, 255}, {1, 255}})), QStringLiteral("6553565535"));
}

TEST(DecodeRecord, TemperatureUnitRule)
{
    // Byte 9, then bytes 0 and 1 (401, 300, 200, 400, 199), then the unit.
    const std::tuple<int, int, int, char> cases[] = {{8, 1, 145, 'C'}, {7, 1, 44, 'C'}, {8, 0, 200, 'F'}, {8, 1, 144, 'F'}, {8, 0, 199, 'C'}};
    for (const auto& [byte9, b0, b1, unit] : cases)
        EXPECT_EQ(decodeRecord(imageWith({{9, byte9}, {0, b0}, {1, b1}}), stagesCaption).measuredTemperatureUnit, unit == 'F' ? TemperatureUnit::Fahrenheit : TemperatureUnit::Celsius) << byte9 << " " << b0 << " " << b1;
}

TEST(DecodeRecord, RpmFactorBeaconsOffsetsAndCounts)
{
    // Bytes 121 and 32, then the factor.
    const int factors[][3] = {{0x23, 0x02, 3}, {0x23, 0, 3}, {0, 0x02, 4}, {0, 0, 2}, {0x10, 0, 0}};
    for (const auto& f : factors)
        EXPECT_EQ(decodeRecord(imageWith({{121, f[0]}, {32, f[1]}}), stagesCaption).rpmFactor, f[2]) << f[0] << " " << f[1];

    EXPECT_EQ(decodeRecord(imageWith({{33, 2}}), stagesCaption).beaconsPerLap, 3);
    // The temperature offset counts only when bit 5 of byte 32 says it is given.
    EXPECT_EQ(std::pair(decodeRecord(imageWith({{32, 32}, {113, 15}}), stagesCaption).temperatureOffset, decodeRecord(imageWith({{32, 0xDF}, {113, 15}}), stagesCaption).temperatureOffset),
              std::pair(15, 0));
    // Lap and sample counts are bounded.
    for (const auto& [byte, laps] : {std::pair{0, -1}, {1, 0}, {100, 99}, {255, 99}})
        EXPECT_EQ(decodeRecord(imageWith({{160, byte}}), stagesCaption).lapCount, laps) << byte;
    const std::tuple<int, int, int> samples[] = {{37, 0, 10}, {0, 0, -64}, {0, 4, 1984}, {255, 255, 1984}};
    for (const auto& [low, high, count] : samples)
        EXPECT_EQ(decodeRecord(imageWith({{97, 1}, {104, low}, {105, high}}), stagesCaption).sampleCount, count) << low;
}

TEST(RecordImage, SampleStreamCoversEveryDataByteOnce)
{
    std::set<int> offsets;
    for (int s = 0; s < RecordImage::MaxSamples; ++s) {
        const int offset = RecordImage::sampleOffset(s);
        // Never a header word, never outside the image.
        ASSERT_TRUE(offset >= 0 && offset < RecordImage::Size && !(offset < 8 * 32 && offset % 8 < 2)) << s;
        offsets.insert(offset);
    }
    EXPECT_EQ(offsets.size(), std::size_t(RecordImage::MaxSamples));
    // Bank 0 first, two samples a row, then bank 1 from row 0.
    const std::pair<int, int> known[] = {{0, 8 * 32}, {1, 8 * 32 + 1}, {2, 8 * 33}, {447, 8 * 255 + 1},
                                         {448, 2}, {960, 4}, {1983, 8 * 255 + 7}};
    for (const auto& [s, offset] : known)
        EXPECT_EQ(RecordImage::sampleOffset(s), offset) << s;
    RecordImage image;
    image.bytes.fill(0xAA);
    EXPECT_EQ(image.sample(1984), 0);
    EXPECT_EQ(image.sample(-1), 0);
    // Past the lap rows at either end: an empty lap, nothing read.
    EXPECT_EQ(std::pair(int(image.lap(-1).lapTime), int(image.lap(RecordImage::MaxLaps + 1).engine)), std::pair(0, 0));
    EXPECT_EQ(int(image.lap(RecordImage::MaxLaps).engine), 0xAA);
}

// ---- Record files -------------------------------------------------------------

QByteArray bytesOf(const RecordImage& image)
{
    return QByteArray(reinterpret_cast<const char*>(image.bytes.data()), RecordImage::Size);
}

RecordImage patternImage()
{
    RecordImage image;
    for (int k = 0; k < RecordImage::Size; ++k)
        image.bytes[std::size_t(k)] = std::uint8_t(k * 7 + 3);
    return image;
}

TEST(RecordFile, RoundTripWritesImageThenTrackLittleEndian)
{
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("round.Tml"));
    const RecordImage image = patternImage();
    for (const auto& [track, tail] : {std::pair{std::int16_t(5), QByteArray("\x05\x00", 2)}, {std::int16_t(-2), QByteArray("\xFE\xFF")}}) {
        ASSERT_TRUE(saveRecordFile(path, image, track));
        EXPECT_EQ(readBytes(path), bytesOf(image) + tail);
        const LoadedRecord loaded = loadRecordFile(path);
        EXPECT_EQ(loaded.errorNumber, 0);
        EXPECT_EQ(loaded.image.bytes, image.bytes);
        EXPECT_EQ(loaded.trackNumber, std::optional<std::int16_t>(track));
    }
}

TEST(RecordFile, ShortLongOddSizedAndHugeFiles)
{
    TempFolder folder;
    const QByteArray full = bytesOf(patternImage());
    // Size, then the track number read (-1: none). Missing image bytes read as zero.
    const std::pair<qsizetype, int> cases[] = {{0, -1}, {1000, -1}, {2048, -1}, {2049, 0x42}, {2050, 0x1142}, {10 * 1024 * 1024, 0x1142}};
    for (const auto& [size, track] : cases) {
        QByteArray bytes = full.left(size) + QByteArray("\x42\x11", 2) + QByteArray(std::max<qsizetype>(0, size - 2050), '\x33');
        bytes.truncate(size);
        const QString path = folder.file(QStringLiteral("f%1.Tml").arg(size));
        writeBytes(path, bytes);
        const LoadedRecord loaded = loadRecordFile(path);
        EXPECT_EQ(loaded.errorNumber, 0) << size;
        EXPECT_EQ(bytesOf(loaded.image), full.left(size) + QByteArray(std::max<qsizetype>(0, 2048 - size), '\0')) << size;
        EXPECT_EQ(loaded.trackNumber, track < 0 ? std::nullopt : std::optional<std::int16_t>(std::int16_t(track))) << size;
    }
}

TEST(RecordFile, UnreadableFileGivesZeroImageAndAnErrorSavingOntoAFolderFails)
{
    TempFolder folder;
    const LoadedRecord missing = loadRecordFile(folder.file(QStringLiteral("missing.Tml")));
    EXPECT_NE(missing.errorNumber, 0);
    EXPECT_FALSE(missing.errorText.isEmpty());
    EXPECT_EQ(missing.image.bytes, RecordImage{}.bytes);
    EXPECT_FALSE(missing.trackNumber.has_value());

    // A folder in the record's place is left alone.
    const QString path = folder.file(QStringLiteral("taken.Tml"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("taken.Tml")));
    QString error;
    EXPECT_FALSE(saveRecordFile(path, patternImage(), 3, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST(EngineHoursLayout, FiveEqualColumnsWithTheButtonUnderTheMiddleOne)
{
    const EngineHoursLayout l = engineHoursLayout({600, 900, 6240, 5000}, 300, 1200, 400);
    EXPECT_EQ(l.titles[0], (TwipsRect{120, 240, 1200, 300}));
    EXPECT_EQ(l.values[4], (TwipsRect{4920, 540, 1200, 300}));
    EXPECT_EQ(l.closeButton, (TwipsRect{2520, 960, 1200, 400}));
    EXPECT_EQ(l.frame, (TwipsRect{600, 900, 6240, 1480}));
}

}  // namespace
}  // namespace tormel
