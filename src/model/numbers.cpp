#include "model/numbers.h"

#include <QLocale>
#include <cmath>
#include <limits>

qint32 RoundHalfEven(double value) {
  const double r = std::nearbyint(value);  // default rounding mode is to nearest, ties to even
  if (r >= static_cast<double>(std::numeric_limits<qint32>::max()))
    return std::numeric_limits<qint32>::max();
  if (r <= static_cast<double>(std::numeric_limits<qint32>::min()))
    return std::numeric_limits<qint32>::min();
  return static_cast<qint32>(r);
}

qint32 SnapToGrid(qint32 value, qint32 step) {
  if (step <= 0) return value;
  return RoundHalfEven(static_cast<double>(value) / step) * step;
}

bool CheckUseComma() { return QLocale::system().toString(1.1).contains(u','); }

double ConvertStringNumToInternat(const QString &text) {
  QString t = text.trimmed();
  t.replace(u',', u'.');
  bool ok = false;
  const double d = QLocale::c().toDouble(t, &ok);
  return ok ? d : 0.0;
}

double LeadingNumber(const QString &text) {
  int i = 0;
  const int n = text.size();
  while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
  const int start = i;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) ++i;
  const int digitsStart = i;
  while (i < n && text[i].isDigit() && text[i].unicode() < 128) ++i;
  if (i < n && text[i] == u'.') {
    ++i;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) ++i;
  }
  if (i == digitsStart || (i == digitsStart + 1 && text[digitsStart] == u'.')) return 0.0;
  // Whole numbers (geometry in twips, mostly) need no locale parse: up to 15
  // digits are exact in a double.
  if (i - digitsStart <= 15) {
    qint64 whole = 0;
    int k = digitsStart;
    while (k < i && text[k] != u'.') whole = whole * 10 + (text[k++].unicode() - u'0');
    if (k == i) {
      const bool negative = text[start] == u'-';
      return negative ? -static_cast<double>(whole) : static_cast<double>(whole);
    }
  }
  bool ok = false;
  const double d = QStringView(text).mid(start, i - start).toDouble(&ok);
  return ok ? d : 0.0;
}

QString FloatToText(float value) {
  return QLocale::c().toString(static_cast<double>(value), 'g', 7);
}

bool ReadInt32(const QString &text, qint32 *out) {
  bool ok = false;
  const qlonglong v = text.trimmed().toLongLong(&ok);
  if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
    return false;
  *out = static_cast<qint32>(v);
  return true;
}

bool ReadInt16(const QString &text, qint16 *out) {
  qint32 v = 0;
  if (!ReadInt32(text, &v) || v < std::numeric_limits<qint16>::min() ||
      v > std::numeric_limits<qint16>::max())
    return false;
  *out = static_cast<qint16>(v);
  return true;
}

bool ReadPort(const QString &text, quint16 *out, bool allowFraction) {
  qint32 v = 0;
  if (allowFraction) {
    bool ok = false;
    const double d = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(d)) return false;
    v = RoundHalfEven(d);
  } else if (!ReadInt32(text, &v)) {
    return false;
  }
  if (v < 1 || v > 65535) return false;
  *out = static_cast<quint16>(v);
  return true;
}

bool ReadFloat(const QString &text, float *out) {
  QString t = text.trimmed();
  t.replace(u',', u'.');
  bool ok = false;
  const double d = QLocale::c().toDouble(t, &ok);
  if (!ok || !std::isfinite(d)) return false;
  *out = static_cast<float>(d);
  return true;
}

bool ReadBool(const QString &text, bool *out) {
  const QString t = text.trimmed();
  if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
    *out = true;
    return true;
  }
  if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
    *out = false;
    return true;
  }
  bool ok = false;
  const double d = QLocale::c().toDouble(t, &ok);
  if (!ok || std::isnan(d)) return false;
  *out = d != 0.0;
  return true;
}
