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

#include "app/mainwindowlogic.h"
#include "grid/gridrows.h"
#include "grid/propertygrid.h"
#include "model/settings.h"
#include "panelfile/panelwriter.h"
#include "support/fakeui.h"
#include "surface/paneleditor.h"
#include "ui/mainwindow.h"
#include "ui/panelview.h"
#include "ui/propertygridview.h"
#include "ui/webbrowserhost.h"

namespace {

struct Editing : ::testing::Test {
  FakeUi ui;
  MainWindowLogic designer{ui};
  MainWindow window{designer};
  PanelEditor *panel = nullptr;
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
    panel->dropFromPalette(item, left, top, 0, 0);
    return panel->model().zOrder().back();
  }
  QPoint centreOf(const DesignControl *c) const {
    return canvas->pixelRect(c->left, c->top, c->width, c->height).center().toPoint();
  }
  // A point on the left band of a control's frame, half-way down.
  QPoint onFrameOf(const DesignControl *c) const {
    return canvas->pixelRect(c->left - 40, c->top + c->height / 2, 1, 1).topLeft().toPoint();
  }
  void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : canvas,
                    Qt::Key(key), modifiers);
  }
  QString gridCell(int row) { return designer.grid().textMatrix(row, 1); }
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
  EXPECT_EQ(button->left, 1200);
  EXPECT_EQ(undo->text(), "&Undo Add Button1");
  EXPECT_EQ(redo->text(), "&Redo Move Button1");
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(panel->model().controlCount(), 0);
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_EQ(undo->text(), "&Undo");
  EXPECT_FALSE(window.windowTitle().endsWith(" *"));

  key(Qt::Key_Y, Qt::ControlModifier);
  key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(panel->model().controlCount(), 1);
  EXPECT_EQ(button->left, 1210);
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
  ASSERT_EQ(panel->selectedControls().size(), 2u);
  const int steps = panel->undoStack().count();

  // Ctrl+press on a's left band and a drag: a leaves the selection, nothing is resized.
  const QPoint band = onFrameOf(a);
  QTest::mousePress(canvas, Qt::LeftButton, Qt::ControlModifier, band);
  QTest::mouseMove(canvas, band + QPoint(-20, 0));
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::ControlModifier, band + QPoint(-20, 0));
  EXPECT_EQ(panel->selectedControls(), std::vector<DesignControl *>{b});
  EXPECT_EQ(panel->currentControl(), b);
  EXPECT_EQ(a->left, 1200);
  EXPECT_EQ(a->width, 1215);
  EXPECT_EQ(b->width, 1215);
  EXPECT_EQ(panel->undoStack().count(), steps);

  // Also when the frame has the focus already from a plain press.
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, onFrameOf(b));
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::ControlModifier, onFrameOf(b));
  EXPECT_TRUE(panel->selectedControls().empty());
  EXPECT_EQ(b->width, 1215);
}

// A left-drag on the body of a selected control moves the whole selection
// as a right-drag on its frame does, as one step; a click only selects, and
// a control not selected before the press is not dragged. Once only the
// frame moved controls.
TEST_F(Editing, DraggingASelectedControlMovesTheSelection) {
  DesignControl *a = drop(1200, 600);
  DesignControl *b = drop(3600, 600);
  const auto saved = [&] { return buildPanelFile(panel->model(), false, "1"); };
  const auto drag = [&](const DesignControl *c, QPoint by) {
    const QPoint from = centreOf(c);
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, from);
    for (int i = 1; i <= 4; ++i) QTest::mouseMove(canvas, from + by * i / 4);
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, from + by);
  };
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, centreOf(a));
  const int steps = panel->undoStack().count();
  drag(b, {100, 40});  // b was not selected: this press selects it only
  EXPECT_EQ(b->left, 3600);
  EXPECT_EQ(panel->selectedControls(), std::vector<DesignControl *>{b});

  QTest::mouseClick(canvas, Qt::LeftButton, Qt::ControlModifier, centreOf(a));
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, centreOf(a));  // a click: no change
  ASSERT_EQ(panel->selectedControls().size(), 2u);
  EXPECT_EQ(panel->undoStack().count(), steps);
  const QByteArray before = saved();
  drag(a, {100, 40});
  EXPECT_EQ(a->left, 1200 + 1500);
  EXPECT_EQ(a->top, 600 + 600);
  EXPECT_EQ(b->left, 3600 + 1500);
  EXPECT_EQ(b->top, 600 + 600);
  EXPECT_EQ(panel->undoStack().count(), steps + 1);
  EXPECT_EQ(panel->undoStack().undoText(), "Move 2 Controls");
  const QByteArray after = saved();
  EXPECT_NE(after, before);
  panel->undo();
  EXPECT_EQ(saved(), before);
  panel->redo();
  EXPECT_EQ(saved(), after);

  // The frame's own drags are as before: a right-drag moves, a left-drag on
  // an edge resizes.
  const QPoint band = onFrameOf(a);
  QTest::mousePress(canvas, Qt::RightButton, Qt::NoModifier, band);
  QTest::mouseMove(canvas, band + QPoint(20, 0));
  QTest::mouseRelease(canvas, Qt::RightButton, Qt::NoModifier, band + QPoint(20, 0));
  EXPECT_EQ(a->left, 2700 + 300);
  EXPECT_EQ(a->width, 1215);
  const QPoint edge = onFrameOf(a);
  QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, edge);
  QTest::mouseMove(canvas, edge + QPoint(-20, 0));
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, edge + QPoint(-20, 0));
  EXPECT_LT(a->left, 3000);
  EXPECT_EQ(a->left + a->width, 3000 + 1215);  // the right edge stays
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
    ASSERT_EQ(button->left, move.start.x());
    const QByteArray before = buildPanelFile(panel->model(), false, "1");
    const int steps = panel->undoStack().count();
    const QPointF origin = canvas->pixelRect(0, 0, 0, 0).topLeft();
    const QPoint from = onFrameOf(button);
    QTest::mousePress(canvas, Qt::RightButton, Qt::NoModifier, from);
    for (int i = 1; i <= 10; ++i) QTest::mouseMove(canvas, from + move.by * i / 10);
    EXPECT_EQ(canvas->pixelRect(0, 0, 0, 0).topLeft(), origin);  // no jump while dragging
    QTest::mouseRelease(canvas, Qt::RightButton, Qt::NoModifier, from + move.by);
    EXPECT_EQ(QPoint(button->left, button->top), move.end);
    EXPECT_EQ(panel->undoStack().count(), steps + 1);
    EXPECT_EQ(canvas->controlAt(centreOf(button)), button);  // the canvas reaches it now
    // A dotted line marks the panel's left edge while a control lies beyond it.
    const QImage image = canvas->grab().toImage();
    const int x = int(canvas->pixelRect(0, 0, 0, 0).left());
    int marked = 0;
    for (int y = 0; y < image.height(); ++y)
      marked += image.pixelColor(x, y) == QColor(0x80, 0x80, 0x80);
    EXPECT_EQ(marked > image.height() / 4, move.end.x() < 0);
    const QByteArray after = buildPanelFile(panel->model(), false, "1");
    panel->undo();
    EXPECT_EQ(buildPanelFile(panel->model(), false, "1"), before);
    panel->redo();
    EXPECT_EQ(buildPanelFile(panel->model(), false, "1"), after);
  }
}

TEST_F(Editing, ALiveWebPageNeverCoversAControlDrawnAboveIt) {
  WebBrowserHost::setViewFactory([](QWidget *parent) { return new QWidget(parent); });
  struct Restore {
    ~Restore() { WebBrowserHost::setViewFactory({}); }
  } restore;
  auto *browser = controlCast<DesignWebBrowser>(drop(0, 0, "pictWebBrowser"));  // 855 x 735
  ASSERT_NE(browser, nullptr);
  QWidget *live = canvas->browsers().viewOf(browser);
  ASSERT_NE(live, nullptr);
  EXPECT_FALSE(live->isHidden());

  DesignControl *button = drop(300, 300);  // drawn above the browser, overlapping it
  EXPECT_TRUE(live->isHidden());

  // Right-drag the button off the browser by its frame (where the browser
  // does not cover the frame): the live page returns.
  const QPoint band =
      canvas->pixelRect(button->left + button->width + 40, 400, 1, 1).topLeft().toPoint();
  QTest::mousePress(canvas, Qt::RightButton, Qt::NoModifier, band);
  QTest::mouseMove(canvas, band + QPoint(60, 0));
  QTest::mouseRelease(canvas, Qt::RightButton, Qt::NoModifier, band + QPoint(60, 0));
  ASSERT_GE(button->left, 855);
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
  panel->fillPropertiesTick();
  ASSERT_EQ(gridCell(CommonRow::Left), "1200");

  key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(gridCell(CommonRow::Left), "1205");
  key(Qt::Key_Down);  // stretch: the top moves down, the height shrinks
  EXPECT_EQ(gridCell(CommonRow::Top), "605");
  EXPECT_EQ(gridCell(CommonRow::Height), "490");

  window.action("mnuAlignBottom")->trigger();
  EXPECT_EQ(gridCell(CommonRow::Top), QString::number(a->top));
  EXPECT_EQ(a->top + a->height, c->top + c->height);
  window.action("mnuSpreadHorizontal")->trigger();
  EXPECT_EQ(gridCell(CommonRow::Left), QString::number(a->left));
  window.action("mnuAlignRight")->trigger();
  EXPECT_EQ(gridCell(CommonRow::Left), QString::number(a->left));
  EXPECT_EQ(a->left + a->width, c->left + c->width);
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
  EXPECT_EQ(panel->selectedControls(), (std::vector<DesignControl *>{a, b}));
  EXPECT_EQ(panel->currentControl(), b);

  const QPoint below = canvas->pixelRect(1000, 2900, 1, 1).topLeft().toPoint();
  QTest::mousePress(canvas, Qt::LeftButton, Qt::ControlModifier, below);
  QTest::mouseMove(canvas, below + QPoint(20, 20));
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::ControlModifier, below + QPoint(20, 20));
  EXPECT_EQ(panel->selectedControls(), (std::vector<DesignControl *>{a, b, far}));
  EXPECT_EQ(panel->undoStack().count(), 3);  // the drops; selecting is no step

  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, below);  // a plain click empties it
  EXPECT_TRUE(panel->selectedControls().empty());
  EXPECT_EQ(panel->currentControl(), &panel->model().canvas);
}

TEST_F(Editing, SelectAllThenMakeSameSizeAsTheCurrentControlIsOneStep) {
  DesignControl *a = drop(1200, 600);
  DesignControl *meter = drop(3000, 600, "MasterLarkLED");
  DesignControl *label = drop(6000, 600, "MasterLabel");
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, centreOf(meter));
  key(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(panel->selectedControls().size(), 3u);
  EXPECT_EQ(panel->currentControl(), meter);
  const int steps = panel->undoStack().count();

  window.action("mnuMakeSameSize")->trigger();
  for (const DesignControl *c : {a, label}) {
    EXPECT_EQ(c->width, 400);
    EXPECT_EQ(c->height, 1500);
  }
  EXPECT_EQ(panel->undoStack().count(), steps + 1);
  EXPECT_EQ(window.action("mnuUndo")->text(), "&Undo Make Same Size");
  window.action("mnuUndo")->trigger();
  EXPECT_EQ(a->width, 1215);
  EXPECT_EQ(label->height, 255);
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
    panel->selectAll();
    panel->resizeSelected(3000, 0, 0, 0, true);
  }
  EXPECT_GT(canvas->width(), area->viewport()->width());
  EXPECT_GT(area->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(canvas->controlAt(centreOf(button)), button);

  panel->resizeSelected(-70000, 0, 0, 0, true);
  ASSERT_LT(button->left, 0);
  EXPECT_GE(canvas->pixelRect(button->left, 0, 1, 1).left(), 0);  // still on the canvas
  EXPECT_EQ(canvas->controlAt(centreOf(button)), button);
}

TEST_F(Editing, FlashingShowsOnScreenWithoutChangingThePanel) {
  DesignControl *button = drop(1200, 600);
  ControlRecord *record = panel->model().findRecord(button);
  record->flash = true;
  record->backColorOn = "&H0000FF";  // red
  const qint32 color = controlCast<DesignButton>(button)->backColor;
  panel->flashTick();
  const QImage image = canvas->grab().toImage();
  const QColor face = image.pixelColor(centreOf(button) - QPoint(30, 10));
  EXPECT_GT(face.red(), 200);
  EXPECT_LT(face.green(), 60);
  EXPECT_EQ(controlCast<DesignButton>(button)->backColor, color);
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
  panel->fillPropertiesTick();
  const int steps = panel->undoStack().count();
  typeInto(CommonRow::Caption, "PalTest");
  window.action("mnuLabel")->trigger();  // Insert > Label selects the new label
  EXPECT_EQ(button->caption, "PalTest");
  EXPECT_EQ(panel->undoStack().count(), steps + 2);  // the caption, then the insert

  auto *editable = const_cast<DesignButton *>(button);
  panel->selectControls({editable}, editable);
  designer.grid().setProperties(*panel, panel->currentControl());
  typeInto(CommonRow::Width, "2400");
  window.action("mnuSelectAll")->trigger();
  EXPECT_EQ(button->width, 2400);

  // The panel's OnLoad typed, then Ctrl+S: the file holds the new text.
  QTemporaryDir dir;
  const ProgramSettings before = programSettings();
  programSettings().startFolder = dir.path() + u'/';  // backups go there
  programSettings().hardwareMapFile = dir.path() + QStringLiteral("/HardwareMap.xml");
  const QString path = dir.path() + QStringLiteral("/Studio.xml");
  panel->model().documentPath = path;
  panel->clearAllSelected();
  designer.grid().setProperties(*panel, &panel->model().canvas);
  typeInto(MainRow::OnLoad, "LOAD Y");
  window.action("mnuSavePanel")->trigger();
  QFile saved(path);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_TRUE(saved.readAll().contains("LOAD Y"));
  EXPECT_FALSE(panel->needToSave());
  programSettings() = before;
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
  panel->clearAllSelected();
  panel->notify(PanelEditor::Selection);
  EXPECT_FALSE(enabled("mnuCut"));
  panel->deleteSelected();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(panel->model().controlCount(), 1);
}
