// Undo and redo of every kind of user action: one step each, named for the
// Edit menu, and a panel that saves byte for byte as before the action
// after undo and as after it after redo, with the same objects, frames and
// selection.
#include <QDir>
#include <functional>

#include "model/uiservice.h"
#include "undofixture.h"

namespace {

struct Action {
  const char *name;
  std::function<void(UndoTest &)> prepare;  // selection, grid, answers: no step
  std::function<void(UndoTest &)> act;      // the user action
  const char *undoText;
  bool mapFollows = true;  // the saved hardware map comes back too
};

// Selects the controls and shows the current one (the last) in the grid.
std::function<void(UndoTest &)> showing(std::initializer_list<const char *> names) {
  std::vector<const char *> list(names);
  return [list](UndoTest &t) {
    bool first = true;
    for (const char *name : list) {
      t.panel->setCtrlDown(!first);
      t.panel->controlGotFocus(t.control(name));
      first = false;
    }
    t.panel->setCtrlDown(false);
    t.showInGrid();
  };
}
void showingThePanel(UndoTest &t) {
  t.panel->canvasGotFocus();
  t.showInGrid();
}

void nothing(UndoTest &) {}

void rightDrag(UndoTest &t, const char *name, int moves) {
  const int frame = t.frameOf(name);
  t.panel->frameMouseDown(frame, MouseButton::Right, 300, 100);
  for (int i = 1; i <= moves; ++i)
    t.panel->frameMouseMove(frame, MouseButton::Right, 300 + 30 * i, 100 + 15 * i);
  t.panel->frameMouseUp(frame, MouseButton::Right, 300 + 30 * moves, 100 + 15 * moves);
}

const Action kActions[] = {
    {"drop a button", nothing,
     [](UndoTest &t) { t.panel->dropFromPalette("MasterButton", 7300, 3100, 40, 30); },
     "Add Button2"},
    {"drop a web browser (sent to the back)", nothing,
     [](UndoTest &t) { t.panel->dropFromPalette("pictWebBrowser", 100, 5000, 0, 0); },
     "Add WebBrowser2"},
    {"drop a meter-fader", [](UndoTest &t) { t.select({"Button1"}); },
     [](UndoTest &t) { t.panel->dropFromPalette("MasterMeterFader", 7000, 100, 0, 0); },
     "Add MeterFader2"},
    {"insert a label", nothing, [](UndoTest &t) { t.designer->insertControl(ControlKind::Label); },
     "Add Label2"},
    {"paste two controls",
     [](UndoTest &t) {
       t.select({"Button1", "Label1"});
       t.designer->copy();
     },
     [](UndoTest &t) { t.designer->paste(); }, "Paste 2 Controls"},
    {"cut two controls",
     [](UndoTest &t) {
       t.select({"Meter1", "Clock1"});
     },
     [](UndoTest &t) { t.designer->cut(); }, "Cut 2 Controls"},
    {"delete three controls",
     [](UndoTest &t) {
       t.select({"Button1", "WebBrowser1", "MeterFader1"});
       t.ui.answers.push_back(Ui::Answer::Yes);
     },
     [](UndoTest &t) { t.panel->keyDown(KeyCode::Delete, 0); }, "Delete 3 Controls"},
    {"drag two controls with ten mouse moves",
     [](UndoTest &t) {
       t.select({"Button1", "Label1"});
     },
     [](UndoTest &t) { rightDrag(t, "Label1", 10); }, "Move 2 Controls"},
    {"resize by the bottom-right corner", [](UndoTest &t) { t.select({"Clock1"}); },
     [](UndoTest &t) {
       const int frame = t.frameOf("Clock1");
       t.panel->frameMouseDown(frame, MouseButton::Left, 1240, 1240);
       t.panel->frameMouseMove(frame, MouseButton::Left, 1300, 1280);
       t.panel->frameMouseMove(frame, MouseButton::Left, 1400, 1300);
       t.panel->frameMouseUp(frame, MouseButton::Left, 1400, 1300);
     },
     "Resize Clock1"},
    {"two Shift+arrow presses",
     [](UndoTest &t) {
       t.select({"Button1", "Meter1"});
     },
     [](UndoTest &t) {
       t.panel->keyDown(KeyCode::Left, ShiftState::Shift);
       t.panel->keyDown(KeyCode::Left, ShiftState::Shift);
     },
     "Move 2 Controls"},
    {"an arrow stretch", [](UndoTest &t) { t.select({"Label1"}); },
     [](UndoTest &t) { t.panel->keyDown(KeyCode::Down, 0); }, "Resize Label1"},
    {"align left",
     [](UndoTest &t) {
       t.select({"Button1", "Meter1", "Clock1"});
     },
     [](UndoTest &t) { t.designer->alignLeft(); }, "Align Left"},
    {"align right",
     [](UndoTest &t) {
       t.select({"Button1", "Meter1", "Clock1"});
     },
     [](UndoTest &t) { t.designer->alignRight(); }, "Align Right"},
    {"align top",
     [](UndoTest &t) {
       t.select({"Button1", "Meter1", "Clock1"});
     },
     [](UndoTest &t) { t.designer->alignTop(); }, "Align Top"},
    {"align bottom",
     [](UndoTest &t) {
       t.select({"Button1", "Meter1", "Clock1"});
     },
     [](UndoTest &t) { t.designer->alignBottom(); }, "Align Bottom"},
    {"spread horizontally",
     [](UndoTest &t) {
       t.select({"Button1", "Label1", "Clock1"});
     },
     [](UndoTest &t) { t.designer->spreadHorizontally(); }, "Spread Horizontally"},
    {"spread vertically",
     [](UndoTest &t) {
       t.select({"Button1", "Meter1", "WebBrowser1"});
     },
     [](UndoTest &t) { t.designer->spreadVertically(); }, "Spread Vertically"},
    {"align centres horizontally",
     [](UndoTest &t) {
       t.select({"Button1", "Meter1", "Clock1"});
     },
     [](UndoTest &t) { t.designer->alignCentresHorizontally(); }, "Align Centres Horizontally"},
    {"align centres vertically",
     [](UndoTest &t) {
       t.select({"Button1", "Meter1", "Clock1"});
     },
     [](UndoTest &t) { t.designer->alignCentresVertically(); }, "Align Centres Vertically"},
    {"distribute with a gap of 12 pixels",
     [](UndoTest &t) {
       t.select({"Button1", "Label1", "Clock1"});
       t.ui.inputAnswers.push_back(QString("12"));
     },
     [](UndoTest &t) { t.designer->distributeHorizontally(); }, "Distribute Horizontally"},
    {"distribute vertically",
     [](UndoTest &t) {
       t.select({"Button1", "Meter1"});
       t.ui.inputAnswers.push_back(QString("0"));
     },
     [](UndoTest &t) { t.designer->distributeVertically(); }, "Distribute Vertically"},
    // The stacking order is the order of the file's control list.
    {"bring to front",
     [](UndoTest &t) {
       t.select({"Label1", "Button1"});
     },
     [](UndoTest &t) { t.designer->bringToFront(); }, "Bring to Front"},
    {"send to back", [](UndoTest &t) { t.select({"Clock1"}); },
     [](UndoTest &t) { t.designer->sendToBack(); }, "Send to Back"},
    {"bring forward",
     [](UndoTest &t) {
       t.select({"Label1", "Meter1"});
     },
     [](UndoTest &t) { t.designer->bringForward(); }, "Bring Forward"},
    {"send backward", [](UndoTest &t) { t.select({"MeterFader1"}); },
     [](UndoTest &t) { t.designer->sendBackward(); }, "Send Backward"},
    {"a block dragged in the control list", nothing,
     [](UndoTest &t) {
       t.panel->moveInStack({t.control("Clock1"), t.control("Label1")}, 1);
     },
     "Change Stacking Order"},
    {"make same width",
     [](UndoTest &t) {
       t.select({"Button1", "Label1", "Meter1"});
     },
     [](UndoTest &t) { t.designer->makeSameWidth(); }, "Make Same Width"},
    {"make same height",
     [](UndoTest &t) {
       t.select({"Button1", "Clock1"});
     },
     [](UndoTest &t) { t.designer->makeSameHeight(); }, "Make Same Height"},
    {"make same size",
     [](UndoTest &t) {
       t.select({"Meter1", "Label1"});
     },
     [](UndoTest &t) { t.designer->makeSameSize(); }, "Make Same Size"},
    // The grid: one step per edit over the whole selection.
    {"a width typed for the selection", showing({"Meter1", "Clock1", "Button1"}),
     [](UndoTest &t) { t.gridEdit(CommonRow::Width, "2000"); }, "Change Width"},
    {"a colour typed for buttons and labels", showing({"Label1", "Button1"}),
     [](UndoTest &t) { t.gridEdit(ButtonRow::BackColorOn, "&H00FF00"); }, "Change BackColorOn"},
    {"a caption for one of two", showing({"Label1", "Button1"}),
     [](UndoTest &t) {
       t.ui.answers.push_back(Ui::Answer::No);
       t.gridEdit(CommonRow::Caption, "Talk");
     },
     "Change Caption"},
    {"names numbered over the selection", showing({"Label1", "Button1", "Meter1"}),
     [](UndoTest &t) {
       t.ui.answers.push_back(Ui::Answer::Yes);
       t.gridEdit(CommonRow::Name, "Mic1");
     },
     "Change Name"},
    {"hardware buttons numbered over the selection", showing({"Label1", "Button1"}),
     [](UndoTest &t) {
       t.ui.answers.push_back(Ui::Answer::Yes);
       t.gridEdit(ButtonRow::Pin, "7");
     },
     "Change UserPanel Button"},
    {"a hardware type", showing({"Button1"}),
     [](UndoTest &t) { t.gridEdit(ButtonRow::MapType, "GPIOButton"); }, "Change HWMapType"},
    {"a colour picked with the cell button", showing({"Button1"}),
     [](UndoTest &t) {
       t.ui.colorAnswers.push_back(0x123456);
       t.grid().cellButtonClick(ButtonRow::BackColorOff, 1);
     },
     "Change BackColorOff"},
    {"a font picked for buttons and labels", showing({"Label1", "Button1"}),
     [](UndoTest &t) {
       FontSpec font;
       font.name = "Courier";
       font.size = 12;
       t.ui.fontAnswers.push_back(font);
       t.grid().cellButtonClick(ButtonRow::FontName, 1);
     },
     "Change Font Name"},
    {"a picture cleared with Delete", showing({"Button1"}),
     [](UndoTest &t) {
       t.grid().setCurrentCell(ButtonRow::PictureUpOff, 1);
       t.grid().keyDown(46, 0);
     },
     "Change Picture_Up_Off"},
    {"a clock setting", showing({"Clock1"}),
     [](UndoTest &t) { t.gridEdit(ClockRow::Digital, "False"); }, "Change Digital"},
    {"the panel's caption", showingThePanel,
     [](UndoTest &t) { t.gridEdit(CommonRow::Caption, "Studio Two"); }, "Change Caption"},
    {"the panel's colour", showingThePanel,
     [](UndoTest &t) { t.gridEdit(MainRow::BackColor, "&H808080"); }, "Change BackColor"},
    {"the panel's picture folder", showingThePanel,
     [](UndoTest &t) {
       t.ui.folderAnswers.push_back(QString("/srv/pictures"));
       t.grid().cellButtonClick(MainRow::GraphicsPath, 1);
     },
     "Change Default Graphics Path"},
    {"the panel renamed, with every internal name", showingThePanel,
     [](UndoTest &t) { t.gridEdit(CommonRow::Name, "Studio2"); }, "Change Name", false},
};

TEST_F(UndoTest, EveryActionIsOneStepThatUndoesAndRedoesExactly) {
  for (const Action &a : kActions) {
    SCOPED_TRACE(a.name);
    TearDown();
    designer.reset();
    QFile::remove(path);
    SetUp();

    a.prepare(*this);
    const int steps = panel->undoStack().count();
    const State before = state();
    const QByteArray savedBefore = save(a.mapFollows);

    a.act(*this);
    ASSERT_EQ(panel->undoStack().count(), steps + 1) << "one action, one step";
    EXPECT_EQ(panel->undoStack().undoText(), a.undoText);
    EXPECT_TRUE(panel->needToSave());
    const State after = state();
    const QByteArray savedAfter = save(a.mapFollows);
    EXPECT_NE(savedAfter, savedBefore);

    designer->undo();
    EXPECT_EQ(state(), before);
    EXPECT_EQ(save(a.mapFollows), savedBefore);

    designer->redo();
    EXPECT_EQ(state(), after);
    EXPECT_EQ(save(a.mapFollows), savedAfter);
  }
}

TEST_F(UndoTest, ArrowPressesMergeUntilAClickOrASave) {
  select({"Button1", "Label1"});
  DesignControl *button = control("Button1");
  const qint32 left = button->left;
  panel->keyDown(KeyCode::Right, ShiftState::Shift);
  panel->keyDown(KeyCode::Right, ShiftState::Shift);
  EXPECT_EQ(panel->undoStack().count(), 1);
  EXPECT_EQ(button->left, left + 10);

  // A click between presses, even on a control already selected, ends the run.
  panel->controlGotFocus(control("Label1"));
  panel->keyDown(KeyCode::Right, ShiftState::Shift);
  EXPECT_EQ(panel->undoStack().count(), 2);
  // So does a press of the other kind, a save, and an undo.
  panel->keyDown(KeyCode::Right, 0);
  EXPECT_EQ(panel->undoStack().count(), 3);
  save();
  panel->keyDown(KeyCode::Right, 0);
  EXPECT_EQ(panel->undoStack().count(), 4);
  designer->alignLeft();
  designer->undo();
  panel->keyDown(KeyCode::Right, 0);
  EXPECT_EQ(panel->undoStack().count(), 5);

  for (int i = 0; i < 4; ++i) designer->undo();
  EXPECT_EQ(button->left, left + 10);
  designer->undo();
  EXPECT_EQ(button->left, left);
}

TEST_F(UndoTest, ARunOfArrowsBackToWhereItBeganIsNoStep) {
  select({"Meter1"});
  panel->keyDown(KeyCode::Up, ShiftState::Shift);
  panel->keyDown(KeyCode::Down, ShiftState::Shift);
  EXPECT_EQ(panel->undoStack().count(), 0);
  EXPECT_FALSE(panel->needToSave());
}

TEST_F(UndoTest, NothingThatChangesNothingIsAStep) {
  select({"Button1"});
  const int frame = frameOf("Button1");
  panel->frameMouseDown(frame, MouseButton::Right, 300, 100);  // a press without a move
  panel->frameMouseUp(frame, MouseButton::Right, 300, 100);
  select({"Button1", "Label1"});  // selecting is no step
  panel->selectAll();
  EXPECT_EQ(panel->undoStack().count(), 0);
  designer->alignTop();
  const int afterAlign = panel->undoStack().count();
  EXPECT_EQ(afterAlign, 1);
  designer->alignTop();  // a second time changes nothing
  EXPECT_EQ(panel->undoStack().count(), afterAlign);
  panel->flashTick();  // Button1 flashes: only the views change
  panel->flashTick();
  EXPECT_EQ(panel->undoStack().count(), afterAlign);
}

TEST_F(UndoTest, TheCaptionMarkFollowsTheStackBackToTheSavedState) {
  auto marked = [&] { return designer->caption().endsWith(" *"); };
  EXPECT_FALSE(marked());
  EXPECT_EQ(panel->undoStack().count(), 0);  // opening is no step
  panel->dropFromPalette("MasterLabel", 7000, 3000, 0, 0);
  EXPECT_TRUE(marked());
  designer->undo();
  EXPECT_FALSE(marked());
  designer->redo();
  EXPECT_TRUE(marked());

  save();  // saving is no step; the saved state moves
  EXPECT_EQ(panel->undoStack().count(), 1);
  EXPECT_FALSE(marked());
  designer->undo();
  EXPECT_TRUE(marked());
  designer->redo();
  EXPECT_FALSE(marked());

  // A window resize is outside the stack: undo cannot take it back, so the
  // mark stays until the next save.
  panel->windowResized(12000, 8000);
  designer->undo();
  designer->redo();
  EXPECT_TRUE(marked());
  save();
  EXPECT_FALSE(marked());
}

TEST_F(UndoTest, UndoAfterAFailedSaveKeepsTheMark) {
  panel->dropFromPalette("MasterButton", 7000, 3000, 0, 0);
  QDir(programSettings().panelsFolder).removeRecursively();  // the save cannot write
  EXPECT_FALSE(designer->savePanelDocument(panel, path));
  designer->undo();
  EXPECT_TRUE(panel->needToSave());
}

TEST_F(UndoTest, UndoAfterClicksPutsTheActionsSelectionBack) {
  select({"Button1", "Label1"});
  designer->alignLeft();
  select({"Clock1"});
  designer->undo();
  EXPECT_EQ(panel->selectedControls(),
            (std::vector<DesignControl *>{control("Button1"), control("Label1")}));
  EXPECT_EQ(panel->currentControl(), control("Label1"));
  const PanelModel &m = panel->model();
  EXPECT_FALSE(m.findRecord(control("Clock1")) &&
               const_cast<PanelModel &>(m).frame(frameOf("Clock1"))->visible);
}

}  // namespace

namespace {
// Saving under another name gives every hardware internal name the new
// panel name; undo must not bring the old one back, or the bindings would
// be saved under a panel that no longer exists.
TEST_F(UndoTest, UndoAfterSaveAsKeepsTheBindingsUnderTheNewName) {
  showing({"Button1"})(*this);
  gridEdit(ButtonRow::BackColorOn, "&H00FF00");
  gridEdit(CommonRow::Name, "Mic");
  ControlRecord *record = panel->model().findRecord(control("Mic"));
  ASSERT_EQ(record->hwMapInternalName(), "Studio.Mic");
  ui.fileAnswers.push_back(programSettings().panelsFolder + "Booth.xml");
  ASSERT_TRUE(designer->saveAs());
  ASSERT_EQ(record->hwMapInternalName(), "Booth.Mic");

  designer->undo();
  EXPECT_EQ(record->control->tag, "Button1");
  EXPECT_EQ(record->hwMapInternalName(), "Booth.Button1");
  designer->undo();
  EXPECT_EQ(record->backColorOn, "&H00FFFF");
  EXPECT_EQ(record->hwMapInternalName(), "Booth.Button1");
  EXPECT_EQ(record->hwMapAoipSysName, "MOD_USER#3.BUT#12");
  designer->redo();
  designer->redo();
  EXPECT_EQ(record->hwMapInternalName(), "Booth.Mic");
  EXPECT_EQ(record->backColorOn, "&H00FF00");
}
}  // namespace
