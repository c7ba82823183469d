// The panel reader: tolerance of hand-edited files, the value rules, the
// hardware map lookup and hostile input.
#include <functional>
#include <memory>

#include "hwmap/hardwaremap.h"
#include "model/codepage.h"
#include "panelfile/localstore.h"
#include "panelfile/panelreader.h"
#include "testpanel.h"

namespace {

std::unique_ptr<PanelModel> readPanel(const QString &xml, RecordingHooks *hooks = nullptr,
                                      const HardwareMap &map = HardwareMap()) {
  auto p = std::make_unique<PanelModel>();
  p->canvas.tag = QStringLiteral("FromFile");
  RecordingHooks local;
  analyzeXML(xml, *p, hooks ? *hooks : local, map);
  return p;
}

QString controls(const QString &inner) {
  return QStringLiteral("<Panel><ControlList>") + inner + QStringLiteral("</ControlList></Panel>");
}

const ControlRecord &record(const PanelModel &p, size_t i) { return *p.panelRecord.records.at(i); }
template <class T>
const T &control(const PanelModel &p, size_t i) {
  const T *c = controlCast<T>(record(p, i).control);
  if (!c) throw std::runtime_error("control of another kind");
  return *c;
}

}  // namespace

TEST_F(PanelFileTest, ReaderToleranceTable) {
  struct Case {
    const char *what;
    QString xml;
    std::function<void(const PanelModel &)> check;
  };
  const Case cases[] = {
      {"names in any case, any order, version ignored",
       "<PANEL><controllist><CONTROL><height>300</height><NAME>b</NAME><TYPE>BUTTON</TYPE>"
       "<Left>10.5</Left><Top>11.5</Top></CONTROL></controllist><name>P</name>"
       "<WIDTH>5000.7 twips</WIDTH><Version>x</Version></PANEL>",
       [](const PanelModel &p) {
         EXPECT_EQ(p.canvas.tag, "P");
         EXPECT_EQ(p.width, 5001);
         const auto &b = control<DesignButton>(p, 0);
         EXPECT_EQ(b.tag, "b");
         EXPECT_EQ(b.height, 300);
         EXPECT_EQ(b.left, 10);  // halves go to the even twip
         EXPECT_EQ(b.top, 12);
         EXPECT_TRUE(b.visible);
       }},
      {"unknown and empty elements",
       "<Panel><Name></Name><Caption/><Bogus>1</Bogus><BackColor>Red</BackColor>"
       "<BackColorOn>yellow</BackColorOn><ControlList><Control><Type>Button</Type>"
       "<Width/><Whatever>x</Whatever><Name>B</Name></Control></ControlList></Panel>",
       [](const PanelModel &p) {
         EXPECT_EQ(p.canvas.tag, "FromFile");  // empty panel values are skipped
         EXPECT_EQ(p.canvas.backColor, 0x0000FF);
         EXPECT_EQ(p.panelRecord.backColorOn, "&H00FFFF");
         EXPECT_EQ(control<DesignButton>(p, 0).width, 0);  // empty control values are applied
         EXPECT_EQ(control<DesignButton>(p, 0).tag, "B");
       }},
      {"captions: \\n becomes a line break, & and < stay as typed",
       controls("<Control><Type>Button</Type><Caption>Mic\\nLive &amp; &lt;1&gt;</Caption>"
                "</Control><Control><Type>MeterFader</Type><Caption>A\\nB</Caption></Control>"),
       [](const PanelModel &p) {
         EXPECT_EQ(control<DesignButton>(p, 0).caption, "Mic\r\nLive & <1>");
         EXPECT_EQ(control<DesignMeterFader>(p, 1).meterName, "A\r\nB");
       }},
      {"flash and enabled texts",
       controls("<Control><Type>Button</Type><Flash> ON </Flash><Enabled>2</Enabled></Control>"
                "<Control><Type>Button</Type><Flash>maybe</Flash><Enabled>FALSE</Enabled>"
                "</Control><Control><Type>Button</Type><Enabled>0</Enabled></Control>"),
       [](const PanelModel &p) {
         EXPECT_TRUE(record(p, 0).flash);
         EXPECT_TRUE(record(p, 0).enabled);
         EXPECT_FALSE(record(p, 1).flash);
         EXPECT_FALSE(record(p, 1).enabled);
         EXPECT_FALSE(record(p, 2).enabled);
       }},
      {"meter scales and styles",
       controls("<Control><Type>Meter</Type><MeterScale>BRITISH</MeterScale>"
                "<MeterStyle>loud</MeterStyle><LevelLineColor>red</LevelLineColor></Control>"
                "<Control><Type>Meter</Type><MeterScale>loud</MeterScale></Control>"
                "<Control><Type>MeterFader</Type><MeterScale>Standard</MeterScale>"
                "<MeterStyle>x</MeterStyle><FaderNominal>-3.5</FaderNominal>"
                "<HideGainValue>-1</HideGainValue></Control>"),
       [](const PanelModel &p) {
         EXPECT_EQ(record(p, 0).meterScale, 2);
         EXPECT_EQ(control<DesignMeter>(p, 0).meter.meterScale, 2);
         EXPECT_EQ(record(p, 0).meterStyle, 0);
         EXPECT_EQ(record(p, 0).levelLineColor, "red");
         EXPECT_EQ(control<DesignMeter>(p, 0).meter.levelLineColor, 0x0000FF);
         EXPECT_EQ(control<DesignMeter>(p, 0).meter.levelLeft, -600);
         EXPECT_EQ(record(p, 1).meterScale, 0);
         EXPECT_EQ(record(p, 2).meterScale, 1);
         EXPECT_EQ(record(p, 2).meterStyle, 1);  // a meter-fader falls back to Gradient
         EXPECT_EQ(control<DesignMeterFader>(p, 2).faderNominal, -3.5f);
         EXPECT_TRUE(control<DesignMeterFader>(p, 2).hideGainValue);
       }},
      {"a codec control between two buttons, an unknown kind and no type",
       controls("<Control><Type>Button</Type><Name>B1</Name></Control>"
                "<Control><Type>CodecControl</Type><Name>C</Name></Control>"
                "<Control><Type>Slider</Type></Control><Control><Name>X</Name></Control>"
                "<Control><Type>Button</Type><Name>B2</Name></Control>"),
       [](const PanelModel &p) {
         // The three it cannot build are kept controls in their places.
         ASSERT_EQ(p.panelRecord.records.size(), 5u);
         EXPECT_EQ(control<DesignButton>(p, 0).tag, "B1");
         EXPECT_EQ(control<DesignKept>(p, 1).type, "CodecControl");
         EXPECT_EQ(control<DesignKept>(p, 1).tag, "C");
         EXPECT_EQ(control<DesignKept>(p, 2).type, "Slider");
         EXPECT_EQ(control<DesignKept>(p, 2).source, "<Control><Type>Slider</Type></Control>");
         EXPECT_EQ(control<DesignKept>(p, 3).type, "");
         EXPECT_EQ(control<DesignKept>(p, 3).tag, "X");
         EXPECT_EQ(control<DesignButton>(p, 4).tag, "B2");
         EXPECT_EQ(p.controlCount(), 5);
       }},
      {"a label without State takes its off colour as on colour",
       controls("<Control><Type>Label</Type><BackColorOn>Red</BackColorOn>"
                "<BackColorOff>00FF00</BackColorOff><ForeColor>FF0000</ForeColor></Control>"
                "<Control><Type>Label</Type><BackColorOn>Red</BackColorOn>"
                "<BackColorOff>Blue</BackColorOff><State>Off</State><ForeColor/></Control>"),
       [](const PanelModel &p) {
         EXPECT_EQ(record(p, 0).backColorOff, "&H00FF00");
         EXPECT_EQ(record(p, 0).backColorOn, "&H00FF00");
         EXPECT_EQ(control<DesignLabel>(p, 0).backColor, 0x00FF00);
         EXPECT_EQ(control<DesignLabel>(p, 0).foreColor, 0xFF0000);
         EXPECT_EQ(record(p, 0).foreColor, "&HFF0000");
         EXPECT_EQ(record(p, 1).backColorOn, "&H0000FF");
         EXPECT_EQ(record(p, 1).foreColor, "&H000000");
       }},
      {"state read before the colours shows the on colour",
       controls("<Control><Type>Button</Type><State>on</State><BackColorOn>Red</BackColorOn>"
                "<BackColorOff>Blue</BackColorOff></Control>"
                "<Control><Type>Button</Type><BackColorOn/><BackColorOff/></Control>"),
       [](const PanelModel &p) {
         EXPECT_EQ(control<DesignButton>(p, 0).backColor, 0x0000FF);
         EXPECT_EQ(record(p, 1).backColorOn, "&H00FFFF");
         EXPECT_EQ(record(p, 1).backColorOff, "&HE0E0E0");
       }},
      {"fonts: unreadable values are skipped",
       controls("<Control><Type>Label</Type><FontName>Tahoma</FontName><FontSize>big</FontSize>"
                "<FontBold>perhaps</FontBold><FontItalic>-1</FontItalic><Name>L</Name></Control>"),
       [](const PanelModel &p) {
         const auto &l = control<DesignLabel>(p, 0);
         EXPECT_EQ(l.font.name, "Tahoma");
         EXPECT_EQ(l.font.size, 8.25);
         EXPECT_TRUE(l.font.bold);
         EXPECT_TRUE(l.font.italic);
         EXPECT_EQ(l.tag, "L");
       }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    const auto p = readPanel(c.xml);
    c.check(*p);
  }
}

TEST_F(PanelFileTest, AControlThatFailsKeepsWhatWasReadAndThePanelGoesOn) {
  RecordingHooks hooks;
  const auto p = readPanel(
      controls("<Control><Type>Meter</Type><Name>M1</Name><Left>100</Left>"
               "<MeterRouterNumber>three</MeterRouterNumber><Top>500</Top></Control>"
               "<Control><Type>Button</Type><Name>B1</Name><Width>-5</Width><Top>9</Top></Control>"
               "<Control><Type>Button</Type><Name>B2</Name><Top>700</Top></Control>"),
      &hooks);
  ASSERT_EQ(p->panelRecord.records.size(), 3u);
  EXPECT_EQ(control<DesignMeter>(*p, 0).left, 100);
  EXPECT_EQ(control<DesignMeter>(*p, 0).top, 0);  // after the failing element: not read
  EXPECT_EQ(record(*p, 0).hwMapInternalName(), "FromFile.M1");
  EXPECT_EQ(control<DesignButton>(*p, 1).width, 1215);
  EXPECT_EQ(control<DesignButton>(*p, 1).top, 0);
  EXPECT_EQ(control<DesignButton>(*p, 2).top, 700);
  EXPECT_EQ(hooks.calls, (std::vector<QString>{"read:M1", "read:B1", "read:B2", "panel"}));
  EXPECT_NE(record(*p, 0).frameIndex, record(*p, 1).frameIndex);
}

TEST_F(PanelFileTest, ReadPanelTakesItsNameAndHardwareBindings) {
  const HardwareMap map = HardwareMap::fromText(QStringLiteral(
      "<HardwareMapList><ControlList><Control><Type>Button</Type><HostIPAddress>10.1.1.1"
      "</HostIPAddress><HostPort>5000</HostPort><InternalName> studio.button1 </InternalName>"
      "<AoipSysName>MOD_USER#1.BUT#2</AoipSysName></Control></ControlList></HardwareMapList>"));
  PanelModel p;
  ReadHooks hooks;
  readPanelText(controls("<Control><Type>Button</Type><Name>Button1</Name></Control>"
                         "<Control><Type>Button</Type><Name>Button2</Name>"
                         "<HWMapInternalName>$$panelname$$.Other</HWMapInternalName></Control>"),
                QStringLiteral("/panels/Studio.xml"), p, hooks, map);
  EXPECT_EQ(p.canvas.tag, "Studio");
  EXPECT_EQ(p.documentPath, "/panels/Studio.xml");
  EXPECT_EQ(p.panelRecord.panelPath, "/panels/Studio.xml");
  const ControlRecord &b1 = record(p, 0);
  EXPECT_EQ(b1.hwMapInternalName(), "Studio.Button1");
  EXPECT_EQ(b1.hwMapType, "Button");
  EXPECT_EQ(b1.hwMapHostIP, "10.1.1.1");
  EXPECT_EQ(b1.hwMapHostPort, "5000");
  EXPECT_EQ(b1.hwMapAoipSysName, "MOD_USER#1.BUT#2");
  EXPECT_EQ(record(p, 1).hwMapInternalName(), "Studio.Other");
  EXPECT_TRUE(record(p, 1).hwMapType.isEmpty());
}

TEST_F(PanelFileTest, TextThatDoesNotParseIsReportedWithItsReason) {
  const QString golden = decodeWindows1252(readBytes(fixturePath("golden_panel.xml")));
  QByteArray binary;
  for (int i = 0; i < 4096; ++i) binary.append(static_cast<char>((i * 7919) & 0xFF));
  const QString deep = QString(QStringLiteral("<a>")).repeated(100000);
  const QString inputs[] = {
      QString(),
      QStringLiteral("not xml at all"),
      golden.left(golden.size() / 2),
      golden.left(golden.size() - 4),
      decodeWindows1252(binary),
      QStringLiteral("<!DOCTYPE Panel [<!ENTITY n \"Evil\">]><Panel><Name>&n;</Name>"
                     "<ControlList><Control><Type>Button</Type></Control></ControlList></Panel>"),
      QStringLiteral("<Panel><Name>&undefined;</Name></Panel>"),
      deep,
      QStringLiteral("<Panel/><Panel/>"),
      // Well-formed, but no panel: it must not open as an empty one.
      QStringLiteral("<config><item>x</item></config>"),
      QStringLiteral("<Panels><Name>Studio</Name><ControlList/></Panels>"),
  };
  for (const QString &text : inputs) {
    SCOPED_TRACE(text.left(60).toStdString());
    PanelModel p;
    RecordingHooks hooks;
    XmlError error;
    EXPECT_FALSE(analyzeXML(text, p, hooks, HardwareMap(), &error));
    EXPECT_FALSE(error.message.isEmpty());
    EXPECT_GE(error.line, 1);
    // What was read before the fault is the caller's to discard: the panel
    // is never finished.
    EXPECT_TRUE(std::find(hooks.calls.begin(), hooks.calls.end(), "panel") == hooks.calls.end());
  }
}

TEST_F(PanelFileTest, GetControlFromTextBuildsOneControl) {
  PanelModel p;
  p.canvas.tag = QStringLiteral("P");
  const HardwareMap noMap;
  EXPECT_EQ(readControl(QStringLiteral("<Control><Type>Button"), p, false, 0, 0, noMap), nullptr);
  EXPECT_EQ(p.controlCount(), 0);
  const auto codec = readControl(QStringLiteral("<Control><Type>codeccontrol</Type></Control>"), p,
                                 false, 0, 0, noMap);
  ASSERT_NE(codec, nullptr);
  EXPECT_EQ(controlCast<DesignKept>(codec->control)->type, "codeccontrol");
  const auto r = readControl(QStringLiteral("<Control><Type>lkclock</Type><Name>Clock3</Name>"
                                            "<Left>120</Left><Digital>True</Digital></Control>"),
                             p, false, 0, 0, noMap);
  ASSERT_NE(r, nullptr);
  const auto *clock = controlCast<DesignClock>(r->control);
  ASSERT_NE(clock, nullptr);
  EXPECT_EQ(clock->tag, "Clock3");
  EXPECT_EQ(clock->left, 120);
  EXPECT_TRUE(clock->digital);
  EXPECT_TRUE(clock->visible);
  EXPECT_TRUE(p.panelRecord.records.empty());  // appending is the caller's
}
