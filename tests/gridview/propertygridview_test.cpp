// The grid view: what it shows and how editing in it reaches the panel.
#include "ui/propertygridview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>
#include <functional>

#include "grid/propertygrid.h"
#include "panelfile/panelwriter.h"
#include "support/fakeui.h"
#include "support/hostiletext.h"
#include "surface/paneleditor.h"

class GridViewTest : public ::testing::Test {
 protected:
  GridViewTest() {
    panel.model().canvas.tag = "Studio";
    button = static_cast<DesignButton *>(panel.insertControl(ControlKind::Button));
    button->width = 1000;
    panel.selectControls({button}, button);
    grid.setProperties(panel, button);
    panel.setNeedToSave(false);
    view.resize(320, 700);
    view.show();
    view.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
  }

  QModelIndex cell(int gridRow) const { return view.model()->index(gridRow - 1, 1); }
  QPoint centre(int gridRow) const { return view.visualRect(cell(gridRow)).center(); }
  QWidget *editorOf(int gridRow) const { return view.indexWidget(cell(gridRow)); }
  QWidget *openEditor(int gridRow) {
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centre(gridRow));
    return editorOf(gridRow);
  }
  // A key as the keyboard delivers it: to whatever has the focus.
  void press(Qt::Key key) {
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : &view, key);
  }
  std::string values() const {
    QStringList out;
    for (int row = 0; row < grid.rowCount(); ++row) out << grid.textMatrix(row, 1);
    return out.join(u'|').toStdString();
  }

  FakeUi ui;
  PanelEditor panel{ui};
  PropertyGrid grid;
  PropertyGridView view{grid};
  DesignButton *button = nullptr;
};

TEST_F(GridViewTest, ShowsTheRowsUnderTheirHeader) {
  EXPECT_EQ(view.model()->rowCount(), 36);
  EXPECT_EQ(view.model()->headerData(0, Qt::Horizontal).toString(), "Property Name");
  EXPECT_EQ(view.model()->headerData(1, Qt::Horizontal).toString(), "Property Value");
  EXPECT_EQ(view.model()->index(0, 1).data().toString(), "Button");
  EXPECT_FALSE(view.model()->flags(cell(ButtonRow::MappingCode)) & Qt::ItemIsEditable);
  EXPECT_TRUE(view.model()->flags(cell(ButtonRow::MapRouter)) & Qt::ItemIsEditable);
  EXPECT_TRUE(cell(ButtonRow::BackColorOn).data(Qt::DecorationRole).canConvert<QColor>());
}

TEST_F(GridViewTest, EnterAppliesTheTypedValue) {
  auto *line = qobject_cast<QLineEdit *>(openEditor(CommonRow::Width));
  ASSERT_NE(line, nullptr);
  line->selectAll();
  QTest::keyClicks(line, "2500");
  QTest::keyClick(line, Qt::Key_Return);
  QApplication::processEvents();  // the view commits after the editor saw the key
  EXPECT_EQ(button->width, 2500);
  EXPECT_TRUE(panel.needToSave());
}

TEST_F(GridViewTest, PassingOverACellAppliesNothing) {
  ASSERT_NE(openEditor(CommonRow::Width), nullptr);
  view.setCurrentIndex(cell(CommonRow::Height));
  EXPECT_FALSE(panel.needToSave());
}

TEST_F(GridViewTest, ListRowsOfferADropDown) {
  auto *combo = qobject_cast<QComboBox *>(openEditor(ButtonRow::State));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->currentText(), "Off");
  combo->setCurrentIndex(1);
  emit combo->activated(1);
  EXPECT_EQ(panel.model().findRecord(button)->state, "On");
}

// Typing into a drop-down row searches its list; the entry found is applied
// once, on Enter or when the editor closes. It once applied the first key
// and closed, so "12" became 1 then 2, and "USER#3" became USER#0.
TEST_F(GridViewTest, TypingInAListRowSearchesItAndAppliesOnce) {
  const struct {
    const char *name;
    int row;
    const char *typed;
    bool enter;  // else the editor closes by a click on another row
    const char *code;
  } ways[] = {
      {"button number, Enter", ButtonRow::Pin, "12", true, "MOD_USER#0.BUT#12"},
      {"module, leaving the editor", ButtonRow::Module, "USER#3", false, "MOD_USER#3.BUT#12"},
  };
  ControlRecord &record = *panel.model().findRecord(button);
  record.hwMapAoipSysName = "MOD_USER#0.BUT#1";
  grid.setProperties(panel, button);
  // What a save writes: the panel file and the control's hardware-map code.
  const auto saved = [&] {
    return buildPanelFile(panel.model(), false, "1") + record.hwMapAoipSysName.toUtf8();
  };
  for (const auto &way : ways) {
    SCOPED_TRACE(way.name);
    const QByteArray before = saved();
    const int steps = panel.undoStack().count();
    view.setFocus();
    view.setCurrentIndex(cell(way.row));
    for (const char c : std::string_view(way.typed))  // to the editor once it opens
      QTest::keyClick(QApplication::focusWidget(), c);
    auto *combo = qobject_cast<QComboBox *>(editorOf(way.row));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentText(), QString(way.typed));
    EXPECT_EQ(panel.undoStack().count(), steps);  // nothing applied while typing
    if (way.enter)
      press(Qt::Key_Return);
    else
      QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centre(CommonRow::Name));
    QApplication::processEvents();
    EXPECT_EQ(editorOf(way.row), nullptr);
    EXPECT_EQ(panel.undoStack().count(), steps + 1);
    EXPECT_EQ(record.hwMapAoipSysName, QString(way.code));
    const QByteArray after = saved();
    panel.undo();
    EXPECT_EQ(saved(), before);
    panel.redo();
    EXPECT_EQ(saved(), after);
  }
}

TEST_F(GridViewTest, RightClickOnAColourRowOpensTheColourDialog) {
  ui.colorAnswers = {0x0000FF};
  QTest::mouseClick(view.viewport(), Qt::RightButton, {}, centre(ButtonRow::BackColorOff));
  EXPECT_EQ(panel.model().findRecord(button)->backColorOff, "&H0000FF");
  EXPECT_EQ(button->backColor, 0x0000FF);
}

TEST_F(GridViewTest, DeleteClearsAPictureRow) {
  panel.model().findRecord(button)->pictureUpOn = "on.bmp";
  grid.setProperties(panel, button);
  view.setFocus();
  grid.setCurrentCell(ButtonRow::PictureUpOn, 1);
  QTest::keyClick(&view, Qt::Key_Delete);
  EXPECT_EQ(panel.model().findRecord(button)->pictureUpOn, "");
  EXPECT_EQ(cell(ButtonRow::PictureUpOn).data().toString(), "");
}

TEST_F(GridViewTest, ArrowKeysMoveBetweenRowsWithoutEditing) {
  const std::string before = values();
  view.setFocus();
  view.setCurrentIndex(cell(CommonRow::Name));
  const int rows = view.model()->rowCount();
  for (int i = 0; i < rows; ++i) {
    press(Qt::Key_Down);
    EXPECT_EQ(view.indexWidget(view.currentIndex()), nullptr) << view.currentIndex().row();
  }
  EXPECT_EQ(view.currentIndex(), cell(ButtonRow::Pin));
  for (int i = 0; i < rows; ++i) press(Qt::Key_Up);
  EXPECT_EQ(view.currentIndex(), cell(CommonRow::Type));
  EXPECT_EQ(values(), before);
  EXPECT_FALSE(panel.needToSave());
}

TEST_F(GridViewTest, ClickF2EnterAndTypingOpenTheEditor) {
  struct Way {
    const char *name;
    int row;
    std::function<void()> open;
    const char *text;  // what the editor then holds
  };
  const std::vector<Way> ways = {
      {"click", CommonRow::Caption, [&] { openEditor(CommonRow::Caption); }, "Button1"},
      {"F2", CommonRow::Width, [&] { press(Qt::Key_F2); }, "1000"},
      {"Enter on the label", ButtonRow::OnClick,
       [&] {
         view.setCurrentIndex(view.model()->index(ButtonRow::OnClick - 1, 0));
         press(Qt::Key_Return);
       },
       ""},
      {"typing", ButtonRow::MapRouter, [&] { QTest::keyClicks(&view, "R"); }, "R"},
  };
  for (const Way &way : ways) {
    SCOPED_TRACE(way.name);
    view.setFocus();
    view.setCurrentIndex(cell(way.row));
    ASSERT_EQ(editorOf(way.row), nullptr);
    way.open();
    auto *line = qobject_cast<QLineEdit *>(editorOf(way.row));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), way.text);
    EXPECT_EQ(view.currentIndex(), cell(way.row));
    QTest::keyClick(line, Qt::Key_Escape);
  }
  EXPECT_FALSE(panel.needToSave());
  EXPECT_NE(qobject_cast<QComboBox *>(openEditor(ButtonRow::State)), nullptr);
}

TEST_F(GridViewTest, DeleteClearsAPictureRowWhoseEditorIsOpen) {
  for (const auto key : {Qt::Key_Delete, Qt::Key_Backspace}) {
    panel.model().findRecord(button)->pictureDownOn = "down.bmp";
    panel.model().findRecord(button)->pictureDownOnSourcePath = "/art/down.bmp";
    grid.setProperties(panel, button);
    QWidget *editor = openEditor(ButtonRow::PictureDownOn);
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, key);
    QApplication::processEvents();
    EXPECT_EQ(panel.model().findRecord(button)->pictureDownOn, "");
    EXPECT_EQ(panel.model().findRecord(button)->pictureDownOnSourcePath, "");
    EXPECT_EQ(cell(ButtonRow::PictureDownOn).data().toString(), "");
    EXPECT_TRUE(panel.needToSave());
  }
}

// The "..." buttons open from the keyboard: F4 and Alt+Down as on a combo
// box (on the row or in its open editor), and Enter on a row whose value
// only its dialog sets. Enter on a colour row still opens its text editor.
TEST_F(GridViewTest, CellButtonsOpenFromTheKeyboard) {
  const struct {
    const char *name;
    int row;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool inEditor;
  } ways[] = {
      {"F4 on a colour row", ButtonRow::BackColorOff, Qt::Key_F4, {}, false},
      {"Alt+Down on a colour row", ButtonRow::BackColorOn, Qt::Key_Down, Qt::AltModifier, false},
      {"F4 in the colour editor", ButtonRow::BackColorOff, Qt::Key_F4, {}, true},
      {"Enter on a picture row", ButtonRow::PictureUpOn, Qt::Key_Return, {}, false},
      {"Alt+Down on a picture row", ButtonRow::PictureUpOff, Qt::Key_Down, Qt::AltModifier, false},
  };
  for (const auto &way : ways) {
    SCOPED_TRACE(way.name);
    ui.fileDialogs.clear();
    ui.colorAnswers = {0x00FF00};
    view.setFocus();
    view.setCurrentIndex(cell(way.row));
    QWidget *target = &view;
    if (way.inEditor) {
      press(Qt::Key_F2);
      target = editorOf(way.row);
      ASSERT_NE(target, nullptr);
    }
    QTest::keyClick(target, way.key, way.modifiers);
    QTest::qWait(10);  // a dialog from an open editor runs once the editor is gone
    if (way.row == ButtonRow::PictureUpOn || way.row == ButtonRow::PictureUpOff) {
      EXPECT_EQ(ui.fileDialogs.size(), 1u);
    } else {
      EXPECT_TRUE(ui.colorAnswers.empty());
      EXPECT_EQ(button->backColor, 0x00FF00);
    }
    EXPECT_EQ(view.currentIndex(), cell(way.row));
  }
  view.setCurrentIndex(cell(ButtonRow::BackColorOff));
  press(Qt::Key_Return);
  EXPECT_NE(qobject_cast<QLineEdit *>(editorOf(ButtonRow::BackColorOff)), nullptr);
}

// A value that looks like markup shows as typed in its tooltip, and pictures
// it names are never loaded.
TEST_F(GridViewTest, TooltipsShowValuesAsTyped) {
  for (const QString &text : kHostileTexts) {
    button->caption = text;
    grid.setProperties(panel, button);
    const QPoint at = centre(CommonRow::Caption);
    QHelpEvent help(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &help);
    EXPECT_EQ(shownAs(QToolTip::text()).toStdString(), text.toStdString());
    QToolTip::hideText();
  }
}

// A line edit holds 32767 characters: a longer value from a file opens read
// only, and Enter leaves it whole. Its cell lays out no more than a screen.
TEST_F(GridViewTest, AValueLongerThanTheEditorHoldsIsNeverCut) {
  const QString longCaption = QString("Talk ").repeated(8000) + "end";
  button->caption = longCaption;
  grid.setProperties(panel, button);
  auto *line = qobject_cast<QLineEdit *>(openEditor(CommonRow::Caption));
  ASSERT_NE(line, nullptr);
  EXPECT_TRUE(line->isReadOnly());
  QTest::keyClick(line, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(button->caption, longCaption);
  EXPECT_FALSE(panel.needToSave());

  button->caption = QString("Talk ").repeated(400000);
  grid.setProperties(panel, button);
  QStyleOptionViewItem option;
  option.initFrom(&view);
  EXPECT_LT(view.itemDelegate()->sizeHint(option, cell(CommonRow::Caption)).width(), 20000);
}
