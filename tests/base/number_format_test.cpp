#include "base/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace tormel {
namespace {

struct FormatCase {
    double value;
    const char* pattern;
    const char* point;  // expected with "." as separator
    const char* comma;  // expected with "," as separator
};

TEST(Format, PatternLanguageWithBothSeparators)
{
    const FormatCase cases[] = {
        {87.25, "000.0", "087.2", "087,2"},  // tie on the exact value: to even
        {87.35, "000.0", "087.3", "087,3"},  // 87.35 is stored just below .35
        {1234.5, "000.0", "1234.5", "1234,5"},
        {0.0, "#####", "", ""},
        {6543.0, "#####", "6543", "6543"},
        {0.0, "####0", "0", "0"},
        {25.38333, "##0.00", "25.38", "25,38"},
        {0.5, "##0.00", "0.50", "0,50"},
        {3.25, "00.0s", "03.2s", "03,2s"},
        {5.3, " #0.0", " 5.3", " 5,3"},
        {7.0, "  00", "  07", "  07"},
        {0.62137, "##0.0###", "0.6214", "0,6214"},
        {0.0, "##0.0###", "0.0", "0,0"},
        {1000.0, "#0.0###", "1000.0", "1000,0"},
        {2.5, "0", "2", "2"},
        {7.0, "0000", "0007", "0007"},
        {-5.25, "0.0", "-5.2", "-5,2"},
        {-0.01, "0.0", "0.0", "0,0"},  // rounds to zero: no sign
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Format(c.value, QString::fromLatin1(c.pattern), QLatin1Char('.')), QString::fromLatin1(c.point))
            << c.value << " in " << c.pattern;
        EXPECT_EQ(Format(c.value, QString::fromLatin1(c.pattern), QLatin1Char(',')), QString::fromLatin1(c.comma))
            << c.value << " in " << c.pattern;
    }
}

TEST(NumberPattern, MatchesFormatOnEveryPatternInUse)
{
    // The patterns the program formats with, plus "0.0" and "#0.00" for
    // rounding to zero from below and two forced decimals.
    const char* const patterns[] = {"000.0", "#####", "####0", "00", "  00", "  #0", "0000",
                                    "##0.00", "##0.0###", "#0.0###", "0.0", "#0.00"};
    std::vector<double> values = {0.0, -0.0, 87.25, 87.35, 0.125, 2.5, -2.5, 3.5, 0.05, 1e15 + 0.5, -0.04, 0.04,
                                  9.95, 99.95, -999.95, -0.0005, 0.00005, 123456789.125, 0x1p53, 0x1p53 + 2.0,
                                  1e30, -1e30, 5e300, -5e300, 4.9e-324, NAN, INFINITY, -INFINITY};
    constexpr unsigned seed = 20240307;
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (int i = 0; i < 1000; ++i) {
        values.push_back(unit(random) * 1e4);
        values.push_back(std::round(unit(random) * 1e6) / 1000.0);  // near decimal ties
        values.push_back(std::round(unit(random) * 1e5) / 8.0);     // exact binary ties
    }
    for (const char* text : patterns) {
        const QString pattern = QString::fromLatin1(text);
        const NumberPattern fast(pattern);
        for (const QChar separator : {QLatin1Char(','), QLatin1Char('.')}) {
            for (const double value : values) {
                const QString expected = Format(value, pattern, separator);
                QString appended = QStringLiteral("x");
                fast.appendTo(appended, value, separator);
                ASSERT_EQ(fast.format(value, separator), expected)
                    << QString::number(value, 'g', 17).toStdString() << " in \"" << text << "\" with "
                    << char(separator.unicode()) << ", seed " << seed;
                ASSERT_EQ(appended, QStringLiteral("x") + expected) << QString::number(value, 'g', 17).toStdString();
            }
        }
    }
}

TEST(Nombre, ReadsBackOwnFormatsAndChangesFirstComma)
{
    struct Case {
        const char* text;
        float value;
        const char* after;
    };
    const Case cases[] = {
        {"1,234,5", 1.234F, "1.234,5"},
        {"087,3", 87.3F, "087.3"},
        {",5", 0.5F, ".5"},
        {"", 0.0F, ""},
        {"abc", 0.0F, "abc"},
        {"  -4.5x", -4.5F, "  -4.5x"},
        {"1e3", 1000.0F, "1e3"},
        {"2e", 2.0F, "2e"},
        {"-", 0.0F, "-"},
        {"1e999", INFINITY, "1e999"},
        {"1e-999", 0.0F, "1e-999"},
        {"000000000000000000000000000000000000000000000000000000000000000000001,5", 1.5F,
         "000000000000000000000000000000000000000000000000000000000000000000001.5"},
    };
    for (const auto& c : cases) {
        QString text = QString::fromLatin1(c.text);
        EXPECT_FLOAT_EQ(readNombre(text), c.value) << c.text;
        EXPECT_FLOAT_EQ(Nombre(text), c.value) << c.text;
        EXPECT_EQ(text, QString::fromLatin1(c.after)) << c.text;
    }
}

}  // namespace
}  // namespace tormel
