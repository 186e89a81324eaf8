#pragma once

#include "library/session_index.h"

#include <optional>

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace tormel {

// A best time of the season and the session it came from.
struct SeasonBest {
    std::int32_t time = 0;  // hundredths; 0: none yet
    QString identity;
    QDateTime date;
};

// A session as the season's chart shows it.
struct SeasonSession {
    QString identity;
    QDateTime date;
    std::int32_t bestLap = 0;      // hundredths
    std::int32_t theoretical = 0;  // hundredths; 0: none
    QString file;                  // the file that opens it; empty when missing
    std::optional<Consistency> consistency;  // its laps in the window and their spread
};

// What a track's lap-timing sessions reached over the season.
struct TrackBests {
    int track = 0;
    SeasonBest lap;
    SeasonBest theoretical;
    std::array<SeasonBest, 3> sections;
    // Each session with a best lap, oldest first (the earlier file first on one date).
    std::vector<SeasonSession> sessions;
};

// Per track, in track order, from the whole lap-timing sessions that name one. On
// equal times the earlier session keeps the best.
std::vector<TrackBests> seasonBests(const std::vector<Session>& sessions);

}  // namespace tormel
