#include "panelfile/clipboarddoc.h"

#include <QHash>
#include <algorithm>

#include "hwmap/hardwaremap.h"
#include "model/numbers.h"
#include "model/panelmodel.h"
#include "model/xmltree.h"
#include "model/xmlwriter.h"
#include "panelfile/controlreader.h"
#include "panelfile/panelwriter.h"
#include "panelfile/readhooks.h"

namespace {

bool isControlList(QStringView name) {
  return name.trimmed().toString().toLower() == QLatin1String("controllist");
}

// Walks the controls of the root's control lists. The first walk only
// measures each list (the top-left corner of its controls) and proves the
// whole text well-formed; the second places the controls.
class ClipboardReader : public XmlHandler {
 public:
  struct List {
    int controls = 0;
    qint32 minLeft = 0;
    qint32 minTop = 0;
  };

  ClipboardReader(const QString &text, PanelModel &panel, ReadHooks &hooks, const HardwareMap &map)
      : m_panel(panel), m_hooks(hooks), m_map(map), m_control(text) {}

  std::vector<List> lists;
  std::vector<ControlRecord *> pasted;

  // Switches from measuring to placing.
  void startPlacing() {
    m_placing = true;
    m_list = -1;
  }

  void startElement(QStringView name, const std::vector<XmlAttribute> &,
                    QStringView source) override {
    ++m_depth;
    if (m_depth == 2) {
      m_inList = isControlList(name);
      if (!m_inList) return;
      ++m_list;
      if (!m_placing) lists.emplace_back();
    } else if (m_depth >= 3 && m_inList) {
      if (m_depth == 3 && m_placing && !m_started) {
        m_started = true;
        m_hooks.pasteStarting();
      }
      m_control.startElement(name, m_depth - 3, source);
    }
  }

  void endElement(QStringView source) override {
    if (m_depth == 2) {
      m_inList = false;
    } else if (m_depth >= 3 && m_inList) {
      m_control.endElement(m_depth - 3, source);
      if (m_depth == 3) controlEnded();
    }
    --m_depth;
  }

  void text(QStringView value, QStringView) override { character(value); }
  void cdata(QStringView value, QStringView) override { character(value); }
  void comment(QStringView, QStringView source) override {
    if (m_depth >= 3 && m_inList) m_control.markup(source, m_depth - 3);
  }

 private:
  void character(QStringView value) {
    if (m_depth >= 3 && m_inList) m_control.text(value, m_depth - 3);
  }

  void controlEnded() {
    List &list = lists[size_t(m_list)];
    if (!m_placing) {
      // A control without "Left" or "Top" counts -1 for it.
      const qint32 left = m_control.number(u"left"), top = m_control.number(u"top");
      list.minLeft = list.controls == 0 ? left : std::min(list.minLeft, left);
      list.minTop = list.controls == 0 ? top : std::min(list.minTop, top);
      ++list.controls;
      return;
    }
    auto record = m_control.build(m_panel, true, list.minLeft, list.minTop, m_map);
    if (!record) return;
    record->frameIndex = m_panel.newFrameIndex();
    auto &controls = m_panel.panelRecord.records;
    controls.push_back(std::move(record));
    ControlRecord *added = controls.back().get();
    pasted.push_back(added);
    m_hooks.controlPasted(*added);
  }

  PanelModel &m_panel;
  ReadHooks &m_hooks;
  const HardwareMap &m_map;
  ControlElementReader m_control;
  bool m_placing = false;
  bool m_started = false;
  bool m_inList = false;
  int m_depth = 0;
  int m_list = -1;
};

}  // namespace

QString buildClipboardDocument(const PanelModel &panel,
                               const std::vector<DesignControl *> &selected, bool serverMode) {
  // The first record of each control, found once for the whole selection.
  QHash<const DesignObject *, const ControlRecord *> records;
  for (auto it = panel.panelRecord.records.rbegin(); it != panel.panelRecord.records.rend(); ++it)
    if (*it && (*it)->control) records.insert((*it)->control, it->get());
  XmlWriter writer;
  bool written = false;
  for (DesignControl *control : selected) {
    const ControlRecord *record = records.value(control);
    if (!record) continue;
    if (!written) {
      writer.startElement(u"ClipboardControls", 0);
      writer.startElement(u"ControlList", 2);
      written = true;
    }
    controlToXML(writer, *record, serverMode);
  }
  if (!written) return QString();
  writer.endElement(u"ControlList", 2);
  writer.put(QLatin1String("</ClipboardControls>"));
  return writer.take();
}

qint32 xmlNumber(const QString &fragment, const QString &name) {
  XmlDocument doc;
  if (!doc.read(fragment)) return -1;
  const XmlNode *child = findChildElement(*doc.root(), name.trimmed().toLower());
  return child ? roundHalfEven(leadingNumber(elementText(*child))) : -1;
}

std::vector<ControlRecord *> analyzeClipboardXML(const QString &text, PanelModel &panel,
                                                 ReadHooks &hooks, const HardwareMap &map) {
  ClipboardReader reader(text, panel, hooks, map);
  if (!readXml(text, reader)) return {};
  reader.startPlacing();
  readXml(text, reader);
  return reader.pasted;
}
