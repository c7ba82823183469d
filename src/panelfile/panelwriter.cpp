#include "panelfile/panelwriter.h"

#include <cctype>
#include <charconv>
#include <cstring>
#include <limits>

#include "components/clockxml.h"
#include "components/datetimestamp.h"
#include "model/colors.h"
#include "model/designcontrol.h"
#include "model/numbers.h"
#include "model/panelmodel.h"
#include "model/xmltree.h"
#include "model/xmlwriter.h"
#include "panelfile/controlreader.h"

namespace {

// Stored colour texts without a prefix are taken as hexadecimal when they
// read as such ("FF00FF", "123"); names and prefixed texts as they are.
QString fileColor(const QString &stored) { return formatColorText(hexPrefixedIfHex(stored)); }

// Line breaks of captions travel as the two characters "\n".
QString captionText(const QString &text) {
  if (!text.contains(QLatin1String("\r\n"))) return text;
  QString out = text;
  out.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
  return out;
}

QString meterScaleText(qint32 scale) {
  switch (scale) {
    case 0:
      return QStringLiteral("Linear");
    case 1:
      return QStringLiteral("Standard");
    case 2:
      return QStringLiteral("British");
    default:
      return QString();
  }
}

QString meterStyleText(qint32 style) {
  switch (style) {
    case 0:
      return QStringLiteral("Led");
    case 1:
      return QStringLiteral("Gradient");
    default:
      return QString();
  }
}

// Writes the text children of one control element straight as laid-out
// text, one per line, `indent` blanks in. Numbers and colours come as values
// and are formatted straight into the output.
template <class Writer>
class ElementWriter {
 public:
  ElementWriter(Writer &writer, int indent) : m_writer(writer), m_indent(indent) {}

  ~ElementWriter() { finish(); }

  // Content kept from the read: each piece is written after the known
  // element it followed there, the rest at the end.
  void keep(const std::vector<ForeignElement> &foreign) {
    m_foreign = &foreign;
    m_written.assign(foreign.size(), false);
    wrote(QLatin1String());
  }
  void finish() {
    finishExcept(QStringView());
    m_foreign = nullptr;
  }
  // The same but for what follows the element `last`, still to come.
  void finishExcept(QStringView last) {
    if (!m_foreign) return;
    for (size_t k = 0; k < m_foreign->size(); ++k)
      if (!m_written[k] && (last.isNull() || (*m_foreign)[k].after != last)) put(k);
  }

  void add(const char *name, const QString &text) {
    m_writer.textElement(QLatin1String(name), text, m_indent);
    wrote(QLatin1String(name));
  }
  void add(QStringView name, const QString &text) {
    m_writer.textElement(name, text, m_indent);
    wrote(name);
  }

  void addNumber(const char *name, qint64 value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    m_writer.openTextElement(QLatin1String(name), m_indent);
    m_writer.put(QLatin1String(digits, end - digits));
    m_writer.closeTextElement(QLatin1String(name));
    wrote(QLatin1String(name));
  }

  void addFloat(const char *name, float value) {
    // Panels repeat a few font sizes; the text of the last value is kept.
    struct Last {
      float value = 0;
      QString text;
    };
    thread_local Last last;
    if (last.text.isNull() || std::memcmp(&value, &last.value, sizeof value) != 0)
      last = {value, floatToText(value)};
    add(name, last.text);
  }

  // A stored colour text as the file holds it (fileColor).
  void addColor(const char *name, const QString &stored) {
    // "&H" and hex digits, the form colours are read into: the digits
    // trimmed and padded to six, as formatColorText does. Other texts
    // (names, bare numbers) take the general way.
    if (stored.size() <= 2 || !stored.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
      add(name, fileColor(stored));
      return;
    }
    const QStringView digits = QStringView(stored).mid(2).trimmed();
    m_writer.openTextElement(QLatin1String(name), m_indent);
    m_writer.put(QLatin1String("&amp;H"));
    for (qsizetype k = digits.size(); k < 6; ++k) m_writer.put(u'0');
    m_writer.putEscaped(digits);
    m_writer.closeTextElement(QLatin1String(name));
    wrote(QLatin1String(name));
  }

  // A colour value as "&H" and at least six upper-case hex digits.
  void addColorValue(const char *name, qint32 value) {
    char digits[8];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, static_cast<quint32>(value), 16).ptr;
    for (char *c = digits; c != end; ++c) *c = static_cast<char>(std::toupper(*c));
    m_writer.openTextElement(QLatin1String(name), m_indent);
    m_writer.put(QLatin1String("&amp;H"));
    for (qsizetype k = end - digits; k < 6; ++k) m_writer.put(u'0');
    m_writer.put(QLatin1String(digits, end - digits));
    m_writer.closeTextElement(QLatin1String(name));
    wrote(QLatin1String(name));
  }

 private:
  template <class Name>
  void wrote(const Name &name) {
    if (!m_foreign || m_foreign->empty()) return;
    for (size_t k = 0; k < m_foreign->size(); ++k)
      if (!m_written[k] &&
          QStringView((*m_foreign)[k].after).compare(name, Qt::CaseInsensitive) == 0)
        put(k);
  }
  void put(size_t k) {
    m_written[k] = true;
    m_writer.blanks(m_indent);
    m_writer.put((*m_foreign)[k].text);
    m_writer.put(QLatin1String("\r\n"));
  }

  const std::vector<ForeignElement> *m_foreign = nullptr;
  std::vector<bool> m_written;
  Writer &m_writer;
  const int m_indent;
};

// The control as its own kind, without a dynamic cast.
template <class T>
const T *ofKind(const DesignControl *control) {
  return control->kind() == T::Kind ? static_cast<const T *>(control) : nullptr;
}

template <class W>
void writeFontAndState(ElementWriter<W> &w, const FontSpec &font, const ControlRecord &r) {
  w.add("FontName", font.name);
  w.addFloat("FontSize", static_cast<float>(font.size));
  w.add("FontBold", trueFalseText(font.bold));
  w.add("FontUnderline", trueFalseText(font.underline));
  w.add("FontItalic", trueFalseText(font.italic));
  w.addColor("BackColorOn", r.backColorOn);
  w.addColor("BackColorOff", r.backColorOff);
  w.add("Flash", r.flash ? QStringLiteral("On") : QStringLiteral("Off"));
  w.add("State", r.state);
}

template <class W>
void writeHardwareGroup(ElementWriter<W> &w, const ControlRecord &r, bool serverMode) {
  if (!serverMode || r.hwMapAoipSysName.isEmpty() || r.hwMapHostIP.isEmpty()) return;
  w.add("HWMapType", r.hwMapType);
  w.add("HWMapHostIP", r.hwMapHostIP);
  w.add("HWMapHostPort", r.hwMapHostPort);
  w.add("HWMapInternalName", r.hwMapInternalName());
  w.add("HWMapAoipSysName", r.hwMapAoipSysName);
}

template <class W>
void writeMeterSettings(ElementWriter<W> &w, const ControlRecord &r) {
  w.addNumber("MeterRouterNumber", r.meterRouterNumber);
  w.addNumber("MeterIONumber", r.meterIONumber);
  w.add("MeterIsSource", trueFalseText(r.meterIsSource));
  w.add("MeterScale", meterScaleText(r.meterScale));
  w.add("MeterStyle", meterStyleText(r.meterStyle));
}

// The children of a control element of every kind but the clock.
template <class W>
void writeControlChildren(ElementWriter<W> &w, const DesignControl *control, const ControlRecord &r,
                          bool serverMode) {
  const auto *button = ofKind<DesignButton>(control);
  const auto *label = ofKind<DesignLabel>(control);
  const auto *web = ofKind<DesignWebBrowser>(control);
  const auto *meter = ofKind<DesignMeter>(control);
  const auto *fader = ofKind<DesignMeterFader>(control);

  QString caption;
  if (button)
    caption = button->caption;
  else if (label)
    caption = label->text;
  else if (fader)
    caption = fader->meterName;
  w.keep(r.foreign);
  w.add("Type", typeName(*control));
  w.add("Name", control->tag);
  w.add("Caption", captionText(caption));
  w.addNumber("Left", control->left);
  w.addNumber("Top", control->top);
  w.addNumber("Width", control->width);
  w.addNumber("Height", control->height);

  if (button) {
    writeFontAndState(w, button->font, r);
    w.add("Click", r.click);
    w.add("MouseDown", r.mouseDown);
    w.add("MouseUp", r.mouseUp);
    w.add("PictureUpOff", r.pictureUpOff);
    w.add("PictureUpOffOrigPath", r.pictureUpOffSourcePath);
    w.add("PictureUpOn", r.pictureUpOn);
    w.add("PictureUpOnOrigPath", r.pictureUpOnSourcePath);
    w.add("PictureDownOff", r.pictureDownOff);
    w.add("PictureDownOffOrigPath", r.pictureDownOffSourcePath);
    w.add("PictureDownOn", r.pictureDownOn);
    w.add("PictureDownOnOrigPath", r.pictureDownOnSourcePath);
    w.add("Enabled", trueFalseText(r.enabled));
    if (!r.mapRouter.isEmpty() && !r.mapSource.isEmpty() && !r.mapDestination.isEmpty()) {
      w.add("MapRouter", r.mapRouter);
      w.add("MapSource", r.mapSource);
      w.add("MapDestination", r.mapDestination);
    }
    writeHardwareGroup(w, r, serverMode);
  } else if (label) {
    writeFontAndState(w, label->font, r);
    w.addColorValue("ForeColor", label->foreColor);
    writeHardwareGroup(w, r, serverMode);
  } else if (web) {
    w.add("WebURL", r.webURL);
  } else if (meter) {
    writeMeterSettings(w, r);
    w.addColor("LevelLineColor", r.levelLineColor);
    w.addNumber("DecayRate", r.decayRate);
    w.addNumber("CenterPad", r.centerPad);
  } else if (fader) {
    writeMeterSettings(w, r);
    w.add("LevelLineColor", r.levelLineColor);
    w.addNumber("DecayRate", r.decayRate);
    w.addFloat("FaderNominal", r.faderNominal);
    w.add("HideGainValue", trueFalseText(r.hideGainValue));
  }
}

// The first element of that name (exactly) below the element, depth first.
XmlNode *firstDescendant(XmlNode &element, QStringView name) {
  for (XmlNode &c : element.children) {
    if (!c.isElement()) continue;
    if (c.name == name) return &c;
    if (XmlNode *found = firstDescendant(c, name)) return found;
  }
  return nullptr;
}

constexpr int kControlIndent = 4;

}  // namespace

void checkNameAndCaption(XmlNode &element, const QString &name) {
  for (const QString &tag : {QStringLiteral("Name"), QStringLiteral("Caption")})
    if (!firstDescendant(element, tag)) element.children.push_back(XmlNode::element(tag));
  // Found again: adding may have moved them.
  XmlNode *nameElement = firstDescendant(element, u"Name");
  XmlNode *captionElement = firstDescendant(element, u"Caption");
  if (elementText(*nameElement).isEmpty()) setElementText(*nameElement, name);
  if (elementText(*captionElement).isEmpty()) setElementText(*captionElement, name);
  const XmlNode *type = firstDescendant(element, u"Type");
  if (type && elementText(*type) == QLatin1String("CodecControl"))
    setElementText(*nameElement, name);
}

namespace {

// Kept text among the controls: as read, on its own line.
template <class Writer>
void putKeptLine(Writer &writer, const QString &text) {
  writer.blanks(kControlIndent);
  writer.put(text);
  writer.put(QLatin1String("\r\n"));
}

template <class Writer>
void writeControl(Writer &writer, const ControlRecord &r, bool serverMode) {
  const DesignControl *control = r.control;
  if (!control) return;
  if (const auto *kept = ofKind<DesignKept>(control)) {
    if (!kept->source.isEmpty()) putKeptLine(writer, keptControlText(*kept));
    return;
  }
  if (const auto *clock = ofKind<DesignClock>(control)) {
    // The clock serialises its own values; what it does not read is kept
    // as for the other kinds.
    XmlNode element = clockToElement(*clock);
    checkNameAndCaption(element, clock->tag);
    writer.startElement(u"Control", kControlIndent);
    {
      ElementWriter<Writer> w(writer, kControlIndent + 2);
      w.keep(r.foreign);
      for (const XmlNode &child : element.children)
        if (child.isElement()) w.add(QStringView(child.name), elementText(child));
    }
    writer.endElement(u"Control", kControlIndent);
    return;
  }
  writer.startElement(u"Control", kControlIndent);
  {
    ElementWriter<Writer> w(writer, kControlIndent + 2);
    writeControlChildren(w, control, r, serverMode);
  }
  writer.endElement(u"Control", kControlIndent);
}

template <class Writer>
void writePanel(Writer &writer, const PanelModel &panel, bool serverMode, const QString &version) {
  const auto &records = panel.panelRecord.records;
  writer.reserveTotal(1024 + static_cast<qsizetype>(records.size()) * 1200);
  writer.startElement(u"Panel", 0);
  ElementWriter<Writer> w(writer, 2);
  w.keep(panel.panelRecord.foreign);
  w.add("Name", panel.canvas.tag);
  // Window sizes are whole twips; their exact decimal text reads back alike.
  w.addNumber("Width", panel.width);
  w.addNumber("Height", panel.height);
  w.addColorValue("BackColor", panel.canvas.backColor);
  w.addColorValue("ForeColor", panel.canvas.foreColor);
  w.add("Picture", panel.panelRecord.picture);
  w.add("OrigPicturePath", panel.panelRecord.pictureSourcePath);
  w.add("OnLoad", panel.panelRecord.onLoad);
  w.add("DefaultPicturePath", panel.defaultPictureFolder);
  w.add("Caption", panel.caption);

  const qsizetype listStart = writer.size();
  writer.startElement(u"ControlList", 2);
  const qsizetype firstControl = writer.size();
  const auto &kept = panel.panelRecord.foreignControls;
  auto nextKept = kept.begin();
  auto putKeptUpTo = [&](size_t position) {
    for (; nextKept != kept.end() && nextKept->position <= position; ++nextKept)
      putKeptLine(writer, nextKept->text);
  };
  for (size_t k = 0; k < records.size(); ++k) {
    putKeptUpTo(k);
    if (records[k]) writeControl(writer, *records[k], serverMode);
  }
  putKeptUpTo(std::numeric_limits<size_t>::max());
  if (writer.size() == firstControl) {
    writer.truncate(listStart);
    writer.textElement(u"ControlList", QStringView(), 2);
  } else {
    writer.endElement(u"ControlList", 2);
  }
  // Kept elements whose known neighbour this writer does not write go last.
  w.finishExcept(u"version");
  w.add("Version", version);
  w.finish();
  writer.put(QLatin1String("</Panel>"));
}

}  // namespace

void controlToXML(XmlWriter &writer, const ControlRecord &record, bool serverMode) {
  writeControl(writer, record, serverMode);
}

QString buildPanelDocument(const PanelModel &panel, bool serverMode) {
  XmlWriter writer;
  writePanel(writer, panel, serverMode, DateTimeStamp::formattedNow());
  return writer.take();
}

QByteArray buildPanelFile(const PanelModel &panel, bool serverMode, const QString &version) {
  XmlFileWriter writer;
  writePanel(writer, panel, serverMode, version);
  writer.put(QLatin1String("\r\n"));
  return writer.take();
}

void insertVersionIntoDocument(XmlDocument &doc, const QString &version) {
  XmlNode *root = doc.root();
  if (!root) return;
  for (XmlNode &c : root->children)
    if (c.isElement() && c.name.compare(QLatin1String("version"), Qt::CaseInsensitive) == 0) {
      setElementText(c, version);
      return;
    }
  appendLaidOut(*root, {XmlNode::textElement(QStringLiteral("Version"), version)}, 0);
}

bool insertVersionIntoXML(QString &text, const QString &version) {
  XmlDocument doc;
  if (!doc.read(text)) return false;
  insertVersionIntoDocument(doc, version);
  text = doc.toText();
  return true;
}
