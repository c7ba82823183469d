#include "ui/qtconvert.h"

qint32 fromQColor(const QColor &c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

QFont toQFont(const FontSpec &spec, double scale) {
  QFont f(spec.name);
  f.setPointSizeF(qMax(1.0, spec.size * scale));
  f.setBold(spec.bold);
  f.setUnderline(spec.underline);
  f.setItalic(spec.italic);
  return f;
}

QString counted(qsizetype n, const char *noun) {
  return QString::number(n) + u' ' + QLatin1String(noun) + (n == 1 ? "" : "s");
}
