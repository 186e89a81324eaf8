#include "base/number_format.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

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

NumberPattern::NumberPattern(const QString& pattern)
{
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    hasPoint_ = point >= 0;
    integerPattern_ = hasPoint_ ? pattern.left(point) : pattern;
    fractionPattern_ = hasPoint_ ? pattern.mid(point + 1) : QString();
    for (QChar c : integerPattern_)
        if (isPlaceholder(c))
            ++integerPlaceholders_;
    for (QChar c : fractionPattern_) {
        if (isPlaceholder(c)) {
            ++decimals_;
            if (c == QLatin1Char('0'))
                forcedDecimals_ = decimals_;
        }
    }
    // A sign, the separator, every character of the pattern and all the
    // digits the integer placeholders may have to take.
    maxLength_ = 2 + integerPattern_.size() + MaxIntegerDigits + fractionPattern_.size();
}

namespace {

// Room for one formatted text: on the stack unless the pattern is unusually long.
class TextBuffer {
public:
    explicit TextBuffer(qsizetype size)
    {
        if (size > qsizetype(std::size(local_))) {
            heap_ = std::make_unique<char16_t[]>(std::size_t(size));
            data_ = heap_.get();
        }
    }
    char16_t* data() const { return data_; }

private:
    char16_t local_[80];
    std::unique_ptr<char16_t[]> heap_;
    char16_t* data_ = local_;
};

}  // namespace

QString NumberPattern::format(double value, QChar decimalSeparator) const
{
    // Written on the stack first, then copied once into a string of the
    // exact size.
    const TextBuffer buffer(maxLength_);
    const qsizetype length = write(value, decimalSeparator, buffer.data());
    return length > 0 ? QString(reinterpret_cast<const QChar*>(buffer.data()), length) : QString();
}

void NumberPattern::appendTo(QString& text, double value, QChar decimalSeparator) const
{
    const TextBuffer buffer(maxLength_);
    const qsizetype length = write(value, decimalSeparator, buffer.data());
    if (length > 0)
        text.append(reinterpret_cast<const QChar*>(buffer.data()), length);
}

qsizetype NumberPattern::write(double value, QChar decimalSeparator, char16_t* const begin) const
{
    if (!std::isfinite(value))
        return 0;
    // Same bound as Format: 31 integer digits at most.
    constexpr double largest = 1e30;
    if (std::fabs(value) > largest)
        value = std::copysign(largest, value);
    const double magnitude = std::fabs(value);

    char local[64];
    std::unique_ptr<char[]> heap;
    const std::size_t capacity = MaxIntegerDigits + 2 + std::size_t(decimals_);
    char* digits = local;
    if (capacity > sizeof local) {
        heap = std::make_unique<char[]>(capacity);
        digits = heap.get();
    }
    // Whole numbers are exact as integers, and those are much cheaper to
    // print; their fraction digits are all zeros. Anything else is rounded
    // by to_chars on the exact binary value, ties to even, as printf does.
    const bool whole = magnitude < 0x1p53 && magnitude == std::floor(magnitude);
    const char* fraction = nullptr;
    std::size_t integerCount = 0;
    if (whole) {
        integerCount = std::size_t(std::to_chars(digits, digits + capacity, static_cast<std::int64_t>(magnitude)).ptr - digits);
    } else {
        const char* end = std::to_chars(digits, digits + capacity, magnitude, std::chars_format::fixed, decimals_).ptr;
        integerCount = std::size_t(end - digits) - std::size_t(decimals_) - (decimals_ > 0 ? 1 : 0);
        fraction = digits + integerCount + 1;
    }
    const auto fractionDigit = [&](int k) { return fraction ? fraction[k] : '0'; };
    // A "#" never shows a leading zero.
    if (integerCount == 1 && digits[0] == '0')
        integerCount = 0;

    int shownDecimals = decimals_;
    while (shownDecimals > forcedDecimals_ && fractionDigit(shownDecimals - 1) == '0')
        --shownDecimals;
    bool nonZero = integerCount > 0;  // no leading zeros left
    for (int k = 0; k < shownDecimals && !nonZero; ++k)
        nonZero = fractionDigit(k) != '0';
    const bool negative = value < 0 && nonZero;

    char16_t* out = begin;
    if (negative)
        *out++ = u'-';

    // Integer placeholders take digits from the right; the leftmost one
    // takes every digit left over.
    const auto count = qsizetype(integerCount);
    const qsizetype missing = integerPlaceholders_ - count;
    qsizetype placeholder = 0;
    for (QChar c : integerPattern_) {
        if (!isPlaceholder(c)) {
            *out++ = c.unicode();
            continue;
        }
        if (placeholder == 0 && missing <= 0) {
            for (qsizetype k = 0; k <= -missing; ++k)
                *out++ = char16_t(digits[k]);
        } else if (placeholder >= missing) {
            *out++ = char16_t(digits[placeholder - missing]);
        } else if (c == QLatin1Char('0')) {
            *out++ = u'0';
        }
        ++placeholder;
    }
    if (integerPlaceholders_ == 0)
        for (qsizetype k = 0; k < count; ++k)
            *out++ = char16_t(digits[k]);

    if (hasPoint_) {
        *out++ = decimalSeparator.unicode();
        int used = 0;
        for (QChar c : fractionPattern_) {
            if (!isPlaceholder(c))
                *out++ = c.unicode();
            else if (used < shownDecimals)
                *out++ = char16_t(fractionDigit(used++));
        }
    }
    return out - begin;
}

namespace {

// Only ASCII digits: a number the program wrote never holds other ones.
bool isAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The leading number of text, the character at pointAt (if any) read as ".".
double readLeadingNumber(QStringView text, qsizetype pointAt)
{
    const auto at = [&](qsizetype k) { return k == pointAt ? u'.' : text[k].unicode(); };
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && (at(i) == u' ' || at(i) == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < n && (at(i) == u'+' || at(i) == u'-'))
        ++i;
    bool anyDigit = false;
    for (; i < n && isAsciiDigit(at(i)); ++i)
        anyDigit = true;
    if (i < n && at(i) == u'.')
        for (++i; i < n && isAsciiDigit(at(i)); ++i)
            anyDigit = true;
    if (!anyDigit)
        return 0.0;
    // An exponent counts only with digits: "2e" reads as 2.
    qsizetype end = i;
    if (i < n && (at(i) == u'e' || at(i) == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (at(j) == u'+' || at(j) == u'-'))
            ++j;
        const qsizetype digits = j;
        while (j < n && isAsciiDigit(at(j)))
            ++j;
        if (j > digits)
            end = j;
    }

    // Everything kept is ASCII; the usual few characters stay off the heap.
    const auto length = std::size_t(end - start);
    char local[64];
    std::string heap;
    char* number = local;
    if (length > sizeof local) {
        heap.resize(length);
        number = heap.data();
    }
    for (std::size_t k = 0; k < length; ++k) {
        const char16_t c = at(start + qsizetype(k));
        number[k] = c == u'E' ? 'e' : char(c);
    }
    const std::string_view view(number, length);

    double value = 0.0;
    const char* first = number;
    if (*first == '+')
        ++first;
    const auto [last, error] = std::from_chars(first, number + length, value);
    (void)last;
    if (error == std::errc::result_out_of_range) {
        if (view.find("e-") != std::string_view::npos)
            return 0.0;
        return view.front() == '-' ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    return value;
}

float toFloat(double value)
{
    if (std::fabs(value) > std::numeric_limits<float>::max())
        return value < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

}  // namespace

double leadingNumber(const QString& text)
{
    return readLeadingNumber(text, -1);
}

float readFormattedNumber(QStringView text)
{
    return toFloat(readLeadingNumber(text, text.indexOf(QLatin1Char(','))));
}

}  // namespace tormel
