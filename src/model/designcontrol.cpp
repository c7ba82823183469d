#include "model/designcontrol.h"

QString typeName(ControlKind kind) {
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

QString typeName(const DesignControl &control) {
  if (const auto *kept = controlCast<DesignKept>(&control))
    return kept->type.isEmpty() ? QStringLiteral("(no Type)") : kept->type;
  return typeName(control.kind());
}

QString nameStem(ControlKind kind) { return typeName(kind); }
