#include "library/lap_comparison.h"

#include "demo_records.h"
#include "library/session_figures.h"

#include <gtest/gtest.h>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;

std::vector<int> coloursOf(const LapChoice& choice)
{
    std::vector<int> colours;
    for (const ChosenLap& lap : choice.laps)
        colours.push_back(lap.colour);
    return colours;
}

TEST(LapChoice, ColoursKindsAndTheReference)
{
    LapChoice choice;
    for (int lap = 1; lap <= 6; ++lap)
        EXPECT_EQ(addLap(choice, u"a"_s, lap, RecordKind::LapTiming), ChoiceRefusal::None);
    EXPECT_EQ(coloursOf(choice), (std::vector{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(addLap(choice, u"b"_s, 1, RecordKind::LapTiming), ChoiceRefusal::TooMany);
    EXPECT_EQ(addLap(choice, u"a"_s, 3, RecordKind::LapTiming), ChoiceRefusal::AlreadyChosen);
    EXPECT_EQ(addLap(choice, u"b"_s, 1, RecordKind::EngineSpeed), ChoiceRefusal::OtherKind);

    // The reference follows its lap; removed, the first lap takes its place.
    makeReference(choice, 3);
    removeLap(choice, 1);
    EXPECT_EQ(std::pair(choice.reference, choice.laps[std::size_t(choice.reference)].lap), std::pair(2, 4));
    removeLap(choice, 4);
    EXPECT_EQ(choice.reference, 2);
    removeLap(choice, 2);
    EXPECT_EQ(choice.reference, 0);
    // A new lap takes the first colour free; the others keep theirs.
    EXPECT_EQ(addLap(choice, u"b"_s, 1, RecordKind::LapTiming), ChoiceRefusal::None);
    EXPECT_EQ(coloursOf(choice), (std::vector{0, 2, 4, 1}));
    makeReference(choice, 4);  // one past the last: nothing changes
    EXPECT_EQ(choice.reference, 0);

    // Kept in the settings and read back; anything else reads as no choice.
    makeReference(choice, 3);
    EXPECT_EQ(choiceOfText(choiceText(choice)), choice);
    const QStringList broken[] = {
        {u"1 0"_s},  {u"1 0"_s, u"a 1"_s},        {u"1 2"_s, u"a 1 0"_s, u"b 2 1"_s}, {u"5 0"_s, u"a 1 0"_s, u"b 2 1"_s},
        {u"1 0"_s, u"a 1 6"_s, u"b 2 1"_s},  {u"1 0"_s, u"a 1 0"_s, u"a 1 1"_s},  {u"x 0"_s, u"a 1 0"_s, u"b 2 1"_s},
    };
    for (const QStringList& text : broken)
        EXPECT_EQ(choiceOfText(text), LapChoice{}) << text.join(u'|').toStdString();
    removeLap(choice, 0);
    removeLap(choice, 0);
    removeLap(choice, 0);
    removeLap(choice, 0);
    EXPECT_EQ(choice.kind, RecordKind::None);
    EXPECT_TRUE(choiceText(choice).isEmpty());
    EXPECT_EQ(comparisonColour(5), (Rgb{86, 180, 233}));
    EXPECT_EQ(lapLabel(QDateTime(QDate(2026, 5, 12), QTime(10, 30)), 7), u"2026-05-12 10:30 #7"_s);
}

TEST(LapComparison, DifferencesToTheReference)
{
    const std::vector<LapTimes> laps{
        {3, 4950, {1500, 2000, 1450}},
        {7, 4929, {1510, 1979, 1440}},
        {2, 5100, {2500, 2600}},  // a record of two sections
        {5, 4950, {1500, 2000, 1450}},
        {9, 4800, {1400, 1950, 1450}},
        {1, 6000, {}},  // no sections at all
    };
    const struct { int reference; std::vector<std::optional<std::int32_t>> time, section1, section3; } cases[] = {
        {0, {std::nullopt, -21, 150, 0, -150, 1050}, {std::nullopt, 10, 1000, 0, -100, std::nullopt},
         {std::nullopt, -10, std::nullopt, 0, 0, std::nullopt}},
        {2, {-150, -171, std::nullopt, -150, -300, 900}, {-1000, -990, std::nullopt, -1000, -1100, std::nullopt},
         {std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt}},
    };
    for (const auto& c : cases) {
        const LapComparison comparison = compareLaps(laps, c.reference);
        ASSERT_EQ(comparison.columns.size(), 6U);
        EXPECT_EQ(comparison.sectionCount, 3);
        std::vector<std::optional<std::int32_t>> time, section1, section3;
        for (const ComparedColumn& column : comparison.columns) {
            ASSERT_EQ(column.sectionDifferences.size(), 3U);
            time.push_back(column.timeDifference);
            section1.push_back(column.sectionDifferences[0]);
            section3.push_back(column.sectionDifferences[2]);
        }
        EXPECT_EQ(std::tuple(time, section1, section3), std::tuple(c.time, c.section1, c.section3)) << c.reference;
    }
    EXPECT_EQ(compareLaps(laps, 7).reference, 5);
    EXPECT_TRUE(compareLaps({}, 0).columns.empty());

    const std::pair<std::int32_t, QString> texts[] = {{21, u"+00\"21"_s}, {-5, u"-00\"05"_s}, {0, u"00\"00"_s}, {6123, u"+1'01\"23"_s}};
    for (const auto& [hundredths, text] : texts)
        EXPECT_EQ(differenceText(hundredths), text);
}

TEST(LapComparison, TheLapsOfARecordAndWhatChangedInTheSetup)
{
    const RecordImage record = demo::lapTimingRecord();
    const std::vector<LapTimes> laps = recordLapTimes(record);
    const SessionFigures figures = sessionFigures(record);
    ASSERT_EQ(int(laps.size()), figures.laps);
    ASSERT_EQ(laps.front().sections.size(), 3U);
    EXPECT_EQ(laps[std::size_t(figures.bestLap - 1)].time, figures.bestTime);
    for (std::size_t k = 0; k < laps.front().sections.size(); ++k) {
        const auto quickest = std::min_element(laps.begin(), laps.end(),
                                               [k](const LapTimes& a, const LapTimes& b) { return a.sections[k] < b.sections[k]; });
        EXPECT_EQ(quickest->sections[k], figures.bestSections[k]) << k;
    }
    EXPECT_TRUE(recordLapTimes(demo::engineSpeedRecord()).empty());

    SetupSheet before;
    before.rearSprocket = 82;
    before.airTemperature = 20;
    SetupSheet after = before;
    after.rearSprocket = 84;
    after.driver = u"Ana"_s;
    const std::vector<SetupComparisonRow> rows = compareSetups({before, after, before}, 1, TemperatureUnit::Fahrenheit);
    ASSERT_EQ(rows.size(), 13U);
    const auto row = [&rows](const QString& key) {
        return *std::find_if(rows.begin(), rows.end(), [&](const SetupComparisonRow& r) { return r.key == key; });
    };
    EXPECT_EQ(row(u"rearSprocket"_s).values, (QStringList{u"82"_s, u"84"_s, u"82"_s}));
    EXPECT_EQ(row(u"rearSprocket"_s).differs, (std::vector{true, true, true}));
    EXPECT_EQ(row(u"driver"_s).differs, (std::vector{true, true, true}));  // filled in the reference only
    EXPECT_EQ(row(u"airTemperature"_s).values, (QStringList{u"68"_s, u"68"_s, u"68"_s}));
    EXPECT_EQ(row(u"kart"_s).differs, (std::vector{false, false, false}));
    // Numbers with the language's separator; the files keep a point.
    SetupSheet pressed = before;
    pressed.frontPressure = 0.65;
    EXPECT_EQ(compareSetups({pressed}, 0, TemperatureUnit::Celsius, u',')[8].values, QStringList{u"0,65"_s});

    // A record's laps by number: its last one is a lap, one past it none, 0 its best.
    ComparableRecord comparable;
    comparable.path = u"laps.Tml"_s;
    comparable.figures = figures;
    comparable.laps = laps;
    const int last = int(laps.size());
    EXPECT_EQ(comparedLapOf(comparable, last).lap.value_or(ComparedSessionLap{}).lap.lap, last);
    EXPECT_EQ(comparedLapOf(comparable, last + 1).failure.kind, ComparisonFailure::Kind::NoSuchLap);
    EXPECT_EQ(comparedLapOf(comparable, 0).lap.value_or(ComparedSessionLap{}).lap.lap, figures.bestLap);
}

}  // namespace
}  // namespace tormel
