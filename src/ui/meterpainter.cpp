#include "ui/meterpainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "components/meterscale.h"
#include "model/designcontrol.h"
#include "ui/paintsupport.h"

namespace {

QColor litColor(MeterZone zone) {
  switch (zone) {
    case MeterZone::Over:
      return QColor(255, 59, 48);
    case MeterZone::Warning:
      return QColor(255, 190, 26);
    default:
      return QColor(46, 224, 72);
  }
}

QColor unlitColor(MeterZone zone) { return mix(QColor(10, 11, 13), litColor(zone), 0.17); }

void paintBezel(QPainter &p, const QRectF &r) {
  const double radius = std::clamp(std::min(r.width(), r.height()) * 0.06, 0.0, 5.0);
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, QColor(52, 56, 63));
  g.setColorAt(1, QColor(25, 27, 31));
  p.setPen(QPen(QColor(8, 9, 10), 1));
  p.setBrush(g);
  p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
  if (r.width() > 6 && r.height() > 6) {
    p.setPen(QPen(QColor(255, 255, 255, 28), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), radius, radius);
  }
}

void paintTrough(QPainter &p, const QRectF &bar) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(6, 7, 8));
  p.drawRect(bar);
}

void paintLeds(QPainter &p, const QRectF &bar, const MeterScale &scale, qint32 level) {
  const int count = ledSegmentCount(bar.height());
  const double pitch = bar.height() / count;
  const double gap = pitch >= 3 ? std::max(1.0, pitch * 0.28) : 0.0;
  const double inset = bar.width() >= 5 ? 1.0 : 0.0;
  for (const LedSegment &s : ledSegments(scale, count, level)) {
    const double top = bar.bottom() - s.top * bar.height();
    const QRectF seg(bar.left() + inset, top + gap / 2, bar.width() - 2 * inset, pitch - gap);
    if (s.lit) {
      const QColor c = litColor(s.zone);
      QLinearGradient g(seg.topLeft(), seg.topRight());
      g.setColorAt(0, c.darker(125));
      g.setColorAt(0.45, c.lighter(125));
      g.setColorAt(1, c.darker(125));
      p.setBrush(g);
    } else {
      p.setBrush(unlitColor(s.zone));
    }
    p.drawRect(seg);
  }
}

void paintGradient(QPainter &p, const QRectF &bar, const MeterScale &scale, qint32 level) {
  const double warn = scale.fractionOf(kWarningDb);
  const double over = scale.fractionOf(kOverDb);
  auto zoneGradient = [&](bool lit) {
    auto c = [lit](MeterZone z) { return lit ? litColor(z) : unlitColor(z); };
    QLinearGradient g(bar.bottomLeft(), bar.topLeft());
    g.setColorAt(0, c(MeterZone::Normal).darker(lit ? 115 : 100));
    g.setColorAt(std::max(0.0, warn - 0.04), c(MeterZone::Normal));
    g.setColorAt(warn, c(MeterZone::Warning));
    g.setColorAt(std::max(warn, over - 0.03), c(MeterZone::Warning));
    g.setColorAt(over, c(MeterZone::Over));
    g.setColorAt(1, c(MeterZone::Over));
    return g;
  };
  const QRectF inner = bar.width() >= 5 ? bar.adjusted(1, 1, -1, -1) : bar;
  p.setBrush(zoneGradient(false));
  p.drawRect(inner);
  const double f = scale.fractionOfLevel(level);
  if (f > 0) {
    const QRectF lit(inner.left(), inner.bottom() - f * inner.height(), inner.width(),
                     f * inner.height());
    p.setBrush(zoneGradient(true));
    p.drawRect(lit);
    // A soft highlight down the middle gives the bar some depth.
    QLinearGradient shine(lit.topLeft(), lit.topRight());
    shine.setColorAt(0, QColor(0, 0, 0, 60));
    shine.setColorAt(0.45, QColor(255, 255, 255, 60));
    shine.setColorAt(1, QColor(0, 0, 0, 60));
    p.setBrush(shine);
    p.drawRect(lit);
  }
}

void paintLevelLine(QPainter &p, const QRectF &bar, const MeterScale &scale, qint32 level,
                    const QColor &color, double pixelScale) {
  const double thick = std::clamp(bar.height() / 120.0, 1.0, 2.0 * pixelScale);
  const double f = scale.fractionOfLevel(level);
  const double y =
      std::clamp(bar.bottom() - f * bar.height(), bar.top() + thick / 2, bar.bottom() - thick / 2);
  p.setBrush(color);
  p.drawRect(QRectF(bar.left(), y - thick / 2, bar.width(), thick));
}

void paintScale(QPainter &p, const MeterLayout &l, const MeterScale &scale) {
  const QRectF &bar = l.bars[0];
  const QFont font = pixelFont(p, l.labelPixels);
  p.setFont(font);
  const double tickLong = std::max(2.0, l.scale.width() * 0.16);
  const double tickShort = tickLong * 0.6;
  const double right = l.scale.right() - 1;
  for (const MeterTick &t : visibleTicks(scale.ticks(), bar.height(), l.labelPixels * 1.15)) {
    const double y = std::round(bar.bottom() - t.fraction * bar.height()) + 0.5;
    const bool major = !t.label.isEmpty();
    p.setPen(QPen(major ? QColor(170, 176, 186) : QColor(110, 116, 126), 1));
    p.drawLine(QPointF(right - (major ? tickLong : tickShort), y), QPointF(right, y));
    if (major) {
      p.setPen(QColor(196, 201, 209));
      const QRectF box(l.scale.left(), y - l.labelPixels, right - tickLong - 1 - l.scale.left(),
                       2 * l.labelPixels);
      p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, t.label);
    }
  }
}

}  // namespace

void paintMeter(QPainter &p, const QRectF &rect, const MeterSettings &m, double pixelScale) {
  if (!(rect.width() >= 1) || !(rect.height() >= 1)) return;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  const MeterLayout l = computeMeterLayout(rect, m, pixelScale);
  const MeterScale scale = MeterScale::fromCode(m.meterScale);
  paintBezel(p, l.bezel);
  if (l.showScale()) paintScale(p, l, scale);
  const qint32 levels[2] = {m.levelLeft, m.levelRight};
  const QColor line = colorFromValue(m.levelLineColor);
  for (int ch = 0; ch < 2; ++ch) {
    const QRectF &bar = l.bars[ch];
    if (bar.width() <= 0 || bar.height() <= 0) continue;
    p.setPen(Qt::NoPen);
    paintTrough(p, bar);
    if (m.meterStyle == 0)
      paintLeds(p, bar, scale, levels[ch]);
    else
      paintGradient(p, bar, scale, levels[ch]);
    paintLevelLine(p, bar, scale, levels[ch], line, pixelScale);
  }
  p.restore();
}

void paintMeterControl(QPainter &p, const QRectF &rect, const DesignMeter &meter,
                       double pixelsPerTwip) {
  paintMeter(p, rect, meter.meter, pixelsPerTwip * 15.0);
}
