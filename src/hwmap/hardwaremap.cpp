#include "hwmap/hardwaremap.h"

#include <QDomDocument>
#include <algorithm>

#include "model/designcontrol.h"
#include "model/numbers.h"
#include "model/panelmodel.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "model/xmldoc.h"
#include "model/xmlscanner.h"

namespace {

QString mapName(const QString &name) { return name.trimmed().toLower(); }

// The port is kept as the decimal text of the number it starts with.
QString portText(const QString &text) { return QString::number(LeadingNumber(text), 'g', 15); }

// One child of a "Control" entry; unknown names ("login" among them) and
// empty values change nothing.
void applyEntryField(HardwareMap::Entry &e, const QString &name, const QString &text) {
  if (text.isEmpty()) return;
  const QString n = mapName(name);
  if (n == QLatin1String("type"))
    e.type = text;
  else if (n == QLatin1String("internalname"))
    e.internalName = text;
  else if (n == QLatin1String("aoipsysname"))
    e.aoipSysName = text;
  else if (n == QLatin1String("hostipaddress"))
    e.hostIP = text;
  else if (n == QLatin1String("hostport"))
    e.hostPort = portText(text);
}

HardwareMap::Entry entryFromTree(const XmlElement &control) {
  HardwareMap::Entry e;
  for (const XmlElement &child : control.children) applyEntryField(e, child.name, child.text);
  return e;
}

HardwareMap::Entry entryFromDom(const QDomElement &control) {
  HardwareMap::Entry e;
  for (QDomElement child = control.firstChildElement(); !child.isNull();
       child = child.nextSiblingElement())
    applyEntryField(e, child.tagName(), ElementText(child));
  return e;
}

// The panel an internal name belongs to: the text before its last ".".
// Control names cannot hold a ".", panel names taken from file names can.
QString panelOfInternalName(const QString &internalName) {
  const qsizetype dot = internalName.lastIndexOf(u'.');
  return dot < 0 ? internalName : internalName.left(dot);
}

bool isListName(const QString &name) { return mapName(name) == QLatin1String("controllist"); }

bool isCompleteBinding(const std::unique_ptr<clsControlDetails> &r) {
  return r && !r->HWMapAoipSysName.isEmpty() && !r->HWMapInternalName().isEmpty() &&
         !r->HWMapHostIP.isEmpty() && !r->HWMapHostPort.isEmpty() && !r->HWMapType.isEmpty();
}

// Markup the tree cannot stand for: anything after "<" but plain start and
// end tags without attributes or prefixes, and character references.
bool hasOnlyPlainTags(QStringView text) {
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = text[i].unicode();
    if (c == u'&') {
      if (i + 1 < n && text[i + 1] == u'#') return false;
    } else if (c == u'<') {
      if (i + 1 >= n || text[i + 1] == u'!' || text[i + 1] == u'?') return false;
      for (++i; i < n && text[i] != u'>'; ++i)
        if (text[i] == u'=' || text[i] == u':') return false;
    }
  }
  return true;
}

// No element with both text and element children, no text the document
// drops as white space that the tree keeps.
bool hasPlainContent(const XmlElement &e) {
  if (!e.text.isEmpty() && (!e.children.empty() || QStringView(e.text).trimmed().isEmpty()))
    return false;
  for (const XmlElement &c : e.children)
    if (!hasPlainContent(c)) return false;
  return true;
}

XmlElement textElement(const QString &name, const QString &text) {
  XmlElement e;
  e.name = name;
  e.text = text;
  return e;
}

}  // namespace

bool ReadPlainHardwareMap(const QString &text, XmlElement &root) {
  bool plain = hasOnlyPlainTags(text) && ReadPlainXmlTree(text, root, 256) == PlainXmlRead::Read &&
               hasPlainContent(root) && root.text.isEmpty();
  // The root and the control lists gain elements: text beside them would
  // be laid out in the document's own way.
  for (const XmlElement &list : root.children)
    if (isListName(list.name) && !list.text.isEmpty()) plain = false;
  if (!plain) root = XmlElement();
  return plain;
}

void RemovePanelFromHardwareMap(XmlElement &root, const QString &panelName) {
  if (panelName.isEmpty()) return;
  const QString panel = panelName.toLower();
  for (XmlElement &list : root.children) {
    if (!isListName(list.name)) continue;
    std::erase_if(list.children, [&panel](const XmlElement &c) {
      return panelOfInternalName(entryFromTree(c).internalName).toLower() == panel;
    });
  }
}

bool AddControlsToHardwareMap(XmlElement &root,
                              const std::vector<std::unique_ptr<clsControlDetails>> &records) {
  const auto list = std::find_if(root.children.begin(), root.children.end(),
                                 [](const XmlElement &c) { return isListName(c.name); });
  if (list == root.children.end()) return false;
  static const QString control = QStringLiteral("Control"), type = QStringLiteral("Type"),
                       host = QStringLiteral("HostIPAddress"), port = QStringLiteral("HostPort"),
                       internal = QStringLiteral("InternalName"),
                       code = QStringLiteral("AoipSysName");
  for (const auto &r : records) {
    if (!isCompleteBinding(r)) continue;
    XmlElement &e = list->children.emplace_back();
    e.name = control;
    e.children.reserve(5);
    e.children.push_back(textElement(type, r->HWMapType));
    e.children.push_back(textElement(host, r->HWMapHostIP));
    e.children.push_back(textElement(port, r->HWMapHostPort));
    e.children.push_back(textElement(internal, r->HWMapInternalName()));
    e.children.push_back(textElement(code, r->HWMapAoipSysName));
  }
  return true;
}

QString NewHardwareMapXML() {
  QDomDocument doc;
  QDomElement root = doc.createElement(QStringLiteral("HardwareMapList"));
  doc.appendChild(root);
  AppendTextElement(doc, root, QStringLiteral("Name"), QStringLiteral("HardwareMapList"));
  AppendTextElement(doc, root, QStringLiteral("ControlList"), QString());
  IndentXML(doc);
  return SerializeXml(doc);
}

clsControlDetails HardwareMapEntryFromXML(const QString &text) {
  clsControlDetails record;
  XmlElement root;
  if (!ParseXmlTree(text, root)) return record;
  const HardwareMap::Entry e = entryFromTree(root);
  record.HWMapType = e.type;
  record.HWMapHostIP = e.hostIP;
  record.HWMapHostPort = e.hostPort;
  record.setHWMapInternalName(e.internalName);
  record.HWMapAoipSysName = e.aoipSysName;
  return record;
}

void RemovePanelFromHardwareMap(QDomDocument &doc, const QString &panelName) {
  if (panelName.isEmpty()) return;
  const QString panel = panelName.toLower();
  const QDomElement root = doc.documentElement();
  for (QDomElement list = root.firstChildElement(); !list.isNull();
       list = list.nextSiblingElement()) {
    if (!isListName(list.tagName())) continue;
    std::vector<QDomElement> marked;
    for (QDomElement c = list.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
      if (panelOfInternalName(entryFromDom(c).internalName).toLower() == panel) marked.push_back(c);
    for (QDomElement &c : marked) list.removeChild(c);
  }
}

void RemovePanelFromHardwareMap(QString &text, const QString &panelName) {
  if (panelName.isEmpty()) return;
  XmlElement root;
  if (ReadPlainHardwareMap(text, root)) {
    RemovePanelFromHardwareMap(root, panelName);
    text = XmlElementToText(root);
    return;
  }
  QDomDocument doc;
  if (!ParseXml(text, doc)) return;
  RemovePanelFromHardwareMap(doc, panelName);
  text = SerializeXml(doc);
}

bool AddControlsToHardwareMap(QDomDocument &doc,
                              const std::vector<std::unique_ptr<clsControlDetails>> &records) {
  QDomElement root = doc.documentElement();
  QDomElement list;
  for (QDomElement c = root.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
    if (isListName(c.tagName())) {
      list = c;
      break;
    }
  if (list.isNull()) return false;
  for (const auto &r : records) {
    if (!isCompleteBinding(r)) continue;
    QDomElement control = doc.createElement(QStringLiteral("Control"));
    list.appendChild(control);
    AppendTextElement(doc, control, QStringLiteral("Type"), r->HWMapType);
    AppendTextElement(doc, control, QStringLiteral("HostIPAddress"), r->HWMapHostIP);
    AppendTextElement(doc, control, QStringLiteral("HostPort"), r->HWMapHostPort);
    AppendTextElement(doc, control, QStringLiteral("InternalName"), r->HWMapInternalName());
    AppendTextElement(doc, control, QStringLiteral("AoipSysName"), r->HWMapAoipSysName);
  }
  return true;
}

void AddControlsToHardwareMap(QString &text,
                              const std::vector<std::unique_ptr<clsControlDetails>> &records) {
  if (text.isEmpty()) text = NewHardwareMapXML();
  XmlElement root;
  if (ReadPlainHardwareMap(text, root)) {
    if (AddControlsToHardwareMap(root, records)) text = XmlElementToLaidOutText(root);
    return;
  }
  QDomDocument doc;
  if (!ParseXml(text, doc)) return;
  if (!AddControlsToHardwareMap(doc, records)) return;
  IndentXML(doc);
  text = SerializeXml(doc);
}

HardwareMap HardwareMap::FromText(const QString &text) {
  HardwareMap map;
  XmlElement root;
  if (text.isEmpty() || !ParseXmlTree(text, root)) return map;
  for (const XmlElement &list : root.children) {
    if (!isListName(list.name)) continue;
    for (const XmlElement &c : list.children) {
      if (mapName(c.name) != QLatin1String("control")) continue;
      map.m_entries.push_back(entryFromTree(c));
      const QString key = mapName(map.m_entries.back().internalName);
      if (!map.m_firstByName.contains(key))
        map.m_firstByName.insert(key, static_cast<qsizetype>(map.m_entries.size()) - 1);
    }
  }
  return map;
}

HardwareMap HardwareMap::FromFile(const QString &path) {
  if (!FileExists(path)) return HardwareMap();
  return FromText(ReadTextFile(path));
}

const HardwareMap::Entry *HardwareMap::Find(const QString &internalName) const {
  const auto it = m_firstByName.constFind(mapName(internalName));
  return it == m_firstByName.cend() ? nullptr : &m_entries[static_cast<size_t>(*it)];
}

void ApplyHardwareMapToControl(clsControlDetails &record, const HardwareMap &map) {
  if (record.HWMapInternalName().isEmpty() && record.cntrlObject) {
    const PanelModel *panel = record.cntrlObject->owner();
    const QString panelName = panel ? panel->pictMain.Tag : QString();
    record.setHWMapInternalName(panelName + u'.' + record.cntrlObject->Tag);
  }
  if (const HardwareMap::Entry *e = map.Find(record.HWMapInternalName())) {
    record.HWMapAoipSysName = e->aoipSysName;
    record.HWMapHostIP = e->hostIP;
    record.HWMapHostPort = e->hostPort;
    record.HWMapType = e->type;
  }
}

void ApplyHardwareMapToControl(clsControlDetails &record) {
  ApplyHardwareMapToControl(record, HardwareMap::FromFile(Settings().strHardwareMapFile));
}
