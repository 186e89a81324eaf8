#include "laps/conversions.h"

#include "base/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace tormel {

QString lapTimeText(float hundredths)
{
    // Recorded times are at most a few hundred thousand hundredths; the bound
    // only keeps a nonsense value from overflowing the integer parts.
    double duration = std::isfinite(hundredths) ? double(hundredths) : 0.0;
    duration = std::clamp(duration, -1e12, 1e12);
    const auto whole = static_cast<std::int64_t>(roundHalfEven(duration));
    const std::int64_t minutes = whole / 6000;
    const auto rest = static_cast<std::int64_t>(roundHalfEven(duration - double(minutes) * 6000.0));
    const std::int64_t seconds = rest / 100;
    const std::int64_t hundredthsPart = rest % 100;

    // Whole numbers: no decimal separator to look up. Built in one buffer,
    // since tables convert several times per lap.
    static const NumberPattern twoDigits(QStringLiteral("00"));
    QString text;
    text.reserve(32);
    if (minutes >= 1) {
        char buffer[24];
        const char* end = std::to_chars(buffer, buffer + sizeof buffer, minutes).ptr;
        text.append(QLatin1StringView(buffer, end - buffer));
        text.append(QLatin1Char('\''));
    }
    twoDigits.appendTo(text, double(seconds), QLatin1Char('.'));
    text.append(QLatin1Char('"'));
    twoDigits.appendTo(text, double(hundredthsPart), QLatin1Char('.'));
    return text;
}

bool isLengthGiven(float distanceMetres)
{
    return std::isfinite(distanceMetres) && distanceMetres > 0.0F && distanceMetres <= maxTrackLength;
}

std::optional<double> speedFor(float distanceMetres, double hundredths, SpeedUnit unit)
{
    if (!isLengthGiven(distanceMetres) || !(hundredths > 0.0))
        return std::nullopt;
    // The metres are taken whole; in double the product cannot overflow.
    const double kmh = roundHalfEven(distanceMetres) * 360.0 / hundredths;
    return speedIn(kmh, unit);
}

}  // namespace tormel
