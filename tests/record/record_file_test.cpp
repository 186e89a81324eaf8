#include "record/record_file.h"

#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

RecordImage patternImage()
{
    RecordImage image;
    for (int k = 0; k < RecordImage::Size; ++k)
        image.Data_Chrono[std::size_t(k)] = std::uint8_t(k * 7 + 3);
    return image;
}

TEST(RecordFile, RoundTripWritesImageThenTrackLittleEndian)
{
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("round.Tml"));
    const RecordImage image = patternImage();
    for (const auto& [track, tail] : {std::pair{std::int16_t(5), QByteArray("\x05\x00", 2)}, {std::int16_t(-2), QByteArray("\xFE\xFF")}}) {
        ASSERT_TRUE(Sauve_Fichier(path, image, track));
        EXPECT_EQ(readBytes(path), QByteArray(reinterpret_cast<const char*>(image.Data_Chrono.data()), 2048) + tail);
        const LoadedRecord loaded = Charge_Fichier(path);
        EXPECT_EQ(loaded.errorNumber, 0);
        EXPECT_EQ(loaded.image.Data_Chrono, image.Data_Chrono);
        ASSERT_TRUE(loaded.trackNumber.has_value());
        EXPECT_EQ(*loaded.trackNumber, track);
    }
}

TEST(RecordFile, ShortLongAndOddSizedFiles)
{
    TempFolder folder;
    const QByteArray full(reinterpret_cast<const char*>(patternImage().Data_Chrono.data()), 2048);
    struct Case {
        qsizetype size;
        bool hasTrack;
        int track;
    };
    const Case cases[] = {{0, false, 0}, {1000, false, 0}, {2048, false, 0}, {2049, true, 0x42}, {2050, true, 0x1142}};
    for (const auto& c : cases) {
        QByteArray bytes = full.left(std::min<qsizetype>(c.size, 2048));
        if (c.size > 2048)
            bytes.append(char(0x42));
        if (c.size > 2049)
            bytes.append(char(0x11));
        const QString path = folder.file(QStringLiteral("f%1.Tml").arg(c.size));
        writeBytes(path, bytes);
        const LoadedRecord loaded = Charge_Fichier(path);
        EXPECT_EQ(loaded.errorNumber, 0) << c.size;
        for (int k = 0; k < 2048; ++k) {
            const std::uint8_t expected = k < c.size ? std::uint8_t(full.at(k)) : 0;
            ASSERT_EQ(loaded.image.Data_Chrono[std::size_t(k)], expected) << c.size << " at " << k;
        }
        EXPECT_EQ(loaded.trackNumber.has_value(), c.hasTrack) << c.size;
        if (c.hasTrack) {
            EXPECT_EQ(*loaded.trackNumber, c.track) << c.size;
        }
    }
}

TEST(RecordFile, HugeFileReadsOnlyTheRecord)
{
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("huge.Tml"));
    QByteArray bytes(10 * 1024 * 1024, char(0x33));
    bytes[2048] = char(7);
    bytes[2049] = char(0);
    writeBytes(path, bytes);
    const LoadedRecord loaded = Charge_Fichier(path);
    EXPECT_EQ(loaded.errorNumber, 0);
    EXPECT_EQ(loaded.image.Data_Chrono[2047], 0x33);
    EXPECT_EQ(*loaded.trackNumber, 7);
}

TEST(RecordFile, UnreadableFileGivesZeroImageAndAnError)
{
    TempFolder folder;
    const LoadedRecord missing = Charge_Fichier(folder.file(QStringLiteral("missing.Tml")));
    EXPECT_NE(missing.errorNumber, 0);
    EXPECT_FALSE(missing.errorText.isEmpty());
    EXPECT_EQ(missing.image.Data_Chrono, RecordImage{}.Data_Chrono);
    EXPECT_FALSE(missing.trackNumber.has_value());
}

TEST(RecordFile, SaveOntoAFolderFailsAndLeavesItAlone)
{
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("taken.Tml"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("taken.Tml")));
    QString error;
    EXPECT_FALSE(Sauve_Fichier(path, patternImage(), 3, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(path).isDir());
}

}  // namespace
}  // namespace tormel
