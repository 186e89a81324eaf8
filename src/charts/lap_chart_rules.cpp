#include "charts/lap_chart_rules.h"

#include "base/number_format.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace tormel {

ChartEdges chartEdges(float minimum, float maximum)
{
    const float r = maximum - minimum;
    if (r != 0.0F)
        return {maximum + 0.1F * r, minimum - 0.1F * r};
    return {maximum + 1.0F, minimum - 1.0F};
}

int wholePart(double x)
{
    if (std::isnan(x))
        return INT_MIN;
    return int(std::floor(std::clamp(x, double(INT_MIN), double(INT_MAX))));
}

LapChartWindow lapChartWindow(int lapCount, int screenWidthTwips)
{
    LapChartWindow w;
    // At least one slot, so that a tiny screen never divides the chart by zero.
    w.lapsOnScreen = std::clamp(int(roundHalfEven(double(screenWidthTwips) * 60.0 / 19200.0)), 1, 60);
    if (lapCount > w.lapsOnScreen) {
        w.scrollVisible = true;
        w.scrollMaximum = lapCount - w.lapsOnScreen;
        w.scrollLargeStep = int(roundHalfEven(w.lapsOnScreen / 2.0));
    } else {
        w.lapsOnScreen = lapCount;
    }
    return w;
}


QString lapReadoutLine(const LapTable& table, int row, int markedLap)
{
    const auto title = [&table](int column) { return cellText(table, LapTable::HeaderRow, column); };
    const auto cell = [&table, row](int column) { return cellText(table, row, column); };
    // Whole numbers only: the separator never shows.
    const QChar point = QLatin1Char('.');
    const QString gap = QStringLiteral("     ");
    const QString pair = QStringLiteral("  ");
    return title(LapNumberColumn) + formatNumber(markedLap, QStringLiteral("  00"), point) + gap + title(StageColumn) +
           formatNumber(double(cellValue(table, row, StageColumn)), QStringLiteral("  #0"), point) + gap + title(LapTimeColumn) + pair +
           cell(LapTimeColumn) + gap + title(MaxRpmColumn) + pair + cell(MaxRpmColumn) + gap + title(TemperatureColumn) + pair +
           cell(TemperatureColumn);
}

}  // namespace tormel
