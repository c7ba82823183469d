// The grid view: what it shows and how editing in it reaches the panel.
#include "ui/propertygridview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include "grid/propertygrid.h"
#include "support/fakeui.h"
#include "surface/frmpanel.h"

class GridViewTest : public ::testing::Test {
 protected:
  GridViewTest() {
    panel.model().pictMain.Tag = "Studio";
    button = static_cast<DesignButton *>(panel.InsertControl(ControlKind::Button));
    button->Width = 1000;
    panel.collSelectedControls = {button};
    grid.SetProperties(panel, button);
    panel.setNeedToSave(false);
    view.resize(320, 700);
    view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
  }

  QModelIndex cell(int gridRow) const { return view.model()->index(gridRow - 1, 1); }
  QPoint centre(int gridRow) const { return view.visualRect(cell(gridRow)).center(); }
  QWidget *openEditor(int gridRow) {
    view.setCurrentIndex(cell(gridRow));  // opens the editor like a click does
    return view.indexWidget(cell(gridRow));
  }

  FakeUi ui;
  frmPanel panel{ui};
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
  EXPECT_EQ(button->Width, 2500);
  EXPECT_TRUE(panel.NeedToSave());
}

TEST_F(GridViewTest, PassingOverACellAppliesNothing) {
  ASSERT_NE(openEditor(CommonRow::Width), nullptr);
  view.setCurrentIndex(cell(CommonRow::Height));
  EXPECT_FALSE(panel.NeedToSave());
}

TEST_F(GridViewTest, ListRowsOfferADropDown) {
  auto *combo = qobject_cast<QComboBox *>(openEditor(ButtonRow::State));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->currentText(), "Off");
  combo->setCurrentIndex(1);
  emit combo->activated(1);
  EXPECT_EQ(panel.model().FindRecord(button)->State, "On");
}

TEST_F(GridViewTest, RightClickOnAColourRowOpensTheColourDialog) {
  ui.colorAnswers = {0x0000FF};
  QTest::mouseClick(view.viewport(), Qt::RightButton, {}, centre(ButtonRow::BackColorOff));
  EXPECT_EQ(panel.model().FindRecord(button)->BackColorOff, "&H0000FF");
  EXPECT_EQ(button->BackColor, 0x0000FF);
}

TEST_F(GridViewTest, DeleteClearsAPictureRow) {
  panel.model().FindRecord(button)->PictureUpOn = "on.bmp";
  grid.SetProperties(panel, button);
  view.setFocus();
  grid.setCurrentCell(ButtonRow::PictureUpOn, 1);
  QTest::keyClick(&view, Qt::Key_Delete);
  EXPECT_EQ(panel.model().FindRecord(button)->PictureUpOn, "");
  EXPECT_EQ(cell(ButtonRow::PictureUpOn).data().toString(), "");
}
