// Align and spread, and the small sorting and filling helpers they use.
#include "surface/placementkey.h"
#include "surfacefixture.h"

namespace {

class ArrangeTest : public SurfaceTest {
 protected:
  // Controls at the given positions (on one axis) and extents, selected in
  // the order given.
  std::vector<DesignControl *> place(bool horizontal, const std::vector<qint32> &positions,
                                     const std::vector<qint32> &extents) {
    std::vector<DesignControl *> controls;
    for (size_t i = 0; i < positions.size(); ++i) {
      DesignControl *c = horizontal ? add(positions[i], 3000, extents[i], 100)
                                    : add(3000, positions[i], 100, extents[i]);
      controls.push_back(c);
      click(c, /*ctrl=*/i > 0);
    }
    return controls;
  }
};

TEST_F(ArrangeTest, SpreadPlacesEvenlyInPositionOrderWithoutOverlap) {
  struct Case {
    const char *what;
    bool horizontal;
    std::vector<qint32> positions, extents, expected;
  } cases[] = {
      {"gap 450, ordered by position", true, {100, 1000, 400}, {200, 200, 200}, {100, 1000, 550}},
      {"overlaps pushed 10 past", true, {0, 100, 200}, {500, 500, 500}, {0, 510, 1020}},
      {"gap 2.5 rounds to 2", true, {0, 5, 3}, {1, 1, 1}, {0, 4, 2}},
      {"equal positions keep selection order",
       true,
       {100, 100, 300},
       {50, 50, 50},
       {100, 200, 300}},
      {"negative positions too", true, {-100, -100, 100}, {50, 50, 50}, {-100, 0, 100}},
      {"vertical", false, {100, 1000, 400}, {200, 200, 200}, {100, 1000, 550}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    const auto controls = place(c.horizontal, c.positions, c.extents);
    c.horizontal ? panel.spreadHorizontally() : panel.spreadVertically();
    for (size_t i = 0; i < controls.size(); ++i) {
      const qint32 position = c.horizontal ? controls[i]->left : controls[i]->top;
      const ResizeFrame &frame = frameOf(controls[i]);
      EXPECT_EQ(position, c.expected[i]) << i;
      EXPECT_EQ(c.horizontal ? frame.left : frame.top, c.expected[i] - 75) << i;
      EXPECT_EQ(c.horizontal ? controls[i]->width : controls[i]->height, c.extents[i]);
    }
  }
}

TEST_F(ArrangeTest, AlignUsesTheExtremeOfTheWholeSelection) {
  struct Case {
    const char *what;
    void (PanelEditor::*command)();
    bool horizontal;
    std::vector<qint32> expected;
  } cases[] = {
      // Positions 100 and 500, extents 1400 and 1500: far edges 1500 and 2000.
      {"left", &PanelEditor::alignLeft, true, {100, 100}},
      {"right", &PanelEditor::alignRight, true, {600, 500}},
      {"top", &PanelEditor::alignTop, false, {100, 100}},
      {"bottom", &PanelEditor::alignBottom, false, {600, 500}},
      // The middle of 100 to 2000 is 1050.
      {"centres horizontally", &PanelEditor::alignCentresHorizontally, true, {350, 300}},
      {"centres vertically", &PanelEditor::alignCentresVertically, false, {350, 300}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    const auto controls = place(c.horizontal, {100, 500}, {1400, 1500});
    (panel.*c.command)();
    for (size_t i = 0; i < controls.size(); ++i) {
      EXPECT_EQ(c.horizontal ? controls[i]->left : controls[i]->top, c.expected[i]);
      EXPECT_EQ(c.horizontal ? frameOf(controls[i]).left : frameOf(controls[i]).top,
                c.expected[i] - 75);
    }
    EXPECT_TRUE(panel.needToSave());
  }
}

TEST_F(ArrangeTest, ASingleSelectedControlIsNeitherAlignedNorSpread) {
  DesignControl *c = add(100, 200, 300, 400);
  click(c);
  for (auto command :
       {&PanelEditor::alignLeft, &PanelEditor::alignRight, &PanelEditor::alignTop,
        &PanelEditor::alignBottom, &PanelEditor::spreadHorizontally, &PanelEditor::spreadVertically,
        &PanelEditor::alignCentresHorizontally, &PanelEditor::alignCentresVertically})
    (panel.*command)();
  panel.distributeHorizontally(150);
  EXPECT_EQ(geometryOf(c), (Geometry{100, 200, 300, 400}));
  EXPECT_FALSE(panel.needToSave());
}

TEST_F(ArrangeTest, DistributeLeavesTheGapBetweenNeighboursInPositionOrder) {
  struct Case {
    const char *what;
    bool horizontal;
    std::vector<qint32> positions, extents;
    qint32 gap;
    std::vector<qint32> expected;
  } cases[] = {
      {"the first stays, ordered by position",
       true,
       {100, 1000, 400},
       {200, 300, 100},
       30,
       {100, 460, 330}},
      {"overlapping controls are pulled apart", true, {0, 100}, {500, 500}, 150, {0, 650}},
      {"no gap: edge to edge", true, {-300, 900}, {200, 50}, 0, {-300, -100}},
      {"vertical", false, {100, 1000, 400}, {200, 300, 100}, 30, {100, 460, 330}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    const auto controls = place(c.horizontal, c.positions, c.extents);
    c.horizontal ? panel.distributeHorizontally(c.gap) : panel.distributeVertically(c.gap);
    for (size_t i = 0; i < controls.size(); ++i) {
      EXPECT_EQ(c.horizontal ? controls[i]->left : controls[i]->top, c.expected[i]) << i;
      EXPECT_EQ(c.horizontal ? frameOf(controls[i]).left : frameOf(controls[i]).top,
                c.expected[i] - 75);
    }
  }
}

TEST(PlacementKey, OrdersByPositionThenBySelection) {
  EXPECT_DOUBLE_EQ(placementKey(1200, 3, 3), 1200.00003);
  std::vector<double> keys = {placementKey(5, 1, 4), placementKey(-7, 2, 4), placementKey(-7, 3, 4),
                              placementKey(5, 4, 4)};
  sortControlPlacements(keys);
  std::vector<int> places;
  for (double k : keys) places.push_back(placementSelectionPlace(k, 4));
  EXPECT_EQ(places, (std::vector<int>{2, 3, 1, 4}));
  // Selections too large for five digits still decode.
  EXPECT_EQ(placementSelectionPlace(placementKey(2000000, 123456, 200000), 200000), 123456);
}

TEST(PlacementKey, FillPadsShortTextsWithCopiesOfTheFill) {
  struct Case {
    const char *text, *fill;
    int length;
    const char *left, *right;
  } cases[] = {
      {"3", "0", 5, "00003", "30000"},
      {"12345", "0", 5, "12345", "12345"},
      {"123456", "0", 5, "123456", "123456"},
      {"ab", "xy", 4, "xyxyab", "abxyxy"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(leftFill(c.text, c.fill, c.length), c.left);
    EXPECT_EQ(rightFill(c.text, c.fill, c.length), c.right);
  }
}

}  // namespace
