#include "download/receive_rules.h"
#include "download/refusal_texts.h"

#include <gtest/gtest.h>

#include <vector>

namespace tormel {
namespace {

// One input of a listening session, at a time in milliseconds. A read that
// the rules ask for gives what waits, unless `read` says otherwise.
enum class Op { Start, Bytes, Event, Lost, Stop, ReadGives };
struct Input {
    Op op;
    qint64 value = 0;
    qint64 at = 0;
};

struct Seen {
    int accepted = 0, refused = 0, beeps = 0;
};

Seen run(ReceiveRules& rules, const std::vector<Input>& inputs)
{
    Seen seen;
    qint64 waiting = 0, readGives = -1;
    const auto carryOut = [&](ReceiveOutcome o) {
        seen.beeps += o.beeps;
        if (o.step == ReceiveStep::TakeImage) {
            o = rules.imageTaken(readGives >= 0 ? readGives : waiting);
            seen.beeps += o.beeps;
        }
        seen.accepted += o.step == ReceiveStep::Accept;
        seen.refused += o.step == ReceiveStep::Refuse;
    };
    for (const Input& in : inputs) {
        switch (in.op) {
        case Op::Start: rules.start(in.at); waiting = 0; break;
        case Op::Bytes: waiting = in.value; carryOut(rules.bytesWaiting(waiting, in.at)); break;
        case Op::Event: carryOut(rules.lineEvent(int(in.value))); break;
        case Op::Lost: carryOut(rules.lineLost()); break;
        case Op::Stop: carryOut(rules.stopClicked(waiting, in.at)); break;
        case Op::ReadGives: readGives = in.value; break;
        }
    }
    return seen;
}

constexpr qint64 image = ReceiveRules::ImageBytes;

TEST(ReceiveRules, SessionsEndOnceAndAcceptOnlyASettledWholeImage)
{
    using R = DownloadRefusal;
    const struct {
        const char* name;
        std::vector<Input> inputs;
        int accepted, refused, beeps;
        R why;
        int counter7;
    } cases[] = {
        {"a whole image, unchanged for 50 ms, is accepted and ends the session",
         {{Op::Start}, {Op::Bytes, 1000, 100}, {Op::Bytes, image, 600}, {Op::Bytes, image, 649}, {Op::Bytes, image, 650}, {Op::Lost}},
         1, 0, 0, R::None, 0},
        {"a noise byte and an image: refused at the 2049th byte",
         {{Op::Start}, {Op::Bytes, 1, 10}, {Op::Bytes, image + 1, 2000}},
         0, 1, 1, R::TooManyBytes, 1},
        {"a read giving more than was counted is an overflow",
         {{Op::Start}, {Op::ReadGives, image + 1}, {Op::Bytes, image, 100}, {Op::Bytes, image, 150}},
         0, 1, 1, R::TooManyBytes, 1},
        {"a lost line refuses once however long time runs on",
         {{Op::Start}, {Op::Bytes, 300, 100}, {Op::Lost}, {Op::Bytes, 300, 5000}, {Op::Lost}, {Op::Stop, 0, 9000}},
         0, 1, 0, R::LineLost, 0},
        {"bytes, then 2 s of quiet: refused",
         {{Op::Start}, {Op::Bytes, 1000, 100}, {Op::Bytes, 1000, 2099}, {Op::Bytes, 1000, 2100}, {Op::Bytes, 1000, 4200}},
         0, 1, 0, R::QuietLine, 0},
        {"no byte at all never ends the listening",
         {{Op::Start}, {Op::Bytes, 0, 100}, {Op::Bytes, 0, 100000}},
         0, 0, 0, R::None, 0},
        {"Stop before the image settled refuses",
         {{Op::Start}, {Op::Bytes, image, 100}, {Op::Stop, 0, 120}, {Op::Bytes, image, 500}},
         0, 1, 0, R::Stopped, 0},
        {"Stop once the image settled accepts it",
         {{Op::Start}, {Op::Bytes, image, 100}, {Op::Stop, 0, 150}},
         1, 0, 0, R::None, 0},
        {"a framing error during a whole transfer refuses it",
         {{Op::Start}, {Op::Bytes, 900, 100}, {Op::Event, line_event::Framing}, {Op::Bytes, image, 300}, {Op::Bytes, image, 400}},
         0, 1, 1, R::LineErrors, 0},
        {"a line error with too few bytes names the error",
         {{Op::Start}, {Op::Event, line_event::Parity}, {Op::Bytes, 10, 100}, {Op::Bytes, 10, 2100}},
         0, 1, 1, R::LineErrors, 0},
        {"data sent neither sounds nor counts; an unknown code sounds only",
         {{Op::Start}, {Op::Event, line_event::DataSent}, {Op::Event, 2}, {Op::Bytes, image, 0}, {Op::Bytes, image, 50}},
         1, 0, 1, R::None, 0},
        {"events after the session ended are ignored",
         {{Op::Start}, {Op::Stop, 0, 10}, {Op::Event, line_event::Break}, {Op::Lost}},
         0, 1, 0, R::Stopped, 0},
        {"a new start listens afresh with the counters cleared",
         {{Op::Start}, {Op::Event, line_event::Framing}, {Op::Stop, 0, 10}, {Op::Start, 0, 20}, {Op::Bytes, image, 30},
          {Op::Bytes, image, 80}},
         1, 1, 1, R::None, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReceiveRules rules;
        const Seen seen = run(rules, c.inputs);
        EXPECT_EQ(seen.accepted, c.accepted);
        EXPECT_EQ(seen.refused, c.refused);
        EXPECT_EQ(seen.beeps, c.beeps);
        EXPECT_EQ(rules.refusal(), c.why);
        EXPECT_EQ(rules.counters()[7], c.counter7);
    }
}

TEST(ReceiveRules, TheCommandLineSaysWhyInEnglish)
{
    const struct { std::vector<Input> inputs; const char* says; } cases[] = {
        {{{Op::Start}, {Op::Bytes, 300, 10}, {Op::Lost}}, "the line went away after 300 bytes"},
        {{{Op::Start}, {Op::Bytes, 1000, 10}, {Op::Bytes, 1000, 2010}}, "1000 of 2048 bytes, then 2 s quiet"},
        {{{Op::Start}, {Op::Bytes, image + 1, 10}}, "more than 2048 bytes"},
        {{{Op::Start}, {Op::Event, line_event::Framing}, {Op::Event, line_event::Parity}, {Op::Event, line_event::Parity},
          {Op::Stop, 0, 10}},
         "line errors: framing 1, parity 2"},
        {{{Op::Start}, {Op::Bytes, 5, 10}, {Op::Stop, 0, 20}}, "stopped with 5 of 2048 bytes"},
    };
    for (const auto& c : cases) {
        ReceiveRules rules;
        run(rules, c.inputs);
        EXPECT_EQ(englishRefusalText(rules), QLatin1String(c.says));
    }
}

TEST(ReceiveRules, EachLineEventCountsInItsCounter)
{
    const std::pair<int, int> events[] = {{line_event::EndOfFile, 0}, {line_event::Break, 1}, {1002, 2}, {1003, 3},
                                          {line_event::Framing, 4}, {line_event::Overrun, 5}, {1007, 6},
                                          {line_event::ReceiveOverflow, 7}, {line_event::Parity, 8}, {1010, 9}};
    for (const auto& [code, counter] : events) {
        SCOPED_TRACE(code);
        ReceiveRules rules;
        rules.start(0);
        EXPECT_EQ(rules.lineEvent(code).beeps, 1);
        rules.lineEvent(code);
        std::array<int, 10> expected{};
        expected[std::size_t(counter)] = 2;
        EXPECT_EQ(rules.counters(), expected);
    }
    EXPECT_EQ(counterOfEvent(1005), -1);
    EXPECT_EQ(counterOfEvent(1011), -1);
}

}  // namespace
}  // namespace tormel
