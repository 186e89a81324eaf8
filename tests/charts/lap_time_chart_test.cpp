#include "charts/canvas.h"
#include "charts/lap_time_chart.h"
#include "laps/laps_records.h"

#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>

namespace tormel {
namespace {

std::vector<std::uint16_t> timesFrom(int count)
{
    std::vector<std::uint16_t> times(std::size_t(count), 0);
    for (int i = 0; i < count; ++i)
        times[std::size_t(i)] = std::uint16_t(6000 + (i * 37) % 400);
    return times;
}

// A chart laid out on a 19200 x 14400 twips screen, under a lap table of
// 3000 twips, drawing the lap times of the given laps.
struct Chart {
    explicit Chart(const std::vector<std::uint16_t>& times, const std::array<bool, LapFlagCount>& flags = {},
                   int sortColumn = LapNumberColumn)
        : eliminated(flags), table(test::lapTableOf(test::lapsOfTimes(times), flags, sortColumn))
    {
        chart.layOut(19200, 14400, 3000);
        chart.setTable(table);
        chart.setEliminatedLaps(eliminated);
        chart.setChartWindow(lapChartWindow(table.lapCount, 19200));
        chart.drawLaps(0, RawLapTimeColumn);
    }
    const QImage& image() const { return chart.Picture1()->image(); }
    CanvasTransform transform() const { return chart.Picture1()->transform(); }
    QColor bars() const { return chart.Picture1()->drawingColour(); }
    // Pixel at x within slot k (from 0), halfway up a bar of value v.
    QColor pixelOfBar(int slot, double value, double x = 0.5) const
    {
        return image().pixelColor(transform().pixel({slot + x, (value + double(chart.bottom())) / 2.0}));
    }
    QStringList slotLabels(int from, int to) const
    {
        QStringList labels;
        for (int i = from; i <= to; ++i)
            labels << (chart.Label13(i)->isHidden() ? QString() : chart.Label13(i)->text());
        return labels;
    }

    // The chart draws from these: they outlive it.
    std::array<bool, LapFlagCount> eliminated;
    LapTable table;
    LapTimeChart chart;
};

TEST(LapTimeChart, OneSlotPerLapInTableOrderSixtyAtMost)
{
    Chart c(timesFrom(12));
    EXPECT_TRUE(c.chart.HScroll1()->isHidden());
    EXPECT_EQ(c.chart.title(), QStringLiteral("Temps"));
    // Slot i shows row i + 2, which is lap i + 1 in lap order.
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(c.pixelOfBar(i, c.table.cell(i + 2, RawLapTimeColumn).value.value_or(0)), c.bars()) << i;
    EXPECT_EQ(c.slotLabels(0, 12), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", ""}));
    // Sorted by lap time: the fastest lap comes first.
    EXPECT_EQ(Chart({6300, 6100, 6200}, {}, 13).slotLabels(0, 2), (QStringList{"2", "3", "1"}));

    Chart many(timesFrom(75));
    many.chart.HScroll1()->setValue(15);
    // Rows 17 to 76 hold laps 16 to 75.
    EXPECT_EQ(many.slotLabels(0, 1) + many.slotLabels(59, 59), (QStringList{"16", "17", "75"}));
    EXPECT_EQ(many.pixelOfBar(59, many.table.cell(76, RawLapTimeColumn).value.value_or(0)), many.bars());
}

TEST(LapTimeChart, ClickingABarAsksForItsLap)
{
    Chart c(timesFrom(12));
    QSignalSpy toggled(&c.chart, &LapTimeChart::lapToggled);
    c.chart.Picture1_MouseDown({.left = true}, {}, 2.5, 0);
    // A real click, through the canvas's coordinates, on slot 8.
    QTest::mouseClick(c.chart.Picture1(), Qt::RightButton, {}, c.transform().pixel({7.5, double(c.chart.bottom())}) - QPoint(0, 40));
    // Left of the chart, right of the last bar, nowhere at all: nothing.
    for (const double x : {-0.5, 12.0, 59.5, 1e300, -1e300, std::numeric_limits<double>::quiet_NaN()})
        c.chart.Picture1_MouseDown({.left = true}, {}, x, 0);
    // A lap number sits on its bar, but a click on it is no click on the bar.
    QTest::mouseClick(c.chart.Label13(3), Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_EQ(toggled.count(), 2);
    EXPECT_EQ(std::pair(toggled[0][0].toInt(), toggled[1][0].toInt()), std::pair(3, 8));
}

TEST(LapTimeChart, EliminatedLapIsBlackAndKeepsItsNumber)
{
    std::array<bool, LapFlagCount> eliminated{};
    eliminated[3] = true;
    Chart c({6000, 6100, 6400, 6200}, eliminated);
    // On a grey background, so that black tells an eliminated bar from no bar.
    c.chart.Picture1()->setBackgroundColour(QColor(50, 50, 50));
    c.chart.drawLaps(0, RawLapTimeColumn);
    EXPECT_EQ(c.pixelOfBar(2, 6400), QColor(0, 0, 0));
    EXPECT_EQ(c.image().pixelColor(c.transform().pixel({2.95, 6100.0})), QColor(50, 50, 50));
    EXPECT_EQ(c.pixelOfBar(1, 6100), c.bars());
    EXPECT_EQ(c.slotLabels(2, 2), QStringList{"3"});
}

TEST(LapTimeChart, PointingOutlinesTheBarAndTakesTheOldOutlineBack)
{
    Chart c({6000, 6100, 6400, 6200, 6300, 6150});
    const QColor green(0, 255, 0);
    // Slot 0 is the outlined slot to start with: pointing at it does nothing.
    c.chart.Picture1_MouseMove({}, {}, 0.5, 0);
    EXPECT_EQ(c.pixelOfBar(0, 6000, 0.1), c.bars());
    EXPECT_TRUE(c.chart.Label12()->text().isEmpty());

    c.chart.Picture1_MouseMove({}, {}, 3.7, 0);
    EXPECT_EQ(c.pixelOfBar(3, 6200, 0.1), green);
    EXPECT_EQ(c.pixelOfBar(3, 6200), c.bars());
    EXPECT_EQ(c.chart.Label12()->text(), lapReadoutLine(c.table, 5, 4));
    c.chart.Picture1_MouseMove({}, {}, 4.2, 0);
    EXPECT_EQ(c.pixelOfBar(3, 6200, 0.1), c.bars());
    EXPECT_EQ(c.pixelOfBar(4, 6300, 0.1), green);
    EXPECT_EQ(c.chart.Label12()->text(), lapReadoutLine(c.table, 6, 5));
}

}  // namespace
}  // namespace tormel
