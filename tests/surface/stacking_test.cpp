// The stacking order: the four commands, a block moved in the control list,
// and selecting exactly what the list selects.
#include "surfacefixture.h"

namespace {

class StackingTest : public SurfaceTest {
 protected:
  // Six buttons, Button1 at the back to Button6 in front.
  void SetUp() override {
    for (int i = 0; i < 6; ++i) buttons.push_back(add(100 * i, 0, 50, 50));
  }
  DesignControl *button(int n) { return buttons[n - 1]; }
  // The drawing order and the records' order, as the buttons' numbers.
  QString order() {
    QString z, records;
    for (const DesignControl *c : model().zOrder()) z += c->tag.back();
    for (const auto &r : model().panelRecord.records) records += r->control->tag.back();
    return z == records ? z : z + " but records " + records;
  }
  std::vector<DesignControl *> buttons;
};

TEST_F(StackingTest, CommandsReorderTheControlListAndUndoPutsItBack) {
  using S = PanelEditor::Stacking;
  struct Case {
    const char *what;
    std::vector<int> selected;
    S how;
    const char *expected;  // empty: nothing changes, the command is not available
  } cases[] = {
      {"to front", {2}, S::ToFront, "134562"},
      {"to front, a scattered selection keeps its order", {4, 2}, S::ToFront, "135624"},
      {"to back", {5, 3}, S::ToBack, "351246"},
      {"forward past the next unselected", {2}, S::Forward, "132456"},
      {"forward, a block moves as one", {2, 3}, S::Forward, "142356"},
      {"forward, the front one stays", {6, 4}, S::Forward, "123546"},
      {"backward", {4}, S::Backward, "124356"},
      {"backward, the back one stays", {1, 3}, S::Backward, "132456"},
      {"already in front", {6}, S::ToFront, ""},
      {"a front block cannot go forward", {5, 6}, S::Forward, ""},
      {"already at the back", {1, 2}, S::ToBack, ""},
      {"the back one cannot go backward", {1}, S::Backward, ""},
      {"nothing selected", {}, S::ToFront, ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    panel.canvasGotFocus();
    for (size_t i = 0; i < c.selected.size(); ++i) click(button(c.selected[i]), i > 0);
    const int steps = panel.undoStack().index();
    EXPECT_EQ(panel.canRestack(c.how), *c.expected != 0);
    panel.restack(c.how);
    if (!*c.expected) {
      EXPECT_EQ(order(), "123456");
      EXPECT_EQ(panel.undoStack().index(), steps);
      continue;
    }
    EXPECT_EQ(order(), c.expected);
    EXPECT_EQ(panel.undoStack().index(), steps + 1);
    EXPECT_TRUE(panel.needToSave());
    panel.undo();
    EXPECT_EQ(order(), "123456");
    EXPECT_FALSE(panel.needToSave());
    panel.redo();
    EXPECT_EQ(order(), c.expected);
    panel.undo();
  }
}

TEST_F(StackingTest, ABlockMovedInTheListLandsAtItsPlaceAmongTheOthers) {
  struct Case {
    std::vector<int> moving;
    size_t place;
    const char *expected;
  } cases[] = {
      {{5, 2}, 0, "251346"},  // behind all: their own order kept
      {{1}, 2, "231456"},
      {{1, 6}, 4, "234516"},  // among the other four, after the fourth
      {{3}, 99, "124563"},    // past the end: in front
  };
  for (const Case &c : cases) {
    std::vector<DesignControl *> moving;
    for (int n : c.moving) moving.push_back(button(n));
    panel.moveInStack(moving, c.place);
    EXPECT_EQ(order(), c.expected);
    EXPECT_EQ(panel.undoStack().undoText(), "Change Stacking Order");
    panel.undo();
    EXPECT_EQ(order(), "123456");
  }
}

TEST_F(StackingTest, RecordsOutOfStepWithTheDrawingFollowItAfterACommand) {
  // A dropped web browser goes behind everything but its record is the last.
  panel.dropFromPalette("pictWebBrowser", 0, 0, 0, 0);
  EXPECT_EQ(order(), "1123456 but records 1234561");  // Button1..6 and WebBrowser1
  click(button(6));
  panel.restack(PanelEditor::Stacking::Backward);
  EXPECT_EQ(order(), "1123465");
  panel.undo();
  EXPECT_EQ(order(), "1123456 but records 1234561");
}

TEST_F(StackingTest, TheListSelectsHiddenAndZeroSizedControlsExactly) {
  const int steps = panel.undoStack().count();
  button(2)->visible = false;
  button(4)->width = button(4)->height = 0;
  click(button(1));
  panel.selectControls({button(4), button(2), button(1)}, button(2));
  // Button1 was selected already and keeps its place; the current one is as given.
  EXPECT_EQ(panel.selectedControls(),
            (std::vector<DesignControl *>{button(1), button(4), button(2)}));
  EXPECT_EQ(panel.currentControl(), button(2));
  EXPECT_TRUE(frameOf(button(2)).visible);
  EXPECT_EQ(geometryOf(frameOf(button(4))), (Geometry{225, -75, 150, 150}));

  panel.selectControls({button(4)}, nullptr);
  EXPECT_EQ(panel.selectedControls(), std::vector<DesignControl *>{button(4)});
  EXPECT_EQ(panel.currentControl(), button(4));
  EXPECT_FALSE(frameOf(button(1)).visible);
  EXPECT_FALSE(frameOf(button(2)).visible);

  panel.selectControls({}, nullptr);
  EXPECT_TRUE(panel.selectedControls().empty());
  EXPECT_EQ(panel.currentControl(), &model().canvas);
  EXPECT_EQ(panel.undoStack().count(), steps);  // selecting is no edit
}

}  // namespace
