#pragma once

// The pure part of logger_simulator: its command line, what it sends and
// when each byte is due.

#include "record/record_image.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <variant>

namespace tormel::simulator {

inline constexpr int imageSize = RecordImage::Size;
inline constexpr int baudRate = 9600;
inline constexpr int bitsPerByte = 10;  // 8N1: start bit, 8 data bits, stop bit
inline constexpr int maxExtraBytes = 1 << 20;

struct Options {
    QString record;
    QString device;
    int stopAfter = imageSize;  // bytes of the image sent
    int extra = 0;              // bytes sent after the image: the image again from its start
    bool fast = false;          // no pacing
    int chunk = 1;              // bytes handed over at a time, as a USB adapter does
    bool help = false;
};

// The arguments without the program's name; an error is one line without
// the program's name.
std::variant<Options, QString> parseArguments(const QStringList& arguments);

QString helpText();

// Microseconds from the start by which byte `index` has left the line at
// 9600 baud 8N1. Each byte has its own deadline so that late wake-ups do not
// add up.
std::int64_t byteDeadline(std::int64_t index);

// The bytes sent for the image, in order.
QByteArray bytesToSend(const QByteArray& image, const Options& options);

}  // namespace tormel::simulator
