#include "laps/lap_grid.h"

#include "laps/laps_records.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace tormel {
namespace {

LapTable tableOf(int laps, const std::array<bool, TourElimineCount>& eliminated = {}, int sectorMode = 2, int best = 0,
                 int colonneTri = 0)
{
    std::vector<test::LapSpec> lapRows;
    for (int i = 0; i < laps; ++i)
        lapRows.push_back({std::uint16_t(6000 + (i * 173) % 700), 2000, 2100, 1900, std::uint16_t(1100 + i), 70, 0, 0});
    const RecordImage image = test::lapRecord(lapRows, sectorMode, best);
    LapTableOptions options;
    options.Distances = {1000.0F, 300.0F, 300.0F, 400.0F};
    options.Tour_Elimine = eliminated;
    options.Colonne_Tri = colonneTri;
    return Affiche_Tours(image, test::decoded(image), frenchTextTables(), options);
}

TEST(LapGridRules, ChartAndSortColumnOfEachTableColumn)
{
    const std::tuple<int, int, int> cases[] = {
        {0, 0, 0},   {1, 0, 1},   {2, 13, 13}, {3, 3, 3},   {4, 14, 14}, {6, 15, 15},
        {8, 16, 16}, {9, 9, 9},   {10, 10, 10}, {11, 11, 11}, {12, 0, 12},
    };
    for (const auto& [column, chart, sort] : cases) {
        EXPECT_EQ(chartColumnFor(column), chart) << column;
        EXPECT_EQ(sortColumnFor(column), sort) << column;
    }
    for (int column : {13, 16, -1, 99})
        EXPECT_EQ(chartColumnFor(column), 0) << column;
}

struct Grid {
    explicit Grid(const LapTable& t)
    {
        grid.setTable(t);
        grid.Size_Table_Tours(19200, 14400);
        grid.show();
    }
    QPoint centre(int row, int column) const { return grid.cellRect(row, column).center(); }
    // A pixel inside a cell, clear of its text and grid lines.
    QColor background(const QImage& shot, int row, int column) const
    {
        const QRect r = grid.cellRect(row, column);
        return shot.pixelColor(grid.viewport()->mapTo(&grid, r.topLeft() + QPoint(1, 1)));
    }
    LapGrid grid;
};

TEST(LapGrid, LeftClicksSortOrToggleRightClicksChooseTheChart)
{
    // Sorted by engine speed, highest first, so that row 2 is not lap 1.
    const LapTable sorted = tableOf(5, {}, 2, 0, 10);
    Grid g(sorted);
    QSignalSpy headers(&g.grid, &LapGrid::headerClicked);
    QSignalSpy laps(&g.grid, &LapGrid::lapClicked);
    QSignalSpy charts(&g.grid, &LapGrid::chartColumnChosen);
    QWidget* v = g.grid.viewport();

    QTest::mouseClick(v, Qt::LeftButton, {}, g.centre(0, 3));
    QTest::mouseClick(v, Qt::LeftButton, {}, g.centre(0, 2));
    QTest::mouseClick(v, Qt::LeftButton, {}, g.centre(2, 5));
    QTest::mouseClick(v, Qt::LeftButton, {}, g.centre(1, 0));
    QTest::mouseClick(v, Qt::RightButton, {}, g.centre(3, 2));
    QTest::mouseClick(v, Qt::MiddleButton, {}, g.centre(0, 12));
    QTest::mouseClick(v, Qt::RightButton, {}, g.centre(4, 10));
    // The black area past the last row and column answers nothing.
    QTest::mouseClick(v, Qt::LeftButton, {}, g.grid.cellRect(6, 12).bottomRight() + QPoint(5, 5));
    QTest::mouseClick(v, Qt::RightButton, {}, QPoint(v->width() - 2, v->height() - 2));

    ASSERT_EQ(headers.count(), 2);
    EXPECT_EQ(headers[0][0].toInt(), 3);
    EXPECT_EQ(headers[1][0].toInt(), 2);
    ASSERT_EQ(laps.count(), 2);
    EXPECT_EQ(laps[0][0].toInt(), sorted.rows[2].lap);
    EXPECT_NE(sorted.rows[2].lap, 1);
    EXPECT_EQ(laps[1][0].toInt(), 0);
    ASSERT_EQ(charts.count(), 3);
    EXPECT_EQ(charts[0][0].toInt(), 13);
    EXPECT_EQ(charts[1][0].toInt(), 0);
    EXPECT_EQ(charts[2][0].toInt(), 10);
}

TEST(LapGrid, ColoursComeFromTheModel)
{
    std::array<bool, TourElimineCount> eliminated{};
    eliminated[3] = true;
    Grid g(tableOf(6, eliminated, 2, 2));
    const QImage shot = g.grid.grab().toImage();
    const QColor cyan(0, 255, 255);
    EXPECT_EQ(g.background(shot, 0, 5), cyan);
    EXPECT_EQ(g.background(shot, 1, 5), cyan);
    EXPECT_EQ(g.background(shot, 5, 0), cyan);
    EXPECT_EQ(g.background(shot, 3, 5), QColor(255, 255, 0));  // lap 2, the logger's best
    EXPECT_EQ(g.background(shot, 4, 5), QColor(255, 0, 0));    // lap 3, eliminated
    EXPECT_EQ(g.background(shot, 5, 5), QColor(255, 255, 255));
    const QRect cell = g.grid.cellRect(5, 5);
    EXPECT_EQ(shot.pixelColor(g.grid.viewport()->mapTo(&g.grid, QPoint(cell.right(), cell.center().y()))), QColor(192, 192, 192));
    // Right of the last shown column (12; 13 to 16 are hidden) lies the black outside.
    const QPoint beyond = g.grid.viewport()->mapTo(&g.grid, QPoint(g.grid.cellRect(5, 12).right() + 3, g.grid.cellRect(5, 12).center().y()));
    ASSERT_LT(beyond.x(), g.grid.viewport()->geometry().right());
    EXPECT_EQ(shot.pixelColor(beyond), QColor(0, 0, 0));
}

}  // namespace
}  // namespace tormel
