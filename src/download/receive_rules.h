#pragma once

#include "platform/serial_port.h"
#include "record/record_image.h"

#include <QtGlobal>

#include <array>

namespace tormel {

// The counter a line event increases (0..9), or -1 for none.
int counterOfEvent(int event);

// Why a listening session ended without an image.
enum class DownloadRefusal {
    None,
    LineLost,      // the device went away
    QuietLine,     // bytes came, then the line stayed quiet without an image
    TooManyBytes,  // more than the logger's memory arrived
    LineErrors,    // a line-error counter moved
    Stopped,       // Stop clicked before a whole image had settled
};

// What the receiver must do after an input.
enum class ReceiveStep {
    Nothing,
    TakeImage,  // read the port's buffer and hand its size to imageTaken
    Accept,     // the bytes read are the image
    Refuse,     // the session ended without an image; refusal() says why
};

struct ReceiveOutcome {
    ReceiveStep step = ReceiveStep::Nothing;
    int beeps = 0;  // warning sounds to give
};

// The rules of one listening session, free of ports and timers: the inputs
// are byte counts, line events, a lost device and clicks, each with the time
// in milliseconds. A session ends once, by an image or by one refusal; after
// that every input is ignored until the next start.
class ReceiveRules {
public:
    static constexpr int ImageBytes = RecordImage::Size;
    // USB serial adapters hand over what they hold at least every 16 ms: a
    // count unchanged this long is all that came.
    static constexpr qint64 SettleMilliseconds = 50;
    // Bytes came, then nothing this long: the logger has given up.
    static constexpr qint64 QuietMilliseconds = 2000;
    // How often a listening receiver looks at the port.
    static constexpr int PollMilliseconds = 10;

    // Start: counters cleared, nothing received yet.
    void start(qint64 now);
    // A look at the port: `bytes` wait in its buffer.
    ReceiveOutcome bytesWaiting(qint64 bytes, qint64 now);
    ReceiveOutcome lineEvent(int code);
    ReceiveOutcome lineLost();
    // Stop clicked with `bytes` waiting; accepts only what bytesWaiting would.
    ReceiveOutcome stopClicked(qint64 bytes, qint64 now);
    // After TakeImage: how many bytes the read gave.
    ReceiveOutcome imageTaken(qint64 bytesRead);

    bool listening() const { return listening_; }
    // Cerror(0..9) of the session under way or last ended.
    const std::array<int, 10>& counters() const { return counters_; }
    bool anyLineError() const;
    // Why the last session ended without an image (None after an image).
    DownloadRefusal refusal() const { return refusal_; }
    // The bytes that had come when the session ended, or so far.
    qint64 bytesReceived() const { return bytes_; }

private:
    ReceiveOutcome refuse(DownloadRefusal why, int beeps = 0);
    // More than an image arrived: counted as a receive-buffer overflow.
    ReceiveOutcome overflow();
    bool settled(qint64 now) const;

    bool listening_ = false;
    bool taking_ = false;
    qint64 bytes_ = 0;
    qint64 changedAt_ = 0;
    DownloadRefusal refusal_ = DownloadRefusal::None;
    std::array<int, 10> counters_{};
};

}  // namespace tormel
