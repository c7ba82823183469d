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
      last = {value, FloatToText(value)};
    add(name, last.text);
  }

  // A stored colour text as the file holds it (fileColor).
  void addColor(const char *name, const QString &stored) {
    // "&H" and hex digits, the form colours are read into: the digits
    // trimmed and padded to six, as FormatColorText does. Other texts
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
void writeFontAndState(ElementWriter<W> &w, const FontSpec &font, const clsControlDetails &r) {
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

template <class W>
void writeHardwareGroup(ElementWriter<W> &w, const clsControlDetails &r, bool serverMode) {
  if (!serverMode || r.HWMapAoipSysName.isEmpty() || r.HWMapHostIP.isEmpty()) return;
  w.add("HWMapType", r.HWMapType);
  w.add("HWMapHostIP", r.HWMapHostIP);
  w.add("HWMapHostPort", r.HWMapHostPort);
  w.add("HWMapInternalName", r.HWMapInternalName());
  w.add("HWMapAoipSysName", r.HWMapAoipSysName);
}

template <class W>
void writeMeterSettings(ElementWriter<W> &w, const clsControlDetails &r) {
  w.addNumber("MeterRouterNumber", r.MeterRouterNumber);
  w.addNumber("MeterIONumber", r.MeterIONumber);
  w.add("MeterIsSource", boolText(r.MeterIsSource));
  w.add("MeterScale", meterScaleText(r.MeterScale));
  w.add("MeterStyle", meterStyleText(r.MeterStyle));
}

// The children of a control element of every kind but the clock.
template <class W>
void writeControlChildren(ElementWriter<W> &w, const DesignControl *control,
                          const clsControlDetails &r, bool serverMode) {
  const auto *button = ofKind<DesignButton>(control);
  const auto *label = ofKind<DesignLabel>(control);
  const auto *web = ofKind<DesignWebBrowser>(control);
  const auto *meter = ofKind<DesignMeter>(control);
  const auto *fader = ofKind<DesignMeterFader>(control);

  QString caption;
  if (button)
    caption = button->Caption;
  else if (label)
    caption = label->Text;
  else if (fader)
    caption = fader->MeterName;
  w.keep(r.foreign);
  w.add("Type", TypeName(*control));
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
    writeHardwareGroup(w, r, serverMode);
  } else if (label) {
    writeFontAndState(w, label->Font, r);
    w.addColorValue("ForeColor", label->ForeColor);
    writeHardwareGroup(w, r, serverMode);
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

void CheckNameAndCaption(XmlNode &element, const QString &name) {
  for (const QString &tag : {QStringLiteral("Name"), QStringLiteral("Caption")})
    if (!firstDescendant(element, tag)) element.children.push_back(XmlNode::element(tag));
  // Found again: adding may have moved them.
  XmlNode *nameElement = firstDescendant(element, u"Name");
  XmlNode *captionElement = firstDescendant(element, u"Caption");
  if (ElementText(*nameElement).isEmpty()) SetElementText(*nameElement, name);
  if (ElementText(*captionElement).isEmpty()) SetElementText(*captionElement, name);
  const XmlNode *type = firstDescendant(element, u"Type");
  if (type && ElementText(*type) == QLatin1String("CodecControl"))
    SetElementText(*nameElement, name);
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
void writeControl(Writer &writer, const clsControlDetails &r, bool serverMode) {
  const DesignControl *control = r.cntrlObject;
  if (!control) return;
  if (const auto *kept = ofKind<DesignKept>(control)) {
    if (!kept->Source.isEmpty()) putKeptLine(writer, KeptControlText(*kept));
    return;
  }
  if (const auto *clock = ofKind<DesignClock>(control)) {
    // The clock serialises its own values; what it does not read is kept
    // as for the other kinds.
    XmlNode element = ClockToElement(*clock);
    CheckNameAndCaption(element, clock->Tag);
    writer.startElement(u"Control", kControlIndent);
    {
      ElementWriter<Writer> w(writer, kControlIndent + 2);
      w.keep(r.foreign);
      for (const XmlNode &child : element.children)
        if (child.isElement()) w.add(QStringView(child.name), ElementText(child));
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
  const auto &records = panel.PanelDetails.CollControls;
  writer.reserveTotal(1024 + static_cast<qsizetype>(records.size()) * 1200);
  writer.startElement(u"Panel", 0);
  ElementWriter<Writer> w(writer, 2);
  w.keep(panel.PanelDetails.foreign);
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

  const qsizetype listStart = writer.size();
  writer.startElement(u"ControlList", 2);
  const qsizetype firstControl = writer.size();
  const auto &kept = panel.PanelDetails.foreignControls;
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

void ControlToXML(XmlWriter &writer, const clsControlDetails &record, bool serverMode) {
  writeControl(writer, record, serverMode);
}

QString BuildPanelDocument(const PanelModel &panel, bool serverMode) {
  XmlWriter writer;
  writePanel(writer, panel, serverMode, DateTimeStamp::GetFormattedNow());
  return writer.take();
}

QByteArray BuildPanelFile(const PanelModel &panel, bool serverMode, const QString &version) {
  XmlFileWriter writer;
  writePanel(writer, panel, serverMode, version);
  writer.put(QLatin1String("\r\n"));
  return writer.take();
}

void InsertVersionIntoDocument(XmlDocument &doc, const QString &version) {
  XmlNode *root = doc.root();
  if (!root) return;
  for (XmlNode &c : root->children)
    if (c.isElement() && c.name.compare(QLatin1String("version"), Qt::CaseInsensitive) == 0) {
      SetElementText(c, version);
      return;
    }
  AppendLaidOut(*root, {XmlNode::textElement(QStringLiteral("Version"), version)}, 0);
}

bool InsertVersionIntoXML(QString &text, const QString &version) {
  XmlDocument doc;
  if (!doc.read(text)) return false;
  InsertVersionIntoDocument(doc, version);
  text = doc.toText();
  return true;
}
