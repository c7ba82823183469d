#pragma once

#include <QRectF>

class QPainter;
class DesignButton;
class DesignLabel;

// A raised push button in its back colour: picture centred (above the
// caption when both are set), caption centred and word-wrapped in the
// button's font; "&" is shown as typed. A pressed button is drawn sunken,
// its contents one pixel down and to the right.
void paintButtonControl(QPainter &p, const QRectF &rect, const DesignButton &button,
                        double pixelsPerTwip, bool pressed = false);
