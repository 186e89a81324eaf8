#include "laps/ranges.h"

#include "base/number_format.h"
#include "laps/conversions.h"

#include <algorithm>

namespace tormel {

QString rangeName(int i)
{
    if (i <= 0)
        return QStringLiteral("0-5120 RPM");
    // Whole numbers: no decimal separator can appear.
    const QString pattern = QStringLiteral("#####");
    const QChar point = QLatin1Char('.');
    return formatNumber(5120 + 640 * (i - 1), pattern, point) + QLatin1Char('-') + formatNumber(5120 + 640 * i, pattern, point) + QStringLiteral(" RPM");
}

QString barCaption(int i)
{
    if (i <= 0)
        return QStringLiteral("0-5.120");
    return QLatin1Char(' ') + QString::number(i - 1) + QStringLiteral("- ") + QString::number(i);
}

RangesPanel buildRangesPanel(const RecordImage& image, const TextTables& texts)
{
    RangesPanel p;
    p.best = image.bestLap();
    p.bestLapCaption = texts.texts[rangesBestLap] + QString::number(p.best);
    // Laps past 99 have no row in the image and read as 0.
    p.bestLapTime = image.lap(p.best).lapTime;

    double sum = 0.0;
    for (int i = 0; i < RangesPanel::Count; ++i) {
        p.recordedTimes[std::size_t(i)] = image.rangeTime(i);
        sum += image.rangeTime(i);
    }
    p.rangeTimes = p.recordedTimes;
    // The ranges cannot last longer than the lap. Scaling them all by the same
    // factor keeps their proportions, so the bars do not move, and the shares
    // of the lap then add up to 100 %.
    if (p.bestLapTime > 0.0F && sum > double(p.bestLapTime)) {
        p.scaled = true;
        const double factor = double(p.bestLapTime) / sum;
        for (auto& t : p.rangeTimes)
            t = float(double(t) * factor);
    }

    p.largest = *std::max_element(p.rangeTimes.begin(), p.rangeTimes.end());
    for (int i = 0; i < RangesPanel::Count; ++i)
        p.fill[std::size_t(i)] = p.largest > 0.0F ? double(p.rangeTimes[std::size_t(i)]) * 100.0 / double(p.largest) : 0.0;
    return p;
}

RangeReadout rangeReadout(const RangesPanel& panel, int i, QChar decimalSeparator)
{
    const int index = std::clamp(i, 0, RangesPanel::Count - 1);
    const float time = panel.rangeTimes[std::size_t(index)];
    RangeReadout r;
    r.rangeText = rangeName(index);
    r.timeText = lapTimeText(time);
    if (panel.bestLapTime > 0.0F)
        r.timeText += QStringLiteral("    ") +
                    formatNumber(double(time) * 100.0 / double(panel.bestLapTime), QStringLiteral("##0.00"), decimalSeparator) +
                    QLatin1Char('%');
    return r;
}

QString rangeToolTip(const TextTables& texts, int i, bool toolTipsOn)
{
    return toolTipsOn ? texts.tips[rangeClassTip] + QString::number(i) : QString();
}

}  // namespace tormel
