// Any order of bytes, line events, lost devices, clicks and time through the
// receive rules, with the promises a download makes checked after each.
#include "download/receive_rules.h"

#include "fuzz_support.h"

using namespace tormel;

namespace {

constexpr std::array<int, 14> codes{line_event::DataSent, 2, line_event::EndOfFile, line_event::Break, 1002, 1003,
                                    line_event::Framing, 1005, line_event::Overrun, 1007, line_event::ReceiveOverflow,
                                    line_event::Parity, 1010, 1011};
constexpr std::array<qint64, 8> chunkSizes{1, 16, 64, 1000, 2047, 2048, 2049, 4096};

struct Line {
    ReceiveRules rules;
    QByteArray buffer;   // what waits in the port
    QByteArray session;  // every byte that came in this listening session
    bool counterMoved = false;
    int refusals = 0;
    qint64 now = 0;
    std::uint8_t next = 0;

    void carryOut(ReceiveOutcome o, bool wasListening)
    {
        fuzz::require(wasListening || (o.step == ReceiveStep::Nothing && o.beeps == 0), "nothing after the session");
        if (o.step == ReceiveStep::TakeImage) {
            const QByteArray read = std::exchange(buffer, QByteArray());
            o = rules.imageTaken(read.size());
            if (o.step == ReceiveStep::Accept) {
                fuzz::require(read.size() == ReceiveRules::ImageBytes, "an image is 2048 bytes");
                fuzz::require(read == session, "an image is all the session brought, in order");
                fuzz::require(!counterMoved, "no image once a counter moved");
            }
        }
        fuzz::require(o.step != ReceiveStep::TakeImage, "one read at a time");
        if (o.step == ReceiveStep::Refuse)
            fuzz::require(++refusals == 1, "one refusal a session");
        if (o.step == ReceiveStep::Accept || o.step == ReceiveStep::Refuse)
            buffer.clear();  // the port closes
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    Line line;
    while (in.remaining_bytes() > 0) {
        const bool listening = line.rules.listening();
        switch (in.ConsumeIntegralInRange(0, 6)) {
        case 0:
            line.rules.start(line.now);
            line.buffer.clear();
            line.session.clear();
            line.counterMoved = false;
            line.refusals = 0;
            break;
        case 1: {
            const qint64 n = in.ConsumeBool() ? chunkSizes[in.ConsumeIntegralInRange<std::size_t>(0, chunkSizes.size() - 1)]
                                              : in.ConsumeIntegralInRange<qint64>(1, 300);
            QByteArray chunk;
            for (qint64 i = 0; i < n; ++i)
                chunk.append(char(line.next++));
            // A closed port loses what comes.
            if (listening) {
                line.buffer += chunk;
                line.session += chunk;
            }
            break;
        }
        case 2: {
            const int code = codes[in.ConsumeIntegralInRange<std::size_t>(0, codes.size() - 1)];
            line.counterMoved = line.counterMoved || (listening && counterOfEvent(code) >= 0);
            line.carryOut(line.rules.lineEvent(code), listening);
            break;
        }
        case 3: line.now += in.ConsumeIntegralInRange<qint64>(0, 2500); break;
        case 4: {
            const bool over = line.buffer.size() > ReceiveRules::ImageBytes;
            line.carryOut(line.rules.bytesWaiting(line.buffer.size(), line.now), listening);
            fuzz::require(!(over && line.rules.listening()), "the 2049th byte ends the listening");
            break;
        }
        case 5: line.carryOut(line.rules.lineLost(), listening); break;
        case 6:
            line.carryOut(line.rules.stopClicked(line.buffer.size(), line.now), listening);
            fuzz::require(!line.rules.listening(), "Stop ends the listening");
            break;
        }
    }
    return 0;
}
