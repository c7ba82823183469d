// Snapping of frame drags to other controls, the panel, equal gaps and the
// grid, and the guides it leaves for the view.
#include <algorithm>

#include "surface/frameedges.h"
#include "surfacefixture.h"

namespace {

constexpr int kLeft = MouseButton::Left, kRight = MouseButton::Right;

class SnappingTest : public SurfaceTest {
 protected:
  void SetUp() override {
    model().canvas.width = 12000;
    model().canvas.height = 7000;
    panel.snapOptions.toControls = true;
    panel.snapOptions.tolerance = 90;
  }
  // Presses the control's frame at (x, y) and moves by each step in turn
  // (frame coordinates of the press, as the view reports them).
  void press(DesignControl *c, int button, double x, double y) {
    m_frame = panel.frameIndexOf(c);
    m_at = {x, y};
    panel.frameMouseDown(m_frame, button, x, y);
  }
  // Moves the pointer by (dx, dy) twips from where it is.
  void moveBy(double dx, double dy) {
    const ResizeFrame &f = *model().frame(m_frame);
    m_pointer += QPointF(dx, dy);
    const QPointF abs = m_start + m_pointer;
    panel.frameMouseMove(m_frame, m_button, abs.x() - f.left, abs.y() - f.top);
  }
  void drag(DesignControl *c, int button, double x, double y, double dx, double dy) {
    m_button = button;
    const ResizeFrame &f = frameOf(c);
    m_start = QPointF(f.left + x, f.top + y);
    m_pointer = {};
    press(c, button, x, y);
    moveBy(dx, dy);
  }
  void release() { panel.frameMouseUp(m_frame, m_button, 0, 0); }

  int m_frame = 0, m_button = 0;
  QPointF m_at, m_start, m_pointer;
};

TEST_F(SnappingTest, AMoveSnapsToTheNearestEdgeOrCentreWithinTheTolerance) {
  // The other control's lines: x 3000, 3500, 4000; y 1000, 1250, 1500. The
  // panel's: x 0, 6000, 12000; y 0, 3500, 7000. The moved control is 600 x 400
  // at (500, 2500): nothing is near on y.
  struct Case {
    const char *what;
    bool controls, grid, alt;
    qint32 freeLeft;  // where the pointer alone would put it
    qint32 left, top;
    std::vector<qint32> guidesAtX;
  } cases[] = {
      {"left to left", true, false, false, 3060, 3000, 2500, {3000}},
      {"right to left", true, false, false, 2330, 2400, 2500, {3000}},
      {"centre to centre", true, false, false, 3250, 3200, 2500, {3500}},
      {"nothing in reach", true, false, false, 2100, 2100, 2500, {}},
      {"Alt moves freely", true, false, true, 3060, 3060, 2500, {}},
      {"grid only", false, true, false, 3060, 3100, 2500, {}},
      {"a control in reach wins over the grid", true, true, false, 3060, 3000, 2500, {3000}},
      {"snapping off", false, false, false, 3060, 3060, 2500, {}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    DesignControl *other = add(3000, 1000, 1000, 500);
    DesignControl *moved = add(500, 2500, 600, 400);
    click(moved);
    panel.snapOptions.toControls = c.controls;
    panel.snapOptions.toGrid = c.grid;
    panel.snapOptions.suspended = c.alt;
    drag(moved, kRight, 300, 200, c.freeLeft - 500, 0);
    EXPECT_EQ(moved->left, c.left);
    EXPECT_EQ(moved->top, c.top);
    EXPECT_EQ(frameOf(moved).left, c.left - 75);
    std::vector<qint32> guides;
    for (const SnapGuide &g : panel.snapMarks().guides) {
      if (g.axis != SnapAxis::X) continue;
      guides.push_back(g.at);
      EXPECT_EQ(g.from, 1000);  // from the other control's top to the moved one's bottom
      EXPECT_EQ(g.to, 2900);
    }
    EXPECT_EQ(guides, c.guidesAtX);
    const int steps = panel.undoStack().count();
    release();
    EXPECT_TRUE(panel.snapMarks().empty());
    EXPECT_EQ(panel.undoStack().count(), steps + (c.left != 500 ? 1 : 0));
    // Both go again, so that the next case starts on an empty panel.
    click(other);
    click(moved, true);
    panel.removeSelectedControls();
  }
}

TEST_F(SnappingTest, ASnappedEdgeLetsGoAsThePointerMovesOnWithoutLosingItsPlace) {
  add(3000, 1000, 1000, 500);
  DesignControl *moved = add(500, 2500, 600, 400);
  click(moved);
  // Right edge (its frame is 750 wide): pulled to 60 short of the other's left.
  drag(moved, kLeft, 740, 200, 3000 - 1100 - 60, 0);
  EXPECT_EQ(moved->left, 500);
  EXPECT_EQ(moved->width, 2500);
  moveBy(260, 0);  // free again: where the pointer alone puts it
  EXPECT_EQ(moved->width, 2500 - 60 + 260);
  moveBy(-260, 0);
  EXPECT_EQ(moved->width, 2500);
  release();
  // Left edge, and then a move: the pointer keeps its place in the frame.
  drag(moved, kLeft, 10, 200, -500 + 40, 0);  // near the panel's left edge
  EXPECT_EQ(moved->left, 0);
  EXPECT_EQ(moved->left + moved->width, 3000);
  moveBy(300, 0);
  EXPECT_EQ(moved->left, 340);
  release();
  drag(moved, kRight, 300, 200, -200, 0);
  EXPECT_EQ(moved->left, 140);
  moveBy(-100, 0);
  EXPECT_EQ(moved->left, 0);  // the panel's edge in reach
  moveBy(-200, 0);
  EXPECT_EQ(moved->left, -160);
  release();
}

TEST_F(SnappingTest, EqualGapsAreSnappedToAndMarked) {
  add(0, 0, 1000, 500);
  DesignControl *b = add(2000, 0, 1000, 500);
  add(3300, 3000, 300, 300);  // between them on x but in another row: no neighbour
  struct Case {
    const char *what;
    qint32 bLeft, width, freeLeft, left;
    std::vector<std::pair<qint32, qint32>> gaps;
  } cases[] = {
      {"the gap between the neighbours", 2000, 1000, 4040, 4000, {{1000, 2000}, {3000, 4000}}},
      {"centred between them", 3000, 800, 1650, 1600, {{1000, 1600}, {2400, 3000}}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    b->left = c.bLeft;
    placeFrame(frameOf(b), *b);
    DesignControl *moved = add(7000, 0, c.width, 500);
    click(moved);
    drag(moved, kRight, 300, 200, c.freeLeft - 7000, 0);
    EXPECT_EQ(moved->left, c.left);
    std::vector<std::pair<qint32, qint32>> gaps;
    for (const SnapGap &g : panel.snapMarks().gaps) {
      EXPECT_EQ(g.axis, SnapAxis::X);
      EXPECT_EQ(g.across, 250);
      gaps.emplace_back(g.from, g.to);
    }
    std::sort(gaps.begin(), gaps.end());
    EXPECT_EQ(gaps, c.gaps);
    release();
    click(moved);
    panel.removeSelectedControls();
  }
}

TEST_F(SnappingTest, AResizedEdgeSnapsToAnEqualGap) {
  add(0, 0, 1000, 500);
  add(2000, 0, 1000, 500);
  DesignControl *resized = add(4500, 0, 1000, 500);
  click(resized);
  // Its left edge pulled to 1040 after the second control: 1000, as between
  // the first two.
  drag(resized, kLeft, 10, 200, -460, 0);
  EXPECT_EQ(resized->left, 4000);
  EXPECT_EQ(resized->width, 1500);
  ASSERT_EQ(panel.snapMarks().gaps.size(), 2u);
  release();
}

TEST_F(SnappingTest, ASelectionSnapsByItsBounds) {
  add(0, 3000, 500, 500);
  DesignControl *p = add(1000, 0, 400, 400), *q = add(2000, 600, 400, 400);
  DesignControl *hidden = add(9000, 5000, 100, 100);  // moves along, not lined up
  hidden->visible = false;
  select({hidden, p, q});
  // Bounds of what shows (1000, 0)-(2400, 1000); its bottom comes within 50 of 3000.
  drag(q, kRight, 200, 200, 0, 1950);
  EXPECT_EQ(p->top, 2000);
  EXPECT_EQ(q->top, 2600);
  EXPECT_EQ(q->top + q->height, 3000);
  EXPECT_EQ(hidden->top, 5000 + 2000);
  release();
}

}  // namespace
