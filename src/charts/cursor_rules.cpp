#include "charts/cursor_rules.h"

#include "base/number_format.h"
#include "laps/rpm_statistics.h"

#include <algorithm>
#include <cmath>

namespace tormel {

namespace {
constexpr double SampleSeconds = RpmStatistics::SampleSeconds;
}  // namespace

double stepTarget(double position, int step)
{
    return std::floor(position + step);
}

bool withinEdges(double position, double a, double b)
{
    const auto x = float(position);
    return x >= std::min(float(a), float(b)) && x <= std::max(float(a), float(b));
}

QString sampleTimeText(int sample, int lapStart, QChar decimalSeparator)
{
    return formatNumber((sample - lapStart) * SampleSeconds, QStringLiteral("###0.0"), decimalSeparator);
}

MarkerDifferences markerDifferences(double leftX, double rightX, int leftRpm, int rightRpm, QChar decimalSeparator)
{
    MarkerDifferences d;
    const double seconds = (std::floor(rightX) - std::floor(leftX)) * SampleSeconds;
    d.secondsText = formatNumber(seconds, QStringLiteral("###0.00"), decimalSeparator);
    const long long rpm = (long long)rightRpm - leftRpm;
    d.rpmDifferenceText = QString::number(rpm);
    // The rate is worked out from the texts shown, which hold both values exactly.
    const double shownSeconds = leadingNumber(QString(d.secondsText).replace(decimalSeparator, QLatin1Char('.')));
    if (shownSeconds != 0.0)
        d.rateText = formatNumber(double(rpm) / shownSeconds, QStringLiteral("000.00 RPM/s"), decimalSeparator);
    return d;
}

QString histogramReadout(int rpmStep, double classY, int samples, QChar decimalSeparator)
{
    const double c = std::floor(classY);
    return formatNumber(rpmStep * c, QStringLiteral("####0"), decimalSeparator) + QLatin1Char('-')
        + formatNumber(rpmStep * (c + 1), QStringLiteral("####0"), decimalSeparator) + QStringLiteral(" : ")
        + formatNumber(samples * SampleSeconds, QStringLiteral("00.0s"), decimalSeparator);
}

}  // namespace tormel
