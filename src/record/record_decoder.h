#pragma once

#include "base/units.h"
#include "record/record_image.h"

#include <QChar>
#include <QString>

#include <array>
#include <cstdint>

namespace tormel {

// What the logger recorded, by a header bit; None before any record is decoded.
enum class RecordKind { None, LapTiming, EngineSpeed };

// What the decoder reads off an image: shared record values and the header
// read-outs, before any lap or sample analysis.
struct DecodedRecord {
    RecordKind kind = RecordKind::None;
    // Laps announced by the header (byte 160 minus one), -1 for byte 0.
    // Bounded to the 99 laps the image has room for.
    int lapCount = -1;
    int rpmFactor = 2;
    int beaconsPerLap = 1;
    int lowPointer = 0;
    int highPointer = 0;
    // Samples announced by the header, bounded to the 1984 the image holds;
    // below 10 the record has no usable data.
    std::int32_t sampleCount = 0;
    int temperatureOffset = 0;
    // The unit the logger measured its temperatures in.
    TemperatureUnit measuredTemperatureUnit = TemperatureUnit::Celsius;

    QString serialNumber;
    QString softwareVersionText;
    QString hardwareVersionText;
    QString temperatureLimitText;
    std::array<QString, 5> engineTimes;
    QString stageCountText;
    QString modeText;
};

// Decodes the header of any 2048 bytes. `stagesCaption` is texts(19).
DecodedRecord decodeRecord(const RecordImage& image, const QString& stagesCaption);

// The serial number as the window shows it: first part, then the second
// on at least four digits (12 and 1111 give 121111).
QString serialNumberText(const RecordImage& image);

// An engine counter as hours:minutes from its two BCD bytes (0x05, 0x30 -> 5:30).
QString engineTimeText(std::uint8_t hoursBcd, std::uint8_t minutesBcd);

}  // namespace tormel
