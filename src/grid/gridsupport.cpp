#include "grid/gridsupport.h"

#include <QLocale>
#include <cmath>

#include "model/colors.h"
#include "model/names.h"
#include "model/numbers.h"
#include "model/uiservice.h"
#include "surface/paneleditor.h"

bool readCellNumber(const QString &text, double *value) {
  QString t = text.trimmed();
  if (t.isEmpty()) return false;
  t.replace(u',', u'.');
  for (QChar c : t)  // plain decimal notation only: no exponents, "inf" or "nan"
    if (!(c.isDigit() || c == u'.' || c == u'-' || c == u'+')) return false;
  bool ok = false;
  const double d = QLocale::c().toDouble(t, &ok);
  if (!ok || !std::isfinite(d)) return false;
  *value = d;
  return true;
}

bool readCellInt32(const QString &text, qint32 *value) {
  double d = 0;
  if (!readCellNumber(text, &d) || d < -2147483648.5 || d > 2147483647.5) return false;
  *value = roundHalfEven(d);
  return true;
}

bool readCellInt16(const QString &text, qint16 *value) {
  qint32 v = 0;
  if (!readCellInt32(text, &v) || v < -32768 || v > 32767) return false;
  *value = static_cast<qint16>(v);
  return true;
}

QString storedColorText(const QString &typed) {
  if (!typed.startsWith(QLatin1String("&H"), Qt::CaseInsensitive) && isLooseNumeric(typed))
    return colorValueToText(colorValue(typed));
  return typed;
}

bool cellBool(const QString &text) {
  bool value = false;
  if (!readBool(text, &value)) throw GridEditError("not a true/false value");
  return value;
}

double cellFontSize(const QString &text) {
  double d = 0;
  if (!readCellNumber(text, &d) || d <= 0 || d > 2048) throw GridEditError("not a font size");
  return d;
}

QString onOffText(bool value) { return value ? QStringLiteral("On") : QStringLiteral("Off"); }
QString sizeText(double value) { return QLocale::c().toString(value, 'g', 7); }

QString captionToCell(const QString &caption) {
  QString out = caption;
  out.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
  out.replace(u'\n', QLatin1String("\\n"));
  return out;
}

QString cellToCaption(const QString &cell) {
  QString out = cell;
  out.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
  return out;
}

void forEachSelected(PanelEditor &panel, KindSet kinds,
                     const std::function<void(DesignControl &, ControlRecord &)> &fn) {
  // A copy: the step may not change the selection, but it must not break the walk if it does.
  const std::vector<DesignControl *> selection = panel.selectedControls();
  for (DesignControl *control : selection) {
    if (!control || !kinds.contains(control->kind())) continue;
    if (ControlRecord *record = panel.model().findRecord(control)) {
      fn(*control, *record);
    } else {
      ControlRecord scratch;
      scratch.control = control;
      fn(*control, scratch);
    }
  }
}

qint32 stateBackColor(const ControlRecord &record) {
  return colorValue(record.state.toLower() == u"off" ? record.backColorOff : record.backColorOn);
}

void setBackColor(DesignControl &control, qint32 colour) {
  if (auto *button = controlCast<DesignButton>(&control)) button->backColor = colour;
  if (auto *label = controlCast<DesignLabel>(&control)) label->backColor = colour;
}

void placeFrame(PanelEditor &panel, const DesignControl &control) {
  const ControlRecord *record = panel.model().findRecord(&control);
  ResizeFrame *frame = record ? panel.model().frame(record->frameIndex) : nullptr;
  if (!frame) return;
  frame->left = control.left - 75;
  frame->top = control.top - 75;
  frame->width = control.width + 150;
  frame->height = control.height + 150;
}

bool nameFitsFiles(PanelEditor &panel, const QString &name) {
  const QString problem = nameStorageProblem(name);
  if (problem.isEmpty()) return true;
  panel.ui().failure(problem + QStringLiteral("  Reverting to original name."));
  return false;
}
