#include "app/mainwindowlogic.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

#include "grid/propertygrid.h"
#include "model/helpmanual.h"
#include "model/settings.h"
#include "support/fakeui.h"
#include "surface/paneleditor.h"

TEST(MainWindowLogic, NewPanelsTakeTheFirstFreeName) {
  FakeUi ui;
  MainWindowLogic designer(ui);
  PanelEditor *p1 = designer.newPanel();
  PanelEditor *p2 = designer.newPanel();
  PanelEditor *p3 = designer.newPanel();
  EXPECT_EQ(p1->model().canvas.tag, "Panel1");
  EXPECT_EQ(p3->caption(), "Panel3");
  EXPECT_FALSE(p1->needToSave());
  designer.closePanel(p2);
  EXPECT_EQ(designer.newPanelName(), "Panel2");
  EXPECT_EQ(designer.newPanel()->model().canvas.tag, "Panel2");
  EXPECT_EQ(designer.openPanels().size(), 3u);
}

TEST(MainWindowLogic, CaptionMarksOnlyTheActivePanel) {
  FakeUi ui;
  MainWindowLogic designer(ui);
  const QString base = "Corvane Tessary Core - Ver 5.77";
  EXPECT_EQ(designer.caption(), base);
  PanelEditor *a = designer.newPanel();
  PanelEditor *b = designer.newPanel();
  EXPECT_EQ(designer.activePanel(), b);
  a->setNeedToSave(true);  // not the active one
  EXPECT_EQ(designer.caption(), base);
  designer.activatePanel(a);
  EXPECT_EQ(designer.caption(), base + " *");
  designer.activatePanel(b);
  EXPECT_EQ(designer.caption(), base);
  b->setNeedToSave(true);
  EXPECT_EQ(designer.caption(), base + " *");
  designer.activatePanel(nullptr);
  EXPECT_EQ(designer.caption(), base);
}

TEST(MainWindowLogic, MenuStatesFollowPanelAndClipboard) {
  FakeUi ui;
  MainWindowLogic designer(ui);
  EXPECT_FALSE(designer.saveEnabled());
  EXPECT_FALSE(designer.pasteEnabled());
  designer.newPanel();
  EXPECT_TRUE(designer.saveEnabled());
  ui.clipboard = "text";
  EXPECT_TRUE(designer.pasteEnabled());
}

TEST(MainWindowLogic, ClosingThePanelTheGridShowsEmptiesTheGrid) {
  FakeUi ui;
  MainWindowLogic designer(ui);
  PanelEditor *a = designer.newPanel();
  PanelEditor *b = designer.newPanel();
  designer.grid().setProperties(*a, a->currentControl());
  EXPECT_EQ(designer.grid().textMatrix(2, 1), "Panel1");
  designer.closePanel(b);
  EXPECT_EQ(designer.grid().textMatrix(2, 1), "Panel1");
  designer.closePanel(a);
  EXPECT_TRUE(designer.grid().textMatrix(1, 1).isEmpty());
  EXPECT_TRUE(designer.grid().textMatrix(2, 1).isEmpty());
}

TEST(MainWindowLogic, ControlDetailsComeFromTheActivePanel) {
  FakeUi ui;
  MainWindowLogic designer(ui);
  PanelEditor *a = designer.newPanel();
  DesignControl *button = a->insertControl(ControlKind::Button);
  EXPECT_EQ(designer.controlRecord(button).backColorOn, "Yellow");
  designer.newPanel();  // another panel is active now
  const ControlRecord fresh = designer.controlRecord(button);
  EXPECT_TRUE(fresh.backColorOn.isEmpty());
  EXPECT_EQ(fresh.levelLineColor, "&HE0E0E0");
}

TEST(MainWindowLogic, HelpOpensTheHelpAddress) {
  FakeUi ui;
  MainWindowLogic designer(ui);
  programSettings().helpAddress = "file:///opt/panels/help.pdf";
  designer.showHelp();
  EXPECT_EQ(ui.openedUrls, QStringList{"file:///opt/panels/help.pdf"});
}

// F1 opens the first manual that exists; with none, the message says where
// it was looked for instead of opening a file that is not there, and with no
// program to show it, where it is.
TEST(MainWindowLogic, HelpOpensTheFirstManualFoundOrSaysWhereItLooked) {
  QTemporaryDir start, installed;
  const QStringList candidates = helpFileCandidates(start.path(), installed.path() + "/bin", "");
  ASSERT_EQ(candidates.size(), 2);
  EXPECT_EQ(candidates[0], start.path() + "/help.pdf");
  EXPECT_TRUE(candidates[1].startsWith(installed.path() + "/share/doc/"))
      << candidates[1].toStdString();

  FakeUi ui;
  MainWindowLogic designer(ui);
  programSettings().helpFileCandidates = candidates;
  designer.showHelp();
  EXPECT_TRUE(ui.openedUrls.isEmpty());
  ASSERT_EQ(ui.messages.size(), 1);
  EXPECT_TRUE(ui.messages[0].text.contains(candidates[0]));
  EXPECT_TRUE(ui.messages[0].text.contains(candidates[1]));

  QDir().mkpath(QFileInfo(candidates[1]).path());
  QFile(candidates[1]).open(QIODevice::WriteOnly);
  designer.showHelp();
  EXPECT_EQ(ui.openedUrls, QStringList{QUrl::fromLocalFile(candidates[1]).toString()});
  EXPECT_EQ(ui.messages.size(), 1u);

  // No program shows PDF files: the message says where the manual is.
  ui.urlsOpen = false;
  designer.showHelp();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.firstLines().back(), "No program to show the manual was found.");
  EXPECT_TRUE(
      ui.messages.back().text.contains("\n  " + QFileInfo(candidates[1]).absoluteFilePath()))
      << ui.messages.back().text.toStdString();
  programSettings().helpFileCandidates.clear();
}

TEST(MainWindowLogic, DistributeAsksTheGapInPixelsAndRefusesABadOne) {
  FakeUi ui;
  MainWindowLogic designer(ui);
  PanelEditor *panel = designer.newPanel();
  DesignControl *a = panel->insertControl(ControlKind::Button);
  DesignControl *b = panel->insertControl(ControlKind::Button);
  b->left = 3000;
  panel->selectAll();
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
    designer.distributeHorizontally();
    EXPECT_EQ(ui.inputs.back().defaultText, c.asked);
    EXPECT_EQ(ui.inputs.back().title, "Distribute Horizontally");
    EXPECT_EQ(b->left, c.left);
    EXPECT_EQ(a->left, 0);
    ASSERT_EQ(ui.messages.size(), c.refused ? 1u : 0u);
    if (c.refused)
      EXPECT_EQ(ui.firstLines().front(), "The gap \"" + c.answer->trimmed() +
                                             "\" is not a whole number of pixels from 0 to 10000.");
  }
  EXPECT_EQ(panel->undoStack().count(), steps + 2);

  // With fewer than two controls selected nothing is asked.
  panel->canvasGotFocus();
  const size_t asked = ui.inputs.size();
  designer.distributeVertically();
  EXPECT_EQ(ui.inputs.size(), asked);
}
