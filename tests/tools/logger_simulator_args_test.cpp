#include "logger_simulator_args.h"

#include <gtest/gtest.h>

#include <variant>

namespace tormel::simulator {
namespace {

TEST(LoggerSimulator, ByteDeadlines)
{
    // 10 bits a byte at 9600 baud: 1041.67 µs a byte, 960 bytes a second.
    const std::pair<std::int64_t, std::int64_t> cases[] = {
        {0, 1041}, {1, 2083}, {2, 3125}, {959, 1'000'000}, {2047, 2'133'333}, {4095, 4'266'666}};
    for (const auto& [index, micros] : cases)
        EXPECT_EQ(byteDeadline(index), micros) << index;
}

TEST(LoggerSimulator, ParsesOptions)
{
    struct Case {
        QStringList arguments;
        int stopAfter;
        int extra;
        bool fast;
        bool help;
        QString record;
    };
    const Case cases[] = {
        {{"r.Tml", "/dev/pts/3"}, 2048, 0, false, false, "r.Tml"},
        {{"--fast", "r.Tml", "/dev/pts/3"}, 2048, 0, true, false, "r.Tml"},
        {{"r.Tml", "--stop-after", "100", "/dev/pts/3"}, 100, 0, false, false, "r.Tml"},
        {{"--stop-after=0", "r.Tml", "/dev/pts/3"}, 0, 0, false, false, "r.Tml"},
        {{"--stop-after", "2048", "r.Tml", "/dev/pts/3"}, 2048, 0, false, false, "r.Tml"},
        {{"--extra", "5", "--fast", "r.Tml", "/dev/pts/3"}, 2048, 5, true, false, "r.Tml"},
        {{"--extra=1048576", "r.Tml", "/dev/pts/3"}, 2048, 1048576, false, false, "r.Tml"},
        {{"--", "-r.Tml", "/dev/pts/3"}, 2048, 0, false, false, "-r.Tml"},
        {{"--help"}, 2048, 0, false, true, ""},
        {{"-h", "r.Tml"}, 2048, 0, false, true, ""},
    };
    for (const Case& c : cases) {
        const auto parsed = parseArguments(c.arguments);
        const Options* options = std::get_if<Options>(&parsed);
        ASSERT_NE(options, nullptr) << c.arguments.join(' ').toStdString() << ": " << std::get<QString>(parsed).toStdString();
        EXPECT_EQ(options->stopAfter, c.stopAfter) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(options->extra, c.extra) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(options->fast, c.fast) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(options->help, c.help) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(options->record, c.record) << c.arguments.join(' ').toStdString();
        if (!c.help) {
            EXPECT_EQ(options->device, QStringLiteral("/dev/pts/3"));
        }
    }
}

TEST(LoggerSimulator, RefusesBadArguments)
{
    // The arguments, then a word the one-line error must hold.
    const std::pair<QStringList, QString> cases[] = {
        {{}, "RECORD and DEVICE"},
        {{"r.Tml"}, "RECORD and DEVICE"},
        {{"r.Tml", "/dev/pts/3", "more"}, "RECORD and DEVICE"},
        {{"--bogus", "r.Tml", "/dev/pts/3"}, "--bogus"},
        {{"--fast=1", "r.Tml", "/dev/pts/3"}, "--fast=1"},
        {{"--help", "--bogus"}, "--bogus"},
        {{"r.Tml", "/dev/pts/3", "--stop-after"}, "--stop-after"},
        {{"--stop-after", "ten", "r.Tml", "/dev/pts/3"}, "ten"},
        {{"--stop-after", "2049", "r.Tml", "/dev/pts/3"}, "2049"},
        {{"--stop-after=-1", "r.Tml", "/dev/pts/3"}, "-1"},
        {{"--extra", "", "r.Tml", "/dev/pts/3"}, "--extra"},
        {{"--extra", "1048577", "r.Tml", "/dev/pts/3"}, "1048577"},
        {{"--stop-after", "10", "--extra", "5", "r.Tml", "/dev/pts/3"}, "together"},
    };
    for (const auto& [arguments, word] : cases) {
        const auto parsed = parseArguments(arguments);
        const QString* error = std::get_if<QString>(&parsed);
        ASSERT_NE(error, nullptr) << arguments.join(' ').toStdString();
        EXPECT_TRUE(error->contains(word)) << error->toStdString();
        EXPECT_FALSE(error->contains(QLatin1Char('\n'))) << error->toStdString();
    }
}

TEST(LoggerSimulator, BytesSent)
{
    QByteArray image(imageSize, '\0');
    for (int i = 0; i < imageSize; ++i)
        image[i] = char(i % 251);
    Options options;
    EXPECT_EQ(bytesToSend(image, options), image);

    options.stopAfter = 3;
    EXPECT_EQ(bytesToSend(image, options), image.left(3));
    options.stopAfter = 0;
    EXPECT_TRUE(bytesToSend(image, options).isEmpty());

    // Extra bytes repeat the image from its start, round again past its end.
    options.stopAfter = imageSize;
    options.extra = imageSize + 2;
    const QByteArray sent = bytesToSend(image, options);
    EXPECT_EQ(sent, image + image + image.left(2));
}

}  // namespace
}  // namespace tormel::simulator
