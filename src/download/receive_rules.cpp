#include "download/receive_rules.h"

#include <algorithm>

namespace tormel {

int counterOfEvent(int event)
{
    switch (event) {
    case line_event::EndOfFile: return 0;
    case line_event::Break: return 1;
    case 1002: return 2;  // clear-to-send time-out
    case 1003: return 3;  // data-set-ready time-out
    case line_event::Framing: return 4;
    case line_event::Overrun: return 5;
    case 1007: return 6;  // carrier-detect time-out
    case line_event::ReceiveOverflow: return 7;
    case line_event::Parity: return 8;
    case 1010: return 9;  // transmit buffer full
    default: return -1;
    }
}

void ReceiveRules::start(qint64 now)
{
    listening_ = true;
    taking_ = false;
    bytes_ = 0;
    changedAt_ = now;
    refusal_ = DownloadRefusal::None;
    counters_.fill(0);
}

bool ReceiveRules::anyLineError() const
{
    return std::any_of(counters_.begin(), counters_.end(), [](int n) { return n != 0; });
}

ReceiveOutcome ReceiveRules::refuse(DownloadRefusal why, int beeps)
{
    listening_ = false;
    taking_ = false;
    refusal_ = why;
    return {ReceiveStep::Refuse, beeps};
}

ReceiveOutcome ReceiveRules::overflow()
{
    ++counters_[7];
    return refuse(DownloadRefusal::TooManyBytes, 1);
}

bool ReceiveRules::settled(qint64 now) const
{
    return now - changedAt_ >= SettleMilliseconds;
}

ReceiveOutcome ReceiveRules::bytesWaiting(qint64 bytes, qint64 now)
{
    if (!listening_ || taking_)
        return {};
    if (bytes != bytes_) {
        bytes_ = bytes;
        changedAt_ = now;
    }
    if (bytes > ImageBytes) {
        // The logger's memory is 2048 bytes: whatever came, it is not one image.
        return overflow();
    }
    if (bytes == ImageBytes && settled(now)) {
        if (anyLineError())
            return refuse(DownloadRefusal::LineErrors);
        taking_ = true;
        return {ReceiveStep::TakeImage};
    }
    if (bytes > 0 && now - changedAt_ >= QuietMilliseconds)
        return refuse(anyLineError() ? DownloadRefusal::LineErrors : DownloadRefusal::QuietLine);
    return {};
}

ReceiveOutcome ReceiveRules::lineEvent(int code)
{
    if (!listening_ || code == line_event::DataSent)
        return {};
    if (const int i = counterOfEvent(code); i >= 0)
        ++counters_[std::size_t(i)];
    return {ReceiveStep::Nothing, 1};
}

ReceiveOutcome ReceiveRules::lineLost()
{
    if (!listening_)
        return {};
    return refuse(DownloadRefusal::LineLost);
}

ReceiveOutcome ReceiveRules::stopClicked(qint64 bytes, qint64 now)
{
    if (!listening_ || taking_)
        return {};
    const ReceiveOutcome outcome = bytesWaiting(bytes, now);
    if (outcome.step != ReceiveStep::Nothing)
        return outcome;
    return refuse(anyLineError() ? DownloadRefusal::LineErrors : DownloadRefusal::Stopped);
}

ReceiveOutcome ReceiveRules::imageTaken(qint64 bytesRead)
{
    if (!listening_ || !taking_)
        return {};
    taking_ = false;
    if (bytesRead > ImageBytes) {
        bytes_ = bytesRead;
        return overflow();
    }
    if (bytesRead < ImageBytes) {
        // What was counted is gone: the device went away under the read.
        bytes_ = bytesRead;
        return refuse(DownloadRefusal::LineLost);
    }
    if (anyLineError())
        return refuse(DownloadRefusal::LineErrors);
    listening_ = false;
    refusal_ = DownloadRefusal::None;
    return {ReceiveStep::Accept};
}

}  // namespace tormel
