#include "model/colors.h"

#include <array>

namespace {

struct NamedColor {
  const char *name;
  qint32 value;
  const char *written;
};

constexpr std::array<NamedColor, 19> kNamedColors{{
    {"vbblack", 0x000000, "Black"},     {"black", 0x000000, "Black"},
    {"vbred", 0x0000FF, "Red"},         {"red", 0x0000FF, "Red"},
    {"vbgreen", 0x00FF00, "Green"},     {"green", 0x00FF00, "Green"},
    {"vbyellow", 0x00FFFF, "Yellow"},   {"yellow", 0x00FFFF, "Yellow"},
    {"vbblue", 0xFF0000, "Blue"},       {"blue", 0xFF0000, "Blue"},
    {"vbmagenta", 0xFF00FF, "Magenta"}, {"magenta", 0xFF00FF, "Magenta"},
    {"vbcyan", 0xFFFF00, "Cyan"},       {"cyan", 0xFFFF00, "Cyan"},
    {"vbwhite", 0xFFFFFF, "White"},     {"white", 0xFFFFFF, "White"},
    {"lightgrey", 0xE0E0E0, "Grey"},    {"grey", 0xE0E0E0, "Grey"},
    {"darkgrey", 0x808080, "DarkGrey"},
}};
constexpr NamedColor kAmber{"amber", 0xD1FDFE, "&HD1FDFE"};

const NamedColor *findNamed(const QString &text) {
  const QString lower = text.toLower();
  for (const auto &c : kNamedColors)
    if (lower == QLatin1String(c.name)) return &c;
  if (lower == QLatin1String(kAmber.name)) return &kAmber;
  return nullptr;
}

bool isHexDigits(QStringView s) {
  if (s.isEmpty()) return false;
  for (QChar c : s)
    if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
      return false;
  return true;
}

// Hex text as a 32-bit pattern; up to 8 significant digits fit.
bool readHex(QStringView digits, qint64 *value) {
  if (!isHexDigits(digits)) return false;
  int i = 0;
  while (i < digits.size() - 1 && digits[i] == u'0') ++i;
  if (digits.size() - i > 8) return false;
  bool ok = false;
  const quint32 v = digits.mid(i).toUInt(&ok, 16);
  if (!ok) return false;
  if (value) *value = static_cast<qint32>(v);
  return true;
}

}  // namespace

bool isLooseNumeric(const QString &text, qint64 *value) {
  if (text.size() > 2 && text.startsWith(QLatin1String("&H"), Qt::CaseInsensitive))
    return readHex(QStringView(text).mid(2), value);
  // A decimal number: optional blanks and sign, digits, optional fraction.
  const QString t = text.trimmed();
  if (t.isEmpty()) return false;
  bool ok = false;
  const double d = t.toDouble(&ok);
  if (!ok) return false;
  for (QChar c : t)  // toDouble also takes "inf", "nan" and exponents; colours do not
    if (!(c.isDigit() || c == u'.' || c == u'-' || c == u'+')) return false;
  if (d < -2147483648.0 || d > 4294967295.0) return false;
  if (value) {
    const qint64 rounded = qRound64(d);
    *value = static_cast<qint32>(static_cast<quint32>(rounded));
  }
  return true;
}

qint32 colorValue(const QString &text) {
  qint64 v = 0;
  if (isLooseNumeric(text, &v)) return static_cast<qint32>(v);
  if (const NamedColor *c = findNamed(text)) return c->value;
  if (readHex(text, &v)) return static_cast<qint32>(v);
  return 0;
}

QString padWithZeros(const QString &text, qint16 length) {
  const QString t = text.trimmed();
  if (t.size() >= length) return t;
  return QString(length - t.size(), u'0') + t;
}

QString colorValueToText(qint32 value) {
  return QStringLiteral("&H") +
         padWithZeros(QString::number(static_cast<quint32>(value), 16).toUpper(), 6);
}

QString hexPrefixedIfHex(const QString &text) {
  const QString prefixed = QStringLiteral("&H") + text;
  return isLooseNumeric(prefixed) ? prefixed : text;
}

QString formatColorText(const QString &text) {
  if (text.size() <= 2) return QString();
  if (text.startsWith(QLatin1String("&H"), Qt::CaseInsensitive))
    return QStringLiteral("&H") + padWithZeros(text.mid(2), 6);
  qint64 v = 0;
  if (!isLooseNumeric(text, &v)) {
    if (isLooseNumeric(QStringLiteral("&H") + text))
      return QStringLiteral("&H") + padWithZeros(text, 6);
    if (const NamedColor *c = findNamed(text)) return QLatin1String(c->written);
    return QString();
  }
  return colorValueToText(static_cast<qint32>(v));
}
