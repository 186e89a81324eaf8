#include "base/units.h"

#include "base/number_format.h"

namespace tormel {

SpeedUnit speedUnitOf(int stored)
{
    return stored == int(SpeedUnit::MilesPerHour) ? SpeedUnit::MilesPerHour : SpeedUnit::KilometresPerHour;
}

TemperatureUnit temperatureUnitOf(int stored)
{
    return stored == int(TemperatureUnit::Fahrenheit) ? TemperatureUnit::Fahrenheit : TemperatureUnit::Celsius;
}

double speedIn(double kilometresPerHour, SpeedUnit unit)
{
    // The factor in single precision, as the lap table has always taken it:
    // its last digit depends on it.
    constexpr auto perMile = static_cast<float>(1.0 / 1.609344);
    return unit == SpeedUnit::MilesPerHour ? kilometresPerHour * double(perMile) : kilometresPerHour;
}

double temperatureIn(double celsius, TemperatureUnit unit)
{
    return unit == TemperatureUnit::Fahrenheit ? celsius * 9.0 / 5.0 + 32.0 : celsius;
}

double celsiusOf(double shown, TemperatureUnit unit)
{
    return unit == TemperatureUnit::Fahrenheit ? (shown - 32.0) * 5.0 / 9.0 : shown;
}

int convertTemperature(int temperature, TemperatureUnit measured, TemperatureUnit shown)
{
    if (measured == shown)
        return temperature;
    const double converted = measured == TemperatureUnit::Fahrenheit ? celsiusOf(temperature, TemperatureUnit::Fahrenheit)
                                                                     : temperatureIn(temperature, shown);
    return int(roundHalfEven(converted));
}

QString temperatureUnitCaption(TemperatureUnit unit)
{
    return unit == TemperatureUnit::Fahrenheit ? QStringLiteral("°F") : QStringLiteral("°C");
}

QString speedUnitSymbol(SpeedUnit unit)
{
    return unit == SpeedUnit::MilesPerHour ? QStringLiteral("mph") : QStringLiteral("km/h");
}

}  // namespace tormel
