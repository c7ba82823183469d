#pragma once

#include <QDateTime>
#include <QRectF>

class QPainter;
class DesignClock;

// An analogue clock (face, border, long and short hashes, numbers, hour,
// minute and second hands, plain or built of elements) or a digital one (the
// time in the clock's font and foreground colour), over the background
// colour or picture. The time shown is `now` moved by the clock's offset.
void paintClockControl(QPainter &p, const QRectF &rect, const DesignClock &clock,
                       const QDateTime &now, double pixelsPerTwip);
