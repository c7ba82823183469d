#include <gtest/gtest.h>

#include "model/codepage.h"
#include "model/panelmodel.h"

namespace {
clsControlDetails &addButton(PanelModel &panel) {
  auto record = std::make_unique<clsControlDetails>();
  record->cntrlObject = panel.LoadControl(ControlKind::Button);
  panel.PanelDetails.CollControls.push_back(std::move(record));
  return *panel.PanelDetails.CollControls.back();
}
}  // namespace

TEST(Records, PanelNamePlaceholderFollowsTheFilePath) {
  const struct {
    const char *path;
    const char *value;
    const char *stored;
  } cases[] = {
      {"C:\\Panels\\Studio.xml", "$$panelname$$.Btn1", "Studio.Btn1"},
      {"/home/op/CVSPanels/Studio.xml", "$$PanelName$$.Btn1", "Studio.Btn1"},
      {"", "$$PanelName$$.Btn1", "$$PanelName$$.Btn1"},
      {"C:\\My.Panels\\Studio", "$$PanelName$$.Btn1", "$$PanelName$$.Btn1"},
      {"C:\\P\\a.b.xml", "$$PANELNAME$$-$$panelname$$", "a.b-a.b"},
  };
  for (const auto &c : cases) {
    PanelModel panel;
    panel.PanelDetails.strPanelPath = c.path;
    clsControlDetails &record = addButton(panel);
    record.setHWMapInternalName(c.value);
    EXPECT_EQ(record.HWMapInternalName(), c.stored) << c.path;
  }
}

TEST(Records, NewRecordDefaults) {
  clsControlDetails record;
  EXPECT_EQ(record.LevelLineColor, "&HE0E0E0");
  EXPECT_FALSE(record.Enabled);
  EXPECT_TRUE(record.State.isEmpty());
}

TEST(Records, ControlArraysCloneTheirTemplates) {
  PanelModel panel;
  DesignControl *a = panel.LoadControl(ControlKind::Button);
  DesignControl *b = panel.LoadControl(ControlKind::Button);
  EXPECT_EQ(a->index(), 1);
  EXPECT_EQ(b->index(), 2);
  EXPECT_EQ(a->Width, 1215);
  EXPECT_EQ(a->Height, 495);
  EXPECT_EQ(As<DesignButton>(a)->BackColor, 0xE0E0E0);
  EXPECT_TRUE(a->ToolTipText.startsWith("Drag a selected control to move it.\r\n"));
  panel.UnloadControl(a);
  EXPECT_EQ(panel.LoadControl(ControlKind::Button)->index(), 3);  // highest present + 1
  EXPECT_EQ(panel.LoadControl(ControlKind::Clock)->Width, 1095);
  const int frame = panel.GetNewPictResize();
  EXPECT_FALSE(panel.Frame(frame)->Visible);
  EXPECT_TRUE(panel.Frame(frame)->ToolTipText.startsWith("Click and Drag handles to resize.\r\n"));
}

TEST(CodePage, EveryByteRoundTrips) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(char(b));
  EXPECT_EQ(EncodeWindows1252(DecodeWindows1252(all)), all);
  EXPECT_EQ(DecodeWindows1252("\x80\x9f"), QString::fromUtf8("€Ÿ"));
  EXPECT_EQ(EncodeWindows1252(QString::fromUtf8("€ é ☃")), QByteArray("\x80 \xe9 ?"));
}
