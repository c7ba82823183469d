#include "model/designcontrol.h"

QString TypeName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Button:
      return QStringLiteral("Button");
    case ControlKind::Label:
      return QStringLiteral("Label");
    case ControlKind::WebBrowser:
      return QStringLiteral("WebBrowser");
    case ControlKind::Meter:
      return QStringLiteral("Meter");
    case ControlKind::MeterFader:
      return QStringLiteral("MeterFader");
    case ControlKind::Clock:
      return QStringLiteral("Clock");
  }
  return QString();
}

QString NameStem(ControlKind kind) { return TypeName(kind); }
