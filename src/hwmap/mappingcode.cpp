#include "hwmap/mappingcode.h"

#include <QLocale>
#include <QStringList>
#include <cmath>
#include <limits>

namespace {

// A number text read as a 16-bit integer, halves to even; false when the
// text is no number or out of range.
bool readInt16(const QString &text, qint16 *out) {
  bool ok = false;
  const double d = QLocale::c().toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(d)) return false;
  const double r = std::nearbyint(d);
  if (r < std::numeric_limits<qint16>::min() || r > std::numeric_limits<qint16>::max())
    return false;
  *out = static_cast<qint16>(r);
  return true;
}

bool isGpioCode(const QString &code) {
  return code.size() > 4 && code.startsWith(QLatin1String("port"), Qt::CaseInsensitive);
}

bool isModuleCode(const QString &code) {
  if (code.size() <= 9) return false;
  const QString head = code.left(9).toLower();
  return head == QLatin1String("mod_user#") || head == QLatin1String("mod_acces");
}

}  // namespace

QString hwModuleNumber(QString &code) {
  code = code.trimmed();
  if (isGpioCode(code)) {
    const QString port = code.section(u'_', 0, 0).mid(4);
    qint16 n = 0;
    return readInt16(port, &n) ? QString::number(n) : QString();
  }
  if (isModuleCode(code)) {
    const QStringList pieces = code.section(u'.', 0, 0).split(u'_');
    return pieces.size() >= 2 ? pieces[1].trimmed() : QString();
  }
  return QString();
}

QString hwPortNumber(QString &code) {
  code = code.trimmed();
  if (isGpioCode(code)) {
    const QStringList pieces = code.split(u'_');
    if (pieces.size() >= 2 && pieces[1].size() >= 8 &&
        pieces[1].startsWith(QLatin1String("circuit"), Qt::CaseInsensitive))
      return pieces[1].mid(7);
    return QString();
  }
  if (isModuleCode(code)) {
    const QStringList pieces = code.split(u'.');
    if (pieces.size() < 2) return QString();
    const QString &element = pieces[1];
    if (element.size() < 5)
      return element.size() == 4 && element.startsWith(QLatin1String("disp"), Qt::CaseInsensitive)
                 ? QStringLiteral("DISP")
                 : QString();
    if (element.startsWith(QLatin1String("but#"), Qt::CaseInsensitive)) return element.mid(4);
    return QString();
  }
  return QString();
}
