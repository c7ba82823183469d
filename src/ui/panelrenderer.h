#pragma once

#include <QDateTime>
#include <QSize>

class QPainter;
class PanelModel;

// Draws a panel as operators see it, for images, prints and the command
// line: the panel's colour and picture, then every visible control back to
// front, without selection frames, focus marks or grid dots, web browsers
// as their drawn placeholder and disabled buttons with a grey caption. Only
// QtGui is used, so it works under a QGuiApplication without a window.

// The panel's size in pixels: 15 twips a pixel, times `scale` (2 for a
// double-size image), rounded up to whole pixels.
QSize panelPixelSize(const PanelModel &panel, double scale = 1.0);

// Paints the panel with its top-left corner at the painter's origin, in the
// painter's coordinates at `scale` pixels per 15 twips, clipped to the
// panel's size. `now` is the time the clocks show.
void renderPanel(QPainter &p, const PanelModel &panel, double scale = 1.0,
                 const QDateTime &now = QDateTime::currentDateTime());
