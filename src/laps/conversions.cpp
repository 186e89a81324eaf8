#include "laps/conversions.h"

#include "base/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tormel {

QString Time_Convert(float hundredths)
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

    QString text;
    if (minutes >= 1)
        text = QString::number(minutes) + QLatin1Char('\'');
    // Whole numbers: no decimal separator to look up.
    text += Format(double(seconds), QStringLiteral("00"), QLatin1Char('.')) + QLatin1Char('"')
        + Format(double(hundredthsPart), QStringLiteral("00"), QLatin1Char('.'));
    return text;
}

int Temp_Convert(int temperature, QChar uniteTempRecord, int choixTemp)
{
    const double t = temperature;
    if (uniteTempRecord == QLatin1Char('F'))
        return choixTemp == 0 ? int(roundHalfEven((t - 32.0) * 5.0 / 9.0)) : temperature;
    return choixTemp == 1 ? int(roundHalfEven(t * 9.0 / 5.0 + 32.0)) : temperature;
}

bool longueurDonnee(float distanceMetres)
{
    return std::isfinite(distanceMetres) && distanceMetres > 0.0F;
}

std::optional<double> vitesse(float distanceMetres, double hundredths, int choixVitesse)
{
    if (!longueurDonnee(distanceMetres) || !(hundredths > 0.0))
        return std::nullopt;
    // The metres are taken whole; in double the product cannot overflow.
    const double kmh = roundHalfEven(distanceMetres) * 360.0 / hundredths;
    return kmh * double(Facteur_Vitesse[choixVitesse == 1 ? 1 : 0]);
}

}  // namespace tormel
