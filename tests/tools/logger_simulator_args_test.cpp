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

TEST(LoggerSimulator, ArgumentsAndTheirErrors)
{
    const auto parsed = parseArguments({"--extra", "5", "--fast", "--chunk=16", "r.Tml", "/dev/pts/3"});
    const Options* options = std::get_if<Options>(&parsed);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(std::tuple(options->stopAfter, options->extra, options->fast, options->chunk, options->record, options->device),
              std::tuple(2048, 5, true, 16, QStringLiteral("r.Tml"), QStringLiteral("/dev/pts/3")));
    // The arguments, then a word the one-line error must hold.
    const std::pair<QStringList, QString> cases[] = {
        {{"r.Tml"}, "RECORD and DEVICE"},
        {{"--bogus", "r.Tml", "/dev/pts/3"}, "--bogus"},
        {{"--stop-after", "2049", "r.Tml", "/dev/pts/3"}, "2049"},
        {{"--stop-after", "10", "--extra", "5", "r.Tml", "/dev/pts/3"}, "together"},
        {{"--chunk", "0", "r.Tml", "/dev/pts/3"}, "--chunk"},
    };
    for (const auto& [arguments, word] : cases) {
        const auto refused = parseArguments(arguments);
        const QString* error = std::get_if<QString>(&refused);
        ASSERT_NE(error, nullptr) << arguments.join(' ').toStdString();
        EXPECT_TRUE(error->contains(word) && !error->contains(QLatin1Char('\n'))) << error->toStdString();
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
