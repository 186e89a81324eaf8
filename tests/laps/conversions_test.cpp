#include "laps/conversions.h"

#include "base/number_format.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tormel {
namespace {

TEST(Time_Convert, MinutesSecondsHundredths)
{
    const std::pair<float, const char*> cases[] = {
        {6543.0F, "1'05\"43"},
        {0.0F, "00\"00"},
        {5999.0F, "59\"99"},
        {6000.0F, "1'00\"00"},
        {5999.6F, "1'00\"00"},  // the whole part rounds up to a minute
        {5999.4F, "59\"99"},
        {196605.0F, "32'46\"05"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(Time_Convert(value), QString::fromUtf8(text)) << value;
    EXPECT_EQ(Time_Convert(NAN), QStringLiteral("00\"00"));
}

TEST(Temp_Convert, OnlyConvertsBetweenDifferentUnits)
{
    struct Case {
        int t;
        char unit;
        int choice;
        int expected;
    };
    const Case cases[] = {
        {212, 'F', 0, 100}, {100, 'F', 0, 38}, {100, 'F', 1, 100},
        {37, 'C', 1, 99},   {100, 'C', 0, 100}, {0, 'F', 0, -18},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Temp_Convert(c.t, QLatin1Char(c.unit), c.choice), c.expected) << c.t << c.unit << c.choice;
}

TEST(Vitesse, FromWholeMetresAndHundredths)
{
    ASSERT_TRUE(vitesse(1000.0F, 4500.0, 0).has_value());
    EXPECT_EQ(Format(*vitesse(1000.0F, 4500.0, 0), QStringLiteral("000.0"), QLatin1Char('.')), QStringLiteral("080.0"));
    EXPECT_EQ(Format(*vitesse(1000.0F, 4500.0, 1), QStringLiteral("000.0"), QLatin1Char('.')), QStringLiteral("049.7"));
    EXPECT_EQ(Format(*vitesse(1000.0F, 4500.0, 1), QStringLiteral("000.0"), QLatin1Char(',')), QStringLiteral("049,7"));
    // Metres are taken whole, ties to even: 1000.5 m counts as 1000 m.
    EXPECT_DOUBLE_EQ(*vitesse(1000.5F, 4500.0, 0), 80.0);
    EXPECT_DOUBLE_EQ(*vitesse(1001.5F, 4500.0, 0), 1002.0 * 360.0 / 4500.0);

    EXPECT_FALSE(vitesse(0.0F, 4500.0, 0).has_value());
    for (const auto& [metres, hundredths] : {std::pair{-3.0F, 4500.0}, {1000.0F, 0.0}, {NAN, 4500.0}, {INFINITY, 4500.0}})
        EXPECT_FALSE(vitesse(metres, hundredths, 0).has_value()) << metres << " " << hundredths;
    // The largest finite length still gives a finite speed.
    EXPECT_TRUE(std::isfinite(*vitesse(3.4e38F, 1.0, 0)));
}

}  // namespace
}  // namespace tormel
