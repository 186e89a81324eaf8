#include "shell/season_plot.h"

#include "laps/conversions.h"

#include <QApplication>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;

SeasonSession session(const QString& identity, QDate day, int hour, std::int32_t best, std::int32_t theoretical)
{
    return {identity, QDateTime(day, QTime(hour, 0)), best, theoretical, u"/season/"_s + identity + u".Tml"_s, {}};
}

double noon(QDate day)
{
    return double(QDateTime(day, QTime(12, 0)).toSecsSinceEpoch());
}

// Each session at its day's noon; the sessions of one day side by side
// around it, in time order, far enough apart to be told apart at any span.
TEST(SeasonPlot, SessionsOfOneDayStandSideBySideInTimeOrder)
{
    const QDate may(2026, 5, 2);
    const std::vector<SeasonSession> sessions{session(u"a"_s, may, 9, 4900, 4850), session(u"b"_s, may.addDays(3), 10, 4890, 0),
                                              session(u"c"_s, may.addDays(3), 14, 4880, 4800), session(u"d"_s, may.addDays(3), 16, 4870, 0),
                                              session(u"e"_s, may.addDays(150), 10, 4860, 4790)};
    const std::vector<double> x = seasonPlaces(sessions);
    ASSERT_EQ(x.size(), 5U);
    EXPECT_EQ(x[0], noon(may));
    EXPECT_EQ(x[2], noon(may.addDays(3)));
    const double season = double(sessions[0].date.secsTo(sessions[4].date));
    EXPECT_LT(x[1], x[2]);
    EXPECT_NEAR(x[2] - x[1], x[3] - x[2], 1e-6);
    EXPECT_NEAR(x[2] - x[1], season / 150, 1e-6);  // a 150th of the season
    EXPECT_EQ(x[4], noon(may.addDays(150)));
    // A short season keeps them half an hour apart.
    const std::vector<double> day = seasonPlaces({sessions[1], sessions[2]});
    EXPECT_EQ(day[1] - day[0], 1800.0);
    EXPECT_TRUE(seasonPlaces({}).empty());
}

// The series and scales read from the widget; a point named by hovering,
// chosen by a click, opened by a double click.
TEST(SeasonPlot, ShowsEachSessionsBestsAndAnswersThePointer)
{
    const QDate may(2026, 5, 2);
    TrackBests track;
    track.track = 3;
    track.sessions = {session(u"a"_s, may, 9, 4900, 4850), session(u"b"_s, may.addDays(10), 10, 4880, 0),
                      session(u"c"_s, may.addDays(20), 10, 4950, 4820)};
    track.lap = {4880, u"b"_s, track.sessions[1].date};
    TextTables tables = frenchTextTables();
    SeasonPlot plot;
    plot.resize(900, 500);
    plot.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&plot));
    plot.showTrack(track, tables);

    ASSERT_EQ(plot.graphCount(), 3);
    plot.replot();
    EXPECT_GE(plot.legend->outerRect().top(), plot.axisRect()->outerRect().bottom());  // below, off the points
    EXPECT_EQ(plot.graph(0)->dataCount(), 3);
    EXPECT_EQ(plot.graph(1)->dataCount(), 2);  // a session without a theoretical best has no point
    EXPECT_EQ(plot.graph(1)->data()->at(1)->value, 48.20);
    EXPECT_EQ(plot.graph(2)->data()->at(0)->value, 48.80);  // the season's best, across
    EXPECT_TRUE(plot.yAxis->rangeReversed());
    EXPECT_LT(plot.yAxis->range().lower, 48.20);
    EXPECT_GT(plot.yAxis->range().upper, 49.50);
    EXPECT_LT(plot.xAxis->range().lower, noon(may));
    EXPECT_GT(plot.xAxis->range().upper, noon(may.addDays(20)));
    EXPECT_EQ(plot.xAxis->label(), tables.texts[seasonDateAxis]);
    EXPECT_EQ(plot.yAxis->label(), tables.texts[seasonTimeAxis]);
    plot.replot();
    for (const QString& label : plot.yAxis->tickVectorLabels())
        EXPECT_TRUE(label.contains(u'"')) << label.toStdString();  // as the lap table writes times
    for (const QString& label : plot.xAxis->tickVectorLabels())
        EXPECT_TRUE(label.contains(u'/') && !label.contains(u"2026"_s)) << label.toStdString();

    const QPoint b(int(plot.xAxis->coordToPixel(noon(may.addDays(10)))), int(plot.yAxis->coordToPixel(48.80)));
    EXPECT_EQ(plot.sessionAt(b), 1);
    EXPECT_EQ(plot.sessionAt(b + QPoint(30, 0)), -1);
    QHelpEvent help(QEvent::ToolTip, b, plot.mapToGlobal(b));
    QApplication::sendEvent(&plot, &help);
    EXPECT_EQ(QToolTip::text(), tables.texts[seasonSessionTip].arg(u"12/05/2026 10:00"_s, lapTimeText(4880), u"b.Tml"_s));
    QSignalSpy chosen(&plot, &SeasonPlot::sessionChosen);
    QSignalSpy opened(&plot, &SeasonPlot::sessionOpened);
    QTest::mouseClick(&plot, Qt::LeftButton, {}, b);
    QTest::mouseClick(&plot, Qt::LeftButton, {}, b + QPoint(30, 0));
    QTest::mouseDClick(&plot, Qt::LeftButton, {}, b);
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].toString(), u"b"_s);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0][0].toString(), u"b"_s);

    // A season over months is written by its months; none at all leaves the series empty.
    track.sessions.push_back(session(u"d"_s, may.addDays(200), 10, 4870, 0));
    plot.showTrack(track, tables);
    plot.replot();
    for (const QString& label : plot.xAxis->tickVectorLabels())
        EXPECT_TRUE(label.contains(u"202"_s)) << label.toStdString();
    plot.showTrack(TrackBests{}, tables);
    EXPECT_EQ(plot.graph(0)->dataCount(), 0);
}

TEST(SeasonPlot, TheConsistencyChartBarsEachSessionsWindowCountAndMarksItsSpread)
{
    const QDate may(2026, 5, 2);
    TrackBests track;
    track.sessions = {session(u"a"_s, may, 9, 4900, 0), session(u"b"_s, may.addDays(10), 10, 4880, 0),
                      session(u"c"_s, may.addDays(20), 10, 4950, 0)};
    track.sessions[0].consistency = Consistency{8, 3, 21.0, 30.0};
    track.sessions[1].consistency = Consistency{0, 0, 0.0, 0.0};  // no racing lap: no bar
    track.sessions[2].consistency = Consistency{10, 6, 12.0, 15.0};
    const TextTables tables = frenchTextTables();
    ConsistencyPlot plot;
    plot.resize(900, 400);
    plot.showTrack(track, tables);
    ASSERT_EQ(plot.plottableCount(), 2);
    auto* bars = qobject_cast<QCPBars*>(plot.plottable(0));
    ASSERT_NE(bars, nullptr);
    ASSERT_EQ(bars->dataCount(), 2);
    EXPECT_EQ(std::pair(bars->data()->at(0)->value, bars->data()->at(1)->value), std::pair(3.0, 6.0));
    EXPECT_DOUBLE_EQ(plot.graph(0)->data()->at(0)->value, 0.21);  // seconds, on the right
    EXPECT_EQ(plot.graph(0)->valueAxis(), plot.yAxis2);
    EXPECT_EQ(plot.legend->itemCount(), 2);
    EXPECT_EQ(bars->name() + u"|"_s + plot.graph(0)->name(), tables.texts[libraryWindowCount] + u"|"_s + tables.texts[librarySpread]);
    EXPECT_EQ(std::pair(plot.yAxis->label(), plot.yAxis2->label()),
              std::pair(tables.texts[libraryWindowCount], tables.texts[librarySpread]));
    EXPECT_DOUBLE_EQ(plot.yAxis->range().upper, 6 * 1.15);
}

}  // namespace
}  // namespace tormel
