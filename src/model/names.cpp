#include "model/names.h"

#include <limits>

QString CleanName(const QString &text) {
  static const QString kNotAllowed = QStringLiteral(" .,[]{}()&*#'\"%$\\/");
  QString out = text;
  for (QChar &c : out)
    if (kNotAllowed.contains(c)) c = u'_';
  return out;
}

namespace {
// The decimal digit run read as a 32-bit signed integer, plus one; empty
// when the run or its successor does not fit.
QString incremented(QStringView digits) {
  bool ok = false;
  const qlonglong n = digits.toLongLong(&ok);
  if (!ok || n >= std::numeric_limits<qint32>::max()) return QString();
  return QString::number(n + 1);
}
bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
}  // namespace

QString GetNextIncrementalName(const QString &text) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return QStringLiteral("1");
  if (!isAsciiDigit(t.back())) return t + QStringLiteral("1");
  int i = t.size() - 1;
  while (i >= 0 && isAsciiDigit(t[i])) --i;
  const QString number = incremented(QStringView(t).mid(i + 1));
  if (number.isEmpty()) return QString();
  return t.left(i + 1) + number;
}
