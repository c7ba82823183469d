// The panel document writer: the golden file, the optional groups and value
// rules, the layout and the version stamp.
#include <QRegularExpression>

#include "hwmap/hardwaremap.h"
#include "model/codepage.h"
#include "model/colors.h"
#include "model/numbers.h"
#include "model/xmltree.h"
#include "model/xmlwriter.h"
#include "panelfile/panelreader.h"
#include "panelfile/panelwriter.h"
#include "testpanel.h"

namespace {

QString fileText(const PanelModel &p) {
  return buildPanelDocument(p, programSettings().serverMode) + QStringLiteral("\r\n");
}

// The element block of the first control, for looking at one control's lines.
QString controlBlock(const PanelModel &p) {
  const QString doc = buildPanelDocument(p, programSettings().serverMode);
  const qsizetype start = doc.indexOf(QLatin1String("<Control>"));
  return doc.mid(start, doc.indexOf(QLatin1String("</Control>")) - start);
}

QString withoutVersion(QString text) {
  text.replace(QRegularExpression(QStringLiteral("<Version>[^<]*</Version>")), QString());
  return text;
}

}  // namespace

TEST_F(PanelFileTest, GoldenPanelIsWrittenByteForByte) {
  programSettings().serverMode = true;
  PanelModel p;
  fillGoldenPanel(p);
  const QByteArray golden = readBytes(fixturePath(QStringLiteral("golden_panel.xml")));
  ASSERT_FALSE(golden.isEmpty());
  EXPECT_EQ(encodeWindows1252(fileText(p)), golden);
}

TEST_F(PanelFileTest, GoldenFileReadAndWrittenAgainIsUnchanged) {
  programSettings().serverMode = true;
  const QString golden = decodeWindows1252(readBytes(fixturePath("golden_panel.xml")));
  PanelModel p;
  ReadHooks hooks;
  const HardwareMap noMap;
  analyzeXML(golden, p, hooks, noMap);
  ASSERT_EQ(p.panelRecord.records.size(), 6u);
  EXPECT_EQ(fileText(p), golden);

  // A later save of the read panel differs in nothing but its version.
  DateTimeStamp::setClock([] { return fixedTime().addDays(40); });
  const QString later = fileText(p);
  EXPECT_NE(later, golden);
  EXPECT_EQ(withoutVersion(later), withoutVersion(golden));
}

TEST_F(PanelFileTest, EmptyPanelLayout) {
  PanelModel p;
  p.canvas.tag = QStringLiteral("Empty");
  EXPECT_EQ(buildPanelDocument(p, programSettings().serverMode),
            QStringLiteral("<Panel>\r\n"
                           "  <Name>Empty</Name>\r\n"
                           "  <Width>9600</Width>\r\n"
                           "  <Height>7200</Height>\r\n"
                           "  <BackColor>&amp;H8000000F</BackColor>\r\n"
                           "  <ForeColor>&amp;H80000012</ForeColor>\r\n"
                           "  <Picture/>\r\n"
                           "  <OrigPicturePath/>\r\n"
                           "  <OnLoad/>\r\n"
                           "  <DefaultPicturePath/>\r\n"
                           "  <Caption/>\r\n"
                           "  <ControlList/>\r\n"
                           "  <Version>2024-03-03T09:05:07</Version>\r\n"
                           "</Panel>"));
}

TEST_F(PanelFileTest, OptionalGroupsNeedAllTheirFields) {
  struct Case {
    const char *what;
    bool serverMode;
    QString router, source, destination, aoip, hostIP;
    bool routeWritten, hardwareWritten;
  };
  const Case cases[] = {
      {"route without destination", false, "1", "2", "", "", "", false, false},
      {"full route", false, "1", "2", "3", "", "", true, false},
      {"hardware in local mode", false, "", "", "", "Port1_Circuit1", "10.0.0.1", false, false},
      {"hardware without address", true, "", "", "", "Port1_Circuit1", "", false, false},
      {"hardware without code", true, "", "", "", "", "10.0.0.1", false, false},
      {"hardware in server mode", true, "", "", "", "Port1_Circuit1", "10.0.0.1", false, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    programSettings().serverMode = c.serverMode;
    PanelModel p;
    auto [button, r] = addControl<DesignButton>(p, QStringLiteral("Button1"), 0, 0);
    r->mapRouter = c.router;
    r->mapSource = c.source;
    r->mapDestination = c.destination;
    r->hwMapAoipSysName = c.aoip;
    r->hwMapHostIP = c.hostIP;
    const QString block = controlBlock(p);
    EXPECT_EQ(block.contains(QLatin1String("<MapRouter>")), c.routeWritten);
    EXPECT_EQ(block.contains(QLatin1String("<HWMapType")), c.hardwareWritten);
  }
}

TEST_F(PanelFileTest, ColourAndValueRules) {
  struct Case {
    QString stored;
    QString written;
  };
  const Case colours[] = {
      {"FF00FF", "&amp;HFF00FF"},
      {"123", "&amp;H000123"},
      {"&H00FFFF", "&amp;H00FFFF"},
      {"yellow", "Yellow"},
      {"&hff", "&amp;H0000ff"},
      {"purple", ""},
      {"&H 1F ", "&amp;H00001F"},
      {"&H12345678", "&amp;H12345678"},
      {"&H", ""},
      {"&H<1>", "&amp;H000&lt;1&gt;"},
      {"-16", "&amp;HFFFFFFF0"},
  };
  for (const Case &c : colours) {
    SCOPED_TRACE(c.stored.toStdString());
    PanelModel p;
    auto [meter, r] = addControl<DesignMeter>(p, QStringLiteral("Meter1"), 0, 0);
    r->levelLineColor = c.stored;
    const QString expected = c.written.isEmpty()
                                 ? QStringLiteral("<LevelLineColor/>")
                                 : "<LevelLineColor>" + c.written + "</LevelLineColor>";
    EXPECT_TRUE(controlBlock(p).contains(expected)) << controlBlock(p).toStdString();
  }

  // A meter-fader writes its line colour as stored; a web browser writes an
  // empty caption and no font elements.
  PanelModel p;
  auto [fader, f] = addControl<DesignMeterFader>(p, QStringLiteral("MeterFader1"), 0, 0);
  f->levelLineColor = QStringLiteral("yellow");
  EXPECT_TRUE(controlBlock(p).contains(QLatin1String("<LevelLineColor>yellow</LevelLineColor>")));
  PanelModel q;
  addControl<DesignWebBrowser>(q, QStringLiteral("WebBrowser1"), 0, 0);
  EXPECT_TRUE(controlBlock(q).contains(QLatin1String("<Caption/>")));
  EXPECT_FALSE(controlBlock(q).contains(QLatin1String("<Font")));
}

// Numbers and colours are formatted in place; the text is what the general
// formatting functions give.
TEST_F(PanelFileTest, NumbersAndColoursAsTheFormattersWriteThem) {
  const struct {
    qint32 number;
    float size;
    qint32 colour;
  } values[] = {{0, 8.25f, 0},
                {-2147483647 - 1, 8.25f, 0x1F},
                {2147483647, -0.0f, 0xFFFFFF},
                {-15, 0.0f, -1},
                {1200, 1e-7f, 0x00ABCDEF}};
  PanelModel p;
  for (const auto &v : values) {
    auto [label, r] =
        addControl<DesignLabel>(p, QStringLiteral("Label%1").arg(v.number), v.number, ~v.number);
    label->font.size = v.size;
    label->foreColor = v.colour;
  }
  const QString doc = buildPanelDocument(p, programSettings().serverMode);
  qsizetype at = 0;
  for (const auto &v : values) {
    SCOPED_TRACE(v.number);
    at = doc.indexOf(QLatin1String("<Control>"), at + 1);
    const QString block = doc.mid(at, doc.indexOf(QLatin1String("</Control>"), at) - at);
    auto line = [](const char *name, const QString &text) {
      return QStringLiteral("<%1>%2</%1>").arg(QLatin1String(name), text);
    };
    EXPECT_TRUE(block.contains(line("Left", QString::number(v.number))));
    EXPECT_TRUE(block.contains(line("Top", QString::number(~v.number))));
    EXPECT_TRUE(block.contains(line("FontSize", floatToText(v.size))));
    QString colour;
    appendEscapedXmlText(colour, colorValueToText(v.colour));
    EXPECT_TRUE(block.contains(line("ForeColor", colour))) << block.toStdString();
  }
}

TEST_F(PanelFileTest, CaptionLineBreaksTravelAsBackslashN) {
  PanelModel p;
  auto [button, r] = addControl<DesignButton>(p, QStringLiteral("Button1"), 0, 0);
  button->caption = QStringLiteral("Two\r\nLines");
  EXPECT_TRUE(controlBlock(p).contains(QLatin1String("<Caption>Two\\nLines</Caption>")));
  button->caption = QStringLiteral("Typed\\nAlready");
  EXPECT_TRUE(controlBlock(p).contains(QLatin1String("<Caption>Typed\\nAlready</Caption>")));
}

TEST_F(PanelFileTest, CharactersXmlCannotHoldDoNotBreakTheFile) {
  PanelModel p;
  auto [button, r] = addControl<DesignButton>(p, QStringLiteral("Button1"), 0, 0);
  button->caption = QStringLiteral(
      "A\x01"
      "B\x1f"
      "C");
  r->click = QString(QChar(0xD800)) + QStringLiteral("cmd");  // a lone surrogate
  PanelModel back;
  ReadHooks hooks;
  const HardwareMap noMap;
  analyzeXML(buildPanelDocument(p, programSettings().serverMode), back, hooks, noMap);
  ASSERT_EQ(back.panelRecord.records.size(), 1u);
  EXPECT_EQ(controlCast<DesignButton>(back.panelRecord.records[0]->control)->caption,
            QStringLiteral("ABC"));
  EXPECT_EQ(back.panelRecord.records[0]->click, QStringLiteral("cmd"));
}

TEST(CheckNameAndCaption, FillsEmptyNameAndCaption) {
  struct Case {
    const char *xml;
    const char *name;
    const char *caption;
  };
  const Case cases[] = {
      {"<Control><Type>LKClock</Type><Name/><Caption/></Control>", "Clock7", "Clock7"},
      {"<Control><Type>LKClock</Type><Name>Mine</Name><Caption>Shown</Caption></Control>", "Mine",
       "Shown"},
      {"<Control><Type>CodecControl</Type><Name>Old</Name><Caption>C</Caption></Control>", "Clock7",
       "C"},
      {"<Control><Type>LKClock</Type></Control>", "Clock7", "Clock7"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.xml);
    XmlDocument doc;
    ASSERT_TRUE(doc.read(QString::fromLatin1(c.xml)));
    XmlNode &e = *doc.root();
    checkNameAndCaption(e, QStringLiteral("Clock7"));
    EXPECT_EQ(elementText(*findChildElement(e, u"name")), QLatin1String(c.name));
    EXPECT_EQ(elementText(*findChildElement(e, u"caption")), QLatin1String(c.caption));
  }
}

TEST(InsertVersionIntoXML, ReplacesTheFirstVersionInAnyCaseOrAppendsOne) {
  // Everything but the version stays as it stood.
  QString text = QStringLiteral("<Map> <Name>M</Name><!-- v --><VERSION a='1'>old</VERSION></Map>");
  ASSERT_TRUE(insertVersionIntoXML(text, QStringLiteral("new & <next>")));
  EXPECT_EQ(
      text,
      QStringLiteral(
          "<Map> <Name>M</Name><!-- v --><VERSION a='1'>new &amp; &lt;next&gt;</VERSION></Map>"));

  text = QStringLiteral("<Map><Name>M</Name></Map>");
  ASSERT_TRUE(insertVersionIntoXML(text, QStringLiteral("v1")));
  EXPECT_EQ(text, QStringLiteral("<Map><Name>M</Name>\r\n  <Version>v1</Version>\r\n</Map>"));
  text = QStringLiteral("<Map>\r\n  <Name>M</Name>\r\n  <version/>\r\n</Map>\r\n");
  ASSERT_TRUE(insertVersionIntoXML(text, QStringLiteral("v2")));
  EXPECT_EQ(text,
            QStringLiteral("<Map>\r\n  <Name>M</Name>\r\n  <version>v2</version>\r\n</Map>\r\n"));

  for (const char *bad :
       {"", "not xml", "<Map><Open></Map>", "<!DOCTYPE Map [<!ENTITY e \"x\">]><Map>&e;</Map>"}) {
    text = QString::fromLatin1(bad);
    EXPECT_FALSE(insertVersionIntoXML(text, QStringLiteral("v")));
    EXPECT_EQ(text, QString::fromLatin1(bad));
  }
}
