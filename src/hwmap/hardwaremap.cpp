#include "hwmap/hardwaremap.h"

#include <QFileInfo>
#include <algorithm>

#include "model/designcontrol.h"
#include "model/nametable.h"
#include "model/numbers.h"
#include "model/panelmodel.h"
#include "model/textfile.h"

namespace {

QString mapName(QStringView name) { return name.trimmed().toString().toLower(); }

// The port is kept as the decimal text of the number it starts with.
QString portText(const QString &text) { return QString::number(leadingNumber(text), 'g', 15); }

// The names the map's reader looks for, in any case.
enum class MapName {
  Other,
  ControlList,
  Control,
  Type,
  InternalName,
  AoipSysName,
  HostIP,
  HostPort
};

MapName mapNameOf(QStringView name) {
  static const NameTable<MapName> table({{"controllist", MapName::ControlList},
                                         {"control", MapName::Control},
                                         {"type", MapName::Type},
                                         {"internalname", MapName::InternalName},
                                         {"aoipsysname", MapName::AoipSysName},
                                         {"hostipaddress", MapName::HostIP},
                                         {"hostport", MapName::HostPort}},
                                        MapName::Other);
  return table.find(name.trimmed());
}

// One child of a "Control" entry; unknown names ("login" among them) and
// empty values change nothing.
void applyEntryField(HardwareMap::Entry &e, QStringView name, const QString &text) {
  if (text.isEmpty()) return;
  switch (mapNameOf(name)) {
    case MapName::Type:
      e.type = text;
      break;
    case MapName::InternalName:
      e.internalName = text;
      break;
    case MapName::AoipSysName:
      e.aoipSysName = text;
      break;
    case MapName::HostIP:
      e.hostIP = text;
      break;
    case MapName::HostPort:
      e.hostPort = portText(text);
      break;
    default:
      break;
  }
}

HardwareMap::Entry entryOf(const XmlNode &control) {
  HardwareMap::Entry e;
  for (const XmlNode &child : control.children)
    if (child.isElement()) applyEntryField(e, child.name, elementText(child));
  return e;
}

// The internal name of an entry (the last non-empty one, as entryOf reads).
QString internalNameOf(const XmlNode &control) {
  QString name;
  for (const XmlNode &child : control.children)
    if (child.isElement() && mapNameOf(child.name) == MapName::InternalName)
      if (QString text = elementText(child); !text.isEmpty()) name = text;
  return name;
}

bool isListName(QStringView name) { return mapNameOf(name) == MapName::ControlList; }

bool isCompleteBinding(const std::unique_ptr<ControlRecord> &r) {
  return r && !r->hwMapAoipSysName.isEmpty() && !r->hwMapInternalName().isEmpty() &&
         !r->hwMapHostIP.isEmpty() && !r->hwMapHostPort.isEmpty() && !r->hwMapType.isEmpty();
}

// Reads the entries of every control list of the root, straight from the
// reader's events.
class EntryReader : public XmlHandler {
 public:
  explicit EntryReader(QStringView text) { m_field.setSource(text); }
  std::vector<HardwareMap::Entry> entries;

  void startElement(QStringView name, const std::vector<XmlAttribute> &, QStringView) override {
    ++m_depth;
    if (m_depth == 2) {
      m_inList = isListName(name);
    } else if (m_depth == 3 && m_inList) {
      m_inControl = mapNameOf(name) == MapName::Control;
      m_entry = HardwareMap::Entry();
    } else if (m_depth == 4 && m_inControl) {
      m_fieldName = name;
      m_field.clear();
    } else if (m_depth == 5 && m_inControl) {
      m_field.endRun();
    }
  }
  void endElement(QStringView) override {
    if (m_depth == 4 && m_inControl) {
      m_field.endRun();
      applyEntryField(m_entry, m_fieldName, m_field.text().toString());
    } else if (m_depth == 3 && m_inControl) {
      entries.push_back(m_entry);
      m_inControl = false;
    } else if (m_depth == 2) {
      m_inList = false;
    }
    --m_depth;
  }
  void text(QStringView value, QStringView) override {
    if (m_depth == 4 && m_inControl) m_field.add(value);
  }
  void cdata(QStringView value, QStringView) override {
    if (m_depth == 4 && m_inControl) m_field.add(value);
  }

 private:
  int m_depth = 0;
  bool m_inList = false;
  bool m_inControl = false;
  HardwareMap::Entry m_entry;
  QStringView m_fieldName;
  XmlTextRun m_field;
};

}  // namespace

QString newHardwareMapXML() {
  XmlDocument doc;
  doc.nodes().push_back(laidOutElement(
      QStringLiteral("HardwareMapList"),
      {XmlNode::textElement(QStringLiteral("Name"), QStringLiteral("HardwareMapList")),
       XmlNode::element(QStringLiteral("ControlList"))},
      0));
  return doc.toText();
}

ControlRecord hardwareMapEntryFromXML(const QString &text) {
  ControlRecord record;
  XmlDocument doc;
  if (!doc.read(text)) return record;
  const HardwareMap::Entry e = entryOf(*doc.root());
  record.hwMapType = e.type;
  record.hwMapHostIP = e.hostIP;
  record.hwMapHostPort = e.hostPort;
  record.setHWMapInternalName(e.internalName);
  record.hwMapAoipSysName = e.aoipSysName;
  return record;
}

bool entryBelongsToPanel(const QString &internalName, const QString &panelName,
                         const QSet<QString> &controlNames) {
  const QString name = internalName.trimmed();
  const qsizetype n = panelName.size();
  if (panelName.isEmpty() || name.size() <= n || name[n] != u'.') return false;
  if (name.left(n).toLower() != panelName.toLower()) return false;
  const QString control = name.mid(n + 1);
  return !control.contains(u'.') || controlNames.contains(control.toLower());
}

QSet<QString> controlNamesOf(const ControlRecords &records) {
  QSet<QString> names;
  for (const auto &r : records)
    if (r && r->control && r->control->tag.contains(u'.')) names.insert(r->control->tag.toLower());
  return names;
}

void removePanelFromHardwareMap(XmlDocument &map, const QString &panelName,
                                const QSet<QString> &controlNames,
                                const QSet<QString> &formerEntries, EntryAttributes *removed) {
  XmlNode *root = map.root();
  if (panelName.isEmpty() || !root) return;
  for (XmlNode &list : root->children) {
    if (!list.isElement() || !isListName(list.name)) continue;
    std::vector<size_t> marked;
    for (size_t k = 0; k < list.children.size(); ++k) {
      const XmlNode &c = list.children[k];
      if (!c.isElement()) continue;
      const QString name = internalNameOf(c);
      if (!entryBelongsToPanel(name, panelName, controlNames) &&
          !formerEntries.contains(name.trimmed().toLower()))
        continue;
      marked.push_back(k);
      if (removed && !c.attributes.empty()) removed->insert(name.trimmed().toLower(), c.attributes);
    }
    map.removeLaidOut(list, marked);
  }
}

bool addControlsToHardwareMap(XmlDocument &map, const ControlRecords &records,
                              const EntryAttributes &attributes) {
  XmlNode *root = map.root();
  if (!root) return false;
  XmlNode *list = nullptr;
  for (XmlNode &c : root->children)
    if (c.isElement() && isListName(c.name)) {
      list = &c;
      break;
    }
  if (!list) return false;
  std::vector<XmlNode> entries;
  for (const auto &r : records) {
    if (!isCompleteBinding(r)) continue;
    entries.push_back(laidOutElement(
        QStringLiteral("Control"),
        {XmlNode::textElement(QStringLiteral("Type"), r->hwMapType),
         XmlNode::textElement(QStringLiteral("HostIPAddress"), r->hwMapHostIP),
         XmlNode::textElement(QStringLiteral("HostPort"), r->hwMapHostPort),
         XmlNode::textElement(QStringLiteral("InternalName"), r->hwMapInternalName()),
         XmlNode::textElement(QStringLiteral("AoipSysName"), r->hwMapAoipSysName)},
        4));
    entries.back().attributes = attributes.value(r->hwMapInternalName().trimmed().toLower());
  }
  appendLaidOut(*list, std::move(entries), 2);
  return true;
}

void removePanelFromHardwareMap(QString &text, const QString &panelName,
                                const QSet<QString> &controlNames) {
  if (panelName.isEmpty()) return;
  XmlDocument doc;
  if (!doc.read(text)) return;
  removePanelFromHardwareMap(doc, panelName, controlNames);
  text = doc.toText();
}

void addControlsToHardwareMap(QString &text, const ControlRecords &records) {
  if (text.isEmpty()) text = newHardwareMapXML();
  XmlDocument doc;
  if (!doc.read(text)) return;
  if (addControlsToHardwareMap(doc, records)) text = doc.toText();
}

HardwareMap HardwareMap::fromText(const QString &text) {
  HardwareMap map;
  EntryReader reader(text);
  if (text.isEmpty() || !readXml(text, reader)) return map;
  map.m_entries = std::move(reader.entries);
  for (size_t k = 0; k < map.m_entries.size(); ++k) {
    const QString key = mapName(map.m_entries[k].internalName);
    if (!map.m_firstByName.contains(key)) map.m_firstByName.insert(key, qsizetype(k));
  }
  return map;
}

HardwareMap HardwareMap::fromFile(const QString &path, QString *error) {
  if (error) error->clear();
  if (path.isEmpty() || !QFileInfo::exists(path)) return HardwareMap();
  return fromText(readTextFile(path, nullptr, nullptr, error));
}

const HardwareMap::Entry *HardwareMap::Find(const QString &internalName) const {
  if (m_entries.empty()) return nullptr;
  // Looked up for every control of a panel being read: the key is built in
  // a buffer kept between calls.
  thread_local QString key;
  const QStringView name = QStringView(internalName).trimmed();
  key.resize(name.size());
  bool ascii = true;
  for (qsizetype k = 0; k < name.size() && ascii; ++k) {
    const char16_t c = name[k].unicode();
    ascii = c < 128;
    key[k] = QChar(c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c);
  }
  if (!ascii) key = name.toString().toLower();
  const auto it = m_firstByName.constFind(key);
  return it == m_firstByName.cend() ? nullptr : &m_entries[static_cast<size_t>(*it)];
}

void applyHardwareMapToControl(ControlRecord &record, const HardwareMap &map) {
  if (record.hwMapInternalName().isEmpty() && record.control) {
    const PanelModel *panel = record.control->owner();
    const QString panelName = panel ? QString(panel->canvas.tag) : QString();
    record.setHWMapInternalName(panelName + u'.' + record.control->tag);
  }
  if (map.isEmpty()) return;
  if (const HardwareMap::Entry *e = map.Find(record.hwMapInternalName())) {
    record.hwMapAoipSysName = e->aoipSysName;
    record.hwMapHostIP = e->hostIP;
    record.hwMapHostPort = e->hostPort;
    record.hwMapType = e->type;
  }
}
