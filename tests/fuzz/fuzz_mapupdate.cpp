// A save's update of any hardware map: the result is a map again, and the
// entries of other panels are exactly what they were, in the same order.
#include "fuzzsupport.h"
#include "hwmap/hardwaremap.h"
#include "model/xmltree.h"
#include "panelfile/panelwriter.h"

namespace {

// The saved panel: "Studio" with the controls "Button1" and "Mic.1", bound.
const ControlRecords &records() {
  static const ControlRecords r = [] {
    ControlRecords out;
    for (const char *name : {"Studio.Button1", "Studio.Mic.1"}) {
      auto record = std::make_unique<ControlRecord>();
      record->hwMapType = QStringLiteral("Button");
      record->hwMapHostIP = QStringLiteral("10.0.0.5");
      record->hwMapHostPort = QStringLiteral("5000");
      record->setHWMapInternalName(QLatin1String(name));
      record->hwMapAoipSysName = QStringLiteral("MOD_USER#1.BUT#1");
      out.push_back(std::move(record));
    }
    return out;
  }();
  return r;
}
const QSet<QString> kControlNames = {"button1", "mic.1"};

QString internalName(const XmlNode &control) {
  QString name;
  for (const XmlNode &c : control.children)
    if (c.isElement() && c.name.trimmed().toLower() == QLatin1String("internalname"))
      if (QString t = elementText(c); !t.isEmpty()) name = t;
  return name;
}

// The text of every entry of the root's control lists that is not Studio's,
// in order, and the number of Studio's.
QStringList otherEntries(const XmlDocument &doc, int *studios) {
  QStringList out;
  *studios = 0;
  const XmlNode *root = doc.root();
  for (const XmlNode &list : root->children) {
    if (!list.isElement() || list.name.trimmed().toLower() != QLatin1String("controllist"))
      continue;
    for (const XmlNode &entry : list.children) {
      if (!entry.isElement()) continue;
      if (entryBelongsToPanel(internalName(entry), QStringLiteral("Studio"), kControlNames))
        ++*studios;
      else
        out << doc.source().mid(entry.start, entry.end - entry.start);
    }
  }
  return out;
}

bool hasControlList(const XmlDocument &doc) {
  for (const XmlNode &c : doc.root()->children)
    if (c.isElement() && c.name.trimmed().toLower() == QLatin1String("controllist")) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QString text = fuzzText(data, size);
  XmlDocument before;
  if (!before.read(text)) {
    // Text that is not a map is left as it is.
    if (text.isEmpty()) return 0;
    QString kept = text;
    removePanelFromHardwareMap(kept, QStringLiteral("Studio"), kControlNames);
    addControlsToHardwareMap(kept, records());
    FUZZ_CHECK(kept == text);
    return 0;
  }
  int studiosBefore = 0;
  const QStringList others = otherEntries(before, &studiosBefore);
  XmlDocument map;
  FUZZ_CHECK(map.read(text));
  insertVersionIntoDocument(map, QStringLiteral("2024-03-03T09:05:07"));
  removePanelFromHardwareMap(map, QStringLiteral("Studio"), kControlNames);
  const bool added = addControlsToHardwareMap(map, records());
  FUZZ_CHECK(added == hasControlList(before));
  XmlDocument after;
  FUZZ_CHECK(after.read(map.toText()));
  int studiosAfter = 0;
  FUZZ_CHECK(otherEntries(after, &studiosAfter) == others);
  FUZZ_CHECK(studiosAfter == (added ? int(records().size()) : 0));
  return 0;
}
