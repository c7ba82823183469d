#include "components/clockxml.h"

#include <QLocale>
#include <cmath>

#include "model/colors.h"
#include "model/designcontrol.h"
#include "model/nametable.h"
#include "model/numbers.h"
#include "model/xmltree.h"

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

}  // namespace

namespace {
enum class Property {
  None,
  Left,
  Top,
  Width,
  Height,
  BackgroundColor,
  ForegroundColor,
  FaceVisible,
  Digital,
  Military,
  BackgroundPicture,
  BackgroundImageStretch,
  FontName,
  FontSize,
  FontBold,
  FontUnderline,
  FontItalic,
  LongHashColor,
  ShortHashColor,
  FaceBorderColor,
  OffSet,
  FaceNumbers,
  ElementHands,
};

Property propertyOf(QStringView name) {
  static const NameTable<Property> table(
      {{"left", Property::Left},
       {"top", Property::Top},
       {"width", Property::Width},
       {"height", Property::Height},
       {"backgroundcolor", Property::BackgroundColor},
       {"foregroundcolor", Property::ForegroundColor},
       {"facevisible", Property::FaceVisible},
       {"digital", Property::Digital},
       {"military", Property::Military},
       {"backgroundpicture", Property::BackgroundPicture},
       {"backgroundimagestretch", Property::BackgroundImageStretch},
       {"fontname", Property::FontName},
       {"fontsize", Property::FontSize},
       {"fontbold", Property::FontBold},
       {"fontunderline", Property::FontUnderline},
       {"fontitalic", Property::FontItalic},
       {"longhashcolor", Property::LongHashColor},
       {"shorthashcolor", Property::ShortHashColor},
       {"facebordercolor", Property::FaceBorderColor},
       {"offset", Property::OffSet},
       {"facenumbers", Property::FaceNumbers},
       {"elementhands", Property::ElementHands}},
      Property::None);
  return table.find(name.trimmed());
}
}  // namespace

void ClockIngestProperty(DesignClock &c, QStringView name, const QString &text) {
  switch (propertyOf(name)) {
    case Property::Left:
      ReadInt32(text, &c.Left);
      break;
    case Property::Top:
      ReadInt32(text, &c.Top);
      break;
    case Property::Width:
      readExtent(text, &c.Width);
      break;
    case Property::Height:
      readExtent(text, &c.Height);
      break;
    case Property::BackgroundColor:
      readColor(text, &c.BackgroundColor);
      break;
    case Property::ForegroundColor:
      readColor(text, &c.ForegroundColor);
      break;
    case Property::FaceVisible:
      ReadBool(text, &c.FaceVisible);
      break;
    case Property::Digital:
      ReadBool(text, &c.Digital);
      break;
    case Property::Military:
      ReadBool(text, &c.Military);
      break;
    case Property::BackgroundPicture:
      c.BackGroundPicture = text;
      break;
    case Property::BackgroundImageStretch:
      ReadBool(text, &c.BackgroundImageStretch);
      break;
    case Property::FontName:
      c.FontName = text;
      break;
    case Property::FontSize:
      readFontSize(text, &c.FontSize);
      break;
    case Property::FontBold:
      ReadBool(text, &c.FontBold);
      break;
    case Property::FontUnderline:
      ReadBool(text, &c.FontUnderline);
      break;
    case Property::FontItalic:
      ReadBool(text, &c.FontItalic);
      break;
    case Property::LongHashColor:
      readColor(text, &c.LongHashColor);
      break;
    case Property::ShortHashColor:
      readColor(text, &c.ShortHashColor);
      break;
    case Property::FaceBorderColor:
      readColor(text, &c.FaceBorderColor);
      break;
    case Property::OffSet:
      ReadInt32(text, &c.OffSet);
      break;
    case Property::FaceNumbers:
      ReadBool(text, &c.FaceNumbers);
      break;
    case Property::ElementHands:
      ReadBool(text, &c.ElementHands);
      break;
    case Property::None:
      break;
  }
}

bool IsClockChild(QStringView name) {
  static const NameTable<bool> own({{"type", true}, {"name", true}, {"caption", true}}, false);
  return propertyOf(name) != Property::None || own.find(name.trimmed());
}

XmlNode ClockToElement(const DesignClock &c) {
  XmlNode root = XmlNode::element(QStringLiteral("Control"));
  root.children.reserve(25);
  auto add = [&root](const char *name, const QString &text) {
    root.children.push_back(XmlNode::textElement(QString::fromLatin1(name), text));
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
  XmlDocument doc;
  doc.nodes().push_back(ClockToElement(clock));
  return doc.toText();
}

bool ClockIngestXML(DesignClock &clock, const QString &xml) {
  XmlDocument doc;
  if (!doc.read(xml)) return false;
  for (const XmlNode &child : doc.root()->children)
    if (child.isElement()) ClockIngestProperty(clock, child.name, ElementText(child));
  return true;
}
