// Preview in the shell: F5 shows the panel as operators see it, a click
// lights a key and logs its command, F5 again gives back the same panel.
#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QTest>

#include "app/mainwindowlogic.h"
#include "components/datetimestamp.h"
#include "panelfile/panelwriter.h"
#include "support/fakeui.h"
#include "surface/paneleditor.h"
#include "ui/mainwindow.h"
#include "ui/panelview.h"
#include "ui/previewlogpane.h"
#include "ui/webbrowserhost.h"

namespace {
struct PreviewShell : ::testing::Test {
  FakeUi ui;
  MainWindowLogic designer{ui};
  MainWindow window{designer};
  void SetUp() override {
    DateTimeStamp::setClock([] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)); });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  void TearDown() override { DateTimeStamp::setClock({}); }
};

// The face of a button, clear of its caption: is it lit (yellow) or grey?
bool isYellow(const QColor &c) { return c.red() > 200 && c.green() > 200 && c.blue() < 80; }
bool isGrey(const QColor &c) { return c.blue() > 180 && qAbs(c.red() - c.blue()) < 30; }
}  // namespace

TEST_F(PreviewShell, F5PreviewsTheActivePanelAndGivesItBackUnchanged) {
  window.action("mnuNewPanel")->trigger();
  PanelEditor *panel = designer.activePanel();
  ASSERT_NE(panel, nullptr);
  designer.insertControl(ControlKind::Button);  // at (0, 0), 1215 x 495 twips
  DesignControl *button = panel->model().Controls(ControlKind::Button).front();
  ControlRecord &record = *panel->model().findRecord(button);
  record.click = "CMD1";
  record.mouseDown = "DOWN1";
  panel->controlGotFocus(button);
  panel->setNeedToSave(false);
  const QString before = buildPanelDocument(panel->model(), false);
  const int undoSteps = panel->undoStack().count();

  PanelSubWindow *sub = window.subWindowOf(panel);
  PanelCanvasView *canvas = sub->canvas();
  QAction *preview = window.action("mnuPreview");
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->shortcut().toString(), "F5");
  QTest::keyClick(&window, Qt::Key_F5);
  ASSERT_NE(sub->previewSession(), nullptr);
  EXPECT_TRUE(preview->isChecked());
  EXPECT_TRUE(sub->logPane()->isVisible());
  EXPECT_FALSE(window.action("mnuAlignLeft")->isEnabled());

  const QPointF face = canvas->pixelRect(0, 0, 1215, 495).topLeft() + QPointF(8, 16);
  const QPoint centre = canvas->pixelRect(0, 0, 1215, 495).center().toPoint();
  const QPoint corner = canvas->pixelRect(0, 0, 1215, 495).toAlignedRect().topLeft();
  const QImage up = canvas->grab().toImage();
  EXPECT_TRUE(isGrey(up.pixelColor(face.toPoint())));
  QTest::mousePress(canvas, Qt::LeftButton, {}, centre);
  const QImage held = canvas->grab().toImage();  // sunken: a dark top-left edge
  EXPECT_LT(held.pixelColor(corner).lightness(), up.pixelColor(corner).lightness() - 100);
  QTest::mouseRelease(canvas, Qt::LeftButton, {}, centre);
  EXPECT_TRUE(isYellow(canvas->grab().toImage().pixelColor(face.toPoint())));
  QListWidget *log = sub->logPane()->list();
  ASSERT_EQ(log->count(), 2);
  EXPECT_EQ(log->item(0)->text(), "Button1 MouseDown: DOWN1");
  EXPECT_EQ(log->item(1)->text(), "Button1 Click: CMD1");
  EXPECT_TRUE(panel->selectedControls().size() == 1);  // the click selected nothing new
  EXPECT_FALSE(panel->needToSave());

  QTest::keyClick(&window, Qt::Key_F5);
  EXPECT_EQ(sub->previewSession(), nullptr);
  EXPECT_FALSE(preview->isChecked());
  EXPECT_FALSE(sub->logPane()->isVisible());
  EXPECT_TRUE(window.action("mnuAlignLeft")->isEnabled());
  EXPECT_TRUE(isGrey(canvas->grab().toImage().pixelColor(face.toPoint())));
  EXPECT_EQ(buildPanelDocument(panel->model(), false), before);
  EXPECT_FALSE(panel->needToSave());
  EXPECT_EQ(panel->undoStack().count(), undoSteps);
  EXPECT_EQ(window.windowTitle(), "Corvane Tessary Core - Ver 5.77");
}

TEST_F(PreviewShell, LivePagesTakeTheMouseOnlyWhilePreviewing) {
  WebBrowserHost::setViewFactory([](QWidget *parent) { return new QWidget(parent); });
  struct Restore {
    ~Restore() { WebBrowserHost::setViewFactory({}); }
  } restore;
  window.action("mnuNewPanel")->trigger();
  PanelEditor *panel = designer.activePanel();
  designer.insertControl(ControlKind::WebBrowser);
  auto *browser =
      controlCast<DesignWebBrowser>(panel->model().Controls(ControlKind::WebBrowser).front());
  PanelSubWindow *sub = window.subWindowOf(panel);
  QWidget *live = sub->canvas()->browsers().viewOf(browser);
  ASSERT_NE(live, nullptr);
  QAction *preview = window.action("mnuPreview");
  for (bool on : {false, true, false}) {
    if (on != bool(sub->previewSession())) preview->trigger();
    EXPECT_EQ(live->testAttribute(Qt::WA_TransparentForMouseEvents), !on);
    EXPECT_EQ(live->focusPolicy(), on ? Qt::StrongFocus : Qt::NoFocus);
  }
}

TEST_F(PreviewShell, F5DuringAFrameDragEndsTheDragAsOneStep) {
  window.action("mnuNewPanel")->trigger();
  PanelEditor *panel = designer.activePanel();
  designer.insertControl(ControlKind::Button);
  DesignControl *button = panel->model().Controls(ControlKind::Button).front();
  button->left = button->top = 1500;
  panel->controlGotFocus(button);
  PanelSubWindow *sub = window.subWindowOf(panel);
  PanelCanvasView *canvas = sub->canvas();
  const int steps = panel->undoStack().count();

  // Right-drag the frame, press F5 before letting go.
  const QPoint band =
      canvas->pixelRect(button->left - 40, button->top + 200, 1, 1).topLeft().toPoint();
  QTest::mousePress(canvas, Qt::RightButton, {}, band);
  QTest::mouseMove(canvas, band + QPoint(30, 0));
  const qint32 moved = button->left;
  ASSERT_NE(moved, 1500);
  window.action("mnuPreview")->trigger();
  EXPECT_EQ(panel->undoStack().count(), steps + 1);
  QTest::mouseRelease(canvas, Qt::RightButton, {}, band + QPoint(60, 0));
  EXPECT_EQ(button->left, moved);
  EXPECT_EQ(panel->undoStack().count(), steps + 1);
}
