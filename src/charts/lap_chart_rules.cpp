#include "charts/lap_chart_rules.h"

#include "laps/number_format.h"

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

QString cellText(const LapTable& table, int row, int column)
{
    if (row < 0 || std::size_t(row) >= table.rows.size() || column < 0 || column >= LapTable::ColumnCount)
        return {};
    return table.cell(row, column).text;
}

float cellValue(const LapTable& table, int row, int column)
{
    QString text = cellText(table, row, column);
    return Nombre(text);
}

int lapOfRow(const LapTable& table, int row)
{
    const double lap = roundHalfEven(double(cellValue(table, row, 0)));
    if (!std::isfinite(lap))
        return 0;
    // Far beyond any lap; keeps the conversion defined for any text.
    return int(std::clamp(lap, -1.0e6, 1.0e6));
}

QString label12Text(const LapTable& table, int row, int tourMarque)
{
    const auto title = [&table](int column) { return cellText(table, LapTable::HeaderRow, column); };
    const auto cell = [&table, row](int column) { return cellText(table, row, column); };
    // Whole numbers only: the separator never shows.
    const QChar point = QLatin1Char('.');
    const QString gap = QStringLiteral("     ");
    const QString pair = QStringLiteral("  ");
    return title(0) + Format(tourMarque, QStringLiteral("  00"), point) + gap + title(1) +
           Format(double(cellValue(table, row, 1)), QStringLiteral("  #0"), point) + gap + title(2) + pair + cell(2) + gap +
           title(10) + pair + cell(10) + gap + title(11) + pair + cell(11);
}

}  // namespace tormel
