#pragma once

#include <QChar>
#include <QString>

#include <optional>

namespace tormel {

// Key codes of the measuring keys, as the charts receive them.
inline constexpr int KeyLeft = 37;
inline constexpr int KeyUp = 38;
inline constexpr int KeyRight = 39;
inline constexpr int KeyDown = 40;

// The measuring key code of a Qt key code (arrows), or 0.
int measuringKey(int qtKey);

// Modifier code of Shift alone: the keys ignore it, the pointer needs a modifier.
inline constexpr int ShiftAlone = 1;

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
