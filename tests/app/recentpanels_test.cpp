// File > Recent Panels, kept in settings of a temporary folder.
#include "app/recentpanels.h"

#include <gtest/gtest.h>

#include "app/panelfinder.h"
#include "designerfixture.h"
#include "model/textfile.h"
#include "support/isolatedsettings.h"
#include "surface/frmpanel.h"

namespace {
struct Recent : DesignerFixture {
  std::unique_ptr<RecentPanels> recent;

  void SetUp() override {
    DesignerFixture::SetUp();
    IsolateSettings(dir.path() + "/config", "recent-panels-test");
    recent = std::make_unique<RecentPanels>(*designer);
  }
  QString panelFile(const QString &name) {
    const QString path = panelsFolder() + name + ".xml";
    QString error;
    EXPECT_TRUE(WriteTextFileSafely(path, "<Panel><Name>" + name + "</Name></Panel>", &error));
    return path;
  }
};
}  // namespace

TEST_F(Recent, OpenedAndSavedPanelsComeFirstAndTheListKeepsTen) {
  const QString a = panelFile("A"), b = panelFile("B");
  designer->OpenPanelLocal(a);
  frmPanel *pb = designer->OpenPanelLocal(b);
  designer->mnuNewPanel_Click();  // no path: not listed
  EXPECT_EQ(recent->entries(), QStringList({b, a}));

  // Saving A again moves it up; Save As adds the new name.
  designer->ActivatePanel(designer->collOpenPanels()[0]);
  EXPECT_TRUE(designer->mnuSavePanel_Click());
  EXPECT_EQ(recent->entries(), QStringList({a, b}));
  designer->ActivatePanel(pb);
  ui.fileAnswers.push_back(panelsFolder() + "C.xml");
  EXPECT_TRUE(designer->mnuSaveAs_Click());
  EXPECT_EQ(recent->entries().first(), panelsFolder() + "C.xml");

  // A server panel is listed by its server path, once in any letter case.
  recent->Add("tcp://10.0.0.5:5200/Studio1.xml");
  recent->Add("TCP://10.0.0.5:5200/studio1.xml");
  EXPECT_EQ(recent->entries().first(), "TCP://10.0.0.5:5200/studio1.xml");
  EXPECT_EQ(recent->entries().filter("tcp://10.0.0.5:5200/Studio1.xml", Qt::CaseInsensitive).size(),
            1);

  for (int i = 1; i <= 12; ++i) recent->Add(QStringLiteral("/panels/P%1.xml").arg(i));
  QStringList expected;
  for (int i = 12; i >= 3; --i) expected << QStringLiteral("/panels/P%1.xml").arg(i);
  EXPECT_EQ(recent->entries(), expected);
  // Kept in the settings for the next start.
  EXPECT_EQ(RecentPanels(*designer).entries(), expected);
}

TEST_F(Recent, AMissingFileIsOfferedForRemovalNotOpened) {
  const QString gone = panelsFolder() + "Gone.xml";
  const QString kept = panelFile("Kept");
  recent->Add(gone);
  recent->Add(kept);

  ui.answers = {Ui::Answer::No};
  EXPECT_EQ(recent->OpenRecentPanel(gone), nullptr);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "The panel file " + gone + " no longer exists.\r\nRemove it from the recent panels?");
  EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::YesNo);
  EXPECT_EQ(recent->entries(), QStringList({kept, gone}));
  ui.answers = {Ui::Answer::Yes};
  EXPECT_EQ(recent->OpenRecentPanel(gone), nullptr);
  EXPECT_EQ(recent->entries(), QStringList({kept}));
  EXPECT_TRUE(designer->collOpenPanels().empty());

  frmPanel *opened = recent->OpenRecentPanel(kept);
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->model().WindowTag, kept);
  // Chosen again while open (another panel in front), it comes forward.
  designer->mnuNewPanel_Click();
  EXPECT_EQ(recent->OpenRecentPanel(kept), opened);
  EXPECT_EQ(designer->activePanel(), opened);
  EXPECT_EQ(designer->collOpenPanels().size(), 2u);
  EXPECT_EQ(ui.messages.size(), 2u);

  // A server panel while not connected: connecting to its server is offered.
  EXPECT_EQ(recent->OpenRecentPanel("tcp://10.0.0.5:5200/Studio1.xml"), nullptr);
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_TRUE(ui.messages[2].text.startsWith("The panel Studio1 is on the server 10.0.0.5:5200"));
}

// A file Find opens to show a hit joins the list only once it is edited.
TEST_F(Recent, AFileOpenedByFindJoinsTheListWhenEdited) {
  const QString a = panelsFolder() + "A.xml";
  QString error;
  ASSERT_TRUE(
      WriteTextFileSafely(a, "<Panel><Name>A</Name><Caption>Talkback</Caption></Panel>", &error));
  designer->finder().setIncludeClosedFiles(true);
  ASSERT_EQ(designer->finder().Find("Talkback").size(), 1u);
  ASSERT_TRUE(designer->finder().ActivateHit(0));
  frmPanel *panel = designer->activePanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(recent->entries().isEmpty());
  panel->InsertControl(ControlKind::Button);
  EXPECT_EQ(recent->entries(), QStringList({a}));
}
