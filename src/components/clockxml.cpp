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

QString doubleText(double value) {
  return QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest);
}

bool readColor(const QString &text, qint32 *out) {
  qint64 v = 0;
  if (!isLooseNumeric(text.trimmed(), &v)) return false;
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
  if (!readInt32(text, &v) || v < 0) return false;
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

void clockIngestProperty(DesignClock &c, QStringView name, const QString &text) {
  switch (propertyOf(name)) {
    case Property::Left:
      readInt32(text, &c.left);
      break;
    case Property::Top:
      readInt32(text, &c.top);
      break;
    case Property::Width:
      readExtent(text, &c.width);
      break;
    case Property::Height:
      readExtent(text, &c.height);
      break;
    case Property::BackgroundColor:
      readColor(text, &c.backgroundColor);
      break;
    case Property::ForegroundColor:
      readColor(text, &c.foregroundColor);
      break;
    case Property::FaceVisible:
      readBool(text, &c.faceVisible);
      break;
    case Property::Digital:
      readBool(text, &c.digital);
      break;
    case Property::Military:
      readBool(text, &c.military);
      break;
    case Property::BackgroundPicture:
      c.backGroundPicture = text;
      break;
    case Property::BackgroundImageStretch:
      readBool(text, &c.backgroundImageStretch);
      break;
    case Property::FontName:
      c.fontName = text;
      break;
    case Property::FontSize:
      readFontSize(text, &c.fontSize);
      break;
    case Property::FontBold:
      readBool(text, &c.fontBold);
      break;
    case Property::FontUnderline:
      readBool(text, &c.fontUnderline);
      break;
    case Property::FontItalic:
      readBool(text, &c.fontItalic);
      break;
    case Property::LongHashColor:
      readColor(text, &c.longHashColor);
      break;
    case Property::ShortHashColor:
      readColor(text, &c.shortHashColor);
      break;
    case Property::FaceBorderColor:
      readColor(text, &c.faceBorderColor);
      break;
    case Property::OffSet:
      readInt32(text, &c.offSet);
      break;
    case Property::FaceNumbers:
      readBool(text, &c.faceNumbers);
      break;
    case Property::ElementHands:
      readBool(text, &c.elementHands);
      break;
    case Property::None:
      break;
  }
}

bool isClockChild(QStringView name) {
  static const NameTable<bool> own({{"type", true}, {"name", true}, {"caption", true}}, false);
  return propertyOf(name) != Property::None || own.find(name.trimmed());
}

XmlNode clockToElement(const DesignClock &c) {
  XmlNode root = XmlNode::element(QStringLiteral("Control"));
  root.children.reserve(25);
  auto add = [&root](const char *name, const QString &text) {
    root.children.push_back(XmlNode::textElement(QString::fromLatin1(name), text));
  };
  add("Type", QStringLiteral("LKClock"));
  add("Name", c.tag);
  add("Caption", c.tag);
  add("Left", QString::number(c.left));
  add("Top", QString::number(c.top));
  add("Width", QString::number(c.width));
  add("Height", QString::number(c.height));
  add("BackgroundColor", colorValueToText(c.backgroundColor));
  add("ForegroundColor", colorValueToText(c.foregroundColor));
  add("FaceVisible", trueFalseText(c.faceVisible));
  add("Digital", trueFalseText(c.digital));
  add("Military", trueFalseText(c.military));
  add("BackGroundPicture", c.backGroundPicture);
  add("BackgroundImageStretch", trueFalseText(c.backgroundImageStretch));
  add("FontName", c.fontName);
  add("FontSize", doubleText(c.fontSize));
  add("FontBold", trueFalseText(c.fontBold));
  add("FontUnderline", trueFalseText(c.fontUnderline));
  add("FontItalic", trueFalseText(c.fontItalic));
  add("LongHashColor", colorValueToText(c.longHashColor));
  add("ShortHashColor", colorValueToText(c.shortHashColor));
  add("FaceBorderColor", colorValueToText(c.faceBorderColor));
  add("OffSet", QString::number(c.offSet));
  add("FaceNumbers", trueFalseText(c.faceNumbers));
  add("ElementHands", trueFalseText(c.elementHands));
  return root;
}

QString clockToXML(const DesignClock &clock) {
  XmlDocument doc;
  doc.nodes().push_back(clockToElement(clock));
  return doc.toText();
}

bool clockIngestXML(DesignClock &clock, const QString &xml) {
  XmlDocument doc;
  if (!doc.read(xml)) return false;
  for (const XmlNode &child : doc.root()->children)
    if (child.isElement()) clockIngestProperty(clock, child.name, elementText(child));
  return true;
}
