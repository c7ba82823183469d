#include "components/clockxml.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "model/designcontrol.h"
#include "model/xmltree.h"
#include "model/xmlwriter.h"

namespace {

// A clock whose every property differs from the defaults.
DesignClock unusualClock() {
  DesignClock c;
  c.tag = QStringLiteral("Studio <A> & B");
  c.left = -120;
  c.top = 3000;
  c.width = 1630;
  c.height = 1645;
  c.backgroundColor = 0x0000FF;
  c.foregroundColor = 0x123456;
  c.faceVisible = false;
  c.digital = true;
  c.military = false;
  c.backGroundPicture = QStringLiteral("C:\\Pics\\face & dial.png");
  c.backgroundImageStretch = true;
  c.fontName = QStringLiteral("DejaVu Sans Mono");
  c.fontSize = 13.5;
  c.fontBold = false;
  c.fontUnderline = true;
  c.fontItalic = true;
  c.longHashColor = static_cast<qint32>(0x8000000F);  // a system colour
  c.shortHashColor = 0x00FF00;
  c.faceBorderColor = 0xABCDEF;
  c.offSet = -5;
  c.faceNumbers = false;
  c.elementHands = true;
  return c;
}

void expectSameClock(const DesignClock &a, const DesignClock &b) {
  EXPECT_EQ(a.left, b.left);
  EXPECT_EQ(a.top, b.top);
  EXPECT_EQ(a.width, b.width);
  EXPECT_EQ(a.height, b.height);
  EXPECT_EQ(a.backgroundColor, b.backgroundColor);
  EXPECT_EQ(a.foregroundColor, b.foregroundColor);
  EXPECT_EQ(a.faceVisible, b.faceVisible);
  EXPECT_EQ(a.digital, b.digital);
  EXPECT_EQ(a.military, b.military);
  EXPECT_EQ(a.backGroundPicture, b.backGroundPicture);
  EXPECT_EQ(a.backgroundImageStretch, b.backgroundImageStretch);
  EXPECT_EQ(a.fontName, b.fontName);
  EXPECT_EQ(a.fontSize, b.fontSize);
  EXPECT_EQ(a.fontBold, b.fontBold);
  EXPECT_EQ(a.fontUnderline, b.fontUnderline);
  EXPECT_EQ(a.fontItalic, b.fontItalic);
  EXPECT_EQ(a.longHashColor, b.longHashColor);
  EXPECT_EQ(a.shortHashColor, b.shortHashColor);
  EXPECT_EQ(a.faceBorderColor, b.faceBorderColor);
  EXPECT_EQ(a.offSet, b.offSet);
  EXPECT_EQ(a.faceNumbers, b.faceNumbers);
  EXPECT_EQ(a.elementHands, b.elementHands);
}

QString childText(const QString &xml, const QString &name) {
  XmlDocument doc;
  if (!doc.read(xml)) return QStringLiteral("<unparsed>");
  const XmlNode *child = findChildElement(*doc.root(), name.toLower());
  return child ? elementText(*child) : QString();
}

}  // namespace

TEST(ClockXml, EveryPropertyRoundTripsIntoADefaultClock) {
  const DesignClock original = unusualClock();
  DesignClock read;
  ASSERT_TRUE(clockIngestXML(read, clockToXML(original)));
  expectSameClock(original, read);
  EXPECT_TRUE(read.tag.isEmpty()) << "the name is set by the caller";

  // And back to the defaults, so no property is merely left alone.
  const DesignClock defaults;
  ASSERT_TRUE(clockIngestXML(read, clockToXML(defaults)));
  expectSameClock(defaults, read);
}

TEST(ClockXml, ElementLayoutAndValueTexts) {
  DesignClock c = unusualClock();
  c.backGroundPicture.clear();
  c.fontSize = 8.25;
  const QString xml = clockToXML(c);
  XmlDocument doc;
  ASSERT_TRUE(doc.read(xml));
  const XmlNode &root = *doc.root();
  EXPECT_EQ(root.name, "Control");

  QStringList names;
  for (const XmlNode &e : root.children)
    if (e.isElement()) names << e.name;
  EXPECT_EQ(names.mid(0, 7),
            QStringList({"Type", "Name", "Caption", "Left", "Top", "Width", "Height"}));
  EXPECT_EQ(names.size(), 7 + 18);

  EXPECT_EQ(childText(xml, "Type"), "LKClock");
  EXPECT_EQ(childText(xml, "Name"), c.tag);
  EXPECT_EQ(childText(xml, "Caption"), c.tag);
  EXPECT_EQ(childText(xml, "BackgroundColor"), "&H0000FF");
  EXPECT_EQ(childText(xml, "LongHashColor"), "&H8000000F");
  EXPECT_EQ(childText(xml, "Digital"), "True");
  EXPECT_EQ(childText(xml, "FaceVisible"), "False");
  EXPECT_EQ(childText(xml, "FontSize"), "8.25");
  EXPECT_EQ(childText(xml, "OffSet"), "-5");
  EXPECT_TRUE(xml.contains("<BackGroundPicture/>")) << qPrintable(xml);
}

TEST(ClockXml, DecimalPointWhateverTheLocale) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  DesignClock c;
  c.fontSize = 10.5;
  const QString xml = clockToXML(c);
  QLocale::setDefault(saved);
  EXPECT_EQ(childText(xml, "FontSize"), "10.5");
}

TEST(ClockXml, IngestToleratesCaseBlanksUnknownAndMalformedChildren) {
  const DesignClock before = unusualClock();
  DesignClock c = before;
  ASSERT_TRUE(clockIngestXML(c, QStringLiteral("<control>"
                                               "<TYPE>lkclock</TYPE>"
                                               "<Extra><Nested>1</Nested></Extra>"
                                               "<WIDTH> 2000 </WIDTH>"
                                               "<digital>false</digital>"
                                               "<fontsize>12,5</fontsize>"
                                               "<longhashcolor>&amp;hff</longhashcolor>"
                                               "<Height>tall</Height>"
                                               "<Top/>"
                                               "<OffSet>3.5</OffSet>"
                                               "<FaceNumbers>maybe</FaceNumbers>"
                                               "<ForegroundColor>purple</ForegroundColor>"
                                               "<FontSize>-4</FontSize>"
                                               "<FontName/>"
                                               "</control>")));
  EXPECT_EQ(c.width, 2000);
  EXPECT_FALSE(c.digital);
  EXPECT_EQ(c.fontSize, 12.5);
  EXPECT_EQ(c.longHashColor, 0xFF);
  EXPECT_TRUE(c.fontName.isEmpty()) << "an empty text is a value for a text property";
  // Malformed values keep what the clock had.
  EXPECT_EQ(c.height, before.height);
  EXPECT_EQ(c.top, before.top);
  EXPECT_EQ(c.offSet, before.offSet);
  EXPECT_EQ(c.faceNumbers, before.faceNumbers);
  EXPECT_EQ(c.foregroundColor, before.foregroundColor);
}

TEST(ClockXml, RefusesTextThatIsNotAnElement) {
  DesignClock c = unusualClock();
  for (const char *text :
       {"", "just text", "<Control><Width>5</Control>",
        "<!DOCTYPE x [<!ENTITY e \"1\">]><Control><Width>&e;</Width></Control>"}) {
    EXPECT_FALSE(clockIngestXML(c, QString::fromLatin1(text))) << text;
  }
  EXPECT_EQ(c.width, unusualClock().width);
}

TEST(ClockXml, IndentedElementStillReads) {
  // The panel writer lays the element out with line ends and blanks.
  XmlWriter writer;
  writeLaidOut(writer, clockToElement(unusualClock()), 4);
  DesignClock c;
  ASSERT_TRUE(clockIngestXML(c, writer.take()));
  expectSameClock(unusualClock(), c);
}
