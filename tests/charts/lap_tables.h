#pragma once

#include "laps/lap_table.h"
#include "laps/laps_records.h"

#include <vector>

namespace tormel::test {

// Laps of the given lap times (hundredths), each with its own engine speed
// and temperature so that the read-out shows whose row it read.
inline std::vector<LapSpec> lapsOfTimes(const std::vector<std::uint16_t>& times)
{
    std::vector<LapSpec> laps;
    for (std::size_t i = 0; i < times.size(); ++i) {
        LapSpec lap;
        lap.temps = times[i];
        lap.rpmSur10 = std::uint16_t(1000 + i);
        lap.temperature = std::uint8_t(60 + i % 50);
        lap.etape = std::uint8_t(i / 10);
        laps.push_back(lap);
    }
    return laps;
}

inline LapTable lapTableOf(const std::vector<LapSpec>& laps, const std::array<bool, TourElimineCount>& eliminated = {},
                           int colonneTri = 0, int sectorMode = 0, int best = 0)
{
    const RecordImage image = lapRecord(laps, sectorMode, best);
    LapTableOptions options;
    options.Distances = {1000.0F, 300.0F, 300.0F, 400.0F};
    options.Tour_Elimine = eliminated;
    options.Colonne_Tri = colonneTri;
    return Affiche_Tours(image, decoded(image), frenchTextTables(), options);
}

}  // namespace tormel::test
