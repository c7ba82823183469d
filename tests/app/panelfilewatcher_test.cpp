// Reloading an open panel whose file another engineer or program changed.
#include "app/panelfilewatcher.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>

#include "designerfixture.h"
#include "model/textfile.h"
#include "surface/paneleditor.h"

namespace {

struct PanelWatch : DesignerFixture {
  QString path() const { return panelsFolder() + "Studio1.xml"; }

  // A panel with one button, saved to Studio1.xml.
  PanelEditor *savedPanel() {
    PanelEditor *p = designer->newPanel();
    p->insertControl(ControlKind::Button);
    p->setNeedToSave(true);
    ui.fileAnswers.push_back(path());
    EXPECT_TRUE(designer->save());
    return p;
  }
  // Another program moves the button.
  void moveButtonInTheFile(int left) {
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    f.close();
    bytes.replace(QRegularExpression("<Left>\\d+</Left>").match(bytes).captured().toLatin1(),
                  "<Left>" + QByteArray::number(left) + "</Left>");
    ASSERT_TRUE(writeFileSafely(path(), bytes, nullptr));
  }
  qint32 buttonLeft() const {
    const auto panels = designer->openPanels();
    return panels.size() == 1 ? panels[0]->model().panelRecord.records[0]->control->left : -1;
  }
};

}  // namespace

// The watcher sees the change in the event loop and offers the reload once
// the file settled; Yes reads the file afresh.
TEST_F(PanelWatch, AnUnchangedPanelWhoseFileChangedIsOfferedForReload) {
  PanelFileWatcher watcher(*designer);
  savedPanel();
  QCoreApplication::processEvents();  // the saved file is watched
  moveButtonInTheFile(4800);
  ui.answers.push_back(Ui::Answer::Yes);
  const QDeadlineTimer deadline(10000);
  while (ui.messages.empty() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.startsWith("Studio1 was changed on disk since you opened it."));
  EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::YesNo);
  EXPECT_EQ(buttonLeft(), 4800);
  EXPECT_FALSE(designer->openPanels()[0]->needToSave());
}

// No offer for the panel's own save, for a panel with unsaved changes (its
// save asks), or again for a change the user chose to keep out.
TEST_F(PanelWatch, OnlyAChangeOfSomeoneElseToAnUnchangedPanelIsOffered) {
  PanelFileWatcher watcher(*designer);
  PanelEditor *p = savedPanel();
  const qint32 left = buttonLeft();
  p->setNeedToSave(true);
  EXPECT_TRUE(designer->save());
  watcher.checkPanels();
  EXPECT_TRUE(ui.messages.empty());

  moveButtonInTheFile(4800);
  p->setNeedToSave(true);
  watcher.checkPanels();
  EXPECT_TRUE(ui.messages.empty());

  p->setNeedToSave(false);
  ui.answers.push_back(Ui::Answer::No);
  watcher.checkPanels();
  watcher.checkPanels();
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(buttonLeft(), left);

  moveButtonInTheFile(6000);
  ui.answers.push_back(Ui::Answer::Yes);
  watcher.checkPanels();
  EXPECT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(buttonLeft(), 6000);
}
