// Keys: modifiers, arrow nudges, Delete and help.
#include "model/settings.h"
#include "surfacefixture.h"

namespace {

TEST_F(SurfaceTest, ArrowsStretchFromTheLeadingEdgeOrMoveWithShiftAlone) {
  struct Case {
    int key, shift;
    Geometry result;
  } cases[] = {
      {KeyCode::Left, 0, {495, 500, 1005, 1000}},
      {KeyCode::Left, ShiftState::Shift, {495, 500, 1000, 1000}},
      {KeyCode::Up, 0, {500, 495, 1000, 1005}},
      {KeyCode::Up, ShiftState::Shift, {500, 495, 1000, 1000}},
      {KeyCode::Right, 0, {505, 500, 995, 1000}},
      {KeyCode::Right, ShiftState::Shift, {505, 500, 1000, 1000}},
      {KeyCode::Down, 0, {500, 505, 1000, 995}},
      {KeyCode::Down, ShiftState::Shift, {500, 505, 1000, 1000}},
      // Shift with Ctrl is not Shift alone: it stretches.
      {KeyCode::Right, ShiftState::Shift | ShiftState::Ctrl, {505, 500, 995, 1000}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key << " shift " << c.shift);
    DesignControl *current = add(500, 500, 1000, 1000), *other = add(500, 500, 1000, 1000);
    select({other, current});
    EXPECT_FALSE(panel.keyDown(c.key, c.shift));
    for (DesignControl *control : {current, other}) {  // the current one too
      EXPECT_EQ(geometryOf(control), c.result);
      EXPECT_EQ(geometryOf(frameOf(control)),
                (Geometry{c.result.left - 75, c.result.top - 75, c.result.width + 150,
                          c.result.height + 150}));
    }
  }
}

TEST_F(SurfaceTest, ShrinkingStopsBeforeASizeWouldGoNegative) {
  DesignControl *thin = add(0, 0, 5, 100), *wide = add(0, 500, 100, 100);
  select({thin, wide});
  panel.keyDown(KeyCode::Right, 0);
  EXPECT_EQ(geometryOf(thin), (Geometry{5, 0, 0, 100}));
  EXPECT_EQ(geometryOf(wide), (Geometry{5, 500, 95, 100}));
  panel.keyDown(KeyCode::Right, 0);  // thin would become -5 wide: this key does nothing more
  EXPECT_EQ(geometryOf(thin), (Geometry{5, 0, 0, 100}));
  EXPECT_EQ(geometryOf(wide), (Geometry{5, 500, 95, 100}));
}

TEST_F(SurfaceTest, NudgedControlsAreUnsavedWork) {
  DesignControl *c = add(500, 500, 1000, 1000);
  click(c);
  panel.keyDown(KeyCode::Left, ShiftState::Shift);
  EXPECT_TRUE(panel.needToSave());
}

TEST_F(SurfaceTest, ModifierKeysAreTrackedUntilReleased) {
  panel.keyDown(KeyCode::Shift, ShiftState::Shift);
  panel.keyDown(KeyCode::Ctrl, ShiftState::Shift | ShiftState::Ctrl);
  EXPECT_TRUE(panel.shiftDown());
  EXPECT_TRUE(panel.ctrlDown());
  panel.keyUp(KeyCode::Shift, ShiftState::Ctrl);
  EXPECT_FALSE(panel.shiftDown());
  EXPECT_TRUE(panel.ctrlDown());
  panel.keyUp(KeyCode::Ctrl, 0);
  EXPECT_FALSE(panel.ctrlDown());
}

TEST_F(SurfaceTest, F1OpensTheHelpAndIsConsumed) {
  programSettings().helpAddress = "/start/help.pdf";
  EXPECT_TRUE(panel.keyDown(KeyCode::F1, 0));
  EXPECT_EQ(ui.openedUrls, QStringList{"/start/help.pdf"});
}

TEST_F(SurfaceTest, DeleteWithNothingSelectedAsksNothing) {
  FakeUi fakeUi;
  PanelEditor fresh(fakeUi);
  fresh.insertControl(ControlKind::Label);
  fresh.controlGotFocus(&fresh.model().canvas);
  fresh.setNeedToSave(false);
  ASSERT_TRUE(fresh.selectedControls().empty());
  fresh.keyDown(KeyCode::Delete, 0);
  EXPECT_TRUE(fakeUi.messages.empty());
  EXPECT_EQ(fresh.panelRecord().records.size(), 1u);
  EXPECT_FALSE(fresh.needToSave());
}

TEST_F(SurfaceTest, DeleteAsksAndRemovesOnlyOnYes) {
  struct Case {
    Ui::Answer answer;
    bool removed;
  } cases[] = {{Ui::Answer::No, false}, {Ui::Answer::Cancel, false}, {Ui::Answer::Yes, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(int(c.answer));
    FakeUi fakeUi;
    PanelEditor fresh(fakeUi);
    std::vector<DesignControl *> controls;
    for (int i = 0; i < 4; ++i) controls.push_back(fresh.insertControl(ControlKind::Label));
    fresh.setNeedToSave(false);
    fresh.controlGotFocus(controls[0]);
    fresh.setCtrlDown(true);
    fresh.controlGotFocus(controls[2]);
    fresh.controlGotFocus(controls[3]);
    const int keptFrame = fresh.frameIndexOf(controls[1]);
    const int goneFrame = fresh.frameIndexOf(controls[3]);

    fakeUi.answers.push_back(c.answer);
    fresh.keyDown(KeyCode::Delete, 0);
    ASSERT_EQ(fakeUi.messages.size(), 1u);
    EXPECT_EQ(fakeUi.messages[0].text, "Are you sure you want to delete selected controls?");
    EXPECT_EQ(fakeUi.messages[0].buttons, Ui::Buttons::YesNo);

    const auto &records = fresh.panelRecord().records;
    if (!c.removed) {
      EXPECT_EQ(records.size(), 4u);
      EXPECT_EQ(fresh.selectedControls().size(), 3u);
      EXPECT_FALSE(fresh.needToSave());
      continue;
    }
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->control, controls[1]);
    EXPECT_EQ(fresh.model().controlCount(), 1);
    EXPECT_NE(fresh.model().frame(keptFrame), nullptr);
    EXPECT_EQ(fresh.model().frame(goneFrame), nullptr);
    EXPECT_TRUE(fresh.selectedControls().empty());
    EXPECT_TRUE(fresh.needToSave());
    // The deleted current control is not left behind for the grid to show.
    EXPECT_EQ(fresh.currentControl(), &fresh.model().canvas);
    EXPECT_EQ(fresh.focusObject(), &fresh.model().canvas);
  }
}

}  // namespace
