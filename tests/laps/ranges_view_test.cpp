#include "laps/ranges_view.h"

#include "laps/laps_records.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace tormel {
namespace {

// Best lap 1 of 6000 hundredths; range 7 the longest, range 5 1523 hundredths.
RangesPanel panel()
{
    RecordImage image = test::lapRecord({{6000}, {6100}}, 0, 1);
    const std::pair<int, int> ranges[] = {{0, 300}, {5, 1523}, {7, 3000}, {8, 750}, {31, 1}};
    for (const auto& [i, time] : ranges)
        test::putBigEndian(image, 8 * i + 4, std::uint16_t(time));
    return Affiche_Tranches(image, frenchTextTables());
}

struct View {
    View()
    {
        view.setDecimalSeparator(QLatin1Char('.'));
        view.Size_Tranches(19200, 14400);
        view.Affiche_Tranches(panel());
        view.show();
    }
    RangesView view;
};

TEST(RangesView, BarsFillInProportionToTheLongestRange)
{
    View v;
    const std::pair<int, double> fills[] = {{7, 100.0}, {5, 1523.0 / 30.0}, {8, 25.0}, {0, 10.0}, {1, 0.0}};
    for (const auto& [i, fill] : fills)
        EXPECT_NEAR(v.view.Tranche(i)->floodPercent(), fill, 1e-4) << i;

    // The full bar is flooded up to its top, the empty one not at all.
    BarPanel* full = v.view.Tranche(7);
    const QImage fullShot = full->grab().toImage();
    EXPECT_EQ(fullShot.pixelColor(full->barArea().center().x(), full->barArea().top()), BarPanel::floodColour());
    // A quarter: flooded below a quarter of the height, not above.
    BarPanel* quarter = v.view.Tranche(8);
    const QImage quarterShot = quarter->grab().toImage();
    const QRect a = quarter->barArea();
    EXPECT_EQ(quarterShot.pixelColor(a.center().x(), a.bottom() - a.height() / 4 + 2), BarPanel::floodColour());
    EXPECT_NE(quarterShot.pixelColor(a.center().x(), a.bottom() - a.height() / 4 - 2), BarPanel::floodColour());
}

TEST(RangesView, ReadOutOfRangeZeroThenOfTheRangeUnderThePointer)
{
    View v;
    EXPECT_EQ(v.view.Label8()->text(), QStringLiteral("Meilleur Tour : 1"));
    EXPECT_EQ(v.view.Label6()->text(), QStringLiteral("0-5120 RPM"));
    EXPECT_EQ(v.view.Label7()->text(), QStringLiteral("03\"00    5.00%"));

    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(v.view.Tranche(5), &move);
    EXPECT_EQ(v.view.Label6()->text(), QStringLiteral("7680-8320 RPM"));
    EXPECT_EQ(v.view.Label7()->text(), QStringLiteral("15\"23    25.38%"));
}

TEST(RangesView, ToolTipNamesTheBarWhenToolTipsAreOn)
{
    View v;
    v.view.Tranche_MouseMove(12);
    EXPECT_EQ(v.view.Tranche(12)->toolTip(), QStringLiteral("Tranche : 12"));
    v.view.setToolTipsOn(false);
    v.view.Tranche_MouseMove(12);
    EXPECT_TRUE(v.view.Tranche(12)->toolTip().isEmpty());
    // Indices that name no bar change nothing.
    v.view.Tranche_MouseMove(32);
    v.view.Tranche_MouseMove(-1);
    EXPECT_EQ(v.view.Label6()->text(), QStringLiteral("12160-12800 RPM"));
}

}  // namespace
}  // namespace tormel
