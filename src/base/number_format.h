#pragma once

#include <QChar>
#include <QString>

namespace tormel {

// The decimal separator of the user's regional settings. Every number the
// program shows or reads back goes through it; models take it as a value so
// tests can run with both "," and ".".
QChar systemDecimalSeparator();

// Nearest whole number, ties to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// Formats a number with a pattern: "0" a digit always shown, "#" a digit
// shown only when significant, "." the decimal separator, anything else
// copied. Rounds at the last decimal the pattern shows, ties to even, on the
// exact value as stored (87.25 in "000.0" gives 087.2).
QString Format(double value, const QString& pattern, QChar decimalSeparator = systemDecimalSeparator());

// Reads back a number the program formatted itself: the first "," becomes
// "." in the caller's text, then the leading number is read with "." as the
// only decimal separator. Text without a leading number gives 0.
float Nombre(QString& text);

// The same reading without touching the caller's text.
double leadingNumber(const QString& text);

}  // namespace tormel
