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

TEST(formatNumber, PatternLanguageWithBothSeparators)
{
    const FormatCase cases[] = {
        {87.25, "000.0", "087.2", "087,2"},  // tie on the exact value: to even
        {87.35, "000.0", "087.3", "087,3"},  // 87.35 is stored just below .35
        {9.95, "0.0", "9.9", "9,9"},         {0.125, "#0.00", "0.12", "0,12"},
        {0.00005, "##0.0###", "0.0001", "0,0001"},  // stored just above the tie
        {1234.5, "000.0", "1234.5", "1234,5"},
        {12345.0, "0 000", "12 345", "12 345"},  // the leftmost placeholder takes the rest
        {12.5, "x.0", "x12.5", "x12,5"},  // no integer placeholder: digits after the text
        {0.5, "x.0", "x.5", "x,5"},          {0.0, "#####", "", ""},
        {6543.0, "#####", "6543", "6543"},   {0.0, "####0", "0", "0"},
        {25.38333, "##0.00", "25.38", "25,38"}, {0.5, "##0.00", "0.50", "0,50"},
        {2.0, "#0.00", "2.00", "2,00"},      {3.25, "00.0s", "03.2s", "03,2s"},
        {5.3, " #0.0", " 5.3", " 5,3"},      {7.0, "  00", "  07", "  07"},
        {0.62137, "##0.0###", "0.6214", "0,6214"}, {0.0, "##0.0###", "0.0", "0,0"},
        {1000.0, "#0.0###", "1000.0", "1000,0"},
        {2.5, "0", "2", "2"},                {3.5, "0", "4", "4"},
        {-2.5, "0", "-2", "-2"},             {7.0, "0000", "0007", "0007"},
        {-5.25, "0.0", "-5.2", "-5,2"},      {-999.95, "##0.00", "-999.95", "-999,95"},
        {-0.01, "0.0", "0.0", "0,0"},  // rounds to zero: no sign
        {-0.0, "0.0", "0.0", "0,0"},
        {0x1p53 + 2.0, "0.0", "9007199254740994.0", "9007199254740994,0"},
        {-5e300, "0", "-1000000000000000019884624838656", "-1000000000000000019884624838656"},  // bounded at 1e30
        {NAN, "0.0", "", ""},                {-INFINITY, "0.0", "", ""},
    };
    for (const auto& c : cases) {
        const QString pattern = QString::fromLatin1(c.pattern);
        EXPECT_EQ(formatNumber(c.value, pattern, QLatin1Char('.')), QString::fromLatin1(c.point)) << c.value << " in " << c.pattern;
        EXPECT_EQ(formatNumber(c.value, pattern, QLatin1Char(',')), QString::fromLatin1(c.comma)) << c.value << " in " << c.pattern;
        QString appended = QStringLiteral("x");
        NumberPattern(pattern).appendTo(appended, c.value, QLatin1Char('.'));
        EXPECT_EQ(appended, QLatin1Char('x') + QString::fromLatin1(c.point)) << c.value << " in " << c.pattern;
    }
}

TEST(NumberPattern, ShownValueIsTheNumberOfTheText)
{
    const char* const patterns[] = {"000.0", "##0.00", "0", "#0.0###", "#####"};
    std::vector<double> values = {87.25, 87.35, 0.125, -2.5, 3.5, 9.95, -0.04, 0.00005, 1e15 + 0.5,
                                  0x1p53 + 2.0, 5e300, -5e300, 4.9e-324, NAN, INFINITY};
    constexpr unsigned seed = 20240307;
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (int i = 0; i < 500; ++i) {
        values.push_back(unit(random) * 1e4);
        values.push_back(std::round(unit(random) * 1e6) / 1000.0);  // near decimal ties
        values.push_back(std::round(unit(random) * 1e5) / 8.0);     // exact binary ties
    }
    for (const char* text : patterns) {
        const NumberPattern pattern(QString::fromLatin1(text));
        for (const double value : values) {
            const NumberPattern::Shown shown = pattern.formatShown(value, QLatin1Char('.'));
            ASSERT_EQ(shown.text, pattern.format(value, QLatin1Char('.'))) << text;
            ASSERT_EQ(shown.value, leadingNumber(shown.text))
                << QString::number(value, 'g', 17).toStdString() << " in \"" << text << "\", seed " << seed;
        }
    }
}

TEST(LeadingNumber, ReadsTheNumberAtTheStart)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"087.3", 87.3}, {".5", 0.5}, {"1,5", 1.0},   {"", 0.0},      {"abc", 0.0},   {"  -4.5x", -4.5}, {"+2", 2.0},
        {"1e3", 1000.0}, {"2e", 2.0}, {"2e-", 2.0},   {"-", 0.0},     {"1e999", INFINITY}, {"-1e999", -INFINITY},
        {"1e-999", 0.0}, {"000000000000000000000000000000000000000000000000000000000000000000001.5", 1.5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(leadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;
}

}  // namespace
}  // namespace tormel
