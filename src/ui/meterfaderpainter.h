#pragma once

#include <QRectF>

class QPainter;
class DesignMeterFader;

// A channel strip: the meter name on a scribble strip, the two-channel
// meter, a fader with its scale, the nominal mark and the knob, and the gain
// value underneath unless hidden.
void paintMeterFaderControl(QPainter &p, const QRectF &rect, const DesignMeterFader &fader,
                            double pixelsPerTwip);
