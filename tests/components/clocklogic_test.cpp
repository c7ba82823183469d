#include "components/clocklogic.h"

#include <gtest/gtest.h>

#include <limits>

TEST(ClockLogic, HandAnglesAtFixedTimes) {
  struct Case {
    QTime time;
    double hour, minute, second;
  };
  const Case cases[] = {
      {QTime(0, 0, 0), 0, 0, 0},
      {QTime(12, 0, 0), 0, 0, 0},
      {QTime(3, 0, 0), 90, 0, 0},
      {QTime(15, 30, 0), 105, 180, 0},
      {QTime(9, 45, 15), 292.625, 271.5, 90},
      {QTime(23, 59, 59, 999), 359.991666, 359.9, 354},
  };
  for (const Case &c : cases) {
    const HandAngles a = computeHandAngles(c.time);
    EXPECT_NEAR(a.hour, c.hour, 1e-4) << c.time.toString().toStdString();
    EXPECT_NEAR(a.minute, c.minute, 1e-9) << c.time.toString().toStdString();
    EXPECT_NEAR(a.second, c.second, 1e-9) << c.time.toString().toStdString();
  }
}

TEST(ClockLogic, DigitalTextOnBothClocks) {
  struct Case {
    QTime time;
    const char *military, *civil;
  };
  const Case cases[] = {
      {QTime(0, 5, 9), "00:05:09", "12:05:09 AM"},
      {QTime(9, 30, 0), "09:30:00", "9:30:00 AM"},
      {QTime(12, 0, 0), "12:00:00", "12:00:00 PM"},
      {QTime(23, 59, 59), "23:59:59", "11:59:59 PM"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(digitalClockText(c.time, true), c.military);
    EXPECT_EQ(digitalClockText(c.time, false), c.civil);
  }
}

TEST(ClockLogic, OffsetMovesTheLocalTimeAndWrapsTheDay) {
  const QDateTime now(QDate(2024, 3, 31), QTime(22, 15, 30));
  struct Case {
    qint32 offset;
    QTime shown;
  };
  for (const Case &c :
       {Case{0, QTime(22, 15, 30)}, Case{3, QTime(1, 15, 30)}, Case{-23, QTime(23, 15, 30)},
        Case{48, QTime(22, 15, 30)}, Case{std::numeric_limits<qint32>::max(), QTime(5, 15, 30)},
        Case{std::numeric_limits<qint32>::min(), QTime(14, 15, 30)}}) {
    EXPECT_EQ(clockTime(now, c.offset), c.shown) << c.offset;
  }
  EXPECT_EQ(clockTime(QDateTime(), 5), QTime(0, 0));
}
