#include "panelfile/panelwriter.h"

#include <cctype>
#include <charconv>
#include <cstring>

#include "components/clockxml.h"
#include "components/datetimestamp.h"
#include "model/colors.h"
#include "model/designcontrol.h"
#include "model/numbers.h"
#include "model/panelmodel.h"
#include "model/settings.h"
#include "model/xmldoc.h"

namespace {

QString boolText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

// Stored colour texts without a prefix are taken as hexadecimal when they
// read as such ("FF00FF", "123"); names and prefixed texts as they are.
QString fileColor(const QString &stored) { return FormatColorText(HexPrefixedIfHex(stored)); }

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

// Receives the text children of one element in file order. Numbers and
// colours come as values, so that a writer can format them in place.
class ElementWriter {
 public:
  virtual ~ElementWriter() = default;
  virtual void add(QLatin1String name, const QString &text) = 0;
  void add(const char *name, const QString &text) { add(QLatin1String(name), text); }
  virtual void addNumber(const char *name, qint64 value) { add(name, QString::number(value)); }
  virtual void addFloat(const char *name, float value) { add(name, FloatToText(value)); }
  // A stored colour text as the file holds it (fileColor).
  virtual void addColor(const char *name, const QString &stored) { add(name, fileColor(stored)); }
  // A colour value as "&H" and at least six upper-case hex digits.
  virtual void addColorValue(const char *name, qint32 value) { add(name, ColorValueToText(value)); }
};

// Appends the children to an element of a document (clipboard documents).
class DomElementWriter : public ElementWriter {
 public:
  DomElementWriter(QDomDocument &doc, QDomElement &element) : m_doc(doc), m_element(element) {}
  using ElementWriter::add;
  void add(QLatin1String name, const QString &text) override {
    AppendTextElement(m_doc, m_element, name, text);
  }

 private:
  QDomDocument &m_doc;
  QDomElement &m_element;
};

// Writes the children straight as laid-out text, one per line, exactly as
// IndentXML and SerializeXml lay out the same elements of a document: a
// large panel is saved without building and walking a DOM. Numbers and
// colours are formatted straight into the output.
class TextElementWriter : public ElementWriter {
 public:
  TextElementWriter(QString &out, int indent) : m_out(out), m_indent(indent, u' ') {}
  using ElementWriter::add;
  void add(QLatin1String name, const QString &text) override { put(name, text); }
  void add(const QString &name, const QString &text) { put(name, text); }

  void addNumber(const char *name, qint64 value) override {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    putLatin1(QLatin1String(name), QLatin1String(digits, end - digits));
  }

  void addFloat(const char *name, float value) override {
    // Panels repeat a few font sizes; the text of the last value is kept.
    if (m_floatText.isNull() || std::memcmp(&value, &m_float, sizeof value) != 0) {
      m_float = value;
      m_floatText = FloatToText(value);
    }
    put(QLatin1String(name), m_floatText);
  }

  void addColor(const char *name, const QString &stored) override {
    // "&H" and hex digits, the form colours are read into: the digits
    // trimmed and padded to six, as FormatColorText does. Other texts
    // (names, bare numbers) take the general way.
    if (stored.size() <= 2 || !stored.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
      ElementWriter::addColor(name, stored);
      return;
    }
    const QStringView digits = QStringView(stored).mid(2).trimmed();
    startElement(QLatin1String(name));
    m_out += QLatin1String("&amp;H");
    for (qsizetype k = digits.size(); k < 6; ++k) m_out += u'0';
    AppendEscapedXmlText(m_out, digits);
    endElement(QLatin1String(name));
  }

  void addColorValue(const char *name, qint32 value) override {
    char digits[8];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, static_cast<quint32>(value), 16).ptr;
    for (char *c = digits; c != end; ++c) *c = static_cast<char>(std::toupper(*c));
    startElement(QLatin1String(name));
    m_out += QLatin1String("&amp;H");
    for (qsizetype k = end - digits; k < 6; ++k) m_out += u'0';
    m_out += QLatin1String(digits, end - digits);
    endElement(QLatin1String(name));
  }

 private:
  template <class Name>
  void startElement(const Name &name) {
    m_out += m_indent;
    m_out += u'<';
    m_out += name;
    m_out += u'>';
  }
  template <class Name>
  void endElement(const Name &name) {
    m_out += QLatin1String("</");
    m_out += name;
    m_out += QLatin1String(">\r\n");
  }
  template <class Name>
  void put(const Name &name, const QString &text) {
    if (text.isEmpty()) {
      m_out += m_indent;
      m_out += u'<';
      m_out += name;
      m_out += QLatin1String("/>\r\n");
      return;
    }
    startElement(name);
    AppendEscapedXmlText(m_out, text);
    endElement(name);
  }
  // Text that needs no escaping and is never empty.
  void putLatin1(QLatin1String name, QLatin1String text) {
    startElement(name);
    m_out += text;
    endElement(name);
  }

  QString &m_out;
  const QString m_indent;
  float m_float = 0;
  QString m_floatText;
};

void writeFontAndState(ElementWriter &w, const FontSpec &font, const clsControlDetails &r) {
  w.add("FontName", font.name);
  w.addFloat("FontSize", static_cast<float>(font.size));
  w.add("FontBold", boolText(font.bold));
  w.add("FontUnderline", boolText(font.underline));
  w.add("FontItalic", boolText(font.italic));
  w.addColor("BackColorOn", r.BackColorOn);
  w.addColor("BackColorOff", r.BackColorOff);
  w.add("Flash", r.Flash ? QStringLiteral("On") : QStringLiteral("Off"));
  w.add("State", r.State);
}

void writeHardwareGroup(ElementWriter &w, const clsControlDetails &r) {
  if (!Settings().boolServerMode || r.HWMapAoipSysName.isEmpty() || r.HWMapHostIP.isEmpty()) return;
  w.add("HWMapType", r.HWMapType);
  w.add("HWMapHostIP", r.HWMapHostIP);
  w.add("HWMapHostPort", r.HWMapHostPort);
  w.add("HWMapInternalName", r.HWMapInternalName());
  w.add("HWMapAoipSysName", r.HWMapAoipSysName);
}

void writeMeterSettings(ElementWriter &w, const clsControlDetails &r) {
  w.addNumber("MeterRouterNumber", r.MeterRouterNumber);
  w.addNumber("MeterIONumber", r.MeterIONumber);
  w.add("MeterIsSource", boolText(r.MeterIsSource));
  w.add("MeterScale", meterScaleText(r.MeterScale));
  w.add("MeterStyle", meterStyleText(r.MeterStyle));
}

// The children of a control element of every kind but the clock.
void writeControlChildren(ElementWriter &w, const DesignControl *control,
                          const clsControlDetails &r) {
  const auto *button = As<DesignButton>(control);
  const auto *label = As<DesignLabel>(control);
  const auto *web = As<DesignWebBrowser>(control);
  const auto *meter = As<DesignMeter>(control);
  const auto *fader = As<DesignMeterFader>(control);

  QString caption;
  if (button)
    caption = button->Caption;
  else if (label)
    caption = label->Text;
  else if (fader)
    caption = fader->MeterName;
  w.add("Type", TypeName(control->kind()));
  w.add("Name", control->Tag);
  w.add("Caption", captionText(caption));
  w.addNumber("Left", control->Left);
  w.addNumber("Top", control->Top);
  w.addNumber("Width", control->Width);
  w.addNumber("Height", control->Height);

  if (button) {
    writeFontAndState(w, button->Font, r);
    w.add("Click", r.Click);
    w.add("MouseDown", r.MouseDown);
    w.add("MouseUp", r.MouseUp);
    w.add("PictureUpOff", r.PictureUpOff);
    w.add("PictureUpOffOrigPath", r.strPictureUpOffOrigPath);
    w.add("PictureUpOn", r.PictureUpOn);
    w.add("PictureUpOnOrigPath", r.strPictureUpOnOrigPath);
    w.add("PictureDownOff", r.PictureDownOff);
    w.add("PictureDownOffOrigPath", r.strPictureDownOffOrigPath);
    w.add("PictureDownOn", r.PictureDownOn);
    w.add("PictureDownOnOrigPath", r.strPictureDownOnOrigPath);
    w.add("Enabled", boolText(r.Enabled));
    if (!r.MapRouter.isEmpty() && !r.MapSource.isEmpty() && !r.MapDestination.isEmpty()) {
      w.add("MapRouter", r.MapRouter);
      w.add("MapSource", r.MapSource);
      w.add("MapDestination", r.MapDestination);
    }
    writeHardwareGroup(w, r);
  } else if (label) {
    writeFontAndState(w, label->Font, r);
    w.addColorValue("ForeColor", label->ForeColor);
    writeHardwareGroup(w, r);
  } else if (web) {
    w.add("WebURL", r.WebURL);
  } else if (meter) {
    writeMeterSettings(w, r);
    w.addColor("LevelLineColor", r.LevelLineColor);
    w.addNumber("DecayRate", r.DecayRate);
    w.addNumber("CenterPad", r.CenterPad);
  } else if (fader) {
    writeMeterSettings(w, r);
    w.add("LevelLineColor", r.LevelLineColor);
    w.addNumber("DecayRate", r.DecayRate);
    w.addFloat("FaderNominal", r.FaderNominal);
    w.add("HideGainValue", boolText(r.HideGainValue));
  }
}

void setElementText(QDomDocument doc, QDomElement &element, const QString &text) {
  while (!element.firstChild().isNull()) element.removeChild(element.firstChild());
  if (!text.isEmpty()) element.appendChild(doc.createTextNode(text));
}

}  // namespace

void CheckNameAndCaption(QDomElement &element, const QString &name) {
  QDomDocument doc = element.ownerDocument();
  auto first = [&](const QString &tag) {
    QDomElement e = element.elementsByTagName(tag).item(0).toElement();
    if (e.isNull()) e = AppendTextElement(doc, element, tag, QString());
    return e;
  };
  QDomElement nameElement = first(QStringLiteral("Name"));
  QDomElement captionElement = first(QStringLiteral("Caption"));
  if (ElementText(nameElement).isEmpty()) setElementText(doc, nameElement, name);
  if (ElementText(captionElement).isEmpty()) setElementText(doc, captionElement, name);
  const QDomElement type = element.elementsByTagName(QStringLiteral("Type")).item(0).toElement();
  if (!type.isNull() && ElementText(type) == QLatin1String("CodecControl"))
    setElementText(doc, nameElement, name);
}

void ControlToXML(QDomDocument &doc, QDomElement &parent, const clsControlDetails &r) {
  const DesignControl *control = r.cntrlObject;
  if (!control) return;
  if (const auto *clock = As<DesignClock>(control)) {
    QDomElement element = ClockToElement(*clock, doc);
    CheckNameAndCaption(element, clock->Tag);
    parent.appendChild(element);
    return;
  }

  QDomElement element = doc.createElement(QStringLiteral("Control"));
  parent.appendChild(element);
  DomElementWriter w(doc, element);
  writeControlChildren(w, control, r);
}

QString BuildPanelDocument(const PanelModel &panel) {
  const auto &records = panel.PanelDetails.CollControls;
  QString out;
  out.reserve(1024 + static_cast<qsizetype>(records.size()) * 1200);
  out += QLatin1String("<Panel>\r\n");
  TextElementWriter w(out, 2);
  w.add("Name", panel.pictMain.Tag);
  // Window sizes are whole twips; their exact decimal text reads back alike.
  w.addNumber("Width", panel.Width);
  w.addNumber("Height", panel.Height);
  w.addColorValue("BackColor", panel.pictMain.BackColor);
  w.addColorValue("ForeColor", panel.pictMain.ForeColor);
  w.add("Picture", panel.PanelDetails.strPicture);
  w.add("OrigPicturePath", panel.PanelDetails.strPictureOrigPath);
  w.add("OnLoad", panel.PanelDetails.strOnload);
  w.add("DefaultPicturePath", panel.strDefaultPictureLoc);
  w.add("Caption", panel.Caption);

  const qsizetype listStart = out.size();
  out += QLatin1String("  <ControlList>\r\n");
  const qsizetype firstControl = out.size();
  TextElementWriter children(out, 6);
  for (const auto &record : records) {
    const DesignControl *control = record ? record->cntrlObject : nullptr;
    if (!control) continue;
    if (const auto *clock = As<DesignClock>(control)) {
      // The clock serialises itself; its element is small, so it is built
      // as a document element and copied out child by child.
      QDomDocument doc;
      QDomElement element = ClockToElement(*clock, doc);
      CheckNameAndCaption(element, clock->Tag);
      const QString tag = element.tagName();
      out += QLatin1String("    <") + tag + QLatin1String(">\r\n");
      for (QDomElement c = element.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
        children.add(c.tagName(), ElementText(c));
      out += QLatin1String("    </") + tag + QLatin1String(">\r\n");
      continue;
    }
    out += QLatin1String("    <Control>\r\n");
    writeControlChildren(children, control, *record);
    out += QLatin1String("    </Control>\r\n");
  }
  if (out.size() == firstControl) {
    out.truncate(listStart);
    out += QLatin1String("  <ControlList/>\r\n");
  } else {
    out += QLatin1String("  </ControlList>\r\n");
  }
  w.add("Version", DateTimeStamp::GetFormattedNow());
  out += QLatin1String("</Panel>");
  return out;
}

void InsertVersionIntoDocument(QDomDocument &doc, const QString &version) {
  QDomElement root = doc.documentElement();
  QDomElement target;
  for (QDomElement c = root.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
    if (c.tagName().compare(QLatin1String("version"), Qt::CaseInsensitive) == 0) {
      target = c;
      break;
    }
  if (target.isNull())
    AppendTextElement(doc, root, QStringLiteral("Version"), version);
  else
    setElementText(doc, target, version);
}

void InsertVersionIntoTree(XmlElement &root, const QString &version) {
  for (XmlElement &c : root.children)
    if (c.name.compare(QLatin1String("version"), Qt::CaseInsensitive) == 0) {
      c.children.clear();
      c.text = version;
      return;
    }
  XmlElement &e = root.children.emplace_back();
  e.name = QStringLiteral("Version");
  e.text = version;
}

bool InsertVersionIntoXML(QString &text, const QString &version) {
  QDomDocument doc;
  if (!ParseXml(text, doc)) return false;
  InsertVersionIntoDocument(doc, version);
  IndentXML(doc);
  text = SerializeXml(doc);
  return true;
}
