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
    case ControlKind::Kept:
      return QStringLiteral("Control");
  }
  return QString();
}

QString TypeName(const DesignControl &control) {
  if (const auto *kept = As<DesignKept>(&control))
    return kept->Type.isEmpty() ? QStringLiteral("(no Type)") : kept->Type;
  return TypeName(control.kind());
}

QString NameStem(ControlKind kind) { return TypeName(kind); }
