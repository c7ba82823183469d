#include "components/datetimestamp.h"

namespace {
std::function<QDateTime()> &clockSource() {
  static std::function<QDateTime()> source;
  return source;
}
}  // namespace

QDateTime DateTimeStamp::Now() {
  return clockSource() ? clockSource()() : QDateTime::currentDateTime();
}

QString DateTimeStamp::GetFormattedNow() {
  return Now().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

void DateTimeStamp::SetClock(std::function<QDateTime()> clock) { clockSource() = std::move(clock); }
