// Editing on the real panel view with mouse and key events: undo and redo
// from the Edit menu and the keyboard, the rubber band, Select All and Make
// Same Size, tooltips and the frame hint, scrolling, flashing, and the
// repairs of a Ctrl+press on a frame, of live web pages over controls and of
// the grid's geometry after keys and arrange commands.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include "app/mdiformdesigner.h"
#include "grid/gridrows.h"
#include "grid/propertygrid.h"
#include "model/settings.h"
#include "panelfile/panelwriter.h"
#include "support/fakeui.h"
#include "surface/frmpanel.h"
#include "ui/mainwindow.h"
#include "ui/panelview.h"
#include "ui/propertygridview.h"
#include "ui/webbrowserhost.h"

namespace {

struct Editing : ::testing::Test {
  FakeUi ui;
  MDIFormDesigner designer{ui};
  MainWindow window{designer};
  frmPanel *panel = nullptr;
  PanelCanvasView *canvas = nullptr;

  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.action("mnuNewPanel")->trigger();
    panel = designer.activePanel();
    ASSERT_NE(panel, nullptr);
    canvas = window.subWindowOf(panel)->canvas();
    canvas->setFocus();
    QApplication::setActiveWindow(&window);
  }

  // A button dropped with its top-left corner at the twip point.
  DesignControl *drop(qint32 left, qint32 top, const char *item = "MasterButton") {
    panel->DropFromPalette(item, left, top, 0, 0);
    return panel->model().ZOrder().back();
  }
  QPoint centreOf(const DesignControl *c) const {
    return canvas->pixelRect(c->Left, c->Top, c->Width, c->Height).center().toPoint();
  }
  // A point on the left band of a control's frame, half-way down.
  QPoint onFrameOf(const DesignControl *c) const {
    return canvas->pixelRect(c->Left - 40, c->Top + c->Height / 2, 1, 1).topLeft().toPoint();
  }
  void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : canvas,
                    Qt::Key(key), modifiers);
  }
  QString gridCell(int row) { return designer.grid().TextMatrix(row, 1); }
};

TEST_F(Editing, UndoAndRedoNameTheStepAndGreyOutAtTheEnds) {
  QAction *undo = window.action("mnuUndo");
  QAction *redo = window.action("mnuRedo");
  ASSERT_TRUE(undo && redo);
  EXPECT_EQ(undo->shortcut().toString(), "Ctrl+Z");
  EXPECT_EQ(QKeySequence::listToString(redo->shortcuts()), "Ctrl+Y; Ctrl+Shift+Z");
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());

  DesignControl *button = drop(1200, 600);
  key(Qt::Key_Right, Qt::ShiftModifier);
  key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(undo->text(), "&Undo Move Button1");
  EXPECT_TRUE(window.windowTitle().endsWith(" *"));

  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(button->Left, 1200);
  EXPECT_EQ(undo->text(), "&Undo Add Button1");
  EXPECT_EQ(redo->text(), "&Redo Move Button1");
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(panel->model().ControlCount(), 0);
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_EQ(undo->text(), "&Undo");
  EXPECT_FALSE(window.windowTitle().endsWith(" *"));

  key(Qt::Key_Y, Qt::ControlModifier);
  key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(panel->model().ControlCount(), 1);
  EXPECT_EQ(button->Left, 1210);
  EXPECT_FALSE(redo->isEnabled());

  // The menu follows the active panel's own stack.
  window.action("mnuNewPanel")->trigger();
  EXPECT_FALSE(undo->isEnabled());
  window.mdiArea()->setActiveSubWindow(window.subWindowOf(panel));
  EXPECT_EQ(undo->text(), "&Undo Move Button1");
}

TEST_F(Editing, CtrlPressOnTheFrameOfASelectedControlDeselectsIt) {
  DesignControl *a = drop(1200, 600);
  DesignControl *b = drop(3600, 600);
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, centreOf(a));
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::ControlModifier, centreOf(b));
  ASSERT_EQ(panel->collSelectedControls.size(), 2u);
  const int steps = panel->undoStack().count();

  // Ctrl+press on a's left band and a drag: a leaves the selection, nothing is resized.
  const QPoint band = onFrameOf(a);
  QTest::mousePress(canvas, Qt::LeftButton, Qt::ControlModifier, band);
  QTest::mouseMove(canvas, band + QPoint(-20, 0));
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::ControlModifier, band + QPoint(-20, 0));
  EXPECT_EQ(panel->collSelectedControls, std::vector<DesignControl *>{b});
  EXPECT_EQ(panel->objCurrentControl, b);
  EXPECT_EQ(a->Left, 1200);
  EXPECT_EQ(a->Width, 1215);
  EXPECT_EQ(b->Width, 1215);
  EXPECT_EQ(panel->undoStack().count(), steps);

  // Also when the frame has the focus already from a plain press.
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, onFrameOf(b));
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::ControlModifier, onFrameOf(b));
  EXPECT_TRUE(panel->collSelectedControls.empty());
  EXPECT_EQ(b->Width, 1215);
}

// A left-drag on the body of a selected control moves the whole selection
// as a right-drag on its frame does, as one step; a click only selects, and
// a control not selected before the press is not dragged. Once only the
// frame moved controls.
TEST_F(Editing, DraggingASelectedControlMovesTheSelection) {
  DesignControl *a = drop(1200, 600);
  DesignControl *b = drop(3600, 600);
  const auto saved = [&] { return BuildPanelFile(panel->model(), false, "1"); };
  const auto drag = [&](const DesignControl *c, QPoint by) {
    const QPoint from = centreOf(c);
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, from);
    for (int i = 1; i <= 4; ++i) QTest::mouseMove(canvas, from + by * i / 4);
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, from + by);
  };
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, centreOf(a));
  const int steps = panel->undoStack().count();
  drag(b, {100, 40});  // b was not selected: this press selects it only
  EXPECT_EQ(b->Left, 3600);
  EXPECT_EQ(panel->collSelectedControls, std::vector<DesignControl *>{b});

  QTest::mouseClick(canvas, Qt::LeftButton, Qt::ControlModifier, centreOf(a));
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, centreOf(a));  // a click: no change
  ASSERT_EQ(panel->collSelectedControls.size(), 2u);
  EXPECT_EQ(panel->undoStack().count(), steps);
  const QByteArray before = saved();
  drag(a, {100, 40});
  EXPECT_EQ(a->Left, 1200 + 1500);
  EXPECT_EQ(a->Top, 600 + 600);
  EXPECT_EQ(b->Left, 3600 + 1500);
  EXPECT_EQ(b->Top, 600 + 600);
  EXPECT_EQ(panel->undoStack().count(), steps + 1);
  EXPECT_EQ(panel->undoStack().undoText(), "Move 2 Controls");
  const QByteArray after = saved();
  EXPECT_NE(after, before);
  panel->Undo();
  EXPECT_EQ(saved(), before);
  panel->Redo();
  EXPECT_EQ(saved(), after);

  // The frame's own drags are as before: a right-drag moves, a left-drag on
  // an edge resizes.
  const QPoint band = onFrameOf(a);
  QTest::mousePress(canvas, Qt::RightButton, Qt::NoModifier, band);
  QTest::mouseMove(canvas, band + QPoint(20, 0));
  QTest::mouseRelease(canvas, Qt::RightButton, Qt::NoModifier, band + QPoint(20, 0));
  EXPECT_EQ(a->Left, 2700 + 300);
  EXPECT_EQ(a->Width, 1215);
  const QPoint edge = onFrameOf(a);
  QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, edge);
  QTest::mouseMove(canvas, edge + QPoint(-20, 0));
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, edge + QPoint(-20, 0));
  EXPECT_LT(a->Left, 3000);
  EXPECT_EQ(a->Left + a->Width, 3000 + 1215);  // the right edge stays
}

// A frame dragged across the panel's left or top edge moves its control by
// the pointer's distance, 15 twips a pixel, and the canvas keeps still until
// the drag ends, then marks the panel's edge. The canvas once grew or shrank
// under the pointer and the shift was added to the move.
TEST_F(Editing, AMoveAcrossThePanelEdgeFollowsThePointer) {
  const struct {
    QPoint start;  // twips
    QPoint by;     // pixels
    QPoint end;    // twips
  } moves[] = {
      {{0, 0}, {100, 100}, {1500, 1500}},  // the canvas would shrink back to the origin
      {{1500, 1500}, {-100, -100}, {0, 0}},
      {{9700, 600}, {-700, 0}, {-800, 600}},  // it would grow to the left
  };
  for (const auto &move : moves) {
    SCOPED_TRACE(move.end.x());
    DesignControl *button = drop(move.start.x(), move.start.y());
    ASSERT_EQ(button->Left, move.start.x());
    const QByteArray before = BuildPanelFile(panel->model(), false, "1");
    const int steps = panel->undoStack().count();
    const QPointF origin = canvas->pixelRect(0, 0, 0, 0).topLeft();
    const QPoint from = onFrameOf(button);
    QTest::mousePress(canvas, Qt::RightButton, Qt::NoModifier, from);
    for (int i = 1; i <= 10; ++i) QTest::mouseMove(canvas, from + move.by * i / 10);
    EXPECT_EQ(canvas->pixelRect(0, 0, 0, 0).topLeft(), origin);  // no jump while dragging
    QTest::mouseRelease(canvas, Qt::RightButton, Qt::NoModifier, from + move.by);
    EXPECT_EQ(QPoint(button->Left, button->Top), move.end);
    EXPECT_EQ(panel->undoStack().count(), steps + 1);
    EXPECT_EQ(canvas->controlAt(centreOf(button)), button);  // the canvas reaches it now
    // A dotted line marks the panel's left edge while a control lies beyond it.
    const QImage image = canvas->grab().toImage();
    const int x = int(canvas->pixelRect(0, 0, 0, 0).left());
    int marked = 0;
    for (int y = 0; y < image.height(); ++y)
      marked += image.pixelColor(x, y) == QColor(0x80, 0x80, 0x80);
    EXPECT_EQ(marked > image.height() / 4, move.end.x() < 0);
    const QByteArray after = BuildPanelFile(panel->model(), false, "1");
    panel->Undo();
    EXPECT_EQ(BuildPanelFile(panel->model(), false, "1"), before);
    panel->Redo();
    EXPECT_EQ(BuildPanelFile(panel->model(), false, "1"), after);
  }
}

TEST_F(Editing, ALiveWebPageNeverCoversAControlDrawnAboveIt) {
  WebBrowserHost::setViewFactory([](QWidget *parent) { return new QWidget(parent); });
  struct Restore {
    ~Restore() { WebBrowserHost::setViewFactory({}); }
  } restore;
  auto *browser = As<DesignWebBrowser>(drop(0, 0, "pictWebBrowser"));  // 855 x 735
  ASSERT_NE(browser, nullptr);
  QWidget *live = canvas->browsers().viewOf(browser);
  ASSERT_NE(live, nullptr);
  EXPECT_FALSE(live->isHidden());

  DesignControl *button = drop(300, 300);  // drawn above the browser, overlapping it
  EXPECT_TRUE(live->isHidden());

  // Right-drag the button off the browser by its frame (where the browser
  // does not cover the frame): the live page returns.
  const QPoint band =
      canvas->pixelRect(button->Left + button->Width + 40, 400, 1, 1).topLeft().toPoint();
  QTest::mousePress(canvas, Qt::RightButton, Qt::NoModifier, band);
  QTest::mouseMove(canvas, band + QPoint(60, 0));
  QTest::mouseRelease(canvas, Qt::RightButton, Qt::NoModifier, band + QPoint(60, 0));
  ASSERT_GE(button->Left, 855);
  EXPECT_FALSE(live->isHidden());

  // Undo puts it back over the browser; a double click shows the live page
  // on request, over everything, until the next press.
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(live->isHidden());
  QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier,
                     canvas->pixelRect(50, 50, 1, 1).topLeft().toPoint());
  EXPECT_FALSE(live->isHidden());
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, centreOf(button));
  EXPECT_TRUE(live->isHidden());
}

TEST_F(Editing, TheGridShowsTheNewGeometryAfterArrowsAlignAndSpread) {
  DesignControl *a = drop(1200, 600);
  DesignControl *b = drop(3600, 1800);
  DesignControl *c = drop(9600, 3000);
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, centreOf(b));
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::ControlModifier, centreOf(c));
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::ControlModifier, centreOf(a));
  panel->timFillPropertiesTick();
  ASSERT_EQ(gridCell(CommonRow::Left), "1200");

  key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(gridCell(CommonRow::Left), "1205");
  key(Qt::Key_Down);  // stretch: the top moves down, the height shrinks
  EXPECT_EQ(gridCell(CommonRow::Top), "605");
  EXPECT_EQ(gridCell(CommonRow::Height), "490");

  window.action("mnuAlignBottom")->trigger();
  EXPECT_EQ(gridCell(CommonRow::Top), QString::number(a->Top));
  EXPECT_EQ(a->Top + a->Height, c->Top + c->Height);
  window.action("mnuSpreadHorizontal")->trigger();
  EXPECT_EQ(gridCell(CommonRow::Left), QString::number(a->Left));
  window.action("mnuAlignRight")->trigger();
  EXPECT_EQ(gridCell(CommonRow::Left), QString::number(a->Left));
  EXPECT_EQ(a->Left + a->Width, c->Left + c->Width);
}

TEST_F(Editing, ARubberBandSelectsWhatItTouchesAndCtrlAddsToTheSelection) {
  DesignControl *a = drop(1200, 600);
  DesignControl *b = drop(3000, 600);
  DesignControl *far = drop(1200, 3000);
  const QPoint start = canvas->pixelRect(600, 300, 1, 1).topLeft().toPoint();
  const QPoint end = canvas->pixelRect(3100, 900, 1, 1).topLeft().toPoint();
  QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, start);
  QTest::mouseMove(canvas, end);
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, end);
  EXPECT_EQ(panel->collSelectedControls, (std::vector<DesignControl *>{a, b}));
  EXPECT_EQ(panel->objCurrentControl, b);

  const QPoint below = canvas->pixelRect(1000, 2900, 1, 1).topLeft().toPoint();
  QTest::mousePress(canvas, Qt::LeftButton, Qt::ControlModifier, below);
  QTest::mouseMove(canvas, below + QPoint(20, 20));
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::ControlModifier, below + QPoint(20, 20));
  EXPECT_EQ(panel->collSelectedControls, (std::vector<DesignControl *>{a, b, far}));
  EXPECT_EQ(panel->undoStack().count(), 3);  // the drops; selecting is no step

  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, below);  // a plain click empties it
  EXPECT_TRUE(panel->collSelectedControls.empty());
  EXPECT_EQ(panel->objCurrentControl, &panel->model().pictMain);
}

TEST_F(Editing, SelectAllThenMakeSameSizeAsTheCurrentControlIsOneStep) {
  DesignControl *a = drop(1200, 600);
  DesignControl *meter = drop(3000, 600, "MasterLarkLED");
  DesignControl *label = drop(6000, 600, "MasterLabel");
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, centreOf(meter));
  key(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(panel->collSelectedControls.size(), 3u);
  EXPECT_EQ(panel->objCurrentControl, meter);
  const int steps = panel->undoStack().count();

  window.action("mnuMakeSameSize")->trigger();
  for (const DesignControl *c : {a, label}) {
    EXPECT_EQ(c->Width, 400);
    EXPECT_EQ(c->Height, 1500);
  }
  EXPECT_EQ(panel->undoStack().count(), steps + 1);
  EXPECT_EQ(window.action("mnuUndo")->text(), "&Undo Make Same Size");
  window.action("mnuUndo")->trigger();
  EXPECT_EQ(a->Width, 1215);
  EXPECT_EQ(label->Height, 255);
}

TEST_F(Editing, ControlsAndFramesExplainThemselves) {
  DesignControl *button = drop(1200, 600);
  auto tipAt = [&](const QPoint &pos) {
    QHelpEvent help(QEvent::ToolTip, pos, canvas->mapToGlobal(pos));
    QApplication::sendEvent(canvas, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  EXPECT_EQ(tipAt(centreOf(button)),
            "Drag a selected control to move it.\nDrag the edges of its frame to resize it.");
  EXPECT_EQ(tipAt(onFrameOf(button)),
            "Click and Drag handles to resize.\nRight-Click and Drag handles to move.");

  QTest::mouseMove(canvas, onFrameOf(button));
  EXPECT_EQ(window.statusBar()->currentMessage(), PanelCanvasView::frameHint());
  QTest::mouseMove(canvas, centreOf(button));
  EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty());
  EXPECT_TRUE(window.gridContainer()->toolTip().isEmpty());  // no control tooltip over the grid
}

TEST_F(Editing, TheCanvasGrowsToReachControlsBeyondTheVisiblePart) {
  QScrollArea *area = window.subWindowOf(panel)->scrollArea();
  EXPECT_EQ(area->horizontalScrollBar()->maximum(), 0);
  DesignControl *button = drop(1200, 600);
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, centreOf(button));
  // Far to the right, then far to the left of the origin, by keys.
  for (int i = 0; i < 20; ++i) {
    panel->SelectAll();
    panel->ResizeSelected(3000, 0, 0, 0, true);
  }
  EXPECT_GT(canvas->width(), area->viewport()->width());
  EXPECT_GT(area->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(canvas->controlAt(centreOf(button)), button);

  panel->ResizeSelected(-70000, 0, 0, 0, true);
  ASSERT_LT(button->Left, 0);
  EXPECT_GE(canvas->pixelRect(button->Left, 0, 1, 1).left(), 0);  // still on the canvas
  EXPECT_EQ(canvas->controlAt(centreOf(button)), button);
}

TEST_F(Editing, FlashingShowsOnScreenWithoutChangingThePanel) {
  DesignControl *button = drop(1200, 600);
  clsControlDetails *record = panel->model().FindRecord(button);
  record->Flash = true;
  record->BackColorOn = "&H0000FF";  // red
  const qint32 color = As<DesignButton>(button)->BackColor;
  panel->timFlashTick();
  const QImage image = canvas->grab().toImage();
  const QColor face = image.pixelColor(centreOf(button) - QPoint(30, 10));
  EXPECT_GT(face.red(), 200);
  EXPECT_LT(face.green(), 60);
  EXPECT_EQ(As<DesignButton>(button)->BackColor, color);
}

}  // namespace

// A value typed in the grid and not yet entered is applied before whatever
// the user does next: a drop, a menu command, a save. It once vanished when
// the grid refilled under its editor, and Ctrl+S saved the old value.
TEST_F(Editing, AValueTypedInTheGridLandsBeforeTheNextCommand) {
  PropertyGridView *view = window.gridView();
  const auto typeInto = [&](int gridRow, const char *text) {
    const QModelIndex cell = view->model()->index(gridRow - 1, 1);
    view->setCurrentIndex(cell);
    view->edit(cell);
    auto *line = qobject_cast<QLineEdit *>(view->indexWidget(cell));
    ASSERT_NE(line, nullptr);
    line->selectAll();
    QTest::keyClicks(line, text);
  };
  const auto *button = static_cast<DesignButton *>(drop(600, 600));
  panel->timFillPropertiesTick();
  const int steps = panel->undoStack().count();
  typeInto(CommonRow::Caption, "PalTest");
  window.action("mnuLabel")->trigger();  // Insert > Label selects the new label
  EXPECT_EQ(button->Caption, "PalTest");
  EXPECT_EQ(panel->undoStack().count(), steps + 2);  // the caption, then the insert

  panel->collSelectedControls = {const_cast<DesignButton *>(button)};
  panel->objCurrentControl = const_cast<DesignButton *>(button);
  designer.grid().SetProperties(*panel, panel->objCurrentControl);
  typeInto(CommonRow::Width, "2400");
  window.action("mnuSelectAll")->trigger();
  EXPECT_EQ(button->Width, 2400);

  // The panel's OnLoad typed, then Ctrl+S: the file holds the new text.
  QTemporaryDir dir;
  const ProgramSettings before = Settings();
  Settings().strStartFolder = dir.path() + u'/';  // backups go there
  Settings().strHardwareMapFile = dir.path() + QStringLiteral("/HardwareMap.xml");
  const QString path = dir.path() + QStringLiteral("/Studio.xml");
  panel->model().WindowTag = path;
  panel->collSelectedControls.clear();
  designer.grid().SetProperties(*panel, &panel->model().pictMain);
  typeInto(MainRow::OnLoad, "LOAD Y");
  window.action("mnuSavePanel")->trigger();
  QFile saved(path);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_TRUE(saved.readAll().contains("LOAD Y"));
  EXPECT_FALSE(panel->NeedToSave());
  Settings() = before;
}

// Commands on the selection are greyed out while nothing is selected, and
// Delete asks nothing then.
TEST_F(Editing, CommandsOnTheSelectionNeedASelection) {
  const auto enabled = [&](const char *name) { return window.action(name)->isEnabled(); };
  for (const char *name :
       {"mnuCut", "mnuCopy", "mnuAlignLeft", "mnuSpreadHorizontal", "mnuMakeSameSize"})
    EXPECT_FALSE(enabled(name)) << name;
  drop(600, 600);
  for (const char *name :
       {"mnuCut", "mnuCopy", "mnuAlignLeft", "mnuSpreadHorizontal", "mnuMakeSameSize"})
    EXPECT_TRUE(enabled(name)) << name;
  panel->collSelectedControls.clear();
  panel->notify(frmPanel::Selection);
  EXPECT_FALSE(enabled("mnuCut"));
  panel->DeleteSelected();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(panel->model().ControlCount(), 1);
}
