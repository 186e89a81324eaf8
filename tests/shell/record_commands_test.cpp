#include "charts/lap_time_chart.h"
#include "demo_records.h"
#include "laps/export.h"
#include "laps/lap_grid.h"
#include "laps/ranges_view.h"
#include "record/engine_hours_panel.h"
#include "record/record_file.h"
#include "shell/menus.h"
#include "shell/panels.h"
#include "tracks/track_editor.h"
#include "window_fixture.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using test::readBytes;
using test::writeBytes;

class RecordWindow : public test::WindowTest {
protected:
    Principale& startQuietly()
    {
        copyShippedLanguages();
        Principale& w = start();
        w.Picture2_Click();
        dialogs.messages.clear();
        return w;
    }

    QString saveRecord(const QString& name, const RecordImage& image, std::int16_t track)
    {
        const QString path = QDir(current_.path()).filePath(name);
        EXPECT_TRUE(Sauve_Fichier(path, image, track));
        return path;
    }

    void open(Principale& w, const QString& path)
    {
        dialogs.openAnswers.push_back(path);
        w.Ouvrir_Click();
    }

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const auto& m : dialogs.messages)
            texts << m.text;
        return texts;
    }

    // A track file of `count` initialised tracks, track n with lap length 1000 n.
    void writeTracks(int count)
    {
        QByteArray bytes;
        for (int n = 1; n <= count; ++n) {
            Fiche_Piste f = Init_Piste(n, {QStringLiteral("Nom"), QStringLiteral("Hammeau"), QStringLiteral("Country")});
            f.Distances = {1000.0F * float(n), 0, 0, 0};
            bytes += encodeTrackRecord(f);
        }
        writeBytes(QStringLiteral("Pistes.aqw"), bytes);
    }

    Principale& startWithLaps()
    {
        writeTracks(1);
        Principale& w = startQuietly();
        open(w, saveRecord(QStringLiteral("laps.Tml"), demo::lapTimingRecord(), 1));
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

struct MenuState {
    bool unites, pistes, affichage, filtres, commentaire, exporter, sauver;
};

MenuState menuState(Principale& w)
{
    Menus& m = w.menus();
    return {m.Unites->menuAction()->isEnabled(), m.Pistes->isEnabled(), m.Affichage->menuAction()->isEnabled(),
            m.Filtres->menuAction()->isEnabled(), m.Commentaire->isEnabled(), m.Exporter->isEnabled(), m.Sauver->isEnabled()};
}

TEST_F(RecordWindow, MenusFollowTheKindOfRecord)
{
    Principale& w = startQuietly();
    open(w, saveRecord(QStringLiteral("laps.Tml"), demo::lapTimingRecord(), 1));
    MenuState s = menuState(w);
    EXPECT_TRUE(s.unites && s.pistes && s.affichage && s.commentaire && s.exporter && s.sauver);
    EXPECT_FALSE(s.filtres);

    open(w, saveRecord(QStringLiteral("rpm.Tml"), demo::engineSpeedRecord(), 1));
    s = menuState(w);
    EXPECT_FALSE(s.unites || s.pistes || s.affichage);
    EXPECT_TRUE(s.filtres && s.commentaire && s.exporter);
    EXPECT_TRUE(messageTexts().isEmpty()) << messageTexts().join(QLatin1Char('|')).toStdString();

    // An empty lap record stops the decode: only what the decoder enables changes.
    open(w, saveRecord(QStringLiteral("empty.Tml"), RecordImage{}, 1));
    EXPECT_EQ(messageTexts(), QStringList{w.state().tables.Textes[20]});
    s = menuState(w);
    EXPECT_TRUE(s.unites);
    EXPECT_FALSE(s.pistes || s.affichage);
    EXPECT_TRUE(s.filtres);

    // Too few samples: "No Data Available", the menus stay as they were.
    dialogs.messages.clear();
    open(w, saveRecord(QStringLiteral("laps2.Tml"), demo::lapTimingRecord(), 1));
    RecordImage few;
    few.Data_Chrono[97] = 1;
    few.Data_Chrono[104] = 36;
    open(w, saveRecord(QStringLiteral("few.Tml"), few, 1));
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("No Data Available")});
    s = menuState(w);
    EXPECT_TRUE(s.pistes && s.affichage);
    EXPECT_FALSE(s.filtres);
}

TEST_F(RecordWindow, OpeningChecksTheExtensionAndShowsTheRecord)
{
    Principale& w = startQuietly();
    RecordImage image = demo::lapTimingRecord();
    image.Data_Chrono[8] = 0;
    image.Data_Chrono[9] = 12;
    image.Data_Chrono[0] = 4;
    image.Data_Chrono[1] = 87;
    const QString path = saveRecord(QStringLiteral("RUN1.TML"), image, 1);
    for (QLabel* value : w.panels().Frame_Moteurs->Ltmot)
        EXPECT_EQ(value->text(), QStringLiteral("Pas Dispon."));
    open(w, path);
    EXPECT_TRUE(messageTexts().isEmpty());
    EXPECT_EQ(w.windowTitle(), path + QStringLiteral("   SN:121111"));
    EXPECT_EQ(w.panels().Serial_Number->text(), QStringLiteral("121111"));
    EXPECT_EQ(w.panels().Frame_Moteurs->Ltmot[0]->text(), QStringLiteral("12:05"));
    EXPECT_EQ(w.panels().Frame_Moteurs->Ltmot[1]->text(), QStringLiteral("5:30"));
    EXPECT_EQ(w.panels().Frame_Moteurs->Ltmot[2]->text(), QStringLiteral("3:45"));
    EXPECT_EQ(w.record().Colonne_Graphique, 13);
    EXPECT_EQ(w.record().Fichier_Commentaire, path.left(path.size() - 4) + QStringLiteral(".TXT"));
    EXPECT_EQ(w.panels().Liste_Tours->table().rows.size(), 24U + 2U);

    const QString wrong = saveRecord(QStringLiteral("run2.dat"), demo::engineSpeedRecord(), 1);
    open(w, wrong);
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("File Extension Error")});
    EXPECT_EQ(w.windowTitle(), path + QStringLiteral("   SN:121111"));

    // A file that cannot be read: its error, then an empty record.
    dialogs.messages.clear();
    open(w, QDir(current_.path()).filePath(QStringLiteral("gone.Tml")));
    const QStringList texts = messageTexts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("Erreur")));
    EXPECT_GT(texts[0].mid(6).toInt(), 0);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(texts[1], w.state().tables.Textes[20]);
}

TEST_F(RecordWindow, OpeningLoadsTheRecordsTrackButKeepsTheCurrentOne)
{
    writeTracks(6);
    Principale& w = startQuietly();
    TrackEditor& editor = *w.panels().Frame_Piste;
    EXPECT_EQ(editor.Numero_Piste->text(), QStringLiteral("1"));

    // 2048 bytes: no track number, the track stays.
    const RecordImage image = demo::lapTimingRecord();
    const QString bare = QDir(current_.path()).filePath(QStringLiteral("bare.Tml"));
    writeBytes(bare, QByteArray(reinterpret_cast<const char*>(image.Data_Chrono.data()), 2048));
    open(w, bare);
    EXPECT_EQ(editor.Numero_Piste->text(), QStringLiteral("1"));

    open(w, saveRecord(QStringLiteral("five.Tml"), image, 5));
    EXPECT_EQ(editor.Numero_Piste->text(), QStringLiteral("5"));
    EXPECT_EQ(editor.fieldText(3), QStringLiteral("5000.0"));
    EXPECT_EQ(w.state().Piste_Courante, 1);
    // The speeds follow the record's track: 5000 m.
    EXPECT_FALSE(w.record().table.hidden[3]);

    // A number that is no track keeps track 5 and writes nothing.
    const QByteArray pistes = readBytes(QStringLiteral("Pistes.aqw"));
    open(w, saveRecord(QStringLiteral("bad.Tml"), image, 101));
    EXPECT_EQ(editor.Numero_Piste->text(), QStringLiteral("5"));
    EXPECT_EQ(readBytes(QStringLiteral("Pistes.aqw")), pistes);
}

TEST_F(RecordWindow, SavingChecksTheExtensionAndKeepsTheTrackNumber)
{
    Principale& w = startQuietly();
    const RecordImage image = demo::lapTimingRecord();
    open(w, saveRecord(QStringLiteral("source.Tml"), image, 1));

    const QDir here(current_.path());
    dialogs.saveAnswers.push_back(here.filePath(QStringLiteral("run1.tml")));
    w.Sauver_Click();
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("File Extension Error")});
    EXPECT_FALSE(QFileInfo::exists(here.filePath(QStringLiteral("run1.tml"))));

    dialogs.messages.clear();
    dialogs.saveAnswers.push_back(here.filePath(QStringLiteral("run1")));
    w.Sauver_Click();
    EXPECT_TRUE(messageTexts().isEmpty());
    const QByteArray saved = readBytes(here.filePath(QStringLiteral("run1.Tml")));
    ASSERT_EQ(saved.size(), 2050);
    EXPECT_EQ(saved.left(2048), QByteArray(reinterpret_cast<const char*>(image.Data_Chrono.data()), 2048));
    EXPECT_EQ(saved.mid(2048), QByteArray("\x01\x00", 2));
    EXPECT_EQ(w.windowTitle(), here.filePath(QStringLiteral("run1.Tml")) + QStringLiteral("   SN:270415"));
    EXPECT_EQ(w.record().Fichier_Commentaire, here.filePath(QStringLiteral("run1.TXT")));

    // A failed save says so, and leaves the caption alone.
    const QString before = w.windowTitle();
    ASSERT_TRUE(here.mkdir(QStringLiteral("taken.Tml")));
    dialogs.saveAnswers.push_back(here.filePath(QStringLiteral("taken.Tml")));
    w.Sauver_Click();
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(w.windowTitle(), before);

    // The comment file is created for the desktop's viewer, its path one argument.
    w.Commentaire_Click();
    ASSERT_EQ(launcher.started, QStringList{here.filePath(QStringLiteral("run1.TXT"))});
    EXPECT_TRUE(QFileInfo::exists(launcher.started[0]));
    launcher.available = false;
    w.Commentaire_Click();
    EXPECT_EQ(dialogs.messages.back().text, QStringLiteral("Notepad Not Found"));
}

TEST_F(RecordWindow, TypedSectionsGiveTheLapLengthInTheLocalesWay)
{
    for (QChar separator : {QLatin1Char('.'), QLatin1Char(',')}) {
        TrackEditor editor(nullptr, separator);
        const QString half = QStringLiteral("350") + separator + QStringLiteral("5");
        const QString quarter = QStringLiteral("200") + separator + QStringLiteral("25");
        editor.setFieldText(5, half);
        editor.setFieldText(6, quarter);
        editor.state().Piste_Modifiee = false;
        editor.setFieldText(4, QStringLiteral("400"));
        EXPECT_EQ(editor.fieldText(3), QStringLiteral("950") + separator + QStringLiteral("75"));
        EXPECT_TRUE(editor.state().Piste_Modifiee);
    }
}

TEST_F(RecordWindow, UnitButtonsShowTheStoredLengths)
{
    writeTracks(1);
    Principale& w = startQuietly();
    TrackEditor& editor = *w.panels().Frame_Piste;
    EXPECT_EQ(editor.fieldText(3), QStringLiteral("1000.0"));
    EXPECT_FALSE(editor.state().Piste_Modifiee);
    editor.Unit_Piste[1]->click();
    EXPECT_EQ(editor.fieldText(3), QStringLiteral("0.6214"));
    EXPECT_EQ(editor.fieldText(4), QStringLiteral("0.0"));
    EXPECT_TRUE(editor.state().Piste_Modifiee);
    // Going round the units never drifts from the stored metres.
    for (int unit : {2, 3, 1, 0})
        editor.Unit_Piste[std::size_t(unit)]->click();
    EXPECT_EQ(editor.fieldText(3), QStringLiteral("1000.0"));
    // A length typed but not saved goes along into the next unit.
    editor.setFieldText(3, QStringLiteral("1609.344"));
    editor.Unit_Piste[1]->click();
    EXPECT_EQ(editor.fieldText(3), QStringLiteral("1.0"));
}

TEST_F(RecordWindow, StepsSaveTheShownTrackAndRememberTheCurrentOne)
{
    writeTracks(3);
    Principale& w = startQuietly();
    TrackEditor& editor = *w.panels().Frame_Piste;
    QFile::remove(QDir(programFolder()).filePath(QStringLiteral("Tormport.dat")));

    // Previous at track 1: nothing moves, the settings are written.
    w.SSCommand2_Click();
    EXPECT_EQ(editor.Numero_Piste->text(), QStringLiteral("1"));
    EXPECT_EQ(settingsBytes().mid(6, 2), QByteArray("\x01\x00", 2));

    w.SSCommand3_Click();
    EXPECT_EQ(editor.Numero_Piste->text(), QStringLiteral("2"));
    EXPECT_EQ(w.state().Piste_Courante, 2);
    EXPECT_EQ(settingsBytes().mid(6, 2), QByteArray("\x02\x00", 2));

    // A record names track 3; edits to it are saved under 3, never under 2.
    open(w, saveRecord(QStringLiteral("three.Tml"), demo::lapTimingRecord(), 3));
    editor.setFieldText(0, QStringLiteral("Edited"));
    w.SSCommand2_Click();
    EXPECT_EQ(readTrack(QStringLiteral("Pistes.aqw"), 3)->Nom, QStringLiteral("Edited"));
    EXPECT_EQ(readTrack(QStringLiteral("Pistes.aqw"), 2)->Nom, QStringLiteral("Nom2"));
    EXPECT_EQ(editor.Numero_Piste->text(), QStringLiteral("2"));
}

TEST_F(RecordWindow, ClosingByMenuKeepsEditsClosingByButtonSavesAndRebuilds)
{
    writeTracks(1);
    Principale& w = startQuietly();
    open(w, saveRecord(QStringLiteral("laps.Tml"), demo::lapTimingRecord(), 1));
    TrackEditor& editor = *w.panels().Frame_Piste;
    w.Pistes_Click();
    EXPECT_TRUE(editor.isVisibleTo(&w));
    editor.setFieldText(4, QStringLiteral("400"));
    w.Pistes_Click();
    EXPECT_FALSE(editor.isVisibleTo(&w));
    EXPECT_EQ(readTrack(QStringLiteral("Pistes.aqw"), 1)->Distances[1], 0.0F);
    EXPECT_TRUE(w.record().table.hidden[5]);

    w.Pistes_Click();
    editor.Fermer_Piste->click();
    EXPECT_FALSE(editor.isVisibleTo(&w));
    EXPECT_EQ(readTrack(QStringLiteral("Pistes.aqw"), 1)->Distances[1], 400.0F);
    // The table was rebuilt with the new section length: its speed column shows.
    EXPECT_FALSE(w.record().table.hidden[5]);
}

TEST_F(RecordWindow, ExportRefusesARecordThatShowsNothing)
{
    Principale& w = startWithLaps();
    RecordImage few;
    few.Data_Chrono[97] = 1;
    few.Data_Chrono[104] = 36;  // 8 samples: the decode stops, Exporter stays enabled
    open(w, saveRecord(QStringLiteral("few.Tml"), few, 1));
    ASSERT_TRUE(w.menus().Exporter->isEnabled());
    dialogs.messages.clear();
    dialogs.saveAnswers.push_back(QDir(current_.path()).filePath(QStringLiteral("few.xls")));
    w.Exporter_Click();
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("No Data Available")});
    EXPECT_FALSE(QFileInfo::exists(QDir(current_.path()).filePath(QStringLiteral("few.xls"))));
}

TEST_F(RecordWindow, ExportRefusesOtherExtensionsAndReportsFailures)
{
    Principale& w = startQuietly();
    open(w, saveRecord(QStringLiteral("rpm.Tml"), demo::engineSpeedRecord(), 1));
    const QDir here(current_.path());
    dialogs.saveAnswers.push_back(here.filePath(QStringLiteral("out.XLS")));
    w.Exporter_Click();
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("Erreur d'extension de Fichier")});
    EXPECT_FALSE(QFileInfo::exists(here.filePath(QStringLiteral("out.XLS"))));

    dialogs.messages.clear();
    dialogs.saveAnswers.push_back(here.filePath(QStringLiteral("missing/out.xls")));
    w.Exporter_Click();
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);

    dialogs.messages.clear();
    dialogs.saveAnswers.push_back(here.filePath(QStringLiteral("rpm")));
    w.Exporter_Click();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(readBytes(here.filePath(QStringLiteral("rpm.xls"))).count('\n'), 2 + 1984);
}

TEST_F(RecordWindow, HeaderClicksSortAndTheLapHeaderRestoresOrder)
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
    dialogs.saveAnswers.push_back(QDir(current_.path()).filePath(QStringLiteral("sorted")));
    w.Exporter_Click();
    ASSERT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.saveRequests.back().proposedName, QDir(current_.path()).filePath(QStringLiteral("laps.xls")));
    // The file as shown, but for its first line: the date and time.
    const QByteArray written = readBytes(QDir(current_.path()).filePath(QStringLiteral("sorted.xls")));
    const QByteArray expected = exportLapTable(w.record().table, QDateTime::currentDateTime());
    EXPECT_EQ(written.mid(written.indexOf('\n')), expected.mid(expected.indexOf('\n')));
    EXPECT_EQ(written.split('\r')[3].split('\t').at(0).trimmed().toInt(), lapOrder(w.record().table).first());

    w.Liste_Tours_HeaderClick(0);
    QList<int> inOrder;
    for (int lap = 1; lap <= 24; ++lap)
        inOrder << lap;
    EXPECT_EQ(lapOrder(w.record().table), inOrder);
}

TEST_F(RecordWindow, LapClicksAndBarClicksEliminateAndRestore)
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

TEST_F(RecordWindow, RightClicksChooseTheChartedColumnAndStageChartsNothing)
{
    Principale& w = startWithLaps();
    LapTimeChart& chart = *w.panels().Graphique_Chronos;
    w.Liste_Tours_ChartColumn(10);
    EXPECT_EQ(chart.title(), w.record().table.cell(0, 10).text);
    const float top = chart.Haut_Graphique();
    w.Liste_Tours_ChartColumn(0);  // the stage or engine column
    EXPECT_EQ(chart.Haut_Graphique(), top);
    EXPECT_EQ(chart.title(), w.record().table.cell(0, 10).text);
}

TEST_F(RecordWindow, MilesRelabelAndConvertAndAreRemembered)
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

TEST_F(RecordWindow, RangesViewReplacesTheTableAndDisablesUnits)
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
