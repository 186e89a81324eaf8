#include "shell/principale.h"

#include "base/app_info.h"

#include "charts/canvas.h"
#include "charts/lap_time_chart.h"
#include "charts/record_chart.h"
#include "demo_records.h"
#include "download/receiver.h"
#include "platform/qt_serial_port.h"
#include "laps/conversions.h"
#include "laps/export.h"
#include "laps/lap_grid.h"
#include "laps/laps_records.h"
#include "laps/ranges_view.h"
#include "library/session_library.h"
#include "record/record_decoder.h"
#include "record/record_file.h"
#include "shell/comparison_plots.h"
#include "shell/comparison_window.h"
#include "shell/help_window.h"
#include "shell/menus.h"
#include "shell/sprockets_window.h"
#include "config/user_settings.h"
#include "support/fakes.h"
#include "support/pty_pair.h"
#include "support/temp_folder.h"
#include "tracks/track_editor.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>
#include <QComboBox>
#include <QDialog>
#include <QRegularExpression>
#include <QCheckBox>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QDropEvent>
#include <QUrl>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <QProcess>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;
using test::readBytes;
using test::writeBytes;

// A window started in a folder of its own: the program folder and the
// current folder are both fresh temporary folders. Its menus and panels are
// reached by their domain names.
class WindowTest : public ::testing::Test {
protected:
    QString programFile(const QString& name) const { return QDir(program_.path()).filePath(name); }
    QString here(const QString& name) const { return current_.file(name); }

    void copyShippedLanguages()
    {
        const QDir shipped(QStringLiteral(TORMEL_LANG_DIR));
        for (const QString& name : shipped.entryList({u"*.txt"_s}, QDir::Files))
            ASSERT_TRUE(QFile::copy(shipped.filePath(name), programFile(name)));
    }
    Principale& start()
    {
        window_ = std::make_unique<Principale>(
            Services{dialogs, launcher, linePort_ ? *linePort_ : static_cast<SerialPort&>(port), sound, program_.path(),
                     programFile(u"Tormel_Vue.ini"_s), shipped_});
        // A maximised window on a bare 1280x1024 screen.
        window_->resize(1280, 1024);
        window_->Form_Load();
        return *window_;
    }
    // With the shipped languages, past the start-up picture, no message yet.
    Principale& startQuietly()
    {
        copyShippedLanguages();
        start();
        click(u"Picture2"_s);
        dialogs.messages.clear();
        return *window_;
    }
    // Track 1 of 1000 m, and the demo lap record opened.
    Principale& startWithLaps()
    {
        writeTracks(1);
        startQuietly();
        open(saveRecord(u"laps.Tml"_s, demo::lapTimingRecord(), 1));
        return *window_;
    }

    template <typename T = QAction>
    T* find(const QString& name) const
    {
        if (T* child = window_->findChild<T*>(name))
            return child;
        throw std::runtime_error("no child named " + name.toStdString());
    }
    // What the user does: a menu entry, a click on a named widget, a click in the lap table.
    void trigger(const QString& action) const { find(action)->trigger(); }
    void click(const QString& widget) const { QTest::mouseClick(find<QWidget>(widget), Qt::LeftButton); }
    void clickCell(int row, int column, Qt::MouseButton button = Qt::LeftButton) const
    {
        auto* grid = find<LapGrid>(u"Liste_Tours"_s);
        QTest::mouseClick(grid->viewport(), button, {}, grid->cellRect(row, column).center());
    }
    void clickLap(int lap) const { clickCell(find<LapGrid>(u"Liste_Tours"_s)->table().rowOfLap(lap), LapTimeColumn); }
    QString title(const QString& menu) const { return caption(find<QMenu>(menu)->menuAction()); }
    const LapTable& shownTable() const { return find<LapGrid>(u"Liste_Tours"_s)->table(); }
    // Those of the blank-separated action names whose action answers true.
    QString which(bool (QAction::*is)() const, const QString& names) const
    {
        QStringList answered;
        for (const QString& name : names.split(u' '))
            if ((find(name)->*is)())
                answered << name;
        return answered.join(u' ');
    }
    QString enabledOf(const QString& names) const { return which(&QAction::isEnabled, names); }

    QString saveRecord(const QString& name, const RecordImage& image, std::int16_t track)
    {
        EXPECT_TRUE(saveRecordFile(here(name), image, track));
        return here(name);
    }
    void open(const QString& path)
    {
        dialogs.openAnswers.push_back(path);
        trigger(u"Ouvrir"_s);
    }
    // The texts of the messages shown since the last call.
    QStringList said()
    {
        QStringList texts;
        for (const auto& m : dialogs.messages)
            texts << m.text;
        dialogs.messages.clear();
        return texts;
    }
    // A track file of `count` tracks, track n with lap length 1000 n.
    void writeTracks(int count)
    {
        QByteArray bytes;
        for (int n = 1; n <= count; ++n) {
            Track f = defaultTrack(n, {u"Nom"_s, u"Hammeau"_s, u"Country"_s});
            f.lengths = {1000.0F * float(n), 0, 0, 0};
            bytes += encodeTrackRecord(f);
        }
        writeBytes(trackFileName, bytes);
    }
    QByteArray settingsBytes() const { return readBytes(programFile(u"Tormport.dat"_s)); }

    test::TempFolder current_;
    QTemporaryDir program_;
    QString shipped_;  // the installed data, when the test gives one
    test::FakeDialogs dialogs;
    test::FakeLauncher launcher;
    test::FakeSerialPort port;
    test::FakeSound sound;
    std::unique_ptr<SerialPort> linePort_;  // a real line instead of the fake, when a test gives one
    std::unique_ptr<Principale> window_;
};

// ---- Start-up, settings, languages ----------------------------------------

TEST_F(WindowTest, FirstStartWithNothingOnDiskThenToolTipsOff)
{
    start();
    EXPECT_EQ(dialogs.parent, window_.get());
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].text + u'|' + dialogs.messages[0].caption, u"Fichier Défectueux ou Manquant|Français"_s);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(enabledOf(u"Affichage Exporter Filtres Sauver"_s), QString());
    EXPECT_EQ(title(u"Unites"_s) + title(u"Communication"_s), u"km/h  |  °CComm:1"_s);
    // Applying the defaults at start-up writes no settings file.
    EXPECT_TRUE(settingsBytes().isEmpty());
    // The first track is created in the current folder and named in the menu.
    EXPECT_EQ(caption(find(u"Pistes"_s)), u"Nom1"_s);

    // Tool tips switch off in every panel, and back.
    QAction* tips = find(u"AffTip"_s);
    EXPECT_EQ(find<QWidget>(u"Picture1"_s)->toolTip(), u"Cliquer pour éliminer/restaurer"_s);
    tips->trigger();
    for (const QString& name : {u"Picture1"_s, u"Crpm(1)"_s, u"Rpm_L(2)"_s, u"Label8"_s, u"Command3D1"_s})
        EXPECT_TRUE(find<QWidget>(name)->toolTip().isEmpty()) << name.toStdString();
    EXPECT_EQ(settingsBytes().mid(8, 2), QByteArray("\x00\x00", 2));
    tips->trigger();
    EXPECT_EQ(find<QWidget>(u"Rpm_L(2)"_s)->toolTip(), u"Valeur Bouton Gauche"_s);
}

TEST_F(WindowTest, StoredSettingsAndShippedLanguageApplyWithoutRewrite)
{
    copyShippedLanguages();
    const QByteArray stored("\x02\x00\x03\x00\x02\x00\x01\x00\x00\x00", 10);
    writeBytes(programFile(u"Tormport.dat"_s), stored);
    start();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(which(&QAction::isChecked, u"Langue2 Com2 Unite_Vitesse1 Unite_Temp1 AffTip"_s), u"Langue2 Com2 Unite_Vitesse1 Unite_Temp1"_s);
    EXPECT_EQ(title(u"Options"_s) + u'|' + title(u"Unites"_s), u"English|"_s + caption(find(u"Unite_Vitesse1"_s)) + u"  |  "_s + caption(find(u"Unite_Temp1"_s)));
    EXPECT_NE(caption(find(u"Quitter"_s)), u"Quitter"_s);
    EXPECT_EQ(settingsBytes(), stored);
}

TEST_F(WindowTest, TheMenusShowTheChoicesInEveryLanguage)
{
    writeTracks(1);
    startQuietly();
    const QString track = caption(find(u"Pistes"_s));
    ASSERT_TRUE(track.startsWith(u"Nom1"_s));
    QString shownPort = u"1"_s;
    // The port's caption has one form, at start and after a choice, in each language.
    for (const auto& [language, port, expected] : {std::tuple(u"Langue2"_s, u"Com2"_s, u"Comm:2"_s),
                                                  std::tuple(u"Langue3"_s, u"Com4"_s, u"Komm:4"_s),
                                                  std::tuple(u"Langue0"_s, u"Com1"_s, u"Comm:1"_s)}) {
        trigger(language);
        EXPECT_EQ(caption(find(u"Pistes"_s)), track) << language.toStdString();
        EXPECT_EQ(title(u"Communication"_s), expected.left(5) + shownPort);
        trigger(port);
        shownPort = port.right(1);
        EXPECT_EQ(title(u"Communication"_s), expected);
        EXPECT_EQ(which(&QAction::isChecked, u"Langue0 Langue2 Langue3 Com1 Com2 Com4"_s), language + u' ' + port);
    }
}

TEST_F(WindowTest, ChoicesAreSavedAndUnwritableSettingsAreReportedOnce)
{
    start();
    trigger(u"Com3"_s);
    EXPECT_EQ(title(u"Communication"_s), u"Comm:3"_s);
    EXPECT_EQ(which(&QAction::isChecked, u"Com1 Com2 Com3 Com4"_s), u"Com3"_s);
    EXPECT_EQ(settingsBytes(), QByteArray("\x03\x00\x00\x00\x00\x00\x01\x00\xFF\xFF", 10));
    trigger(u"Unite_Vitesse1"_s);
    EXPECT_EQ(title(u"Unites"_s), u"miles/h  |  °C"_s);
    EXPECT_EQ(settingsBytes().mid(2, 2), QByteArray("\x01\x00", 2));

    // A folder in the way of the settings file makes every write fail: told once, choices kept.
    ASSERT_TRUE(QFile::remove(programFile(u"Tormport.dat"_s)) && QDir(program_.path()).mkdir(u"Tormport.dat"_s));
    dialogs.messages.clear();
    trigger(u"Com2"_s);
    trigger(u"Com3"_s);
    EXPECT_EQ(dialogs.messages.size(), 1U);
    EXPECT_TRUE(find(u"Com3"_s)->isChecked());
}

TEST_F(WindowTest, BackgroundIsChosenRememberedAndKeptBeneathThePanels)
{
    Principale& w = start();
    QLabel* image = find<QLabel>(u"Image1"_s);
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(here(u"back, ground.png"_s)) && picture.save(here(u"x.png"_s)));
    dialogs.openAnswers.push_back(here(u"back, ground.png"_s));
    trigger(u"Fonds"_s);
    EXPECT_TRUE(image->isVisibleTo(&w));
    EXPECT_EQ(image->parentWidget()->children().indexOf(image), 0);
    click(u"Image1"_s);
    click(u"Picture2"_s);  // the stored picture comes back when the start-up picture closes
    EXPECT_TRUE(image->isVisibleTo(&w));

    // A file of five bytes names no picture, not even one that is there.
    writeBytes(programFile(u"Picture.txt"_s), QByteArray("x.png"));
    trigger(u"Infos"_s);  // the stored background is read again when the about box closes
    click(u"Picture2"_s);
    EXPECT_FALSE(image->isVisibleTo(&w));
}

// ---- Records ----------------------------------------------------------------

TEST_F(WindowTest, MenusFollowTheKindOfRecordAndARefusedRecordIsNeverExported)
{
    startQuietly();
    RecordImage few;
    few.bytes[97] = 1;
    few.bytes[104] = 36;  // 8 samples
    const QString laps = u"Unites Pistes Affichage Commentaire Exporter Sauver"_s;
    const std::tuple<QString, RecordImage, QString, QString> steps[] = {
        {u"laps.Tml"_s, demo::lapTimingRecord(), {}, laps},
        {u"rpm.Tml"_s, demo::engineSpeedRecord(), {}, u"Filtres Commentaire Exporter Sauver"_s},
        // A refused record changes only what the decoder enables.
        {u"empty.Tml"_s, RecordImage{}, frenchTextTables().texts[20], u"Unites Filtres Commentaire Exporter Sauver"_s},
        {u"laps2.Tml"_s, demo::lapTimingRecord(), {}, laps},
        {u"few.Tml"_s, few, u"No Data Available"_s, laps},
    };
    for (const auto& [file, image, refusal, enabled] : steps) {
        SCOPED_TRACE(file.toStdString());
        open(saveRecord(file, image, 1));
        EXPECT_EQ(said(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
        EXPECT_EQ(enabledOf(u"Unites Pistes Affichage Filtres Commentaire Exporter Sauver"_s), enabled);
        if (refusal.isEmpty()) {
            // The ranges of a lap-timing record's best lap, shown once.
            trigger(u"Affichage_Tours"_s);
            trigger(u"Affichage_Table"_s);
            continue;
        }
        // Nothing of the record before is left behind the view switches.
        EXPECT_TRUE(find<RangesView>(u"Frame_Tranches"_s)->Label8()->text().isEmpty());
        trigger(u"Affichage_Table"_s);
        EXPECT_TRUE(shownTable().rows.empty());
        // Exporter is still enabled from the record before: it tells why and asks for no file.
        dialogs.saveAnswers = {here(u"refused.xls"_s)};
        trigger(u"Exporter"_s);
        EXPECT_EQ(said(), QStringList{refusal});
        EXPECT_TRUE(dialogs.saveRequests.empty());
        EXPECT_FALSE(QFileInfo::exists(here(u"refused.xls"_s)));
    }
}

TEST_F(WindowTest, OpeningLoadsTheRecordsTrackButKeepsTheCurrentOne)
{
    writeTracks(6);
    startQuietly();
    TrackEditor* editor = find<TrackEditor>(u"Frame_Piste"_s);
    EXPECT_EQ(editor->Numero_Piste->text(), u"1"_s);

    // 2048 bytes: no track number, the track stays.
    const RecordImage image = demo::lapTimingRecord();
    writeBytes(here(u"bare.Tml"_s), QByteArray(reinterpret_cast<const char*>(image.bytes.data()), 2048));
    open(here(u"bare.Tml"_s));
    EXPECT_EQ(editor->Numero_Piste->text(), u"1"_s);

    open(saveRecord(u"five.Tml"_s, image, 5));
    EXPECT_EQ(editor->Numero_Piste->text(), u"5"_s);
    EXPECT_EQ(editor->fieldText(3), u"5000.0"_s);
    // The speeds follow the record's track: 5000 m.
    EXPECT_FALSE(shownTable().hidden[LapSpeedColumn]);
    // The current track is still 1: the settings remember it.
    trigger(u"Com1"_s);
    EXPECT_EQ(settingsBytes().mid(6, 2), QByteArray("\x01\x00", 2));

    // A number that is no track keeps track 5 and writes nothing.
    const QByteArray pistes = readBytes(trackFileName);
    open(saveRecord(u"bad.Tml"_s, image, 101));
    EXPECT_EQ(editor->Numero_Piste->text(), u"5"_s);
    EXPECT_EQ(readBytes(trackFileName), pistes);
}

TEST_F(WindowTest, AnExampleOffersItsTrackOnceAskedAndNothingIsWrittenWithoutAYes)
{
    startQuietly();  // the first start made track 1 without lengths
    Track vallon = defaultTrack(1, {});
    vallon.name = u"Circuit du Vallon"_s;
    vallon.lengths = {1200.0F, 400.0F, 400.0F, 400.0F};
    ASSERT_TRUE(QDir().mkpath(here(u"examples"_s)));
    writeBytes(here(u"examples/Pistes.aqw"_s), encodeTrackRecord(vallon));
    const QString example = saveRecord(u"examples/demo_laps.Tml"_s, demo::lapTimingRecord(), 1);
    const QByteArray before = readBytes(trackFileName);

    dialogs.askAnswers = {false};
    open(example);
    ASSERT_EQ(dialogs.questions.size(), 1);
    EXPECT_EQ(dialogs.questions[0], frenchTextTables().texts[trackOffered].arg(u"Circuit du Vallon"_s, here(u"examples/Pistes.aqw"_s),
                                                                               here(trackFileName)));
    EXPECT_EQ(readBytes(trackFileName), before);
    EXPECT_TRUE(shownTable().hidden[LapSpeedColumn]);

    dialogs.askAnswers = {true};
    open(example);
    const std::optional<Track> added = readTrack(trackFileName, 1);
    ASSERT_TRUE(added);
    EXPECT_EQ(std::pair(added->name, added->lengths), std::pair(vallon.name, vallon.lengths));
    EXPECT_FALSE(shownTable().hidden[LapSpeedColumn]);
    // Once the user's file gives the lengths, nothing more is asked.
    open(example);
    EXPECT_EQ(dialogs.questions.size(), 2);
    EXPECT_TRUE(said().isEmpty());
}

TEST_F(WindowTest, ATrackFileThatCannotBeWrittenIsToldOnceWithItsPath)
{
    ASSERT_TRUE(QDir().mkpath(here(u"Pistes.aqw/inside"_s)));  // as good as a folder nobody may write
    copyShippedLanguages();
    start();
    click(u"Picture2"_s);
    const QStringList told = said();
    ASSERT_EQ(told.size(), 1) << told.join(u'\n').toStdString();
    EXPECT_TRUE(told[0].startsWith(u"Le fichier des pistes "_s + here(trackFileName) + u" n'a pas pu être écrit"_s)) << told[0].toStdString();
    // Stepping through the tracks and editing one go on without the file, and without a word more.
    TrackEditor* editor = find<TrackEditor>(u"Frame_Piste"_s);
    trigger(u"Pistes"_s);
    click(u"SSCommand3"_s);
    editor->VNC[0]->setText(u"Edited"_s);
    editor->Fermer_Piste->click();
    EXPECT_EQ(editor->fieldText(0), u"Edited"_s);
    EXPECT_TRUE(said().isEmpty());
    EXPECT_TRUE(QDir(here(u"Pistes.aqw/inside"_s)).exists());
}

TEST_F(WindowTest, SavingAndOpeningCheckTheExtensionSavingKeepsTheTrackNumber)
{
    Principale& w = startQuietly();
    const RecordImage image = demo::lapTimingRecord();
    open(saveRecord(u"source.Tml"_s, image, 1));
    // A new user's first Open starts in the working folder, not in the program folder.
    ASSERT_EQ(dialogs.openRequests.size(), 1U);
    EXPECT_EQ(dialogs.openRequests[0].initialFolder, current_.path());

    dialogs.saveAnswers.push_back(here(u"run1.tml"_s));
    trigger(u"Sauver"_s);
    EXPECT_EQ(said(), QStringList{u"File Extension Error"_s});
    EXPECT_FALSE(QFileInfo::exists(here(u"run1.tml"_s)));

    dialogs.saveAnswers.push_back(here(u"run1"_s));
    trigger(u"Sauver"_s);
    EXPECT_TRUE(said().isEmpty());
    const QByteArray saved = readBytes(here(u"run1.Tml"_s));
    EXPECT_EQ(saved, QByteArray(reinterpret_cast<const char*>(image.bytes.data()), 2048) + QByteArray("\x01\x00", 2));
    EXPECT_EQ(w.windowTitle(), here(u"run1.Tml"_s) + u"   SN:270415"_s);
    EXPECT_EQ(caption(find(u"Recent0"_s)), u"run1.Tml"_s);  // the record under its new name leads the recent ones

    // The comment file is the saved record's, created for the desktop's viewer, its path one argument.
    find(u"Commentaire"_s)->trigger();
    ASSERT_EQ(launcher.started, QStringList{here(u"run1.TXT"_s)});
    EXPECT_TRUE(QFileInfo::exists(launcher.started[0]));
    launcher.available = false;
    trigger(u"Commentaire"_s);
    EXPECT_EQ(said(), QStringList{u"Notepad Not Found"_s});

    // Opening names the record; another extension is refused.
    const QString path = saveRecord(u"RUN2.TML"_s, image, 1);
    open(path);
    open(saveRecord(u"run3.dat"_s, image, 1));
    EXPECT_EQ(said(), QStringList{u"File Extension Error"_s});
    EXPECT_EQ(w.windowTitle(), path + u"   SN:270415"_s);
    // A file that cannot be read: its error, then an empty record.
    open(here(u"gone.Tml"_s));
    const QStringList told = said();
    EXPECT_TRUE(told.size() == 2 && told[0].startsWith(u"Erreur"_s) && told[0].mid(6).toInt() > 0);
    EXPECT_EQ(told.value(1), frenchTextTables().texts[20]);
}

TEST_F(WindowTest, StepsSaveTheShownTrackAndRememberTheCurrentOne)
{
    writeTracks(3);
    startQuietly();
    TrackEditor* editor = find<TrackEditor>(u"Frame_Piste"_s);
    QFile::remove(programFile(u"Tormport.dat"_s));
    // Previous at track 1: nothing moves, the settings are written.
    click(u"SSCommand2"_s);
    EXPECT_EQ(editor->Numero_Piste->text(), u"1"_s);
    EXPECT_EQ(settingsBytes().mid(6, 2), QByteArray("\x01\x00", 2));
    click(u"SSCommand3"_s);
    EXPECT_EQ(editor->Numero_Piste->text(), u"2"_s);
    EXPECT_EQ(settingsBytes().mid(6, 2), QByteArray("\x02\x00", 2));

    // A record names track 3; edits to it are saved under 3, never under 2.
    open(saveRecord(u"three.Tml"_s, demo::lapTimingRecord(), 3));
    editor->VNC[0]->setText(u"Edited"_s);
    click(u"SSCommand2"_s);
    EXPECT_EQ(readTrack(trackFileName, 3)->name, u"Edited"_s);
    EXPECT_EQ(readTrack(trackFileName, 2)->name, u"Nom2"_s);
    EXPECT_EQ(editor->Numero_Piste->text(), u"2"_s);
}

TEST_F(WindowTest, ClosingByMenuKeepsEditsClosingByButtonSavesAndRebuilds)
{
    Principale& w = startWithLaps();
    TrackEditor* editor = find<TrackEditor>(u"Frame_Piste"_s);
    trigger(u"Pistes"_s);
    editor->VNC[4]->setText(u"400"_s);
    trigger(u"Pistes"_s);
    EXPECT_FALSE(editor->isVisibleTo(&w));
    EXPECT_EQ(readTrack(trackFileName, 1)->lengths[1], 0.0F);
    trigger(u"Pistes"_s);
    EXPECT_TRUE(editor->isVisibleTo(&w));
    editor->Fermer_Piste->click();
    EXPECT_FALSE(editor->isVisibleTo(&w));
    EXPECT_EQ(readTrack(trackFileName, 1)->lengths[1], 400.0F);
    // The table was rebuilt with the new section length: its speed column shows.
    EXPECT_FALSE(shownTable().hidden[Sector1SpeedColumn]);

    // The engine hours take the editor's place over the table, stay open through a resize, and close.
    auto* hours = find<QWidget>(u"Frame_Moteurs"_s);
    const auto shown = [&] { return QString::number(editor->isVisibleTo(&w)) + QString::number(hours->isVisibleTo(&w)); };
    trigger(u"Pistes"_s);
    trigger(u"Temps_Moteurs"_s);
    w.resize(1024, 768);
    EXPECT_EQ(shown() + QString::number(hours->pos() == find<QWidget>(u"Graphique_Chronos"_s)->pos()), u"011"_s);
    click(u"Fermer_Moteurs"_s);
    EXPECT_EQ(shown() + QString::number(find<QWidget>(u"Liste_Tours"_s)->isVisibleTo(&w)), u"001"_s);
}

// ---- The lap views ----------------------------------------------------------

TEST_F(WindowTest, HeaderClicksSortAndTheExportFollowsTheTableAsShown)
{
    startWithLaps();
    clickCell(LapTable::HeaderRow, LapTimeColumn);  // sorted on its hundredths
    // A lap click and a unit change rebuild the table; the sort stays, the export follows it.
    clickLap(5);
    trigger(u"Unite_Vitesse1"_s);
    EXPECT_EQ(shownTable().sortColumn, RawLapTimeColumn);
    EXPECT_TRUE(shownTable().cell(LapTable::HeaderRow, LapSpeedColumn).text.startsWith(u"miles/h"_s));
    dialogs.saveAnswers = {here(u"out.XLS"_s), here(u"missing/out.xls"_s), here(u"sorted"_s)};
    trigger(u"Exporter"_s);
    EXPECT_EQ(said(), QStringList{u"Erreur d'extension de Fichier"_s});
    EXPECT_FALSE(QFileInfo::exists(here(u"out.XLS"_s)));
    trigger(u"Exporter"_s);  // a folder that is not there
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
    trigger(u"Exporter"_s);
    EXPECT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.saveRequests.back().proposedName, here(u"laps.xls"_s));
    // The file as shown, but for its first line: the date and time.
    const QByteArray written = readBytes(here(u"sorted.xls"_s));
    const QByteArray expected = exportLapTable(shownTable(), QDateTime::currentDateTime());
    EXPECT_EQ(written.mid(written.indexOf('\n')), expected.mid(expected.indexOf('\n')));
    EXPECT_EQ(written.split('\r')[3].split('\t').at(0).trimmed().toInt(), shownTable().rows[2].lap);
}

TEST_F(WindowTest, LapAndBarClicksEliminateRightClicksChooseTheChartMenusSwapTheViews)
{
    Principale& w = startWithLaps();
    const auto red = [this](int lap) { return shownTable().cell(shownTable().rowOfLap(lap), LapTimeColumn).background == colours::Red; };
    clickLap(5);
    EXPECT_TRUE(red(5));
    // A click on the bar of lap 3 (slot 3) in the chart: re-decoded, eliminated, then restored.
    LapTimeChart* chart = find<LapTimeChart>(u"Graphique_Chronos"_s);
    chart->Picture1_MouseDown({.left = true}, {}, 2.5, chart->bottom());
    EXPECT_TRUE(red(3));
    chart->Picture1_MouseDown({.left = true}, {}, 2.5, chart->bottom());
    EXPECT_FALSE(red(3));

    clickCell(3, MaxRpmColumn, Qt::RightButton);
    EXPECT_EQ(chart->title(), shownTable().cell(LapTable::HeaderRow, MaxRpmColumn).text);
    const float top = chart->top();
    clickCell(3, LapNumberColumn, Qt::RightButton);  // what a click on the stage or engine column chooses: nothing
    EXPECT_EQ(chart->top(), top);
    EXPECT_EQ(chart->title(), shownTable().cell(LapTable::HeaderRow, MaxRpmColumn).text);
    // A lap eliminated and restored on the chart keeps the column charted.
    chart->Picture1_MouseDown({.left = true}, {}, 2.5, chart->bottom());
    chart->Picture1_MouseDown({.left = true}, {}, 2.5, chart->bottom());
    EXPECT_EQ(chart->title(), shownTable().cell(LapTable::HeaderRow, MaxRpmColumn).text);

    // The ranges of the best lap in the place of the table, without units; the
    // pointer over a bar reads its range out.
    RangesView* ranges = find<RangesView>(u"Frame_Tranches"_s);
    trigger(u"Affichage_Tours"_s);
    EXPECT_TRUE(ranges->isVisibleTo(&w) && !find<QWidget>(u"Liste_Tours"_s)->isVisibleTo(&w));
    EXPECT_EQ(enabledOf(u"Unites"_s), QString());
    const RangesPanel panel = buildRangesPanel(demo::lapTimingRecord(), frenchTextTables());
    EXPECT_EQ(ranges->Label8()->text(), panel.bestLapCaption);
    for (int i = 0; i < RangesView::Count; ++i) {
        EXPECT_EQ(ranges->Tranche(i)->floodPercent(), panel.fill[std::size_t(i)]) << i;
        // The captions shrink together, to the size the widest needs.
        EXPECT_EQ(ranges->Tranche(i)->captionPointSize(), ranges->Tranche(0)->captionPointSize()) << i;
        EXPECT_GE(ranges->Tranche(i)->captionFit() * ranges->font().pointSizeF(), ranges->Tranche(0)->captionPointSize() - 1e-9) << i;
    }
    EXPECT_GT(ranges->Tranche(0)->captionPointSize(), 0.0);
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(ranges->Tranche(5), &move);
    EXPECT_EQ(ranges->Label7()->text(), rangeReadout(panel, 5, systemDecimalSeparator()).timeText);
    EXPECT_EQ(ranges->Tranche(5)->toolTip(), rangeToolTip(frenchTextTables(), 5, true));
    ranges->Tranche_MouseMove(32);  // indices of no bar change nothing
    ranges->Tranche_MouseMove(-1);
    EXPECT_EQ(ranges->Label6()->text(), rangeName(5));
    trigger(u"Affichage_Table"_s);
    EXPECT_TRUE(!ranges->isVisibleTo(&w) && find<QWidget>(u"Liste_Tours"_s)->isVisibleTo(&w));
    EXPECT_EQ(enabledOf(u"Unites"_s), u"Unites"_s);

    // Opening a record clears every elimination and charts the lap time.
    w.openRecord(here(u"laps.Tml"_s));
    EXPECT_FALSE(red(5));
    EXPECT_EQ(chart->chartedColumn(), 13);
}

// ---- The window as it is on a desktop -----------------------------------------

TEST_F(WindowTest, PanelsFitTheWindowAndFollowItsSize)
{
    Principale& w = startQuietly();
    // A title bar and a desktop panel take 53 pixels of the screen.
    w.show();
    w.resize(1280, 1024 - 53);
    QApplication::processEvents();
    std::vector<test::LapSpec> laps(99);
    for (std::size_t i = 0; i < laps.size(); ++i)
        laps[i].lapTime = std::uint16_t(5000 + 10 * i);
    open(saveRecord(u"long.Tml"_s, test::lapRecord(laps, 0, 0), 1));
    auto* chart = find<LapTimeChart>(u"Graphique_Chronos"_s);
    const auto bottom = [&w](const QWidget* widget) { return widget->mapTo(&w, QPoint(0, widget->height())).y(); };
    EXPECT_FALSE(chart->HScroll1()->isHidden());
    EXPECT_LE(bottom(chart->HScroll1()), w.height());
    EXPECT_LE(bottom(chart->Label13(59)), w.height());

    // The wheel scrolls the laps; a resize lays out again and keeps them,
    // and the lap eliminated, without opening the record again.
    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart, &wheel);
    const int position = chart->scrollPosition();
    EXPECT_GT(position, 0);
    clickLap(5);
    w.resize(1024, 700);
    QApplication::processEvents();
    EXPECT_EQ(chart->lapsOnScreen(), 48);
    EXPECT_EQ(chart->scrollPosition(), position);
    EXPECT_EQ(chart->Label13(0)->text(), QString::number(position + 1));
    EXPECT_LE(bottom(chart->HScroll1()), w.height());
    EXPECT_EQ(shownTable().cell(shownTable().rowOfLap(5), LapTimeColumn).background, colours::Red);
}

TEST_F(WindowTest, AddedMessagesFollowTheLanguage)
{
    Principale& w = startQuietly();
    trigger(u"Langue2"_s);
    dialogs.messages.clear();
    trigger(u"Aide"_s);
    EXPECT_EQ(said(), QStringList{u"The help file %1 cannot be found."_s.arg(programFile(u"Help_2.txt"_s))});
    // A folder in the way of the record file makes the save fail: told, and the caption stays.
    ASSERT_TRUE(QDir(current_.path()).mkdir(u"taken.Tml"_s));
    open(saveRecord(u"laps.Tml"_s, demo::lapTimingRecord(), 1));
    const QString before = w.windowTitle();
    dialogs.saveAnswers = {here(u"taken.Tml"_s)};
    trigger(u"Sauver"_s);
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(u"The record could not be saved to "_s + here(u"taken.Tml"_s)));
    EXPECT_TRUE(dialogs.messages[0].icon == MessageIcon::Critical && w.windowTitle() == before);
    // One readable text per filter; the dialogs start where the user was last.
    ASSERT_FALSE(dialogs.saveRequests.empty());
    EXPECT_EQ(dialogs.saveRequests.back().filter.text(), u"Tml (*.Tml)"_s);
    EXPECT_EQ(dialogs.saveRequests.back().initialFolder, current_.path());
}

TEST_F(WindowTest, InstalledLanguagesAndHelpBeneathTheUsersFollowTheLanguage)
{
    // An installed copy: the shipped files in their own folder, the user's folder empty.
    QTemporaryDir share;
    for (const QString& folder : {QStringLiteral(TORMEL_LANG_DIR), QStringLiteral(TORMEL_HELP_DIR)})
        for (const QString& name : QDir(folder).entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(QDir(folder).filePath(name), QDir(share.path()).filePath(name)));
    ASSERT_TRUE(QFile::remove(QDir(share.path()).filePath(u"Help_3.txt"_s)));
    shipped_ = share.path();
    Principale& w = start();
    EXPECT_TRUE(dialogs.messages.empty());
    click(u"Picture2"_s);
    trigger(u"Aide"_s);
    auto* help = find<HelpWindow>(u"HelpWindow"_s);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), u"Tormel_Vue - Aide"_s);
    EXPECT_EQ(help->text().toUtf8(), readBytes(QDir(share.path()).filePath(u"Help_0.txt"_s)));

    trigger(u"Langue2"_s);
    EXPECT_EQ(caption(find(u"Quitter"_s)), u"Quit"_s);
    auto* serial = find<QLabel>(u"Serial_Number_Caption"_s);
    EXPECT_EQ(serial->text(), u"Serial No. : "_s);
    w.show();
    trigger(u"Langue1"_s);
    EXPECT_GE(serial->width(), serial->sizeHint().width()) << serial->text().toStdString();  // never clipped
    trigger(u"Langue2"_s);
    EXPECT_EQ(help->windowTitle(), u"Tormel_Vue - Help"_s);
    EXPECT_EQ(help->text().toUtf8(), readBytes(QDir(share.path()).filePath(u"Help_2.txt"_s)));
    // A language without its guide says so in the window.
    trigger(u"Langue3"_s);
    EXPECT_EQ(help->text(), u"Die Hilfedatei %1 wurde nicht gefunden."_s.arg(QDir(share.path()).filePath(u"Help_3.txt"_s)));
    EXPECT_TRUE(dialogs.messages.empty());
}

// ---- Engine-speed charts ------------------------------------------------------

TEST_F(WindowTest, EngineSpeedChartsShowTheQuickestLapsAndStepThroughCompleteOnes)
{
    startQuietly();
    const auto chart = [this](int g) { return find<RecordChart>(u"Graphique_Record(%1)"_s.arg(g)); };
    const auto samples = [](const std::vector<int>& beacons) { return test::rpmRecord(test::samplesWithBeacons(400, beacons), 1, 2); };
    // Laps closed at 0, 40, 65: lap 2 is the quicker of the two complete laps.
    open(saveRecord(u"three.Tml"_s, samples({0, 40, 65}), 1));
    EXPECT_TRUE(!chart(0)->isHidden() && !chart(1)->isHidden() && chart(2)->isHidden());
    EXPECT_EQ(chart(0)->title() + u'|' + chart(1)->title(), u"Meilleur Tour : 2|Tour : 1"_s);
    const auto summaryColour = [this](int g) { return find<QLabel>(u"Label31(%1)"_s.arg(g))->palette().color(QPalette::WindowText); };
    EXPECT_EQ(std::pair(summaryColour(0), summaryColour(1)), std::pair(QColor(0, 255, 0), QColor(255, 255, 0)));
    // The trace in white between green beacon lines at both lap edges.
    const QImage trace = chart(0)->Crpm()->image();
    EXPECT_EQ(trace.pixel(0, trace.height() - 1) & 0xFFFFFF, 0x00FF00U);
    EXPECT_EQ(trace.pixel(trace.width() - 1, trace.height() - 1) & 0xFFFFFF, 0x00FF00U);
    // A new size draws the charts again, on their new width.
    const UserScale before = chart(0)->Crpm()->scale();
    window_->show();
    window_->resize(900, 640);
    QApplication::processEvents();
    EXPECT_NE(chart(0)->Crpm()->scale(), before);
    bool white = false;
    for (int y = 0; y < trace.height(); ++y)
        white = white || (trace.pixel(trace.width() / 4, y) & 0xFFFFFF) == 0xFFFFFF;
    EXPECT_TRUE(white);

    // The buttons walk the complete laps 1 and 2 and stop there.
    click(u"SSCommand5(0)"_s);
    EXPECT_EQ(chart(0)->title(), u"Meilleur Tour : 2"_s);
    click(u"SSCommand4(0)"_s);
    click(u"SSCommand4(0)"_s);
    EXPECT_EQ(chart(0)->title(), u"Tour : 1"_s);

    // A new smoothing level decodes again and shows the quickest laps again.
    trigger(u"Filtre3"_s);
    EXPECT_EQ(find<QLabel>(u"Label9"_s)->text(), u" 7 éch."_s);
    EXPECT_EQ(chart(0)->title(), u"Meilleur Tour : 2"_s);
    EXPECT_EQ(which(&QAction::isChecked, u"Filtre0 Filtre1 Filtre2 Filtre3"_s), u"Filtre3"_s);

    // Two closings: lap 1 alone, in chart 0.
    open(saveRecord(u"two.Tml"_s, samples({0, 40}), 1));
    EXPECT_TRUE(!chart(0)->isHidden() && chart(1)->isHidden() && chart(2)->isHidden());
    EXPECT_EQ(chart(0)->title(), u"Meilleur Tour : 1"_s);
}

TEST_F(WindowTest, AnEngineSpeedRecordWithoutSpeedIsReportedOnceAndDrawnAgainst10000)
{
    startQuietly();
    // Every code 0: no engine speed at all, and no beacon pass.
    open(saveRecord(u"flat.Tml"_s, test::rpmRecord(std::vector<std::uint8_t>(200, 0), 1, 2), 1));
    EXPECT_EQ(said(), QStringList{frenchTextTables().texts[53]});
    EXPECT_EQ(readBytes(u"Error.txt"_s).count("\r\n1\r\n"), 1);
    const auto* chart = find<RecordChart>(u"Graphique_Record(0)"_s);
    EXPECT_EQ(chart->Crpm()->scale().top, 10000.0);
    EXPECT_EQ(find<QLabel>(u"Label31(0)"_s)->text(), u" 40,0 sec.  Max Rpm : 0"_s.replace(u',', systemDecimalSeparator()));
}

// ---- Records from elsewhere --------------------------------------------------------

TEST_F(WindowTest, RecentRecordsAndDroppedFilesOpenAsFromTheDialog)
{
    Principale& w = startQuietly();
    const QString first = saveRecord(u"first.Tml"_s, demo::lapTimingRecord(), 1);
    const QString second = saveRecord(u"second.Tml"_s, demo::engineSpeedRecord(), 1);
    open(second);
    open(first);
    open(second);  // listed once, first
    EXPECT_EQ(std::pair(caption(find(u"Recent0"_s)), find(u"Recent0"_s)->toolTip()), std::pair(u"second.Tml"_s, second));
    EXPECT_EQ(caption(find(u"Recent1"_s)), u"first.Tml"_s);
    EXPECT_FALSE(find(u"Recent2"_s)->isVisible());
    EXPECT_EQ(UserSettings(programFile(u"Tormel_Vue.ini"_s)).recentFiles(), (QStringList{second, first}));

    // A record gone from the disk leaves the list with a message.
    ASSERT_TRUE(QFile::remove(first));
    dialogs.messages.clear();
    trigger(u"Recent1"_s);
    EXPECT_EQ(said(), QStringList{frenchTextTables().texts[65].arg(first)});
    EXPECT_EQ(UserSettings(programFile(u"Tormel_Vue.ini"_s)).recentFiles(), QStringList{second});

    const auto drop = [&w](const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &event);
    };
    const QString third = saveRecord(u"third.Tml"_s, demo::lapTimingRecord(), 1);
    drop(third);
    EXPECT_TRUE(w.windowTitle().startsWith(third));
    // Its session report, through the save dialog.
    dialogs.saveAnswers = {here(u"third"_s)};
    trigger(u"Rapport"_s);
    EXPECT_TRUE(readBytes(here(u"third.pdf"_s)).startsWith("%PDF"));
    EXPECT_TRUE(dialogs.saveRequests.back().confirmOverwrite);
    EXPECT_EQ(caption(find(u"Rapport"_s)), frenchTextTables().texts[66]);
    writeBytes(here(u"notes.txt"_s), "x");
    drop(here(u"notes.txt"_s));
    EXPECT_EQ(said(), QStringList{u"File Extension Error"_s});
}

TEST_F(WindowTest, LapsOfTheLibrarysSessionsAreComparedAndTheChoiceKept)
{
    RecordImage other = demo::lapTimingRecord();
    other.bytes[2000] ^= 1;  // another session, the same laps
    other.bytes[1] ^= 1;     // and another logger's
    saveRecord(u"a.Tml"_s, demo::lapTimingRecord(), 1);
    saveRecord(u"b.Tml"_s, other, 1);
    startQuietly();
    auto* library = find<SessionLibrary>(u"SessionLibrary"_s);
    QSignalSpy updated(library, &SessionLibrary::updated);
    while (library->model().rowCount() < 2)
        ASSERT_TRUE(updated.wait(10000));
    trigger(u"Bibliotheque"_s);
    auto* table = find<QTableView>(u"LibraryTable"_s);
    auto* serial = find<QComboBox>(u"LibrarySerial"_s);
    // The consistency's columns; each column as wide as its widest text; a column hidden from the header's menu.
    EXPECT_EQ(table->model()->headerData(LibraryRacingLapsColumn, Qt::Horizontal).toString(), frenchTextTables().texts[libraryRacingLaps]);
    EXPECT_EQ(table->model()->headerData(LibraryDeviationColumn, Qt::Horizontal).toString(), frenchTextTables().texts[libraryDeviation]);
    const QString files = table->model()->index(0, LibraryFilesColumn).data().toString();
    EXPECT_GE(table->columnWidth(LibraryFilesColumn), std::min(table->fontMetrics().horizontalAdvance(files), 480));
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        menu->actions().at(LibraryDriverColumn)->trigger();
        menu->close();
    });
    emit table->horizontalHeader()->customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(table->isColumnHidden(LibraryDriverColumn));
    const auto chooseSerial = [serial](int index) {  // as a choice in the list does
        serial->setCurrentIndex(index);
        emit serial->activated(index);
    };
    chooseSerial(serial->findData(serialNumberText(other)));
    EXPECT_EQ(table->model()->rowCount(), 1);
    chooseSerial(0);
    const auto compareBestOfRow = [&](int row) {
        table->setCurrentIndex(table->model()->index(row, 0));
        click(u"LibraryCompareBest"_s);
    };
    compareBestOfRow(0);
    auto* laps = find<QListWidget>(u"CompareLaps"_s);
    EXPECT_EQ(laps->count(), 1);
    EXPECT_EQ(find<QLabel>(u"CompareNote"_s)->text(), frenchTextTables().texts[compareTooFew]);
    compareBestOfRow(1);
    ASSERT_EQ(laps->count(), 2);
    laps->setCurrentRow(1);
    click(u"CompareMakeReference"_s);
    const ComparisonContent& shown = find<ComparisonWindow>(u"ComparisonWindow"_s)->content();
    EXPECT_EQ(shown.reference, 1);
    EXPECT_TRUE(laps->item(1)->text().endsWith(frenchTextTables().texts[compareReference] + u")"_s));
    laps->setCurrentRow(0);  // the first lap can be the reference again
    click(u"CompareMakeReference"_s);
    EXPECT_EQ(shown.reference, 0);
    laps->setCurrentRow(1);
    click(u"CompareMakeReference"_s);
    dialogs.saveAnswers = {here(u"compared"_s)};
    click(u"CompareReport"_s);
    EXPECT_TRUE(readBytes(here(u"compared.pdf"_s)).startsWith("%PDF"));
    // Ctrl+Q quits from the comparison and the library; Escape closes them.
    window_->show();  // the menu bar holding Quitter is shown
    QSignalSpy quit(find<QAction>(u"Quitter"_s), &QAction::triggered);
    for (const QString& name : {u"ComparisonWindow"_s, u"LibraryWindow"_s}) {
        auto* shown = find<QWidget>(name);
        shown->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(shown));
        QTest::keyClick(shown, Qt::Key_Q, Qt::ControlModifier);
        QTest::keyClick(shown, Qt::Key_Escape);
        EXPECT_FALSE(shown->isVisible()) << name.toStdString();
    }
    EXPECT_EQ(quit.count(), 2);

    // Started again, the choice is there: a lap of the record shown joins it from the File menu.
    window_.reset();
    start();
    open(here(u"a.Tml"_s));
    // The laps are found through the library: its first index must be done.
    auto* again = find<SessionLibrary>(u"SessionLibrary"_s);
    QSignalSpy indexed(again, &SessionLibrary::updated);
    while (again->model().rowCount() < 2)
        ASSERT_TRUE(indexed.wait(10000));
    QTimer::singleShot(0, [] {
        auto* chooser = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr);
        // The session's best lap, already chosen, comes ticked and marked; no other.
        auto* list = chooser->findChild<QListWidget*>(u"LapChooserLaps"_s);
        const QString best = u" ("_s + frenchTextTables().texts[libraryBestLap] + u")"_s;
        for (int i = 0; i < list->count(); ++i)
            EXPECT_EQ(list->item(i)->checkState() == Qt::Checked, list->item(i)->text().endsWith(best)) << i;
        list->item(2)->setCheckState(Qt::Checked);
        chooser->accept();
    });
    trigger(u"Comparer"_s);
    // The other session's record, not read in this run, is read off the window's thread.
    const ComparisonContent& three = find<ComparisonWindow>(u"ComparisonWindow"_s)->content();
    ASSERT_TRUE(QTest::qWaitFor([&three] { return three.laps.size() == 3U; }, 10000));
    EXPECT_EQ(std::pair(three.reference, three.laps[2].lap.lap), std::pair(1, 3));
    // File > report while the comparison is shown reports the comparison.
    dialogs.saveAnswers = {here(u"three"_s)};
    trigger(u"Rapport"_s);
    EXPECT_EQ(dialogs.saveRequests.back().proposedName, frenchTextTables().texts[compareTitle] + u".pdf"_s);
    EXPECT_TRUE(readBytes(here(u"three.pdf"_s)).startsWith("%PDF"));

    // A record deleted: its lap leaves the choice with a message when the laps are shown again.
    auto* restarted = find<SessionLibrary>(u"SessionLibrary"_s);
    QSignalSpy missing(restarted, &SessionLibrary::updated);
    ASSERT_TRUE(QFile::remove(here(u"b.Tml"_s)));
    const auto anyMissing = [restarted] {
        for (int r = 0; r < restarted->model().rowCount(); ++r)
            if (restarted->model().row(r).session.missing)
                return true;
        return false;
    };
    while (!anyMissing())
        ASSERT_TRUE(missing.wait(10000));
    dialogs.messages.clear();
    find<QListWidget>(u"CompareLaps"_s)->setCurrentRow(2);
    click(u"CompareRemove"_s);
    ASSERT_EQ(said().size(), 1);
    EXPECT_EQ(find<QListWidget>(u"CompareLaps"_s)->count(), 1);
    EXPECT_EQ(UserSettings(programFile(u"Tormel_Vue.ini"_s)).comparedLaps().size(), 2);

    // The column hidden stays hidden after the restart.
    trigger(u"Bibliotheque"_s);
    EXPECT_TRUE(find<QTableView>(u"LibraryTable"_s)->isColumnHidden(LibraryDriverColumn));

    // The record shown gone from the disk: why its laps cannot be compared, in the window's language.
    ASSERT_TRUE(QFile::remove(here(u"a.Tml"_s)));
    trigger(u"Comparer"_s);
    const QStringList told = said();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(frenchTextTables().texts[compareUnreadable].arg(here(u"a.Tml"_s), QString()))) << told[0].toStdString();
}

TEST_F(WindowTest, EngineSpeedLapsOfTheRecordShownAreOverlaid)
{
    startQuietly();
    open(saveRecord(u"rpm.Tml"_s, demo::engineSpeedRecord(), 1));
    QTimer::singleShot(0, [] {
        auto* list = QApplication::activeModalWidget()->findChild<QListWidget*>(u"LapChooserLaps"_s);
        list->item(0)->setCheckState(Qt::Checked);
        list->item(1)->setCheckState(Qt::Checked);
        qobject_cast<QDialog*>(QApplication::activeModalWidget())->accept();
    });
    trigger(u"Comparer"_s);
    auto* window = find<ComparisonWindow>(u"ComparisonWindow"_s);
    ASSERT_EQ(window->content().laps.size(), 2U);
    EXPECT_EQ(window->content().laps[1].kind, RecordKind::EngineSpeed);
    // Both traces overlaid, with the second one's difference to the first beneath.
    EXPECT_EQ(find<OverlayPlot>(u"OverlayPlot"_s)->graphCount(), 3);
    EXPECT_FALSE(find<SectionBarsPlot>(u"SectionBarsPlot"_s)->isVisibleTo(window));
    auto* alignment = find<QComboBox>(u"OverlayAlignment"_s);
    EXPECT_TRUE(alignment->isVisibleTo(window));
    alignment->setCurrentIndex(2);
    EXPECT_EQ(window->content().figures.alignment, Alignment::Track);
    // File > Other sprockets: the record's laps, its best chosen; the
    // comparison's button: the laps compared, the one chosen in its list.
    ASSERT_TRUE(find(u"Pignons"_s)->isEnabled());
    trigger(u"Pignons"_s);
    auto* sprockets = find<SprocketsWindow>(u"SprocketsWindow"_s);
    const std::vector<ComparedSessionLap>& laps = sprockets->view().laps;
    ASSERT_GT(laps.size(), 2U);
    const int best = readComparableRecord(here(u"rpm.Tml"_s), QString()).figures.bestLap;
    EXPECT_EQ(laps[std::size_t(sprockets->view().chosen)].lap.lap, best);
    EXPECT_FALSE(sprockets->fromComparison);
    find<QListWidget>(u"CompareLaps"_s)->setCurrentRow(1);
    click(u"CompareSprockets"_s);
    EXPECT_EQ(std::tuple(sprockets->view().laps.size(), sprockets->view().chosen, sprockets->fromComparison), std::tuple(2U, 1, true));
    EXPECT_EQ(sprockets->view().laps[1].label, window->content().laps[1].label);
    // The traces follow the charts' smoothing.
    const std::vector<float> raw = window->content().laps[0].trace.rpm;
    find<QSpinBox>(u"UpDown1"_s)->setValue(3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->content().laps[0].trace.rpm != raw; }, 10000));

    // Started again, File > Comparaison (Ctrl+5) shows the same laps, still along the track.
    window_.reset();
    start();
    QSignalSpy indexed(find<SessionLibrary>(u"SessionLibrary"_s), &SessionLibrary::updated);
    EXPECT_EQ(find(u"Comparaison"_s)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_5));
    trigger(u"Comparaison"_s);
    ASSERT_TRUE(indexed.wait(10000));
    auto* again = find<ComparisonWindow>(u"ComparisonWindow"_s);
    ASSERT_TRUE(QTest::qWaitFor([again] { return again->content().laps.size() == 2U; }, 10000));
    EXPECT_EQ(again->content().figures.alignment, Alignment::Track);
    EXPECT_EQ(find<QComboBox>(u"OverlayAlignment"_s)->currentIndex(), 2);
}

TEST_F(WindowTest, TheStartedWindowFillsTheScreenWithTheRecordNamed)
{
    copyShippedLanguages();
    window_ = std::make_unique<Principale>(Services{dialogs, launcher, port, sound, program_.path(), programFile(u"Tormel_Vue.ini"_s)});
    startWindow(*window_, saveRecord(u"laps.Tml"_s, demo::lapTimingRecord(), 1));
    EXPECT_TRUE(window_->isMaximized());
    EXPECT_EQ(window_->size(), QGuiApplication::primaryScreen()->availableGeometry().size());
    EXPECT_EQ(window_->windowTitle(), here(u"laps.Tml"_s) + u"   SN:270415"_s);
    window_.reset();
    EXPECT_EQ(dialogs.parent, nullptr);
}

// ---- Download ------------------------------------------------------------------

TEST_F(WindowTest, ASessionOfTheLibraryOpensAsFromTheDialog)
{
    const QString path = saveRecord(u"laps.Tml"_s, demo::lapTimingRecord(), 1);
    Principale& w = startQuietly();
    auto* library = find<SessionLibrary>(u"SessionLibrary"_s);
    QSignalSpy updated(library, &SessionLibrary::updated);
    if (library->model().rowCount() == 0) {
        ASSERT_TRUE(updated.wait(10000));
    }
    trigger(u"Bibliotheque"_s);
    auto* table = find<QTableView>(u"LibraryTable"_s);
    ASSERT_EQ(table->model()->rowCount(), 1);
    find<QLineEdit>(u"LibrarySearch"_s)->setText(u"no such session"_s);
    EXPECT_EQ(table->model()->rowCount(), 0);
    EXPECT_EQ(find<QLabel>(u"LibraryStatus"_s)->text(), u"0 session"_s);  // French: singular for 0 and 1
    find<QLineEdit>(u"LibrarySearch"_s)->clear();
    EXPECT_EQ(find<QLabel>(u"LibraryStatus"_s)->text(), u"1 session"_s);
    find<QLineEdit>(u"LibraryTo"_s)->setText(u"01/01/2001"_s);  // every session is newer
    EXPECT_EQ(table->model()->rowCount(), 0);
    find<QLineEdit>(u"LibraryTo"_s)->clear();  // no bound
    EXPECT_EQ(table->model()->rowCount(), 1);
    EXPECT_FALSE(find(u"Bibliotheque"_s)->isCheckable() || find(u"Ouvrir"_s)->isCheckable());
    table->setCurrentIndex(table->model()->index(0, 0));
    // Its setup sheet, typed in the panel beside the table, goes beside the record.
    find<QLineEdit>(u"SetupDriver"_s)->setText(u"Ana"_s);
    find<QSpinBox>(u"SetupFrontSprocket"_s)->setValue(12);
    find<QSpinBox>(u"SetupRearSprocket"_s)->setValue(84);
    EXPECT_EQ(find<QLabel>(u"SetupRatio"_s)->text(), u"7,000"_s);  // follows either sprocket
    find<QPlainTextEdit>(u"SetupRemark"_s)->setPlainText(u"wet"_s);
    click(u"SetupSave"_s);
    const std::optional<SetupSheet> sheet = parseSetupSheet(readBytes(here(u"laps.setup.json"_s))).sheet;
    ASSERT_TRUE(sheet.has_value());
    EXPECT_EQ(std::tuple(sheet->driver, sheet->rearSprocket, sheet->remark), std::tuple(u"Ana"_s, std::optional(84), u"wet"_s));
    // A folder added through the folder dialog is watched and kept.
    test::TempFolder season;
    EXPECT_TRUE(saveRecordFile(season.file(u"rpm.Tml"_s), demo::engineSpeedRecord(), 1));
    dialogs.folderAnswers = {season.path()};
    click(u"LibraryAddFolder"_s);
    EXPECT_EQ(dialogs.folderCaptions, QStringList{frenchTextTables().texts[libraryAddFolder]});
    EXPECT_EQ(UserSettings(programFile(u"Tormel_Vue.ini"_s)).libraryFolders(), QStringList{season.path()});
    while (table->model()->rowCount() < 2)
        ASSERT_TRUE(updated.wait(10000));
    // The season's bests follow the update: the folder's record is on track 1 too.
    EXPECT_TRUE(find<QLabel>(u"BestsValue0"_s)->text().startsWith(lapTimeText(float(sessionFigures(demo::lapTimingRecord()).bestTime))));
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_EQ(w.windowTitle(), path + u"   SN:270415"_s);
    EXPECT_EQ(caption(find(u"Recent0"_s)), u"laps.Tml"_s);
}

TEST_F(WindowTest, TheLibrarySaysWhatItRebuiltAndKeepsWhatItCannotShow)
{
    writeBytes(programFile(u"library.sqlite"_s), QByteArray("not an index ").repeated(400));
    const QString record = saveRecord(u"laps.Tml"_s, demo::lapTimingRecord(), 1);
    const QString remark(100'000, u'r');
    writeBytes(here(u"laps.setup.json"_s),
               u"{\"frontSprocket\": \"11\", \"rearSprocket\": 250, \"engine\": 2, \"driver\": \"Ana\", \"remark\": \"%1\"}"_s.arg(remark).toUtf8());
    startQuietly();
    auto* library = find<SessionLibrary>(u"SessionLibrary"_s);
    QSignalSpy updated(library, &SessionLibrary::updated);
    if (library->model().rowCount() == 0) {
        ASSERT_TRUE(updated.wait(10000));
    }
    // Opened after the update, the library still says where the damaged index went.
    trigger(u"Bibliotheque"_s);
    const QStringList aside = QDir(program_.path()).entryList({u"library.sqlite.old-*"_s}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    const TextTables french = frenchTextTables();
    EXPECT_EQ(find<QLabel>(u"LibraryNotice"_s)->text(),
              french.texts[libraryIndexMoved].arg(QDir::toNativeSeparators(programFile(aside[0]))));
    auto* table = find<QTableView>(u"LibraryTable"_s);
    table->setCurrentIndex(table->model()->index(0, 0));
    // The mistyped key is named, the other fields shown; what was not changed is saved whole.
    EXPECT_TRUE(find<QLabel>(u"SetupState"_s)->text().contains(u"frontSprocket"_s));
    EXPECT_EQ(find<QLineEdit>(u"SetupDriver"_s)->text(), u"Ana"_s);
    EXPECT_EQ(find<QSpinBox>(u"SetupEngine"_s)->value(), 2);
    find<QLineEdit>(u"SetupKart"_s)->setText(u"K2"_s);
    click(u"SetupSave"_s);
    const QJsonObject saved = QJsonDocument::fromJson(readBytes(here(u"laps.setup.json"_s))).object();
    EXPECT_EQ(saved.value(u"frontSprocket"_s).toString(), u"11"_s);
    EXPECT_EQ(saved.value(u"rearSprocket"_s).toInt(), 250);
    EXPECT_EQ(saved.value(u"remark"_s).toString().size(), remark.size());
    EXPECT_EQ(saved.value(u"kart"_s).toString(), u"K2"_s);

    // Saved over with another image, the session stays, missing, its sheet shown read-only.
    ASSERT_TRUE(saveRecordFile(record, demo::engineSpeedRecord(), 1));
    library->refresh();
    while (table->model()->rowCount() < 2)
        ASSERT_TRUE(updated.wait(10000));
    for (int r = 0; r < 2; ++r) {
        table->setCurrentIndex(table->model()->index(r, 0));
        const bool missing = table->model()->index(r, 0).data(LibraryModel::MissingRole).toBool();
        EXPECT_EQ(find<QWidget>(u"SetupSave"_s)->isEnabled(), !missing) << r;
        // The new session may take the setup of the one before it on the track, the old one's sheet.
        EXPECT_EQ(find<QWidget>(u"SetupLikeLast"_s)->isEnabled(), !missing) << r;
        EXPECT_EQ(find<QLabel>(u"SetupState"_s)->text().contains(french.texts[setupReadOnly]), missing) << r;
    }

    // A file cut short opens, and the title says how much was read.
    writeBytes(here(u"cut.Tml"_s), readBytes(record).left(1000));
    open(here(u"cut.Tml"_s));
    EXPECT_TRUE(window_->windowTitle().endsWith(french.texts[titleTruncated].arg(1000).arg(2048)))
        << window_->windowTitle().toStdString();
}

TEST_F(WindowTest, AFolderAddedInTheWindowIsListedByTheCommand)
{
    // The settings file as the program names it, for a user whose home is a folder of the test.
    QTemporaryDir home;
    const QByteArray config = (home.path() + u"/.config"_s).toLocal8Bit();
    qputenv("XDG_CONFIG_HOME", config);
    QStandardPaths::setTestModeEnabled(false);
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(applicationTitle());
    const QString settings = UserSettings::standardFile();
    QCoreApplication::setApplicationName(name);
    QStandardPaths::setTestModeEnabled(true);
    qunsetenv("XDG_CONFIG_HOME");

    copyShippedLanguages();
    window_ = std::make_unique<Principale>(Services{dialogs, launcher, port, sound, program_.path(), settings, shipped_});
    window_->Form_Load();
    trigger(u"Bibliotheque"_s);
    test::TempFolder season;
    EXPECT_TRUE(saveRecordFile(season.file(u"round1.Tml"_s), demo::engineSpeedRecord(), 1));
    dialogs.folderAnswers = {season.path()};
    click(u"LibraryAddFolder"_s);

    QProcess command;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"HOME"_s, home.path());
    env.insert(u"XDG_CONFIG_HOME"_s, QString::fromLocal8Bit(config));
    env.remove(u"XDG_DATA_HOME"_s);
    command.setProcessEnvironment(env);
    command.setWorkingDirectory(home.path());
    command.start(QStringLiteral(TORMEL_EXE), {u"--library"_s});
    ASSERT_TRUE(command.waitForFinished(60000));
    EXPECT_EQ(command.exitCode(), 0) << command.readAllStandardError().toStdString();
    EXPECT_TRUE(command.readAllStandardOutput().contains(season.file(u"round1.Tml"_s).toUtf8()));
}

TEST_F(WindowTest, ADownloadIsSavedAsErrorTmlAndShownEvenWhenTheCopyFails)
{
    Principale& w = startQuietly();
    auto* receiver = w.findChild<DownloadReceiver*>(u"receiver"_s);
    receiver->setTimerEnabled(false);
    qint64 now = 0;
    receiver->setClock([&now] { return now; });
    const auto settle = [&] {
        receiver->tick();
        now += 50;
        receiver->tick();
    };
    const auto scanCaption = [this] { return find<QPushButton>(u"Command3D1"_s)->text(); };
    const RecordImage record = demo::lapTimingRecord();
    const QByteArray bytes(reinterpret_cast<const char*>(record.bytes.data()), RecordImage::Size);

    trigger(u"Com1"_s);
    trigger(u"Nouveau"_s);
    click(u"Command3D1"_s);
    EXPECT_EQ(scanCaption(), u"Stop Scan"_s);
    EXPECT_EQ(w.windowTitle(), u"Tormel_Vue Version 1.1 sur le port 1"_s);
    // Another port chosen while listening: listening moves there, without a word.
    trigger(u"Com2"_s);
    EXPECT_EQ(std::tuple(port.opened, scanCaption(), w.windowTitle()),
              std::tuple(2, u"Stop Scan"_s, u"Tormel_Vue Version 1.1 sur le port 2"_s));
    EXPECT_TRUE(said().isEmpty());
    port.buffer = bytes;
    settle();
    EXPECT_EQ(scanCaption(), u"Start Scan"_s);
    // The count stays with what came, and the title with the port it came from.
    EXPECT_EQ(find<QLabel>(u"Label4"_s)->text(), u"2048"_s);
    EXPECT_EQ(w.windowTitle(), u"Tormel_Vue Version 1.1 sur le port 2"_s);
    EXPECT_FALSE(find<QWidget>(u"Frame_Lecture_Pro"_s)->isVisibleTo(&w));
    EXPECT_EQ(readBytes(u"error.tml"_s).size(), 2050);
    EXPECT_EQ(find<QLabel>(u"Serial_Number"_s)->text(), u"270415"_s);
    const DecodedRecord decoded = decodeRecord(demo::lapTimingRecord(), QString());
    EXPECT_EQ(find<QLabel>(u"Mode"_s)->text() + find<QLabel>(u"Hard_Ver"_s)->text() + find<QLabel>(u"Soft_Ver"_s)->text(),
              decoded.modeText + decoded.hardwareVersionText + decoded.softwareVersionText);
    EXPECT_TRUE(said().isEmpty());
    // A first download charts the lap times, as opening a record does.
    EXPECT_EQ(find<LapTimeChart>(u"Graphique_Chronos"_s)->title(), frenchTextTables().texts[35]);
    EXPECT_EQ(QDir(here(u"downloads"_s)).entryList(QDir::Files).size(), 1);

    // Folders in the way of error.tml and of the copies: told, and the record is still shown.
    ASSERT_TRUE(QFile::remove(here(u"error.tml"_s)) && QDir(current_.path()).mkdir(u"error.tml"_s));
    ASSERT_TRUE(QDir(here(u"downloads"_s)).removeRecursively());
    writeBytes(here(u"downloads"_s), "in the way");
    click(u"Command3D1"_s);
    RecordImage second = record;
    second.bytes[0] = 0x02;
    port.buffer = QByteArray(reinterpret_cast<const char*>(second.bytes.data()), RecordImage::Size);
    settle();
    EXPECT_EQ(find<QLabel>(u"Serial_Number"_s)->text(), serialNumberText(second));
    const QStringList told = said();
    EXPECT_TRUE(told.size() == 2 && told[0].startsWith(u"La copie du téléchargement n'a pas pu être gardée"_s)
                && told[1].startsWith(u"Le fichier error.tml n'a pas pu être écrit"_s)) << told.join(u'|').toStdString();
    EXPECT_EQ(scanCaption(), u"Start Scan"_s);

    // A port that cannot be opened says why, once, in the chosen language,
    // under a title of the tables, and Start stays Start; the dialout group is
    // named only when access was denied.
    const TextTables french = frenchTextTables();
    port.openable = false;
    for (const auto& [problem, cause] : {std::pair(port.problem, french.texts[68].arg(u"/dev/ttyUSB0"_s)),
                                         std::pair(PortProblem{PortProblem::Kind::NoDevice, 1, {}, {}}, french.texts[67].arg(1))}) {
        port.problem = problem;
        click(u"Command3D1"_s);
        EXPECT_EQ(scanCaption(), u"Start Scan"_s);
        ASSERT_EQ(dialogs.messages.size(), 1U);
        EXPECT_EQ(dialogs.messages[0].caption, french.texts[portTitle]);
        const QStringList opened = said();
        EXPECT_EQ(opened, QStringList{french.texts[12] + u"\n"_s + cause});
        EXPECT_EQ(opened.value(0).contains(u"dialout"_s), problem.kind == PortProblem::Kind::AccessDenied);
    }
}

TEST_F(WindowTest, APulledLineIsToldOnceAndStartWorksAgainOnAnotherDevice)
{
    if (QStandardPaths::findExecutable(u"socat"_s).isEmpty())
        GTEST_SKIP() << "socat is not installed (scripts/test installs it)";
    linePort_ = std::make_unique<QtSerialPort>();
    Principale& w = startQuietly();
    const auto scanCaption = [&w] { return w.findChild<QPushButton*>(u"Command3D1"_s)->text(); };
    // Runs the window's events until `done`, a bounded number of times.
    const auto runUntil = [](const std::function<bool()>& done, int times = 600) {
        for (int i = 0; i < times && !done(); ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
    };

    auto cable = std::make_unique<test::PtyPair>();
    ASSERT_TRUE(cable->ready());
    qputenv("TORMEL_VUE_COM1", cable->programEnd().toLocal8Bit());
    trigger(u"Com1"_s);
    trigger(u"Nouveau"_s);
    click(u"Command3D1"_s);
    const RecordImage record = demo::lapTimingRecord();
    const QByteArray bytes(reinterpret_cast<const char*>(record.bytes.data()), RecordImage::Size);
    cable->send(bytes.left(300));
    runUntil([&] { return w.findChild<QLabel*>(u"Label4"_s)->text() == u"300"_s; });
    cable.reset();
    runUntil([&] { return !dialogs.messages.empty(); });
    runUntil([] { return false; }, 100);  // time for more refusals, were there any
    const TextTables french = frenchTextTables();
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].caption, french.texts[portTitle]);
    EXPECT_EQ(said(), QStringList{french.texts[11] + u"\n"_s + french.texts[10] + u"\n"_s + french.texts[70].arg(300)});
    EXPECT_EQ(scanCaption(), u"Start Scan"_s);

    test::PtyPair another;
    ASSERT_TRUE(another.ready());
    qputenv("TORMEL_VUE_COM1", another.programEnd().toLocal8Bit());
    click(u"Command3D1"_s);
    another.send(bytes);
    runUntil([&] { return scanCaption() == u"Start Scan"_s; });
    qunsetenv("TORMEL_VUE_COM1");
    EXPECT_EQ(w.findChild<QLabel*>(u"Serial_Number"_s)->text(), u"270415"_s);
    EXPECT_TRUE(said().isEmpty());  // the pulled line was told once

    // The laps of the download compare from the File menu, read from the copy it was kept in.
    QTimer::singleShot(0, [] {
        auto* chooser = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr);
        chooser->findChild<QListWidget*>(u"LapChooserLaps"_s)->item(1)->setCheckState(Qt::Checked);
        chooser->accept();
    });
    trigger(u"Comparer"_s);
    EXPECT_TRUE(said().isEmpty());
    auto* compared = find<QListWidget>(u"CompareLaps"_s);
    ASSERT_EQ(compared->count(), 1);
    EXPECT_TRUE(compared->item(0)->text().contains(u" #2"_s)) << compared->item(0)->text().toStdString();
}

}  // namespace
}  // namespace tormel
