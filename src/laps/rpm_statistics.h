#pragma once

#include "record/record_decoder.h"
#include "record/record_image.h"

#include <array>
#include <cstdint>

namespace tormel {

// Everything the engine-speed charts and the export read off the sample
// stream of an engine-speed record.
struct RpmStatistics {
    static constexpr int Samples = RecordImage::MaxSamples;
    static constexpr int LapSlots = 101;  // laps 0..100
    static constexpr int Codes = 128;
    static constexpr int MaxClosedLaps = LapSlots - 1;

    int Nombre_Echantillons = 0;  // samples read, 0..1984
    int V = 0;                    // smoothing level the trace was made with
    int Pas_Rpm = 0;
    int Rpm_Max = 0;
    int nTours = 0;
    std::array<std::int16_t, Samples> Rpm_Brut{};
    // Smoothed over W + 1 = 2V + 1 samples starting at s; the last W samples,
    // which have no full window, keep their raw value.
    std::array<float, Samples> Rpm_Lisse{};
    std::array<bool, Samples> Marque_Balise{};
    std::array<int, LapSlots> Debut_Tour{};
    std::array<int, LapSlots> Duree_Tour{};
    std::array<std::array<int, Codes>, LapSlots> Histo_Rpm{};
    std::array<int, LapSlots> Histo_Max{};
    int Meilleur_Tour_Rpm = 1;
    int Second_Tour_Rpm = -1;
    int Troisieme_Tour_Rpm = -2;
};

// One pass over the sample stream at smoothing level V (0..3, clamped).
// Lap 100 is the last slot: once 100 laps are closed, later beacon passes
// are still marked but close no lap, and lap 100 runs to the end.
RpmStatistics Compute_Rpm(const RecordImage& image, const DecodedRecord& record, int V);

// Picks the second and third laps from the lap durations (laps 1 to
// nTours - 1, shortest first, earlier lap on a tie, the best lap excluded).
void Best2_3(RpmStatistics& stats);

// The laps the three engine-speed charts show: the best three when there
// are enough laps; a lap below 1 leaves its chart empty.
std::array<int, 3> toursGraphiques(const RpmStatistics& stats);

}  // namespace tormel
