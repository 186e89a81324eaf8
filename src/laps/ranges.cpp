#include "laps/ranges.h"

#include "base/number_format.h"
#include "laps/conversions.h"

#include <algorithm>

namespace tormel {

QString Libelle_Tranche(int i)
{
    if (i <= 0)
        return QStringLiteral("0-5120 RPM");
    // Whole numbers: no decimal separator can appear.
    const QString pattern = QStringLiteral("#####");
    const QChar point = QLatin1Char('.');
    return Format(5120 + 640 * (i - 1), pattern, point) + QLatin1Char('-') + Format(5120 + 640 * i, pattern, point) + QStringLiteral(" RPM");
}

QString barCaption(int i)
{
    if (i <= 0)
        return QStringLiteral("0-5.120");
    return QLatin1Char(' ') + QString::number(i - 1) + QStringLiteral("- ") + QString::number(i);
}

RangesPanel Affiche_Tranches(const RecordImage& image, const TextTables& texts)
{
    RangesPanel p;
    p.best = image.bestLap();
    p.Label8 = texts.Textes[rangesBestLap] + QString::number(p.best);
    // Laps past 99 have no row in the image and read as 0.
    p.Temps_Meilleur_Tour = image.lap(p.best).temps;

    double sum = 0.0;
    for (int i = 0; i < RangesPanel::Count; ++i) {
        p.recordedTimes[std::size_t(i)] = image.rangeTime(i);
        sum += image.rangeTime(i);
    }
    p.Temps_Tranche = p.recordedTimes;
    // The ranges cannot last longer than the lap. Scaling them all by the same
    // factor keeps their proportions, so the bars do not move, and the shares
    // of the lap then add up to 100 %.
    if (p.Temps_Meilleur_Tour > 0.0F && sum > double(p.Temps_Meilleur_Tour)) {
        p.scaled = true;
        const double factor = double(p.Temps_Meilleur_Tour) / sum;
        for (auto& t : p.Temps_Tranche)
            t = float(double(t) * factor);
    }

    p.largest = *std::max_element(p.Temps_Tranche.begin(), p.Temps_Tranche.end());
    for (int i = 0; i < RangesPanel::Count; ++i)
        p.fill[std::size_t(i)] = p.largest > 0.0F ? double(p.Temps_Tranche[std::size_t(i)]) * 100.0 / double(p.largest) : 0.0;
    return p;
}

RangeReadout rangeReadout(const RangesPanel& panel, int i, QChar decimalSeparator)
{
    const int index = std::clamp(i, 0, RangesPanel::Count - 1);
    const float time = panel.Temps_Tranche[std::size_t(index)];
    RangeReadout r;
    r.Label6 = Libelle_Tranche(index);
    r.Label7 = Time_Convert(time);
    if (panel.Temps_Meilleur_Tour > 0.0F)
        r.Label7 += QStringLiteral("    ") +
                    Format(double(time) * 100.0 / double(panel.Temps_Meilleur_Tour), QStringLiteral("##0.00"), decimalSeparator) +
                    QLatin1Char('%');
    return r;
}

QString rangeToolTip(const TextTables& texts, int i, bool affTip)
{
    return affTip ? texts.Tips[rangeClassTip] + QString::number(i) : QString();
}

}  // namespace tormel
