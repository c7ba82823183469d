#include "components/meterscale.h"

#include <algorithm>
#include <cmath>

#include "model/designcontrol.h"

namespace {

constexpr double kFloorDb = kMeterSilence / 10.0;

}  // namespace

MeterZone zoneOf(double db) {
  if (db >= kOverDb) return MeterZone::Over;
  if (db >= kWarningDb) return MeterZone::Warning;
  return MeterZone::Normal;
}

MeterScale::MeterScale(MeterScaleKind kind) : m_kind(kind) {
  auto tick = [this](double db, const char *label) {
    m_ticks.push_back({db, 0.0, QString::fromLatin1(label)});
  };
  switch (kind) {
    case MeterScaleKind::Linear:
      m_points = {{kFloorDb, 0.0}, {0.0, 1.0}};
      for (int db = 0; db >= -60; db -= 5)
        m_ticks.push_back({double(db), 0.0, db % 10 == 0 ? QString::number(db) : QString()});
      break;
    case MeterScaleKind::Standard:
      m_points = {{kFloorDb, 0.0}, {-40.0, 0.15}, {-30.0, 0.30},
                  {-20.0, 0.50},   {-10.0, 0.75}, {0.0, 1.0}};
      tick(0, "0");
      tick(-3, "-3");
      tick(-6, "-6");
      tick(-10, "-10");
      tick(-15, "-15");
      tick(-20, "-20");
      tick(-25, "");
      tick(-30, "-30");
      tick(-40, "-40");
      tick(-50, "");
      tick(-60, "-60");
      break;
    case MeterScaleKind::British: {
      // Mark n sits at 0.1 + (n - 1) * 0.8 / 6 of the bar.
      const double marks[] = {-32, -26, -22, -18, -14, -10, -6};
      m_points.push_back({kFloorDb, 0.0});
      for (int i = 0; i < 7; ++i) m_points.push_back({marks[i], 0.1 + i * 0.8 / 6.0});
      m_points.push_back({0.0, 1.0});
      tick(0, "");
      for (int i = 6; i >= 0; --i) m_ticks.push_back({marks[i], 0.0, QString::number(i + 1)});
      tick(-45, "");
      break;
    }
  }
  for (MeterTick &t : m_ticks) t.fraction = fractionOf(t.db);
}

MeterScale MeterScale::fromCode(qint32 code) {
  switch (code) {
    case 1:
      return MeterScale(MeterScaleKind::Standard);
    case 2:
      return MeterScale(MeterScaleKind::British);
    default:
      return MeterScale(MeterScaleKind::Linear);
  }
}

double MeterScale::minDb() const { return m_points.front().db; }
double MeterScale::maxDb() const { return m_points.back().db; }

double MeterScale::fractionOf(double db) const {
  if (std::isnan(db) || db <= minDb()) return 0.0;
  if (db >= maxDb()) return 1.0;
  for (size_t i = 1; i < m_points.size(); ++i) {
    const Point &a = m_points[i - 1];
    const Point &b = m_points[i];
    if (db <= b.db) return a.fraction + (db - a.db) / (b.db - a.db) * (b.fraction - a.fraction);
  }
  return 1.0;
}

double MeterScale::fractionOfLevel(qint32 tenths) const {
  if (tenths <= kMeterSilence) return 0.0;
  return fractionOf(tenths / 10.0);
}

double MeterScale::dbAt(double fraction) const {
  if (!(fraction > 0.0)) return minDb();
  if (fraction >= 1.0) return maxDb();
  for (size_t i = 1; i < m_points.size(); ++i) {
    const Point &a = m_points[i - 1];
    const Point &b = m_points[i];
    if (fraction <= b.fraction)
      return a.db + (fraction - a.fraction) / (b.fraction - a.fraction) * (b.db - a.db);
  }
  return maxDb();
}

std::vector<MeterTick> visibleTicks(const std::vector<MeterTick> &ticks, double barHeight,
                                    double labelHeight) {
  std::vector<MeterTick> kept;
  if (ticks.empty() || !(barHeight > 0)) return kept;
  auto fits = [&](const MeterTick &t, double gap, bool labelsOnly) {
    for (const MeterTick &k : kept) {
      if (labelsOnly && k.label.isEmpty()) continue;
      if (std::abs(k.fraction - t.fraction) * barHeight < gap) return false;
    }
    return true;
  };
  // Labelled ticks: the two ends first, then the rest from the top.
  std::vector<const MeterTick *> labelled;
  for (const MeterTick &t : ticks)
    if (!t.label.isEmpty()) labelled.push_back(&t);
  if (!labelled.empty()) {
    std::vector<const MeterTick *> order{labelled.front()};
    if (labelled.size() > 1) order.push_back(labelled.back());
    for (size_t i = 1; i + 1 < labelled.size(); ++i) order.push_back(labelled[i]);
    for (const MeterTick *t : order)
      if (fits(*t, labelHeight, true)) kept.push_back(*t);
  }
  for (const MeterTick &t : ticks)
    if (t.label.isEmpty() && fits(t, 3.0, false)) kept.push_back(t);
  std::sort(kept.begin(), kept.end(),
            [](const MeterTick &a, const MeterTick &b) { return a.fraction > b.fraction; });
  return kept;
}

int ledSegmentCount(double barHeight) {
  if (!(barHeight > 0)) return 1;
  return std::clamp(static_cast<int>(barHeight / 4.0), 1, 64);
}

std::vector<LedSegment> ledSegments(const MeterScale &scale, int count, qint32 levelTenths) {
  count = std::clamp(count, 1, 1000);
  const double level = scale.fractionOfLevel(levelTenths);
  std::vector<LedSegment> out(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    LedSegment &s = out[static_cast<size_t>(i)];
    s.bottom = double(i) / count;
    s.top = double(i + 1) / count;
    const double centre = (s.bottom + s.top) / 2;
    s.zone = zoneOf(scale.dbAt(centre));
    s.lit = level > 0.0 && level >= centre;
  }
  return out;
}

MeterLayout computeMeterLayout(const QRectF &rect, const MeterSettings &settings,
                               double pixelScale) {
  MeterLayout l;
  if (!(rect.width() > 0) || !(rect.height() > 0)) return l;
  if (!(pixelScale > 0) || !std::isfinite(pixelScale)) pixelScale = 1.0;
  l.bezel = rect;
  const double edge = std::clamp(std::min(rect.width(), rect.height()) * 0.06, 1.0, 6.0);
  QRectF inner = rect.adjusted(edge, edge, -edge, -edge);
  if (inner.width() < 2 || inner.height() < 2) inner = rect;

  // Labels grow with the meter's height, but the scale column (about 2.2
  // label heights wide) never takes more than half the width; labels that
  // would be smaller than 8 pixels are left out.
  l.labelPixels = std::clamp(inner.height() * 0.045, 8.0, 12.0 * pixelScale);
  l.labelPixels = std::min(l.labelPixels, (inner.width() * 0.5 - 4) / 2.2);
  const double scaleWidth = l.labelPixels * 2.2 + 4;
  const double pad = std::clamp(settings.centerPad * pixelScale, 1.0, inner.width() / 3);
  if (l.labelPixels >= 8 && inner.width() - scaleWidth - pad >= 8 && inner.height() >= 48) {
    const double v = l.labelPixels / 2;
    l.scale = QRectF(inner.left(), inner.top(), scaleWidth, inner.height());
    inner = QRectF(inner.left() + scaleWidth, inner.top() + v, inner.width() - scaleWidth,
                   inner.height() - 2 * v);
  }
  const double barWidth = std::max(0.0, (inner.width() - pad) / 2);
  l.bars[0] = QRectF(inner.left(), inner.top(), barWidth, inner.height());
  l.bars[1] = QRectF(inner.right() - barWidth, inner.top(), barWidth, inner.height());
  return l;
}

MeterBallistics::MeterBallistics(qint16 decayRate)
    : m_fall(kDefaultFallDbPerSecond), m_level(kMeterSilence), m_peak(kMeterSilence) {
  setDecayRate(decayRate);
}

void MeterBallistics::setDecayRate(qint16 decayRate) {
  m_fall = decayRate > 0 ? double(decayRate) : kDefaultFallDbPerSecond;
}

void MeterBallistics::update(qint32 inputTenths, double seconds) {
  const double input = std::max<double>(inputTenths, kMeterSilence);
  if (!(seconds > 0) || !std::isfinite(seconds)) seconds = 0;
  const double fall = m_fall * 10.0 * seconds;  // tenths of dB
  m_level = input >= m_level ? input : std::max(input, m_level - fall);
  if (input >= m_peak) {
    m_peak = input;
    m_peakAge = 0;
  } else {
    m_peakAge += seconds;
    const double over = m_peakAge - kPeakHoldSeconds;
    if (over > 0) m_peak = std::max(m_level, m_peak - m_fall * 10.0 * std::min(over, seconds));
  }
}

qint32 MeterBallistics::levelTenths() const { return static_cast<qint32>(std::lround(m_level)); }
qint32 MeterBallistics::peakTenths() const { return static_cast<qint32>(std::lround(m_peak)); }
