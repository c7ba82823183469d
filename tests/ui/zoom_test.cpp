// Zoom of a panel window: the View menu, the status bar and Ctrl+wheel, the
// same document whatever the zoom of the gestures that made it, and
// snapping within a few screen pixels at every zoom, with its guides.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/mainwindowlogic.h"
#include "panelfile/panelwriter.h"
#include "shellfixture.h"
#include "support/fakeui.h"
#include "surface/paneleditor.h"
#include "ui/mainwindow.h"
#include "ui/paintsupport.h"
#include "ui/palettewidget.h"
#include "ui/panelview.h"

namespace {

// A main window with one new panel, its canvas at the given zoom.
struct ZoomedPanel : DesignerWindow {
  PanelEditor *panel = nullptr;
  PanelCanvasView *canvas = nullptr;
  double zoom;

  explicit ZoomedPanel(double z) : zoom(z) {
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.action("mnuNewPanel")->trigger();
    panel = designer.activePanel();
    canvas = window.subWindowOf(panel)->canvas();
    canvas->setZoom(zoom);
    canvas->setFocus();
    QApplication::setActiveWindow(&window);
  }
  // The pixel of a twip point (a multiple of 30 twips, which is a whole
  // pixel at every zoom tested).
  QPoint at(qint32 x, qint32 y) const {
    EXPECT_EQ(x % 30, 0);
    EXPECT_EQ(y % 30, 0);
    return canvas->pixelRect(x, y, 0, 0).topLeft().toPoint();
  }
  // A distance given in pixels at 100 %, at this zoom.
  QPoint px(int x, int y) const { return QPoint(qRound(x * zoom), qRound(y * zoom)); }

  void drop(const char *item, QPoint pos) {
    QMimeData data;
    data.setData(PaletteWidget::kMimeType, item);
    QDragEnterEvent enter(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &enter);
    QDropEvent event(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &event);
  }
  void drag(Qt::MouseButton button, QPoint from, QPoint by,
            Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mousePress(canvas, button, modifiers, from);
    for (int i = 1; i <= 4; ++i) move(from + by * i / 4, button, modifiers);
    QTest::mouseRelease(canvas, button, modifiers, from + by);
  }
  void move(QPoint to, Qt::MouseButton held, Qt::KeyboardModifiers modifiers) {
    QMouseEvent event(QEvent::MouseMove, to, canvas->mapToGlobal(to), Qt::NoButton, held,
                      modifiers);
    QApplication::sendEvent(canvas, &event);
  }
  QByteArray saved() const { return buildPanelFile(panel->model(), false, "1"); }
};

qint32 up60(qint32 v) { return (v + 59) / 60 * 60; }

TEST(Zoom, TheSameGesturesGiveTheSameDocumentAtEveryZoom) {
  PanelCanvasView::setSnapToControls(false);
  const std::shared_ptr<void> restore(nullptr,
                                      [](void *) { PanelCanvasView::setSnapToControls(true); });
  QByteArray first;
  for (const double zoom : {1.0, 0.5, 2.0}) {
    SCOPED_TRACE(zoom);
    ZoomedPanel z(zoom);
    z.designer.setDragOffset(QPoint(300, 150));
    z.drop("MasterButton", z.at(1500, 1350));
    z.drop("MasterButton", z.at(4500, 1350));
    const auto &order = z.panel->model().zOrder();
    ASSERT_EQ(order.size(), 2u);
    DesignControl *a = order[0], *b = order[1];
    EXPECT_EQ(QPoint(b->left, b->top), QPoint(4200, 1200));
    // b is selected: a left-drag on its body moves it, and the ring's
    // right-drag moves it again.
    z.drag(Qt::LeftButton, z.at(4320, 1320), z.px(40, 24));
    z.drag(Qt::RightButton, z.at(b->left - 60, b->top + 120), z.px(-16, 8));
    // Its left edge and its bottom-right corner resize it.
    z.drag(Qt::LeftButton, z.at(b->left - 60, b->top + 120), z.px(-12, 0));
    z.drag(Qt::LeftButton, z.at(up60(b->left + b->width + 15), up60(b->top + b->height + 15)),
           z.px(20, 12));
    // A band over both, then keys move and stretch the two.
    z.drag(Qt::LeftButton, z.at(600, 600), z.px(400, 200));
    ASSERT_EQ(z.panel->selectedControls().size(), 2u);
    QTest::keyClick(z.canvas, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(z.canvas, Qt::Key_Down);
    // Then a's frame moves the two.
    z.drag(Qt::RightButton, z.at(up60(a->left - 74), up60(a->top + 100)), z.px(8, -4));
    EXPECT_EQ(z.panel->undoStack().count(), 9);
    const QByteArray file = z.saved();
    if (first.isEmpty())
      first = file;
    else
      EXPECT_EQ(file, first);
  }
}

TEST(Zoom, SnapsWithinSixScreenPixelsAtEveryZoomAndDrawsTheGuide) {
  struct Case {
    double zoom;
    qint32 off;  // twips between the free left edge and the other's left edge
    bool alt;
    bool snaps;
  } cases[] = {
      {2.0, 45, false, true},  {2.0, 60, false, false},  {1.0, 90, false, true},
      {0.5, 180, false, true}, {0.5, 240, false, false}, {1.0, 60, true, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.zoom << " " << c.off << (c.alt ? " Alt" : ""));
    ZoomedPanel z(c.zoom);
    DesignControl *other = z.panel->insertControl(ControlKind::Button);
    other->left = 4800;
    other->top = 600;
    DesignControl *moved = z.panel->insertControl(ControlKind::Button);
    moved->left = 1200;
    moved->top = 3000;
    z.panel->controlGotFocus(moved);
    z.panel->notify(PanelEditor::Geometry);
    const QByteArray before = z.saved();
    const QPoint from = z.at(1140, 3120);
    const QPoint by = z.canvas->pixelRect(4800 + c.off - 1200, 0, 0, 0).topLeft().toPoint() -
                      z.canvas->pixelRect(0, 0, 0, 0).topLeft().toPoint();
    const Qt::KeyboardModifiers modifiers = c.alt ? Qt::AltModifier : Qt::NoModifier;
    QTest::mousePress(z.canvas, Qt::RightButton, modifiers, from);
    z.move(from + by, Qt::RightButton, modifiers);
    EXPECT_EQ(moved->left, c.snaps ? 4800 : 4800 + c.off);
    // The guide runs down the common left edge while the drag lasts.
    const int x = int(z.canvas->pixelRect(4800, 0, 0, 0).left());
    const QImage image = z.canvas->grab().toImage();
    const int y0 = int(z.canvas->pixelRect(0, 1000, 0, 0).top());
    const int y1 = int(z.canvas->pixelRect(0, 2800, 0, 0).top());
    int guide = 0;
    for (int y = y0; y < y1; ++y) guide += image.pixelColor(x, y) == QColor(0xe0, 0x20, 0x80);
    EXPECT_EQ(guide == y1 - y0, c.snaps);
    QTest::mouseRelease(z.canvas, Qt::RightButton, modifiers, from + by);
    EXPECT_TRUE(z.panel->snapMarks().empty());
    // The drag, snapped or not, is one step.
    const QByteArray after = z.saved();
    z.panel->undo();
    EXPECT_EQ(z.saved(), before);
    z.panel->redo();
    EXPECT_EQ(z.saved(), after);
  }
}

TEST(Zoom, MenuStepsTheStatusBarAndCtrlWheelAboutThePointer) {
  ZoomedPanel z(1.0);
  auto *label = z.window.findChild<QLabel *>(QStringLiteral("lblZoom"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), "Zoom 100 %");
  z.window.action("mnuZoomIn")->trigger();
  EXPECT_DOUBLE_EQ(z.canvas->zoom(), 1.25);
  EXPECT_EQ(label->text(), "Zoom 125 %");
  for (int i = 0; i < 12; ++i) z.window.action("mnuZoomOut")->trigger();
  EXPECT_DOUBLE_EQ(z.canvas->zoom(), 0.25);
  for (int i = 0; i < 12; ++i) z.window.action("mnuZoomIn")->trigger();
  EXPECT_DOUBLE_EQ(z.canvas->zoom(), 4.0);
  EXPECT_EQ(label->text(), "Zoom 400 %");
  // The keys, with the canvas focused.
  QTest::keyClick(z.canvas, Qt::Key_0, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(z.canvas->zoom(), 1.0);
  QTest::keyClick(z.canvas, Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(z.canvas->zoom(), 1.25);
  QTest::keyClick(z.canvas, Qt::Key_Minus, Qt::ControlModifier);
  QTest::keyClick(z.canvas, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(z.canvas->zoom(), 0.75);
  // Each panel window has its own zoom; the status bar shows the active one's.
  z.window.action("mnuNewPanel")->trigger();
  PanelEditor *second = z.designer.activePanel();
  EXPECT_EQ(label->text(), "Zoom 100 %");
  z.window.mdiArea()->setActiveSubWindow(z.window.subWindowOf(z.panel));
  EXPECT_EQ(label->text(), "Zoom 75 %");
  z.window.subWindowOf(second)->closeDecided();
  z.window.action("mnuActualSize")->trigger();
  EXPECT_DOUBLE_EQ(z.canvas->zoom(), 1.0);
  const QByteArray before = z.saved();

  // Ctrl+wheel: the twip point under the pointer stays under it.
  QWidget *viewport = z.window.subWindowOf(z.panel)->scrollArea()->viewport();
  const QPoint inViewport(200, 150);
  auto twipsUnderPointer = [&] {
    return z.canvas->toTwips(z.canvas->mapFrom(viewport, inViewport));
  };
  const QPointF twips = twipsUnderPointer();
  const QPoint pos = z.canvas->mapFrom(viewport, inViewport);
  QWheelEvent wheel(pos, z.canvas->mapToGlobal(pos), {}, {0, 120}, Qt::NoButton,
                    Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(z.canvas, &wheel);
  EXPECT_DOUBLE_EQ(z.canvas->zoom(), 1.25);
  EXPECT_NEAR(twipsUnderPointer().x(), twips.x(), 15);
  EXPECT_NEAR(twipsUnderPointer().y(), twips.y(), 15);

  // Fit to Window: a control far out comes into view.
  DesignControl *far = z.panel->insertControl(ControlKind::Button);
  far->left = 30000;
  far->top = 20000;
  z.panel->notify(PanelEditor::Geometry);
  z.window.action("mnuFitToWindow")->trigger();
  EXPECT_LT(z.canvas->zoom(), 0.5);
  const QRect shown = z.canvas->pixelRect(far->left, far->top, far->width, far->height)
                          .toAlignedRect()
                          .translated(z.canvas->mapTo(viewport, QPoint(0, 0)));
  EXPECT_TRUE(viewport->rect().contains(shown));
  // None of it reached the panel (the control inserted aside).
  z.panel->undo();
  EXPECT_EQ(z.saved(), before);
}

}  // namespace

// A control dragged from the tool box is shown at the active panel's zoom,
// with the grab point where the control will land under the pointer.
TEST(Zoom, TheToolBoxDragShowsTheControlAtThePanelsZoom) {
  ZoomedPanel z(2.0);
  PaletteWidget *palette = z.window.palette();
  const QRect item = palette->itemRect(PaletteItem::Button);
  const auto dragImage = [&] {
    QPixmap image;
    QPoint hotSpot;
    std::unique_ptr<QMimeData> mime(
        palette->prepareDrag(PaletteItem::Button, item.center(), &image, &hotSpot));
    return std::pair(image.deviceIndependentSize().toSize(), hotSpot);
  };
  const auto [zoomedSize, zoomedHotSpot] = dragImage();
  z.window.action("mnuActualSize")->trigger();
  const auto [size, hotSpot] = dragImage();
  EXPECT_EQ(zoomedSize, size * 2);
  EXPECT_NEAR(zoomedHotSpot.x(), hotSpot.x() * 2, 1);
  EXPECT_NEAR(zoomedHotSpot.y(), hotSpot.y() * 2, 1);
}

// The panel's background picture is zoomed with its controls.
TEST(Zoom, TheBackgroundPictureIsZoomedWithThePanel) {
  QTemporaryDir dir;
  const QString file = dir.filePath("back.png");
  QImage red(10, 10, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(file));
  ZoomedPanel z(2.0);
  z.panel->model().canvas.picture = file;
  z.canvas->update();
  const QImage image = z.canvas->grab().toImage();
  const QPoint origin = z.at(0, 0);
  EXPECT_EQ(image.pixelColor(origin + QPoint(5, 5)), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(origin + QPoint(15, 15)), QColor(Qt::red));
  EXPECT_NE(image.pixelColor(origin + QPoint(25, 25)), QColor(Qt::red));
}

// Zoomed out, the grid dots stay at least 4 pixels apart instead of tinting
// the panel, and the canvas beyond the panel's Width and Height is drawn
// apart, so that the panel's edges show. A control at the panel's top-left
// corner leaves the canvas where it is: its frame does not count.
TEST(Zoom, ZoomedOutTheGridThinsOutAndThePanelsEdgesShow) {
  ZoomedPanel z(0.25);
  PanelCanvasView::setGridShown(true);
  const std::shared_ptr<void> restore(nullptr,
                                      [](void *) { PanelCanvasView::setGridShown(false); });
  DesignControl *corner = z.panel->insertControl(ControlKind::Button);
  ASSERT_EQ(QPoint(corner->left, corner->top), QPoint(0, 0));
  z.panel->notify(PanelEditor::Geometry);
  EXPECT_EQ(z.canvas->pixelRect(0, 0, 0, 0).topLeft(), QPointF(0, 0));

  const QImage image = z.canvas->grab().toImage();
  const QColor ground = colorFromValue(z.panel->model().canvas.backColor);
  const QRect panel =
      z.canvas->pixelRect(0, 0, z.panel->model().width, z.panel->model().height).toRect();
  ASSERT_LT(panel.right() + 20, image.width());
  ASSERT_LT(panel.bottom() + 20, image.height());
  for (const QPoint outside : {QPoint(panel.right() + 10, panel.center().y()),
                               QPoint(panel.center().x(), panel.bottom() + 10)})
    EXPECT_NE(image.pixelColor(outside), ground) << outside.x() << "," << outside.y();
  // Rows of dots below the control: each two dots of a row at least 4 apart.
  int rows = 0;
  for (int y = 40; y < panel.bottom() - 4; ++y) {
    int last = -100, dots = 0;
    for (int x = 30; x < panel.right() - 4; ++x) {
      if (image.pixelColor(x, y) == ground) continue;
      EXPECT_GE(x - last, 4) << x << "," << y;
      last = x;
      ++dots;
    }
    rows += dots > 0;
  }
  EXPECT_GT(rows, 5);
}
