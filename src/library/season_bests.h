#pragma once

#include "library/session_index.h"

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

// What a track's lap-timing sessions reached over the season.
struct TrackBests {
    int track = 0;
    SeasonBest lap;
    SeasonBest theoretical;
    std::array<SeasonBest, 3> sections;
    // Each session's best lap against its date, oldest first.
    std::vector<std::pair<QDateTime, std::int32_t>> progress;
};

// Per track, in track order, from the whole lap-timing sessions that name one. On
// equal times the earlier session keeps the best.
std::vector<TrackBests> seasonBests(const std::vector<Session>& sessions);

}  // namespace tormel
