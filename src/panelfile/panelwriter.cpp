#include "panelfile/panelwriter.h"

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

QString hexText(qint32 value) { return QString::number(static_cast<quint32>(value), 16).toUpper(); }

// Stored colour texts without a prefix are taken as hexadecimal when they
// read as such ("FF00FF", "123"); names and prefixed texts as they are.
QString fileColor(const QString &stored) { return FormatColorText(HexPrefixedIfHex(stored)); }

// Line breaks of captions travel as the two characters "\n".
QString captionText(const QString &text) {
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

// Receives the text children of one element in file order.
class ElementWriter {
 public:
  virtual ~ElementWriter() = default;
  virtual void add(QLatin1String name, const QString &text) = 0;
  void add(const char *name, const QString &text) { add(QLatin1String(name), text); }
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
// large panel is saved without building and walking a DOM.
class TextElementWriter : public ElementWriter {
 public:
  TextElementWriter(QString &out, int indent) : m_out(out), m_indent(indent, u' ') {}
  using ElementWriter::add;
  void add(QLatin1String name, const QString &text) override { put(name, text); }
  void add(const QString &name, const QString &text) { put(name, text); }

 private:
  template <class Name>
  void put(const Name &name, const QString &text) {
    m_out += m_indent;
    m_out += u'<';
    m_out += name;
    if (text.isEmpty()) {
      m_out += QLatin1String("/>\r\n");
      return;
    }
    m_out += u'>';
    AppendEscapedXmlText(m_out, text);
    m_out += QLatin1String("</");
    m_out += name;
    m_out += QLatin1String(">\r\n");
  }

  QString &m_out;
  const QString m_indent;
};

void writeFontAndState(ElementWriter &w, const FontSpec &font, const clsControlDetails &r) {
  w.add("FontName", font.name);
  w.add("FontSize", FloatToText(static_cast<float>(font.size)));
  w.add("FontBold", boolText(font.bold));
  w.add("FontUnderline", boolText(font.underline));
  w.add("FontItalic", boolText(font.italic));
  w.add("BackColorOn", fileColor(r.BackColorOn));
  w.add("BackColorOff", fileColor(r.BackColorOff));
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
  w.add("MeterRouterNumber", QString::number(r.MeterRouterNumber));
  w.add("MeterIONumber", QString::number(r.MeterIONumber));
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
  w.add("Left", QString::number(control->Left));
  w.add("Top", QString::number(control->Top));
  w.add("Width", QString::number(control->Width));
  w.add("Height", QString::number(control->Height));

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
    w.add("ForeColor", ColorValueToText(label->ForeColor));
    writeHardwareGroup(w, r);
  } else if (web) {
    w.add("WebURL", r.WebURL);
  } else if (meter) {
    writeMeterSettings(w, r);
    w.add("LevelLineColor", fileColor(r.LevelLineColor));
    w.add("DecayRate", QString::number(r.DecayRate));
    w.add("CenterPad", QString::number(r.CenterPad));
  } else if (fader) {
    writeMeterSettings(w, r);
    w.add("LevelLineColor", r.LevelLineColor);
    w.add("DecayRate", QString::number(r.DecayRate));
    w.add("FaderNominal", FloatToText(r.FaderNominal));
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
  w.add("Width", QString::number(panel.Width));
  w.add("Height", QString::number(panel.Height));
  w.add("BackColor", FormatColorText(QStringLiteral("&H") + hexText(panel.pictMain.BackColor)));
  w.add("ForeColor", FormatColorText(QStringLiteral("&H") + hexText(panel.pictMain.ForeColor)));
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

bool InsertVersionIntoXML(QString &text, const QString &version) {
  QDomDocument doc;
  if (!ParseXml(text, doc)) return false;
  InsertVersionIntoDocument(doc, version);
  IndentXML(doc);
  text = SerializeXml(doc);
  return true;
}
