#pragma once

#include <QString>

#include <array>

namespace tormel {

// The units the user reads speeds and temperatures in. Every conversion
// between them is written here, once.
enum class SpeedUnit { KilometresPerHour = 0, MilesPerHour = 1 };
enum class TemperatureUnit { Celsius = 0, Fahrenheit = 1 };

// A stored word (a settings file, the index) as a unit; anything else is the first.
SpeedUnit speedUnitOf(int stored);
TemperatureUnit temperatureUnitOf(int stored);

// Kilometres per hour in `unit`.
double speedIn(double kilometresPerHour, SpeedUnit unit);

// Degrees Celsius in `unit`, and back from a value shown in `unit`.
double temperatureIn(double celsius, TemperatureUnit unit);
double celsiusOf(double shown, TemperatureUnit unit);
// A temperature measured in `measured` as `shown` shows it, rounded half to even.
int convertTemperature(int temperature, TemperatureUnit measured, TemperatureUnit shown);

// "km/h" or "mph", the same in every language.
QString speedUnitSymbol(SpeedUnit unit);

// "°C" or "°F", as the lap table's header and the units menu show it.
QString temperatureUnitCaption(TemperatureUnit unit);

}  // namespace tormel
