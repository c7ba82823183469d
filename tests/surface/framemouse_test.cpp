// Moving and resizing with the mouse on a frame.
#include "surfacefixture.h"

namespace {

using MB = int;
constexpr MB kLeft = MouseButton::Left, kRight = MouseButton::Right;

class FrameMouseTest : public SurfaceTest {
 protected:
  // Press on the control's frame at (x0, y0), move to (x1, y1), release.
  void drag(DesignControl *c, int button, double x0, double y0, double x1, double y1) {
    const int frame = panel.frameIndexOf(c);
    panel.frameMouseDown(frame, button, x0, y0);
    panel.frameMouseMove(frame, button, x1, y1);
    panel.frameMouseUp(frame, button, x1, y1);
  }
};

TEST_F(FrameMouseTest, EachEdgeResizesFromItsSide) {
  // Control (1000, 1000) 1200 x 500; its frame is 1350 x 650 at (925, 925).
  struct Case {
    const char *edge;
    double x0, y0, x1, y1;
    Geometry result;
  } cases[] = {
      {"right", 1340, 300, 1440, 300, {1000, 1000, 1300, 500}},
      {"bottom", 600, 640, 600, 700, {1000, 1000, 1200, 560}},
      {"left", 10, 300, 110, 300, {1100, 1000, 1100, 500}},
      {"top", 600, 10, 600, -40, {1000, 950, 1200, 550}},
      {"bottom-right", 1340, 640, 1440, 690, {1000, 1000, 1300, 550}},
      {"top-left", 10, 10, -90, -10, {900, 980, 1300, 520}},
      {"inside", 600, 300, 900, 400, {1000, 1000, 1200, 500}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.edge);
    DesignControl *control = add(1000, 1000, 1200, 500);
    click(control);
    drag(control, kLeft, c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(geometryOf(control), c.result);
    const Geometry frame = geometryOf(frameOf(control));
    EXPECT_EQ(frame, (Geometry{c.result.left - 75, c.result.top - 75, c.result.width + 150,
                               c.result.height + 150}));
  }
}

// The left and top edges follow the pointer step by step from where it
// grabbed the band: 20 pixels are 300 twips. The press's place in the band
// was once added to the first step.
TEST_F(FrameMouseTest, LeftAndTopEdgesFollowThePointerOverManySteps) {
  DesignControl *c = add(1000, 1000, 1200, 500);
  click(c);
  const int frame = panel.frameIndexOf(c);
  panel.frameMouseDown(frame, kLeft, 35, 40);
  for (int i = 1; i <= 20; ++i) {
    // The frame moves with the edge: the pointer, 15 twips further each
    // step, is found at its place in the frame less how far the frame went.
    const ResizeFrame &f = frameOf(c);
    panel.frameMouseMove(frame, kLeft, 925 + 35 - 15 * i - f.left, 925 + 40 - 15 * i - f.top);
  }
  panel.frameMouseUp(frame, kLeft, 0, 0);
  EXPECT_EQ(geometryOf(c), (Geometry{700, 700, 1500, 800}));
}

TEST_F(FrameMouseTest, TooSmallFrameRefusesTheStepButTheStartPointFollowsThePointer) {
  DesignControl *c = add(1000, 1000, 10, 500);  // frame 160 wide
  click(c);
  const int frame = panel.frameIndexOf(c);
  panel.frameMouseDown(frame, kLeft, 150, 300);
  panel.frameMouseMove(frame, kLeft, 130, 300);  // 140 wide would be too small
  EXPECT_EQ(frameOf(c).width, 160);
  EXPECT_EQ(c->width, 10);
  EXPECT_EQ(panel.dragStart().x(), 130);
  panel.frameMouseMove(frame, kLeft, 150, 300);  // back out: grows from 130
  EXPECT_EQ(frameOf(c).width, 180);
  EXPECT_EQ(c->width, 30);
}

TEST_F(FrameMouseTest, LeftEdgeAtMinimumMovesTheControlAndStillPassesTheStepOn) {
  DesignControl *small = add(1000, 1000, 10, 500);
  DesignControl *other = add(3000, 0, 400, 400);
  select({other, small});
  drag(small, kLeft, 10, 300, 30, 300);
  EXPECT_EQ(geometryOf(small), (Geometry{1020, 1000, 10, 500}));
  EXPECT_EQ(geometryOf(other), (Geometry{3020, 0, 380, 400}));
}

TEST_F(FrameMouseTest, OtherSelectedControlsFollowTheCurrentOne) {
  DesignControl *a = add(0, 0, 400, 400), *b = add(1000, 0, 600, 300), *c = add(0, 1000, 1000, 200);
  select({a, b, c});
  drag(c, kLeft, 1140, 340, 1240, 390);  // bottom-right corner by (+100, +50)
  EXPECT_EQ(geometryOf(c), (Geometry{0, 1000, 1100, 250}));
  EXPECT_EQ(geometryOf(a), (Geometry{0, 0, 500, 450}));
  EXPECT_EQ(geometryOf(b), (Geometry{1000, 0, 700, 350}));
  EXPECT_EQ(geometryOf(frameOf(b)), (Geometry{925, -75, 850, 500}));

  drag(a, kRight, 300, 300, 500.5, 199.5);  // a move by (+200, -100); halves go to even
  EXPECT_EQ(geometryOf(a), (Geometry{200, -100, 500, 450}));
  EXPECT_EQ(geometryOf(b), (Geometry{1200, -100, 700, 350}));
  EXPECT_EQ(geometryOf(frameOf(c)), (Geometry{125, 825, 1250, 400}));
}

TEST_F(FrameMouseTest, ShrinkingTheGroupNeverGivesAnotherControlANegativeSize) {
  DesignControl *big = add(0, 0, 2000, 500), *tiny = add(0, 1000, 100, 100);
  select({tiny, big});
  drag(big, kLeft, 2140, 300, 1940, 300);  // right edge 200 inward
  EXPECT_EQ(big->width, 1800);
  EXPECT_EQ(geometryOf(tiny), (Geometry{0, 1000, 100, 100}));
}

TEST_F(FrameMouseTest, DragReportsTheCurrentControlsGeometryRows) {
  std::vector<Geometry> rows;
  QObject::connect(&panel, &PanelEditor::geometryRowsChanged,
                   [&](qint32 w, qint32 h, qint32 top, qint32 left) {
                     rows.push_back({left, top, w, h});
                   });
  DesignControl *c = add(1000, 1000, 1200, 500);
  click(c);
  drag(c, kRight, 600, 300, 700, 350);
  EXPECT_EQ(rows, std::vector<Geometry>{(Geometry{1100, 1050, 1200, 500})});
}

TEST_F(FrameMouseTest, ADragMarksThePanelChangedAndThePressSetsThePointer) {
  DesignControl *c = add(1000, 1000, 1200, 500);
  click(c);
  const int frame = panel.frameIndexOf(c);
  panel.frameMouseDown(frame, MouseButton::Middle, 600, 300);
  EXPECT_FALSE(panel.needToSave());
  // A press and release without a move changes nothing.
  panel.frameMouseDown(frame, kRight, 600, 300);
  panel.frameMouseUp(frame, kRight, 600, 300);
  EXPECT_FALSE(panel.needToSave());
  EXPECT_EQ(frameOf(c).mousePointer, FramePointer::Move);
  drag(c, kRight, 600, 300, 615, 300);
  EXPECT_TRUE(panel.needToSave());

  panel.frameMouseMove(frame, 0, 600, 300);  // inside: the move pointer stays
  EXPECT_EQ(frameOf(c).mousePointer, FramePointer::Move);
  struct Case {
    double x, y;
    FramePointer pointer;
  } hovers[] = {{10, 10, FramePointer::SizeNWSE},
                {10, 640, FramePointer::SizeNESW},
                {1340, 300, FramePointer::SizeWE},
                {600, 640, FramePointer::SizeNS}};
  for (const Case &h : hovers) {
    panel.frameMouseMove(frame, 0, h.x, h.y);
    EXPECT_EQ(frameOf(c).mousePointer, h.pointer);
  }
}

TEST_F(FrameMouseTest, PressSelectsTheFramesControlWhenItHasNoFocusYet) {
  DesignControl *a = add(0, 0, 400, 400), *b = add(1000, 0, 400, 400);
  click(a);
  drag(b, kRight, 200, 200, 300, 200);
  EXPECT_EQ(panel.selectedControls(), std::vector<DesignControl *>{b});
  EXPECT_EQ(b->left, 1100);
  EXPECT_EQ(a->left, 0);
}

TEST_F(FrameMouseTest, CtrlPressThatDeselectsItsControlDragsNothing) {
  DesignControl *a = add(0, 0, 400, 400), *b = add(1000, 0, 400, 400);
  select({a, b});
  panel.setCtrlDown(true);
  drag(b, kRight, 200, 200, 700, 200);
  EXPECT_EQ(panel.selectedControls(), std::vector<DesignControl *>{a});
  EXPECT_EQ(panel.currentControl(), a);
  EXPECT_EQ(geometryOf(a), (Geometry{0, 0, 400, 400}));
  EXPECT_EQ(geometryOf(b), (Geometry{1000, 0, 400, 400}));
}

TEST_F(FrameMouseTest, AnalogueClockStaysSquareAlongTheEdgeThatChangedMost) {
  struct Case {
    const char *edge;
    bool digital;
    double x0, y0, x1, y1;
    qint32 width, height;
  } cases[] = {
      // The clock is 1630 square; its frame 1780.
      {"right", false, 1770, 900, 1970, 900, 1830, 1830},
      {"bottom", false, 900, 1770, 900, 2070, 1930, 1930},
      {"corner, height more", false, 1770, 1770, 1870, 2070, 1930, 1930},
      {"right, digital", true, 1770, 900, 1970, 900, 1830, 1630},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.edge);
    auto *clock = static_cast<DesignClock *>(add(500, 500, 1630, 1630, ControlKind::Clock));
    clock->digital = c.digital;
    click(clock);
    drag(clock, kLeft, c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(clock->width, c.width);
    EXPECT_EQ(clock->height, c.height);
    EXPECT_EQ(frameOf(clock).width, c.width + 150);
    EXPECT_EQ(frameOf(clock).height, c.height + 150);
  }
}

}  // namespace
