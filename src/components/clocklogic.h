#pragma once

#include <QDateTime>
#include <QString>
#include <QTime>
#include <QtGlobal>

// The time a clock shows: the local time moved by `offsetHours` (any value;
// whole days fall away). An invalid `now` gives midnight.
QTime clockTime(const QDateTime &now, qint32 offsetHours);

// Hand directions in degrees clockwise from 12 o'clock, in [0, 360). The
// second hand steps once a second; the minute and hour hands move smoothly.
struct HandAngles {
  double hour = 0;
  double minute = 0;
  double second = 0;
};
HandAngles computeHandAngles(const QTime &time);

// The digital text: "HH:mm:ss" on the 24-hour clock, "h:mm:ss AM" / "PM"
// otherwise (12 for midnight and noon).
QString digitalClockText(const QTime &time, bool military);

// The numbers and marks around the face: mark i (0-59) at i * 6 degrees, a
// long hash every fifth.
constexpr bool isLongHash(int mark) { return mark % 5 == 0; }
