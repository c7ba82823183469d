#pragma once

#include <QRectF>

class QPainter;
class DesignMeter;
struct MeterSettings;

// A two-channel level meter: dark bezel, LED segments or a gradient bar per
// channel, the dB scale when there is room, and the level line.
// `pixelScale` is device pixels per 96-dpi pixel.
void paintMeter(QPainter &p, const QRectF &rect, const MeterSettings &settings, double pixelScale);

void paintMeterControl(QPainter &p, const QRectF &rect, const DesignMeter &meter,
                       double pixelsPerTwip);
