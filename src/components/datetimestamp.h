#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

// The source of "now" for document versions and backup names. Tests fix it.
class DateTimeStamp {
 public:
  static QDateTime now();
  // "yyyy-MM-ddTHH:mm:ss", the version text of written documents.
  static QString formattedNow();
  // Replaces the clock; an empty function restores the system clock.
  static void setClock(std::function<QDateTime()> clock);
};
