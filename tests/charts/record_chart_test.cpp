#include "base/number_format.h"
#include "charts/canvas.h"
#include "charts/cursor_rules.h"
#include "charts/record_chart.h"

#include "laps/laps_records.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace tormel {
namespace {

constexpr PointerButtons NoButton{}, LeftButton{true}, RightButton{false, true};
constexpr Modifiers NoModifier{}, Shift{true}, Control{false, true};

// One chart on a lap of 100 samples (lap 1 of laps closed every 100).
struct Chart {
    Chart()
    {
        stats = test::rpmStatisticsOf(test::samplesWithBeacons(400, {0, 100, 200, 300}));
        chart.layOut({0, 0, 19200, 4500}, 19200);
        show(1);
    }
    void show(int lap) { chart.drawLap(stats, lapView(stats, lap), stats.maxRpm, true); }
    QString text(const char* name) const { return chart.findChild<QLabel*>(QStringLiteral("%1(0)").arg(QLatin1String(name)))->text(); }
    QImage trace() const { return chart.Crpm()->image(); }
    QString rpm(int sample) const { return QString::number(int(stats.smoothedRpm[std::size_t(sample)])); }

    RpmStatistics stats;
    RecordChart chart{nullptr, 0};
};

TEST(RecordChart, ThePointerMovesTheCursorOnlyWithAModifierAndNeverStepsIt)
{
    Chart c;
    EXPECT_EQ(c.chart.cursorX(), 50.0);  // mid-lap after a draw
    const QImage before = c.trace();
    c.chart.Crpm_MouseMove(NoButton, NoModifier, 20.0, 0);
    c.chart.Crpm_MouseDown(LeftButton, NoModifier, 20.0, 0);
    EXPECT_EQ(c.trace(), before);
    EXPECT_EQ(c.text("Rpm_L"), QString());
    // A click without a modifier gives the focus, shown in blue behind the canvas's read-out.
    c.chart.show();
    QApplication::setActiveWindow(&c.chart);
    const auto background = [&c](const char* name) {
        return c.chart.findChild<QLabel*>(QStringLiteral("%1(0)").arg(QLatin1String(name)))->palette().color(QPalette::Window);
    };
    c.chart.Ctr_MouseDown(LeftButton, NoModifier, 0, 0);
    EXPECT_EQ(std::pair(background("Label24"), background("Label31")), std::pair(QColor(0, 0, 255), QColor(0, 0, 0)));
    c.chart.Crpm_MouseDown(LeftButton, NoModifier, 20.0, 0);
    EXPECT_EQ(std::pair(background("Label24"), background("Label31")), std::pair(QColor(0, 0, 0), QColor(0, 0, 255)));
    EXPECT_EQ(c.trace(), before);
    // A pointer that lands on sample 1 puts the cursor there.
    c.chart.Crpm_MouseMove(NoButton, Control, 1.0, 0);
    EXPECT_EQ(c.chart.cursorX(), 1.0);
    EXPECT_EQ(c.text("Rpm_Inst"), QString::number(int(c.stats.smoothedRpm[1])));
    EXPECT_EQ(c.text("Label20"), QStringLiteral("0") + systemDecimalSeparator() + QStringLiteral("2"));
    // Dragging with the right button and a modifier drags the right marker.
    c.chart.Crpm_MouseMove(RightButton, Shift, 10.0, 0);
    EXPECT_EQ(c.text("Rpm_R"), c.rpm(10));

    // The arrows step one sample and stop at the lap's end; Shift alone is ignored, Shift with Alt
    // is not, other keys do nothing.
    c.chart.Crpm_MouseMove(NoButton, Shift, 99.5, 0);
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_Right, {}}, {Qt::Key_Right, {}}, {Qt::Key_Left, Qt::ShiftModifier}, {Qt::Key_Home, {}},
        {Qt::Key_Left, Qt::ShiftModifier | Qt::AltModifier}, {Qt::Key_Left, {}}};
    const double cursorAfter[] = {100.0, 100.0, 100.0, 100.0, 99.0, 98.0};
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        QTest::keyClick(c.chart.Crpm(), keys[i].first, keys[i].second);
        EXPECT_EQ(c.chart.cursorX(), cursorAfter[i]) << i;
    }
}

TEST(RecordChart, FiguresComeOffAsTheyWentOnAndMarkersKeepTheirPlaceAcrossLaps)
{
    Chart c;
    const QImage plain = c.trace();
    QTest::keyClick(c.chart.Crpm(), Qt::Key_Up);
    const QImage oneMarker = c.trace();
    EXPECT_NE(oneMarker, plain);
    EXPECT_EQ(c.text("Rpm_L") + u'|' + c.text("Rpm_R"), c.rpm(50) + u'|');
    c.chart.Crpm_KeyDown(ArrowKey::Up, NoModifier);
    EXPECT_EQ(c.trace(), oneMarker);  // exactly one cyan marker
    // Moving the cursor away and back restores every pixel it covered.
    c.chart.Crpm_MouseMove(NoButton, Shift, 20.0, 0);
    c.chart.Crpm_MouseMove(NoButton, Shift, 50.0, 0);
    EXPECT_EQ(c.trace(), oneMarker);

    QTest::mousePress(c.chart.Crpm(), Qt::LeftButton, Qt::ControlModifier, c.chart.Crpm()->transform().pixel({30.5, 0.0}));
    EXPECT_EQ(c.text("Label21"), QStringLiteral("6") + systemDecimalSeparator() + QStringLiteral("0"));
    // Lap 2 starts at sample 100: the right marker at its cursor, 50 samples
    // in, measures from the left one still at sample 30.
    c.show(2);
    QTest::keyClick(c.chart.Crpm(), Qt::Key_Down);
    EXPECT_EQ(c.text("Rpm_L") + u'|' + c.text("Rpm_R"), u'|' + c.rpm(150));
    EXPECT_EQ(c.text("Label23"), QStringLiteral("24") + systemDecimalSeparator() + QStringLiteral("00"));
    EXPECT_EQ(c.text("Label22"), QStringLiteral("10") + systemDecimalSeparator() + QStringLiteral("0"));
}

TEST(RecordChart, HistogramCursorStepsThroughTheClasses)
{
    Chart c;
    c.chart.Ctr_MouseMove(NoButton, Shift, 0, 0.5);
    EXPECT_EQ(c.text("Label24"), QStringLiteral("0-300 : 00") + systemDecimalSeparator() + QStringLiteral("0s"));
    QTest::keyClick(c.chart.Ctr(), Qt::Key_Down);
    EXPECT_EQ(c.chart.classY(), 0.5);
    // Each step takes its line away: up and down again leaves the canvas as it was.
    const QImage atClass0 = c.chart.Ctr()->image();
    QTest::keyClick(c.chart.Ctr(), Qt::Key_Up);
    EXPECT_EQ(c.chart.classY(), 1.0);
    QTest::keyClick(c.chart.Ctr(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(c.chart.Ctr()->image(), atClass0);
    // The top class, 26700 RPM / 300, is reached and not passed.
    for (int i = 0; i < 100; ++i)
        c.chart.Ctr_KeyDown(ArrowKey::Up, NoModifier);
    EXPECT_EQ(c.chart.classY(), 89.0);
    EXPECT_TRUE(c.text("Label24").startsWith(QStringLiteral("26700-27000 : ")));
}

}  // namespace
}  // namespace tormel
