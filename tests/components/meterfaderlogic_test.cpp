#include "components/meterfaderlogic.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(MeterFaderLogic, TravelMapsGainBothWays) {
  struct Case {
    double db;
    double fraction;
  };
  for (const Case &c : {Case{kFaderOffDb, 0.0}, Case{-200, 0.0}, Case{-60, 0.05}, Case{-10, 0.55},
                        Case{-2.5, 0.7}, Case{0, 0.75}, Case{10, 1.0}, Case{50, 1.0}}) {
    EXPECT_NEAR(faderFraction(c.db), c.fraction, 1e-9) << c.db;
    if (c.fraction > 0 && c.fraction < 1) {
      EXPECT_NEAR(faderDbAt(c.fraction), c.db, 1e-9);
    }
  }
  EXPECT_EQ(faderFraction(std::nan("")), 0.0);
  EXPECT_EQ(faderDbAt(-1), kFaderOffDb);
  EXPECT_EQ(faderDbAt(2), kFaderMaxDb);
  double last = -1;
  for (const FaderTick &t : faderTicks()) {
    EXPECT_NEAR(t.fraction, faderFraction(t.db), 1e-12);
    EXPECT_NE(t.fraction, last);
    last = t.fraction;
  }
}

TEST(MeterFaderLogic, GainText) {
  struct Case {
    double db;
    const char *text;
  };
  for (const Case &c : {Case{0, "0.0"}, Case{-0.01, "0.0"}, Case{0.04, "0.0"}, Case{3.45, "+3.5"},
                        Case{-12, "-12.0"}, Case{10, "+10.0"}, Case{kFaderOffDb, "-inf"},
                        Case{-1e30, "-inf"}, Case{std::nan(""), "-inf"}, Case{1e30, "+999.9"}}) {
    EXPECT_EQ(gainText(c.db), QString::fromUtf8(c.text)) << c.db;
  }
}

TEST(MeterFaderLogic, LayoutPlacesKnobAndNominalOnTheTrack) {
  for (const QRectF &r : {QRectF(0, 0, 90, 328), QRectF(5, 5, 30, 60), QRectF(0, 0, 300, 900)}) {
    for (bool hide : {false, true}) {
      const MeterFaderLayout l = computeMeterFaderLayout(r, hide, 1.0);
      EXPECT_TRUE(r.contains(l.meter)) << r.width();
      EXPECT_TRUE(r.contains(l.faderArea)) << r.width();
      EXPECT_LE(l.meter.right(), l.faderArea.left());
      EXPECT_EQ(l.gain.isEmpty(), hide || l.caption.isEmpty());
      // The knob at either end stays inside the fader's column.
      for (double db : {kFaderOffDb, kFaderMaxDb}) {
        const QRectF knob = l.knobAt(db);
        EXPECT_GE(knob.top(), l.faderArea.top() - 1e-9);
        EXPECT_LE(knob.bottom(), l.faderArea.bottom() + 1e-9);
      }
      EXPECT_NEAR(l.yOf(0), l.track.bottom() - 0.75 * l.track.height(), 1e-9);
      EXPECT_LT(l.yOf(6), l.yOf(0)) << "higher gain is higher up";
    }
  }
  const MeterFaderLayout shown = computeMeterFaderLayout(QRectF(0, 0, 90, 328), false, 1.0);
  const MeterFaderLayout hidden = computeMeterFaderLayout(QRectF(0, 0, 90, 328), true, 1.0);
  EXPECT_FALSE(shown.caption.isEmpty());
  EXPECT_GT(hidden.track.height(), shown.track.height()) << "the gain's room goes to the fader";
}
