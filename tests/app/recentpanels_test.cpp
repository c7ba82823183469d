// File > Recent Panels, kept in settings of a temporary folder.
#include "app/recentpanels.h"

#include <gtest/gtest.h>

#include "app/panelfinder.h"
#include "designerfixture.h"
#include "model/textfile.h"
#include "support/isolatedsettings.h"
#include "surface/paneleditor.h"

namespace {
struct Recent : DesignerFixture {
  std::unique_ptr<RecentPanels> recent;

  void SetUp() override {
    DesignerFixture::SetUp();
    isolateSettings(dir.path() + "/config", "recent-panels-test");
    recent = std::make_unique<RecentPanels>(*designer);
  }
  QString panelFile(const QString &name) {
    const QString path = panelsFolder() + name + ".xml";
    QString error;
    EXPECT_TRUE(writeTextFileSafely(path, "<Panel><Name>" + name + "</Name></Panel>", &error));
    return path;
  }
};
}  // namespace

TEST_F(Recent, OpenedAndSavedPanelsComeFirstAndTheListKeepsTen) {
  const QString a = panelFile("A"), b = panelFile("B");
  designer->openPanelLocal(a);
  PanelEditor *pb = designer->openPanelLocal(b);
  designer->newPanel();  // no path: not listed
  EXPECT_EQ(recent->entries(), QStringList({b, a}));

  // Saving A again moves it up; Save As adds the new name.
  designer->activatePanel(designer->openPanels()[0]);
  EXPECT_TRUE(designer->save());
  EXPECT_EQ(recent->entries(), QStringList({a, b}));
  designer->activatePanel(pb);
  ui.fileAnswers.push_back(panelsFolder() + "C.xml");
  EXPECT_TRUE(designer->saveAs());
  EXPECT_EQ(recent->entries().first(), panelsFolder() + "C.xml");

  // A server panel is listed by its server path, once in any letter case.
  recent->add("tcp://10.0.0.5:5200/Studio1.xml");
  recent->add("TCP://10.0.0.5:5200/studio1.xml");
  EXPECT_EQ(recent->entries().first(), "TCP://10.0.0.5:5200/studio1.xml");
  EXPECT_EQ(recent->entries().filter("tcp://10.0.0.5:5200/Studio1.xml", Qt::CaseInsensitive).size(),
            1);

  for (int i = 1; i <= 12; ++i) recent->add(QStringLiteral("/panels/P%1.xml").arg(i));
  QStringList expected;
  for (int i = 12; i >= 3; --i) expected << QStringLiteral("/panels/P%1.xml").arg(i);
  EXPECT_EQ(recent->entries(), expected);
  // Kept in the settings for the next start.
  EXPECT_EQ(RecentPanels(*designer).entries(), expected);
}

TEST_F(Recent, AMissingFileIsOfferedForRemovalNotOpened) {
  const QString gone = panelsFolder() + "Gone.xml";
  const QString kept = panelFile("Kept");
  recent->add(gone);
  recent->add(kept);

  ui.answers = {Ui::Answer::No};
  EXPECT_EQ(recent->openRecentPanel(gone), nullptr);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "The panel file " + gone + " no longer exists.\r\nRemove it from the recent panels?");
  EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::YesNo);
  EXPECT_EQ(recent->entries(), QStringList({kept, gone}));
  ui.answers = {Ui::Answer::Yes};
  EXPECT_EQ(recent->openRecentPanel(gone), nullptr);
  EXPECT_EQ(recent->entries(), QStringList({kept}));
  EXPECT_TRUE(designer->openPanels().empty());

  PanelEditor *opened = recent->openRecentPanel(kept);
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->model().documentPath, kept);
  // Chosen again while open (another panel in front), it comes forward.
  designer->newPanel();
  EXPECT_EQ(recent->openRecentPanel(kept), opened);
  EXPECT_EQ(designer->activePanel(), opened);
  EXPECT_EQ(designer->openPanels().size(), 2u);
  EXPECT_EQ(ui.messages.size(), 2u);

  // A server panel while not connected: connecting to its server is offered.
  EXPECT_EQ(recent->openRecentPanel("tcp://10.0.0.5:5200/Studio1.xml"), nullptr);
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_TRUE(ui.messages[2].text.startsWith("The panel Studio1 is on the server 10.0.0.5:5200"));
}

// A file Find opens to show a hit joins the list only once it is edited.
TEST_F(Recent, AFileOpenedByFindJoinsTheListWhenEdited) {
  const QString a = panelsFolder() + "A.xml";
  QString error;
  ASSERT_TRUE(
      writeTextFileSafely(a, "<Panel><Name>A</Name><Caption>Talkback</Caption></Panel>", &error));
  designer->finder().setIncludeClosedFiles(true);
  ASSERT_EQ(designer->finder().Find("Talkback").size(), 1u);
  ASSERT_TRUE(designer->finder().activateHit(0));
  PanelEditor *panel = designer->activePanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(recent->entries().isEmpty());
  panel->insertControl(ControlKind::Button);
  EXPECT_EQ(recent->entries(), QStringList({a}));
}
