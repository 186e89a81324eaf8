#include "base/number_format.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tormel {

QChar systemDecimalSeparator()
{
    // Asking the system locale is slow and its answer does not change while we run.
    static const QChar separator = [] {
        const QString point = QLocale::system().decimalPoint();
        return point.isEmpty() ? QChar('.') : point.at(0);
    }();
    return separator;
}

double roundHalfEven(double value)
{
    // The default floating-point rounding mode is to nearest, ties to even.
    return std::nearbyint(value);
}

namespace {

bool isPlaceholder(QChar c)
{
    return c == QLatin1Char('0') || c == QLatin1Char('#');
}

// Digits of |value| rounded to `decimals` places, split at the point. glibc
// prints the exact binary value and rounds it in the current rounding mode,
// which is to nearest with ties to even.
void roundedDigits(double value, int decimals, QString& integerDigits, QString& fractionDigits)
{
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::fabs(value));
    const QString text = QString::fromLatin1(buffer);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    integerDigits = point < 0 ? text : text.left(point);
    fractionDigits = point < 0 ? QString() : text.mid(point + 1);
}

}  // namespace

QString Format(double value, const QString& pattern, QChar decimalSeparator)
{
    if (!std::isfinite(value))
        return QString();
    // Beyond this, "%f" would print hundreds of digits; no display needs them.
    constexpr double largest = 1e30;
    if (std::fabs(value) > largest)
        value = std::copysign(largest, value);

    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QString integerPattern = point < 0 ? pattern : pattern.left(point);
    const QString fractionPattern = point < 0 ? QString() : pattern.mid(point + 1);

    int decimals = 0;
    int forcedDecimals = 0;
    for (QChar c : fractionPattern) {
        if (isPlaceholder(c)) {
            ++decimals;
            if (c == QLatin1Char('0'))
                forcedDecimals = decimals;
        }
    }

    QString integerDigits;
    QString fractionDigits;
    roundedDigits(value, decimals, integerDigits, fractionDigits);
    // A "#" never shows a leading zero: the integer part of 0.5 in "#.0" is empty.
    if (integerDigits == QLatin1String("0"))
        integerDigits.clear();

    // Fraction digits past the last "0" are dropped while they are zeros.
    int shownDecimals = decimals;
    while (shownDecimals > forcedDecimals && fractionDigits.at(shownDecimals - 1) == QLatin1Char('0'))
        --shownDecimals;

    // A value that rounds to zero is shown without its sign.
    const auto nonZero = [](const QString& digits) {
        for (QChar c : digits)
            if (c != QLatin1Char('0'))
                return true;
        return false;
    };
    const bool negative = value < 0 && (nonZero(integerDigits) || nonZero(fractionDigits.left(shownDecimals)));

    // Integer part: placeholders filled from the right; digits beyond the
    // placeholders all go in front of the leftmost one.
    QString integerText;
    qsizetype digit = integerDigits.size();
    qsizetype leftmost = -1;
    for (qsizetype i = 0; i < integerPattern.size(); ++i) {
        if (isPlaceholder(integerPattern.at(i))) {
            leftmost = i;
            break;
        }
    }
    for (qsizetype i = integerPattern.size() - 1; i >= 0; --i) {
        const QChar c = integerPattern.at(i);
        if (!isPlaceholder(c)) {
            integerText.prepend(c);
            continue;
        }
        if (i == leftmost) {
            if (digit > 0)
                integerText.prepend(integerDigits.left(digit));
            else if (c == QLatin1Char('0'))
                integerText.prepend(QLatin1Char('0'));
            digit = 0;
        } else if (digit > 0) {
            integerText.prepend(integerDigits.at(--digit));
        } else if (c == QLatin1Char('0')) {
            integerText.prepend(QLatin1Char('0'));
        }
    }
    if (leftmost < 0 && digit > 0)
        integerText.append(integerDigits.left(digit));

    QString fractionText;
    int used = 0;
    for (QChar c : fractionPattern) {
        if (!isPlaceholder(c)) {
            fractionText.append(c);
        } else if (used < shownDecimals) {
            fractionText.append(fractionDigits.at(used++));
        }
    }

    QString result = integerText;
    if (point >= 0) {
        result.append(decimalSeparator);
        result.append(fractionText);
    }
    if (negative)
        result.prepend(QLatin1Char('-'));
    return result;
}

double leadingNumber(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t')))
        ++i;
    QByteArray number;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        number.append(char(text.at(i++).unicode()));
    bool anyDigit = false;
    while (i < n && text.at(i).isDigit() && text.at(i).unicode() < 128) {
        number.append(char(text.at(i++).unicode()));
        anyDigit = true;
    }
    if (i < n && text.at(i) == QLatin1Char('.')) {
        number.append('.');
        ++i;
        while (i < n && text.at(i).isDigit() && text.at(i).unicode() < 128) {
            number.append(char(text.at(i++).unicode()));
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0.0;
    if (i < n && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        QByteArray exponent("e");
        if (j < n && (text.at(j) == QLatin1Char('+') || text.at(j) == QLatin1Char('-')))
            exponent.append(char(text.at(j++).unicode()));
        bool exponentDigit = false;
        while (j < n && text.at(j).isDigit() && text.at(j).unicode() < 128) {
            exponent.append(char(text.at(j++).unicode()));
            exponentDigit = true;
        }
        if (exponentDigit)
            number.append(exponent);
    }
    double value = 0.0;
    const char* first = number.constData();
    if (*first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, number.constData() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        if (number.contains("e-"))
            return 0.0;
        return number.startsWith('-') ? -std::numeric_limits<double>::infinity()
                                      : std::numeric_limits<double>::infinity();
    }
    return value;
}

float Nombre(QString& text)
{
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma >= 0)
        text[comma] = QLatin1Char('.');
    const double value = leadingNumber(text);
    if (std::fabs(value) > std::numeric_limits<float>::max())
        return value < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

}  // namespace tormel
