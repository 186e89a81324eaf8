#pragma once

#include "base/twips.h"
#include "laps/rpm_statistics.h"
#include "texts/text_tables.h"

#include <QLineF>
#include <QString>

#include <array>
#include <vector>

namespace tormel {

// What an engine-speed chart shows of lap L: its samples (both ends drawn),
// their histogram and the lap's duration.
struct LapView {
    int lap = 0;
    int first = 0;  // lapStart(L)
    int last = 0;   // lapStart(L + 1)
    // A record without a complete lap is shown whole, as one lap.
    bool wholeRecording = false;
    std::array<int, RpmStatistics::Codes> histogram{};
    int histogramMax = 0;
    double seconds = 0.0;  // one sample is 0.2 s
};
LapView lapView(const RpmStatistics& stats, int lap);

// The trace of samples first..last in user coordinates (sample, RPM): one
// white segment from each sample to the next (none from sample 1983, which
// has no successor), and the beacon passes as vertical lines up to `rpmMax`.
struct TraceFigure {
    std::vector<QLineF> segments;
    std::vector<QLineF> beacons;
    int lapMaxRpm = 0;  // highest smoothed speed of the lap, rounded
};
TraceFigure traceFigure(const RpmStatistics& stats, const LapView& lap, int rpmMax);

// The histogram in user coordinates (samples, class): from class K down to
// 1, a segment to the next class up; classes stop at 127.
std::vector<QLineF> histogramSegments(const LapView& lap, int classes);
// K: the top of the histogram's scale in classes (maxRpm / rpmStep), and
// that rounded; a record without a class width has 127 classes.
double histogramTop(int rpmMax, int rpmStep);
int histogramClasses(int rpmMax, int rpmStep);

// The frame's caption: text 4 for the quickest lap, text 5 otherwise, then L.
QString lapCaption(const TextTables& texts, int lap, bool quickest);
// Label31: " #0.0" seconds, text 6, text 7 and the highest speed "####0".
QString lapSummary(const TextTables& texts, double seconds, int lapMaxRpm, QChar decimalSeparator);
// Smoothing over 2V + 1 samples: the count with a leading blank, then `entry`.
QString smoothingText(int smoothingLevel, const QString& entry);
// The histogram read-out's font size for the layout width in twips.
int label24PointSize(int screenWidthTwips);

// The two canvases in a chart frame of height `frameHeight`: the trace from
// the right edge of the read-outs to three quarters of the width, then the
// histogram to 320 twips short of the right edge.
struct RecordChartLayout {
    TwipsRect crpm;
    TwipsRect ctr;
};
RecordChartLayout sizeRecordChart(int screenWidth, int frameHeight);

}  // namespace tormel
