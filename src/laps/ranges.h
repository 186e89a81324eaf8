#pragma once

#include "record/record_image.h"
#include "texts/text_tables.h"

#include <QChar>
#include <QString>

#include <array>

namespace tormel {

// The engine-speed ranges of the best lap of a lap-timing record.
struct RangesPanel {
    static constexpr int Count = RecordImage::RangeCount;

    int best = 0;              // the logger's best-lap byte
    float bestLapTime = 0.0F;  // hundredths; 0 when the byte names no lap of the image
    // Hundredths per range. When the recorded ranges add up to more than the
    // lap, they are scaled down together to the lap time.
    std::array<float, Count> rangeTimes{};
    std::array<float, Count> recordedTimes{};  // as the logger stored them
    bool scaled = false;
    float largest = 0.0F;
    std::array<double, Count> fill{};   // per cent of the bar's height, 0..100
    QString bestLapCaption;
};

// "0-5120 RPM", "5120-5760 RPM" ... "24320-24960 RPM".
QString rangeName(int i);
// Bar captions: "0-5.120", " 0- 1" ... " 30- 31".
QString barCaption(int i);

RangesPanel buildRangesPanel(const RecordImage& image, const TextTables& texts);

// Read-out of range i (clamped to 0..31): its label, and its time with its
// share of the best lap ("##0.00" and "%"), the share left out when the
// best lap's time is 0.
struct RangeReadout {
    QString rangeText;
    QString timeText;
};
RangeReadout rangeReadout(const RangesPanel& panel, int i, QChar decimalSeparator);

// Tool tip of bar i: tips(4) and the index when tool tips are on, else empty.
QString rangeToolTip(const TextTables& texts, int i, bool toolTipsOn);

}  // namespace tormel
