#include "grid/mappingbuild.h"

#include "grid/gridsupport.h"
#include "hwmap/mappingcode.h"

namespace {
const QString kGpioType = QStringLiteral("GPIOButton");
const QString kGpioShown = QStringLiteral("GPIO");
const QString kUserPanelType = QStringLiteral("Button");
const QString kUserPanelShown = QStringLiteral("UserPanel Button");

// A number as the code holds it ("05" -> "5"); other text trimmed.
QString numberPart(const QString &text) {
  qint32 n = 0;
  return readCellInt32(text, &n) ? QString::number(n) : text.trimmed();
}

QString circuitPart(const QString &text) {
  qint32 n = 0;
  return readCellInt32(text, &n) ? QString::number(n) : QStringLiteral("0");
}
}  // namespace

bool isGpioMapType(const QString &type) {
  return type.compare(kGpioType, Qt::CaseInsensitive) == 0;
}

QString defaultHostPort(const QString &type) {
  return isGpioMapType(type) ? QStringLiteral("93") : QStringLiteral("4010");
}

QString shownMapType(GridKind kind, const QString &stored) {
  if (kind != GridKind::Label) return stored;
  if (stored.compare(kUserPanelType, Qt::CaseInsensitive) == 0) return kUserPanelShown;
  if (isGpioMapType(stored)) return kGpioShown;
  return stored;
}

QString storedMapType(GridKind kind, const QString &shown) {
  if (kind != GridKind::Label) return shown;
  if (shown.compare(kUserPanelShown, Qt::CaseInsensitive) == 0) return kUserPanelType;
  if (shown.compare(kGpioShown, Qt::CaseInsensitive) == 0) return kGpioType;
  return shown;
}

std::optional<QString> buildMappingCode(const QString &type, const QString &module,
                                        const QString &button) {
  if (isGpioMapType(type))
    return QStringLiteral("Port") + numberPart(module) + QStringLiteral("_Circuit") +
           circuitPart(button);
  const QString prefix = QStringLiteral("MOD_") + module.trimmed();
  double number = 0;
  if (!readCellNumber(button, &number)) return prefix + u'.' + button.trimmed();
  qint16 key = 0;
  if (!readCellInt16(button, &key)) return std::nullopt;
  return prefix + QStringLiteral(".BUT#") + QString::number(key);
}

std::optional<QString> replaceMappingModule(const QString &type, const QString &code,
                                            const QString &module, const QString &fallbackButton) {
  const QString trimmed = code.trimmed();
  if (trimmed.isEmpty()) return buildMappingCode(type, module, fallbackButton);
  // A module code keeps its key text after the first "." as it is, also
  // where the decoder cannot show it ("DISP1").
  if (const qsizetype dot = trimmed.indexOf(u'.');
      !isGpioMapType(type) && dot >= 0 && dot + 1 < trimmed.size())
    return QStringLiteral("MOD_") + module.trimmed() + trimmed.mid(dot);
  return buildMappingCode(type, module, hwPortNumber(trimmed));
}

std::optional<QString> replaceMappingButton(const QString &type, const QString &code,
                                            const QString &fallbackModule, const QString &button) {
  const QString trimmed = code.trimmed();
  const bool gpio = isGpioMapType(type);
  const bool codeOfType = trimmed.startsWith(gpio ? QStringLiteral("port") : QStringLiteral("mod_"),
                                             Qt::CaseInsensitive) &&
                          !hwModuleNumber(trimmed).isEmpty();
  QString head;
  if (codeOfType) {
    head = trimmed.section(gpio ? u'_' : u'.', 0, 0);
  } else if (!fallbackModule.trimmed().isEmpty()) {
    head = gpio ? QStringLiteral("Port") + numberPart(fallbackModule)
                : QStringLiteral("MOD_") + fallbackModule.trimmed();
  } else {
    return std::nullopt;
  }
  if (gpio) return head + QStringLiteral("_Circuit") + circuitPart(button);
  double number = 0;
  if (!readCellNumber(button, &number)) return head + u'.' + button.trimmed();
  qint16 key = 0;
  if (!readCellInt16(button, &key)) return std::nullopt;
  return head + QStringLiteral(".BUT#") + QString::number(key);
}
