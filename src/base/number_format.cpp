#include "base/number_format.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
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

// Beyond this, a fixed-point text would take hundreds of digits; no display
// needs them. It has 31 integer digits.
double bounded(double value)
{
    constexpr double largest = 1e30;
    return std::fabs(value) > largest ? std::copysign(largest, value) : value;
}

// The digits of a magnitude rounded at `decimals` places, as to_chars writes
// them: "123.45", or "123" for a whole number, whose fraction digits are all
// zeros. Whole numbers are exact as integers, and those are much cheaper to
// print; anything else is rounded by to_chars on the exact binary value,
// ties to even, as printf does.
class DecimalDigits {
public:
    DecimalDigits(double magnitude, int decimals, int maxIntegerDigits)
        : magnitude_(magnitude)
    {
        const std::size_t capacity = std::size_t(maxIntegerDigits) + 2 + std::size_t(decimals);
        if (capacity > sizeof local_) {
            heap_ = std::make_unique<char[]>(capacity);
            digits_ = heap_.get();
        }
        if (magnitude < 0x1p53 && magnitude == std::floor(magnitude)) {
            end_ = std::to_chars(digits_, digits_ + capacity, static_cast<std::int64_t>(magnitude)).ptr;
            integerCount_ = end_ - digits_;
        } else {
            end_ = std::to_chars(digits_, digits_ + capacity, magnitude, std::chars_format::fixed, decimals).ptr;
            integerCount_ = (end_ - digits_) - decimals - (decimals > 0 ? 1 : 0);
            fraction_ = digits_ + integerCount_ + 1;
        }
    }

    DecimalDigits(const DecimalDigits&) = delete;
    DecimalDigits& operator=(const DecimalDigits&) = delete;

    const char* begin() const { return digits_; }
    const char* end() const { return end_; }
    qsizetype integerCount() const { return integerCount_; }
    // Null when the digits hold no fraction: all zeros.
    const char* fraction() const { return fraction_; }
    // The number the digits stand for.
    double magnitude() const
    {
        if (!fraction_)
            return magnitude_;  // a whole number, printed exactly
        double rounded = 0.0;
        std::from_chars(digits_, end_, rounded);
        return rounded;
    }

private:
    double magnitude_;
    char local_[64];
    std::unique_ptr<char[]> heap_;
    char* digits_ = local_;
    const char* end_ = local_;
    const char* fraction_ = nullptr;
    qsizetype integerCount_ = 0;
};

char fractionDigit(const char* fraction, int k)
{
    return fraction ? fraction[k] : '0';
}

}  // namespace

QString formatNumber(double value, const QString& pattern, QChar decimalSeparator)
{
    return NumberPattern(pattern).format(value, decimalSeparator);
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

NumberPattern::Shown NumberPattern::formatShown(double value, QChar decimalSeparator) const
{
    const TextBuffer buffer(maxLength_);
    Shown shown;
    const qsizetype length = write(value, decimalSeparator, buffer.data(), &shown.value);
    if (length > 0)
        shown.text = QString(reinterpret_cast<const QChar*>(buffer.data()), length);
    return shown;
}

qsizetype NumberPattern::write(double value, QChar decimalSeparator, char16_t* const begin, double* shown) const
{
    if (!std::isfinite(value))
        return 0;
    value = bounded(value);
    // The value is read off the very digits the text is written from, so both round alike.
    const DecimalDigits digits(std::fabs(value), decimals_, MaxIntegerDigits);
    if (shown)
        // Adding zero turns a rounded -0 into the unsigned 0 that the text shows.
        *shown = (value < 0 ? -digits.magnitude() : digits.magnitude()) + 0.0;
    // A "#" never shows a leading zero.
    qsizetype integerCount = digits.integerCount();
    if (integerCount == 1 && *digits.begin() == '0')
        integerCount = 0;

    // Fraction digits past the last "0" are dropped while they are zeros.
    const char* fraction = digits.fraction();
    int shownDecimals = decimals_;
    while (shownDecimals > forcedDecimals_ && fractionDigit(fraction, shownDecimals - 1) == '0')
        --shownDecimals;
    // A value that rounds to zero is shown without its sign.
    bool nonZero = integerCount > 0;  // no leading zeros left
    for (int k = 0; k < shownDecimals && !nonZero; ++k)
        nonZero = fractionDigit(fraction, k) != '0';

    char16_t* out = begin;
    if (value < 0 && nonZero)
        *out++ = u'-';
    out = writeIntegerPart(digits.begin(), integerCount, out);
    if (hasPoint_) {
        *out++ = decimalSeparator.unicode();
        out = writeFractionPart(fraction, shownDecimals, out);
    }
    return out - begin;
}

char16_t* NumberPattern::writeIntegerPart(const char* digits, qsizetype count, char16_t* out) const
{
    // Placeholders take digits from the right; the leftmost one takes every
    // digit left over.
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
    return out;
}

char16_t* NumberPattern::writeFractionPart(const char* fraction, int shownDecimals, char16_t* out) const
{
    int used = 0;
    for (QChar c : fractionPattern_) {
        if (!isPlaceholder(c))
            *out++ = c.unicode();
        else if (used < shownDecimals)
            *out++ = char16_t(fractionDigit(fraction, used++));
    }
    return out;
}

namespace {

// Only ASCII digits: a number the program wrote never holds other ones.
bool isAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

}  // namespace

double leadingNumber(QStringView text)
{
    const auto at = [&](qsizetype k) { return text[k].unicode(); };
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

}  // namespace tormel
