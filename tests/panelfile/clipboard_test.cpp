// Copy and paste through the clipboard document.
#include "hwmap/hardwaremap.h"
#include "model/codepage.h"
#include "panelfile/clipboarddoc.h"
#include "panelfile/panelreader.h"
#include "testpanel.h"

namespace {
const HardwareMap kNoMap;
}

TEST_F(PanelFileTest, CopiedControlsPasteAtTheOriginKeepingTheirPlacement) {
  PanelModel source;
  auto [b1, r1] = addControl<DesignButton>(source, QStringLiteral("Button1"), 2400, 1800);
  auto [l1, r2] = addControl<DesignLabel>(source, QStringLiteral("Label1"), 1200, 600);
  l1->text = QStringLiteral("Label1");
  addControl<DesignButton>(source, QStringLiteral("NotSelected"), 0, 0);

  const QString text = buildClipboardDocument(source, {b1, l1}, false);
  EXPECT_TRUE(text.startsWith(QLatin1String(
      "<ClipboardControls>\r\n  <ControlList>\r\n    <Control>\r\n      <Type>Button</Type>")));
  EXPECT_TRUE(
      text.endsWith(QLatin1String("    </Control>\r\n  </ControlList>\r\n</ClipboardControls>")));
  EXPECT_FALSE(text.contains(QLatin1String("NotSelected")));

  PanelModel target;
  RecordingHooks hooks;
  const auto pasted = analyzeClipboardXML(text, target, hooks, kNoMap);
  ASSERT_EQ(pasted.size(), 2u);
  EXPECT_EQ(hooks.calls, (std::vector<QString>{"paste", "pasted:Button1", "pasted:Label1"}));
  EXPECT_EQ(pasted[0]->control->left, 1200);
  EXPECT_EQ(pasted[0]->control->top, 1200);
  EXPECT_EQ(pasted[1]->control->left, 0);
  EXPECT_EQ(pasted[1]->control->top, 0);
  EXPECT_EQ(target.panelRecord.records.size(), 2u);
  EXPECT_NE(pasted[0]->frameIndex, pasted[1]->frameIndex);
}

TEST_F(PanelFileTest, PastingAClashingNameGivesAFreshDefaultName) {
  PanelModel p;
  auto [b1, r1] = addControl<DesignButton>(p, QStringLiteral("Button1"), 300, 300);
  b1->caption = QStringLiteral("Button1");
  auto [c1, rc] = addControl<DesignClock>(p, QStringLiteral("Clock1"), 900, 300);
  const QString text = buildClipboardDocument(p, {b1, c1}, false);

  ReadHooks hooks;
  auto pasted = analyzeClipboardXML(text, p, hooks, kNoMap);
  ASSERT_EQ(pasted.size(), 2u);
  EXPECT_EQ(pasted[0]->control->tag, "Button2");
  EXPECT_EQ(controlCast<DesignButton>(pasted[0]->control)->caption, "Button2");
  EXPECT_EQ(pasted[1]->control->tag, "Clock2");
  EXPECT_EQ(pasted[1]->control->left, 600);

  // Once the original is gone, a paste keeps the name.
  p.unloadControl(b1);
  p.panelRecord.records.erase(p.panelRecord.records.begin());
  pasted = analyzeClipboardXML(text, p, hooks, kNoMap);
  ASSERT_EQ(pasted.size(), 2u);
  EXPECT_EQ(pasted[0]->control->tag, "Button1");
}

TEST_F(PanelFileTest, AWholePanelFilePastesAllItsControls) {
  const QString golden = decodeWindows1252(readBytes(fixturePath("golden_panel.xml")));
  PanelModel p;
  RecordingHooks hooks;
  const auto pasted = analyzeClipboardXML(golden, p, hooks, kNoMap);
  ASSERT_EQ(pasted.size(), 6u);
  EXPECT_EQ(pasted[2]->control->left, 0);     // the web browser sits at the left edge
  EXPECT_EQ(pasted[0]->control->top, 0);      // the button at the top
  EXPECT_EQ(pasted[5]->control->left, 6000);  // the clock moves with the group
  EXPECT_EQ(pasted[5]->control->tag, "Clock1");
}

TEST_F(PanelFileTest, PastedControlsTakeTheInternalNamesOfTheirNewPanel) {
  // Copied from server panel X, whose text carries each binding and its
  // internal name. PA lands beside a PA of panel Y and is renamed.
  const auto control = [](const char *name, const char *address) {
    return QStringLiteral(
               "<Control><Type>Button</Type><Name>%1</Name>"
               "<HWMapType>Button</HWMapType><HWMapHostIP>%2</HWMapHostIP>"
               "<HWMapHostPort>5001</HWMapHostPort><HWMapInternalName>X.%1"
               "</HWMapInternalName><HWMapAoipSysName>MOD_USER#1.BUT#1"
               "</HWMapAoipSysName></Control>")
        .arg(QLatin1String(name), QLatin1String(address));
  };
  const QString text = QStringLiteral("<ClipboardControls><ControlList>") +
                       control("PA", "10.0.0.1") + control("QA", "10.0.0.2") +
                       QStringLiteral("</ControlList></ClipboardControls>");
  // The map holds X's bindings and one of Y's under a pasted control's name.
  const HardwareMap map = HardwareMap::fromText(QStringLiteral(
      "<HardwareMapList><ControlList>"
      "<Control><Type>Button</Type><HostIPAddress>10.0.0.8</HostIPAddress><HostPort>5001"
      "</HostPort><InternalName>X.QA</InternalName><AoipSysName>MOD_USER#1.BUT#8</AoipSysName>"
      "</Control><Control><Type>Button</Type><HostIPAddress>10.0.0.9</HostIPAddress>"
      "<HostPort>5001</HostPort><InternalName>Y.QA</InternalName>"
      "<AoipSysName>MOD_USER#1.BUT#9</AoipSysName></Control>"
      "</ControlList></HardwareMapList>"));

  PanelModel y;
  y.canvas.tag = QStringLiteral("Y");
  addControl<DesignButton>(y, QStringLiteral("PA"), 0, 0);
  ReadHooks hooks;
  const auto pasted = analyzeClipboardXML(text, y, hooks, map);
  ASSERT_EQ(pasted.size(), 2u);
  EXPECT_EQ(pasted[0]->control->tag, "Button1");
  EXPECT_EQ(pasted[0]->hwMapInternalName(), "Y.Button1");
  EXPECT_EQ(pasted[0]->hwMapHostIP, "10.0.0.1");  // the clipboard's binding, under Y's name
  EXPECT_EQ(pasted[1]->hwMapInternalName(), "Y.QA");
  EXPECT_EQ(pasted[1]->hwMapHostIP, "10.0.0.9");  // Y's own entry, not X's
}

TEST_F(PanelFileTest, NothingToCopyOrPaste) {
  PanelModel p;
  auto *stray = p.load<DesignButton>();  // a control without a record
  EXPECT_TRUE(buildClipboardDocument(p, {}, false).isEmpty());
  EXPECT_TRUE(buildClipboardDocument(p, {stray}, false).isEmpty());

  RecordingHooks hooks;
  for (const char *text : {"", "plain text", "<Panel><Name>x</Name></Panel>",
                           "<a><controllist/></a>", "<a><ControlList><Control>"}) {
    EXPECT_TRUE(analyzeClipboardXML(QString::fromLatin1(text), p, hooks, kNoMap).empty());
  }
  // Text that breaks off after whole controls pastes none of them.
  const QString golden = decodeWindows1252(readBytes(fixturePath("golden_panel.xml")));
  EXPECT_TRUE(analyzeClipboardXML(golden.left(golden.size() - 12), p, hooks, kNoMap).empty());
  EXPECT_TRUE(hooks.calls.empty());
  EXPECT_EQ(p.controlCount(), 1);
}

TEST(GetXmlNumber, ReadsTheNamedChildOrMinusOne) {
  const QString fragment = QStringLiteral("<Control><Left>1200</Left><TOP>  -30.5</TOP></Control>");
  EXPECT_EQ(xmlNumber(fragment, "Left"), 1200);
  EXPECT_EQ(xmlNumber(fragment, "Top"), -30);
  EXPECT_EQ(xmlNumber(fragment, "Width"), -1);
  EXPECT_EQ(xmlNumber(QStringLiteral("<Control><Left>"), "Left"), -1);
}
