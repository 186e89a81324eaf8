#include "shell/comparison_plots.h"
#include "laps/conversions.h"
#include "shell/comparison_window.h"
#include "support/made_up_laps.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPainter>
#include <QRegularExpression>
#include <QSplitter>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <cmath>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;

// Three engine-speed laps of about a minute, of a session whose track the library knows.
ComparisonContent threeLaps()
{
    ComparisonContent content;
    content.tables = frenchTextTables();
    content.laps = test::madeUpEngineSpeedLaps(3);
    for (std::size_t i = 0; i < 3; ++i) {
        content.laps[i].track = u"Circuit du Vallon"_s;
        content.laps[i].path = u"/records/a folder of this season/2026-05-1%1_10-30-00_SN270415 with a long name.Tml"_s.arg(i + 2);
    }
    return content;
}

void expectPlainNumbers(const QCPAxis* axis, double factor = 1)
{
    const QList<double> ticks = axis->tickVector();
    const QList<QString> labels = axis->tickVectorLabels();
    ASSERT_FALSE(ticks.isEmpty());
    for (qsizetype i = 0; i < ticks.size(); ++i)
        EXPECT_EQ(labels[i], QString::number(std::round(ticks[i] * factor * 1e6) / 1e6)) << labels[i].toStdString();
}

void send(QWidget* to, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers modifiers = {})
{
    QMouseEvent event(type, at, to->mapToGlobal(at), button, buttons, modifiers);
    QApplication::sendEvent(to, &event);
}

void wheel(QWidget* to, QPointF at, int delta)
{
    QWheelEvent event(at, to->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(to, &event);
}

struct ShownComparison {
    ComparisonWindow window;
    OverlayPlot* overlay;
    explicit ShownComparison(ComparisonContent content = threeLaps())
    {
        window.show(std::move(content));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        overlay = window.findChild<OverlayPlot*>(u"OverlayPlot"_s);
        overlay->replot();
    }
    // A point over the traces, `share` of the way across.
    QPointF over(double share) const
    {
        const QRect r = overlay->axisRect()->rect();
        return {r.left() + r.width() * share, double(r.center().y())};
    }
};

TEST(ComparisonPlots, TheOverlayShowsEachLapOnTitledAxesOfPlainNumbers)
{
    ShownComparison shown;
    const ComparisonContent& c = shown.window.content();
    const TextTables& t = c.tables;
    OverlayPlot* plot = shown.overlay;
    // Each lap of the list in its colour.
    const QImage swatch = shown.window.findChild<QListWidget*>(u"CompareLaps"_s)->item(1)->icon().pixmap(16, 16).toImage();
    EXPECT_EQ(QColor(swatch.pixel(8, 8)), QColor(c.laps[1].colour.r, c.laps[1].colour.g, c.laps[1].colour.b));
    // Two thirds of the height for the chart.
    const int split = shown.window.findChild<QSplitter*>(u"CompareSplitter"_s)->height();
    EXPECT_TRUE(plot->height() * 2 >= split && plot->height() * 10 <= split * 7) << plot->height() << ' ' << split;
    // No lap has a road speed: no check box for it.
    EXPECT_FALSE(shown.window.findChild<QCheckBox*>(u"OverlaySpeed"_s)->isVisibleTo(&shown.window));
    EXPECT_EQ(std::pair(plot->xAxis->range().lower, plot->xAxis->range().upper), std::pair(0.0, c.figures.xEnd));
    EXPECT_EQ(std::pair(plot->yAxis->range().lower, plot->yAxis->range().upper), std::pair(c.figures.rpmLow, c.figures.rpmHigh));
    QCPAxis* differenceAxis = plot->differenceRect()->axis(QCPAxis::atLeft);
    EXPECT_EQ(differenceAxis->range().upper, c.figures.differenceLimit);
    EXPECT_EQ(plot->xAxis->label() + u'|' + plot->yAxis->label() + u'|' + differenceAxis->label(),
              t.texts[overlayTimeAxis] + u'|' + t.texts[overlayRpmAxis] + u'|' + t.texts[overlayDifferenceAxis]);
    expectPlainNumbers(plot->yAxis);
    // A light grid; the difference panel's zero line stands out of it.
    EXPECT_GT(plot->yAxis->grid()->pen().color().lightness(), 210);
    EXPECT_LT(differenceAxis->grid()->zeroLinePen().color().lightness() + 60, differenceAxis->grid()->pen().color().lightness());
    EXPECT_TRUE(plot->yAxis->tickVectorLabels().contains(u"10000"_s)) << plot->yAxis->tickVectorLabels().join(u' ').toStdString();
    // A trace per lap, the reference thicker; a difference for each other lap, on the same x.
    ASSERT_EQ(plot->graphCount(), 5);
    for (int i = 0; i < 3; ++i) {
        const QCPGraph* trace = plot->graph(i == 0 ? 0 : 2 * i - 1);
        EXPECT_EQ(trace->data()->size(), int(c.laps[std::size_t(i)].trace.rpm.size()));
        EXPECT_EQ(trace->pen().color(), QColor(c.laps[std::size_t(i)].colour.r, c.laps[std::size_t(i)].colour.g, c.laps[std::size_t(i)].colour.b));
        if (i > 0) {
            EXPECT_GT(plot->graph(0)->pen().widthF(), trace->pen().widthF());
            EXPECT_EQ(plot->graph(2 * i)->valueAxis(), differenceAxis);
            EXPECT_EQ(plot->graph(2 * i)->data()->size(), int(c.figures.differences[std::size_t(i)].x.size()));
            EXPECT_GT(plot->graph(2 * i)->data()->size(), 0);
        }
    }
    // The tables beneath are painted; the legend in pixels as the axes are, so a report scales them alike.
    auto* page = shown.window.findChild<QWidget*>(u"ComparisonPage"_s);
    const QImage tables = page->grab().toImage();
    int base = 0;
    int dark = 0;
    for (int y = 0; y < tables.height(); ++y)
        for (int x = 0; x < tables.width(); ++x) {
            const QColor pixel = tables.pixelColor(x, y);
            base += pixel == page->palette().color(QPalette::Base);
            dark += pixel.lightness() < 128;
        }
    EXPECT_GT(base * 2, tables.width() * tables.height());  // the page's ground
    EXPECT_GT(dark, 500);                                    // and its texts
    EXPECT_EQ(plot->legend->font().pixelSize(), plot->xAxis->tickLabelFont().pixelSize());
    // The legend names the laps, cut short; the whole name in its tool tip.
    ASSERT_EQ(plot->legend->itemCount(), 3);
    auto* item = qobject_cast<QCPPlottableLegendItem*>(plot->legend->item(1));
    ASSERT_NE(item, nullptr);
    const QString whole = legendName(c.laps[1]);
    EXPECT_TRUE(whole.startsWith(u"Circuit du Vallon, 2026-05-13 10:30 #4, 2026-05-13_10-30-00"_s)) << whole.toStdString();
    EXPECT_LT(item->plottable()->name().size(), whole.size());
    const QString named = item->plottable()->name();
    ASSERT_GT(named.size(), 10);
    EXPECT_TRUE(whole.startsWith(named.chopped(1))) << named.toStdString();  // its start, and an ellipsis
    QHelpEvent help(QEvent::ToolTip, item->outerRect().center(), plot->mapToGlobal(item->outerRect().center()));
    QApplication::sendEvent(plot, &help);
    EXPECT_EQ(QToolTip::text(), whole);

    // On the fraction of the lap: in % of it.
    shown.window.findChild<QComboBox*>(u"OverlayAlignment"_s)->setCurrentIndex(1);
    plot->replot();
    EXPECT_EQ(plot->xAxis->label(), t.texts[overlayFractionAxis]);
    auto* title = qobject_cast<QCPTextElement*>(plot->plotLayout()->element(0, 0));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), t.texts[overlayTitle] + u" - "_s + t.texts[overlayFraction]);
    EXPECT_EQ(plot->xAxis->range().upper, 1.0);
    expectPlainNumbers(plot->xAxis, 100);
    EXPECT_EQ(plot->xAxis->tickVectorLabels().last(), u"100"_s);
    // Shown again, as when a lap is added or removed, the laps stay on the fraction.
    shown.window.show(shown.window.content());
    EXPECT_EQ(shown.window.content().figures.alignment, Alignment::Fraction);
}

TEST(ComparisonPlots, TheWheelZoomsAroundThePointerADragPansHomeAndADoubleClickShowTheWholeLap)
{
    ShownComparison shown;
    OverlayPlot* plot = shown.overlay;
    QCPAxis* x = plot->xAxis;
    const QCPRange whole = x->range();
    const QCPRange rpm = plot->yAxis->range();
    const QPointF at = shown.over(0.3);
    const double under = x->pixelToCoord(at.x());
    wheel(plot, at, 120);
    EXPECT_LT(x->range().size(), whole.size());
    EXPECT_NEAR(x->pixelToCoord(at.x()), under, 1e-6);  // around the pointer
    wheel(plot, at, 120);
    wheel(plot, at, 120);
    EXPECT_EQ(plot->differenceRect()->axis(QCPAxis::atBottom)->range(), x->range());
    EXPECT_EQ(plot->yAxis->range(), rpm);

    // The right button pans by what the pointer moved, never past the lap's ends.
    const QCPRange zoomed = x->range();
    send(plot, QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
    send(plot, QEvent::MouseMove, at - QPointF(100, 0), Qt::NoButton, Qt::RightButton);
    send(plot, QEvent::MouseButtonRelease, at - QPointF(100, 0), Qt::RightButton, {});
    EXPECT_NEAR(x->range().size(), zoomed.size(), 1e-9);
    EXPECT_NEAR(x->range().lower - zoomed.lower, x->pixelToCoord(at.x()) - x->pixelToCoord(at.x() - 100), 1e-6);
    send(plot, QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
    for (int i = 1; i <= 40; ++i)
        send(plot, QEvent::MouseMove, at - QPointF(20 * i, 0), Qt::NoButton, Qt::RightButton);
    send(plot, QEvent::MouseButtonRelease, at - QPointF(800, 0), Qt::RightButton, {});
    EXPECT_DOUBLE_EQ(x->range().upper, whole.upper);

    QTest::keyClick(plot, Qt::Key_Home);
    EXPECT_EQ(x->range(), whole);
    // Zoomed out, never wider than the lap.
    wheel(plot, at, -120);
    EXPECT_EQ(x->range(), whole);

    // Shift and a drag zoom into the band, engine speed too; a double-click shows the whole lap.
    const QPointF from = shown.over(0.2) - QPointF(0, 30);
    const QPointF to = shown.over(0.5) + QPointF(0, 30);
    const QCPRange band(x->pixelToCoord(from.x()), x->pixelToCoord(to.x()));
    send(plot, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(plot, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    send(plot, QEvent::MouseButtonRelease, to, Qt::LeftButton, {}, Qt::ShiftModifier);
    const double pixel = band.size() / (to.x() - from.x());
    EXPECT_NEAR(x->range().lower, band.lower, pixel);
    EXPECT_NEAR(x->range().upper, band.upper, pixel);
    EXPECT_LT(plot->yAxis->range().size(), rpm.size());
    EXPECT_FALSE(shown.window.content().readings.cursor.has_value());  // a band is no click
    send(plot, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(std::pair(x->range(), plot->yAxis->range()), std::pair(whole, rpm));
}

TEST(ComparisonPlots, TheCursorAndTheMarkersReadOnAZoomedView)
{
    ShownComparison shown;
    OverlayPlot* plot = shown.overlay;
    QCPAxis* x = plot->xAxis;
    // The readings keep six lines of the tables, read or not: the lap times stay in place.
    const auto lapTimeLine = [&] {
        const QString caption = shown.window.content().tables.texts[compareLapTime] + u": "_s;
        const QStringList lines = pageTextLines(shown.window.content(), PageRows::Tables);
        return std::find_if(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(caption); }) - lines.begin();
    };
    EXPECT_EQ(lapTimeLine(), 1 + 6);
    for (int i = 0; i < 4; ++i)
        wheel(plot, shown.over(0.6), 120);
    const QPointF at = shown.over(0.25);
    send(plot, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    send(plot, QEvent::MouseButtonRelease, at, Qt::LeftButton, {});
    const OverlayReadings& r = shown.window.content().readings;
    ASSERT_TRUE(r.cursor.has_value());
    EXPECT_NEAR(*r.cursor, x->pixelToCoord(at.x()), OverlaySampleSeconds / 2 + 1e-9);  // on the nearest sample
    ASSERT_EQ(r.laps.size(), 3U);
    EXPECT_TRUE(r.laps[2].rpmDifference.has_value());
    const double placed = *r.cursor;
    QTest::keyClick(plot, Qt::Key_Up);
    QTest::keyClick(plot, Qt::Key_Right);
    QTest::keyClick(plot, Qt::Key_Down);
    EXPECT_NEAR(*r.cursor - placed, OverlaySampleSeconds, 1e-9);
    EXPECT_EQ(lapTimeLine(), 1 + 6);
    EXPECT_EQ(std::pair(r.leftMarker, r.rightMarker), std::pair(std::optional(placed), r.cursor));
    // Drawn where they read: the cursor dashed in black across the overlay,
    // the left marker in the reference's colour across the differences.
    const QImage drawn = plot->grab().toImage();
    const auto darkest = [&](QCPAxisRect* rect, double at, QColor colour) {
        const int x = int(std::lround(rect->axis(QCPAxis::atBottom)->coordToPixel(at)));
        int most = 0;
        for (int c = x - 1; c <= x + 1; ++c) {
            int count = 0;
            for (int y = rect->top(); y <= rect->bottom(); ++y)
                count += drawn.pixelColor(c, y) == colour;
            most = std::max(most, count);
        }
        return double(most) / rect->height();
    };
    EXPECT_GT(darkest(plot->axisRect(), *r.cursor, Qt::black), 0.3);
    const ComparisonContent& content = shown.window.content();
    const Rgb colour = content.laps[std::size_t(content.figures.reference)].colour;
    const QColor reference(colour.r, colour.g, colour.b);
    EXPECT_GT(darkest(plot->differenceRect(), placed, reference), 0.9);
    EXPECT_LT(darkest(plot->differenceRect(), placed - 1, reference), 0.5);
    const QStringList read = plot->accessibleDescription().split(u'\n');
    ASSERT_EQ(read.size(), 3) << plot->accessibleDescription().toStdString();
    // Seconds with the French decimal comma.
    EXPECT_TRUE(read[0].startsWith(frenchTextTables().texts[overlayCursor] + u" "_s + QString::number(*r.cursor, 'f', 2).replace(u'.', u',')));
    EXPECT_TRUE(read[2].contains(u"0,20 s"_s)) << read[2].toStdString();
    // Stepped past the zoomed view's end, the view follows the cursor.
    const double end = x->range().upper;
    while (*r.cursor <= end)
        QTest::keyClick(plot, Qt::Key_Right);
    EXPECT_TRUE(x->range().contains(*r.cursor));
}

TEST(ComparisonPlots, AlongTheTrackTheScaleReadsMetresThePanelTheTimeLostAndTheSpeedsTheirOwnScale)
{
    ComparisonContent content = threeLaps();
    content.laps = test::madeUpEngineSpeedLaps(3, true);
    content.alignment = Alignment::Track;
    ShownComparison shown(content);
    const TextTables& t = shown.window.content().tables;
    OverlayPlot* plot = shown.overlay;
    QCPAxis* lost = plot->differenceRect()->axis(QCPAxis::atLeft);
    EXPECT_EQ(plot->xAxis->label() + u'|' + lost->label() + u'|' + plot->yAxis2->label(),
              t.texts[overlayDistanceAxis] + u'|' + t.texts[overlayTimeLossAxis] + u"|Vitesse (km/h)"_s);
    expectPlainNumbers(plot->xAxis, 1150);
    EXPECT_EQ(plot->xAxis->range().upper, 1.0);
    // Each lap's engine speed and road speed; the others' time lost beneath,
    // ending at their lap-time difference.
    ASSERT_EQ(plot->graphCount(), 3 + 3 + 2);
    const ComparisonContent& c = shown.window.content();
    QCPGraph* last = plot->graph(plot->graphCount() - 1);
    EXPECT_EQ(last->valueAxis(), lost);
    EXPECT_NEAR((last->data()->constEnd() - 1)->value, (c.laps[2].lap.time - c.laps[0].lap.time) / 100.0, 0.006);
    EXPECT_TRUE(plot->yAxis2->visible());
    EXPECT_TRUE(shown.window.findChild<QCheckBox*>(u"OverlaySpeed"_s)->isVisibleTo(&shown.window));
    // The cursor's place in metres, each lap's speed read there.
    send(plot, QEvent::MouseButtonPress, shown.over(0.5), Qt::LeftButton, Qt::LeftButton);
    send(plot, QEvent::MouseButtonRelease, shown.over(0.5), Qt::LeftButton, {});
    const QStringList readings = cursorReadingLines(c);
    ASSERT_GE(readings.size(), 5);
    EXPECT_TRUE(QRegularExpression(u"^%1 5\\d\\d m: "_s.arg(t.texts[overlayCursor])).match(readings[0]).hasMatch())
        << readings[0].toStdString();
    EXPECT_TRUE(readings[4].startsWith(u"Vitesse (km/h): "_s)) << readings[4].toStdString();
    // The speeds out of sight with their check box, also when the laps are shown anew.
    auto* speed = shown.window.findChild<QCheckBox*>(u"OverlaySpeed"_s);
    speed->setChecked(false);
    EXPECT_FALSE(plot->yAxis2->visible());
    EXPECT_EQ(plot->graphCount(), 3 + 2);
    shown.window.show(content);
    EXPECT_FALSE(plot->yAxis2->visible() || speed->isChecked());
    // Against the slowest lap there, the others' engine speed reads with its sign.
    content.reference = 1;
    shown.window.show(content);
    send(plot, QEvent::MouseButtonPress, shown.over(0.5), Qt::LeftButton, Qt::LeftButton);
    send(plot, QEvent::MouseButtonRelease, shown.over(0.5), Qt::LeftButton, {});
    const std::optional<double> higher = shown.window.content().readings.laps[0].rpmDifference;
    ASSERT_TRUE(higher && *higher > 0);
    const QString cells = cursorReadingLines(shown.window.content())[1];
    EXPECT_TRUE(cells.contains(u": +%1"_s.arg(std::lround(*higher)))) << cells.toStdString();
    // No length for the reference's track: the scale is the fraction of the revolutions, in %.
    for (ComparedSessionLap& lap : content.laps)
        lap.trace.lapLength = 0;
    shown.window.show(content);
    EXPECT_EQ(plot->xAxis->label(), t.texts[overlayRevolutionsAxis]);
    expectPlainNumbers(plot->xAxis, 100);
}

TEST(ComparisonPlots, HistogramsGroupABarPerLapOnTheClassBounds)
{
    ShownComparison shown;
    auto* plot = shown.window.findChild<HistogramPlot*>(u"HistogramPlot"_s);
    plot->replot();
    const ComparisonFigures& f = shown.window.content().figures;
    const double width = f.histograms.classWidth;
    ASSERT_EQ(plot->plottableCount(), 3);
    for (int i = 0; i < 3; ++i) {
        auto* bars = qobject_cast<QCPBars*>(plot->plottable(i));
        ASSERT_NE(bars, nullptr);
        EXPECT_EQ(bars->brush().color(), QColor(comparisonColour(i).r, comparisonColour(i).g, comparisonColour(i).b));
        EXPECT_EQ(bars->data()->size(), f.lastClass - f.firstClass + 1);
        // Each bar inside its class.
        for (auto bar = bars->data()->constBegin(); bar != bars->data()->constEnd(); ++bar)
            EXPECT_EQ(std::floor((bar->key - bars->width() / 2) / width), std::floor((bar->key + bars->width() / 2) / width));
    }
    EXPECT_EQ(plot->xAxis->range(), QCPRange(f.firstClass * width, (f.lastClass + 1) * width));
    EXPECT_EQ(plot->xAxis->label(), frenchTextTables().texts[histogramClassAxis]);
    for (const double tick : plot->xAxis->tickVector())
        EXPECT_EQ(std::fmod(tick, width), 0.0) << tick;
    expectPlainNumbers(plot->xAxis);
}

TEST(ComparisonPlots, SectionLabelsLieBesideTheirBarsAndNeverOnACaption)
{
    ComparisonContent content;
    content.tables = frenchTextTables();
    content.laps.resize(3);
    content.laps[0].lap = {1, 3000, {1000, 1000, 1000}};
    content.laps[1].lap = {2, 3000, {880, 1010, 1100}};  // section 1: the largest difference is negative
    content.laps[2].lap = {3, 3000, {950, 1500, 990}};
    for (std::size_t i = 0; i < 3; ++i)
        content.laps[i].colour = comparisonColour(int(i));
    workOutFigures(content);
    SectionBarsPlot plot;
    plot.showSections(content);
    // The zero line, where the reference stands, stands out of the grid.
    EXPECT_LT(plot.xAxis->grid()->zeroLinePen().color().lightness() + 60, plot.xAxis->grid()->pen().color().lightness());
    for (const QSize size : {QSize(420, 240), QSize(1000, 420)}) {
        plot.resize(size);
        plot.show();
        plot.replot();
        const QStringList captions = plot.yAxis->tickVectorLabels();
        EXPECT_EQ(captions, (QStringList{content.tables.texts[bestsSection].arg(1), content.tables.texts[bestsSection].arg(2),
                                         content.tables.texts[bestsSection].arg(3)}));
        ASSERT_EQ(plot.labels().size(), 6U);
        const QRectF inside = plot.axisRect()->rect();
        for (const QCPItemText* label : plot.labels()) {
            const QRectF text(label->topLeft->pixelPosition(), label->bottomRight->pixelPosition());
            // The captions lie outside the axis rect, left of it.
            EXPECT_TRUE(inside.contains(text)) << label->text().toStdString() << " at " << size.width();
            const double end = plot.xAxis->coordToPixel(label->position->coords().x());
            if (label->text().startsWith(u'-'))
                EXPECT_LE(text.right(), end + 0.5) << label->text().toStdString();
            else
                EXPECT_GE(text.left(), end - 0.5) << label->text().toStdString();
        }
    }
}

// A lap of fewer sections than the others leaves its cells of the missing
// ones empty; the tables read as text as the page paints them.
TEST(ComparisonPlots, ALapOfFewerSectionsLeavesTheirCellsEmpty)
{
    ComparisonContent content;
    content.tables = frenchTextTables();
    content.laps.resize(2);
    content.laps[0].label = u"A #1"_s;
    content.laps[0].lap = {1, 3000, {1000, 1000, 1000}};
    content.laps[1].label = u"B #2"_s;
    content.laps[1].lap = {2, 2990, {990, 2000}};
    workOutFigures(content);
    const QStringList lines = pageTextLines(content, PageRows::Tables);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0], u"A #1 | B #2"_s);
    const QString third = content.tables.texts[bestsSection].arg(3) + u": "_s;
    const auto row = std::find_if(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(third); });
    ASSERT_NE(row, lines.end()) << lines.join(u'\n').toStdString();
    EXPECT_EQ(*row, third + lapTimeText(1000) + u" | "_s);
}

// Six laps' labels and a long remark fit their cells: elided in the middle
// on screen, with the whole text (track and file too) in the cell's tool
// tip; wrapped in a smaller font in the report.
// Red pixels of the setup rows as painted: the fields that differ stand out.
int redPixels(const ComparisonContent& content)
{
    QImage page(1100, 700, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    paintPage(painter, QRectF(0, 0, 1100, 700), content, PageRows::Setups);
    painter.end();
    int red = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = page.pixel(x, y);
            red += qRed(c) > 150 && qGreen(c) < 60 && qBlue(c) < 60 ? 1 : 0;
        }
    return red;
}

TEST(ComparisonPage, SetupFieldsThatDifferFromTheReferencesAreRed)
{
    ComparisonContent content = threeLaps();
    for (ComparedSessionLap& lap : content.laps)
        lap.setup.rearSprocket = 82;
    workOutFigures(content);
    EXPECT_EQ(redPixels(content), 0);
    content.laps[2].setup.rearSprocket = 84;
    workOutFigures(content);
    EXPECT_GT(redPixels(content), 20);
}

TEST(ComparisonPage, LongTextsAreElidedOnScreenAndWrappedInTheReport)
{
    QFont font;
    font.setPixelSize(12);
    const QSizeF cell(90, 40);
    const QString label = u"20/06/2026 10:00 #3 (Référence)"_s;
    EXPECT_EQ(fitText(u"#3"_s, font, cell, LongText::Wrapped).lines, QStringList{u"#3"_s});
    const FittedText elided = fitText(label, font, cell, LongText::Elided);
    ASSERT_EQ(elided.lines.size(), 1);
    EXPECT_LE(QFontMetricsF(font).horizontalAdvance(elided.lines[0]), cell.width());
    EXPECT_TRUE(elided.lines[0].startsWith(u"20"_s) && elided.lines[0].endsWith(u"ce)"_s)) << elided.lines[0].toStdString();

    const QString word(60, u'w');
    for (const QString& text : {label, word, u"Pluie fine puis piste séchante, pneus slicks en fin de séance"_s}) {
        const FittedText wrapped = fitText(text, font, cell, LongText::Wrapped);
        const QFontMetricsF m(wrapped.font);
        EXPECT_GT(wrapped.lines.size(), 1);
        EXPECT_LE(m.lineSpacing() * double(wrapped.lines.size()), cell.height()) << text.toStdString();
        for (const QString& line : wrapped.lines)
            EXPECT_LE(m.horizontalAdvance(line), cell.width()) << line.toStdString();
        const QString joined = wrapped.lines.join(text == word ? QString() : u" "_s);
        EXPECT_EQ(joined, text);
    }
    const FittedText remark = fitText(QString(100'000, u'r'), font, cell, LongText::Wrapped);
    EXPECT_TRUE(remark.lines.last().endsWith(QChar(0x2026)));

    ShownComparison shown;
    auto* canvas = shown.window.findChild<ComparisonCanvas*>(u"ComparisonPage"_s);
    ASSERT_NE(canvas, nullptr);
    // The labels' row is the page's first: its second lap's cell.
    const QRectF area = QRectF(canvas->rect()).adjusted(12, 8, -12, -8);
    const double line = area.height() / pageLines(shown.window.content(), PageRows::Tables);
    const double lapWidth = area.width() * 0.76 / 3;
    const QPoint at(int(area.left() + area.width() * 0.24 + lapWidth * 1.5), int(area.top() + line / 2));
    QHelpEvent help(QEvent::ToolTip, at, canvas->mapToGlobal(at));
    QApplication::sendEvent(canvas, &help);
    EXPECT_EQ(QToolTip::text(), legendName(shown.window.content().laps[1]));
    EXPECT_TRUE(QToolTip::text().contains(u"Circuit du Vallon"_s) && QToolTip::text().contains(u"with a long name.Tml"_s));
}

}  // namespace
}  // namespace tormel
