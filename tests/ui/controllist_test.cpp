// The control list dock on the real window: rows in stacking order, the
// selection synced both ways (Ctrl and Shift in the list too), the filter,
// picking what the canvas cannot reach, reordering by drag, and following
// the active panel through edits, undo and redo.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPainter>
#include <QTest>
#include <QTreeView>

#include "shellfixture.h"
#include "surface/paneleditor.h"
#include "ui/controllistdock.h"
#include "ui/palettepainter.h"
#include "ui/panelview.h"

namespace {

struct ControlList : ShownMainWindow {
  PanelEditor *panel = nullptr;
  ControlListDock *dock = nullptr;
  QTreeView *list = nullptr;
  std::vector<DesignControl *> buttons;

  void SetUp() override {
    ShownMainWindow::SetUp();
    QApplication::setActiveWindow(&window);
    window.action("mnuControlList")->trigger();  // View > Control List
    window.action("mnuNewPanel")->trigger();
    panel = designer.activePanel();
    ASSERT_NE(panel, nullptr);
    dock = window.controlListDock();
    list = dock->list();
    ASSERT_TRUE(dock->isVisible());
    for (int i = 0; i < 4; ++i) {
      panel->dropFromPalette("MasterButton", 1500 * i, 300, 0, 0);
      buttons.push_back(panel->model().zOrder().back());
    }
  }
  DesignControl *button(int n) { return buttons[n - 1]; }
  // The names the rows show, top to bottom (all or the selected ones).
  QString rows(bool selectedOnly = false) {
    QStringList names;
    for (int r = 0; r < dock->rowCount(); ++r) {
      const QModelIndex index = list->model()->index(r, 0);
      if (!selectedOnly || list->selectionModel()->isSelected(index))
        names << index.data().toString();
    }
    return names.join(' ');
  }
  QString selectedRows() { return rows(true); }
  void clickRow(const DesignControl *c, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QModelIndex index = dock->indexOf(c);
    ASSERT_TRUE(index.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualRect(index).center());
  }
};

TEST_F(ControlList, RowsRunFrontToBackAndFollowTheStackingCommandsUndoAndRedo) {
  EXPECT_EQ(rows(), "Button4 Button3 Button2 Button1");
  EXPECT_EQ(list->model()->index(0, 1).data().toString(), "Button4");  // the caption

  panel->controlGotFocus(button(1));
  window.refreshMenuStates();
  EXPECT_FALSE(window.action("mnuSendToBack")->isEnabled());
  EXPECT_FALSE(window.action("mnuSendBackward")->isEnabled());
  ASSERT_TRUE(window.action("mnuBringToFront")->isEnabled());
  window.action("mnuBringToFront")->trigger();
  EXPECT_EQ(rows(), "Button1 Button4 Button3 Button2");
  EXPECT_EQ(selectedRows(), "Button1");
  EXPECT_FALSE(window.action("mnuBringForward")->isEnabled());
  window.action("mnuUndo")->trigger();
  EXPECT_EQ(rows(), "Button4 Button3 Button2 Button1");
  window.action("mnuRedo")->trigger();
  EXPECT_EQ(rows(), "Button1 Button4 Button3 Button2");

  // A renamed control shows its new name.
  button(2)->tag = QStringLiteral("Talk");
  panel->notify(PanelEditor::Properties);
  EXPECT_EQ(rows(), "Button1 Button4 Button3 Talk");

  // Nothing selected: none of the four.
  panel->canvasGotFocus();
  window.refreshMenuStates();
  for (const char *name :
       {"mnuBringToFront", "mnuSendToBack", "mnuBringForward", "mnuSendBackward"})
    EXPECT_FALSE(window.action(name)->isEnabled()) << name;
}

TEST_F(ControlList, SelectionFollowsBothWaysWithCtrlAndShiftInTheList) {
  // Canvas to list.
  panel->controlGotFocus(button(2));
  panel->setCtrlDown(true);
  panel->controlGotFocus(button(4));
  panel->setCtrlDown(false);
  EXPECT_EQ(selectedRows(), "Button4 Button2");
  EXPECT_EQ(dock->controlAt(list->currentIndex().row()), button(4));

  // List to canvas: a click, Ctrl+click adds, Shift+click takes the range of rows.
  clickRow(button(3));
  EXPECT_EQ(panel->selectedControls(), std::vector<DesignControl *>{button(3)});
  EXPECT_EQ(panel->currentControl(), button(3));
  clickRow(button(1), Qt::ControlModifier);
  EXPECT_EQ(panel->selectedControls(), (std::vector<DesignControl *>{button(3), button(1)}));
  EXPECT_EQ(panel->currentControl(), button(1));
  clickRow(button(4), Qt::ShiftModifier);
  EXPECT_EQ(panel->selectedControls().size(), 4u);
  EXPECT_EQ(panel->currentControl(), button(4));
  // Ctrl+click on a selected row takes it out.
  clickRow(button(2), Qt::ControlModifier);
  EXPECT_FALSE(panel->isObjectSelected(button(2)));
  EXPECT_EQ(panel->undoStack().count(), 4);  // the drops only: selecting is no edit

  // The Arrange menu acts on what the list selected.
  clickRow(button(2));
  window.action("mnuSendToBack")->trigger();
  EXPECT_EQ(rows(), "Button4 Button3 Button1 Button2");
}

TEST_F(ControlList, TheFilterKeepsMatchingRowsAndHiddenSelectionsSurviveCtrlClicks) {
  buttons.push_back(panel->insertControl(ControlKind::Label));  // Label1 at (0, 0)
  struct Case {
    const char *filter, *expected;
  } cases[] = {
      {"button3", "Button3"},  // by name, any case
      {"label", "Label1"},     // the caption or the kind would do too
      {"meter", ""},
      {"", "Label1 Button4 Button3 Button2 Button1"},
  };
  for (const Case &c : cases) {
    dock->filterBox()->setText(c.filter);
    EXPECT_EQ(rows(), c.expected) << c.filter;
  }

  panel->controlGotFocus(button(1));
  dock->filterBox()->setText("Button3");
  EXPECT_EQ(selectedRows(), "");
  clickRow(button(3), Qt::ControlModifier);
  EXPECT_EQ(panel->selectedControls(), (std::vector<DesignControl *>{button(1), button(3)}));
  clickRow(button(3));  // a plain click selects the row alone
  EXPECT_EQ(panel->selectedControls(), std::vector<DesignControl *>{button(3)});
}

TEST_F(ControlList, ControlsTheCanvasCannotReachArePickedFromTheList) {
  button(1)->visible = false;
  button(2)->width = button(2)->height = 0;
  button(3)->left = -5000;
  panel->notify(PanelEditor::Properties);
  const QString why[] = {"Hidden", "No size", "Outside the panel"};
  EXPECT_EQ(dock->indexOf(button(4)).data(Qt::ToolTipRole).toString(), "Button");
  EXPECT_FALSE(dock->indexOf(button(4)).data(Qt::ForegroundRole).isValid());
  for (int n : {1, 2, 3}) {
    SCOPED_TRACE(n);
    const QModelIndex index = dock->indexOf(button(n));
    EXPECT_EQ(index.data(Qt::ToolTipRole).toString(), "Button — " + why[n - 1]);
    EXPECT_TRUE(index.data(Qt::ForegroundRole).isValid());  // greyed
    clickRow(button(n));
    EXPECT_EQ(panel->selectedControls(), std::vector<DesignControl *>{button(n)});
    EXPECT_EQ(panel->currentControl(), button(n));
  }
  // Selected from the list, a control with no size is moved by the keys.
  clickRow(button(2));
  panel->keyDown(KeyCode::Right, ShiftState::Shift);
  EXPECT_EQ(button(2)->left, 1505);
}

TEST_F(ControlList, DraggingRowsChangesTheStackingOrderInOneStep) {
  // Rows Button4 Button3 Button2 Button1; Button1 and Button3 dropped above
  // Button4's row go in front of everything.
  clickRow(button(1));
  clickRow(button(3), Qt::ControlModifier);
  dock->moveSelectedTo(0);
  EXPECT_EQ(rows(), "Button3 Button1 Button4 Button2");
  EXPECT_EQ(panel->undoStack().undoText(), "Change Stacking Order");
  // Below the last row: behind everything.
  dock->moveSelectedTo(dock->rowCount());
  EXPECT_EQ(rows(), "Button4 Button2 Button3 Button1");
  // Between Button4 and Button2.
  dock->moveSelectedTo(1);
  EXPECT_EQ(rows(), "Button4 Button3 Button1 Button2");
  window.action("mnuUndo")->trigger();
  window.action("mnuUndo")->trigger();
  window.action("mnuUndo")->trigger();
  EXPECT_EQ(rows(), "Button4 Button3 Button2 Button1");
}

// A codec control shows the tool box's codec picture; a kind this version
// does not know shows its placeholder, not the codec's.
TEST_F(ControlList, AKindThisVersionDoesNotKnowShowsAPlaceholderIcon) {
  const auto control = [](const char *type, const char *name) {
    return QStringLiteral("<Control><Type>%1</Type><Name>%2</Name></Control>")
        .arg(QLatin1String(type), QLatin1String(name));
  };
  PanelEditor *kept = designer.openPanelText(
      "<Panel><Name>Kept</Name><ControlList>" + control("CodecControl", "Codec1") +
          control("Hologram", "Holo1") + control("Button", "Key1") + "</ControlList></Panel>",
      QString(), "Kept");
  ASSERT_NE(kept, nullptr);
  ASSERT_EQ(dock->panel(), kept);
  const auto iconOf = [this](const char *name) {
    for (int r = 0; r < dock->rowCount(); ++r) {
      const QModelIndex index = list->model()->index(r, 0);
      if (index.data().toString() == QLatin1String(name))
        return index.data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage();
    }
    return QImage();
  };
  QImage codec(16, 16, QImage::Format_ARGB32_Premultiplied);
  codec.fill(Qt::transparent);
  {
    QPainter p(&codec);
    paintPaletteIcon(p, codec.rect(), PaletteItem::CodecControl);
  }
  EXPECT_EQ(iconOf("Codec1").convertToFormat(codec.format()), codec);
  const QImage unknown = iconOf("Holo1");
  ASSERT_FALSE(unknown.isNull());
  EXPECT_NE(unknown.convertToFormat(codec.format()), codec);
  EXPECT_NE(unknown, iconOf("Key1"));
}

TEST_F(ControlList, TheListFollowsTheActivePanel) {
  window.action("mnuNewPanel")->trigger();
  EXPECT_EQ(dock->panel(), designer.activePanel());
  EXPECT_EQ(rows(), "");
  window.mdiArea()->setActiveSubWindow(window.subWindowOf(panel));
  EXPECT_EQ(rows(), "Button4 Button3 Button2 Button1");
  ui.answers.push_back(Ui::Answer::No);  // do not save the changed panel
  window.mdiArea()->closeAllSubWindows();
  EXPECT_TRUE(designer.openPanels().empty());
  EXPECT_EQ(rows(), "");
}

}  // namespace
