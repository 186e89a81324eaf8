#include "library/season_bests.h"

#include <algorithm>
#include <map>

namespace tormel {

namespace {

void offer(SeasonBest& best, std::int32_t time, const Session& s)
{
    if (time > 0 && (best.time == 0 || time < best.time || (time == best.time && s.date < best.date)))
        best = {time, s.identity, s.date};
}

}  // namespace

std::vector<TrackBests> seasonBests(const std::vector<Session>& sessions)
{
    std::map<int, TrackBests> tracks;
    for (const Session& s : sessions) {
        const SessionFigures& f = s.figures;
        if (!s.track || f.kind != RecordKind::LapTiming || f.refusal != Refusal::None || s.truncatedBytes())
            continue;
        TrackBests& t = tracks[*s.track];
        t.track = *s.track;
        offer(t.lap, f.bestTime, s);
        offer(t.theoretical, f.theoreticalBest, s);
        for (std::size_t k = 0; k < t.sections.size(); ++k)
            offer(t.sections[k], f.bestSections[k], s);
        if (f.bestTime > 0)
            t.sessions.push_back({s.identity, s.date, f.bestTime, f.theoreticalBest, s.presentFile(), f.consistency});
    }
    std::vector<TrackBests> bests;
    for (auto& [number, t] : tracks) {
        std::stable_sort(t.sessions.begin(), t.sessions.end(),
                         [](const SeasonSession& a, const SeasonSession& b) { return a.date < b.date; });
        bests.push_back(std::move(t));
    }
    return bests;
}

}  // namespace tormel
