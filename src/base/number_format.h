#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

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

// The same formatting with the pattern read once, for patterns applied to
// every row of a table (keep one as a function-local static). Gives exactly
// what Format gives, with a single allocation per text.
class NumberPattern {
public:
    explicit NumberPattern(const QString& pattern);

    QString format(double value, QChar decimalSeparator = systemDecimalSeparator()) const;
    // Appends the formatted value to text, so a caller can assemble a longer
    // text in one buffer.
    void appendTo(QString& text, double value, QChar decimalSeparator = systemDecimalSeparator()) const;

private:
    // |value| is bounded at 1e30, which has 31 digits.
    static constexpr int MaxIntegerDigits = 31;

    // Writes the text at out, which has room for maxLength_ characters;
    // returns its length.
    qsizetype write(double value, QChar decimalSeparator, char16_t* out) const;

    QString integerPattern_;   // before the first "."
    QString fractionPattern_;  // after it
    bool hasPoint_ = false;
    int integerPlaceholders_ = 0;
    int decimals_ = 0;        // placeholders after the point
    int forcedDecimals_ = 0;  // up to the last "0" after the point
    qsizetype maxLength_ = 0;
};

// Reads back a number the program formatted itself: the first "," counts as
// ".", then the leading number is read with "." as the only decimal
// separator. Text without a leading number gives 0.
float readFormattedNumber(QStringView text);

// The same reading without touching the caller's text.
double leadingNumber(const QString& text);

}  // namespace tormel
