#include "document/record_document.h"

#include "laps/laps_records.h"

#include <gtest/gtest.h>

#include <climits>

namespace tormel {
namespace {

TEST(RecordDocument, RecordsThatShowNothingAreRefused)
{
    const TextTables texts = frenchTextTables();
    const auto samples = [](int count) { return test::rpmRecord(std::vector<std::uint8_t>(std::size_t(count), 10), 1, 2); };
    // built: the rows of the lap table, or the samples counted.
    const struct { const char* name; RecordImage image; RecordKind kind; Refusal refusal; QString message; int built; } cases[] = {
        {"no lap", RecordImage{}, RecordKind::LapTiming, Refusal::NoLap, texts.texts[20], 0},
        {"a lap count of 0", test::lapRecord({}, 0, 0), RecordKind::LapTiming, Refusal::NoLap, texts.texts[20], 0},
        {"one lap", test::lapRecord({{.lapTime = 6000}}, 0, 0), RecordKind::LapTiming, Refusal::None, {}, 3},
        {"no sample", samples(0), RecordKind::EngineSpeed, Refusal::TooFewSamples, QStringLiteral("No Data Available"), 0},
        {"8 samples", samples(8), RecordKind::EngineSpeed, Refusal::TooFewSamples, QStringLiteral("No Data Available"), 0},
        {"10 samples", samples(10), RecordKind::EngineSpeed, Refusal::None, {}, 10},
    };
    for (const auto& c : cases) {
        RecordDocument d;
        d.open(c.image);
        d.analyse(texts, ViewOptions{});
        EXPECT_TRUE(d.isShown());
        EXPECT_EQ(std::pair(d.kind(), d.refusal()), std::pair(c.kind, c.refusal)) << c.name;
        EXPECT_EQ(refusalText(d.refusal(), texts), c.message) << c.name;
        EXPECT_EQ(c.kind == RecordKind::LapTiming ? int(d.table().rows.size()) : d.rpm().sampleCount, c.built) << c.name;
    }
}

TEST(RecordDocument, OnlyLapsAndChartsInRangeChange)
{
    RecordDocument d;
    const std::array<bool, LapFlagCount> none{};
    for (int lap : {-1, 101, INT_MIN, INT_MAX})
        EXPECT_FALSE(d.toggleLap(lap)) << lap;
    for (int g : {-1, 3})
        d.setChartedLap(g, 9);
    EXPECT_EQ(d.eliminatedLaps(), none);
    EXPECT_TRUE(d.chartedLaps() == (std::array{1, -1, -2}) && d.trackLengths() == (std::array<float, 4>{}));
    EXPECT_TRUE(d.toggleLap(0) && d.toggleLap(100) && d.toggleLap(100) && d.toggleLap(7));
    EXPECT_TRUE(d.eliminatedLaps()[0] && !d.eliminatedLaps()[100] && d.eliminatedLaps()[7]);
    // A stand-in maximum is written once, into lap 0 as into any slot.
    EXPECT_TRUE(d.substituteHistogramMax(0) && !d.substituteHistogramMax(0) && !d.substituteHistogramMax(RpmStatistics::LapSlots));
    // A new record starts with every lap in.
    d.open(RecordImage{});
    EXPECT_EQ(d.eliminatedLaps(), none);
}

}  // namespace
}  // namespace tormel
