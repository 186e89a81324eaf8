#include "shell/library_window.h"

#include "demo_records.h"
#include "laps/laps_records.h"
#include "platform/dialogs.h"
#include "record/record_file.h"
#include "shell/season_plot.h"
#include "shell/settings_controller.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "tracks/track_file.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;

// A season of two sessions, 12 May and 20 June, in a library window of its
// own, in a language read from the shipped files.
class LibraryWindowTest : public ::testing::Test {
protected:
    LibraryWindowTest()
    {
        const QDir shipped(QStringLiteral(TORMEL_LANG_DIR));
        for (const QString& name : shipped.entryList({u"*.txt"_s}, QDir::Files))
            QFile::copy(shipped.filePath(name), folder_.file(name));
        QDir().mkpath(folder_.file(u"season"_s));
        RecordImage other = demo::lapTimingRecord();
        other.bytes[1] = std::uint8_t(other.bytes[1] ^ 1U);
        saveRecordFile(folder_.file(u"season/2026-05-12_10-00-00_SN1.Tml"_s), demo::lapTimingRecord(), 1);
        saveRecordFile(folder_.file(u"season/2026-06-20_10-00-00_SN2.Tml"_s), other, 1);
    }

    // The window in `language`, once the library has read the season.
    void start(Language language)
    {
        settings_.Langue_Click(int(language));
        window_.reset();
        library_ = std::make_unique<SessionLibrary>(folder_.file(u"data/library.sqlite"_s));
        library_->setTexts(settings_.tables(), TemperatureUnit::Celsius);
        window_ = std::make_unique<LibraryWindow>(*library_, dialogs_);
        window_->applyTexts(settings_.tables(), TemperatureUnit::Celsius);
        QSignalSpy updated(library_.get(), &SessionLibrary::updated);
        library_->setFolders(folder_.file(u"work"_s), {folder_.file(u"season"_s)}, folder_.file(u"Pistes.aqw"_s));
        ASSERT_TRUE(updated.wait(10000));
        window_->show();
    }
    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        T* w = window_->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    int rows() const { return find<QTableView>(u"LibraryTable"_s)->model()->rowCount(); }
    // The June session chosen in the table.
    void chooseJune()
    {
        auto* table = find<QTableView>(u"LibraryTable"_s);
        for (int r = 0; r < table->model()->rowCount(); ++r)
            if (table->model()->index(r, 0).data(LibraryModel::PathRole).toString().contains(u"06-20"_s))
                table->setCurrentIndex(table->model()->index(r, 0));
    }

    test::TempFolder folder_;
    test::FakeDialogs dialogs_;
    SettingsController settings_{dialogs_, folder_.path(), {}};
    std::unique_ptr<SessionLibrary> library_;
    std::unique_ptr<LibraryWindow> window_;
};

TEST_F(LibraryWindowTest, DatesAreTypedPickedAndClearedInTheLanguagesWay)
{
    const struct { Language language; QString first; QString shortYear; QString picked; } cases[] = {
        {Language::French, u"1/6/2026"_s, u"01/06/26"_s, u"19/06/2026"_s},
        {Language::German, u"1.6.2026"_s, u"01.06.26"_s, u"19.06.2026"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.language));
        start(c.language);
        auto* from = find<QLineEdit>(u"LibraryFrom"_s);
        EXPECT_TRUE(from->text().isEmpty());  // no bound to begin with
        // The calendar's button sits against its line, as one field.
        EXPECT_EQ(find<QToolButton>(u"LibraryFromCalendar"_s)->geometry().left(), from->geometry().right() + 1);
        EXPECT_EQ(rows(), 2);
        QTest::keyClicks(from, c.first);
        EXPECT_EQ(rows(), 1);
        QTest::keyClicks(from, u"x"_s);  // no date: the bound stays, the text is marked
        EXPECT_EQ(rows(), 1);
        EXPECT_FALSE(from->property("valid").toBool());
        QTest::keyClick(from, Qt::Key_Delete);
        EXPECT_EQ(std::pair(from->text(), rows()), std::pair(QString(), 2));
        QTest::keyClicks(from, c.shortYear);  // a two-digit year is of this century
        EXPECT_EQ(rows(), 1);
        from->selectAll();
        QTest::keyClicks(from, u"-"_s);
        EXPECT_EQ(rows(), 2);

        // The calendar speaks the language and opens at the last session's day.
        from->clear();
        find<QToolButton>(u"LibraryFromCalendar"_s)->click();
        auto* calendar = window_->findChild<QCalendarWidget*>(u"LibraryFromDays"_s);
        ASSERT_NE(calendar, nullptr);
        EXPECT_EQ(calendar->selectedDate(), QDate(2026, 6, 20));
        EXPECT_EQ(calendar->locale().language(), languageLocale(c.language).language());
        auto* days = calendar->findChild<QAbstractItemView*>();
        QTest::keyClick(days, Qt::Key_Left);
        QTest::keyClick(days, Qt::Key_Return);
        EXPECT_EQ(std::pair(from->text(), rows()), std::pair(c.picked, 1));
        // A day clicked: the 15th of the month shown.
        find<QToolButton>(u"LibraryFromCalendar"_s)->click();
        const QAbstractItemModel* month = days->model();
        for (int r = 1; r < month->rowCount(); ++r)
            for (int k = 0; k < month->columnCount(); ++k)
                if (month->index(r, k).data().toString() == u"15"_s)
                    QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, days->visualRect(month->index(r, k)).center());
        EXPECT_EQ(std::pair(from->text().left(2), rows()), std::pair(u"15"_s, 1));
    }
}

// Numbers in the setup panel take the language's separator, and either
// separator typed; the file keeps a point.
TEST_F(LibraryWindowTest, NumbersAreReadAndShownWithTheLanguagesSeparator)
{
    const QString sheet = folder_.file(u"season/2026-06-20_10-00-00_SN2.setup.json"_s);
    test::writeBytes(sheet, R"({"frontPressure": 0.56, "frontSprocket": 12, "rearSprocket": 84, "needle": 2.5})");
    const struct { Language language; QString shown; QString ratio; } cases[] = {
        {Language::German, u"0,56"_s, u"7,000"_s},
        {Language::English, u"0.56"_s, u"7.000"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.language));
        start(c.language);
        chooseJune();
        auto* pressure = find<QDoubleSpinBox>(u"SetupFrontPressure"_s);
        EXPECT_EQ(pressure->text(), c.shown);
        EXPECT_EQ(find<QLabel>(u"SetupRatio"_s)->text(), c.ratio);
        for (const QString& typed : {u"0,70"_s, u"0.70"_s}) {
            pressure->selectAll();
            QTest::keyClicks(pressure, typed);
            pressure->interpretText();
            EXPECT_DOUBLE_EQ(pressure->value(), 0.70) << typed.toStdString();
            pressure->setValue(0.56);
        }
    }
    start(Language::French);
    chooseJune();
    auto* pressure = find<QDoubleSpinBox>(u"SetupFrontPressure"_s);
    pressure->selectAll();
    QTest::keyClicks(pressure, u"0,75"_s);
    pressure->interpretText();
    // A field emptied (its box at its lowest, shown blank) leaves the file.
    find<QDoubleSpinBox>(u"SetupNeedle"_s)->setValue(0);
    find<QPushButton>(u"SetupSave"_s)->click();
    const QByteArray saved = test::readBytes(sheet);
    EXPECT_TRUE(saved.contains("\"frontPressure\": 0.75"));
    // The fields left or made empty stay out of the file, whole numbers and decimals alike.
    for (const char* key : {"mainJet", "needle", "rearPressure", "airTemperature"})
        EXPECT_FALSE(saved.contains(key)) << key << '\n' << saved.toStdString();
}

// A window made after the library has read the season shows its bests at
// once; each update lists each track once.
TEST_F(LibraryWindowTest, TheSeasonsBestsAreShownFromTheStartAndListEachTrackOnce)
{
    start(Language::French);
    LibraryWindow late(*library_, dialogs_);
    EXPECT_EQ(late.findChild<QComboBox*>(u"BestsTrack"_s)->count(), 1);
    emit library_->updated(rows());
    EXPECT_EQ(find<QComboBox>(u"BestsTrack"_s)->count(), 1);
}

// Track 1 of 90 m and sprockets 10/80 make the traced record's tyre 1.8 m
// round: no kart's. Other teeth typed, the circumference follows.
TEST_F(LibraryWindowTest, AnEngineSpeedSessionsSprocketsAndLapLengthGiveItsRollingCircumference)
{
    Track track = defaultTrack(1, {u"Nom"_s, u"Hammeau"_s, u"Country"_s});
    track.lengths = {90.0F, 30.0F, 30.0F, 30.0F};
    test::writeBytes(folder_.file(u"Pistes.aqw"_s), encodeTrackRecord(track));
    ASSERT_TRUE(saveRecordFile(folder_.file(u"season/2026-07-01_10-00-00_SN3.Tml"_s), test::tracedRecord(), 1));
    test::writeBytes(folder_.file(u"season/2026-07-01_10-00-00_SN3.setup.json"_s), R"({"frontSprocket": 10, "rearSprocket": 80})");
    start(Language::French);
    const TextTables& t = settings_.tables();
    auto* circumference = find<QLabel>(u"SetupCircumference"_s);
    chooseJune();
    EXPECT_FALSE(circumference->isVisibleTo(window_.get()));  // lap timing: no revolutions
    auto* table = find<QTableView>(u"LibraryTable"_s);
    for (int r = 0; r < table->model()->rowCount(); ++r)
        if (table->model()->index(r, 0).data(LibraryModel::PathRole).toString().contains(u"07-01"_s))
            table->setCurrentIndex(table->model()->index(r, 0));
    EXPECT_TRUE(circumference->isVisibleTo(window_.get()));
    EXPECT_EQ(circumference->text(), t.texts[setupCircumferenceWrong].arg(t.texts[setupCircumference].arg(u"1,800"_s)));
    find<QSpinBox>(u"SetupRearSprocket"_s)->setValue(40);
    EXPECT_EQ(circumference->text(), t.texts[setupCircumference].arg(u"0,900"_s));
}

// A file in the sheet's place that is none is said beside the sheet, in the
// window's language only; the sheet cannot be saved over it.
TEST_F(LibraryWindowTest, ABrokenSheetIsToldBesideItAndCannotBeSavedOver)
{
    const QString sheet = folder_.file(u"season/2026-06-20_10-00-00_SN2.setup.json"_s);
    test::writeBytes(sheet, "[1, 2]");
    for (Language language : {Language::French, Language::German}) {
        start(language);
        chooseJune();
        const TextTables& t = settings_.tables();
        EXPECT_EQ(find<QLabel>(u"SetupState"_s)->text(),
                  t.texts[setupLeftAsIs].arg(QDir::toNativeSeparators(sheet), t.texts[setupNotObject]));
        EXPECT_FALSE(find<QWidget>(u"SetupSave"_s)->isEnabled());
        // However long what the library says, the window still fits a screen 1024 pixels wide.
        emit library_->notice(QStringList(40, u"a long notice"_s).join(u' '));
        EXPECT_LE(window_->minimumSizeHint().width(), 1024);
    }
    EXPECT_EQ(test::readBytes(sheet), "[1, 2]");
}

// A session clicked on the season's chart is chosen in the table; a double
// click opens it.
TEST_F(LibraryWindowTest, TheSeasonChartChoosesAndOpensSessions)
{
    start(Language::German);
    window_->findChild<QTabWidget*>(u"LibraryTabs"_s)->setCurrentIndex(1);
    auto* chart = find<SeasonPlot>(u"BestsChart"_s);
    ASSERT_EQ(chart->graph(0)->dataCount(), 2);
    chart->replot();
    const QCPGraphData june = *chart->graph(0)->data()->at(1);
    const QPoint at(int(chart->xAxis->coordToPixel(june.key)), int(chart->yAxis->coordToPixel(june.value)));
    QTest::mouseClick(chart, Qt::LeftButton, {}, at);
    auto* table = find<QTableView>(u"LibraryTable"_s);
    EXPECT_TRUE(table->currentIndex().data(LibraryModel::PathRole).toString().contains(u"06-20"_s));
    QSignalSpy opened(window_.get(), &LibraryWindow::openRequested);
    QTest::mouseDClick(chart, Qt::LeftButton, {}, at);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0][0].toString(), folder_.file(u"season/2026-06-20_10-00-00_SN2.Tml"_s));
    // The season on paper, from its button; a file that cannot be written is told.
    dialogs_.saveAnswers = {folder_.file(u"saison"_s), folder_.file(u"nowhere/saison.pdf"_s)};
    find<QPushButton>(u"LibrarySeasonReport"_s)->click();
    EXPECT_TRUE(test::readBytes(folder_.file(u"saison.pdf"_s)).startsWith("%PDF"));
    EXPECT_TRUE(dialogs_.saveRequests.back().confirmOverwrite);
    find<QPushButton>(u"LibrarySeasonReport"_s)->click();
    ASSERT_EQ(dialogs_.messages.size(), 1U);
    EXPECT_TRUE(dialogs_.messages[0].text.contains(folder_.file(u"nowhere/saison.pdf"_s)));
    EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::Critical);
}

// A dialog belongs to the window the user is in, which has the front again
// once it is answered: the library never falls behind the main window.
TEST(DialogOwner, TheWindowInUseOwnsTheDialogAndComesBack)
{
    // The application's own active window: a child window shares its parent's activation.
    const auto active = [](QWidget* w) { return QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 5000); };
    QWidget main;
    QWidget library(&main, Qt::Window);
    main.show();
    library.show();
    library.activateWindow();
    ASSERT_TRUE(active(&library));
    {
        const DialogOwner owner(&main);
        EXPECT_EQ(owner.widget(), &library);
        main.activateWindow();
        ASSERT_TRUE(active(&main));
    }
    EXPECT_TRUE(active(&library));
    library.hide();
    main.activateWindow();
    ASSERT_TRUE(active(&main));
    EXPECT_EQ(DialogOwner(nullptr).widget(), &main);
}

}  // namespace
}  // namespace tormel
