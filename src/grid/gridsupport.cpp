#include "grid/gridsupport.h"

#include <QLocale>
#include <cmath>

#include "model/colors.h"
#include "model/names.h"
#include "model/numbers.h"
#include "model/uiservice.h"
#include "surface/frmpanel.h"

bool ReadCellNumber(const QString &text, double *value) {
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

bool ReadCellInt32(const QString &text, qint32 *value) {
  double d = 0;
  if (!ReadCellNumber(text, &d) || d < -2147483648.5 || d > 2147483647.5) return false;
  *value = RoundHalfEven(d);
  return true;
}

bool ReadCellInt16(const QString &text, qint16 *value) {
  qint32 v = 0;
  if (!ReadCellInt32(text, &v) || v < -32768 || v > 32767) return false;
  *value = static_cast<qint16>(v);
  return true;
}

QString StoredColorText(const QString &typed) {
  if (!typed.startsWith(QLatin1String("&H"), Qt::CaseInsensitive) && IsLooseNumeric(typed))
    return ColorValueToText(GetColorValue(typed));
  return typed;
}

bool CellBool(const QString &text) {
  bool value = false;
  if (!ReadBool(text, &value)) throw GridEditError("not a true/false value");
  return value;
}

double CellFontSize(const QString &text) {
  double d = 0;
  if (!ReadCellNumber(text, &d) || d <= 0 || d > 2048) throw GridEditError("not a font size");
  return d;
}

QString BoolText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }
QString OnOffText(bool value) { return value ? QStringLiteral("On") : QStringLiteral("Off"); }
QString SizeText(double value) { return QLocale::c().toString(value, 'g', 7); }

QString CaptionToCell(const QString &caption) {
  QString out = caption;
  out.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
  out.replace(u'\n', QLatin1String("\\n"));
  return out;
}

QString CellToCaption(const QString &cell) {
  QString out = cell;
  out.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
  return out;
}

void ForEachSelected(frmPanel &panel, KindSet kinds,
                     const std::function<void(DesignControl &, clsControlDetails &)> &fn) {
  // A copy: the step may not change the selection, but it must not break the walk if it does.
  const std::vector<DesignControl *> selection = panel.collSelectedControls;
  for (DesignControl *control : selection) {
    if (!control || !kinds.contains(control->kind())) continue;
    if (clsControlDetails *record = panel.model().FindRecord(control)) {
      fn(*control, *record);
    } else {
      clsControlDetails scratch;
      scratch.cntrlObject = control;
      fn(*control, scratch);
    }
  }
}

qint32 StateBackColor(const clsControlDetails &record) {
  return GetColorValue(record.State.toLower() == u"off" ? record.BackColorOff : record.BackColorOn);
}

void SetBackColor(DesignControl &control, qint32 colour) {
  if (auto *button = As<DesignButton>(&control)) button->BackColor = colour;
  if (auto *label = As<DesignLabel>(&control)) label->BackColor = colour;
}

void PlaceFrame(frmPanel &panel, const DesignControl &control) {
  const clsControlDetails *record = panel.model().FindRecord(&control);
  ResizeFrame *frame = record ? panel.model().Frame(record->lngPictResizeIndex) : nullptr;
  if (!frame) return;
  frame->Left = control.Left - 75;
  frame->Top = control.Top - 75;
  frame->Width = control.Width + 150;
  frame->Height = control.Height + 150;
}

bool NameFitsFiles(frmPanel &panel, const QString &name) {
  const QString problem = NameStorageProblem(name);
  if (problem.isEmpty()) return true;
  panel.ui().failure(problem + QStringLiteral("  Reverting to original name."));
  return false;
}
