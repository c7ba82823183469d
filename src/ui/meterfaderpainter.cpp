#include "ui/meterfaderpainter.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPixmapCache>
#include <algorithm>
#include <cmath>

#include "components/meterfaderlogic.h"
#include "model/designcontrol.h"
#include "ui/meterpainter.h"
#include "ui/paintsupport.h"

namespace {

const QColor kNominal(255, 168, 0);

void paintBody(QPainter &p, const QRectF &r) {
  const double radius = std::clamp(std::min(r.width(), r.height()) * 0.05, 0.0, 6.0);
  QLinearGradient g(r.topLeft(), r.topRight());
  g.setColorAt(0, QColor(58, 62, 70));
  g.setColorAt(0.5, QColor(70, 75, 84));
  g.setColorAt(1, QColor(50, 54, 61));
  p.setPen(QPen(QColor(14, 15, 17), 1));
  p.setBrush(g);
  p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void paintDisplay(QPainter &p, const QRectF &r, const QString &text, const QColor &ink,
                  double fontPixels, bool bold) {
  p.setPen(QPen(QColor(0, 0, 0), 1));
  p.setBrush(QColor(12, 13, 15));
  p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
  p.setFont(pixelFont(p, fontPixels, bold));
  p.setPen(ink);
  const QRectF inside = r.adjusted(2, 0, -2, 0);
  p.drawText(inside, Qt::AlignCenter, elidedLine(p, text, inside.width()));
}

void paintFaderScale(QPainter &p, const MeterFaderLayout &l) {
  // Labels left of the knob's path, in a font small enough for "+10".
  const double labelRight = l.track.center().x() - l.knobSize.width() / 2 - 2;
  const double room = labelRight - l.faderArea.left();
  double labelPx = l.fontPixels * 0.85;
  const double widest =
      QFontMetricsF(pixelFont(p, labelPx)).horizontalAdvance(QStringLiteral("+10"));
  if (widest > room && widest > 0) labelPx *= room / widest;
  const bool labels = labelPx >= 6;
  p.setFont(pixelFont(p, labelPx));
  double lastY = -1e9;
  for (const FaderTick &t : faderTicks()) {
    const double y = std::round(l.yOf(t.db)) + 0.5;
    const bool unity = t.db == 0.0;
    p.setPen(QPen(unity ? QColor(225, 228, 233) : QColor(140, 146, 156), 1));
    const double half = l.knobSize.width() / 2;
    p.drawLine(QPointF(l.track.center().x() - half, y), QPointF(l.track.left() - 1, y));
    p.drawLine(QPointF(l.track.right() + 1, y), QPointF(l.track.center().x() + half * 0.7, y));
    if (labels && y - lastY >= labelPx * 1.05) {
      p.setPen(unity ? QColor(235, 238, 242) : QColor(176, 182, 191));
      const QString text = t.label == QLatin1String("-inf") ? QStringLiteral("∞") : t.label;
      p.drawText(
          QRectF(l.faderArea.left(), y - labelPx, labelRight - l.faderArea.left(), 2 * labelPx),
          Qt::AlignRight | Qt::AlignVCenter, text);
      lastY = y;
    }
  }
}

void paintTrack(QPainter &p, const QRectF &track) {
  const QRectF slot = track.adjusted(0, -1, 0, 1);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(4, 4, 5));
  p.drawRoundedRect(slot, slot.width() / 2, slot.width() / 2);
  p.setPen(QPen(QColor(255, 255, 255, 40), 1));
  p.drawLine(QPointF(slot.right() + 0.5, slot.top() + 1),
             QPointF(slot.right() + 0.5, slot.bottom() - 1));
}

void paintNominal(QPainter &p, const MeterFaderLayout &l, double db) {
  const double y = l.yOf(db);
  const double s = std::clamp(l.knobSize.height() * 0.35, 2.0, 6.0);
  const double x = l.track.right() + 1;
  QPainterPath tri;
  tri.moveTo(x, y);
  tri.lineTo(x + s * 1.4, y - s);
  tri.lineTo(x + s * 1.4, y + s);
  tri.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(kNominal);
  p.drawPath(tri);
  p.setBrush(kNominal);
  p.drawRect(QRectF(l.track.left() - 1, y - 0.75, l.track.width() + 2, 1.5));
}

void paintKnob(QPainter &p, const QRectF &knob) {
  if (knob.width() < 2 || knob.height() < 2) return;
  // Shadow, cap with grooves, and the white index line.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 90));
  p.drawRoundedRect(knob.translated(1, 1.5), 2, 2);
  QLinearGradient g(knob.topLeft(), knob.bottomLeft());
  g.setColorAt(0, QColor(236, 238, 241));
  g.setColorAt(0.45, QColor(170, 175, 183));
  g.setColorAt(0.55, QColor(150, 155, 163));
  g.setColorAt(1, QColor(205, 208, 213));
  p.setPen(QPen(QColor(30, 32, 36), 1));
  p.setBrush(g);
  p.drawRoundedRect(knob.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
  if (knob.height() >= 9) {
    p.setPen(QPen(QColor(0, 0, 0, 70), 1));
    for (double f : {0.22, 0.34, 0.66, 0.78}) {
      const double y = std::round(knob.top() + f * knob.height()) + 0.5;
      p.drawLine(QPointF(knob.left() + 2, y), QPointF(knob.right() - 2, y));
    }
  }
  const double y = std::round(knob.center().y());
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(20, 20, 22));
  p.drawRect(QRectF(knob.left() + 1, y - 1, knob.width() - 2, 2));
  p.setBrush(QColor(255, 255, 255));
  p.drawRect(QRectF(knob.left() + 1, y, knob.width() - 2, 1));
}

}  // namespace

namespace {

// Everything but the texts: the body, the meter, the scale, the track, the
// nominal mark and the knob.
void paintFace(QPainter &p, const QRectF &rect, const MeterFaderLayout &l,
               const DesignMeterFader &f, double pixelScale) {
  paintBody(p, rect);
  paintMeter(p, l.meter, f.meter, pixelScale);
  p.setRenderHint(QPainter::Antialiasing, true);
  if (l.track.height() > 0) {
    paintFaderScale(p, l);
    paintTrack(p, l.track);
    paintNominal(p, l, f.faderNominal);
    paintKnob(p, l.knobAt(f.faderLevel));
  }
}

// A panel holds many faders that look alike but for their names: the face is
// painted once into a pixmap per look and copied from there.
void paintFaceCached(QPainter &p, const QRectF &rect, const MeterFaderLayout &l,
                     const DesignMeterFader &f, double pixelScale) {
  const QPointF origin(std::floor(rect.left()), std::floor(rect.top()));
  const QPaintDevice *device = p.device();
  const qreal ratio = device ? device->devicePixelRatioF() : 1.0;
  const MeterSettings &m = f.meter;
  // Everything the face's look depends on, its place within a pixel too.
  const QString key =
      QString::asprintf("tessary-fader %.3f %.3f %.3f %.3f %.3f %.3f %d %d",
                        rect.left() - origin.x(), rect.top() - origin.y(), rect.width(),
                        rect.height(), pixelScale, ratio, device ? device->logicalDpiY() : 96,
                        int(f.hideGainValue)) +
      QString::asprintf(" %a %a %d %d %d %d %d %d %d", double(f.faderNominal), double(f.faderLevel),
                        m.meterScale, m.meterStyle, m.levelLineColor, int(m.decayRate),
                        int(m.centerPad), m.levelLeft, m.levelRight);
  QPixmap face;
  if (!QPixmapCache::find(key, &face)) {
    const QSize size(int(std::ceil(rect.right() - origin.x())) + 1,
                     int(std::ceil(rect.bottom() - origin.y())) + 1);
    face = QPixmap(size * ratio);
    face.setDevicePixelRatio(ratio);
    face.fill(Qt::transparent);
    QPainter q(&face);
    q.setRenderHints(p.renderHints());
    q.translate(-origin);
    paintFace(q, rect, l, f, pixelScale);
    q.end();
    QPixmapCache::insert(key, face);
  }
  p.drawPixmap(origin, face);
}

}  // namespace

void paintMeterFaderControl(QPainter &p, const QRectF &rect, const DesignMeterFader &f,
                            double pixelsPerTwip) {
  if (!(rect.width() >= 1) || !(rect.height() >= 1)) return;
  const double pixelScale = pixelsPerTwip * 15.0;
  const MeterFaderLayout l = computeMeterFaderLayout(rect, f.hideGainValue, pixelScale);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  // Small and huge faders are painted directly; a face is worth keeping at
  // the sizes panels show.
  if (rect.width() * rect.height() <= 4096 * 4096 && !p.transform().isScaling())
    paintFaceCached(p, rect, l, f, pixelScale);
  else
    paintFace(p, rect, l, f, pixelScale);
  if (!l.caption.isEmpty()) {
    QString name = f.meterName;
    name.replace(QLatin1String("\r\n"), QLatin1String(" "));
    name.replace(u'\n', u' ');
    paintDisplay(p, l.caption, name, QColor(236, 239, 244), l.fontPixels, true);
  }
  if (!l.gain.isEmpty()) {
    const QString gain = gainText(f.faderLevel);
    const QString text =
        gain == QLatin1String("-inf") ? QStringLiteral("-∞ dB") : gain + QStringLiteral(" dB");
    paintDisplay(p, l.gain, text, QColor(120, 240, 140), l.fontPixels, false);
  }
  p.restore();
}
