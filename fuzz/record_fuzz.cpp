// A record file from anywhere goes the whole road a user takes it: open,
// show with any view choices, eliminate laps, sort, chart and export.
#include "charts/record_chart_rules.h"
#include "document/record_document.h"
#include "laps/ranges.h"
#include "laps/rpm_statistics.h"
#include "record/record_file.h"

#include "fuzz_support.h"

#include <array>
#include <memory>

using namespace tormel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TextTables texts = frenchTextTables();
    const LoadedRecord loaded = loadRecordFile(fuzz::writeFile(QStringLiteral("input.Tml"), fuzz::bytesOf(data, size)));
    fuzz::require(loaded.errorNumber == 0, "a readable record reads");
    fuzz::require(loaded.trackNumber.has_value() == (size > RecordImage::Size), "track number present past the image");

    // The choices come from the input's end, so every file also picks its view.
    FuzzedDataProvider in(data, size);
    ViewOptions options;
    options.speedUnit = in.ConsumeBool() ? SpeedUnit::MilesPerHour : SpeedUnit::KilometresPerHour;
    options.temperatureUnit = in.ConsumeBool() ? TemperatureUnit::Fahrenheit : TemperatureUnit::Celsius;
    options.decimalSeparator = in.ConsumeBool() ? QLatin1Char(',') : QLatin1Char('.');
    options.filterLevel = in.ConsumeIntegralInRange(-1, 4);
    for (float& d : options.trackLengths)
        d = fuzz::length(in);

    RecordDocument document;
    document.open(loaded.image);
    document.analyse(texts, options);
    for (int k = in.ConsumeIntegralInRange(0, 3); k > 0; --k)
        document.toggleLap(in.ConsumeIntegralInRange(-1, 101));
    document.rebuildLapTable(texts, options);
    document.sortOnColumn(in.ConsumeIntegralInRange(-1, 26));
    const QDateTime now(QDate(2024, 5, 1), QTime(12, 0));
    if (document.refusal() == Refusal::None)
        fuzz::require(!exportRecord(document, texts, now).isEmpty(), "a shown record exports");

    (void)buildRangesPanel(loaded.image, texts);

    // The engine-speed charts as the window draws them: the statistics at
    // every smoothing, the three laps it shows and any lap the buttons reach.
    auto stats = std::make_unique<RpmStatistics>();
    const int anyLap = in.ConsumeIntegralInRange(0, RpmStatistics::LapSlots - 1);
    for (int V = 0; V <= 3; ++V) {
        *stats = computeRpmStatistics(loaded.image, document.decoded(), V);
        if (V != std::clamp(options.filterLevel, 0, 3))
            continue;
        const int rpmMax = stats->maxRpm != 0 ? stats->maxRpm : 10000;
        const int classes = histogramClasses(rpmMax, stats->rpmStep);
        const std::array<int, 3> shown = defaultChartedLaps(*stats);
        for (int lap : {shown[0], shown[1], shown[2], anyLap}) {
            if (lap < 0 || lap >= RpmStatistics::LapSlots)
                continue;
            const LapView view = lapView(*stats, lap);
            (void)traceFigure(*stats, view, rpmMax);
            (void)histogramSegments(view, classes);
        }
    }
    return 0;
}
