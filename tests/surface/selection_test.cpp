// Selecting with clicks, Ctrl and Shift; frames; edge codes.
#include "surface/frameedges.h"
#include "surfacefixture.h"

namespace {

using Controls = std::vector<DesignControl *>;

TEST_F(SurfaceTest, SelectedControlGetsAFrameBandAroundIt) {
  struct Case {
    Geometry control, frame;
  } cases[] = {
      {{1000, 1000, 1200, 500}, {925, 925, 1350, 650}},
      {{0, -40, 0, 10}, {-75, -115, 150, 160}},
  };
  for (const Case &c : cases) {
    DesignControl *control = add(c.control.left, c.control.top, c.control.width, c.control.height);
    click(control);
    EXPECT_TRUE(frameOf(control).visible);
    EXPECT_EQ(geometryOf(frameOf(control)), c.frame);
  }
}

TEST_F(SurfaceTest, PlainClickSelectsOnlyTheClickedControlUnlessAlreadySelected) {
  DesignControl *a = add(0, 0, 100, 100), *b = add(500, 0, 100, 100), *c = add(900, 0, 100, 100);
  select({a, b});
  click(a);  // a selected control: the group stays, a becomes current
  EXPECT_EQ(panel.selectedControls(), (Controls{a, b}));
  EXPECT_EQ(panel.currentControl(), a);
  click(c);
  EXPECT_EQ(panel.selectedControls(), Controls{c});
  EXPECT_EQ(panel.currentControl(), c);
  EXPECT_FALSE(frameOf(a).visible);
  EXPECT_FALSE(frameOf(b).visible);
  EXPECT_TRUE(frameOf(c).visible);
  EXPECT_TRUE(panel.fillPropertiesTimer.isActive());
}

TEST_F(SurfaceTest, CtrlClickTogglesExceptForWebBrowsers) {
  struct Case {
    ControlKind kind;
    bool staysSelected;
  } cases[] = {
      {ControlKind::Button, false}, {ControlKind::Clock, false}, {ControlKind::WebBrowser, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(typeName(c.kind).toStdString());
    PanelEditor fresh(ui);
    DesignControl *control = fresh.insertControl(c.kind);
    fresh.controlGotFocus(control);
    fresh.setCtrlDown(true);
    fresh.controlGotFocus(control);
    if (c.staysSelected) {
      EXPECT_EQ(fresh.selectedControls(), Controls{control});
      EXPECT_EQ(fresh.currentControl(), control);
    } else {
      EXPECT_TRUE(fresh.selectedControls().empty());
      EXPECT_EQ(fresh.currentControl(), &fresh.model().canvas);
      EXPECT_EQ(fresh.focusObject(), &fresh.model().canvas);
      EXPECT_FALSE(fresh.model().frame(fresh.frameIndexOf(control))->visible);
    }
  }
}

TEST_F(SurfaceTest, CtrlClickAddsAndRemovingTheCurrentMakesTheFirstRemainingCurrent) {
  DesignControl *a = add(0, 0, 100, 100), *b = add(500, 0, 100, 100), *c = add(900, 0, 100, 100);
  select({a, b, c});
  EXPECT_EQ(panel.selectedControls(), (Controls{a, b, c}));
  click(c, /*ctrl=*/true);
  EXPECT_EQ(panel.selectedControls(), (Controls{a, b}));
  EXPECT_EQ(panel.currentControl(), a);
  EXPECT_FALSE(frameOf(c).visible);
  EXPECT_TRUE(frameOf(b).visible);
}

TEST_F(SurfaceTest, ShiftClickSelectsEverythingTouchingTheSpannedBox) {
  DesignControl *start = add(0, 0, 500, 500);
  DesignControl *far = add(3000, 3000, 500, 500);
  DesignControl *between = add(1500, 1500, 200, 200);  // never clicked
  DesignControl *touching = add(3500, 0, 100, 100);    // Left equals the box's right edge
  DesignControl *outside = add(3501, 0, 100, 100);
  DesignControl *below = add(0, 3501, 100, 100);
  click(start);
  click(far, false, /*shift=*/true);
  EXPECT_EQ(panel.selectedControls(), (Controls{start, far, between, touching}));
  EXPECT_EQ(panel.currentControl(), far);
  for (DesignControl *c : {start, far, between, touching}) EXPECT_TRUE(frameOf(c).visible);
  for (DesignControl *c : {outside, below}) EXPECT_FALSE(frameOf(c).visible);
}

TEST_F(SurfaceTest, CanvasFocusEmptiesTheSelectionAndShowsThePanel) {
  DesignControl *a = add(0, 0, 100, 100), *b = add(500, 0, 100, 100);
  select({a, b});
  panel.fillPropertiesTimer.stop();
  int fills = 0;
  QObject::connect(&panel, &PanelEditor::fillPropertiesRequested, [&] { ++fills; });
  panel.canvasGotFocus();
  EXPECT_TRUE(panel.selectedControls().empty());
  EXPECT_FALSE(frameOf(a).visible);
  EXPECT_EQ(panel.currentControl(), &model().canvas);
  EXPECT_TRUE(panel.fillPropertiesTimer.isActive());
  panel.fillPropertiesTick();
  EXPECT_EQ(fills, 1);
  EXPECT_FALSE(panel.fillPropertiesTimer.isActive());
}

TEST_F(SurfaceTest, FrameFocusSelectsItsControl) {
  DesignControl *a = add(0, 0, 100, 100), *b = add(500, 0, 100, 100);
  click(a);
  panel.frameGotFocus(panel.frameIndexOf(b));
  EXPECT_EQ(panel.selectedControls(), Controls{b});
  EXPECT_EQ(panel.currentControl(), b);
  EXPECT_EQ(panel.focusFrame(), panel.frameIndexOf(b));
}

TEST_F(SurfaceTest, ControlsWithoutARecordAreNeverMoved) {
  DesignControl *recorded = add(0, 0, 100, 100);
  DesignControl *bare = model().loadControl(ControlKind::Button);  // no record, no frame
  EXPECT_EQ(panel.frameIndexOf(bare), 0);
  panel.selectControls({bare, recorded}, recorded);
  ASSERT_EQ(panel.selectedControls().size(), 2u);
  panel.resizeSelected(10, 20, 30, 40, true);
  EXPECT_EQ(geometryOf(bare), (Geometry{0, 0, 1215, 495}));
  EXPECT_EQ(geometryOf(recorded), (Geometry{10, 20, 130, 140}));
}

TEST(EdgeCorner, CodesCornersFirstThenEdges) {
  ResizeFrame frame;
  frame.width = 1350;
  frame.height = 650;
  struct Case {
    double x, y;
    int code;
  } cases[] = {
      {10, 10, 1},    {10, 640, 3},   {1340, 10, 7},    {1340, 640, 5},  {10, 300, 2},
      {1340, 300, 6}, {600, 10, 8},   {600, 640, 4},    {600, 300, 0},   {94.9, 300, 2},
      {95, 300, 0},   {1255, 300, 0}, {1255.5, 300, 6}, {600, 555.5, 4},
  };
  for (const Case &c : cases)
    EXPECT_EQ(PanelEditor::edgeCorner(c.x, c.y, frame), c.code) << c.x << ", " << c.y;

  // A frame narrower than two grab bands: the left band wins a point in both.
  frame.width = 160;
  EXPECT_EQ(PanelEditor::edgeCorner(80, 300, frame), FrameEdge::Left);
}

}  // namespace
