#include "components/meterfaderlogic.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

struct Point {
  double db;
  double fraction;
};
// A console-style travel: fine steps near unity gain, coarse toward off.
constexpr Point kTravel[] = {{kFaderOffDb, 0.0}, {-60.0, 0.05},     {-40.0, 0.15}, {-30.0, 0.25},
                             {-20.0, 0.38},      {-10.0, 0.55},     {-5.0, 0.65},  {0.0, 0.75},
                             {5.0, 0.875},       {kFaderMaxDb, 1.0}};

}  // namespace

double faderFraction(double db) {
  if (std::isnan(db) || db <= kFaderOffDb) return 0.0;
  if (db >= kFaderMaxDb) return 1.0;
  for (size_t i = 1; i < std::size(kTravel); ++i) {
    const Point &a = kTravel[i - 1];
    const Point &b = kTravel[i];
    if (db <= b.db) return a.fraction + (db - a.db) / (b.db - a.db) * (b.fraction - a.fraction);
  }
  return 1.0;
}

double faderDbAt(double fraction) {
  if (!(fraction > 0.0)) return kFaderOffDb;
  if (fraction >= 1.0) return kFaderMaxDb;
  for (size_t i = 1; i < std::size(kTravel); ++i) {
    const Point &a = kTravel[i - 1];
    const Point &b = kTravel[i];
    if (fraction <= b.fraction)
      return a.db + (fraction - a.fraction) / (b.fraction - a.fraction) * (b.db - a.db);
  }
  return kFaderMaxDb;
}

const std::vector<FaderTick> &faderTicks() {
  static const std::vector<FaderTick> ticks = [] {
    std::vector<FaderTick> t;
    for (double db : {10.0, 5.0, 0.0, -5.0, -10.0, -20.0, -30.0, -40.0, -60.0})
      t.push_back(
          {db, faderFraction(db), db > 0 ? QStringLiteral("+%1").arg(db) : QString::number(db)});
    t.push_back({kFaderOffDb, 0.0, QStringLiteral("-inf")});
    return t;
  }();
  return ticks;
}

QString gainText(double db) {
  if (std::isnan(db) || db <= kFaderOffDb) return QStringLiteral("-inf");
  db = std::min(db, 999.9);
  QString text = QLocale::c().toString(db, 'f', 1);
  if (text == QLatin1String("-0.0")) text = QStringLiteral("0.0");
  if (db >= 0.05) text.prepend(u'+');
  return text;
}

double MeterFaderLayout::yOf(double db) const {
  return track.bottom() - faderFraction(db) * track.height();
}

QRectF MeterFaderLayout::knobAt(double db) const {
  const double y = yOf(db);
  return QRectF(track.center().x() - knobSize.width() / 2, y - knobSize.height() / 2,
                knobSize.width(), knobSize.height());
}

MeterFaderLayout computeMeterFaderLayout(const QRectF &rect, bool hideGain, double pixelScale) {
  MeterFaderLayout l;
  if (!(rect.width() > 0) || !(rect.height() > 0)) return l;
  if (!(pixelScale > 0) || !std::isfinite(pixelScale)) pixelScale = 1.0;
  const double edge = std::clamp(std::min(rect.width(), rect.height()) * 0.04, 1.0, 5.0);
  QRectF inner = rect.adjusted(edge, edge, -edge, -edge);
  l.fontPixels =
      std::clamp(std::min(rect.width() * 0.13, rect.height() * 0.05), 6.0, 12.0 * pixelScale);
  const double line = l.fontPixels * 1.5;
  // Caption and gain only when the meter and fader keep most of the height.
  if (inner.height() > line * 5) {
    l.caption = QRectF(inner.left(), inner.top(), inner.width(), line);
    inner.setTop(inner.top() + line + edge);
    if (!hideGain) {
      l.gain = QRectF(inner.left(), inner.bottom() - line, inner.width(), line);
      inner.setBottom(inner.bottom() - line - edge);
    }
  }
  // Meter on the left (about 45 %), fader column on the right.
  const double meterWidth = std::floor(inner.width() * 0.45);
  l.meter = QRectF(inner.left(), inner.top(), meterWidth, inner.height());
  l.faderArea = QRectF(inner.left() + meterWidth + edge, inner.top(),
                       std::max(0.0, inner.width() - meterWidth - edge), inner.height());
  const QRectF &fa = l.faderArea;
  const double knobH = std::clamp(fa.height() * 0.09, 4.0, 36.0 * pixelScale);
  const double knobW = std::clamp(fa.width() * 0.55, 3.0, 40.0 * pixelScale);
  l.knobSize = QSizeF(knobW, knobH);
  // The slot sits in the right part of the column, leaving the left for tick labels.
  const double slotW = std::clamp(fa.width() * 0.08, 1.0, 5.0 * pixelScale);
  const double centreX = fa.right() - knobW / 2 - 1;
  l.track =
      QRectF(centreX - slotW / 2, fa.top() + knobH / 2, slotW, std::max(0.0, fa.height() - knobH));
  return l;
}
