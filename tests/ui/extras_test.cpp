// The find and check docks, the recent panels menu and the recovery dialog in the shell.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include "app/mainwindowlogic.h"
#include "app/panelchecker.h"
#include "app/panelfilewatcher.h"
#include "app/panelfinder.h"
#include "app/recentpanels.h"
#include "app/startup.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "support/fakeui.h"
#include "support/isolatedsettings.h"
#include "surface/paneleditor.h"
#include "ui/checkdock.h"
#include "ui/finddock.h"
#include "ui/mainwindow.h"
#include "ui/panelview.h"
#include "ui/qtui.h"
#include "ui/replacepane.h"

namespace {
struct Extras : ::testing::Test {
  QTemporaryDir dir;
  FakeUi ui;
  std::unique_ptr<MainWindowLogic> designer;
  std::unique_ptr<RecentPanels> recent;
  std::unique_ptr<MainWindow> window;

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    isolateSettings(dir.path() + "/config", "extras-test");
    programSettings() = ProgramSettings();
    initSettings(programSettings(), dir.path());
    designer = std::make_unique<MainWindowLogic>(ui);
    recent = std::make_unique<RecentPanels>(*designer);
    window = std::make_unique<MainWindow>(*designer);
    window->setRecentPanels(recent.get());
    designer->load();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  void TearDown() override { window.reset(); }
  QString panelFile(const QString &name, const QString &controls) {
    const QString path = programSettings().panelsFolder + name + ".xml";
    QString error;
    EXPECT_TRUE(writeTextFileSafely(
        path, "<Panel><Name>" + name + "</Name><ControlList>" + controls + "</ControlList></Panel>",
        &error));
    return path;
  }
};
}  // namespace

TEST_F(Extras, FindDockListsHitsAndGoesToThem) {
  EXPECT_EQ(window->action("mnuFind")->shortcut().toString(), "Ctrl+F");
  EXPECT_EQ(window->action("mnuFindNext")->shortcut().toString(), "F3");
  panelFile("Studio1",
            "<Control><Type>Button</Type><Name>Talk</Name><Caption>Talk</Caption></Control>");
  designer->openPanelLocal(
      panelFile("Studio2",
                "<Control><Type>Label</Type><Name>OnAir</Name><Caption>On air</Caption></Control>"
                "<Control><Type>Button</Type><Name>Talk2</Name><Caption>Talkback</Caption>"
                "</Control>"));
  FindDock *dock = window->findDock();
  EXPECT_FALSE(dock->isVisible());
  window->action("mnuFind")->trigger();
  EXPECT_TRUE(dock->isVisible());

  dock->closedFilesBox()->setChecked(true);
  dock->textBox()->setText("talk");
  QTest::keyClick(dock->textBox(), Qt::Key_Return);
  QTreeWidget *hits = dock->hitList();
  ASSERT_EQ(hits->topLevelItemCount(), 4);
  EXPECT_EQ(hits->topLevelItem(0)->text(0), "Studio2");
  EXPECT_EQ(hits->topLevelItem(0)->text(1), "Talk2");
  EXPECT_EQ(hits->topLevelItem(3)->text(0), "Studio1");
  EXPECT_EQ(hits->topLevelItem(3)->text(3), "Caption");
  EXPECT_EQ(dock->summary()->text(), "4 hits in 2 panels.");
  EXPECT_EQ(hits->currentItem(), hits->topLevelItem(0));
  EXPECT_EQ(designer->activePanel()->selectedControls().at(0)->tag, "Talk2");

  // Activating a hit of the closed file opens it and selects the key.
  emit hits->itemActivated(hits->topLevelItem(2), 0);
  ASSERT_EQ(designer->openPanels().size(), 2u);
  EXPECT_EQ(designer->activePanel()->model().canvas.tag, "Studio1");
  window->action("mnuFindNext")->trigger();
  EXPECT_EQ(hits->currentItem(), hits->topLevelItem(3));
  window->action("mnuFindNext")->trigger();
  EXPECT_EQ(hits->currentItem(), hits->topLevelItem(0));
  EXPECT_EQ(designer->activePanel()->model().canvas.tag, "Studio2");
}

TEST_F(Extras, ReplacePaneListsTheChangesWithTicksAndMakesTheTickedOnes) {
  EXPECT_EQ(window->action("mnuReplace")->shortcut().toString(), "Ctrl+Shift+H");
  const QString closed =
      panelFile("Studio1",
                "<Control><Type>Button</Type><Name>Talk</Name><Click>ROUTE 12</Click></Control>"
                "<Control><Type>Button</Type><Name>Mic</Name><Click>GPO 12</Click></Control>");
  PanelEditor *open = designer->openPanelLocal(panelFile(
      "Studio2", "<Control><Type>Label</Type><Name>L1</Name><Caption>Line 12</Caption></Control>"));
  ASSERT_NE(open, nullptr);
  FindDock *dock = window->findDock();
  ReplacePane *pane = dock->replacePane();
  window->action("mnuReplace")->trigger();
  ASSERT_TRUE(pane->isVisible());
  dock->closedFilesBox()->setChecked(true);
  // Typed as a user does: the text to find, Tab, the replacement.
  QApplication::setActiveWindow(window.get());
  dock->textBox()->setFocus();
  QTest::keyClicks(dock->textBox(), "12");
  QTest::keyClick(dock->textBox(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), pane->replacementBox());
  QTest::keyClicks(pane->replacementBox(), "14");
  pane->previewButton()->click();
  QTreeWidget *list = pane->changeList();
  ASSERT_EQ(list->topLevelItemCount(), 3);
  EXPECT_EQ(list->topLevelItem(0)->text(3), QString("Line 12 \u2192 Line 14"));
  EXPECT_EQ(pane->summary()->text(), "3 changes in 2 panels.");
  // The line follows the ticks.
  list->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
  list->topLevelItem(2)->setCheckState(0, Qt::Unchecked);  // Mic's GPO stays
  EXPECT_EQ(pane->summary()->text(), "1 of 3 changes ticked, in 1 panel.");
  list->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(pane->summary()->text(), "0 of 3 changes ticked.");
  EXPECT_FALSE(pane->replaceButton()->isEnabled());
  list->topLevelItem(0)->setCheckState(0, Qt::Checked);
  list->topLevelItem(1)->setCheckState(0, Qt::Checked);
  EXPECT_EQ(pane->summary()->text(), "2 of 3 changes ticked, in 2 panels.");
  ASSERT_TRUE(pane->replaceButton()->isEnabled());
  pane->replaceButton()->click();

  EXPECT_EQ(pane->summary()->text(), "Changed 2 controls in 2 files.");
  EXPECT_EQ(controlCast<DesignLabel>(open->model().panelRecord.records[0]->control)->text,
            "Line 14");
  EXPECT_EQ(open->undoStack().undoText(), "Replace in L1");
  const QString saved = readTextFile(closed);
  EXPECT_TRUE(saved.contains("<Click>ROUTE 14</Click>")) << saved.toStdString();
  EXPECT_TRUE(saved.contains("<Click>GPO 12</Click>"));
  EXPECT_FALSE(pane->replaceButton()->isEnabled());

  // Ctrl+F shows Find alone.
  window->action("mnuFind")->trigger();
  EXPECT_FALSE(pane->isVisible());
}

namespace {
// Every file under a folder with its bytes, to show that nothing was written.
QMap<QString, QByteArray> filesUnder(const QString &folder) {
  QMap<QString, QByteArray> files;
  for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
    QFile file(it.next());
    if (file.open(QIODevice::ReadOnly)) files.insert(file.fileName(), file.readAll());
  }
  return files;
}

// The rows of the findings, "file control severity" each, one a line.
std::string rowsOf(const QTreeView *list) {
  const QAbstractItemModel *model = list->model();
  QStringList rows;
  for (int i = 0; i < model->rowCount(); ++i) {
    const auto text = [&](int column) { return model->index(i, column).data().toString(); };
    rows << text(0) + " " + text(1) + " " + text(2) + ": " + text(3);
  }
  return rows.join(u'\n').toStdString();
}
// A cell of the findings, as the view shows it or its tooltip.
QString cellOf(const QTreeView *list, int row, int column, int role = Qt::DisplayRole) {
  return list->model()->index(row, column).data(role).toString();
}
// A double click (or Enter) on a row of the findings.
void activateRow(QTreeView *list, int row) { emit list->activated(list->model()->index(row, 0)); }
}  // namespace

TEST_F(Extras, CheckPanelsListsFindingsOfOpenPanelsOrTheFolderAndGoesToThem) {
  auto control = [](const char *type, const char *name, int left, const char *extra = "") {
    return QStringLiteral(
               "<Control><Type>%1</Type><Name>%2</Name><Left>%3</Left><Top>0</Top>"
               "<Width>500</Width><Height>500</Height>%4</Control>")
        .arg(QLatin1String(type), QLatin1String(name))
        .arg(left)
        .arg(QLatin1String(extra));
  };
  const QString closed =
      panelFile("Studio1",
                control("Button", "Dead", 0) + control("Button", "Talk", 1000, "<Click>T</Click>"));
  designer->openPanelLocal(
      panelFile("Studio2", control("Label", "OnAir", 0) + control("Label", "onair", 1000)));
  const QString wreck = programSettings().panelsFolder + "Wreck.xml";
  QString error;
  ASSERT_TRUE(
      writeTextFileSafely(wreck, "<Panel><Name>Wreck</Name><ControlList><Control>", &error));
  const QMap<QString, QByteArray> before = filesUnder(dir.path());

  CheckDock *dock = window->checkDock();
  EXPECT_FALSE(dock->isVisible());
  window->action("mnuCheckPanels")->trigger();
  EXPECT_TRUE(dock->isVisible());
  QTreeView *list = dock->findingList();
  EXPECT_EQ(rowsOf(list), "Studio2.xml onair Error: Another control is also named OnAir.");
  EXPECT_EQ(dock->summary()->text(), "1 error in 1 panel.");

  // The whole folder from the Find pane's button: the closed file too.
  dock->scopeBox()->setCurrentIndex(1);
  window->findDock()->checkButton()->click();
  QTRY_VERIFY(!designer->checker().isChecking());
  EXPECT_EQ(
      rowsOf(list),
      "Studio2.xml onair Error: Another control is also named OnAir.\n"
      "Studio1.xml Dead Warning: The button has no command, no router map and no mapping.\n"
      "Wreck.xml  Error: The file cannot be read: Line 1, column 48: Premature end of document.");
  EXPECT_EQ(dock->summary()->text(), "2 errors and 1 warning in 3 panels.");
  EXPECT_EQ(cellOf(list, 1, 0, Qt::ToolTipRole), closed);
  EXPECT_EQ(cellOf(list, 1, 2, Qt::ToolTipRole), "no-action");
  EXPECT_EQ(filesUnder(dir.path()), before);

  // A double click on a finding of the closed file opens it at the control.
  activateRow(list, 1);
  ASSERT_EQ(designer->openPanels().size(), 2u);
  EXPECT_EQ(designer->activePanel()->model().documentPath, closed);
  ASSERT_EQ(designer->activePanel()->selectedControls().size(), 1u);
  EXPECT_EQ(designer->activePanel()->selectedControls().at(0)->tag, "Dead");
  activateRow(list, 0);
  EXPECT_EQ(designer->activePanel()->model().canvas.tag, "Studio2");
  EXPECT_EQ(designer->activePanel()->selectedControls().at(0)->tag, "onair");

  // A file that cannot be read is not opened; the pane says why.
  activateRow(list, 2);
  EXPECT_EQ(designer->openPanels().size(), 2u);
  EXPECT_EQ(dock->summary()->text(), wreck + " cannot be read; correct the file first.");

  // A finding whose control was renamed since says so.
  PanelEditor *studio1 = designer->openPanels().back();
  studio1->model().panelRecord.records.front()->control->tag = "Renamed";
  activateRow(list, 1);
  EXPECT_EQ(designer->activePanel(), studio1);
  EXPECT_EQ(dock->summary()->text(), "Dead is no longer on the panel.");
}

// The findings of a check of the open panels follow edits and undo by
// themselves; a heading sorts them and a sorted row still leads to its control.
TEST_F(Extras, CheckedOpenPanelsAreCheckedAgainAfterEditsAndSortByAnyHeading) {
  const auto label = [](const char *name, int left) {
    return QStringLiteral(
               "<Control><Type>Label</Type><Name>%1</Name><Left>%2</Left><Top>0</Top>"
               "<Width>500</Width><Height>500</Height></Control>")
        .arg(QLatin1String(name))
        .arg(left);
  };
  designer->openPanelLocal(panelFile("Studio3", label("Zed", 0) + label("zed", 1000)));
  CheckDock *dock = window->checkDock();
  window->action("mnuCheckPanels")->trigger();
  QTreeView *list = dock->findingList();
  EXPECT_EQ(rowsOf(list), "Studio3.xml zed Error: Another control is also named Zed.");

  // Align Left puts one label wholly over the other; undo takes it back.
  window->action("mnuSelectAll")->trigger();
  window->action("mnuAlignLeft")->trigger();
  QTRY_COMPARE(list->model()->rowCount(), 2);
  EXPECT_EQ(cellOf(list, 1, 2, Qt::ToolTipRole), "covered");
  window->action("mnuUndo")->trigger();
  QTRY_COMPARE(list->model()->rowCount(), 1);

  window->action("mnuAlignLeft")->trigger();
  QTRY_COMPARE(list->model()->rowCount(), 2);
  // Warnings first when sorted by severity, descending.
  list->header()->sectionClicked(2);
  list->header()->sectionClicked(2);
  EXPECT_EQ(cellOf(list, 0, 2, Qt::ToolTipRole), "covered");
  const QString covered = cellOf(list, 0, 1);
  activateRow(list, 0);
  ASSERT_EQ(designer->activePanel()->selectedControls().size(), 1u);
  EXPECT_EQ(designer->activePanel()->selectedControls().at(0)->tag, covered);
}

// A pane that is shown (as a restored layout shows it) checks by itself,
// opening a panel checks it, and another scope never shows the findings of
// the one before; the files of the folder are read while the window runs,
// with a bar showing how far.
TEST_F(Extras, CheckFindingsFollowTheShownPaneOpenedPanelsAndTheScope) {
  const auto twins = [](const char *name) {
    return QStringLiteral(
               "<Control><Type>Label</Type><Name>%1</Name><Left>0</Left><Top>0</Top>"
               "<Width>500</Width><Height>500</Height></Control>"
               "<Control><Type>Label</Type><Name>%1</Name><Left>1000</Left><Top>0</Top>"
               "<Width>500</Width><Height>500</Height></Control>")
        .arg(QLatin1String(name));
  };
  panelFile("Closed", twins("Shut"));
  designer->openPanelLocal(panelFile("Studio1", twins("Mic")));
  CheckDock *dock = window->checkDock();
  QTreeView *list = dock->findingList();
  dock->show();
  EXPECT_EQ(rowsOf(list), "Studio1.xml Mic Error: Another control is also named Mic.");

  designer->openPanelLocal(panelFile("Studio2", twins("Talk")));
  QTRY_COMPARE(list->model()->rowCount(), 2);
  EXPECT_EQ(cellOf(list, 1, 0), "Studio2.xml");

  bool barShown = false;
  QObject::connect(&designer->checker(), &PanelChecker::progressChanged,
                   [&] { barShown = barShown || dock->progressBar()->isVisible(); });
  dock->scopeBox()->setCurrentIndex(1);  // the folder: checked at once
  EXPECT_TRUE(barShown);
  QTRY_VERIFY(!designer->checker().isChecking());
  EXPECT_FALSE(dock->progressBar()->isVisible());
  EXPECT_EQ(cellOf(list, 2, 0), "Closed.xml");
  EXPECT_EQ(dock->summary()->text(), "3 errors in 3 panels.");

  dock->scopeBox()->setCurrentIndex(0);  // the closed file's finding goes with its scope
  EXPECT_EQ(rowsOf(list),
            "Studio1.xml Mic Error: Another control is also named Mic.\n"
            "Studio2.xml Talk Error: Another control is also named Talk.");
}

TEST_F(Extras, ClosingFindGivesItsRoomBackToThePanels) {
  QMdiArea *panels = window->findChild<QMdiArea *>();
  const int before = panels->width();
  window->action("mnuFind")->trigger();
  QCoreApplication::processEvents();
  EXPECT_LT(panels->width(), before);
  window->findDock()->close();
  QCoreApplication::processEvents();
  EXPECT_EQ(panels->width(), before);
}

TEST_F(Extras, RecentPanelsMenuOpensAnEntry) {
  QMenu *menu = window->findChild<QMenu *>("mnuRecentPanels");
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->title(), "Recent &Panels");
  emit menu->aboutToShow();
  ASSERT_EQ(menu->actions().size(), 1);
  EXPECT_FALSE(menu->actions()[0]->isEnabled());

  const QString a = panelFile("A", ""), b = panelFile("B", "");
  recent->add(a);
  recent->add(b);
  emit menu->aboutToShow();
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[0]->text(), "&1  " + b);
  menu->actions()[1]->trigger();
  ASSERT_EQ(designer->openPanels().size(), 1u);
  EXPECT_EQ(designer->activePanel()->model().documentPath, a);
}

TEST_F(Extras, RecoveryDialogOffersRestoreDiscardAndDecideLater) {
  QtUi qtUi;
  qtUi.setParentWidget(window.get());
  for (const char *button : {"Restore", "Discard", "Decide later"}) {
    QStringList buttons;
    QTimer::singleShot(0, [&] {
      auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle(), kProgramTitle);
      EXPECT_TRUE(box->informativeText().contains("Studio1 (/panels/Studio1.xml)"));
      for (QAbstractButton *b : box->buttons()) {
        buttons << b->text();
        if (b->text() == button) b->click();
      }
    });
    const Ui::RecoveryAnswer answer =
        qtUi.offerRecovery("The designer did not end normally.", {"Studio1 (/panels/Studio1.xml)"});
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"Decide later", "Discard", "Restore"}));
    EXPECT_EQ(answer, QString(button) == "Restore"   ? Ui::RecoveryAnswer::Restore
                      : QString(button) == "Discard" ? Ui::RecoveryAnswer::Discard
                                                     : Ui::RecoveryAnswer::DecideLater);
  }
}

// A question with buttons of its own answers the index of the button
// chosen. Every button has an access key of its own; Return and Escape give
// the last, safe one.
TEST_F(Extras, AQuestionWithItsOwnButtonsAnswersTheButtonChosen) {
  QtUi qtUi;
  qtUi.setParentWidget(window.get());
  const QStringList buttons = {"Overwrite", "Save As\u2026", "Show Differences", "Cancel"};
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int answer;
  } cases[] = {{Qt::Key_Return, {}, 3},         {Qt::Key_Escape, {}, 3},
               {Qt::Key_O, Qt::AltModifier, 0}, {Qt::Key_S, Qt::AltModifier, 1},
               {Qt::Key_D, Qt::AltModifier, 2}, {Qt::Key_C, Qt::AltModifier, 3}};
  for (const auto &c : cases) {
    QTimer::singleShot(0, [&] {
      auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle(), kProgramTitle);
      QStringList shown, keys;
      for (QAbstractButton *b : box->buttons()) {
        shown << QString(b->text()).remove(u'&');
        keys << b->shortcut().toString();
      }
      shown.sort();
      EXPECT_EQ(shown, QStringList({"Cancel", "Overwrite", "Save As\u2026", "Show Differences"}));
      keys.removeDuplicates();
      EXPECT_EQ(keys.size(), 4);
      EXPECT_FALSE(keys.contains(QString()));
      EXPECT_EQ(box->defaultButton()->text(), "&Cancel");
      box->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(box));
      QTest::keyClick(box, c.key, c.modifiers);
      // A key that chose nothing fails the case instead of waiting for ever.
      QTimer::singleShot(2000, box, [box] { box->done(-1); });
    });
    EXPECT_EQ(qtUi.choose("Studio1 was changed on disk since you opened it", buttons), c.answer)
        << QKeySequence(c.key | c.modifiers).toString().toStdString();
  }
}

// A long path's entry keeps both ends, the file's name in sight.
TEST_F(Extras, RecentPanelsShowALongPathByBothEnds) {
  const QString path = "/" + QString("deep/").repeated(1000) + "R&D.xml";
  recent->add(path);
  auto *menu = window->findChild<QMenu *>("mnuRecentPanels");
  ASSERT_NE(menu, nullptr);
  emit menu->aboutToShow();
  ASSERT_EQ(menu->actions().size(), 1);
  const QString entry = menu->actions()[0]->text();
  EXPECT_TRUE(entry.startsWith("&1  /deep/deep/")) << entry.toStdString();
  EXPECT_TRUE(entry.endsWith("/R&&D.xml")) << entry.toStdString();
  EXPECT_LT(entry.size(), 150);
}

// Distribute's gap is asked in a spin box of the allowed pixels, so no text
// that is not a gap can be typed.
TEST_F(Extras, DistributeAsksTheGapInASpinBox) {
  QtUi qtUi;
  qtUi.setParentWidget(window.get());
  MainWindowLogic logic(qtUi);
  PanelEditor *panel = logic.newPanel();
  panel->insertControl(ControlKind::Button);
  DesignControl *second = panel->insertControl(ControlKind::Button);
  second->left = 3000;
  panel->selectAll();
  QTimer::singleShot(0, [&] {
    auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto *spin = dialog->findChild<QSpinBox *>();
    if (!spin) {
      dialog->reject();
      FAIL() << "the gap is asked in a text box";
    }
    EXPECT_EQ(dialog->windowTitle(), "Distribute Horizontally");
    EXPECT_EQ(spin->minimum(), 0);
    EXPECT_EQ(spin->maximum(), 10000);
    EXPECT_EQ(spin->value(), 10);
    spin->setValue(25);
    dialog->accept();
  });
  logic.distributeHorizontally();
  EXPECT_EQ(second->left, 1215 + 25 * 15);
}

// Reloading a panel another program changed keeps its window where it was,
// its zoom, its place among the windows and the selection (by name).
TEST_F(Extras, AReloadedPanelKeepsItsWindowZoomAndSelection) {
  const auto buttons = [](int secondLeft) {
    return QStringLiteral(
               "<Control><Type>Button</Type><Name>Talk</Name><Left>0</Left></Control>"
               "<Control><Type>Button</Type><Name>Cue</Name><Left>%1</Left></Control>")
        .arg(secondLeft);
  };
  PanelEditor *studio = designer->openPanelLocal(panelFile("Studio1", buttons(2000)));
  ASSERT_NE(studio, nullptr);
  PanelEditor *other = designer->newPanel();
  PanelSubWindow *before = window->subWindowOf(studio);
  before->move(150, 90);
  before->canvas()->setZoom(2.0);
  designer->raisePanel(studio);
  studio->selectControls({studio->model().zOrder().back()}, studio->model().zOrder().back());

  PanelFileWatcher watcher(*designer);
  panelFile("Studio1", buttons(3000));
  ui.answers.push_back(Ui::Answer::Yes);
  watcher.checkPanels();
  ASSERT_EQ(ui.messages.size(), 1u);
  ASSERT_EQ(designer->openPanels().size(), 2u);
  PanelEditor *reloaded = designer->openPanels().front();
  EXPECT_EQ(designer->openPanels().back(), other);
  ASSERT_NE(reloaded, studio);
  EXPECT_EQ(designer->activePanel(), reloaded);
  EXPECT_EQ(reloaded->model().zOrder().back()->left, 3000);
  ASSERT_EQ(reloaded->selectedControls().size(), 1u);
  EXPECT_EQ(reloaded->selectedControls().front()->tag, "Cue");
  EXPECT_EQ(reloaded->currentControl(), reloaded->selectedControls().front());
  PanelSubWindow *after = window->subWindowOf(reloaded);
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(after->pos(), QPoint(150, 90));
  EXPECT_EQ(after->canvas()->zoom(), 2.0);
  EXPECT_EQ(window->mdiArea()->activeSubWindow(), after);
  EXPECT_FALSE(reloaded->needToSave());
}

TEST_F(Extras, GoingToAControlScrollsItIntoView) {
  designer->openPanelLocal(panelFile(
      "Wide",
      "<Control><Type>Button</Type><Name>FarKey</Name><Caption>Far</Caption>"
      "<Left>60000</Left><Top>30000</Top><Width>1215</Width><Height>495</Height></Control>"));
  designer->activePanel()->windowResized(66000, 36000);
  QTest::qWait(20);
  ASSERT_EQ(designer->finder().Find("farkey").size(), 1u);
  designer->finder().activateHit(0);
  QMdiArea *mdi = window->mdiArea();
  PanelCanvasView *canvas = window->subWindowOf(designer->activePanel())->canvas();
  const QPoint key = canvas->mapTo(mdi->viewport(), QPoint(4000 + 40, 2000 + 16));
  EXPECT_TRUE(mdi->viewport()->rect().contains(key)) << key.x() << "," << key.y();
}
