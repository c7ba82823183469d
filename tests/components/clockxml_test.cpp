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
  c.Tag = QStringLiteral("Studio <A> & B");
  c.Left = -120;
  c.Top = 3000;
  c.Width = 1630;
  c.Height = 1645;
  c.BackgroundColor = 0x0000FF;
  c.ForegroundColor = 0x123456;
  c.FaceVisible = false;
  c.Digital = true;
  c.Military = false;
  c.BackGroundPicture = QStringLiteral("C:\\Pics\\face & dial.png");
  c.BackgroundImageStretch = true;
  c.FontName = QStringLiteral("DejaVu Sans Mono");
  c.FontSize = 13.5;
  c.FontBold = false;
  c.FontUnderline = true;
  c.FontItalic = true;
  c.LongHashColor = static_cast<qint32>(0x8000000F);  // a system colour
  c.ShortHashColor = 0x00FF00;
  c.FaceBorderColor = 0xABCDEF;
  c.OffSet = -5;
  c.FaceNumbers = false;
  c.ElementHands = true;
  return c;
}

void expectSameClock(const DesignClock &a, const DesignClock &b) {
  EXPECT_EQ(a.Left, b.Left);
  EXPECT_EQ(a.Top, b.Top);
  EXPECT_EQ(a.Width, b.Width);
  EXPECT_EQ(a.Height, b.Height);
  EXPECT_EQ(a.BackgroundColor, b.BackgroundColor);
  EXPECT_EQ(a.ForegroundColor, b.ForegroundColor);
  EXPECT_EQ(a.FaceVisible, b.FaceVisible);
  EXPECT_EQ(a.Digital, b.Digital);
  EXPECT_EQ(a.Military, b.Military);
  EXPECT_EQ(a.BackGroundPicture, b.BackGroundPicture);
  EXPECT_EQ(a.BackgroundImageStretch, b.BackgroundImageStretch);
  EXPECT_EQ(a.FontName, b.FontName);
  EXPECT_EQ(a.FontSize, b.FontSize);
  EXPECT_EQ(a.FontBold, b.FontBold);
  EXPECT_EQ(a.FontUnderline, b.FontUnderline);
  EXPECT_EQ(a.FontItalic, b.FontItalic);
  EXPECT_EQ(a.LongHashColor, b.LongHashColor);
  EXPECT_EQ(a.ShortHashColor, b.ShortHashColor);
  EXPECT_EQ(a.FaceBorderColor, b.FaceBorderColor);
  EXPECT_EQ(a.OffSet, b.OffSet);
  EXPECT_EQ(a.FaceNumbers, b.FaceNumbers);
  EXPECT_EQ(a.ElementHands, b.ElementHands);
}

QString childText(const QString &xml, const QString &name) {
  XmlDocument doc;
  if (!doc.read(xml)) return QStringLiteral("<unparsed>");
  const XmlNode *child = FindChildElement(*doc.root(), name.toLower());
  return child ? ElementText(*child) : QString();
}

}  // namespace

TEST(ClockXml, EveryPropertyRoundTripsIntoADefaultClock) {
  const DesignClock original = unusualClock();
  DesignClock read;
  ASSERT_TRUE(ClockIngestXML(read, ClockToXML(original)));
  expectSameClock(original, read);
  EXPECT_TRUE(read.Tag.isEmpty()) << "the name is set by the caller";

  // And back to the defaults, so no property is merely left alone.
  const DesignClock defaults;
  ASSERT_TRUE(ClockIngestXML(read, ClockToXML(defaults)));
  expectSameClock(defaults, read);
}

TEST(ClockXml, ElementLayoutAndValueTexts) {
  DesignClock c = unusualClock();
  c.BackGroundPicture.clear();
  c.FontSize = 8.25;
  const QString xml = ClockToXML(c);
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
  EXPECT_EQ(childText(xml, "Name"), c.Tag);
  EXPECT_EQ(childText(xml, "Caption"), c.Tag);
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
  c.FontSize = 10.5;
  const QString xml = ClockToXML(c);
  QLocale::setDefault(saved);
  EXPECT_EQ(childText(xml, "FontSize"), "10.5");
}

TEST(ClockXml, IngestToleratesCaseBlanksUnknownAndMalformedChildren) {
  const DesignClock before = unusualClock();
  DesignClock c = before;
  ASSERT_TRUE(ClockIngestXML(c, QStringLiteral("<control>"
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
  EXPECT_EQ(c.Width, 2000);
  EXPECT_FALSE(c.Digital);
  EXPECT_EQ(c.FontSize, 12.5);
  EXPECT_EQ(c.LongHashColor, 0xFF);
  EXPECT_TRUE(c.FontName.isEmpty()) << "an empty text is a value for a text property";
  // Malformed values keep what the clock had.
  EXPECT_EQ(c.Height, before.Height);
  EXPECT_EQ(c.Top, before.Top);
  EXPECT_EQ(c.OffSet, before.OffSet);
  EXPECT_EQ(c.FaceNumbers, before.FaceNumbers);
  EXPECT_EQ(c.ForegroundColor, before.ForegroundColor);
}

TEST(ClockXml, RefusesTextThatIsNotAnElement) {
  DesignClock c = unusualClock();
  for (const char *text :
       {"", "just text", "<Control><Width>5</Control>",
        "<!DOCTYPE x [<!ENTITY e \"1\">]><Control><Width>&e;</Width></Control>"}) {
    EXPECT_FALSE(ClockIngestXML(c, QString::fromLatin1(text))) << text;
  }
  EXPECT_EQ(c.Width, unusualClock().Width);
}

TEST(ClockXml, IndentedElementStillReads) {
  // The panel writer lays the element out with line ends and blanks.
  XmlWriter writer;
  WriteLaidOut(writer, ClockToElement(unusualClock()), 4);
  DesignClock c;
  ASSERT_TRUE(ClockIngestXML(c, writer.take()));
  expectSameClock(unusualClock(), c);
}
