#include "components/clocklogic.h"

QTime clockTime(const QDateTime &now, qint32 offsetHours) {
  if (!now.isValid()) return QTime(0, 0);
  const QTime local = now.toLocalTime().time();
  const int hours = static_cast<int>(((offsetHours % 24) + 24) % 24);
  return local.addSecs(hours * 3600);
}

HandAngles computeHandAngles(const QTime &time) {
  const QTime t = time.isValid() ? time : QTime(0, 0);
  HandAngles a;
  a.second = t.second() * 6.0;
  a.minute = t.minute() * 6.0 + t.second() * 0.1;
  a.hour = (t.hour() % 12) * 30.0 + t.minute() * 0.5 + t.second() / 120.0;
  return a;
}

QString digitalClockText(const QTime &time, bool military) {
  const QTime t = time.isValid() ? time : QTime(0, 0);
  auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
  const QString ms = two(t.minute()) + u':' + two(t.second());
  if (military) return two(t.hour()) + u':' + ms;
  const int h12 = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
  return QString::number(h12) + u':' + ms +
         (t.hour() < 12 ? QLatin1String(" AM") : QLatin1String(" PM"));
}
