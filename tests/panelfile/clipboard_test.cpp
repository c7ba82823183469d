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
  auto [b1, r1] = AddControl<DesignButton>(source, QStringLiteral("Button1"), 2400, 1800);
  auto [l1, r2] = AddControl<DesignLabel>(source, QStringLiteral("Label1"), 1200, 600);
  l1->Text = QStringLiteral("Label1");
  AddControl<DesignButton>(source, QStringLiteral("NotSelected"), 0, 0);

  const QString text = BuildClipboardDocument(source, {b1, l1}, false);
  EXPECT_TRUE(text.startsWith(QLatin1String(
      "<ClipboardControls>\r\n  <ControlList>\r\n    <Control>\r\n      <Type>Button</Type>")));
  EXPECT_TRUE(
      text.endsWith(QLatin1String("    </Control>\r\n  </ControlList>\r\n</ClipboardControls>")));
  EXPECT_FALSE(text.contains(QLatin1String("NotSelected")));

  PanelModel target;
  RecordingHooks hooks;
  const auto pasted = AnalyzeClipboardXML(text, target, hooks, kNoMap);
  ASSERT_EQ(pasted.size(), 2u);
  EXPECT_EQ(hooks.calls, (std::vector<QString>{"paste", "pasted:Button1", "pasted:Label1"}));
  EXPECT_EQ(pasted[0]->cntrlObject->Left, 1200);
  EXPECT_EQ(pasted[0]->cntrlObject->Top, 1200);
  EXPECT_EQ(pasted[1]->cntrlObject->Left, 0);
  EXPECT_EQ(pasted[1]->cntrlObject->Top, 0);
  EXPECT_EQ(target.PanelDetails.CollControls.size(), 2u);
  EXPECT_NE(pasted[0]->lngPictResizeIndex, pasted[1]->lngPictResizeIndex);
}

TEST_F(PanelFileTest, PastingAClashingNameGivesAFreshDefaultName) {
  PanelModel p;
  auto [b1, r1] = AddControl<DesignButton>(p, QStringLiteral("Button1"), 300, 300);
  b1->Caption = QStringLiteral("Button1");
  auto [c1, rc] = AddControl<DesignClock>(p, QStringLiteral("Clock1"), 900, 300);
  const QString text = BuildClipboardDocument(p, {b1, c1}, false);

  ReadHooks hooks;
  auto pasted = AnalyzeClipboardXML(text, p, hooks, kNoMap);
  ASSERT_EQ(pasted.size(), 2u);
  EXPECT_EQ(pasted[0]->cntrlObject->Tag, "Button2");
  EXPECT_EQ(As<DesignButton>(pasted[0]->cntrlObject)->Caption, "Button2");
  EXPECT_EQ(pasted[1]->cntrlObject->Tag, "Clock2");
  EXPECT_EQ(pasted[1]->cntrlObject->Left, 600);

  // Once the original is gone, a paste keeps the name.
  p.UnloadControl(b1);
  p.PanelDetails.CollControls.erase(p.PanelDetails.CollControls.begin());
  pasted = AnalyzeClipboardXML(text, p, hooks, kNoMap);
  ASSERT_EQ(pasted.size(), 2u);
  EXPECT_EQ(pasted[0]->cntrlObject->Tag, "Button1");
}

TEST_F(PanelFileTest, AWholePanelFilePastesAllItsControls) {
  const QString golden = DecodeWindows1252(ReadBytes(FixturePath("golden_panel.xml")));
  PanelModel p;
  RecordingHooks hooks;
  const auto pasted = AnalyzeClipboardXML(golden, p, hooks, kNoMap);
  ASSERT_EQ(pasted.size(), 6u);
  EXPECT_EQ(pasted[2]->cntrlObject->Left, 0);     // the web browser sits at the left edge
  EXPECT_EQ(pasted[0]->cntrlObject->Top, 0);      // the button at the top
  EXPECT_EQ(pasted[5]->cntrlObject->Left, 6000);  // the clock moves with the group
  EXPECT_EQ(pasted[5]->cntrlObject->Tag, "Clock1");
}

TEST_F(PanelFileTest, NothingToCopyOrPaste) {
  PanelModel p;
  auto *stray = p.Load<DesignButton>();  // a control without a record
  EXPECT_TRUE(BuildClipboardDocument(p, {}, false).isEmpty());
  EXPECT_TRUE(BuildClipboardDocument(p, {stray}, false).isEmpty());

  RecordingHooks hooks;
  for (const char *text : {"", "plain text", "<Panel><Name>x</Name></Panel>",
                           "<a><controllist/></a>", "<a><ControlList><Control>"}) {
    EXPECT_TRUE(AnalyzeClipboardXML(QString::fromLatin1(text), p, hooks, kNoMap).empty());
  }
  // Text that breaks off after whole controls pastes none of them.
  const QString golden = DecodeWindows1252(ReadBytes(FixturePath("golden_panel.xml")));
  EXPECT_TRUE(AnalyzeClipboardXML(golden.left(golden.size() - 12), p, hooks, kNoMap).empty());
  EXPECT_TRUE(hooks.calls.empty());
  EXPECT_EQ(p.ControlCount(), 1);
}

TEST(GetXmlNumber, ReadsTheNamedChildOrMinusOne) {
  const QString fragment = QStringLiteral("<Control><Left>1200</Left><TOP>  -30.5</TOP></Control>");
  EXPECT_EQ(GetXmlNumber(fragment, "Left"), 1200);
  EXPECT_EQ(GetXmlNumber(fragment, "Top"), -30);
  EXPECT_EQ(GetXmlNumber(fragment, "Width"), -1);
  EXPECT_EQ(GetXmlNumber(QStringLiteral("<Control><Left>"), "Left"), -1);
}
