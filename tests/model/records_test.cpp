#include <gtest/gtest.h>

#include "model/codepage.h"
#include "model/panelmodel.h"

namespace {
ControlRecord &addButton(PanelModel &panel) {
  auto record = std::make_unique<ControlRecord>();
  record->control = panel.loadControl(ControlKind::Button);
  panel.panelRecord.records.push_back(std::move(record));
  return *panel.panelRecord.records.back();
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
    panel.panelRecord.panelPath = c.path;
    ControlRecord &record = addButton(panel);
    record.setHWMapInternalName(c.value);
    EXPECT_EQ(record.hwMapInternalName(), c.stored) << c.path;
  }
}

TEST(Records, NewRecordDefaults) {
  ControlRecord record;
  EXPECT_EQ(record.levelLineColor, "&HE0E0E0");
  EXPECT_FALSE(record.enabled);
  EXPECT_TRUE(record.state.isEmpty());
}

TEST(Records, ControlArraysCloneTheirTemplates) {
  PanelModel panel;
  DesignControl *a = panel.loadControl(ControlKind::Button);
  DesignControl *b = panel.loadControl(ControlKind::Button);
  EXPECT_EQ(a->index(), 1);
  EXPECT_EQ(b->index(), 2);
  EXPECT_EQ(a->width, 1215);
  EXPECT_EQ(a->height, 495);
  EXPECT_EQ(controlCast<DesignButton>(a)->backColor, 0xE0E0E0);
  EXPECT_TRUE(a->toolTipText.startsWith("Drag a selected control to move it.\r\n"));
  panel.unloadControl(a);
  EXPECT_EQ(panel.loadControl(ControlKind::Button)->index(), 3);  // highest present + 1
  EXPECT_EQ(panel.loadControl(ControlKind::Clock)->width, 1095);
  const int frame = panel.newFrameIndex();
  EXPECT_FALSE(panel.frame(frame)->visible);
  EXPECT_TRUE(panel.frame(frame)->toolTipText.startsWith("Click and Drag handles to resize.\r\n"));
}

TEST(CodePage, EveryByteRoundTrips) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(char(b));
  EXPECT_EQ(encodeWindows1252(decodeWindows1252(all)), all);
  EXPECT_EQ(decodeWindows1252("\x80\x9f"), QString::fromUtf8("€Ÿ"));
  EXPECT_EQ(encodeWindows1252(QString::fromUtf8("€ é ☃")), QByteArray("\x80 \xe9 ?"));
}
