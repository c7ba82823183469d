#include "ui/clockpainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "components/clocklogic.h"
#include "model/designcontrol.h"
#include "ui/paintsupport.h"

namespace {

const QColor kSecondHand(232, 48, 40);

QPointF polar(const QPointF &centre, double radius, double degrees) {
  const double rad = degrees * M_PI / 180.0;
  return QPointF(centre.x() + radius * std::sin(rad), centre.y() - radius * std::cos(rad));
}

void paintBackground(QPainter &p, const QRectF &rect, const DesignClock &c, double zoom) {
  p.fillRect(rect, colorFromValue(c.backgroundColor));
  const QImage picture = loadPicture(c.backGroundPicture);
  if (picture.isNull()) return;
  p.save();
  p.setClipRect(rect);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  p.drawImage(placeImage(picture.size(), rect, c.backgroundImageStretch, zoom, false), picture);
  p.restore();
}

void paintFace(QPainter &p, const QPointF &centre, double r, const DesignClock &c) {
  const QColor back = colorFromValue(c.backgroundColor);
  const QColor border = colorFromValue(c.faceBorderColor);
  const double ring = std::max(1.0, r * 0.055);
  // Bezel ring with a light catch on top, then the dial with a soft centre.
  QLinearGradient bezel(centre.x(), centre.y() - r, centre.x(), centre.y() + r);
  bezel.setColorAt(0, mix(border, Qt::white, 0.35));
  bezel.setColorAt(0.5, border);
  bezel.setColorAt(1, mix(border, Qt::black, 0.45));
  p.setPen(Qt::NoPen);
  p.setBrush(bezel);
  p.drawEllipse(centre, r, r);
  const double dial = r - ring;
  QRadialGradient face(centre, dial);
  const QColor toward = luma(back) < 128 ? QColor(Qt::white) : QColor(Qt::black);
  face.setColorAt(0, mix(back, toward, 0.07));
  face.setColorAt(1, back);
  p.setBrush(face);
  p.drawEllipse(centre, dial, dial);
  if (dial > 20) {
    p.setPen(QPen(mix(border, Qt::black, 0.5), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, dial, dial);
  }
}

void paintHashes(QPainter &p, const QPointF &centre, double r, const DesignClock &c) {
  const QColor longColor = colorFromValue(c.longHashColor);
  const QColor shortColor = colorFromValue(c.shortHashColor);
  const double outer = r * 0.88;
  for (int i = 0; i < 60; ++i) {
    const bool isLong = isLongHash(i);
    const double inner = outer - r * (isLong ? 0.13 : 0.055);
    const double width = std::max(1.0, r * (isLong ? 0.04 : 0.014));
    if (!isLong && r < 14) continue;  // too small for minute marks
    p.setPen(QPen(isLong ? longColor : shortColor, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(polar(centre, inner, i * 6.0), polar(centre, outer, i * 6.0));
  }
}

void paintNumbers(QPainter &p, const QPointF &centre, double r, const DesignClock &c) {
  const double px = r * 0.17;
  if (px < 5) return;
  QFont font = pixelFont(p, px, c.fontBold, c.fontName);
  font.setItalic(c.fontItalic);
  p.setFont(font);
  p.setPen(colorFromValue(c.foregroundColor));
  const double at = r * (c.faceVisible ? 0.62 : 0.8);
  for (int h = 1; h <= 12; ++h) {
    const QPointF pos = polar(centre, at, h * 30.0);
    p.drawText(QRectF(pos.x() - px * 1.5, pos.y() - px, px * 3, px * 2), Qt::AlignCenter,
               QString::number(h));
  }
}

// A tapered hand with a short tail, drawn pointing up and then rotated.
void paintPlainHand(QPainter &p, const QPointF &centre, double angle, double length, double width,
                    double tail, const QColor &color) {
  QPainterPath hand;
  hand.moveTo(-width / 2, tail);
  hand.lineTo(-width * 0.32, -length);
  hand.lineTo(0, -length - width * 0.4);
  hand.lineTo(width * 0.32, -length);
  hand.lineTo(width / 2, tail);
  hand.closeSubpath();
  p.save();
  p.translate(centre);
  p.rotate(angle);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 70));
  p.drawPath(hand.translated(width * 0.25, width * 0.35));
  p.setBrush(color);
  p.drawPath(hand);
  p.restore();
}

// A hand built of separate square elements, like a studio clock's LED hands.
void paintElementHand(QPainter &p, const QPointF &centre, double angle, double from, double length,
                      double size, const QColor &color) {
  size = std::max(1.5, size);
  const double pitch = size * 1.45;
  p.save();
  p.translate(centre);
  p.rotate(angle);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  for (double d = from + size / 2; d <= length; d += pitch)
    p.drawRoundedRect(QRectF(-size / 2, -d - size / 2, size, size), size * 0.25, size * 0.25);
  p.restore();
}

void paintAnalogue(QPainter &p, const QRectF &rect, const DesignClock &c, const QTime &t) {
  const double side = std::min(rect.width(), rect.height());
  const QPointF centre = rect.center();
  const double r = side / 2 * 0.97;
  if (r < 2) return;
  if (c.faceVisible) {
    paintFace(p, centre, r, c);
    paintHashes(p, centre, r, c);
  }
  if (c.faceNumbers) paintNumbers(p, centre, r, c);

  const HandAngles a = computeHandAngles(t);
  const QColor ink = colorFromValue(c.foregroundColor);
  if (c.elementHands) {
    const double e = r * 0.065;
    paintElementHand(p, centre, a.hour, r * 0.1, r * 0.5, e, ink);
    paintElementHand(p, centre, a.minute, r * 0.1, r * 0.74, e, ink);
    paintElementHand(p, centre, a.second, r * 0.1, r * 0.84, e * 0.75, kSecondHand);
  } else {
    paintPlainHand(p, centre, a.hour, r * 0.5, std::max(2.0, r * 0.075), r * 0.1, ink);
    paintPlainHand(p, centre, a.minute, r * 0.75, std::max(1.5, r * 0.05), r * 0.12, ink);
    // The seconds hand: a thin needle with a counterweight tail.
    const double w = std::max(1.0, r * 0.018);
    p.setPen(QPen(kSecondHand, w, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(polar(centre, -r * 0.2, a.second), polar(centre, r * 0.86, a.second));
    p.setPen(Qt::NoPen);
    p.setBrush(kSecondHand);
    p.drawEllipse(polar(centre, -r * 0.16, a.second), w * 2.2, w * 2.2);
  }
  // Centre cap.
  const double cap = std::max(1.5, r * 0.055);
  p.setPen(Qt::NoPen);
  p.setBrush(kSecondHand);
  p.drawEllipse(centre, cap, cap);
  p.setBrush(ink);
  p.drawEllipse(centre, cap * 0.45, cap * 0.45);
}

void paintDigital(QPainter &p, const QRectF &rect, const DesignClock &c, const QTime &t,
                  double pixelsPerTwip) {
  const QString text = digitalClockText(t, c.military);
  QFont font = scaledFont(p, c.fontName, c.fontSize, c.fontBold, c.fontItalic, c.fontUnderline,
                          pixelsPerTwip);
  // Shrink a font too large for the control so the whole time stays visible.
  const QRectF box = rect.adjusted(2, 1, -2, -1);
  const QSizeF need = QFontMetricsF(font).size(Qt::TextSingleLine, text);
  if (need.width() > box.width() && need.width() > 0 && box.width() > 0)
    font.setPointSizeF(std::max(0.5, font.pointSizeF() * box.width() / need.width()));
  p.setFont(font);
  p.setPen(colorFromValue(c.foregroundColor));
  p.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
}

}  // namespace

void paintClockControl(QPainter &p, const QRectF &rect, const DesignClock &c, const QDateTime &now,
                       double pixelsPerTwip) {
  if (!(rect.width() >= 1) || !(rect.height() >= 1)) return;
  p.save();
  p.setClipRect(rect, Qt::IntersectClip);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  paintBackground(p, rect, c, pixelsPerTwip * 15.0);
  const QTime t = clockTime(now, c.offSet);
  if (c.digital)
    paintDigital(p, rect, c, t, pixelsPerTwip);
  else
    paintAnalogue(p, rect, c, t);
  p.restore();
}
