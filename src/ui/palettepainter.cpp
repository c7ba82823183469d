#include "ui/palettepainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "ui/paintsupport.h"
#include "ui/webbrowserpainter.h"

namespace {

void button(QPainter &p) {
  const QRectF r(3, 8, 26, 16);
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, QColor(250, 250, 251));
  g.setColorAt(1, QColor(208, 211, 216));
  p.setPen(QPen(QColor(70, 74, 80), 1));
  p.setBrush(g);
  p.drawRoundedRect(r, 2.5, 2.5);
  p.setPen(QPen(QColor(255, 255, 255), 1));
  p.drawLine(QPointF(r.left() + 2, r.top() + 1.5), QPointF(r.right() - 2, r.top() + 1.5));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 64, 70));
  p.drawRoundedRect(QRectF(10, 15, 12, 2.5), 1, 1);
}

void label(QPainter &p) {
  p.setPen(QPen(QColor(150, 156, 164), 1, Qt::DashLine));
  p.setBrush(QColor(255, 255, 255));
  p.drawRect(QRectF(3.5, 5.5, 25, 21));
  QPainterPath a;
  a.moveTo(9, 23);
  a.lineTo(16, 8);
  a.lineTo(23, 23);
  p.setPen(QPen(QColor(35, 38, 42), 2.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(a);
  p.drawLine(QPointF(11.8, 18), QPointF(20.2, 18));
}

void browser(QPainter &p) {
  p.setPen(QPen(QColor(90, 96, 104), 1));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(2.5, 4.5, 27, 23), 2, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(222, 226, 232));
  p.drawRect(QRectF(3, 5, 26, 5));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(9, 6, 18, 3), 1.5, 1.5);
  p.setBrush(QColor(230, 80, 70));
  p.drawEllipse(QPointF(5.5, 7.5), 1.1, 1.1);
  paintGlobe(p, QPointF(16, 19), 6.3, QColor(30, 115, 210));
}

void meterBars(QPainter &p, const QRectF &area, int bars, const double *levels) {
  p.setPen(Qt::NoPen);
  const int segments = 9;
  const double gap = 1.0;
  const double barW = (area.width() - gap * (bars - 1)) / bars;
  const double pitch = area.height() / segments;
  for (int b = 0; b < bars; ++b) {
    for (int i = 0; i < segments; ++i) {
      const bool lit = i < levels[b] * segments;
      QColor c = i >= 8 ? QColor(255, 59, 48) : i >= 6 ? QColor(255, 190, 26) : QColor(46, 224, 72);
      if (!lit) c = mix(QColor(10, 11, 13), c, 0.2);
      p.setBrush(c);
      p.drawRect(QRectF(area.left() + b * (barW + gap), area.bottom() - (i + 1) * pitch + 0.5, barW,
                        pitch - 0.8));
    }
  }
}

void bezel(QPainter &p, const QRectF &r) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, QColor(58, 62, 70));
  g.setColorAt(1, QColor(26, 28, 32));
  p.setPen(QPen(QColor(10, 10, 12), 1));
  p.setBrush(g);
  p.drawRoundedRect(r, 2.5, 2.5);
}

void meter(QPainter &p) {
  bezel(p, QRectF(8.5, 1.5, 15, 29));
  const double levels[] = {0.8, 0.6};
  meterBars(p, QRectF(11, 4, 10, 24), 2, levels);
}

void meterFader(QPainter &p) {
  bezel(p, QRectF(3.5, 1.5, 25, 29));
  const double levels[] = {0.7, 0.55};
  meterBars(p, QRectF(6, 4, 9, 24), 2, levels);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(4, 4, 5));
  p.drawRoundedRect(QRectF(21.2, 4, 1.8, 24), 0.9, 0.9);
  QLinearGradient g(0, 13, 0, 19);
  g.setColorAt(0, QColor(240, 242, 245));
  g.setColorAt(1, QColor(160, 165, 172));
  p.setPen(QPen(QColor(20, 20, 22), 0.8));
  p.setBrush(g);
  p.drawRoundedRect(QRectF(17.5, 13, 9, 6), 1, 1);
  p.setPen(QPen(QColor(20, 20, 22), 1));
  p.drawLine(QPointF(18.5, 16), QPointF(25.5, 16));
}

void clock(QPainter &p) {
  const QPointF c(16, 16);
  QLinearGradient ring(16, 2, 16, 30);
  ring.setColorAt(0, QColor(150, 155, 162));
  ring.setColorAt(1, QColor(50, 53, 58));
  p.setPen(Qt::NoPen);
  p.setBrush(ring);
  p.drawEllipse(c, 14, 14);
  p.setBrush(QColor(252, 252, 252));
  p.drawEllipse(c, 12, 12);
  p.setPen(QPen(QColor(40, 40, 44), 1.4, Qt::SolidLine, Qt::FlatCap));
  for (int i = 0; i < 12; ++i) {
    const double a = i * M_PI / 6;
    p.drawLine(QPointF(16 + 9.3 * std::sin(a), 16 - 9.3 * std::cos(a)),
               QPointF(16 + 11.3 * std::sin(a), 16 - 11.3 * std::cos(a)));
  }
  p.setPen(QPen(QColor(30, 30, 34), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(c, QPointF(16 - 5.5 * std::sin(M_PI / 3), 16 - 5.5 * std::cos(M_PI / 3)));  // 10
  p.setPen(QPen(QColor(30, 30, 34), 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(c, QPointF(16 + 8.5 * std::sin(M_PI / 3), 16 - 8.5 * std::cos(M_PI / 3)));  // :10
  p.setPen(QPen(QColor(232, 48, 40), 0.9, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(16, 18.5), QPointF(16, 5.5 + 2 * 3.2));
  p.drawLine(QPointF(16, 16), QPointF(16 + 9, 16 + 5.2));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(232, 48, 40));
  p.drawEllipse(c, 1.5, 1.5);
}

void codec(QPainter &p) {
  QLinearGradient g(0, 5, 0, 27);
  g.setColorAt(0, QColor(48, 92, 160));
  g.setColorAt(1, QColor(24, 52, 100));
  p.setPen(QPen(QColor(14, 30, 60), 1));
  p.setBrush(g);
  p.drawRoundedRect(QRectF(2.5, 5.5, 27, 21), 3, 3);
  QPainterPath wave;
  for (int i = 0; i <= 40; ++i) {
    const double x = 5 + i * 0.55;
    const double y = 16 - 6 * std::sin(i * M_PI / 10) * (0.35 + 0.65 * std::sin(i * M_PI / 40));
    if (i == 0)
      wave.moveTo(x, y);
    else
      wave.lineTo(x, y);
  }
  p.setPen(QPen(QColor(120, 220, 255), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(wave);
  p.setPen(QPen(QColor(255, 255, 255, 200), 1.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(23, 12), QPointF(27, 16));
  p.drawLine(QPointF(27, 16), QPointF(23, 20));
}

// A control of a kind this version does not know: the canvas placeholder's
// hatched, dashed box with a question mark.
void unknownKind(QPainter &p) {
  const QRectF r(3.5, 6.5, 25, 19);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(236, 236, 236));
  p.drawRect(r);
  p.setBrush(QBrush(QColor(170, 170, 170), Qt::BDiagPattern));
  p.drawRect(r);
  p.setPen(QPen(QColor(96, 96, 96), 1, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawRect(r);
  // On a plain band, as the placeholder's text, so that small it stays legible.
  const QRectF band(9.5, 7.5, 13, 17);
  p.fillRect(band, QColor(236, 236, 236));
  QFont font = p.font();
  font.setPixelSize(18);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(50, 50, 50));
  p.drawText(band, Qt::AlignCenter, QStringLiteral("?"));
}

// Draws with `draw` on a 32 x 32 grid scaled to fit `rect`.
template <class Draw>
void paintScaled(QPainter &p, const QRect &rect, Draw draw) {
  if (rect.width() < 1 || rect.height() < 1) return;
  p.save();
  p.setClipRect(rect, Qt::IntersectClip);
  p.setRenderHint(QPainter::Antialiasing, true);
  const double k = std::min(rect.width(), rect.height()) / 32.0;
  p.translate(rect.left() + (rect.width() - 32 * k) / 2, rect.top() + (rect.height() - 32 * k) / 2);
  p.scale(k, k);
  draw(p);
  p.restore();
}

void paintItem(QPainter &p, PaletteItem item) {
  switch (item) {
    case PaletteItem::Button:
      button(p);
      break;
    case PaletteItem::Label:
      label(p);
      break;
    case PaletteItem::WebBrowser:
      browser(p);
      break;
    case PaletteItem::Meter:
      meter(p);
      break;
    case PaletteItem::Clock:
      clock(p);
      break;
    case PaletteItem::MeterFader:
      meterFader(p);
      break;
    case PaletteItem::CodecControl:
      codec(p);
      break;
  }
}

}  // namespace

void paintPaletteIcon(QPainter &p, const QRect &rect, PaletteItem item) {
  paintScaled(p, rect, [item](QPainter &q) { paintItem(q, item); });
}

void paintUnknownKindIcon(QPainter &p, const QRect &rect) { paintScaled(p, rect, unknownKind); }
