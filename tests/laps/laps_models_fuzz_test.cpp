#include "laps/export.h"
#include "laps/lap_table.h"
#include "laps/ranges.h"
#include "laps/rpm_statistics.h"

#include "laps_records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>
#include <set>

namespace tormel {
namespace {

// Any 2048 bytes, with any options, go through every model; the sanitizers
// watch the table accesses, the checks below the shape of the results.
TEST(LapsModels, RandomImages)
{
    std::mt19937 random(20240307);
    const TextTables texts = frenchTextTables();
    const QDateTime clock{QDate(2024, 1, 2), QTime(3, 4, 5)};
    const float lengths[] = {0.0F, -5.0F, NAN, INFINITY, 1200.0F, 333.3F, 3.0e38F};
    for (int round = 0; round < 300; ++round) {
        RecordImage image;
        for (auto& b : image.Data_Chrono)
            b = std::uint8_t(random());
        // Half the images announce few samples, so that short streams are seen too.
        if (round % 2 == 0)
            image.Data_Chrono[105] = 0;
        const DecodedRecord record = test::decoded(image);

        LapTableOptions o;
        for (auto& d : o.Distances)
            d = lengths[random() % std::size(lengths)];
        o.Choix_Vitesse = int(random() % 3) - 1;
        o.Choix_Temp = int(random() % 2);
        o.Colonne_Tri = int(random() % 25) - 4;
        o.decimalSeparator = random() % 2 ? QLatin1Char(',') : QLatin1Char('.');
        for (auto& e : o.Tour_Elimine)
            e = random() % 4 == 0;
        const LapTable t = Affiche_Tours(image, record, texts, o);
        const int n = std::clamp(record.nTours, 0, 99);
        ASSERT_EQ(t.rows.size(), std::size_t(n + 2));
        std::set<int> laps;
        for (std::size_t r = 2; r < t.rows.size(); ++r)
            laps.insert(t.rows[r].lap);
        ASSERT_EQ(laps.size(), std::size_t(n));  // each lap once, whatever the order
        EXPECT_TRUE(n == 0 || (*laps.begin() == 1 && *laps.rbegin() == n));
        const int column = t.Colonne_Tri;
        const bool descending = t.sortModes[std::size_t(column)] == SortMode::Descending;
        for (std::size_t r = 3; r < t.rows.size(); ++r) {
            const auto& a = t.rows[r - 1].cells[std::size_t(column)].key;
            const auto& b = t.rows[r].cells[std::size_t(column)].key;
            if (a && b) {
                EXPECT_TRUE(descending ? *a >= *b : *a <= *b);
            } else {
                EXPECT_FALSE(!a && b);
            }
        }
        for (int c = 0; c < LapTable::ColumnCount; ++c)
            EXPECT_TRUE(t.Max_Colonne[std::size_t(c)] <= 0.0F || t.Min_Colonne[std::size_t(c)] <= t.Max_Colonne[std::size_t(c)]);
        EXPECT_TRUE(t.Meilleur_Tour_Rpm == 0 || (t.Meilleur_Tour_Rpm >= 1 && t.Meilleur_Tour_Rpm <= n));

        const int V = int(random() % 6) - 1;
        const RpmStatistics st = Compute_Rpm(image, record, V);
        EXPECT_TRUE(st.Nombre_Echantillons >= 0 && st.Nombre_Echantillons <= RecordImage::MaxSamples);
        EXPECT_LE(st.nTours, 100);
        EXPECT_LE(st.Rpm_Max, 32767);
        int histogramTotal = 0;
        for (int lap = 0; lap <= st.nTours; ++lap)
            histogramTotal += std::accumulate(st.Histo_Rpm[std::size_t(lap)].begin(), st.Histo_Rpm[std::size_t(lap)].end(), 0);
        EXPECT_EQ(histogramTotal, st.Nombre_Echantillons);
        for (int lap = 1; st.nTours >= 2 && lap <= st.nTours; ++lap)
            EXPECT_LE(st.Debut_Tour[std::size_t(lap - 1)], st.Debut_Tour[std::size_t(lap)]);
        for (int s = 0; s < st.Nombre_Echantillons; ++s)
            EXPECT_LE(st.Rpm_Lisse[std::size_t(s)], float(st.Rpm_Max));

        const RangesPanel p = Affiche_Tranches(image, texts);
        for (double f : p.fill)
            EXPECT_TRUE(f >= 0.0 && f <= 100.0);
        EXPECT_TRUE(!p.scaled || std::accumulate(p.Temps_Tranche.begin(), p.Temps_Tranche.end(), 0.0)
                                     <= double(p.Temps_Meilleur_Tour) * 1.0001);
        for (int i = -1; i <= RangesPanel::Count; ++i)
            EXPECT_FALSE(rangeReadout(p, i, o.decimalSeparator).Label7.isEmpty());

        const QByteArray lapBytes = exportLapTable(t, clock);
        EXPECT_EQ(lapBytes.count('\r'), 1 + n + 2);
        EXPECT_EQ(lapBytes.count('\t'), 2 + 17 * (n + 2));
        const QByteArray rpmBytes = exportRpm(image, record, st, texts, clock);
        EXPECT_EQ(rpmBytes.count('\n'), 2 + st.Nombre_Echantillons);
    }
}

}  // namespace
}  // namespace tormel
