// Panel documents read in one pass over the reader's events: the panel's
// own values and, through the control reader, every control.
#include "panelfile/panelreader.h"

#include "hwmap/hardwaremap.h"
#include "model/colors.h"
#include "model/nametable.h"
#include "model/numbers.h"
#include "model/panelmodel.h"
#include "panelfile/controlreader.h"
#include "panelfile/readhooks.h"

namespace {

enum class PanelField {
  Unknown,
  Name,
  Caption,
  Width,
  Height,
  BackColor,
  ForeColor,
  BackColorOn,
  BackColorOff,
  Picture,
  OrigPicturePath,
  OnLoad,
  DefaultPicturePath,
  ControlList,
};

PanelField panelFieldOf(QStringView name) {
  static const NameTable<PanelField> table({{"name", PanelField::Name},
                                            {"caption", PanelField::Caption},
                                            {"width", PanelField::Width},
                                            {"height", PanelField::Height},
                                            {"backcolor", PanelField::BackColor},
                                            {"forecolor", PanelField::ForeColor},
                                            {"backcoloron", PanelField::BackColorOn},
                                            {"backcoloroff", PanelField::BackColorOff},
                                            {"picture", PanelField::Picture},
                                            {"origpicturepath", PanelField::OrigPicturePath},
                                            {"onload", PanelField::OnLoad},
                                            {"defaultpicturepath", PanelField::DefaultPicturePath},
                                            {"controllist", PanelField::ControlList}},
                                           PanelField::Unknown);
  return table.find(name);
}

// Reads a panel document from the reader's events: the root's children in
// document order, the controls of every control list as their elements end.
class PanelDocumentReader : public XmlHandler {
 public:
  PanelDocumentReader(const QString &text, PanelModel &panel, ReadHooks &hooks,
                      const HardwareMap &map, ColourTexts colours)
      : m_panel(panel), m_hooks(hooks), m_map(map), m_control(text) {
    m_value.setSource(text);
    m_control.keepColourTexts(colours == ColourTexts::AsWritten);
  }

  void startElement(QStringView name, const std::vector<XmlAttribute> &,
                    QStringView source) override {
    ++m_depth;
    if (m_depth == 1) {
      m_isPanel = name.compare(QLatin1String("Panel"), Qt::CaseInsensitive) == 0;
    } else if (m_depth == 2) {
      m_field = panelFieldOf(name);
      m_value.clear();
      m_name = name;
      m_start = source;
    } else if (m_depth >= 3 && m_field == PanelField::ControlList) {
      m_control.startElement(name, m_depth - 3, source);
    } else if (m_depth == 3) {
      m_value.endRun();
    }
  }

  void endElement(QStringView source) override {
    if (m_depth == 2) {
      if (m_field != PanelField::ControlList) {
        m_value.endRun();
        applyPanelValue(m_value.text());
      }
      if (m_field != PanelField::Unknown ||
          m_name.compare(QLatin1String("version"), Qt::CaseInsensitive) == 0)
        m_after = m_name.trimmed().toString().toLower();
      else
        keepPanelElement(source);
      m_field = PanelField::Unknown;
    } else if (m_depth >= 3 && m_field == PanelField::ControlList) {
      m_control.endElement(m_depth - 3, source);
      if (m_depth == 3) addControl();
    }
    --m_depth;
  }

  void text(QStringView value, QStringView) override { character(value); }
  // Whether the root is a panel: other XML is no panel file.
  bool isPanel() const { return m_isPanel; }
  void cdata(QStringView value, QStringView) override { character(value); }
  void comment(QStringView, QStringView source) override { markup(source); }
  void processingInstruction(QStringView, QStringView, QStringView source) override {
    markup(source);
  }

 private:
  void character(QStringView value) {
    if (m_depth == 2 && m_field != PanelField::ControlList)
      m_value.add(value);
    else if (m_depth >= 3 && m_field == PanelField::ControlList)
      m_control.text(value, m_depth - 3);
  }

  // Comments and processing instructions between the panel's elements and
  // between controls are kept like unknown elements.
  void markup(QStringView source) {
    if (m_depth == 1)
      m_panel.panelRecord.foreign.push_back({m_after, source.toString()});
    else if (m_depth == 2 && m_field == PanelField::ControlList)
      keepControl(source);
    else if (m_depth >= 3 && m_field == PanelField::ControlList)
      m_control.markup(source, m_depth - 3);
  }

  void keepPanelElement(QStringView endTag) {
    const QChar *end =
        endTag.isEmpty() ? m_start.data() + m_start.size() : endTag.data() + endTag.size();
    if (m_start.data() && end >= m_start.data())
      m_panel.panelRecord.foreign.push_back({m_after, QStringView(m_start.data(), end).toString()});
  }

  void keepControl(QStringView source) {
    if (source.isEmpty()) return;
    m_panel.panelRecord.foreignControls.push_back(
        {m_panel.panelRecord.records.size(), source.toString()});
  }

  void addControl() {
    auto record = m_control.build(m_panel, false, 0, 0, m_map);
    if (!record) return;
    record->frameIndex = m_panel.newFrameIndex();
    auto &controls = m_panel.panelRecord.records;
    controls.push_back(std::move(record));
    m_hooks.controlRead(*controls.back());
  }

  void applyPanelValue(QStringView v) {
    if (v.isEmpty()) return;
    PanelRecord &details = m_panel.panelRecord;
    switch (m_field) {
      case PanelField::Name:
        m_panel.canvas.tag = v.toString();
        break;
      case PanelField::Caption:
        m_panel.caption = v.toString();
        break;
      case PanelField::Width:
        m_panel.width = twipsFromText(v);
        break;
      case PanelField::Height:
        m_panel.height = twipsFromText(v);
        break;
      case PanelField::BackColor:
        m_panel.canvas.backColor = colorValue(v.toString());
        break;
      case PanelField::ForeColor:
        m_panel.canvas.foreColor = colorValue(v.toString());
        break;
      case PanelField::BackColorOn:
        details.backColorOn = colorValueToText(colorValue(v.toString()));
        break;
      case PanelField::BackColorOff:
        details.backColorOff = colorValueToText(colorValue(v.toString()));
        break;
      case PanelField::Picture:
        details.picture = v.toString();
        break;
      case PanelField::OrigPicturePath:
        details.pictureSourcePath = v.toString();
        break;
      case PanelField::OnLoad:
        details.onLoad = v.toString();
        break;
      case PanelField::DefaultPicturePath:
        m_panel.defaultPictureFolder = v.toString();
        break;
      case PanelField::ControlList:
      case PanelField::Unknown:
        break;
    }
  }

  PanelModel &m_panel;
  ReadHooks &m_hooks;
  const HardwareMap &m_map;
  ControlElementReader m_control;
  int m_depth = 0;
  bool m_isPanel = false;
  PanelField m_field = PanelField::Unknown;
  XmlTextRun m_value;
  QStringView m_name;   // the panel-level element being read
  QStringView m_start;  // its start tag
  QString m_after;      // the last known panel-level element
};

}  // namespace

bool analyzeXML(const QString &text, PanelModel &panel, ReadHooks &hooks, const HardwareMap &map,
                XmlError *error, ColourTexts colours) {
  PanelDocumentReader reader(text, panel, hooks, map, colours);
  if (!readXml(text, reader, error)) return false;
  if (!reader.isPanel()) {
    if (error) *error = XmlError{QStringLiteral("The document is not a panel."), 1, 1};
    return false;
  }
  hooks.panelRead();
  return true;
}

std::unique_ptr<ControlRecord> readControl(const QString &controlXml, PanelModel &panel,
                                           bool checkNames, qint32 leftOffset, qint32 topOffset,
                                           const HardwareMap &map) {
  ControlElementReader reader(controlXml);
  if (!readControlElement(controlXml, reader)) return nullptr;
  return reader.build(panel, checkNames, leftOffset, topOffset, map);
}
