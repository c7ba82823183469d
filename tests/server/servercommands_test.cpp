// The main window's server branches: open through the server's list,
// delivered panels read like files, Save Panel and Save Panel As on the
// server, and a save while the link is down.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "app/mainwindowlogic.h"
#include "app/recentpanels.h"
#include "app/serverpanelpath.h"
#include "app/startup.h"
#include "components/datetimestamp.h"
#include "model/controlrecord.h"
#include "panelfile/localstore.h"
#include "panelfile/panelwriter.h"
#include "server/loginencoding.h"
#include "serverfixture.h"
#include "support/isolatedsettings.h"
#include "surface/paneleditor.h"

using namespace VexProtocol;

namespace {
const QString kStudio = QStringLiteral(
    "<Panel>\r\n  <Name>Studio1</Name>\r\n  <Caption>Studio One</Caption>\r\n"
    "  <ControlList>\r\n    <Control>\r\n      <Type>Button</Type>\r\n      <Name>Btn1</Name>\r\n"
    "      <Caption>Mic</Caption>\r\n    </Control>\r\n  </ControlList>\r\n</Panel>\r\n");

struct ServerCommands : ::testing::Test {
  QTemporaryDir dir;
  FakeUi ui;
  std::unique_ptr<MainWindowLogic> designer;
  FakeConnection *link = nullptr;

  void SetUp() override {
    programSettings() = ProgramSettings();
    initSettings(programSettings(), dir.path());
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    programSettings().serverMode = true;
    programSettings().serverAddress = "10.0.0.5";
    programSettings().serverPort = 5200;
    designer = std::make_unique<MainWindowLogic>(ui);
    designer->load();
    designer->server().setConnectionFactory([this] {
      auto c = std::make_unique<FakeConnection>();
      c->echoStores = true;
      link = c.get();
      return c;
    });
    designer->server().Connector();
    DateTimeStamp::setClock([] { return QDateTime(QDate(2024, 3, 3), QTime(9, 5, 7)); });
  }
  void TearDown() override { DateTimeStamp::setClock({}); }

  void approve() {
    link->linkUp();
    link->receive(serverMessage(VexCommand::Hello, "no"));
    link->sent.clear();
  }
  void list(const QString &payload) {
    link->receive(serverMessage(VexCommand::PanelList, payload));
  }
  // The server delivers the panel; it opens and is changed.
  PanelEditor *deliveredAndChanged(const QString &name) {
    link->receive(serverMessage(VexCommand::Panel, name + kFieldSeparator + kStudio));
    PanelEditor *p = designer->activePanel();
    p->insertControl(ControlKind::Label);
    p->setNeedToSave(true);
    return p;
  }
  PanelEditor *changedPanel() {
    PanelEditor *p = designer->newPanel();
    p->insertControl(ControlKind::Button);
    p->setNeedToSave(true);
    return p;
  }
  // The name and document of the last store request.
  std::pair<QString, QString> lastStore() const {
    const auto store = std::find_if(link->sent.rbegin(), link->sent.rend(), [](const QString &m) {
      return m.size() > 2 && m[2].unicode() == VexCommand::StorePanel;
    });
    if (store == link->sent.rend()) return {};
    const QString payload = store->mid(15).chopped(2);
    const qsizetype sep = payload.indexOf(kFieldSeparator);
    return {payload.left(sep), payload.mid(sep + 1)};
  }
};
}  // namespace

TEST_F(ServerCommands, OpenPanelShowsTheServersListAndADeliveredPanelOpensOnce) {
  approve();
  list("Studio1\tStudio One");
  designer->choosePanelToOpen();
  OpenPanelDialogLogic &open = designer->server().openDialog();
  ASSERT_TRUE(open.visible());
  EXPECT_TRUE(ui.fileDialogs.empty());  // not the local file dialog
  open.setListIndex(0);
  open.openSelected();
  EXPECT_EQ(link->sent, QStringList({buildVexMessage(VexCommand::Panel, u"Studio1")}));

  for (int i = 0; i < 2; ++i)
    link->receive(serverMessage(VexCommand::Panel, "Studio1" + kFieldSeparator + kStudio));
  ASSERT_EQ(designer->openPanels().size(), 1u);
  PanelEditor *p = designer->activePanel();
  EXPECT_EQ(p->model().documentPath, "tcp://10.0.0.5:5200/Studio1.xml");
  EXPECT_EQ(p->model().panelRecord.panelPath, "tcp://10.0.0.5:5200/Studio1.xml");
  EXPECT_EQ(p->model().canvas.tag, "Studio1");  // the document names the panel
  EXPECT_EQ(p->caption(), "Studio One");
  ASSERT_EQ(p->model().panelRecord.records.size(), 1u);
  EXPECT_FALSE(p->needToSave());

  // An empty document opens nothing that a save could write over.
  link->receive(serverMessage(VexCommand::Panel, "Empty" + kFieldSeparator));
  EXPECT_EQ(designer->openPanels().size(), 1u);
  EXPECT_EQ(ui.firstLines(), QStringList({"Error reading file or no xml data present in file."}));
}

// A panel named by its server path (a recent entry, a hit of Find) opens
// only from its own server; elsewhere or unconnected the user is told and
// offered to connect there. One the server no longer lists is offered for
// removal from the recent panels, as a missing file is.
TEST_F(ServerCommands, AServerPanelByItsPathOpensOnlyFromItsOwnServer) {
  isolateSettings(dir.path() + "/settings", "servercommands-test");
  RecentPanels recent(*designer);
  const QString path = "tcp://10.0.0.5:5200/Studio1.xml";
  const QString keys = "tcp://10.0.0.6:5374/Keys.xml";
  recent.add(keys);
  recent.add(path);

  ui.answers = {Ui::Answer::No};
  EXPECT_EQ(recent.openRecentPanel(path), nullptr);
  EXPECT_EQ(ui.messageTexts(),
            QStringList({"The panel Studio1 is on the server 10.0.0.5:5200, and the designer is "
                         "not connected to a server.\r\nConnect to 10.0.0.5:5200 and open the "
                         "panel there?"}));
  EXPECT_TRUE(link->forced.isEmpty());
  EXPECT_TRUE(designer->server().Connector().pendingPanels().isEmpty());

  // Its own server: asked for by its name; open already, that window.
  approve();
  list("Studio1\tStudio One");
  EXPECT_EQ(recent.openRecentPanel(path), nullptr);
  EXPECT_EQ(link->sent, QStringList({buildVexMessage(VexCommand::Panel, u"Studio1")}));
  link->receive(serverMessage(VexCommand::Panel, "Studio1" + kFieldSeparator + kStudio));
  EXPECT_EQ(openServerPanel(*designer, "TCP://10.0.0.5:5200/studio1.XML"), designer->activePanel());
  EXPECT_EQ(link->sent.size(), 1);

  // Another server's panel of a name this one also has: not this one's.
  ui.messages.clear();
  list("Studio1\tStudio One\r\nKeys");
  ui.answers = {Ui::Answer::Yes};
  EXPECT_EQ(recent.openRecentPanel(keys), nullptr);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.contains("the designer is connected to 10.0.0.5:5200."));
  EXPECT_EQ(link->sent.size(), 1);
  EXPECT_EQ(link->forced.last(), "10.0.0.6");
  EXPECT_EQ(programSettings().serverAddress, "10.0.0.6");
  EXPECT_EQ(programSettings().serverPort, 5374);
  EXPECT_EQ(designer->server().Connector().pendingPanels(), QStringList({"Keys"}));
  link->linkUp();  // the new server approves: the request goes out, the panel opens there
  link->receive(serverMessage(VexCommand::Hello, "no"));
  EXPECT_EQ(link->sent.mid(1).last(), buildVexMessage(VexCommand::Panel, u"Keys"));
  link->receive(serverMessage(VexCommand::Panel, "Keys" + kFieldSeparator + kStudio));
  EXPECT_EQ(designer->activePanel()->model().documentPath, keys);

  // The panel is gone from its server: offered for removal, not asked for.
  link->sent.clear();
  designer->closePanel(designer->activePanel());
  list("Other");
  ui.messages.clear();
  ui.answers = {Ui::Answer::Yes};
  EXPECT_EQ(recent.openRecentPanel(keys), nullptr);
  EXPECT_EQ(ui.messageTexts(), QStringList({"The panel Keys is no longer on the server "
                                            "10.0.0.6:5374.\r\nRemove it from the recent "
                                            "panels?"}));
  EXPECT_TRUE(link->sent.isEmpty());
  EXPECT_FALSE(recent.entries().contains(keys));
}

TEST_F(ServerCommands, SavePanelStoresTheLocalFileTextUnderTheLastPartOfThePath) {
  approve();
  PanelEditor *p = deliveredAndChanged("Studio1");
  EXPECT_TRUE(designer->save());
  EXPECT_FALSE(p->needToSave());
  const auto [name, document] = lastStore();
  EXPECT_EQ(name, "Studio1.xml");
  EXPECT_EQ(document, buildPanelDocument(p->model(), true) + "\r\n");
  EXPECT_TRUE(ui.inputs.empty());
}

// A panel of one server is never stored on another under its name.
TEST_F(ServerCommands, APanelOfAnotherServerIsNotStoredOnThisOne) {
  approve();
  PanelEditor *p = changedPanel();
  p->model().documentPath = "tcp://10.0.0.9:5200/Keys.xml";
  EXPECT_FALSE(designer->save());
  EXPECT_TRUE(p->needToSave());
  EXPECT_TRUE(lastStore().first.isEmpty());
  EXPECT_EQ(ui.firstLines(),
            QStringList({"Failed to save panel - it came from the server 10.0.0.9:5200, and the "
                         "designer is connected to 10.0.0.5:5200."}));
}

TEST_F(ServerCommands, ASaveWhileTheLinkIsDownKeepsThePanelChanged) {
  PanelEditor *p = changedPanel();
  p->model().documentPath = "tcp://10.0.0.5:5200/Panel1.xml";
  EXPECT_FALSE(designer->save());
  EXPECT_TRUE(p->needToSave());
  EXPECT_EQ(designer->caption(), designer->baseCaption + " *");
  EXPECT_EQ(ui.firstLines(), QStringList({"Failed to save panel - not connected to the server"}));
  EXPECT_TRUE(ui.inputs.empty());  // no Save As: the server is not there under any name
  // Closing with Yes keeps the window and its work.
  ui.answers = {Ui::Answer::Yes};
  EXPECT_FALSE(designer->queryExit());
  EXPECT_EQ(designer->openPanels().size(), 1u);
}

TEST_F(ServerCommands, SaveAsOnTheServer) {
  approve();
  list("Studio1\r\nstudio2");
  const struct {
    const char *answer;    // null: the box is cancelled
    Ui::Answer overwrite;  // the answer to "File exists - Overwrite?" when asked
    bool asked, saved;
    const char *storedAs, *tag, *internalName;
  } cases[] = {
      {"Panel1.xml", Ui::Answer::Ok, false, true, "Panel1.xml", "Panel1", ""},
      {"Studio2.xml", Ui::Answer::Yes, true, true, "Studio2.xml", "Studio2", ""},
      {"Studio2.xml", Ui::Answer::No, true, false, "", "Studio2", ""},
      {"folder\\Studio3.xml", Ui::Answer::Ok, false, true, "Studio3.xml",
       "tcp://10.0.0.5:5200/Studio3.xml", "Studio3.Button1"},
      // Stored as Studio1, which the server lists.
      {"folder\\Studio1.xml", Ui::Answer::No, true, false, "", "tcp://10.0.0.5:5200/Studio1.xml",
       "Studio1.Button1"},
      {"Studio1", Ui::Answer::Yes, true, true, "Studio1", "Stu", ""},
      {"ab", Ui::Answer::Ok, false, false, "", "Panel1", ""},  // too short
      {"", Ui::Answer::Ok, false, false, "", "Panel1", ""},
      {nullptr, Ui::Answer::Ok, false, false, "", "Panel1", ""},
  };
  for (const auto &c : cases) {
    ui.messages.clear();
    ui.inputs.clear();
    link->sent.clear();
    for (PanelEditor *open : designer->openPanels()) designer->closePanel(open);
    PanelEditor *p = changedPanel();
    ui.inputAnswers.push_back(c.answer ? std::optional<QString>(c.answer) : std::nullopt);
    if (c.asked) ui.answers.push_back(c.overwrite);
    p->fillPropertiesTimer.stop();
    EXPECT_EQ(designer->saveAs(), c.saved) << c.answer;
    // A renamed panel refills the grid, whose Name row shows the name.
    EXPECT_EQ(p->fillPropertiesTimer.isActive(), QString(c.tag) != "Panel1") << c.answer;
    ASSERT_EQ(ui.inputs.size(), 1u);
    EXPECT_EQ(ui.inputs[0].prompt, "Enter the panel name to save");
    EXPECT_EQ(ui.inputs[0].title, "Save As");
    EXPECT_EQ(ui.inputs[0].defaultText, "Panel1.xml");
    QStringList expectedMessages;
    if (c.asked) expectedMessages << "File exists - Overwrite?";
    if (!c.answer || !*c.answer) expectedMessages << "No filename selected to store";
    EXPECT_EQ(ui.messageTexts(), expectedMessages) << c.answer;
    EXPECT_EQ(p->model().canvas.tag, c.tag) << c.answer;
    EXPECT_EQ(p->model().panelRecord.records[0]->hwMapInternalName(), c.internalName) << c.answer;
    EXPECT_EQ(p->needToSave(), !c.saved) << c.answer;
    if (c.saved) {
      EXPECT_EQ(lastStore().first, c.storedAs);
    } else {
      EXPECT_TRUE(link->sent.isEmpty()) << c.answer;
    }
    EXPECT_EQ(p->model().documentPath, "") << "the window keeps its path";
  }
}

TEST_F(ServerCommands, SaveAsOfAServerPanelProposesItsTagAndKeepsTheWindowPath) {
  approve();
  QSignalSpy saved(designer.get(), &MainWindowLogic::panelSaved);
  PanelEditor *p = changedPanel();
  p->model().canvas.tag = "tcp://10.0.0.5:5200/Studio1.xml";
  p->model().documentPath = "tcp://10.0.0.5:5200/Studio1.xml";
  ui.inputAnswers.push_back("tcp://10.0.0.5:5200/Studio1.xml.xml");
  EXPECT_TRUE(designer->saveAs());
  EXPECT_EQ(ui.inputs[0].defaultText, "tcp://10.0.0.5:5200/Studio1.xml.xml");
  EXPECT_EQ(lastStore().first, "Studio1.xml.xml");
  // A later Save Panel stores under the old name again.
  p->setNeedToSave(true);
  EXPECT_TRUE(designer->save());
  EXPECT_EQ(lastStore().first, "Studio1.xml");
}

TEST_F(ServerCommands, ConnectMenuShowsTheDialogAndTheStatusLineFollows) {
  QSignalSpy changed(&designer->server().status(), &ConnectionStatus::changed);
  designer->connectToServer();
  EXPECT_TRUE(designer->server().connectDialog().visible());
  EXPECT_EQ(designer->server().status().text(), "Not Connected");
  link->hunting = true;
  designer->setConnectedLabel();
  EXPECT_EQ(designer->server().status().text(), "Connecting");
  approve();
  designer->server().Connector().stateTick();
  EXPECT_EQ(designer->server().status().text(), "Connected");
  EXPECT_EQ(designer->server().status().color(), ConnectionStatus::kGreen);
  link->linkDown();
  link->name = "Hunt Paused";
  designer->server().Connector().stateTick();
  EXPECT_EQ(designer->server().status().text(), "Waiting");
  EXPECT_EQ(changed.count(), 3);
}

TEST_F(ServerCommands, AServerPanelSavedWhileWorkingLocallyIsOfferedSaveAsNeverItsDerivedPath) {
  // As a panel restored after a crash arrives: a server path made from a
  // name a server chose.
  programSettings().serverMode = false;
  QDir().mkpath(dir.path() + "/a/b/c/d");
  QDir::setCurrent(dir.path() + "/a/b/c/d");
  PanelEditor *p = changedPanel();
  p->model().documentPath = "tcp://127.0.0.1:5200/../../../../elsewhere/owned.xml";
  EXPECT_FALSE(designer->save());  // the Save As dialog, cancelled
  ASSERT_EQ(ui.fileDialogs.size(), 1u);
  EXPECT_TRUE(p->needToSave());
  QString error;
  EXPECT_FALSE(savePanelLocal(p->model(), p->model().documentPath, ui, &error));
  QDirIterator files(dir.path(), {"owned.xml"}, QDir::Files, QDirIterator::Subdirectories);
  EXPECT_FALSE(files.hasNext()) << files.next().toStdString();
}

// A password typed for one server is never sent to another: connecting
// elsewhere (here through a recent panel of that server) asks again.
TEST_F(ServerCommands, ALoginIsSentOnlyToTheServerItWasGivenFor) {
  isolateSettings(dir.path() + "/settings", "servercommands-test");
  RecentPanels recent(*designer);
  auto loginsSent = [&] {
    QStringList passwords;
    for (const QString &m : link->sent)
      if (m[2].unicode() == VexCommand::Login)
        passwords << passDecodeV2(m.mid(15).chopped(2).split(kLoginSeparator).value(1));
    return passwords;
  };
  ConnectDialogLogic &dialog = designer->server().connectDialog();
  LoginDialogLogic &login = designer->server().loginDialog();
  dialog.show();
  dialog.addressEdit = "10.0.0.5";
  dialog.portEdit = "5200";
  dialog.loginName = "operator";
  dialog.loginPassword = "secretA";
  dialog.connectToServer();
  link->linkUp();
  link->receive(serverMessage(VexCommand::Hello, "yes"));
  EXPECT_EQ(loginsSent(), QStringList({"secretA"}));
  link->receive(serverMessage(VexCommand::Login, "Yes"));
  // After a lost link the same server gets it again by itself.
  link->linkDown();
  link->linkUp();
  link->receive(serverMessage(VexCommand::Hello, "yes"));
  EXPECT_EQ(loginsSent(), QStringList({"secretA", "secretA"}));
  link->receive(serverMessage(VexCommand::Login, "Yes"));

  const QString keys = "tcp://10.0.0.6:5374/Keys.xml";
  ui.answers = {Ui::Answer::Yes};
  EXPECT_EQ(recent.openRecentPanel(keys), nullptr);  // connect to B and open it there
  EXPECT_EQ(link->forced.last(), "10.0.0.6");
  link->sent.clear();
  link->linkDown();
  link->linkUp();
  link->receive(serverMessage(VexCommand::Hello, "yes"));
  EXPECT_TRUE(loginsSent().isEmpty());
  EXPECT_TRUE(login.visible());
  login.loginPassword = "secretB";
  login.logIn();
  EXPECT_EQ(loginsSent(), QStringList({"secretB"}));
  link->receive(serverMessage(VexCommand::Login, "Yes"));

  // Back to the first server: B's password does not go there either.
  link->sent.clear();
  designer->server().connectToServer("10.0.0.5", 5200);
  link->linkDown();
  link->linkUp();
  link->receive(serverMessage(VexCommand::Hello, "yes"));
  EXPECT_TRUE(loginsSent().isEmpty());
  EXPECT_TRUE(login.visible());
}

// A panel's server is the one the link went to when it came: a server that
// announces another's address can neither take that server's panels nor
// pass its own panels off as that server's.
TEST_F(ServerCommands, AServersAnnouncedAddressDecidesNothingAboutWhosePanelItIs) {
  approve();
  PanelEditor *a = deliveredAndChanged("Studio1");
  designer->server().connectToServer("10.0.0.6", 5374);
  link->linkDown();
  link->linkUp();
  link->receive(serverMessage(VexCommand::Hello, "10.0.0.5|||5200"));
  link->receive(serverMessage(VexCommand::Hello, "no"));
  link->sent.clear();
  designer->raisePanel(a);
  EXPECT_FALSE(designer->save());
  EXPECT_TRUE(a->needToSave());
  EXPECT_TRUE(lastStore().first.isEmpty());
  EXPECT_EQ(ui.firstLines(),
            QStringList({"Failed to save panel - it came from the server 10.0.0.5:5200, and the "
                         "designer is connected to 10.0.0.6:5374."}));
  link->receive(serverMessage(VexCommand::Panel, "Other" + kFieldSeparator + kStudio));
  EXPECT_EQ(designer->activePanel()->model().documentPath, "tcp://10.0.0.6:5374/Other.xml");
}

// The server stores a panel under the text after the last "\" of its name:
// a panel opened as Archive\Studio is stored as Studio only once the user
// agrees.
TEST_F(ServerCommands, APanelIsStoredUnderAnotherNameOnlyWhenTheUserAgrees) {
  approve();
  list("Studio\r\nArchive\\Studio");
  link->receive(serverMessage(VexCommand::Panel, "Archive\\Studio" + kFieldSeparator + kStudio));
  PanelEditor *p = designer->activePanel();
  ASSERT_EQ(p->model().documentPath, "tcp://10.0.0.5:5200/Archive\\Studio.xml");
  const struct {
    const char *listed;
    Ui::Answer answer;
    const char *question;
  } cases[] = {
      {"Studio\r\nArchive\\Studio", Ui::Answer::No,
       "The server stores the panel Archive\\Studio under the name Studio.\r\nSave as Studio on "
       "the server, replacing it?"},
      {"Archive\\Studio", Ui::Answer::Yes,
       "The server stores the panel Archive\\Studio under the name Studio.\r\nSave as Studio on "
       "the server?"},
  };
  for (const auto &c : cases) {
    list(c.listed);
    ui.messages.clear();
    link->sent.clear();
    p->insertControl(ControlKind::Label);
    p->setNeedToSave(true);
    ui.answers = {c.answer};
    const bool agreed = c.answer == Ui::Answer::Yes;
    EXPECT_EQ(designer->save(), agreed);
    EXPECT_EQ(ui.messageTexts(), QStringList({c.question}));
    EXPECT_EQ(p->needToSave(), !agreed);
    EXPECT_EQ(lastStore().first, agreed ? "Studio.xml" : "");
  }
}
