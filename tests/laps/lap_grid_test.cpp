#include "laps/lap_grid.h"

#include "laps/laps_records.h"

#include <QScrollBar>
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

TEST(LapGridRules, ToolTipsByRowAndColumn)
{
    const TextTables texts = frenchTextTables();
    const struct {
        int row;
        int column;
        bool on;
        const char* tip;
    } cases[] = {
        {0, 1, true, "Gauche:TRI"},
        {0, 12, true, "Gauche:TRI"},
        {0, 11, true, "Gauche:TRI, Droite:Graphique"},
        {1, 7, true, "Meilleur Tour Théorique"},
        {40, 1, true, "Gauche:(dé)selectionner"},
        {2, 2, true, "Gauche:(dé)selectionner, Droite:graphique"},
        {0, 2, false, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lapGridToolTip(texts, c.row, c.column, c.on), QString::fromUtf8(c.tip)) << c.row << "," << c.column;
    TextTables noComma = texts;
    noComma.Tips[3] = QStringLiteral("Select");
    EXPECT_EQ(lapGridToolTip(noComma, 3, 0, true), QStringLiteral("Select"));
}

TEST(LapGridRules, SizeFollowsColumnsAndRowsWithinTheScreen)
{
    std::array<int, LapTable::ColumnCount> widths{};
    widths.fill(900);
    widths[13] = 0;
    const struct {
        int rowCount;
        int screenWidth;
        int screenHeight;
        TwipsRect place;
    } cases[] = {
        {14, 19200, 14400, {0, 0, 320 + 16 * 900, 300 * 14 + 100}},
        {101, 19200, 14400, {0, 0, 320 + 16 * 900, (14400 - 1000) / 2}},
        {2, 9600, 7200, {0, 0, 9600, 700}},
        {2, 9600, 500, {0, 0, 9600, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sizeTableTours(widths, 300, c.rowCount, c.screenWidth, c.screenHeight), c.place) << c.rowCount;
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

TEST(LapGrid, HiddenColumnsHaveNoWidthAndOthersFitTheirHeader)
{
    const struct {
        int sectorMode;
        std::vector<int> hidden;
        std::vector<int> shown;
    } cases[] = {
        {0, {4, 5, 6, 7, 8, 9, 13, 14, 15, 16}, {0, 1, 2, 3, 10, 11, 12}},
        {2, {13, 14, 15, 16}, {4, 6, 8, 9}},
    };
    for (const auto& c : cases) {
        LapGrid grid;
        const LapTable table = tableOf(4, {}, c.sectorMode);
        grid.setTable(table);
        for (const int column : c.hidden)
            EXPECT_EQ(grid.columnWidth(column), 0) << c.sectorMode << " " << column;
        for (const int column : c.shown)
            EXPECT_GT(grid.columnWidth(column), grid.fontMetrics().horizontalAdvance(table.cell(0, column).text))
                << c.sectorMode << " " << column;
    }
}

TEST(LapGrid, FixedRowsAndColumnStayWhileTheRestScrolls)
{
    Grid g(tableOf(75));
    g.grid.resize(300, 200);
    g.grid.verticalScrollBar()->setValue(10);
    g.grid.horizontalScrollBar()->setValue(g.grid.columnWidth(1) + g.grid.columnWidth(2));
    const int h = g.grid.rowHeight();
    const int fixed = g.grid.columnWidth(0);
    const struct {
        QPoint at;
        int row;
        int column;
    } cases[] = {
        {{1, h + 1}, 1, 0},
        {{1, 2 * h + 1}, 12, 0},
        {{fixed + 1, 1}, 0, 3},
        {{fixed + 1, 2 * h + 1}, 12, 3},
    };
    for (const auto& c : cases) {
        const auto cell = g.grid.cellAt(c.at);
        ASSERT_TRUE(cell.has_value());
        EXPECT_EQ(*cell, (LapGrid::CellPosition{c.row, c.column})) << c.at.x() << "," << c.at.y();
    }
    EXPECT_EQ(g.grid.cellRect(12, 0).top(), 2 * h);
    EXPECT_FALSE(g.grid.cellAt({-1, 5}).has_value());
}

TEST(LapGrid, TakesThePlaceOfItsSizeRule)
{
    LapGrid grid;
    grid.setTable(tableOf(10));
    const TwipsRect place = grid.Size_Table_Tours(19200, 14400);
    EXPECT_EQ(place.height, grid.rowHeight() * 15 * 12 + 100);  // header, theoretical row, 10 laps
    EXPECT_EQ(grid.geometry(), QRect(0, 0, place.width / 15, place.height / 15));
}

TEST(LapGrid, EmptyOrOddTablesNeverFault)
{
    LapGrid grid;
    for (const LapTable& t : {LapTable{}, tableOf(0), tableOf(99)}) {
        grid.setTable(t);
        grid.Size_Table_Tours(19200, 14400);
        grid.show();
        (void)grid.grab();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, QPoint(grid.viewport()->width() - 1, grid.viewport()->height() - 1));
    }
    EXPECT_EQ(grid.cellAt({3, 3 + 2 * grid.rowHeight()})->row, 2);
}

}  // namespace
}  // namespace tormel
