#pragma once

#include <QColor>
#include <QRectF>

class QPainter;
class DesignWebBrowser;

// The stand-in for an embedded browser: a browser frame with navigation
// buttons, an address bar showing the control's address and an empty page.
void paintWebBrowserControl(QPainter &p, const QRectF &rect, const DesignWebBrowser &browser,
                            double pixelsPerTwip);

// A small globe, used on the page and by the palette.
void paintGlobe(QPainter &p, const QPointF &centre, double radius, const QColor &color);
