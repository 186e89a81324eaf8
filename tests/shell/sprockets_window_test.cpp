#include "shell/sprockets_window.h"
#include "shell/comparison_window.h"
#include "support/made_up_laps.h"
#include "support/temp_folder.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;

SprocketsView twoLaps()
{
    SprocketsView view;
    view.laps = test::madeUpEngineSpeedLaps(2, true);
    view.chosen = 1;
    return view;
}

int highest(const std::vector<int>& rpm)
{
    return *std::max_element(rpm.begin(), rpm.end());
}

TEST(SprocketsWindow, OtherTeethGiveTheLapsEngineSpeedTheirClassesAndTheRearsNearTheTarget)
{
    SprocketsWindow window;
    const TextTables t = frenchTextTables();
    window.show(twoLaps(), t, {0, 0, 13000, 0, 0, 0});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto spin = [&](const QString& name) { return window.findChild<QSpinBox*>(name); };
    // The chosen lap, at its session's sprockets and its engine's target.
    EXPECT_EQ(window.findChild<QComboBox*>(u"SprocketsLap"_s)->currentIndex(), 1);
    EXPECT_EQ(std::tuple(spin(u"SprocketsFront"_s)->value(), spin(u"SprocketsRear"_s)->value(), spin(u"SprocketsTarget"_s)->value()),
              std::tuple(11, 82, 13000));
    const int lapMax = highest(window.view().laps[1].trace.raw);
    EXPECT_EQ(window.view().result->maxRpm, lapMax);

    spin(u"SprocketsRear"_s)->setValue(84);
    const OtherSprockets& r = *window.view().result;
    EXPECT_EQ(r.maxRpm, rpmWithSprockets(lapMax, {11, 82}, {11, 84}));
    auto* plot = window.findChild<SprocketsPlot*>(u"SprocketsPlot"_s);
    ASSERT_EQ(plot->graphCount(), 2);
    EXPECT_EQ(plot->graph(1)->data()->at(0)->value, r.rpm[0]);
    auto* figures = window.findChild<QTableWidget*>(u"SprocketsFigures"_s);
    EXPECT_EQ(figures->item(0, 1)->text(), QString::number(r.maxRpm));
    EXPECT_EQ(figures->horizontalHeaderItem(1)->text(), t.texts[sprocketsWith].arg(11).arg(84));
    // The rear closest to the target in bold among its neighbours.
    auto* rears = window.findChild<QTableWidget*>(u"SprocketsRears"_s);
    ASSERT_EQ(rears->rowCount(), int(r.rears.size()));
    ASSERT_GE(r.closest, 0);
    EXPECT_EQ(rears->item(r.closest, 0)->text(), QString::number(r.rears[std::size_t(r.closest)].rear));
    EXPECT_TRUE(rears->item(r.closest, 0)->font().bold());
    EXPECT_FALSE(rears->item(r.closest == 0 ? 1 : 0, 0)->font().bold());

    // A new target is kept for the lap's engine.
    QSignalSpy kept(&window, &SprocketsWindow::targetChosen);
    spin(u"SprocketsTarget"_s)->setValue(14000);
    ASSERT_EQ(kept.count(), 1);
    EXPECT_EQ(std::pair(kept[0][0].toInt(), kept[0][1].toInt()), std::pair(2, 14000));
    EXPECT_EQ(window.view().targetMaxRpm, 14000);

    // A session whose sheet gives no sprockets says so, and works nothing out.
    SprocketsView bare = twoLaps();
    bare.laps[0].setup = {};
    window.show(bare, t, {});
    window.findChild<QComboBox*>(u"SprocketsLap"_s)->setCurrentIndex(0);
    emit window.findChild<QComboBox*>(u"SprocketsLap"_s)->activated(0);
    EXPECT_FALSE(window.view().result.has_value());
    auto* note = window.findChild<QLabel*>(u"SprocketsNote"_s);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(), t.texts[sprocketsNoneFitted]);
    EXPECT_FALSE(spin(u"SprocketsRear"_s)->isEnabled());
    EXPECT_EQ(plot->graphCount(), 1);
}

int pdfPages(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? int(file.readAll().count("/Type /Page\n")) : -1;
}

TEST(SprocketsWindow, TheComparisonsReportHoldsTheLapWithOtherSprockets)
{
    test::TempFolder folder;
    ComparisonContent content;
    content.tables = frenchTextTables();
    content.laps = test::madeUpEngineSpeedLaps(2, true);
    workOutFigures(content);
    ASSERT_TRUE(writeComparisonReport(folder.file(u"without.pdf"_s), content));
    SprocketsView view = twoLaps();
    view.other = {11, 80};
    view.targetMaxRpm = 13000;
    workOutSprockets(view);
    content.sprockets = view;
    ASSERT_TRUE(writeComparisonReport(folder.file(u"with.pdf"_s), content));
    const int without = pdfPages(folder.file(u"without.pdf"_s));
    EXPECT_GE(without, 1);
    EXPECT_EQ(pdfPages(folder.file(u"with.pdf"_s)), without + 1);
    // Its figures as text, the first-order caveat last.
    const QStringList lines = sprocketsTextLines(view, content.tables);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(content.tables.texts[sprocketsMaximum])) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(QString::number(view.result->maxRpm)));
    EXPECT_EQ(lines.back(), content.tables.texts[sprocketsFirstOrder]);
}

}  // namespace
}  // namespace tormel
