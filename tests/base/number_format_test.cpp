#include "base/number_format.h"

#include <gtest/gtest.h>

#include <cmath>

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
        {"", 0.0F, ""},
        {"abc", 0.0F, "abc"},
        {"  -4.5x", -4.5F, "  -4.5x"},
        {"1e3", 1000.0F, "1e3"},
        {"2e", 2.0F, "2e"},
        {"-", 0.0F, "-"},
        {"1e999", INFINITY, "1e999"},
        {"1e-999", 0.0F, "1e-999"},
    };
    for (const auto& c : cases) {
        QString text = QString::fromLatin1(c.text);
        EXPECT_FLOAT_EQ(Nombre(text), c.value) << c.text;
        EXPECT_EQ(text, QString::fromLatin1(c.after)) << c.text;
    }
}

}  // namespace
}  // namespace tormel
