#pragma once

#include <QRectF>

class QPainter;
class DesignLabel;

// A flat text box: back colour, text in the fore colour and the label's
// font, from the top left, word-wrapped.
void paintLabelControl(QPainter &p, const QRectF &rect, const DesignLabel &label,
                       double pixelsPerTwip);
