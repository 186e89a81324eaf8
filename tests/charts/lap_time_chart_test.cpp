#include "charts/canvas.h"
#include "charts/lap_tables.h"
#include "charts/lap_time_chart.h"

#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tormel {
namespace {

constexpr int ScreenWidth = 19200;
constexpr int ScreenHeight = 14400;

std::vector<std::uint16_t> timesFrom(int count, int first = 6000)
{
    std::vector<std::uint16_t> times;
    for (int i = 0; i < count; ++i)
        times.push_back(std::uint16_t(first + (i * 37) % 400));
    return times;
}

// A chart laid out on a 19200 x 14400 twips screen, under a lap table of
// 3000 twips, drawing the given laps.
struct Chart {
    explicit Chart(const std::vector<std::uint16_t>& times, std::array<bool, TourElimineCount> eliminated = {},
                   int sortColumn = 0)
        : table(test::lapTableOf(test::lapsOfTimes(times), eliminated, sortColumn))
    {
        chart.Size_Graphique_Chronos(ScreenWidth, ScreenHeight, 3000);
        chart.setTable(table);
        chart.setTourElimine(eliminated);
        chart.setChartWindow(lapChartWindow(table.nTours, ScreenWidth));
        chart.Affiche_New_Graphique(0, 13);
    }

    const QImage& image() const { return chart.Picture1()->image(); }
    CanvasTransform transform() const { return chart.Picture1()->transform(); }
    QColor bars() const { return chart.Picture1()->drawingColour(); }
    QColor background() const { return chart.Picture1()->backgroundColour(); }
    // Pixel at x within slot k (from 0), halfway up a bar of value v.
    QColor pixelOfBar(int slot, double value, double x = 0.5) const
    {
        return image().pixelColor(transform().pixel({slot + x, (value + double(chart.Bas_Graphique())) / 2.0}));
    }
    QColor middleOfBar(int slot, double value) const { return pixelOfBar(slot, value); }
    QColor leftBorder(int slot, double value) const { return pixelOfBar(slot, value, 0.1); }
    std::vector<QString> slotLabels(int from, int to) const
    {
        std::vector<QString> labels;
        for (int i = from; i <= to; ++i)
            labels.push_back(chart.Label13(i)->text());
        return labels;
    }
    int greenPixels() const
    {
        int n = 0;
        for (int y = 0; y < image().height(); ++y)
            for (int x = 0; x < image().width(); ++x)
                n += image().pixelColor(x, y) == QColor(0, 255, 0) ? 1 : 0;
        return n;
    }

    LapTable table;
    LapTimeChart chart;
};

TEST(LapTimeChart, ShortRecordGetsOneSlotPerLapAndNoScrollBar)
{
    Chart c(timesFrom(12));
    EXPECT_EQ(c.chart.Tours_Ecran(), 12);
    EXPECT_TRUE(c.chart.HScroll1()->isHidden());
    EXPECT_EQ(c.chart.title(), QStringLiteral("Temps"));
    for (int i = 1; i <= 12; ++i) {
        // Slot i shows row i + 1, which is lap i in lap order.
        const QLabel* label = c.chart.Label13(i - 1);
        EXPECT_FALSE(label->isHidden()) << i;
        EXPECT_EQ(label->text(), QString::number(i));
        EXPECT_EQ(c.middleOfBar(i - 1, c.table.cell(i + 1, 13).key.value_or(0)), c.bars()) << i;
    }
    EXPECT_TRUE(c.chart.Label13(12)->isHidden());
    // The gap between two bars is background.
    EXPECT_EQ(c.image().pixelColor(c.transform().pixel({1.0, double(c.chart.Bas_Graphique()) + 1})), c.background());
}

TEST(LapTimeChart, LongRecordScrollsThroughSixtySlots)
{
    Chart c(timesFrom(75));
    EXPECT_EQ(c.chart.Tours_Ecran(), 60);
    EXPECT_FALSE(c.chart.HScroll1()->isHidden());
    EXPECT_EQ(c.chart.HScroll1()->minimum(), 0);
    EXPECT_EQ(c.chart.HScroll1()->maximum(), 15);
    EXPECT_EQ(c.chart.HScroll1()->pageStep(), 30);

    c.chart.HScroll1()->setValue(15);
    EXPECT_EQ(c.chart.scrollPosition(), 15);
    // Rows 17 to 76 hold laps 16 to 75.
    EXPECT_EQ(c.slotLabels(0, 1), (std::vector<QString>{"16", "17"}));
    EXPECT_EQ(c.chart.Label13(59)->text(), QStringLiteral("75"));
    const float lap75 = c.table.cell(76, 13).key.value_or(0);
    EXPECT_EQ(c.middleOfBar(59, lap75), c.bars());
}

TEST(LapTimeChart, SlotsFollowTheTableOrder)
{
    // Sorted by lap time: the fastest lap comes first.
    const Chart c({6300, 6100, 6200}, {}, 13);
    EXPECT_EQ(c.slotLabels(0, 2), (std::vector<QString>{"2", "3", "1"}));
}

TEST(LapTimeChart, ScaleLeavesATenthOfTheRangeAroundTheBars)
{
    const struct {
        std::vector<std::uint16_t> times;
        float bottom;
        float top;
    } cases[] = {{{10, 12, 20}, 9, 21}, {{15, 15, 15}, 14, 16}};
    for (const auto& k : cases) {
        Chart c(k.times);
        EXPECT_FLOAT_EQ(c.chart.Bas_Graphique(), k.bottom);
        EXPECT_FLOAT_EQ(c.chart.Haut_Graphique(), k.top);
    }
    // The tallest bar stops a tenth of the range under the top edge.
    Chart c({10, 12, 20});
    const QPoint top = c.transform().pixel({2.5, 20.0});
    EXPECT_EQ(c.image().pixelColor(top), c.bars());
    EXPECT_EQ(c.image().pixelColor(top - QPoint(0, 1)), c.background());
}

TEST(LapTimeChart, ClickingABarAsksForItsLap)
{
    Chart c(timesFrom(12));
    QSignalSpy toggled(&c.chart, &LapTimeChart::lapToggled);
    c.chart.Picture1_MouseDown(1, 0, 2.5, 0);
    // A real click, through the canvas's coordinates, on slot 8.
    QTest::mouseClick(c.chart.Picture1(), Qt::RightButton, {}, c.transform().pixel({7.5, double(c.chart.Bas_Graphique())}) - QPoint(0, 40));
    // Left of the chart, right of the last bar, nowhere at all: nothing.
    for (const double x : {-0.5, 12.0, 59.5, 1e300, -1e300, std::numeric_limits<double>::quiet_NaN()})
        c.chart.Picture1_MouseDown(1, 0, x, 0);
    // A lap number sits on its bar, but a click on it is no click on the bar.
    QTest::mouseClick(c.chart.Label13(3), Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_EQ(toggled.count(), 2);
    EXPECT_EQ(toggled[0][0].toInt(), 3);
    EXPECT_EQ(toggled[1][0].toInt(), 8);
}

TEST(LapTimeChart, EliminatedLapIsBlackAndKeepsItsNumber)
{
    std::array<bool, TourElimineCount> eliminated{};
    eliminated[3] = true;
    Chart c({6000, 6100, 6400, 6200}, eliminated);
    // On a grey background, so that black tells an eliminated bar from no bar.
    c.chart.Picture1()->setBackgroundColour(QColor(50, 50, 50));
    c.chart.Affiche_New_Graphique(0, 13);
    EXPECT_EQ(c.middleOfBar(2, 6400), QColor(0, 0, 0));
    EXPECT_EQ(c.image().pixelColor(c.transform().pixel({2.95, 6100.0})), QColor(50, 50, 50));
    EXPECT_EQ(c.middleOfBar(1, 6100), c.bars());
    EXPECT_FALSE(c.chart.Label13(2)->isHidden());
    EXPECT_EQ(c.chart.Label13(2)->text(), QStringLiteral("3"));
    // The scale leaves the eliminated lap out.
    EXPECT_FLOAT_EQ(c.chart.Haut_Graphique(), 6220.0F);
}

TEST(LapTimeChart, PointingOutlinesTheBarAndTakesTheOldOutlineBack)
{
    Chart c({6000, 6100, 6400, 6200, 6300, 6150});
    // Slot 0 is the outlined slot to start with: pointing at it does nothing.
    c.chart.Picture1_MouseMove(0, 0, 0.5, 0);
    EXPECT_EQ(c.greenPixels(), 0);
    EXPECT_TRUE(c.chart.Label12()->text().isEmpty());

    c.chart.Picture1_MouseMove(0, 0, 3.7, 0);
    EXPECT_EQ(c.leftBorder(3, 6200), QColor(0, 255, 0));
    EXPECT_EQ(c.middleOfBar(3, 6200), c.bars());
    EXPECT_EQ(c.chart.Tour_Marque(), 4);
    EXPECT_TRUE(c.chart.Label12()->text().startsWith(QStringLiteral("  Tour  04     Etape  0         Temps  1'02\"00")))
        << c.chart.Label12()->text().toStdString();
    c.chart.Picture1_MouseMove(0, 0, 4.2, 0);
    EXPECT_EQ(c.leftBorder(3, 6200), c.bars());
    EXPECT_EQ(c.leftBorder(4, 6300), QColor(0, 255, 0));
    EXPECT_EQ(c.chart.Tour_Marque(), 5);
}

}  // namespace
}  // namespace tormel
