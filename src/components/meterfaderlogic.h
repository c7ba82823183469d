#pragma once

#include <QRectF>
#include <QString>
#include <vector>

// The fader of a meter-fader: a gain travel from "off" at the bottom to
// +10 dB at the top, 0 dB at about three quarters of the travel, and the
// parts' places inside the control.

constexpr double kFaderMaxDb = 10.0;
// At and below this gain the fader is off.
constexpr double kFaderOffDb = -80.0;

// 0 at the bottom of the travel, 1 at the top; clamped; NaN gives 0.
double faderFraction(double db);
// The inverse of faderFraction over [0, 1].
double faderDbAt(double fraction);

struct FaderTick {
  double db = 0;
  double fraction = 0;
  QString label;
};
// Top to bottom: +10, +5, 0, -5, -10, -20, -30, -40, -60 and the off mark.
const std::vector<FaderTick> &faderTicks();

// The gain as shown under the fader: one decimal, a sign above 0
// ("+3.5", "0.0", "-12.0"), "-inf" when the fader is off.
QString gainText(double db);

// Where the parts of a meter-fader go inside `rect` (pixels); `pixelScale`
// is device pixels per 96-dpi pixel.
struct MeterFaderLayout {
  QRectF caption;    // the meter name, empty when there is no room
  QRectF meter;      // the two-channel meter
  QRectF faderArea;  // the fader's column: track, ticks and knob
  QRectF track;      // the slot the knob runs in
  QRectF gain;       // the gain value, empty when hidden or no room
  double fontPixels = 0;
  // The y of a gain on the track and the knob centred on it.
  double yOf(double db) const;
  QRectF knobAt(double db) const;
  QSizeF knobSize;
};
MeterFaderLayout computeMeterFaderLayout(const QRectF &rect, bool hideGain, double pixelScale);
