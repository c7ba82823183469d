#pragma once

#include <QColor>
#include <QFont>

#include "model/designcontrol.h"

// Twips to logical pixels: 15 twips a pixel at 96 dpi; Qt applies the
// screen's own scale on top.
constexpr double kTwipsPerPixel = 15.0;
inline double twipsToPixels(double twips) { return twips / kTwipsPerPixel; }
inline double pixelsToTwips(double pixels) { return pixels * kTwipsPerPixel; }

// A QColor as a 0x00BBGGRR colour value (colorFromValue goes the other way).
qint32 fromQColor(const QColor &color);

// A control font at a drawing scale (1.0 = points as on screen).
QFont toQFont(const FontSpec &font, double scale);

// "1 hit", "3 errors": a count with its noun, for the docks' summaries.
QString counted(qsizetype n, const char *noun);
