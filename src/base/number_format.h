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
// exact value as stored (87.25 in "000.0" gives 087.2). Reads the pattern
// each time: a pattern applied to every row of a table is a NumberPattern.
QString formatNumber(double value, const QString& pattern, QChar decimalSeparator = systemDecimalSeparator());

// A pattern read once (keep one as a function-local static), writing each
// text with a single allocation.
class NumberPattern {
public:
    explicit NumberPattern(const QString& pattern);

    QString format(double value, QChar decimalSeparator = systemDecimalSeparator()) const;
    // Appends the formatted value to text, so a caller can assemble a longer
    // text in one buffer.
    void appendTo(QString& text, double value, QChar decimalSeparator = systemDecimalSeparator()) const;
    // A text with the number its digits show (0 for a text without digits),
    // so that a model keeps the value its reader sees without reading it back.
    struct Shown {
        QString text;
        double value = 0.0;
    };
    Shown formatShown(double value, QChar decimalSeparator = systemDecimalSeparator()) const;

private:
    // |value| is bounded at 1e30, which has 31 digits.
    static constexpr int MaxIntegerDigits = 31;

    // Writes the text at out, which has room for maxLength_ characters;
    // returns its length. Sets *shown, when given, to the number of the text.
    qsizetype write(double value, QChar decimalSeparator, char16_t* out, double* shown = nullptr) const;
    char16_t* writeIntegerPart(const char* digits, qsizetype count, char16_t* out) const;
    // fraction null: all its digits are zeros.
    char16_t* writeFractionPart(const char* fraction, int shownDecimals, char16_t* out) const;

    QString integerPattern_;   // before the first "."
    QString fractionPattern_;  // after it
    bool hasPoint_ = false;
    int integerPlaceholders_ = 0;
    int decimals_ = 0;        // placeholders after the point
    int forcedDecimals_ = 0;  // up to the last "0" after the point
    qsizetype maxLength_ = 0;
};

// The leading number of a text, "." its only decimal separator, an exponent
// counting only with its digits ("2e" reads as 2). Text without a leading
// number gives 0.
double leadingNumber(QStringView text);

}  // namespace tormel
