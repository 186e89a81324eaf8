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

TEST(RecordFile, SaveWritesImageThenTrackLittleEndian)
{
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("run1.Tml"));
    ASSERT_TRUE(Sauve_Fichier(path, patternImage(), 5));
    const QByteArray bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 2050);
    EXPECT_EQ(bytes.left(2048), QByteArray(reinterpret_cast<const char*>(patternImage().Data_Chrono.data()), 2048));
    EXPECT_EQ(std::uint8_t(bytes.at(2048)), 5);
    EXPECT_EQ(std::uint8_t(bytes.at(2049)), 0);

    ASSERT_TRUE(Sauve_Fichier(path, patternImage(), -2));
    const QByteArray negative = readBytes(path);
    EXPECT_EQ(std::uint8_t(negative.at(2048)), 0xFE);
    EXPECT_EQ(std::uint8_t(negative.at(2049)), 0xFF);
}

TEST(RecordFile, RoundTripGivesSameImageAndTrack)
{
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("round.Tml"));
    const RecordImage image = patternImage();
    for (std::int16_t track : {std::int16_t(1), std::int16_t(-1)}) {
        ASSERT_TRUE(Sauve_Fichier(path, image, track));
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

    const LoadedRecord directory = Charge_Fichier(folder.path());
    EXPECT_NE(directory.errorNumber, 0);
    EXPECT_EQ(directory.image.Data_Chrono, RecordImage{}.Data_Chrono);
}

TEST(RecordFile, FailedSaveKeepsTheOldFileWhole)
{
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("keep.Tml"));
    ASSERT_TRUE(Sauve_Fichier(path, patternImage(), 3));
    const QByteArray before = readBytes(path);

    QString error;
    EXPECT_FALSE(Sauve_Fichier(folder.file(QStringLiteral("no/such/folder/x.Tml")), patternImage(), 3, &error));
    EXPECT_FALSE(error.isEmpty());

    // A save onto a folder's name fails without touching the folder.
    const QString folderPath = folder.file(QStringLiteral("taken.Tml"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("taken.Tml")));
    EXPECT_FALSE(Sauve_Fichier(folderPath, patternImage(), 3));
    EXPECT_TRUE(QFileInfo(folderPath).isDir());
    EXPECT_EQ(readBytes(path), before);
}

TEST(RecordFile, NamesAndCaption)
{
    const RecordNames names = Nommer_Commentaire(QStringLiteral("/data/run1.Tml"));
    EXPECT_EQ(names.Nom_Record, QStringLiteral("/data/run1"));
    EXPECT_EQ(names.Fichier_Commentaire, QStringLiteral("/data/run1.TXT"));
    EXPECT_EQ(Nommer_Commentaire(QStringLiteral("ab")).Fichier_Commentaire, QStringLiteral(".TXT"));
    EXPECT_EQ(recordCaption(QStringLiteral("/data/run1.Tml"), QStringLiteral("121111")),
              QStringLiteral("/data/run1.Tml   SN:121111"));
}

}  // namespace
}  // namespace tormel
