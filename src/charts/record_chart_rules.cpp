#include "charts/record_chart_rules.h"

#include "base/number_format.h"

#include <algorithm>
#include <cmath>

namespace tormel {

namespace {

constexpr double SampleSeconds = RpmStatistics::SampleSeconds;
constexpr int LastClass = RpmStatistics::Codes - 1;
// The read-out frames end here; the trace starts at their right edge.
constexpr int ReadoutsRight = 960 + 852;
constexpr int CanvasTop = 300;

}  // namespace

LapView lapView(const RpmStatistics& stats, int lap)
{
    LapView v;
    v.lap = lap;
    const int n = stats.sampleCount;
    if (stats.lapCount < 2) {
        // No lap was closed at both ends: the lap the logger's tables give
        // runs backwards or stops short, so the whole recording is shown.
        v.wholeRecording = true;
        v.first = 0;
        v.last = std::max(0, n - 1);
        for (int l = 0; l <= std::min(stats.lapCount, RpmStatistics::LapSlots - 1); ++l)
            for (int c = 0; c < RpmStatistics::Codes; ++c)
                v.histogram[std::size_t(c)] += stats.rpmHistogram[std::size_t(l)][std::size_t(c)];
        v.histogramMax = *std::max_element(v.histogram.begin(), v.histogram.end());
        v.seconds = n * SampleSeconds;
        return v;
    }
    const int l = std::clamp(lap, 0, RpmStatistics::LapSlots - 2);
    v.first = stats.lapStart[std::size_t(l)];
    v.last = stats.lapStart[std::size_t(l + 1)];
    v.histogram = stats.rpmHistogram[std::size_t(l)];
    v.histogramMax = stats.histogramMax[std::size_t(l)];
    v.seconds = (v.last - v.first) * SampleSeconds;
    return v;
}

TraceFigure traceFigure(const RpmStatistics& stats, const LapView& lap, int rpmMax)
{
    TraceFigure f;
    const int first = std::clamp(lap.first, 0, RpmStatistics::Samples - 1);
    const int last = std::clamp(lap.last, 0, RpmStatistics::Samples - 1);
    f.segments.reserve(std::size_t(std::max(0, last - first + 1)));
    float highest = 0.0F;
    for (int s = first; s <= last; ++s) {
        const float rpm = stats.smoothedRpm[std::size_t(s)];
        if (s + 1 < RpmStatistics::Samples)
            f.segments.emplace_back(s, rpm, s + 1, stats.smoothedRpm[std::size_t(s + 1)]);
        if (rpm > highest) {
            highest = rpm;
            f.lapMaxRpm = int(roundHalfEven(rpm));
        }
        if (stats.beaconMarks[std::size_t(s)])
            f.beacons.emplace_back(s, 0, s, rpmMax);
    }
    return f;
}

double histogramTop(int rpmMax, int rpmStep)
{
    return rpmStep > 0 ? double(rpmMax) / rpmStep : double(LastClass);
}

int histogramClasses(int rpmMax, int rpmStep)
{
    return int(roundHalfEven(histogramTop(rpmMax, rpmStep)));
}

std::vector<QLineF> histogramSegments(const LapView& lap, int classes)
{
    std::vector<QLineF> segments;
    for (int k = std::min(classes, LastClass - 1); k >= 1; --k)
        segments.emplace_back(lap.histogram[std::size_t(k)], k, lap.histogram[std::size_t(k + 1)], k + 1);
    return segments;
}

QString lapCaption(const TextTables& texts, int lap, bool quickest)
{
    return texts.texts[quickest ? bestLapPrefix : lapPrefix] + QString::number(lap);
}

QString lapSummary(const TextTables& texts, double seconds, int lapMaxRpm, QChar decimalSeparator)
{
    return formatNumber(seconds, QStringLiteral(" #0.0"), decimalSeparator) + texts.texts[secondsWord] + texts.texts[maxRpmWord]
        + formatNumber(lapMaxRpm, QStringLiteral("####0"), decimalSeparator);
}

QString smoothingText(int smoothingLevel, const QString& entry)
{
    const int samples = smoothingLevel * 2 + 1;
    return (samples < 0 ? QString::number(samples) : QLatin1Char(' ') + QString::number(samples)) + entry;
}

int label24PointSize(int screenWidthTwips)
{
    if (screenWidthTwips < 9600)
        return 8;
    if (screenWidthTwips == 9600)
        return 9;
    if (screenWidthTwips == 12288)
        return 10;
    return 11;
}

RecordChartLayout sizeRecordChart(int screenWidth, int frameHeight)
{
    RecordChartLayout l;
    const int height = std::max(0, frameHeight - 360);
    const int crpmWidth = std::max(0, int(roundHalfEven(0.75 * screenWidth)) - ReadoutsRight);
    l.crpm = {ReadoutsRight, CanvasTop, crpmWidth, height};
    const int x1 = ReadoutsRight + crpmWidth + 200;
    l.ctr = {x1, CanvasTop, std::max(0, screenWidth - x1 - 320), height};
    return l;
}

}  // namespace tormel
