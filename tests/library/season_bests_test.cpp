#include "library/season_bests.h"

#include <gtest/gtest.h>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;

Session session(const QString& id, int day, std::optional<int> track, std::int32_t best, std::int32_t theoretical,
                std::array<std::int32_t, 3> sections, RecordKind kind = RecordKind::LapTiming)
{
    Session s;
    s.identity = id;
    s.date = QDateTime(QDate(2026, 5, day), QTime(10, 0));
    s.track = track;
    s.figures.kind = kind;
    s.figures.bestTime = best;
    s.figures.theoreticalBest = theoretical;
    s.figures.bestSections = sections;
    return s;
}

TEST(SeasonBests, EachBestWithItsSessionPerTrack)
{
    // Listed out of date order; "b" ties "a" on the lap and is later, so "a" keeps it.
    const std::vector<Session> sessions{
        session(u"b"_s, 9, 3, 4900, 4850, {1500, 1900, 1450}),
        session(u"a"_s, 2, 3, 4900, 4880, {1490, 1950, 1460}),
        session(u"c"_s, 5, 3, 5100, 0, {}),
        session(u"rpm"_s, 1, 3, 4000, 0, {}, RecordKind::EngineSpeed),
        session(u"untracked"_s, 1, std::nullopt, 4000, 3900, {1000, 1000, 1000}),
        session(u"other"_s, 3, 1, 6000, 5900, {2000, 2000, 1900}),
    };
    Session refused = session(u"refused"_s, 1, 3, 100, 100, {10, 10, 10});
    refused.figures.refusal = Refusal::NoLap;
    // A file cut short: its figures are those of an image padded with zeros.
    Session cut = session(u"cut"_s, 4, 3, 200, 200, {20, 20, 20});
    cut.files.push_back({u"cut.Tml"_s, 1000, 0, {}, 3, false, false, {}});
    std::vector<Session> all = sessions;
    all.push_back(refused);
    all.push_back(cut);

    const std::vector<TrackBests> bests = seasonBests(all);
    ASSERT_EQ(bests.size(), 2U);
    EXPECT_EQ(bests[0].track, 1);
    const TrackBests& t = bests[1];
    EXPECT_EQ(t.track, 3);
    const auto from = [](const SeasonBest& b) { return std::pair(b.time, b.identity); };
    EXPECT_EQ(from(t.lap), std::pair(4900, u"a"_s));
    EXPECT_EQ(from(t.theoretical), std::pair(4850, u"b"_s));
    EXPECT_EQ(from(t.sections[0]), std::pair(1490, u"a"_s));
    EXPECT_EQ(from(t.sections[1]), std::pair(1900, u"b"_s));
    EXPECT_EQ(from(t.sections[2]), std::pair(1450, u"b"_s));
    // The season chart's sessions: oldest first.
    ASSERT_EQ(t.sessions.size(), 3U);
    EXPECT_EQ(std::tuple(t.sessions[0].date.date().day(), t.sessions[0].bestLap, t.sessions[0].identity), std::tuple(2, 4900, u"a"_s));
    EXPECT_EQ(std::pair(t.sessions[2].date.date().day(), t.sessions[2].bestLap), std::pair(9, 4900));
    EXPECT_EQ(std::pair(t.sessions[1].theoretical, t.sessions[2].theoretical), std::pair(0, 4850));
    // The same time on the same day: the first listed keeps it.
    const std::vector<Session> twins{session(u"x"_s, 4, 2, 5000, 0, {}), session(u"y"_s, 4, 2, 5000, 0, {})};
    EXPECT_EQ(seasonBests(twins)[0].lap.identity, u"x"_s);
}

}  // namespace
}  // namespace tormel
