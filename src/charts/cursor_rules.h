#pragma once

#include <QChar>
#include <QString>

#include <optional>

namespace tormel {

// The measuring keys, as the canvas hands them on.
enum class ArrowKey { Left, Up, Right, Down };

// The mouse buttons of a pointer event: held while it moves, pressed on a press.
struct PointerButtons {
    bool left = false;
    bool right = false;
    bool middle = false;
    bool any() const { return left || right || middle; }
    // The left button alone places the left marker; any other, the right one.
    bool leftAlone() const { return left && !right && !middle; }
};

// The modifier keys held during a pointer or key event.
struct Modifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
    // The pointer measures only with a modifier held, so that a plain move
    // or click leaves the figures where the keys put them.
    bool any() const { return shift || control || alt; }
    // The keys ignore Shift held alone.
    bool shiftAlone() const { return shift && !control && !alt; }
};

// One step of a key: the whole part of position + step (100.5 + 1 gives 101,
// 100.5 - 1 gives 99).
double stepTarget(double position, int step);

// Whether a position lies on a canvas from edge `a` to edge `b` (either
// order), compared in single precision as the canvas's scale is kept.
bool withinEdges(double position, double a, double b);

// The time of sample `sample` in a lap starting at `lapStart`: "###0.0" s.
QString sampleTimeText(int sample, int lapStart, QChar decimalSeparator);

// The read-outs between the two markers: the time from left to right
// ("###0.00"), the engine-speed difference, and the rate of change in
// "000.00 RPM/s", which a zero time leaves as it was (no value).
struct MarkerDifferences {
    QString secondsText;
    QString rpmDifferenceText;
    std::optional<QString> rateText;
};
MarkerDifferences markerDifferences(double leftX, double rightX, int leftRpm, int rightRpm, QChar decimalSeparator);

// The histogram read-out: the class range in RPM and the time the lap spent
// in it, "450-500 : 03.4s" for class 9 of 50 RPM and 17 samples.
QString histogramReadout(int rpmStep, double classY, int samples, QChar decimalSeparator);

}  // namespace tormel
