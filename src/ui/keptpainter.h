#pragma once

#include <QRectF>

class QPainter;
class DesignKept;

// The placeholder of a control this version keeps but cannot show: a
// hatched rectangle with the control's type and name.
void paintKeptControl(QPainter &p, const QRectF &rect, const DesignKept &kept,
                      double pixelsPerTwip);
