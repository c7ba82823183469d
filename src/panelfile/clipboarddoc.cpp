#include "panelfile/clipboarddoc.h"

#include <QDomDocument>
#include <algorithm>

#include "hwmap/hardwaremap.h"
#include "model/numbers.h"
#include "model/panelmodel.h"
#include "model/settings.h"
#include "model/xmldoc.h"
#include "panelfile/panelreader.h"
#include "panelfile/panelwriter.h"
#include "panelfile/readhooks.h"

namespace {

QString key(const QString &name) { return name.trimmed().toLower(); }

qint32 numberOf(const XmlElement &element, const QString &name) {
  const QString wanted = key(name);
  for (const XmlElement &c : element.children)
    if (key(c.name) == wanted) return RoundHalfEven(LeadingNumber(c.text));
  return -1;
}

}  // namespace

QString BuildClipboardDocument(const PanelModel &panel,
                               const std::vector<DesignControl *> &selected) {
  QDomDocument doc;
  QDomElement list;
  for (DesignControl *control : selected) {
    const clsControlDetails *record = panel.FindRecord(control);
    if (!record) continue;
    if (list.isNull()) {
      QDomElement root = doc.createElement(QStringLiteral("ClipboardControls"));
      doc.appendChild(root);
      list = doc.createElement(QStringLiteral("ControlList"));
      root.appendChild(list);
    }
    ControlToXML(doc, list, *record);
  }
  if (list.isNull() || !list.hasChildNodes()) return QString();
  IndentXML(doc);
  return SerializeXml(doc);
}

qint32 GetXmlNumber(const QString &fragment, const QString &name) {
  XmlElement root;
  if (!ParseXmlTree(fragment, root)) return -1;
  return numberOf(root, name);
}

std::vector<clsControlDetails *> AnalyzeClipboardXML(const QString &text, PanelModel &panel,
                                                     ReadHooks &hooks, const HardwareMap *map) {
  std::vector<clsControlDetails *> pasted;
  XmlElement root;
  if (!ParseXmlTree(text, root)) return pasted;
  HardwareMap fromFile;
  if (!map) {
    fromFile = HardwareMap::FromFile(Settings().strHardwareMapFile);
    map = &fromFile;
  }
  bool started = false;
  for (const XmlElement &list : root.children) {
    if (key(list.name) != QLatin1String("controllist") || list.children.empty()) continue;
    qint32 minLeft = 0;
    qint32 minTop = 0;
    for (size_t i = 0; i < list.children.size(); ++i) {
      const qint32 left = numberOf(list.children[i], QStringLiteral("Left"));
      const qint32 top = numberOf(list.children[i], QStringLiteral("Top"));
      minLeft = i == 0 ? left : std::min(minLeft, left);
      minTop = i == 0 ? top : std::min(minTop, top);
    }
    if (!started) {
      started = true;
      hooks.pasteStarting();
    }
    for (const XmlElement &element : list.children) {
      auto record = GetControl(element, panel, true, minLeft, minTop, *map);
      if (!record) continue;
      record->lngPictResizeIndex = panel.GetNewPictResize();
      panel.PanelDetails.CollControls.push_back(std::move(record));
      clsControlDetails *added = panel.PanelDetails.CollControls.back().get();
      pasted.push_back(added);
      hooks.controlPasted(*added);
    }
  }
  return pasted;
}
