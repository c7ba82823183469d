#include "model/numbers.h"

#include <QLocale>
#include <cmath>
#include <limits>

qint32 roundHalfEven(double value) {
  const double r = std::nearbyint(value);  // default rounding mode is to nearest, ties to even
  if (r >= static_cast<double>(std::numeric_limits<qint32>::max()))
    return std::numeric_limits<qint32>::max();
  if (r <= static_cast<double>(std::numeric_limits<qint32>::min()))
    return std::numeric_limits<qint32>::min();
  return static_cast<qint32>(r);
}

qint32 snapToGrid(qint32 value, qint32 step) {
  if (step <= 0) return value;
  return roundHalfEven(static_cast<double>(value) / step) * step;
}

bool checkUseComma() { return QLocale::system().toString(1.1).contains(u','); }

double convertStringNumToInternat(const QString &text) {
  QString t = text.trimmed();
  t.replace(u',', u'.');
  bool ok = false;
  const double d = QLocale::c().toDouble(t, &ok);
  return ok ? d : 0.0;
}

double leadingNumber(const QString &text) { return leadingNumber(QStringView(text)); }

double leadingNumber(QStringView text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
  const qsizetype start = i;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) ++i;
  const qsizetype digitsStart = i;
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
    qsizetype k = digitsStart;
    while (k < i && text[k] != u'.') whole = whole * 10 + (text[k++].unicode() - u'0');
    if (k == i) {
      const bool negative = text[start] == u'-';
      return negative ? -static_cast<double>(whole) : static_cast<double>(whole);
    }
  }
  bool ok = false;
  const double d = text.mid(start, i - start).toDouble(&ok);
  return ok ? d : 0.0;
}

QString floatToText(float value) {
  return QLocale::c().toString(static_cast<double>(value), 'g', 7);
}

bool readInt32(const QString &text, qint32 *out) {
  bool ok = false;
  const qlonglong v = text.trimmed().toLongLong(&ok);
  if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
    return false;
  *out = static_cast<qint32>(v);
  return true;
}

bool readInt16(const QString &text, qint16 *out) {
  qint32 v = 0;
  if (!readInt32(text, &v) || v < std::numeric_limits<qint16>::min() ||
      v > std::numeric_limits<qint16>::max())
    return false;
  *out = static_cast<qint16>(v);
  return true;
}

bool readPort(const QString &text, quint16 *out, bool allowFraction) {
  qint32 v = 0;
  if (allowFraction) {
    bool ok = false;
    const double d = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(d)) return false;
    v = roundHalfEven(d);
  } else if (!readInt32(text, &v)) {
    return false;
  }
  if (v < 1 || v > 65535) return false;
  *out = static_cast<quint16>(v);
  return true;
}

bool readDecimal(QStringView text, double *out) {
  const QStringView t = text.trimmed();
  // "-12.5", "8", "0.25": up to 15 digits are exact in a double, and so is
  // their quotient by a power of ten up to 1e15, rounded once.
  qsizetype i = 0;
  const bool negative = !t.isEmpty() && t[0] == u'-';
  if (negative) ++i;
  qint64 digits = 0;
  int count = 0, decimals = 0;
  bool point = false, plain = i < t.size();
  for (; i < t.size() && plain; ++i) {
    const char16_t c = t[i].unicode();
    if (c >= u'0' && c <= u'9') {
      if (++count > 15) break;  // longer numbers take the general way
      digits = digits * 10 + (c - u'0');
      if (point) ++decimals;
    } else if (c == u'.' && !point && count > 0) {
      point = true;
    } else {
      plain = false;
    }
  }
  if (plain && count > 0 && count <= 15 && (!point || decimals > 0)) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double value = static_cast<double>(digits) / kPowers[decimals];
    *out = negative ? -value : value;
    return true;
  }
  bool ok = false;
  const double d = QLocale::c().toDouble(t, &ok);
  if (ok) *out = d;
  return ok;
}

bool readFloat(const QString &text, float *out) { return readFloat(QStringView(text), out); }

bool readFloat(QStringView text, float *out) {
  const QStringView trimmed = text.trimmed();
  double d = 0;
  const bool ok = trimmed.contains(u',') ? readDecimal(trimmed.toString().replace(u',', u'.'), &d)
                                         : readDecimal(trimmed, &d);
  if (!ok || !std::isfinite(d)) return false;
  *out = static_cast<float>(d);
  return true;
}

bool readBool(const QString &text, bool *out) { return readBool(QStringView(text), out); }

namespace {
// ASCII text against a lower-case word, in any letter case.
bool isWord(QStringView text, QLatin1String lower) {
  if (text.size() != lower.size()) return false;
  for (qsizetype k = 0; k < text.size(); ++k) {
    char16_t c = text[k].unicode();
    if (c >= u'A' && c <= u'Z') c += u'a' - u'A';
    if (c != lower[k].unicode()) return false;
  }
  return true;
}
}  // namespace

bool readBool(QStringView text, bool *out) {
  const QStringView t = text.trimmed();
  if (isWord(t, QLatin1String("true"))) {
    *out = true;
    return true;
  }
  if (isWord(t, QLatin1String("false"))) {
    *out = false;
    return true;
  }
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

QString trueFalseText(bool value) {
  return value ? QStringLiteral("True") : QStringLiteral("False");
}
