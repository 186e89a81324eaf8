#include "charts/canvas.h"
#include "charts/lap_time_chart.h"
#include "demo_records.h"
#include "laps/export.h"
#include "laps/lap_grid.h"
#include "laps/ranges_view.h"
#include "record/record_file.h"
#include "shell/menus.h"
#include "shell/panels.h"
#include "tracks/track_file.h"
#include "window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using test::readBytes;

class LapViewsWindow : public test::WindowTest {
protected:
    Principale& startWithLaps()
    {
        copyShippedLanguages();
        Fiche_Piste track = Init_Piste(1, {QStringLiteral("Nom"), QStringLiteral("Hammeau"), QStringLiteral("Country")});
        track.Distances = {1100.0F, 350.5F, 400.0F, 349.5F};
        test::writeBytes(QStringLiteral("Pistes.aqw"), encodeTrackRecord(track));
        Principale& w = start();
        w.Picture2_Click();
        const QString path = QDir(current_.path()).filePath(QStringLiteral("laps.Tml"));
        EXPECT_TRUE(Sauve_Fichier(path, demo::lapTimingRecord(), 1));
        w.ouvrirRecord(path);
        dialogs.messages.clear();
        return w;
    }

    static QList<int> lapOrder(const LapTable& table)
    {
        QList<int> laps;
        for (std::size_t row = 2; row < table.rows.size(); ++row)
            laps << table.rows[row].lap;
        return laps;
    }
};

TEST_F(LapViewsWindow, OpeningShowsTheTableAndChartsLapTimes)
{
    Principale& w = startWithLaps();
    Panels& p = w.panels();
    EXPECT_TRUE(p.Liste_Tours->isVisibleTo(&w));
    EXPECT_TRUE(p.Graphique_Chronos->isVisibleTo(&w));
    EXPECT_EQ(p.Graphique_Chronos->Colonne_Graphique(), 13);
    EXPECT_EQ(p.Graphique_Chronos->Tours_Ecran(), 24);
    EXPECT_FALSE(p.Graphique_Chronos->HScroll1()->isVisibleTo(&w));
    EXPECT_EQ(p.Graphique_Chronos->title(), w.record().table.cell(0, 13).text);
    // The chart sits right under the sized table.
    EXPECT_EQ(p.Graphique_Chronos->y(), p.Liste_Tours->y() + p.Liste_Tours->height());
}

TEST_F(LapViewsWindow, HeaderClicksSortAndTheLapHeaderRestoresOrder)
{
    Principale& w = startWithLaps();
    w.Liste_Tours_HeaderClick(2);  // lap time: sorted on its hundredths
    const LapTable& table = w.record().table;
    EXPECT_EQ(w.record().Colonne_Tri, 13);
    for (std::size_t row = 3; row < table.rows.size(); ++row)
        EXPECT_LE(*table.rows[row - 1].cells[13].key, *table.rows[row].cells[13].key);
    EXPECT_EQ(w.panels().Liste_Tours->table().rows[2].lap, table.rows[2].lap);

    // The sort survives a rebuild, and the export follows it.
    w.Liste_Tours_LapClick(5);
    EXPECT_EQ(w.record().Colonne_Tri, 13);
    const QList<int> sorted = lapOrder(w.record().table);
    dialogs.saveAnswers.push_back(QDir(current_.path()).filePath(QStringLiteral("sorted.xls")));
    w.Exporter_Click();
    const QList<QByteArray> rows = readBytes(QDir(current_.path()).filePath(QStringLiteral("sorted.xls"))).split('\r');
    EXPECT_EQ(rows[3].split('\t').at(0).trimmed().toInt(), sorted.first());

    w.Liste_Tours_HeaderClick(0);
    QList<int> inOrder;
    for (int lap = 1; lap <= 24; ++lap)
        inOrder << lap;
    EXPECT_EQ(lapOrder(w.record().table), inOrder);
}

TEST_F(LapViewsWindow, LapClicksAndBarClicksEliminateAndRestore)
{
    Principale& w = startWithLaps();
    const float maxBefore = w.record().table.Max_Colonne[13];
    // Eliminate the slowest lap from the table: its row turns red and the scale shrinks.
    int slowest = 0;
    float slowestTime = 0;
    for (std::size_t row = 2; row < w.record().table.rows.size(); ++row) {
        const auto& r = w.record().table.rows[row];
        if (*r.cells[13].key > slowestTime) {
            slowestTime = float(*r.cells[13].key);
            slowest = r.lap;
        }
    }
    w.Liste_Tours_LapClick(slowest);
    EXPECT_TRUE(w.record().Tour_Elimine[std::size_t(slowest)]);
    const LapTable& t = w.record().table;
    EXPECT_EQ(t.cell(t.rowOfLap(slowest), 2).background, colours::Red);
    EXPECT_LT(t.Max_Colonne[13], maxBefore);

    // A click on the bar of lap 3 (slot 3) in the chart: re-decoded, eliminated, then restored.
    LapTimeChart& chart = *w.panels().Graphique_Chronos;
    chart.Picture1_MouseDown(1, 0, 2.5, chart.Bas_Graphique());
    EXPECT_TRUE(w.record().Tour_Elimine[3]);
    EXPECT_EQ(w.record().table.cell(w.record().table.rowOfLap(3), 0).background, colours::Red);
    chart.Picture1_MouseDown(1, 0, 2.5, chart.Bas_Graphique());
    EXPECT_FALSE(w.record().Tour_Elimine[3]);

    // The theoretical row toggles lap 0, which no row shows.
    w.Liste_Tours_LapClick(0);
    EXPECT_TRUE(w.record().Tour_Elimine[0]);
    // Opening a record clears every elimination.
    w.ouvrirRecord(QDir(current_.path()).filePath(QStringLiteral("laps.Tml")));
    EXPECT_EQ(std::count(w.record().Tour_Elimine.begin(), w.record().Tour_Elimine.end(), true), 0);
}

TEST_F(LapViewsWindow, RightClicksChooseTheChartedColumn)
{
    Principale& w = startWithLaps();
    LapTimeChart& chart = *w.panels().Graphique_Chronos;
    w.Liste_Tours_ChartColumn(10);
    EXPECT_EQ(chart.Colonne_Graphique(), 10);
    EXPECT_EQ(chart.title(), w.record().table.cell(0, 10).text);
    const float top = chart.Haut_Graphique();
    w.Liste_Tours_ChartColumn(0);  // stage or engine: nothing more is drawn
    EXPECT_EQ(chart.Haut_Graphique(), top);
    EXPECT_EQ(w.record().Colonne_Graphique, 0);
}

TEST_F(LapViewsWindow, MilesRelabelAndConvertAndAreRemembered)
{
    Principale& w = startWithLaps();
    const QString kmh = w.record().table.cell(2, 3).text;
    w.Unite_Vitesse_Click(1);
    const LapTable& t = w.record().table;
    EXPECT_TRUE(t.cell(0, 3).text.startsWith(QStringLiteral("miles/h")));
    EXPECT_TRUE(t.cell(0, 5).text.startsWith(QStringLiteral("miles/h")));
    EXPECT_LT(QString(t.cell(2, 3).text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(),
              QString(kmh).replace(QLatin1Char(','), QLatin1Char('.')).toDouble());
    EXPECT_EQ(w.menus().Unites->title(), caption(w.menus().Unite_Vitesse[1]) + QStringLiteral("  |  ") + caption(w.menus().Unite_Temp[0]));
    EXPECT_EQ(settingsBytes().mid(2, 2), QByteArray("\x01\x00", 2));

    w.Unite_Temp_Click(1);
    EXPECT_TRUE(w.record().table.cell(0, 11).text.endsWith(QStringLiteral("°F")));
}

TEST_F(LapViewsWindow, RangesViewReplacesTheTableAndDisablesUnits)
{
    Principale& w = startWithLaps();
    w.Affichage_Tours_Click();
    Panels& p = w.panels();
    EXPECT_TRUE(p.Frame_Tranches->isVisibleTo(&w));
    EXPECT_FALSE(p.Liste_Tours->isVisibleTo(&w));
    EXPECT_FALSE(w.menus().Unites->menuAction()->isEnabled());
    double largest = 0;
    for (int i = 0; i < RangesView::Count; ++i)
        largest = std::max(largest, p.Frame_Tranches->Tranche(i)->floodPercent());
    EXPECT_DOUBLE_EQ(largest, 100.0);
    EXPECT_TRUE(p.Frame_Tranches->Label8()->text().startsWith(QStringLiteral("Meilleur Tour : ")));

    w.Affichage_Table_Click();
    EXPECT_TRUE(p.Liste_Tours->isVisibleTo(&w));
    EXPECT_FALSE(p.Frame_Tranches->isVisibleTo(&w));
    EXPECT_TRUE(w.menus().Unites->menuAction()->isEnabled());
}

}  // namespace
}  // namespace tormel
