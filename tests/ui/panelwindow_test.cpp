// A panel window as the user handles it: maximised or not, the same pointer
// and key gestures make the same document; opening, looking and saving keep
// the panel's own size; Fit to Window fits what the workspace shows.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <memory>

#include "app/mainwindowlogic.h"
#include "app/startup.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "panelfile/panelwriter.h"
#include "shellfixture.h"
#include "support/fakeui.h"
#include "support/isolatedsettings.h"
#include "surface/paneleditor.h"
#include "ui/controllistdock.h"
#include "ui/mainwindow.h"
#include "ui/panelview.h"

namespace {

struct PlacedButton {
  const char *name;
  qint32 left, top;
};

// A panels folder in a temporary directory; each Designer opens its panels
// in a main window of its own, 1280 x 820 pixels as at a first start.
struct PanelFolder {
  QTemporaryDir dir;
  PanelFolder() {
    isolateSettings(dir.path() + "/config", "panelwindow-test");
    programSettings() = ProgramSettings();
    initSettings(programSettings(), dir.path());
    QDir().mkpath(programSettings().panelsFolder);
  }
  QString write(const QString &name, QSize size,
                std::initializer_list<PlacedButton> buttons) const {
    QString controls;
    for (const PlacedButton &b : buttons)
      controls += QStringLiteral(
                      "<Control><Type>Button</Type><Name>%1</Name><Caption>%1</Caption>"
                      "<Left>%2</Left><Top>%3</Top><Width>1215</Width><Height>495</Height>"
                      "</Control>")
                      .arg(b.name)
                      .arg(b.left)
                      .arg(b.top);
    const QString path = programSettings().panelsFolder + name + ".xml";
    QString error;
    EXPECT_TRUE(writeTextFileSafely(path,
                                    QStringLiteral("<Panel><Name>%1</Name><Width>%2</Width>"
                                                   "<Height>%3</Height><ControlList>%4"
                                                   "</ControlList></Panel>")
                                        .arg(name)
                                        .arg(size.width())
                                        .arg(size.height())
                                        .arg(controls),
                                    &error));
    return path;
  }
};

struct Designer : DesignerWindow {
  PanelEditor *panel = nullptr;
  PanelSubWindow *sub = nullptr;

  explicit Designer(const QString &path, bool maximised = false) {
    window.resize(1280, 820);
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::setActiveWindow(&window);
    panel = designer.openPanelLocal(path);
    EXPECT_NE(panel, nullptr);
    sub = window.subWindowOf(panel);
    if (maximised) sub->showMaximized();
    QApplication::processEvents();
  }
  PanelCanvasView *canvas() const { return sub->canvas(); }
  QWidget *workspace() const { return window.mdiArea()->viewport(); }
  DesignControl *control(const QString &name) const {
    for (DesignControl *c : panel->model().zOrder())
      if (c->tag == name) return c;
    ADD_FAILURE() << name.toStdString();
    return nullptr;
  }
  QPoint centreOf(const DesignControl *c) const {
    return canvas()->pixelRect(c->left, c->top, c->width, c->height).center().toPoint();
  }
  // View > Control List, then a click on the control's row.
  void pick(const DesignControl *c) {
    if (!window.controlListDock()->isVisible()) window.action("mnuControlList")->trigger();
    QApplication::processEvents();
    QTreeView *list = window.controlListDock()->list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualRect(window.controlListDock()->indexOf(c)).center());
    QApplication::processEvents();
  }
  // A left-drag from a canvas point by pixels, as a real pointer makes it: it
  // stays where it is on the screen while the canvas under it may move, and
  // each event reaches the canvas where the canvas is by then.
  void drag(QPoint from, QPoint by) {
    const QPoint onScreen = canvas()->mapTo(&window, from);
    const auto at = [&](QPoint p) { return canvas()->mapFrom(&window, onScreen + p); };
    QTest::mousePress(canvas(), Qt::LeftButton, Qt::NoModifier, at({}));
    for (int i = 1; i <= 4; ++i) {
      const QPoint pos = at(by * i / 4);
      QMouseEvent move(QEvent::MouseMove, pos, canvas()->mapToGlobal(pos), Qt::NoButton,
                       Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(canvas(), &move);
    }
    QTest::mouseRelease(canvas(), Qt::LeftButton, Qt::NoModifier, at(by));
    QApplication::processEvents();
  }
  // What the user sees: where the workspace and the canvas are scrolled to.
  QList<int> scrolled() const {
    return {window.mdiArea()->horizontalScrollBar()->value(),
            window.mdiArea()->verticalScrollBar()->value(),
            sub->scrollArea()->horizontalScrollBar()->value(),
            sub->scrollArea()->verticalScrollBar()->value()};
  }
  std::string saved() const { return buildPanelFile(panel->model(), false, "1").toStdString(); }
};

// The same gestures on a control picked in the control list give the same
// document byte for byte in a maximised window as in a normal one, on a
// panel larger than the workspace and on one smaller; a maximised window
// keeps filling the workspace and no key scrolls the view away.
TEST(PanelWindow, AMaximisedWindowTakesTheGesturesAsANormalOneDoes) {
  PanelCanvasView::setSnapToControls(false);
  const std::shared_ptr<void> restore(nullptr,
                                      [](void *) { PanelCanvasView::setSnapToControls(true); });
  PanelFolder folder;
  const struct {
    const char *panel;
    QSize size;
    QPoint by;  // pixels
  } cases[] = {{"Large", {80000, 60000}, {80, 40}}, {"Small", {7200, 6000}, {-40, -20}}};
  const QString large =
      folder.write("Large", {80000, 60000},
                   {{"Btn1", 600, 600}, {"Btn1272", 16800, 13200}, {"Btn9", 70000, 52000}});
  const QString small =
      folder.write("Small", {7200, 6000}, {{"Btn1", 600, 600}, {"Btn2", 3600, 2400}});
  for (const auto &c : cases) {
    std::string normal;
    for (const bool maximised : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.panel << (maximised ? " maximised" : " normal"));
      Designer d(c.size.width() > 20000 ? large : small, maximised);
      DesignControl *target = d.control(c.size.width() > 20000 ? "Btn1272" : "Btn2");
      const QPoint start(target->left, target->top);
      d.pick(target);
      const QRect shown = d.workspace()->rect();
      ASSERT_TRUE(shown.contains(d.canvas()->mapTo(d.workspace(), d.centreOf(target))));
      d.drag(d.centreOf(target), c.by);
      EXPECT_EQ(QPoint(target->left, target->top), start + c.by * 15);
      const QList<int> scrolled = d.scrolled();
      for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Down}) {
        QTest::keyClick(d.canvas(), key);
        QApplication::processEvents();
        EXPECT_EQ(d.scrolled(), scrolled);
      }
      if (maximised) {
        EXPECT_TRUE(d.sub->isMaximized());
        EXPECT_EQ(d.sub->geometry(), d.workspace()->rect());
      }
      EXPECT_FALSE(d.saved().empty());
      if (!maximised)
        normal = d.saved();
      else
        EXPECT_EQ(d.saved(), normal);
    }
  }
}

// A panel's Width and Height are what its file says until the user resizes
// its window: opening, maximising, minimising and restoring and saving keep
// them to the twip, though a window has whole pixels of 15 twips; a resize
// of one side changes that side only.
TEST(PanelWindow, OpeningLookingAndSavingKeepThePanelsOwnSize) {
  PanelFolder folder;
  const QString path = folder.write("Odd", {80008, 60007}, {{"Btn1", 600, 600}});
  std::string expected;
  {
    FakeUi ui;
    MainWindowLogic headless(ui);  // no window to size
    PanelEditor *panel = headless.openPanelLocal(path);
    ASSERT_NE(panel, nullptr);
    expected = buildPanelFile(panel->model(), false, "1").toStdString();
  }
  ASSERT_NE(expected.find("<Width>80008</Width>"), std::string::npos);
  Designer d(path);
  EXPECT_EQ(d.saved(), expected);
  for (auto show : {&QWidget::showMaximized, &QWidget::showNormal, &QWidget::showMinimized,
                    &QWidget::showNormal}) {
    (d.sub->*show)();
    QApplication::processEvents();
    EXPECT_EQ(QSize(d.panel->model().width, d.panel->model().height), QSize(80008, 60007));
    EXPECT_FALSE(d.panel->needToSave());
  }
  EXPECT_EQ(d.saved(), expected);
  EXPECT_EQ(d.sub->size(), QSize(5334, 4000));
  d.window.action("mnuSavePanel")->trigger();
  const QByteArray file = readTextFile(path).toLatin1();
  EXPECT_TRUE(file.contains("<Width>80008</Width>")) << file.left(200).toStdString();
  EXPECT_TRUE(file.contains("<Height>60007</Height>")) << file.left(200).toStdString();

  d.sub->resize(d.sub->width() + 30, d.sub->height());
  EXPECT_EQ(d.panel->model().width, (5334 + 30) * 15);
  EXPECT_EQ(d.panel->model().height, 60007);
  EXPECT_TRUE(d.panel->needToSave());

  // A size given while the window is maximised waits for the restore.
  d.sub->showMaximized();
  QApplication::processEvents();
  d.panel->windowResized(90000, 60007);
  EXPECT_EQ(d.sub->geometry(), d.workspace()->rect());
  d.sub->showNormal();
  QApplication::processEvents();
  EXPECT_EQ(d.sub->size(), QSize(6000, 4000));
  EXPECT_EQ(QSize(d.panel->model().width, d.panel->model().height), QSize(90000, 60007));
}

// Fit to Window brings every control into what the workspace shows of the
// panel's canvas, whether the window is larger than the workspace or
// maximised.
TEST(PanelWindow, FitToWindowFitsThePanelIntoTheVisibleWorkspace) {
  PanelFolder folder;
  const QString path =
      folder.write("Large", {80000, 60000},
                   {{"Btn1", 600, 600}, {"Btn2", 15000, 12000}, {"Btn3", 30000, 22000}});
  for (const bool maximised : {false, true}) {
    SCOPED_TRACE(maximised ? "maximised" : "normal");
    Designer d(path, maximised);
    d.window.action("mnuFitToWindow")->trigger();
    QApplication::processEvents();
    EXPECT_LT(d.canvas()->zoom(), 0.5);
    const QRect shown = d.workspace()->rect();
    for (const char *name : {"Btn1", "Btn2", "Btn3"}) {
      const DesignControl *c = d.control(name);
      const QRect r = d.canvas()->pixelRect(c->left, c->top, c->width, c->height).toAlignedRect();
      EXPECT_TRUE(shown.contains(r.translated(d.canvas()->mapTo(d.workspace(), QPoint())))) << name;
    }
  }
}

}  // namespace
