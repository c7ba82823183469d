// Placing controls from the palette and the Insert menu, and the window size.
#include "surfacefixture.h"

namespace {

TEST_F(SurfaceTest, DropSnapsTheGrabbedPositionToTheGridWithHalvesToEven) {
  struct Case {
    double x, y;
    qint32 offsetX, offsetY;
    qint32 left, top;
  } cases[] = {
      {1290, 675, 40, 30, 1200, 600},  // 1250 and 645
      {250, 350, 0, 0, 200, 400},      // exact halves go to the even multiple
      {-250, -350, 0, 0, -200, -400},
      {1249.5, 149.4, 0, 0, 1200, 100},  // the point is rounded before snapping
  };
  for (const Case &c : cases) {
    PanelEditor fresh(ui);
    fresh.dropFromPalette("MasterButton", c.x, c.y, c.offsetX, c.offsetY);
    ASSERT_EQ(fresh.panelRecord().records.size(), 1u);
    const DesignControl *button = fresh.panelRecord().records[0]->control;
    EXPECT_EQ(button->left, c.left) << c.x;
    EXPECT_EQ(button->top, c.top) << c.y;
  }
}

TEST_F(SurfaceTest, EachPaletteItemCreatesItsControlWithItsDefaults) {
  struct Case {
    const char *source;
    ControlKind kind;
    const char *name;
    qint32 width, height;
    bool enabled, selected;
    const char *state, *backOff, *backOn;
  } cases[] = {
      {"MasterButton", ControlKind::Button, "Button1", 1215, 495, true, true, "Off", "&HE0E0E0",
       "Yellow"},
      {"MasterLabel", ControlKind::Label, "Label1", 1215, 255, true, true, "On", "&HFFFFFF",
       "&HFFFFFF"},
      {"pictWebBrowser", ControlKind::WebBrowser, "WebBrowser1", 855, 735, true, false, "", "", ""},
      {"MasterLarkLED", ControlKind::Meter, "Meter1", 400, 1500, true, true, "", "", ""},
      {"MasterMeterFaderDragger", ControlKind::MeterFader, "MeterFader1", 1350, 4920, true, false,
       "", "", ""},
      {"MasterLKClock", ControlKind::Clock, "Clock1", 1630, 1630, false, false, "", "", ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.source);
    PanelEditor fresh(ui);
    // Something selected already, of another kind so that names do not clash.
    fresh.dropFromPalette(c.kind == ControlKind::Button ? "MasterLabel" : "MasterButton", 3000,
                          3000, 0, 0);
    fresh.dropFromPalette(c.source, 500, 500, 0, 0);
    ASSERT_EQ(fresh.panelRecord().records.size(), 2u);
    const ControlRecord &record = *fresh.panelRecord().records[1];
    DesignControl *control = record.control;
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->kind(), c.kind);
    EXPECT_EQ(control->tag, c.name);
    EXPECT_EQ(geometryOf(control), (Geometry{500, 500, c.width, c.height}));
    EXPECT_TRUE(control->visible);
    EXPECT_EQ(record.enabled, c.enabled);
    EXPECT_FALSE(record.flash);
    EXPECT_EQ(record.state, c.state);
    EXPECT_EQ(record.backColorOff, c.backOff);
    EXPECT_EQ(record.backColorOn, c.backOn);
    EXPECT_EQ(fresh.focusObject(), control);
    EXPECT_TRUE(fresh.needToSave());

    // A selecting drop selects like a plain click: only the new control;
    // the others leave the earlier selection alone.
    DesignControl *earlier = fresh.panelRecord().records[0]->control;
    EXPECT_EQ(fresh.selectedControls(),
              std::vector<DesignControl *>{c.selected ? control : earlier});
    ASSERT_NE(fresh.model().frame(record.frameIndex), nullptr);
    EXPECT_EQ(fresh.model().frame(record.frameIndex)->visible, c.selected);
    EXPECT_EQ(fresh.currentControl() == control, c.selected);
  }
}

TEST_F(SurfaceTest, DroppedControlsGetTheSettingsOfTheirKind) {
  panel.dropFromPalette("MasterButton", 0, 0, 0, 0);
  panel.dropFromPalette("MasterLabel", 0, 0, 0, 0);
  panel.dropFromPalette("pictWebBrowser", 0, 0, 0, 0);
  panel.dropFromPalette("MasterLarkLED", 0, 0, 0, 0);
  panel.dropFromPalette("MasterMeterFader", 0, 0, 0, 0);
  const auto &records = panel.panelRecord().records;
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(controlCast<DesignButton>(records[0]->control)->caption, "Button1");
  EXPECT_EQ(controlCast<DesignLabel>(records[1]->control)->text, "Label1");
  auto *browser = controlCast<DesignWebBrowser>(records[2]->control);
  EXPECT_EQ(browser->locationURL, "about:blank");
  EXPECT_EQ(records[2]->webURL, "");
  EXPECT_EQ(model().zOrder().front(), browser);  // behind everything
  auto *meter = controlCast<DesignMeter>(records[3]->control);
  EXPECT_EQ(meter->meter.levelLeft, -600);
  EXPECT_EQ(meter->meter.levelRight, -600);
  EXPECT_EQ(records[4]->meterStyle, 1);
}

TEST_F(SurfaceTest, DropOntoAControlCreatesNothingAndChangesNothing) {
  panel.dropFromPalette("MasterButton", 500, 500, 0, 0, /*targetIsCanvas=*/false);
  EXPECT_TRUE(panel.panelRecord().records.empty());
  EXPECT_EQ(model().controlCount(), 0);
  EXPECT_FALSE(panel.needToSave());

  // An item that creates nothing changes nothing, on the bare canvas too.
  panel.dropFromPalette("pictCodecControl", 500, 500, 0, 0);
  EXPECT_EQ(model().controlCount(), 0);
  EXPECT_FALSE(panel.needToSave());
  EXPECT_EQ(panel.undoStack().count(), 0);
}

TEST_F(SurfaceTest, OperationsNotifyViewsOnce) {
  int notifications = 0;
  QObject::connect(&panel, &PanelEditor::changed, [&](int) { ++notifications; });
  add(0, 0, 100, 100);
  notifications = 0;
  panel.dropFromPalette("MasterButton", 500, 500, 0, 0);  // places, clears, selects
  EXPECT_EQ(notifications, 1);

  notifications = 0;
  {
    PanelEditor::Batch bulk(panel);
    for (int i = 0; i < 3; ++i) panel.dropFromPalette("MasterLabel", 0, 0, 0, 0);
    EXPECT_EQ(notifications, 0);
  }
  EXPECT_EQ(notifications, 1);
}

TEST_F(SurfaceTest, InsertMenuStacksUnselectedControlsAtTheOrigin) {
  DesignControl *first = panel.insertControl(ControlKind::Button);
  DesignControl *second = panel.insertControl(ControlKind::Button);
  for (DesignControl *c : {first, second}) {
    EXPECT_EQ(c->left, 0);
    EXPECT_EQ(c->top, 0);
    EXPECT_TRUE(c->visible);
  }
  EXPECT_EQ(first->tag, "Button1");
  EXPECT_EQ(second->tag, "Button2");
  EXPECT_EQ(controlCast<DesignButton>(second)->caption, "Button2");
  EXPECT_TRUE(panel.selectedControls().empty());
  EXPECT_EQ(panel.currentControl(), &model().canvas);
  const ControlRecord *record = model().findRecord(second);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->backColorOn, "Yellow");
  EXPECT_EQ(record->state, "Off");
  EXPECT_TRUE(record->enabled);

  // Kinds without extra steps keep the record defaults and their template size.
  DesignControl *meter = panel.insertControl(ControlKind::Meter);
  DesignControl *clock = panel.insertControl(ControlKind::Clock);
  EXPECT_FALSE(model().findRecord(meter)->enabled);
  EXPECT_EQ(geometryOf(clock), (Geometry{0, 0, 1095, 1095}));
  EXPECT_EQ(panel.insertControl(ControlKind::MeterFader), nullptr);  // no menu entry
}

TEST_F(SurfaceTest, InsertedControlIsUnsavedWork) {
  panel.insertControl(ControlKind::Label);
  EXPECT_TRUE(panel.needToSave());
}

TEST_F(SurfaceTest, WindowResizeSizesTheCanvasAndMarksChangesUnlessOpening) {
  std::vector<std::pair<qint32, qint32>> rows;
  QObject::connect(&panel, &PanelEditor::canvasSizeRowsChanged,
                   [&](qint32 w, qint32 h) { rows.emplace_back(w, h); });
  panel.setOpening(true);
  panel.windowResized(9000, 6000);
  EXPECT_EQ(model().width, 9000);
  EXPECT_EQ(model().canvas.width, 9000 - PanelEditor::kWindowFrameWidth);
  EXPECT_EQ(model().canvas.height, 6000 - PanelEditor::kWindowFrameHeight);
  EXPECT_FALSE(panel.needToSave());
  EXPECT_TRUE(rows.empty());  // the canvas does not have the focus

  panel.setOpening(false);
  panel.canvasGotFocus();
  panel.windowResized(4000, 3000);
  EXPECT_TRUE(panel.needToSave());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], std::make_pair(4000 - PanelEditor::kWindowFrameWidth,
                                    3000 - PanelEditor::kWindowFrameHeight));
}

}  // namespace
