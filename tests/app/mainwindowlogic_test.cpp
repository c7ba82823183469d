#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

#include "app/mdiformdesigner.h"
#include "grid/propertygrid.h"
#include "model/helpmanual.h"
#include "model/settings.h"
#include "support/fakeui.h"
#include "surface/frmpanel.h"

TEST(MainWindowLogic, NewPanelsTakeTheFirstFreeName) {
  FakeUi ui;
  MDIFormDesigner designer(ui);
  frmPanel *p1 = designer.mnuNewPanel_Click();
  frmPanel *p2 = designer.mnuNewPanel_Click();
  frmPanel *p3 = designer.mnuNewPanel_Click();
  EXPECT_EQ(p1->model().pictMain.Tag, "Panel1");
  EXPECT_EQ(p3->caption(), "Panel3");
  EXPECT_FALSE(p1->NeedToSave());
  designer.ClosePanel(p2);
  EXPECT_EQ(designer.GetNewPanelName(), "Panel2");
  EXPECT_EQ(designer.mnuNewPanel_Click()->model().pictMain.Tag, "Panel2");
  EXPECT_EQ(designer.collOpenPanels().size(), 3u);
}

TEST(MainWindowLogic, CaptionMarksOnlyTheActivePanel) {
  FakeUi ui;
  MDIFormDesigner designer(ui);
  const QString base = "Corvane Tessary Core - Ver 5.77";
  EXPECT_EQ(designer.caption(), base);
  frmPanel *a = designer.mnuNewPanel_Click();
  frmPanel *b = designer.mnuNewPanel_Click();
  EXPECT_EQ(designer.activePanel(), b);
  a->setNeedToSave(true);  // not the active one
  EXPECT_EQ(designer.caption(), base);
  designer.ActivatePanel(a);
  EXPECT_EQ(designer.caption(), base + " *");
  designer.ActivatePanel(b);
  EXPECT_EQ(designer.caption(), base);
  b->setNeedToSave(true);
  EXPECT_EQ(designer.caption(), base + " *");
  designer.ActivatePanel(nullptr);
  EXPECT_EQ(designer.caption(), base);
}

TEST(MainWindowLogic, MenuStatesFollowPanelAndClipboard) {
  FakeUi ui;
  MDIFormDesigner designer(ui);
  EXPECT_FALSE(designer.SaveEnabled());
  EXPECT_FALSE(designer.PasteEnabled());
  designer.mnuNewPanel_Click();
  EXPECT_TRUE(designer.SaveEnabled());
  ui.clipboard = "text";
  EXPECT_TRUE(designer.PasteEnabled());
}

TEST(MainWindowLogic, ClosingThePanelTheGridShowsEmptiesTheGrid) {
  FakeUi ui;
  MDIFormDesigner designer(ui);
  frmPanel *a = designer.mnuNewPanel_Click();
  frmPanel *b = designer.mnuNewPanel_Click();
  designer.grid().SetProperties(*a, a->objCurrentControl);
  EXPECT_EQ(designer.grid().TextMatrix(2, 1), "Panel1");
  designer.ClosePanel(b);
  EXPECT_EQ(designer.grid().TextMatrix(2, 1), "Panel1");
  designer.ClosePanel(a);
  EXPECT_TRUE(designer.grid().TextMatrix(1, 1).isEmpty());
  EXPECT_TRUE(designer.grid().TextMatrix(2, 1).isEmpty());
}

TEST(MainWindowLogic, ControlDetailsComeFromTheActivePanel) {
  FakeUi ui;
  MDIFormDesigner designer(ui);
  frmPanel *a = designer.mnuNewPanel_Click();
  DesignControl *button = a->InsertControl(ControlKind::Button);
  EXPECT_EQ(designer.GetControlDetails(button).BackColorOn, "Yellow");
  designer.mnuNewPanel_Click();  // another panel is active now
  const clsControlDetails fresh = designer.GetControlDetails(button);
  EXPECT_TRUE(fresh.BackColorOn.isEmpty());
  EXPECT_EQ(fresh.LevelLineColor, "&HE0E0E0");
}

TEST(MainWindowLogic, HelpOpensTheHelpAddress) {
  FakeUi ui;
  MDIFormDesigner designer(ui);
  Settings().strHelpAddress = "file:///opt/panels/help.pdf";
  designer.mnuHelp_Click();
  EXPECT_EQ(ui.openedUrls, QStringList{"file:///opt/panels/help.pdf"});
}

// F1 opens the first manual that exists; with none, the message says where
// it was looked for instead of opening a file that is not there.
TEST(MainWindowLogic, HelpOpensTheFirstManualFoundOrSaysWhereItLooked) {
  QTemporaryDir start, installed;
  const QStringList candidates = HelpFileCandidates(start.path(), installed.path() + "/bin", "");
  ASSERT_EQ(candidates.size(), 2);
  EXPECT_EQ(candidates[0], start.path() + "/help.pdf");
  EXPECT_TRUE(candidates[1].startsWith(installed.path() + "/share/doc/"))
      << candidates[1].toStdString();

  FakeUi ui;
  MDIFormDesigner designer(ui);
  Settings().helpFileCandidates = candidates;
  designer.mnuHelp_Click();
  EXPECT_TRUE(ui.openedUrls.isEmpty());
  ASSERT_EQ(ui.messages.size(), 1);
  EXPECT_TRUE(ui.messages[0].text.contains(candidates[0]));
  EXPECT_TRUE(ui.messages[0].text.contains(candidates[1]));

  QDir().mkpath(QFileInfo(candidates[1]).path());
  QFile(candidates[1]).open(QIODevice::WriteOnly);
  designer.mnuHelp_Click();
  EXPECT_EQ(ui.openedUrls, QStringList{QUrl::fromLocalFile(candidates[1]).toString()});
  Settings().helpFileCandidates.clear();
}

TEST(MainWindowLogic, DistributeAsksTheGapInPixelsAndRefusesABadOne) {
  FakeUi ui;
  MDIFormDesigner designer(ui);
  frmPanel *panel = designer.mnuNewPanel_Click();
  DesignControl *a = panel->InsertControl(ControlKind::Button);
  DesignControl *b = panel->InsertControl(ControlKind::Button);
  b->Left = 3000;
  panel->SelectAll();
  const int steps = panel->undoStack().count();

  struct Case {
    std::optional<QString> answer;
    qint32 left;        // of the second button afterwards
    bool refused;       // a message says why
    const char *asked;  // the gap proposed
  } cases[] = {
      {std::nullopt, 3000, false, "10"},  // cancelled
      {QString("ten"), 3000, true, "10"},   {QString("-5"), 3000, true, "10"},
      {QString("10001"), 3000, true, "10"}, {QString(" 20 "), 1215 + 20 * 15, false, "10"},
      {QString("0"), 1215, false, "20"},  // the last gap given is proposed
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.answer.value_or("cancel").toStdString());
    ui.messages.clear();
    ui.inputAnswers.push_back(c.answer);
    designer.DistributeHorizontally();
    EXPECT_EQ(ui.inputs.back().defaultText, c.asked);
    EXPECT_EQ(ui.inputs.back().title, "Distribute Horizontally");
    EXPECT_EQ(b->Left, c.left);
    EXPECT_EQ(a->Left, 0);
    ASSERT_EQ(ui.messages.size(), c.refused ? 1u : 0u);
    if (c.refused)
      EXPECT_EQ(ui.firstLines().front(), "The gap \"" + c.answer->trimmed() +
                                             "\" is not a whole number of pixels from 0 to 10000.");
  }
  EXPECT_EQ(panel->undoStack().count(), steps + 2);

  // With fewer than two controls selected nothing is asked.
  panel->CanvasGotFocus();
  const size_t asked = ui.inputs.size();
  designer.DistributeVertically();
  EXPECT_EQ(ui.inputs.size(), asked);
}
