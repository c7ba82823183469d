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
    EXPECT_TRUE(frameOf(control).Visible);
    EXPECT_EQ(geometryOf(frameOf(control)), c.frame);
  }
}

TEST_F(SurfaceTest, PlainClickSelectsOnlyTheClickedControlUnlessAlreadySelected) {
  DesignControl *a = add(0, 0, 100, 100), *b = add(500, 0, 100, 100), *c = add(900, 0, 100, 100);
  select({a, b});
  click(a);  // a selected control: the group stays, a becomes current
  EXPECT_EQ(panel.collSelectedControls, (Controls{a, b}));
  EXPECT_EQ(panel.objCurrentControl, a);
  click(c);
  EXPECT_EQ(panel.collSelectedControls, Controls{c});
  EXPECT_EQ(panel.objCurrentControl, c);
  EXPECT_FALSE(frameOf(a).Visible);
  EXPECT_FALSE(frameOf(b).Visible);
  EXPECT_TRUE(frameOf(c).Visible);
  EXPECT_TRUE(panel.timFillProperties.isActive());
}

TEST_F(SurfaceTest, CtrlClickTogglesExceptForWebBrowsers) {
  struct Case {
    ControlKind kind;
    bool staysSelected;
  } cases[] = {
      {ControlKind::Button, false}, {ControlKind::Clock, false}, {ControlKind::WebBrowser, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(TypeName(c.kind).toStdString());
    frmPanel fresh(ui);
    DesignControl *control = fresh.InsertControl(c.kind);
    fresh.ControlGotFocus(control);
    fresh.boolCtrlDown = true;
    fresh.ControlGotFocus(control);
    if (c.staysSelected) {
      EXPECT_EQ(fresh.collSelectedControls, Controls{control});
      EXPECT_EQ(fresh.objCurrentControl, control);
    } else {
      EXPECT_TRUE(fresh.collSelectedControls.empty());
      EXPECT_EQ(fresh.objCurrentControl, &fresh.model().pictMain);
      EXPECT_EQ(fresh.focusObject(), &fresh.model().pictMain);
      EXPECT_FALSE(fresh.model().Frame(fresh.GetResizeIndex(control))->Visible);
    }
  }
}

TEST_F(SurfaceTest, CtrlClickAddsAndRemovingTheCurrentMakesTheFirstRemainingCurrent) {
  DesignControl *a = add(0, 0, 100, 100), *b = add(500, 0, 100, 100), *c = add(900, 0, 100, 100);
  select({a, b, c});
  EXPECT_EQ(panel.collSelectedControls, (Controls{a, b, c}));
  click(c, /*ctrl=*/true);
  EXPECT_EQ(panel.collSelectedControls, (Controls{a, b}));
  EXPECT_EQ(panel.objCurrentControl, a);
  EXPECT_FALSE(frameOf(c).Visible);
  EXPECT_TRUE(frameOf(b).Visible);
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
  EXPECT_EQ(panel.collSelectedControls, (Controls{start, far, between, touching}));
  EXPECT_EQ(panel.objCurrentControl, far);
  for (DesignControl *c : {start, far, between, touching}) EXPECT_TRUE(frameOf(c).Visible);
  for (DesignControl *c : {outside, below}) EXPECT_FALSE(frameOf(c).Visible);
}

TEST_F(SurfaceTest, CanvasFocusEmptiesTheSelectionAndShowsThePanel) {
  DesignControl *a = add(0, 0, 100, 100), *b = add(500, 0, 100, 100);
  select({a, b});
  panel.timFillProperties.stop();
  int fills = 0;
  QObject::connect(&panel, &frmPanel::fillPropertiesRequested, [&] { ++fills; });
  panel.CanvasGotFocus();
  EXPECT_TRUE(panel.collSelectedControls.empty());
  EXPECT_FALSE(frameOf(a).Visible);
  EXPECT_EQ(panel.objCurrentControl, &model().pictMain);
  EXPECT_TRUE(panel.timFillProperties.isActive());
  panel.timFillPropertiesTick();
  EXPECT_EQ(fills, 1);
  EXPECT_FALSE(panel.timFillProperties.isActive());
}

TEST_F(SurfaceTest, FrameFocusSelectsItsControl) {
  DesignControl *a = add(0, 0, 100, 100), *b = add(500, 0, 100, 100);
  click(a);
  panel.FrameGotFocus(panel.GetResizeIndex(b));
  EXPECT_EQ(panel.collSelectedControls, Controls{b});
  EXPECT_EQ(panel.objCurrentControl, b);
  EXPECT_EQ(panel.focusFrame(), panel.GetResizeIndex(b));
}

TEST_F(SurfaceTest, ControlsWithoutARecordAreNeverMoved) {
  DesignControl *recorded = add(0, 0, 100, 100);
  DesignControl *bare = model().LoadControl(ControlKind::Button);  // no record, no frame
  EXPECT_EQ(panel.GetResizeIndex(bare), 0);
  panel.collSelectedControls = {bare, recorded};
  panel.ResizeSelected(10, 20, 30, 40, true);
  EXPECT_EQ(geometryOf(bare), (Geometry{0, 0, 1215, 495}));
  EXPECT_EQ(geometryOf(recorded), (Geometry{10, 20, 130, 140}));
}

TEST(EdgeCorner, CodesCornersFirstThenEdges) {
  ResizeFrame frame;
  frame.Width = 1350;
  frame.Height = 650;
  struct Case {
    double x, y;
    int code;
  } cases[] = {
      {10, 10, 1},    {10, 640, 3},   {1340, 10, 7},    {1340, 640, 5},  {10, 300, 2},
      {1340, 300, 6}, {600, 10, 8},   {600, 640, 4},    {600, 300, 0},   {94.9, 300, 2},
      {95, 300, 0},   {1255, 300, 0}, {1255.5, 300, 6}, {600, 555.5, 4},
  };
  for (const Case &c : cases)
    EXPECT_EQ(frmPanel::GetEdgeCorner(c.x, c.y, frame), c.code) << c.x << ", " << c.y;

  // A frame narrower than two grab bands: the left band wins a point in both.
  frame.Width = 160;
  EXPECT_EQ(frmPanel::GetEdgeCorner(80, 300, frame), FrameEdge::Left);
}

}  // namespace
