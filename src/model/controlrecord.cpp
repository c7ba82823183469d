#include "model/controlrecord.h"

#include "model/designcontrol.h"
#include "model/panelmodel.h"

QString applyPanelNamePlaceholder(const QString &value, const QString &panelPath) {
  static const QString kPlaceholder = QStringLiteral("$$PanelName$$");
  // Most names hold no "$" at all; the case-blind search is kept for the rest.
  if (panelPath.isEmpty() || !value.contains(u'$') ||
      !value.contains(kPlaceholder, Qt::CaseInsensitive))
    return value;
  const qsizetype slash = qMax(panelPath.lastIndexOf(u'\\'), panelPath.lastIndexOf(u'/'));
  const qsizetype dot = panelPath.lastIndexOf(u'.');
  if (dot <= slash) return value;
  const QString base = panelPath.mid(slash + 1, dot - slash - 1);
  QString out = value;
  out.replace(kPlaceholder, base, Qt::CaseInsensitive);
  return out;
}

void ControlRecord::setHWMapInternalName(const QString &value) {
  m_hwMapInternalName = value;
  if (control && control->owner())
    m_hwMapInternalName = applyPanelNamePlaceholder(value, control->owner()->panelRecord.panelPath);
}
