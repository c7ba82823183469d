#include "components/meterscale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/designcontrol.h"

TEST(MeterScale, MapsLevelsToBarFractions) {
  struct Case {
    MeterScaleKind kind;
    double db;
    double fraction;
  };
  const Case cases[] = {
      {MeterScaleKind::Linear, -60, 0.0},     {MeterScaleKind::Linear, -30, 0.5},
      {MeterScaleKind::Linear, 0, 1.0},       {MeterScaleKind::Linear, 6, 1.0},
      {MeterScaleKind::Linear, -90, 0.0},     {MeterScaleKind::Standard, -20, 0.5},
      {MeterScaleKind::Standard, -10, 0.75},  {MeterScaleKind::Standard, -15, 0.625},
      {MeterScaleKind::Standard, -50, 0.075}, {MeterScaleKind::British, -32, 0.1},
      {MeterScaleKind::British, -18, 0.5},    {MeterScaleKind::British, -6, 0.9},
      {MeterScaleKind::British, -3, 0.95},
  };
  for (const Case &c : cases) {
    const MeterScale scale(c.kind);
    EXPECT_NEAR(scale.fractionOf(c.db), c.fraction, 1e-9)
        << "kind " << int(c.kind) << " at " << c.db << " dB";
    // The inverse agrees wherever the map is not clamped.
    if (c.fraction > 0 && c.fraction < 1) {
      EXPECT_NEAR(scale.dbAt(c.fraction), c.db, 1e-9);
    }
  }
  EXPECT_EQ(MeterScale(MeterScaleKind::Linear).fractionOf(std::nan("")), 0.0);
}

TEST(MeterScale, EveryScaleRisesStrictlyAndCodesFallBackToLinear) {
  for (auto kind : {MeterScaleKind::Linear, MeterScaleKind::Standard, MeterScaleKind::British}) {
    const MeterScale scale(kind);
    double last = -1;
    for (int tenths = -599; tenths <= 0; ++tenths) {
      const double f = scale.fractionOfLevel(tenths);
      ASSERT_GT(f, last) << "kind " << int(kind) << " at " << tenths;
      last = f;
    }
    EXPECT_EQ(scale.fractionOfLevel(kMeterSilence), 0.0);
    EXPECT_EQ(scale.fractionOfLevel(std::numeric_limits<qint32>::min()), 0.0);
    EXPECT_EQ(scale.fractionOfLevel(std::numeric_limits<qint32>::max()), 1.0);
  }
  EXPECT_EQ(MeterScale::fromCode(2).kind(), MeterScaleKind::British);
  EXPECT_EQ(MeterScale::fromCode(7).kind(), MeterScaleKind::Linear);
  EXPECT_EQ(MeterScale::fromCode(-1).kind(), MeterScaleKind::Linear);
}

TEST(MeterScale, TicksCarryTheirScalesLabelsAtTheRightPlaces) {
  auto labelAt = [](const MeterScale &s, const QString &label) {
    for (const MeterTick &t : s.ticks())
      if (t.label == label) return t.fraction;
    return -1.0;
  };
  const MeterScale british(MeterScaleKind::British);
  EXPECT_NEAR(labelAt(british, "4"), 0.5, 1e-9);
  EXPECT_NEAR(labelAt(british, "7") - labelAt(british, "6"),
              labelAt(british, "2") - labelAt(british, "1"), 1e-9)
      << "marks are evenly spaced";
  const MeterScale standard(MeterScaleKind::Standard);
  EXPECT_NEAR(labelAt(standard, "-20"), 0.5, 1e-9);
  EXPECT_NEAR(labelAt(standard, "0"), 1.0, 1e-9);
  EXPECT_NEAR(labelAt(MeterScale(MeterScaleKind::Linear), "-30"), 0.5, 1e-9);
  for (const MeterScale &s : {british, standard, MeterScale(MeterScaleKind::Linear)})
    for (size_t i = 1; i < s.ticks().size(); ++i)
      EXPECT_LT(s.ticks()[i].fraction, s.ticks()[i - 1].fraction) << "top to bottom";
}

TEST(MeterScale, VisibleTicksKeepLabelsApartAndTheEndsFirst) {
  const MeterScale standard(MeterScaleKind::Standard);
  for (double height : {40.0, 120.0, 600.0}) {
    const double labelHeight = 10;
    const auto ticks = visibleTicks(standard.ticks(), height, labelHeight);
    double lastLabelled = 2;
    for (const MeterTick &t : ticks) {
      if (t.label.isEmpty()) continue;
      EXPECT_GE((lastLabelled - t.fraction) * height, labelHeight - 1e-9) << height;
      lastLabelled = t.fraction;
    }
    ASSERT_FALSE(ticks.empty());
    EXPECT_EQ(ticks.front().label, "0") << height;
    EXPECT_EQ(ticks.back().label, "-60") << height;
  }
  EXPECT_EQ(visibleTicks(standard.ticks(), 600, 10).size(), standard.ticks().size());
  EXPECT_TRUE(visibleTicks(standard.ticks(), 0, 10).empty());
}

TEST(MeterScale, LedSegmentsLightFromTheBottomInZoneColours) {
  const MeterScale linear(MeterScaleKind::Linear);
  const int count = ledSegmentCount(240);
  EXPECT_EQ(count, 60);
  EXPECT_EQ(ledSegmentCount(1), 1);
  EXPECT_EQ(ledSegmentCount(10000), 64);

  auto lit = [&](qint32 level) {
    int n = 0;
    for (const LedSegment &s : ledSegments(linear, count, level)) n += s.lit;
    return n;
  };
  EXPECT_EQ(lit(kMeterSilence), 0);
  EXPECT_EQ(lit(-300), 30);
  EXPECT_EQ(lit(0), 60);
  EXPECT_EQ(lit(-599), 0) << "a level below the first segment's centre lights nothing";

  const auto segs = ledSegments(linear, count, -200);
  for (size_t i = 0; i < segs.size(); ++i) {
    const double centreDb = -60 + (i + 0.5);
    EXPECT_EQ(segs[i].zone, zoneOf(centreDb)) << i;
    EXPECT_EQ(segs[i].lit, centreDb <= -20) << i;
  }
  EXPECT_EQ(segs.front().zone, MeterZone::Normal);
  EXPECT_EQ(segs.back().zone, MeterZone::Over);
}

TEST(MeterScale, LayoutKeepsBarsApartAndShowsTheScaleOnlyWithRoom) {
  MeterSettings m;
  for (QRectF r : {QRectF(0, 0, 27, 100), QRectF(10, 20, 60, 300), QRectF(0, 0, 200, 30),
                   QRectF(0, 0, 6, 6)}) {
    for (qint16 pad : {qint16(0), qint16(4), qint16(-3), qint16(32000)}) {
      m.centerPad = pad;
      const MeterLayout l = computeMeterLayout(r, m, 1.0);
      EXPECT_TRUE(r.contains(l.bars[0]) && r.contains(l.bars[1])) << r.width() << " " << pad;
      EXPECT_LE(l.bars[0].right(), l.bars[1].left());
      EXPECT_NEAR(l.bars[0].width(), l.bars[1].width(), 1e-9);
      if (l.showScale()) {
        EXPECT_LE(l.scale.right(), l.bars[0].left());
      }
    }
  }
  m.centerPad = 6;
  const MeterLayout wide = computeMeterLayout(QRectF(0, 0, 60, 300), m, 1.0);
  EXPECT_TRUE(wide.showScale());
  EXPECT_NEAR(wide.bars[1].left() - wide.bars[0].right(), 6, 1e-9);
  EXPECT_FALSE(computeMeterLayout(QRectF(0, 0, 20, 300), m, 1.0).showScale());
  EXPECT_FALSE(computeMeterLayout(QRectF(0, 0, 80, 40), m, 1.0).showScale());
}

TEST(MeterBallistics, RisesAtOnceFallsAtTheDecayRateAndHoldsThePeak) {
  MeterBallistics b(30);  // dB per second
  b.update(-100, 0.01);
  EXPECT_EQ(b.levelTenths(), -100);
  b.update(kMeterSilence, 0.5);
  EXPECT_EQ(b.levelTenths(), -250);
  EXPECT_EQ(b.peakTenths(), -100) << "held";
  b.update(kMeterSilence, 1.2);  // hold over after 1.7 s; falls for 0.2 s
  EXPECT_EQ(b.levelTenths(), kMeterSilence);
  EXPECT_EQ(b.peakTenths(), -160);
  b.update(kMeterSilence, 100);
  EXPECT_EQ(b.peakTenths(), kMeterSilence);

  MeterBallistics fallback(0);
  fallback.update(0, 0);
  fallback.update(kMeterSilence, 1.0);
  EXPECT_EQ(fallback.levelTenths(), -200) << "default fall of 20 dB/s";
  fallback.update(-900, std::nan(""));
  EXPECT_EQ(fallback.levelTenths(), -200) << "an unusable time step changes nothing";
}
