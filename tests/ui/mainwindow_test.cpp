// The Qt shell on the offscreen platform: menus, shortcuts and enabling
// rules, and a palette drop that creates, records, selects and draws a button.
#include "ui/mainwindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include "app/mainwindowlogic.h"
#include "shellfixture.h"
#include "support/fakeui.h"
#include "surface/paneleditor.h"
#include "ui/palettewidget.h"
#include "ui/panelview.h"

namespace {
struct Shell : ShownMainWindow {};
}  // namespace

TEST_F(Shell, MenusCarryCaptionsAndShortcuts) {
  const struct {
    const char *name, *caption, *shortcut;
  } entries[] = {
      {"mnuNewPanel", "&New Panel", "Ctrl+N"},
      {"mnuSavePanel", "&Save Panel", "Ctrl+S"},
      {"mnuSaveAs", "Save Panel &As", "Ctrl+A"},
      {"mnuOpenPanel", "&Open Panel", "Ctrl+O"},
      {"mnuOpenLocalPanel", "Open &Local Panel", ""},
      {"mnuConnect", "Connect to Se&rver…", ""},
      {"mnuWorkLocally", "&Work Locally", ""},
      {"mnuCut", "Cu&t", "Ctrl+X"},
      {"mnuCopy", "&Copy", "Ctrl+C"},
      {"mnuPaste", "&Paste", "Ctrl+V"},
      {"mnuAlignLeft", "Align &Left", "Ctrl+L"},
      {"mnuAlignRight", "Align R&ight", "Ctrl+R"},
      {"mnuAlignTop", "Align T&op", "Ctrl+T"},
      {"mnuAlignBottom", "Align &Bottom", "Ctrl+B"},
      {"mnuSpreadHorizontal", "Spread &Horizontally", "Ctrl+H"},
      {"mnuSpreadVertical", "Spread &Vertically", "Ctrl+W"},
      {"mnuUndo", "&Undo", "Ctrl+Z"},
      {"mnuRedo", "&Redo", "Ctrl+Y"},
      {"mnuSelectAll", "Select &All", "Ctrl+Shift+A"},
      {"mnuMakeSameWidth", "Make Same &Width", ""},
      {"mnuMakeSameHeight", "Make Same H&eight", ""},
      {"mnuMakeSameSize", "Make Same &Size", ""},
      {"mnuBringToFront", "Bring to &Front", "Ctrl+Shift+]"},
      {"mnuSendToBack", "Send to Bac&k", "Ctrl+Shift+["},
      {"mnuBringForward", "Bring Fo&rward", "Ctrl+]"},
      {"mnuSendBackward", "Send Backw&ard", "Ctrl+["},
      {"mnuAlignCentreHorizontal", "Align &Centres Horizontally", ""},
      {"mnuAlignCentreVertical", "Align Centres Verticall&y", ""},
      {"mnuDistributeHorizontal", "&Distribute Horizontally…", ""},
      {"mnuDistributeVertical", "Distrib&ute Vertically…", ""},
      {"mnuControlList", "Control &List", ""},
      {"mnuButton", "&Button", ""},
      {"mnuLabel", "&Label", ""},
      {"mnuMeter", "&Meter", ""},
      {"mnuWebBrowser", "&Web Browser", ""},
      {"mnuClock", "C&lock", ""},
      {"mnuCodecControl", "C&odec Control", ""},
      {"mnuPreview", "&Preview", "F5"},
      {"mnuHelp", "&Help", "F1"},
      {"mnuClosePanel", "Clos&e", "Ctrl+F4"},
      {"mnuQuit", "&Quit", "Ctrl+Q"},
      {"mnuAbout", "&About Tessary Panel Designer", ""},
      {"mnuAboutQt", "About &Qt", ""},
  };
  for (const auto &e : entries) {
    QAction *a = window.action(e.name);
    ASSERT_NE(a, nullptr) << e.name;
    EXPECT_EQ(a->text(), e.caption) << e.name;
    EXPECT_EQ(a->shortcut().toString(), e.shortcut) << e.name;
  }
  // Under X, Ctrl+Shift+] arrives as Ctrl+Shift+}: both must bring to front.
  EXPECT_EQ(QKeySequence::listToString(window.action("mnuBringToFront")->shortcuts()),
            "Ctrl+Shift+]; Ctrl+Shift+}");
  EXPECT_EQ(QKeySequence::listToString(window.action("mnuSendToBack")->shortcuts()),
            "Ctrl+Shift+[; Ctrl+Shift+{");
  QStringList menus;
  for (QAction *a : window.menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&View", "&Arrange", "&Insert", "&Help"}));
  EXPECT_EQ(window.windowTitle(), "Corvane Tessary Core - Ver 5.77");
}

TEST_F(Shell, SaveNeedsAPanelAndPasteNeedsClipboardText) {
  window.refreshMenuStates();
  EXPECT_FALSE(window.action("mnuSavePanel")->isEnabled());
  EXPECT_FALSE(window.action("mnuSaveAs")->isEnabled());
  EXPECT_FALSE(window.action("mnuPaste")->isEnabled());
  window.action("mnuNewPanel")->trigger();
  ui.clipboard = "some text";
  window.refreshMenuStates();
  EXPECT_TRUE(window.action("mnuSavePanel")->isEnabled());
  EXPECT_TRUE(window.action("mnuSaveAs")->isEnabled());
  EXPECT_TRUE(window.action("mnuPaste")->isEnabled());
  EXPECT_FALSE(window.action("mnuCodecControl")->isEnabled());  // codec controls cannot be made
  EXPECT_EQ(window.mdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(window.mdiArea()->activeSubWindow()->windowTitle(), "Panel1");
}

TEST_F(Shell, DroppingTheButtonItemPlacesASelectedButton) {
  window.action("mnuNewPanel")->trigger();
  PanelEditor *panel = designer.activePanel();
  ASSERT_NE(panel, nullptr);
  PanelCanvasView *canvas = window.subWindowOf(panel)->canvas();
  QTest::qWait(20);

  // Grab the item at its top-left corner, drop at canvas pixel (81, 41):
  // 1215 x 615 twips, snapped to (1200, 600).
  PaletteWidget *palette = window.palette();
  const QRect item = palette->itemRect(PaletteItem::Button);
  std::unique_ptr<QMimeData> mime(palette->prepareDrag(PaletteItem::Button, item.topLeft()));
  EXPECT_EQ(designer.dragOffset().x(), 0);
  const QPointF dropAt(81, 41);
  QDragEnterEvent enter(dropAt.toPoint(), Qt::CopyAction, mime.get(), Qt::LeftButton,
                        Qt::NoModifier);
  QApplication::sendEvent(canvas, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(dropAt, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(canvas, &drop);

  const auto &records = panel->model().panelRecord.records;
  ASSERT_EQ(records.size(), 1u);
  const ControlRecord &record = *records.front();
  auto *button = controlCast<DesignButton>(record.control);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->tag, "Button1");
  EXPECT_EQ(button->caption, "Button1");
  EXPECT_EQ(button->left, 1200);
  EXPECT_EQ(button->top, 600);
  EXPECT_EQ(record.backColorOff, "&HE0E0E0");
  EXPECT_EQ(record.backColorOn, "Yellow");
  EXPECT_EQ(record.state, "Off");
  EXPECT_TRUE(record.enabled);
  ASSERT_EQ(panel->selectedControls().size(), 1u);
  EXPECT_EQ(panel->selectedControls().front(), button);
  EXPECT_TRUE(panel->needToSave());
  EXPECT_EQ(window.windowTitle(), "Corvane Tessary Core - Ver 5.77 *");

  // The button is drawn at its pixels in its off colour, its frame around it.
  const QImage image = canvas->grab().toImage();
  const QColor face = image.pixelColor(80 + 40, 40 + 6);  // top part of the face, clear of the text
  EXPECT_NEAR(face.red(), 0xE0, 24);
  EXPECT_NEAR(face.green(), 0xE0, 24);
  EXPECT_NEAR(face.blue(), 0xE0, 24);
  EXPECT_EQ(image.pixelColor(80 - 5, 40 + 10), QColor(0xC0, 0xC0, 0xC0));  // the frame band
  EXPECT_NE(image.pixelColor(80 - 8, 40 + 10), QColor(0xC0, 0xC0, 0xC0));  // outside the frame
}

// Panel windows open cascaded inside the area, each a title bar below the
// last; a megabyte caption gives a title of a bounded prefix at once.
TEST_F(Shell, PanelWindowsCascadeAndAHugeCaptionGivesABoundedTitle) {
  QList<QPoint> places;
  for (int i = 0; i < 3; ++i) {
    window.action("mnuNewPanel")->trigger();
    places << window.subWindowOf(designer.activePanel())->pos();
  }
  EXPECT_EQ(places[0], QPoint(0, 0));
  EXPECT_GT(places[1].y(), places[0].y());
  EXPECT_EQ(places[2] - places[1], places[1] - places[0]);
  // A window that fits the area opens wholly inside it, wherever the
  // cascade stands.
  QTemporaryDir dir;
  const QSize area = window.mdiArea()->viewport()->size();
  QFile file(dir.filePath("Big.xml"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QStringLiteral("<Panel><Name>Big</Name><Width>%1</Width><Height>%2</Height></Panel>")
                 .arg((area.width() - 40) * 15)
                 .arg((area.height() - 40) * 15)
                 .toLatin1());
  file.close();
  PanelEditor *big = designer.openPanelLocal(file.fileName());
  ASSERT_NE(big, nullptr);
  EXPECT_TRUE(QRect(QPoint(), area).contains(window.subWindowOf(big)->geometry()))
      << window.subWindowOf(big)->geometry().x() << "," << window.subWindowOf(big)->geometry().y();

  PanelEditor *panel = designer.activePanel();
  const QString caption = QString(1 << 20, u'x');
  panel->setCaption(caption);
  const QString title = window.subWindowOf(panel)->windowTitle();
  EXPECT_TRUE(caption.startsWith(title.chopped(1)));
  EXPECT_LE(title.size(), 300);
  window.subWindowOf(panel)->grab();  // painted without shaping a megabyte
}
