#include "ui/qtconvert.h"

#include <QGuiApplication>
#include <QPalette>

QColor ToQColor(qint32 value) {
  if (value < 0) {
    const QPalette pal = QGuiApplication::palette();
    switch (value & 0xFF) {
      case 0x05: return pal.color(QPalette::Base);        // window background
      case 0x08: return pal.color(QPalette::Text);        // window text
      case 0x0F: return pal.color(QPalette::Button);      // button face
      case 0x12: return pal.color(QPalette::ButtonText);  // button text
      case 0x10: return pal.color(QPalette::Mid);         // button shadow
      case 0x14: return pal.color(QPalette::Light);       // button highlight
      default: return pal.color(QPalette::Window);
    }
  }
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

qint32 FromQColor(const QColor &c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

QFont ToQFont(const FontSpec &spec, double scale) {
  QFont f(spec.name);
  f.setPointSizeF(qMax(1.0, spec.size * scale));
  f.setBold(spec.bold);
  f.setUnderline(spec.underline);
  f.setItalic(spec.italic);
  return f;
}
