// The main window as a desktop program: menus with access letters and status
// tips, one action per shortcut, Close and Quit, and a layout remembered
// from one session to the next.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/crashrecovery.h"
#include "app/mainwindowlogic.h"
#include "shellfixture.h"
#include "support/fakeui.h"
#include "support/hostiletext.h"
#include "surface/paneleditor.h"
#include "ui/checkdock.h"
#include "ui/controllistdock.h"
#include "ui/finddock.h"
#include "ui/mainwindow.h"
#include "ui/panelview.h"
#include "ui/qtui.h"

namespace {
struct Desktop : ShownMainWindow {
  // Every shortcut-carrying action that is live in the window, menus and
  // panel windows' system menus included.
  QList<QAction *> actionsWith(const QKeySequence &keys) {
    QList<QAction *> out;
    for (QAction *a : window.findChildren<QAction *>())
      if (a->shortcuts().contains(keys)) out << a;
    return out;
  }
};
}  // namespace

TEST_F(Desktop, EveryMenuEntryHasAnAccessLetterOfItsOwnAndAStatusTip) {
  for (QAction *menuAction : window.menuBar()->actions()) {
    QMenu *menu = menuAction->menu();
    ASSERT_NE(menu, nullptr);
    QSet<QChar> letters;
    for (QAction *a : menu->actions()) {
      if (a->isSeparator()) continue;
      const QString text = a->text();
      const qsizetype amp = text.indexOf(u'&');
      EXPECT_TRUE(amp >= 0 && amp + 1 < text.size()) << text.toStdString();
      if (amp >= 0 && amp + 1 < text.size()) {
        const QChar letter = text[amp + 1].toLower();
        // Label and Clock have long shared their letter; Qt cycles between them.
        if (text != QLatin1String("C&lock")) {
          EXPECT_FALSE(letters.contains(letter)) << "letter " << QString(letter).toStdString()
                                                 << " twice in " << menu->title().toStdString();
        }
        letters.insert(letter);
      }
      if (!a->menu()) {
        EXPECT_FALSE(a->statusTip().isEmpty()) << a->objectName().toStdString();
      }
    }
  }
}

// Ctrl+W was claimed by Spread Vertically and by the panel window's system
// menu, so Qt did neither; Ctrl+F4 closes the panel window through File.
TEST_F(Desktop, EachShortcutHasOneActionAndCtrlF4ClosesThePanel) {
  window.action("mnuNewPanel")->trigger();
  PanelEditor *panel = designer.activePanel();
  ASSERT_NE(panel, nullptr);
  PanelSubWindow *sub = window.subWindowOf(panel);
  ASSERT_NE(sub, nullptr);
  QTest::qWait(20);
  for (const QKeySequence &keys :
       {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::CTRL | Qt::Key_F4),
        QKeySequence(Qt::CTRL | Qt::Key_Q)})
    EXPECT_EQ(actionsWith(keys).size(), 1) << keys.toString().toStdString();

  panel->dropFromPalette("MasterButton", 600, 600, 0, 0);  // something to spread
  panel->setNeedToSave(false);
  QSignalSpy spread(window.action("mnuSpreadVertical"), &QAction::triggered);
  QTest::keyClick(sub->canvas(), Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(spread.count(), 1);

  QTest::keyClick(sub->canvas(), Qt::Key_F4, Qt::ControlModifier);
  QTest::qWait(20);
  EXPECT_TRUE(designer.openPanels().empty());
  EXPECT_TRUE(window.mdiArea()->subWindowList().isEmpty());
}

TEST_F(Desktop, QuitAsksAboutUnsavedPanelsAndCancelKeepsTheWindow) {
  window.action("mnuNewPanel")->trigger();
  designer.activePanel()->insertControl(ControlKind::Button);
  ui.answers.push_back(Ui::Answer::Cancel);
  window.action("mnuQuit")->trigger();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Do you want to save changes to Panel Panel1?");
  EXPECT_TRUE(window.isVisible());
  ui.answers.push_back(Ui::Answer::No);
  window.action("mnuQuit")->trigger();
  EXPECT_FALSE(window.isVisible());
}

TEST(DesktopLayout, SizeDocksAndFindAndCheckOptionsComeBackAndAGoneScreenIsLeft) {
  QTemporaryDir dir;
  QSettings settings(dir.filePath("layout.ini"), QSettings::IniFormat);
  FakeUi ui;
  MainWindowLogic designer(ui);
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  {
    MainWindow window(designer);
    window.setLayoutSettings(&settings);
    window.resize(1100, 700);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.action("mnuFind")->trigger();
    window.findDock()->closedFilesBox()->setChecked(true);
    window.action("mnuCheckPanels")->trigger();
    window.checkDock()->scopeBox()->setCurrentIndex(1);
    window.action("mnuControlList")->trigger();
    QTest::qWait(20);
    window.close();
  }
  {
    MainWindow window(designer);
    window.setLayoutSettings(&settings);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.size(), QSize(1100, 700));
    EXPECT_TRUE(window.findDock()->isVisible());
    EXPECT_TRUE(window.findDock()->closedFilesBox()->isChecked());
    EXPECT_TRUE(window.checkDock()->isVisible());
    EXPECT_EQ(window.checkDock()->scopeBox()->currentIndex(), 1);
    EXPECT_TRUE(window.controlListDock()->isVisible());
    EXPECT_TRUE(window.action("mnuControlList")->isChecked());
    // Saved on a screen far to the right that is no longer there.
    window.move(screen.right() + 5000, screen.bottom() + 5000);
    window.saveLayout();
  }
  {
    MainWindow window(designer);
    window.setLayoutSettings(&settings);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(screen.intersects(window.frameGeometry()))
        << window.frameGeometry().x() << "," << window.frameGeometry().y();
  }
  // A layout of another version is not restored over the docks.
  settings.setValue("mainWindow/version", 999);
  MainWindow window(designer);
  window.setLayoutSettings(&settings);
  EXPECT_NE(window.size(), QSize(1100, 700));
}

// Find, Check Panels and the control list are tabs of one column on the
// right of the panels, the tab asked for last in front. Open together they
// leave the panels half the window and the tool box its width; each closing
// gives the tool box nothing, and the last gives the panels all their room
// back. A remembered layout that squeezed the panels comes back with the
// panels at half the window.
TEST(DesktopLayout, TheFindCheckAndControlListDocksShareATabbedColumn) {
  QTemporaryDir dir;
  QSettings settings(dir.filePath("layout.ini"), QSettings::IniFormat);
  FakeUi ui;
  MainWindowLogic designer(ui);
  {
    MainWindow window(designer);
    window.setLayoutSettings(&settings);
    window.resize(1600, 900);  // at 1280 the least widths of the tool box and Find leave 570
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QWidget *panels = window.mdiArea();
    auto *tools = window.findChild<QDockWidget *>("toolDock");
    const int alone = panels->width(), toolsWidth = tools->width();
    window.action("mnuFind")->trigger();
    window.action("mnuCheckPanels")->trigger();
    window.action("mnuControlList")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(window.tabifiedDockWidgets(window.findDock()).size(), 2);
    const auto *tabs = window.findChild<QTabBar *>();
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "Control List");
    EXPECT_GE(panels->width(), window.width() / 2);
    EXPECT_EQ(tools->width(), toolsWidth);
    for (QDockWidget *dock :
         QList<QDockWidget *>{window.controlListDock(), window.findDock(), window.checkDock()}) {
      dock->close();
      QApplication::processEvents();
      EXPECT_EQ(tools->width(), toolsWidth) << dock->objectName().toStdString();
    }
    EXPECT_EQ(panels->width(), alone);
    // The user widens Find as far as it goes.
    window.action("mnuFind")->trigger();
    QApplication::processEvents();
    window.resizeDocks({window.findDock()}, {1000}, Qt::Horizontal);
    QApplication::processEvents();
    ASSERT_LT(panels->width(), window.width() / 2);
    window.close();
  }
  MainWindow window(designer);
  window.setLayoutSettings(&settings);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QApplication::processEvents();
  EXPECT_TRUE(window.findDock()->isVisible());
  EXPECT_GE(window.mdiArea()->width(), window.width() / 2);
}

TEST(DesktopMessages, FailuresShowTheWarningOrCriticalIcon) {
  QtUi qtUi;
  const struct {
    Ui::Severity severity;
    QMessageBox::Icon icon;
  } cases[] = {{Ui::Severity::Warning, QMessageBox::Warning},
               {Ui::Severity::Critical, QMessageBox::Critical}};
  for (const auto &c : cases) {
    QMessageBox::Icon seen = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
      if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
        seen = box->icon();
        box->accept();
      }
    });
    qtUi.failure("Failed to save panel - not connected to the server", c.severity);
    EXPECT_EQ(seen, c.icon);
  }
}

TEST_F(Desktop, TheStatusBarSaysWhileRecoveryIsOff) {
  QTemporaryDir dir;
  const QString notAFolder = dir.filePath("<i>recovery");
  QFile file(notAFolder);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  CrashRecovery recovery(designer, notAFolder);
  window.setRecovery(&recovery);
  EXPECT_FALSE(window.recoveryLabel()->isVisible());
  EXPECT_FALSE(recovery.start());
  EXPECT_TRUE(window.recoveryLabel()->isVisible());
  EXPECT_EQ(window.recoveryLabel()->text(), "Recovery off");
  EXPECT_TRUE(shownAs(window.recoveryLabel()->toolTip()).contains(notAFolder));
}

// Looking at a panel maximised, minimised or restored leaves it as it was;
// only a user's resize of a normal window sizes the panel. The main
// window's " *" follows the panel's changed state in every window state.
TEST_F(Desktop, MaximisingOrMinimisingAPanelWindowNeverChangesThePanel) {
  window.action("mnuNewPanel")->trigger();
  PanelEditor *panel = designer.activePanel();
  QMdiSubWindow *sub = window.subWindowOf(panel);
  const qint32 width = panel->model().width;
  const qint32 height = panel->model().height;
  ASSERT_FALSE(panel->needToSave());
  for (auto show : {&QWidget::showMaximized, &QWidget::showNormal, &QWidget::showMinimized,
                    &QWidget::showNormal, &QWidget::showMaximized}) {
    (sub->*show)();
    QApplication::processEvents();
    EXPECT_EQ(panel->model().width, width);
    EXPECT_EQ(panel->model().height, height);
    EXPECT_FALSE(panel->needToSave());
  }
  EXPECT_FALSE(window.windowTitle().contains(" *")) << window.windowTitle().toStdString();
  panel->insertControl(ControlKind::Button);
  EXPECT_TRUE(window.windowTitle().contains(" *")) << window.windowTitle().toStdString();
  window.action("mnuPreview")->trigger();
  EXPECT_TRUE(window.windowTitle().contains(" *")) << window.windowTitle().toStdString();
  window.action("mnuPreview")->trigger();

  sub->showNormal();
  QApplication::processEvents();
  EXPECT_EQ(panel->model().width, width);
  sub->resize(sub->width() + 30, sub->height());
  EXPECT_EQ(panel->model().width, width + 450);
}

// View > Show Grid draws the panel's grid as dots on the canvas, never in
// preview, and is remembered with the layout.
TEST_F(Desktop, ShowGridDrawsDotsOnTheCanvasButNotInPreview) {
  window.action("mnuNewPanel")->trigger();
  PanelEditor *panel = designer.activePanel();
  PanelCanvasView *canvas = window.subWindowOf(panel)->canvas();
  const double step = panel->gridSize() / 15.0;
  const QPointF origin = canvas->pixelRect(0, 0, 0, 0).topLeft();
  const QPoint dot = (origin + QPointF(2 * step, 2 * step)).toPoint();
  const auto pixel = [&] { return canvas->grab().toImage().pixel(dot); };
  const QRgb ground = pixel();
  QAction *grid = window.action("mnuShowGrid");
  grid->setChecked(true);
  EXPECT_NE(pixel(), ground);
  window.action("mnuPreview")->trigger();
  EXPECT_EQ(pixel(), ground);
  window.action("mnuPreview")->trigger();

  QTemporaryDir dir;
  QSettings settings(dir.filePath("layout.ini"), QSettings::IniFormat);
  window.setLayoutSettings(&settings);
  grid->setChecked(true);
  window.saveLayout();
  grid->setChecked(false);
  window.setLayoutSettings(&settings);
  EXPECT_TRUE(grid->isChecked());
  grid->setChecked(false);
  EXPECT_FALSE(PanelCanvasView::gridShown());
}

// View > Snap to Controls (on at first) and Snap to Grid (off) are
// remembered with the layout as Show Grid is, and reach every canvas.
TEST_F(Desktop, SnapSwitchesAreRememberedWithTheLayout) {
  QTemporaryDir dir;
  QSettings settings(dir.filePath("layout.ini"), QSettings::IniFormat);
  window.setLayoutSettings(&settings);
  QAction *controls = window.action("mnuSnapToControls");
  QAction *grid = window.action("mnuSnapToGrid");
  EXPECT_TRUE(controls->isChecked());
  EXPECT_FALSE(grid->isChecked());
  controls->setChecked(false);
  grid->setChecked(true);
  EXPECT_FALSE(PanelCanvasView::snapToControls());
  EXPECT_TRUE(PanelCanvasView::snapToGrid());
  window.saveLayout();
  controls->setChecked(true);
  grid->setChecked(false);
  window.setLayoutSettings(&settings);
  EXPECT_FALSE(controls->isChecked());
  EXPECT_TRUE(grid->isChecked());
  controls->setChecked(true);
  grid->setChecked(false);
  EXPECT_TRUE(PanelCanvasView::snapToControls());
  EXPECT_FALSE(PanelCanvasView::snapToGrid());
}
