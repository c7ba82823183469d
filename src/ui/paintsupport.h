#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

// Shared helpers of the control painters.

// A colour value 0x00BBGGRR as a QColor; system colours (negative values)
// take the usual desktop colours for their index.
QColor colorFromValue(qint32 value);

// A font of `points` points at the given zoom (1 pt = 20 twips), sized for
// the painter's device.
QFont scaledFont(const QPainter &p, const QString &family, double points, bool bold, bool italic,
                 bool underline, double pixelsPerTwip);

// A font `pixels` high on the painter's device.
QFont pixelFont(const QPainter &p, double pixels, bool bold = false,
                const QString &family = QString());

// A picture file, loaded once and kept while the file is unchanged; null for
// an empty name or a file that is not a readable image.
QImage loadPicture(const QString &file);

// Where an image of `size` goes in `area`: scaled to fill it when `stretch`,
// otherwise at its own size (times `zoom`) centred, shrunk to fit if larger
// when `shrinkToFit`.
QRectF placeImage(const QSizeF &size, const QRectF &area, bool stretch, double zoom,
                  bool shrinkToFit);

// What of `text` can show in `area` when the painter draws it word-wrapped
// in its font: `text` itself when no more of it could ever show; else the
// lines that fit, each elided to the width, the last ending in "…". Drawing
// a megabyte caption lays out only this.
QString fittedText(const QPainter &p, const QString &text, const QRectF &area);

// `text` elided to `width` pixels in the painter's font; only as much of it
// as can show is laid out.
QString elidedLine(const QPainter &p, const QString &text, double width,
                   Qt::TextElideMode mode = Qt::ElideRight);

// Mixes two colours; t = 0 gives a, 1 gives b.
QColor mix(const QColor &a, const QColor &b, double t);

// Perceived brightness 0-255.
int luma(const QColor &c);
