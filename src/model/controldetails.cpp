#include "model/controldetails.h"

#include "model/designcontrol.h"
#include "model/panelmodel.h"

QString ApplyPanelNamePlaceholder(const QString &value, const QString &panelPath) {
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

void clsControlDetails::setHWMapInternalName(const QString &value) {
  m_HWMapInternalName = value;
  if (cntrlObject && cntrlObject->owner())
    m_HWMapInternalName =
        ApplyPanelNamePlaceholder(value, cntrlObject->owner()->PanelDetails.strPanelPath);
}
