#pragma once

#include <QRect>

class QPainter;

// The items of the control palette.
enum class PaletteItem { Button, Label, WebBrowser, Meter, Clock, MeterFader, CodecControl };

// A small icon of the item, drawn to fit `rect` (any size; designed on a
// 32 x 32 grid and scaled).
void paintPaletteIcon(QPainter &p, const QRect &rect, PaletteItem item);
// The same for a control of a kind this version does not know (its placeholder).
void paintUnknownKindIcon(QPainter &p, const QRect &rect);
