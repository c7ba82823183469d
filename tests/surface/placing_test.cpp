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
    frmPanel fresh(ui);
    fresh.DropFromPalette("MasterButton", c.x, c.y, c.offsetX, c.offsetY);
    ASSERT_EQ(fresh.PanelDetails().CollControls.size(), 1u);
    const DesignControl *button = fresh.PanelDetails().CollControls[0]->cntrlObject;
    EXPECT_EQ(button->Left, c.left) << c.x;
    EXPECT_EQ(button->Top, c.top) << c.y;
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
    frmPanel fresh(ui);
    // Something selected already, of another kind so that names do not clash.
    fresh.DropFromPalette(c.kind == ControlKind::Button ? "MasterLabel" : "MasterButton", 3000,
                          3000, 0, 0);
    fresh.DropFromPalette(c.source, 500, 500, 0, 0);
    ASSERT_EQ(fresh.PanelDetails().CollControls.size(), 2u);
    const clsControlDetails &record = *fresh.PanelDetails().CollControls[1];
    DesignControl *control = record.cntrlObject;
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->kind(), c.kind);
    EXPECT_EQ(control->Tag, c.name);
    EXPECT_EQ(geometryOf(control), (Geometry{500, 500, c.width, c.height}));
    EXPECT_TRUE(control->Visible);
    EXPECT_EQ(record.Enabled, c.enabled);
    EXPECT_FALSE(record.Flash);
    EXPECT_EQ(record.State, c.state);
    EXPECT_EQ(record.BackColorOff, c.backOff);
    EXPECT_EQ(record.BackColorOn, c.backOn);
    EXPECT_EQ(fresh.focusObject(), control);
    EXPECT_TRUE(fresh.NeedToSave());

    // A selecting drop selects like a plain click: only the new control;
    // the others leave the earlier selection alone.
    DesignControl *earlier = fresh.PanelDetails().CollControls[0]->cntrlObject;
    EXPECT_EQ(fresh.collSelectedControls,
              std::vector<DesignControl *>{c.selected ? control : earlier});
    ASSERT_NE(fresh.model().Frame(record.lngPictResizeIndex), nullptr);
    EXPECT_EQ(fresh.model().Frame(record.lngPictResizeIndex)->Visible, c.selected);
    EXPECT_EQ(fresh.objCurrentControl == control, c.selected);
  }
}

TEST_F(SurfaceTest, DroppedControlsGetTheSettingsOfTheirKind) {
  panel.DropFromPalette("MasterButton", 0, 0, 0, 0);
  panel.DropFromPalette("MasterLabel", 0, 0, 0, 0);
  panel.DropFromPalette("pictWebBrowser", 0, 0, 0, 0);
  panel.DropFromPalette("MasterLarkLED", 0, 0, 0, 0);
  panel.DropFromPalette("MasterMeterFader", 0, 0, 0, 0);
  const auto &records = panel.PanelDetails().CollControls;
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(As<DesignButton>(records[0]->cntrlObject)->Caption, "Button1");
  EXPECT_EQ(As<DesignLabel>(records[1]->cntrlObject)->Text, "Label1");
  auto *browser = As<DesignWebBrowser>(records[2]->cntrlObject);
  EXPECT_EQ(browser->LocationURL, "about:blank");
  EXPECT_EQ(records[2]->WebURL, "");
  EXPECT_EQ(model().ZOrder().front(), browser);  // behind everything
  auto *meter = As<DesignMeter>(records[3]->cntrlObject);
  EXPECT_EQ(meter->Meter.LevelLeft, -600);
  EXPECT_EQ(meter->Meter.LevelRight, -600);
  EXPECT_EQ(records[4]->MeterStyle, 1);
}

TEST_F(SurfaceTest, DropOntoAControlCreatesNothingAndChangesNothing) {
  panel.DropFromPalette("MasterButton", 500, 500, 0, 0, /*targetIsCanvas=*/false);
  EXPECT_TRUE(panel.PanelDetails().CollControls.empty());
  EXPECT_EQ(model().ControlCount(), 0);
  EXPECT_FALSE(panel.NeedToSave());

  // An item that creates nothing changes nothing, on the bare canvas too.
  panel.DropFromPalette("pictCodecControl", 500, 500, 0, 0);
  EXPECT_EQ(model().ControlCount(), 0);
  EXPECT_FALSE(panel.NeedToSave());
  EXPECT_EQ(panel.undoStack().count(), 0);
}

TEST_F(SurfaceTest, OperationsNotifyViewsOnce) {
  int notifications = 0;
  QObject::connect(&panel, &frmPanel::changed, [&](int) { ++notifications; });
  add(0, 0, 100, 100);
  notifications = 0;
  panel.DropFromPalette("MasterButton", 500, 500, 0, 0);  // places, clears, selects
  EXPECT_EQ(notifications, 1);

  notifications = 0;
  {
    frmPanel::Batch bulk(panel);
    for (int i = 0; i < 3; ++i) panel.DropFromPalette("MasterLabel", 0, 0, 0, 0);
    EXPECT_EQ(notifications, 0);
  }
  EXPECT_EQ(notifications, 1);
}

TEST_F(SurfaceTest, InsertMenuStacksUnselectedControlsAtTheOrigin) {
  DesignControl *first = panel.InsertControl(ControlKind::Button);
  DesignControl *second = panel.InsertControl(ControlKind::Button);
  for (DesignControl *c : {first, second}) {
    EXPECT_EQ(c->Left, 0);
    EXPECT_EQ(c->Top, 0);
    EXPECT_TRUE(c->Visible);
  }
  EXPECT_EQ(first->Tag, "Button1");
  EXPECT_EQ(second->Tag, "Button2");
  EXPECT_EQ(As<DesignButton>(second)->Caption, "Button2");
  EXPECT_TRUE(panel.collSelectedControls.empty());
  EXPECT_EQ(panel.objCurrentControl, &model().pictMain);
  const clsControlDetails *record = model().FindRecord(second);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->BackColorOn, "Yellow");
  EXPECT_EQ(record->State, "Off");
  EXPECT_TRUE(record->Enabled);

  // Kinds without extra steps keep the record defaults and their template size.
  DesignControl *meter = panel.InsertControl(ControlKind::Meter);
  DesignControl *clock = panel.InsertControl(ControlKind::Clock);
  EXPECT_FALSE(model().FindRecord(meter)->Enabled);
  EXPECT_EQ(geometryOf(clock), (Geometry{0, 0, 1095, 1095}));
  EXPECT_EQ(panel.InsertControl(ControlKind::MeterFader), nullptr);  // no menu entry
}

TEST_F(SurfaceTest, InsertedControlIsUnsavedWork) {
  panel.InsertControl(ControlKind::Label);
  EXPECT_TRUE(panel.NeedToSave());
}

TEST_F(SurfaceTest, WindowResizeSizesTheCanvasAndMarksChangesUnlessOpening) {
  std::vector<std::pair<qint32, qint32>> rows;
  QObject::connect(&panel, &frmPanel::canvasSizeRowsChanged,
                   [&](qint32 w, qint32 h) { rows.emplace_back(w, h); });
  panel.boolOpenResize = true;
  panel.WindowResized(9000, 6000);
  EXPECT_EQ(model().Width, 9000);
  EXPECT_EQ(model().pictMain.Width, 9000 - frmPanel::kWindowFrameWidth);
  EXPECT_EQ(model().pictMain.Height, 6000 - frmPanel::kWindowFrameHeight);
  EXPECT_FALSE(panel.NeedToSave());
  EXPECT_TRUE(rows.empty());  // the canvas does not have the focus

  panel.boolOpenResize = false;
  panel.CanvasGotFocus();
  panel.WindowResized(4000, 3000);
  EXPECT_TRUE(panel.NeedToSave());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], std::make_pair(4000 - frmPanel::kWindowFrameWidth,
                                    3000 - frmPanel::kWindowFrameHeight));
}

}  // namespace
