#include "components/datetimestamp.h"

namespace {
std::function<QDateTime()> &clockSource() {
  static std::function<QDateTime()> source;
  return source;
}
}  // namespace

QDateTime DateTimeStamp::now() {
  return clockSource() ? clockSource()() : QDateTime::currentDateTime();
}

QString DateTimeStamp::formattedNow() {
  return now().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

void DateTimeStamp::setClock(std::function<QDateTime()> clock) { clockSource() = std::move(clock); }
