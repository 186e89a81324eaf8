#include "laps/rpm_statistics.h"

#include <algorithm>

namespace tormel {

namespace {

constexpr int DeadTime = 10;  // samples after a counted mark that cannot count again
constexpr int ShortestStart = 2048;
constexpr int NoLimit = 32000;

}  // namespace

RpmStatistics Compute_Rpm(const RecordImage& image, const DecodedRecord& record, int V)
{
    RpmStatistics st;
    st.V = std::clamp(V, 0, 3);
    const int W = 2 * st.V;
    const int n = std::clamp(int(record.Nombre_Echantillons), 0, RpmStatistics::Samples);
    st.Nombre_Echantillons = n;
    // A factor of at most 15 keeps code x step far inside an int.
    st.Pas_Rpm = std::clamp(record.Facteur_Rpm, 0, 15) * 150;
    const int balises = std::max(record.Balises_Tour, 1);

    int shortest = ShortestStart;
    int running = 0;
    int beacon = balises - 1;
    int dead = 0;
    for (int s = 0; s < n; ++s) {
        const std::uint8_t b = image.sample(s);
        const int code = b & 127;
        auto& histo = st.Histo_Rpm[std::size_t(st.nTours)];
        int& count = histo[std::size_t(code)];
        ++count;
        st.Histo_Max[std::size_t(st.nTours)] = std::max(st.Histo_Max[std::size_t(st.nTours)], count);

        const int rpm = std::min(code * st.Pas_Rpm, 32767);
        st.Rpm_Brut[std::size_t(s)] = std::int16_t(rpm);
        st.Rpm_Max = std::max(st.Rpm_Max, rpm);

        ++running;
        if (dead > 0) {
            --dead;
            continue;
        }
        if ((b & 128) == 0)
            continue;
        st.Marque_Balise[std::size_t(s)] = true;
        dead = DeadTime;
        if (++beacon < balises)
            continue;
        beacon = 0;
        if (st.nTours >= RpmStatistics::MaxClosedLaps)
            continue;
        st.Duree_Tour[std::size_t(st.nTours)] = running;
        if (running < shortest && st.nTours >= 2) {
            shortest = running;
            st.Meilleur_Tour_Rpm = st.nTours;
        }
        ++st.nTours;
        st.Debut_Tour[std::size_t(st.nTours)] = s;
        running = 0;
    }

    if (st.nTours < 2) {
        const auto lap = std::size_t(st.nTours);
        st.Duree_Tour[lap] = running;
        st.Debut_Tour[lap] = 0;
        st.Debut_Tour[lap + 1] = running;
        if (n > 0)
            st.Histo_Max[lap] = st.Histo_Rpm[lap][std::size_t(image.sample(n - 1) & 127)];
    }

    for (int s = 0; s < n; ++s) {
        if (s + W >= n) {
            st.Rpm_Lisse[std::size_t(s)] = st.Rpm_Brut[std::size_t(s)];
            continue;
        }
        int sum = 0;
        for (int k = s; k <= s + W; ++k)
            sum += st.Rpm_Brut[std::size_t(k)];
        st.Rpm_Lisse[std::size_t(s)] = float(sum) / float(W + 1);
    }

    Best2_3(st);
    return st;
}

void Best2_3(RpmStatistics& st)
{
    const int last = std::min(st.nTours, RpmStatistics::LapSlots) - 1;
    auto scan = [&](int excludedA, int excludedB, int& chosen) {
        int limit = NoLimit;
        for (int lap = 1; lap <= last; ++lap) {
            const int d = st.Duree_Tour[std::size_t(lap)];
            if (d > 0 && d < limit && lap != excludedA && lap != excludedB) {
                chosen = lap;
                limit = d;
            }
        }
    };
    scan(st.Meilleur_Tour_Rpm, st.Meilleur_Tour_Rpm, st.Second_Tour_Rpm);
    scan(st.Meilleur_Tour_Rpm, st.Second_Tour_Rpm, st.Troisieme_Tour_Rpm);
}

std::array<int, 3> toursGraphiques(const RpmStatistics& stats)
{
    if (stats.nTours <= 2)
        return {1, -1, -2};
    if (stats.nTours == 3)
        return {stats.Meilleur_Tour_Rpm, stats.Second_Tour_Rpm, -1};
    return {stats.Meilleur_Tour_Rpm, stats.Second_Tour_Rpm, stats.Troisieme_Tour_Rpm};
}

}  // namespace tormel
