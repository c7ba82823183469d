// The main window's panel file commands over real files in a temporary
// start folder, with a scripted Ui.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "components/datetimestamp.h"
#include "designerfixture.h"
#include "grid/propertygrid.h"
#include "model/textfile.h"
#include "surface/paneleditor.h"

namespace {
struct PanelFiles : DesignerFixture {
  void SetUp() override {
    DesignerFixture::SetUp();
    DateTimeStamp::setClock([] { return QDateTime(QDate(2024, 3, 3), QTime(9, 5, 7)); });
  }
  void TearDown() override { DateTimeStamp::setClock({}); }

  QString panels() const { return panelsFolder(); }
  PanelEditor *changedPanel() {
    PanelEditor *p = designer->newPanel();
    p->insertControl(ControlKind::Button);
    p->setNeedToSave(true);
    return p;
  }
};
}  // namespace

TEST_F(PanelFiles, FirstSaveAsksForANameThenSavesWithBackupAndMap) {
  PanelEditor *p = changedPanel();
  ui.fileAnswers.push_back(panels() + "Studio1.xml");
  EXPECT_TRUE(designer->save());
  ASSERT_EQ(ui.fileDialogs.size(), 1u);
  EXPECT_EQ(ui.fileDialogs[0].title, "Save");
  EXPECT_EQ(ui.fileDialogs[0].fileName, "Panel1.xml");
  EXPECT_EQ(p->model().canvas.tag, "Studio1");
  EXPECT_EQ(p->model().documentPath, panels() + "Studio1.xml");
  EXPECT_EQ(p->model().panelRecord.records[0]->hwMapInternalName(), "Studio1.Button1");
  EXPECT_FALSE(p->needToSave());
  EXPECT_TRUE(fileExists(panels() + "Studio1.xml"));
  EXPECT_TRUE(fileExists(programSettings().startFolder + "Backup/Studio1_20240303090507.xml"));
  EXPECT_TRUE(fileExists(programSettings().hardwareMapFile));
  EXPECT_TRUE(ui.messages.empty());

  // The second save goes straight to the file.
  p->setNeedToSave(true);
  EXPECT_TRUE(designer->save());
  EXPECT_EQ(ui.fileDialogs.size(), 1u);
}

TEST_F(PanelFiles, SaveAsWithoutAnExtensionOrCancelledSavesNothing) {
  PanelEditor *p = changedPanel();
  ui.fileAnswers.push_back(panels() + "Studio2");
  EXPECT_FALSE(designer->saveAs());
  EXPECT_EQ(p->model().canvas.tag, "Panel1");
  EXPECT_FALSE(fileExists(panels() + "Studio2"));
  ui.fileAnswers.push_back(std::nullopt);
  EXPECT_FALSE(designer->saveAs());
  EXPECT_TRUE(programSettings().cancelExit);
  EXPECT_TRUE(p->needToSave());
}

TEST_F(PanelFiles, SaveAsShowsTheNewNameInTheGrid) {
  PanelEditor *p = designer->newPanel();  // the grid shows the panel itself
  p->fillPropertiesTimer.stop();
  ui.fileAnswers.push_back(panels() + "Studio9.xml");
  ASSERT_TRUE(designer->saveAs());
  // The grid is filled when the panel's fill timer fires.
  ASSERT_TRUE(p->fillPropertiesTimer.isActive());
  p->fillPropertiesTimer.stop();
  p->fillPropertiesTick();
  PropertyGrid &grid = designer->grid();
  ASSERT_GE(grid.rowCount(), 3);  // row 0 holds the column titles
  EXPECT_EQ(grid.textMatrix(2, 0), "Name");
  EXPECT_EQ(grid.textMatrix(2, 1), "Studio9");
}

TEST_F(PanelFiles, OpenChecksExistenceContentAndOpenPanels) {
  EXPECT_EQ(designer->openPanelLocal(panels() + "missing.xml"), nullptr);
  QString error;
  ASSERT_TRUE(writeTextFileSafely(panels() + "empty.xml", "", &error));
  EXPECT_EQ(designer->openPanelLocal(panels() + "empty.xml"), nullptr);
  ASSERT_TRUE(writeTextFileSafely(panels() + "Studio1.xml",
                                  "<Panel><Name>Studio1</Name><Caption>Studio One</Caption>"
                                  "<Width>6000</Width></Panel>\r\n",
                                  &error));
  PanelEditor *opened = designer->openPanelLocal(panels() + "Studio1.xml");
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->caption(), "Studio One");
  EXPECT_EQ(opened->model().width, 6000);
  EXPECT_FALSE(opened->needToSave());
  designer->newPanel();
  opened->model().canvas.tag = "STUDIO1";
  EXPECT_EQ(designer->openPanelLocal(panels() + "Studio1.xml"), nullptr);
  EXPECT_EQ(designer->activePanel(), opened);
  EXPECT_EQ(designer->openLocalPanelFile(panels() + "hardwaremap_old.xml"), nullptr);
  EXPECT_EQ(ui.firstLines(),
            QStringList({"Error Opening Panel.  File does not exist.",
                         "Error reading file or no xml data present in file.",
                         "This Panel is already Open.",
                         "The HardwareMap file is a special file which maps hardware controls to "
                         "software panel controls."}));
  // A file that is missing or unreadable is named, with what to do, under
  // the warning or critical icon.
  EXPECT_TRUE(ui.messages[0].text.contains("\r\nFile: " + panels() + "missing.xml\r\n"));
  EXPECT_EQ(ui.messages[0].severity, Ui::Severity::Warning);
  EXPECT_TRUE(ui.messages[1].text.startsWith(
      "Error reading file or no xml data present in file.\r\nFile: " + panels() + "empty.xml\r\n"));
  EXPECT_EQ(ui.messages[1].severity, Ui::Severity::Critical);
  EXPECT_FALSE(ui.messages[2].severity.has_value());
  EXPECT_EQ(designer->openPanels().size(), 2u);
}

TEST_F(PanelFiles, ExitWithTwoChangedPanelsYesThenCancelKeepsRunning) {
  PanelEditor *a = changedPanel();
  PanelEditor *b = changedPanel();
  a->model().documentPath = panels() + "A.xml";
  b->model().documentPath = panels() + "B.xml";
  ui.answers = {Ui::Answer::Yes, Ui::Answer::Cancel};
  EXPECT_FALSE(designer->queryExit());
  EXPECT_TRUE(fileExists(panels() + "A.xml"));
  EXPECT_FALSE(fileExists(panels() + "B.xml"));
  EXPECT_EQ(designer->openPanels().size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "Do you want to save changes to Panel Panel1?");
  EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::YesNoCancel);
}

TEST_F(PanelFiles, ACloseWhoseSaveFailsKeepsTheWindowAndItsWork) {
  PanelEditor *p = changedPanel();
  // The target folder cannot exist: its parent is a regular file.
  QString error;
  ASSERT_TRUE(writeTextFileSafely(dir.path() + "/blocker", "x", &error));
  p->model().documentPath = dir.path() + "/blocker/Panel1.xml";
  ui.answers = {Ui::Answer::Yes};
  ui.fileAnswers.push_back(std::nullopt);  // the Save As offered after the failure is cancelled
  EXPECT_FALSE(designer->queryExit());
  EXPECT_EQ(designer->openPanels().size(), 1u);
  EXPECT_TRUE(p->needToSave());
  ASSERT_GE(ui.messages.size(), 2u);
  EXPECT_TRUE(ui.messages[1].text.startsWith("Error Saving File - "))
      << ui.messages[1].text.toStdString();

  // Answering No closes it unsaved.
  ui.answers = {Ui::Answer::No};
  EXPECT_TRUE(designer->queryExit());
  EXPECT_TRUE(designer->openPanels().empty());
}

TEST_F(PanelFiles, CutPutsControlsOnTheClipboardBeforeRemovingThem) {
  PanelEditor *p = designer->newPanel();
  DesignControl *b = p->insertControl(ControlKind::Button);
  p->controlGotFocus(b);
  designer->cut();
  ASSERT_TRUE(ui.clipboard.has_value());
  EXPECT_TRUE(ui.clipboard->startsWith("<ClipboardControls>\r\n  <ControlList>\r\n    <Control>"));
  EXPECT_TRUE(p->model().panelRecord.records.empty());
  EXPECT_TRUE(p->needToSave());
  PanelEditor *q = designer->newPanel();
  designer->paste();
  ASSERT_EQ(q->model().panelRecord.records.size(), 1u);
  EXPECT_EQ(q->model().panelRecord.records[0]->control->tag, "Button1");
  EXPECT_TRUE(q->needToSave());
}

// A Save As that fails leaves the panel's name, its controls' internal
// names and its file as they were; nothing of it is half applied.
TEST_F(PanelFiles, AFailedSaveAsLeavesThePanelAsItWas) {
  PanelEditor *p = changedPanel();
  const QString internalName = p->model().panelRecord.records[0]->hwMapInternalName();
  ASSERT_TRUE(writeFileSafely(programSettings().hardwareMapFile, "<HardwareMapList/>",
                              nullptr));  // no list
  // A file name the panel could not take as its name is refused the same way.
  for (const QString name : {"Studio3", "Studio 日本"}) {
    ui.fileAnswers.push_back(panels() + name + ".xml");
    EXPECT_FALSE(designer->saveAs());
    EXPECT_EQ(p->model().canvas.tag, "Panel1");
    EXPECT_EQ(p->model().panelRecord.records[0]->hwMapInternalName(), internalName);
    EXPECT_TRUE(p->model().documentPath.isEmpty());
    EXPECT_FALSE(fileExists(panels() + name + ".xml"));
    EXPECT_TRUE(p->needToSave());
  }
  EXPECT_EQ(ui.firstLines().last(),
            "The name \"Studio 日本\" holds characters a panel file cannot store (日本).");
}

namespace {
QByteArray fileBytes(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void setFileBytes(const QString &path, const QByteArray &bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}
}  // namespace

// Another engineer's change to the panel's file since it was opened or saved
// is not replaced without a word: Overwrite, Save As… (keeping both) or
// Cancel. A file only touched, or written back unchanged, is no change.
TEST_F(PanelFiles, ASaveOverAFileChangedOnDiskAsksFirst) {
  PanelEditor *p = changedPanel();
  const QString path = panels() + "Studio1.xml";
  ui.fileAnswers.push_back(path);
  ASSERT_TRUE(designer->save());
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(QDateTime::currentDateTime().addSecs(3600), QFileDevice::FileModificationTime);
  }
  p->setNeedToSave(true);
  EXPECT_TRUE(designer->save());
  EXPECT_TRUE(ui.choices.empty());

  const QByteArray theirs = fileBytes(path) + "<!-- theirs -->\r\n";
  setFileBytes(path, theirs);
  for (int answer : {3, -1}) {  // Cancel, or the box closed
    ui.choiceAnswers.push_back(answer);
    p->setNeedToSave(true);
    programSettings().cancelExit = false;
    EXPECT_FALSE(designer->save());
    EXPECT_EQ(fileBytes(path), theirs);
    EXPECT_TRUE(p->needToSave());
    EXPECT_TRUE(programSettings().cancelExit);  // a closing program stops
  }
  ASSERT_EQ(ui.choices.size(), 2u);
  EXPECT_TRUE(ui.choices[0].text.startsWith("Studio1 was changed on disk since you opened it\r\n"));
  EXPECT_EQ(ui.choices[0].buttons,
            QStringList({"Overwrite", "Save As\u2026", "Show Differences", "Cancel"}));
  EXPECT_EQ(ui.fileDialogs.size(), 1u);  // no Save As after a cancelled save

  // Overwrite saves over it; the map merges into what is on disk now.
  const QByteArray otherEntry =
      "    <Control>\r\n      <Type>Button</Type>\r\n      <HostIPAddress>10.0.0.9"
      "</HostIPAddress>\r\n      <HostPort>5000</HostPort>\r\n      <InternalName>Other.Button1"
      "</InternalName>\r\n      <AoipSysName>MOD#1</AoipSysName>\r\n    </Control>\r\n";
  const QByteArray theirMap =
      "<HardwareMapList>\r\n  <Name>HardwareMapList</Name>\r\n  <ControlList>\r\n" + otherEntry +
      "  </ControlList>\r\n</HardwareMapList>\r\n";
  setFileBytes(programSettings().hardwareMapFile, theirMap);
  ui.choiceAnswers.push_back(0);
  EXPECT_TRUE(designer->save());
  EXPECT_NE(fileBytes(path), theirs);
  EXPECT_FALSE(p->needToSave());
  EXPECT_TRUE(fileBytes(programSettings().hardwareMapFile).contains(otherEntry));
  bool kept = false;  // their file is in the backups, under the time it was changed
  for (const QFileInfo &backup : QDir(programSettings().startFolder + "Backup").entryInfoList())
    kept = kept || fileBytes(backup.absoluteFilePath()) == theirs;
  EXPECT_TRUE(kept);
  p->setNeedToSave(true);
  EXPECT_TRUE(designer->save());  // its own save is no change
  EXPECT_EQ(ui.choices.size(), 3u);

  // Save As… keeps their file and saves the panel under another name.
  setFileBytes(path, theirs);
  ui.choiceAnswers.push_back(1);
  ui.fileAnswers.push_back(panels() + "Studio2.xml");
  EXPECT_TRUE(designer->save());
  EXPECT_EQ(fileBytes(path), theirs);
  EXPECT_TRUE(fileExists(panels() + "Studio2.xml"));
  EXPECT_EQ(p->model().documentPath, panels() + "Studio2.xml");

  // A panel opened from a file is watched from that read on.
  PanelEditor *q = designer->openPanelLocal(path);
  ASSERT_NE(q, nullptr);
  setFileBytes(path, theirs + "<!-- again -->\r\n");
  designer->activatePanel(q);
  q->setNeedToSave(true);
  EXPECT_FALSE(designer->save());
  ASSERT_EQ(ui.choices.size(), 5u);
  EXPECT_TRUE(ui.choices[4].text.startsWith("Studio1 was changed on disk"));
}

// Show Differences lists the controls only in the file, only in the panel,
// and those that differ, then asks again.
TEST_F(PanelFiles, ShowDifferencesListsTheControlsThatDiffer) {
  PanelEditor *p = changedPanel();
  p->insertControl(ControlKind::Button);
  p->insertControl(ControlKind::Label);
  const QString path = panels() + "Studio1.xml";
  ui.fileAnswers.push_back(path);
  ASSERT_TRUE(designer->save());
  QByteArray theirs = fileBytes(path);
  theirs.replace("<Name>Button2</Name>", "<Name>Fader9</Name>");
  theirs.replace("<Caption>Label1</Caption>", "<Caption>On Air</Caption>");
  ASSERT_NE(theirs, fileBytes(path));
  setFileBytes(path, theirs);
  p->setNeedToSave(true);
  ui.choiceAnswers = {2, 3};
  EXPECT_FALSE(designer->save());
  EXPECT_EQ(ui.choices.size(), 2u);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.toStdString(),
            "Only in the file on disk: Fader9\r\n"
            "Only in this panel: Button2\r\nDifferent: Label1");
  EXPECT_EQ(fileBytes(path), theirs);
}
