#include "laps/lap_grid.h"
#include "laps/laps_records.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace tormel {
namespace {

// A grid on a 19200 x 14400 twips screen showing the table it keeps.
struct Grid {
    explicit Grid(LapTable t) : table(std::move(t))
    {
        grid.setTable(table);
        grid.layOut(19200, 14400);
        grid.show();
    }
    QPoint centre(int row, int column) const { return grid.cellRect(row, column).center(); }
    // A pixel inside a cell, clear of its text and grid lines.
    QColor background(const QImage& shot, int row, int column) const
    {
        const QRect r = grid.cellRect(row, column);
        return shot.pixelColor(grid.viewport()->mapTo(&grid, r.topLeft() + QPoint(1, 1)));
    }
    LapTable table;
    LapGrid grid;
};

QList<int> values(const QSignalSpy& spy)
{
    QList<int> v;
    for (const QList<QVariant>& arguments : spy)
        v << arguments[0].toInt();
    return v;
}

const std::vector<std::uint16_t> times{6000, 6173, 6346, 6519, 6692, 6165};

TEST(LapGrid, LeftClicksSortOrToggleRightClicksChooseTheChart)
{
    // Sorted by engine speed, highest first, so that row 2 is not lap 1.
    Grid g(test::lapTableOf(test::lapsOfTimes({times.begin(), times.end() - 1}), {}, MaxRpmColumn));
    QSignalSpy headers(&g.grid, &LapGrid::headerClicked);
    QSignalSpy toggled(&g.grid, &LapGrid::lapClicked);
    QSignalSpy charts(&g.grid, &LapGrid::chartColumnChosen);
    QWidget* v = g.grid.viewport();

    QTest::mouseClick(v, Qt::LeftButton, {}, g.centre(0, LapSpeedColumn));
    QTest::mouseClick(v, Qt::LeftButton, {}, g.centre(0, LapTimeColumn));
    QTest::mouseClick(v, Qt::LeftButton, {}, g.centre(2, LapSpeedColumn));
    QTest::mouseClick(v, Qt::LeftButton, {}, g.centre(1, LapNumberColumn));
    QTest::mouseClick(v, Qt::RightButton, {}, g.centre(3, LapTimeColumn));
    QTest::mouseClick(v, Qt::MiddleButton, {}, g.centre(0, EngineColumn));
    QTest::mouseClick(v, Qt::RightButton, {}, g.centre(4, MaxRpmColumn));
    // The black area past the last row and column answers nothing.
    QTest::mouseClick(v, Qt::LeftButton, {}, g.grid.cellRect(6, EngineColumn).bottomRight() + QPoint(5, 5));
    QTest::mouseClick(v, Qt::RightButton, {}, QPoint(v->width() - 2, v->height() - 2));

    EXPECT_EQ(values(headers), (QList<int>{LapSpeedColumn, LapTimeColumn}));
    EXPECT_NE(g.table.rows[2].lap, 1);
    EXPECT_EQ(values(toggled), (QList<int>{g.table.rows[2].lap, 0}));
    EXPECT_EQ(values(charts), (QList<int>{RawLapTimeColumn, LapNumberColumn, MaxRpmColumn}));
}

TEST(LapGrid, ColoursComeFromTheModel)
{
    std::array<bool, LapFlagCount> eliminated{};
    eliminated[3] = true;
    Grid g(test::lapTableOf(test::lapsOfTimes(times), eliminated, 0, 2));
    const QImage shot = g.grid.grab().toImage();
    // Header rows and column 0 cyan; lap 2, the logger's best, yellow; lap 3, eliminated, red; lap 4 white.
    const int time = LapTimeColumn;
    const std::tuple<int, int, QColor> cells[] = {{0, time, QColor(0, 255, 255)}, {1, time, QColor(0, 255, 255)}, {5, LapNumberColumn, QColor(0, 255, 255)},
                                                  {3, time, QColor(255, 255, 0)}, {4, time, QColor(255, 0, 0)}, {5, time, QColor(255, 255, 255)}};
    for (const auto& [row, column, colour] : cells)
        EXPECT_EQ(g.background(shot, row, column), colour) << row << "," << column;
    // Right of the last shown column (the engine's; the raw columns are hidden) lies the black outside.
    const QRect engine = g.grid.cellRect(5, EngineColumn);
    const QPoint beyond = g.grid.viewport()->mapTo(&g.grid, QPoint(engine.right() + 3, engine.center().y()));
    ASSERT_LT(beyond.x(), g.grid.viewport()->geometry().right());
    EXPECT_EQ(shot.pixelColor(beyond), QColor(0, 0, 0));
}


}  // namespace
}  // namespace tormel
