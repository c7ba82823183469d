#include "components/clockxml.h"

#include <QLocale>
#include <cmath>

#include "model/colors.h"
#include "model/designcontrol.h"
#include "model/numbers.h"
#include "model/xmldoc.h"

namespace {

// Font sizes outside this range are treated as unreadable values.
constexpr double kMaxFontSize = 1000.0;

QString boolText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

QString doubleText(double value) {
  return QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest);
}

bool readColor(const QString &text, qint32 *out) {
  qint64 v = 0;
  if (!IsLooseNumeric(text.trimmed(), &v)) return false;
  *out = static_cast<qint32>(v);
  return true;
}

bool readFontSize(const QString &text, double *out) {
  QString t = text.trimmed();
  t.replace(u',', u'.');
  bool ok = false;
  const double d = QLocale::c().toDouble(t, &ok);
  if (!ok || !std::isfinite(d) || d <= 0.0 || d > kMaxFontSize) return false;
  *out = d;
  return true;
}

bool readExtent(const QString &text, qint32 *out) {
  qint32 v = 0;
  if (!ReadInt32(text, &v) || v < 0) return false;
  *out = v;
  return true;
}

// Applies one child; unknown names and unreadable values change nothing.
void applyChild(DesignClock &c, const QString &name, const QString &text) {
  const QString n = name.trimmed().toLower();
  auto is = [&n](const char *key) { return n == QLatin1String(key); };
  if (is("left"))
    ReadInt32(text, &c.Left);
  else if (is("top"))
    ReadInt32(text, &c.Top);
  else if (is("width"))
    readExtent(text, &c.Width);
  else if (is("height"))
    readExtent(text, &c.Height);
  else if (is("backgroundcolor"))
    readColor(text, &c.BackgroundColor);
  else if (is("foregroundcolor"))
    readColor(text, &c.ForegroundColor);
  else if (is("facevisible"))
    ReadBool(text, &c.FaceVisible);
  else if (is("digital"))
    ReadBool(text, &c.Digital);
  else if (is("military"))
    ReadBool(text, &c.Military);
  else if (is("backgroundpicture"))
    c.BackGroundPicture = text;
  else if (is("backgroundimagestretch"))
    ReadBool(text, &c.BackgroundImageStretch);
  else if (is("fontname"))
    c.FontName = text;
  else if (is("fontsize"))
    readFontSize(text, &c.FontSize);
  else if (is("fontbold"))
    ReadBool(text, &c.FontBold);
  else if (is("fontunderline"))
    ReadBool(text, &c.FontUnderline);
  else if (is("fontitalic"))
    ReadBool(text, &c.FontItalic);
  else if (is("longhashcolor"))
    readColor(text, &c.LongHashColor);
  else if (is("shorthashcolor"))
    readColor(text, &c.ShortHashColor);
  else if (is("facebordercolor"))
    readColor(text, &c.FaceBorderColor);
  else if (is("offset"))
    ReadInt32(text, &c.OffSet);
  else if (is("facenumbers"))
    ReadBool(text, &c.FaceNumbers);
  else if (is("elementhands"))
    ReadBool(text, &c.ElementHands);
}

}  // namespace

QDomElement ClockToElement(const DesignClock &c, QDomDocument &doc) {
  QDomElement root = doc.createElement(QStringLiteral("Control"));
  auto add = [&doc, &root](const char *name, const QString &text) {
    AppendTextElement(doc, root, QString::fromLatin1(name), text);
  };
  add("Type", QStringLiteral("LKClock"));
  add("Name", c.Tag);
  add("Caption", c.Tag);
  add("Left", QString::number(c.Left));
  add("Top", QString::number(c.Top));
  add("Width", QString::number(c.Width));
  add("Height", QString::number(c.Height));
  add("BackgroundColor", ColorValueToText(c.BackgroundColor));
  add("ForegroundColor", ColorValueToText(c.ForegroundColor));
  add("FaceVisible", boolText(c.FaceVisible));
  add("Digital", boolText(c.Digital));
  add("Military", boolText(c.Military));
  add("BackGroundPicture", c.BackGroundPicture);
  add("BackgroundImageStretch", boolText(c.BackgroundImageStretch));
  add("FontName", c.FontName);
  add("FontSize", doubleText(c.FontSize));
  add("FontBold", boolText(c.FontBold));
  add("FontUnderline", boolText(c.FontUnderline));
  add("FontItalic", boolText(c.FontItalic));
  add("LongHashColor", ColorValueToText(c.LongHashColor));
  add("ShortHashColor", ColorValueToText(c.ShortHashColor));
  add("FaceBorderColor", ColorValueToText(c.FaceBorderColor));
  add("OffSet", QString::number(c.OffSet));
  add("FaceNumbers", boolText(c.FaceNumbers));
  add("ElementHands", boolText(c.ElementHands));
  return root;
}

QString ClockToXML(const DesignClock &clock) {
  QDomDocument doc;
  doc.appendChild(ClockToElement(clock, doc));
  return SerializeXml(doc);
}

bool ClockIngestElement(DesignClock &clock, const QDomElement &element) {
  if (element.isNull()) return false;
  for (QDomElement child = element.firstChildElement(); !child.isNull();
       child = child.nextSiblingElement())
    applyChild(clock, child.tagName(), ElementText(child));
  return true;
}

void ClockIngestTree(DesignClock &clock, const XmlElement &element) {
  for (const XmlElement &child : element.children) applyChild(clock, child.name, child.text);
}

bool ClockIngestXML(DesignClock &clock, const QString &xml) {
  QDomDocument doc;
  if (!ParseXml(xml, doc)) return false;
  return ClockIngestElement(clock, doc.documentElement());
}
