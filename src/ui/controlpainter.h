#pragma once

#include <QDateTime>
#include <QRectF>

#include "ui/palettepainter.h"  // paintPaletteIcon, PaletteItem

class QPainter;
class DesignControl;

// Paints any control into `pixelRect`. `now` is the time a clock shows
// (before its offset); `pixelsPerTwip` scales fonts, pictures and fixed
// sizes (1/15 at 96 dpi and 100 %). `pressed` draws a button held down.
void paintControl(QPainter &p, const QRectF &pixelRect, const DesignControl &c,
                  const QDateTime &now, double pixelsPerTwip, bool pressed = false);
