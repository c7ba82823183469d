// The connect, login and open-panel dialogs' logic, the remembered
// connection file and the status line.
#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "model/textfile.h"
#include "server/connectionmemory.h"
#include "server/loginencoding.h"
#include "serverfixture.h"

using namespace VexProtocol;

namespace {
struct Dialogs : ::testing::Test, ConnectorFixture {
  QTemporaryDir config;
  void SetUp() override {
    ASSERT_TRUE(config.isValid());
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    programSettings().helpAddress = "file:///start/help.pdf";
  }
  QString rememberedFile() const { return config.path() + "/CorvanePC/TessaryConnect.txt"; }
  QByteArray remembered() const {
    QFile f(rememberedFile());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
  }
};
}  // namespace

TEST_F(Dialogs, ConnectTakesTheValuesStartsTheLinkAndRemembersWithoutThePassword) {
  programSettings() = ProgramSettings();
  ConnectDialogLogic &dialog = session.connectDialog();
  dialog.show();
  EXPECT_EQ(dialog.addressEdit, "");
  EXPECT_EQ(dialog.portEdit, "5200");
  EXPECT_EQ(dialog.loginName, "");
  EXPECT_TRUE(dialog.visible());
  EXPECT_TRUE(dialog.keepInFrontTimer.isActive());
  EXPECT_EQ(dialog.keepInFrontTimer.interval(), 1000);
  QSignalSpy front(&dialog, &ConnectDialogLogic::keepInFrontRequested);
  dialog.keepInFrontTick();
  EXPECT_EQ(front.count(), 1);

  dialog.addressEdit = "10.0.0.5";
  dialog.portEdit = "5300";
  dialog.loginName = "  operator ";
  dialog.loginPassword = " secret";
  dialog.connectToServer();
  const ProgramSettings &s = programSettings();
  EXPECT_EQ(s.serverAddress, "10.0.0.5");
  EXPECT_EQ(s.serverPort, 5300);
  EXPECT_EQ(s.loginName, "operator");
  EXPECT_EQ(s.loginPassword, " secret");
  EXPECT_TRUE(s.serverMode);
  EXPECT_EQ(link->forced, QStringList({"10.0.0.5"}));
  EXPECT_EQ(link->defaultPort, 5300);
  EXPECT_EQ(session.status().text(), "Connecting");
  EXPECT_EQ(session.status().color(), ConnectionStatus::kYellow);
  EXPECT_FALSE(dialog.visible());
  EXPECT_FALSE(dialog.keepInFrontTimer.isActive());
  EXPECT_EQ(remembered(), "tcp://10.0.0.5:5300:operator\r\n");
  EXPECT_EQ(readConnectionData(), "tcp://10.0.0.5:5300:operator");

  // The next opening proposes them again, with an empty password box.
  dialog.show();
  EXPECT_EQ(dialog.addressEdit, "10.0.0.5");
  EXPECT_EQ(dialog.portEdit, "5300");
  EXPECT_EQ(dialog.loginName, "operator");
  EXPECT_EQ(dialog.loginPassword, "");
}

TEST_F(Dialogs, ABadPortSaysSoClosesAndRewritesTheOldValues) {
  programSettings().loginName = "ops";
  const struct {
    const char *port;
    bool valid;
    quint16 value;
  } cases[] = {
      {"52a0", false, 0},     {"", false, 0},         {"0", false, 0},
      {"65536", false, 0},    {"-1", false, 0},       {"40000", true, 40000},
      {" 5201 ", true, 5201}, {"5200.5", true, 5200}, {"65535", true, 65535},
  };
  for (const auto &c : cases) {
    programSettings().serverPort = 5200;
    host.fakeUi.messages.clear();
    ConnectDialogLogic &dialog = session.connectDialog();
    dialog.show();
    dialog.addressEdit = "core2";
    dialog.portEdit = c.port;
    dialog.connectToServer();
    EXPECT_FALSE(dialog.visible()) << c.port;
    if (c.valid) {
      EXPECT_TRUE(host.fakeUi.messages.empty()) << c.port;
      EXPECT_EQ(programSettings().serverPort, c.value) << c.port;
      EXPECT_EQ(remembered(),
                QByteArray("tcp://core2:") + QByteArray::number(c.value) + ":ops\r\n");
    } else {
      EXPECT_EQ(host.fakeUi.firstLines(), QStringList({"Invalid Port"})) << c.port;
      EXPECT_EQ(host.fakeUi.messages[0].severity, Ui::Severity::Warning);
      EXPECT_EQ(programSettings().serverPort, 5200);
      EXPECT_EQ(remembered(), "tcp://10.0.0.5:5200:ops\r\n") << c.port;
    }
    programSettings().serverAddress = "10.0.0.5";
  }
}

TEST_F(Dialogs, CancelChangesAndWritesNothing) {
  ConnectDialogLogic &dialog = session.connectDialog();
  dialog.show();
  dialog.addressEdit = "elsewhere";
  dialog.cancel();
  EXPECT_FALSE(dialog.visible());
  EXPECT_EQ(programSettings().serverAddress, "10.0.0.5");
  EXPECT_FALSE(QFile::exists(rememberedFile()));
  EXPECT_EQ(session.connectorIfCreated()->link().huntingInitialized(), false);
  dialog.showHelp();
  EXPECT_EQ(host.fakeUi.openedUrls, QStringList({"file:///start/help.pdf"}));
}

TEST_F(Dialogs, ReadingTheRememberedConnection) {
  const struct {
    const char *content;
    const char *read;
    bool kept;
  } cases[] = {
      {"tcp://core2:5300:ops\r\n", "tcp://core2:5300:ops", true},
      {"tcp://a\r\n:5300\n", "tcp://a:5300", true},
      {"\r\n\r\n\n", "", false},  // only line ends: deleted
      {"  \r\n", "  ", true},     // blanks are text
  };
  for (const auto &c : cases) {
    QString error;
    ASSERT_TRUE(writeTextFileSafely(connectionDataFile(), c.content, &error));
    EXPECT_EQ(readConnectionData(), c.read) << c.content;
    EXPECT_EQ(QFile::exists(rememberedFile()), c.kept) << c.content;
  }
  QFile::remove(rememberedFile());
  EXPECT_EQ(readConnectionData(), "");
}

TEST_F(Dialogs, LoginSendsTheEncodedNamesAndRemembersThem) {
  approved();
  LoginDialogLogic &login = session.loginDialog();
  programSettings().loginName = "  operator  ";
  login.show();
  EXPECT_TRUE(login.visible());
  EXPECT_EQ(login.loginName, "operator");
  EXPECT_TRUE(login.focusTimer.isActive());
  EXPECT_EQ(login.focusTimer.interval(), 100);
  login.focusTimerTick();
  EXPECT_FALSE(login.focusTimer.isActive());
  EXPECT_EQ(login.focusField(), LoginDialogLogic::Field::LoginPassword);

  login.loginName = " operator ";
  login.loginPassword = " s3cret ";
  login.logIn();
  EXPECT_FALSE(login.visible());
  EXPECT_EQ(programSettings().loginName, "operator");
  EXPECT_EQ(programSettings().loginPassword, "s3cret");
  ASSERT_EQ(link->sentCodes(), QList<int>({40}));
  const QStringList fields = link->sent[0].mid(15).chopped(2).split(kLoginSeparator);
  EXPECT_EQ(fields, QStringList({passEncodeV2("operator", [] { return 10; }),
                                 passEncodeV2("s3cret", [] { return 10; })}));

  // Blank fields go as "Void"; with no name the focus stays in the name box.
  programSettings().loginName.clear();
  login.loginName.clear();
  login.show();
  login.focusTimerTick();
  EXPECT_EQ(login.focusField(), LoginDialogLogic::Field::LoginName);
  login.logIn();
  const QStringList voids = link->sent[1].mid(15).chopped(2).split(kLoginSeparator);
  EXPECT_EQ(passDecodeV2(voids[0]), "Void");
  EXPECT_EQ(passDecodeV2(voids[1]), "Void");
}

// A server that drops the link and asks again on the next one finds the
// dialog as the user left it; Enter in the name goes on to the password.
TEST_F(Dialogs, TheServerAskingForALoginShowsOneDialogThatKeepsWhatWasTyped) {
  LoginDialogLogic &login = session.loginDialog();
  QSignalSpy shown(&login, &LoginDialogLogic::visibleChanged);
  link->linkUp();
  link->receive(serverMessage(VexCommand::Hello, "yes"));
  EXPECT_TRUE(login.visible());
  login.loginName = "operator";
  login.enterPressed(LoginDialogLogic::Field::LoginName);
  EXPECT_EQ(login.focusField(), LoginDialogLogic::Field::LoginPassword);
  login.loginPassword = "s3c";
  for (int i = 0; i < 3; ++i) {
    link->linkDown();
    link->linkUp();
    link->receive(serverMessage(VexCommand::Hello, "yes"));
  }
  EXPECT_TRUE(login.visible());
  EXPECT_EQ(shown.count(), 1);
  EXPECT_EQ(login.loginName, "operator");
  EXPECT_EQ(login.loginPassword, "s3c");
  EXPECT_EQ(link->sentCodes(), QList<int>({1, 1, 1, 1}));  // no login went out meanwhile
  login.enterPressed(LoginDialogLogic::Field::LoginPassword);
  EXPECT_FALSE(login.visible());
  EXPECT_EQ(link->sentCodes().back(), 40);
  EXPECT_EQ(programSettings().loginPassword, "s3c");
}

TEST_F(Dialogs, OpenPanelListsTheServersPanelsAndAsksForTheChosenOne) {
  OpenPanelDialogLogic &open = session.openDialog();
  open.show();
  EXPECT_TRUE(open.panelList().isEmpty());
  open.openSelected();
  // The message says what to do after the usual first line.
  ASSERT_EQ(host.fakeUi.messageTexts().size(), 1);
  EXPECT_TRUE(host.fakeUi.messageTexts()[0].startsWith(
      "No Panel selected to open\n\nThe server lists no panels."));
  EXPECT_TRUE(open.visible());

  approved();
  link->receive(serverMessage(VexCommand::PanelList, "Studio1\tStudio One\r\nNews"));
  EXPECT_EQ(open.panelList(), QStringList({"Studio1\tStudio One", "News\t"}));
  EXPECT_EQ(open.listIndex(), 0);  // the first line is chosen when the list arrives
  open.setListIndex(-1);
  open.openSelected();
  EXPECT_EQ(host.fakeUi.messageTexts().last(),
            "No Panel selected to open\n\nSelect a panel in the list, then press Open.");
  open.setListIndex(0);
  // A new list while open keeps the chosen line.
  link->receive(serverMessage(VexCommand::PanelList, "Alpha\r\nStudio1\tStudio One"));
  EXPECT_EQ(open.listIndex(), 1);
  open.panelDoubleClicked();
  EXPECT_FALSE(open.visible());
  EXPECT_EQ(link->sent, QStringList({buildVexMessage(VexCommand::Panel, u"Studio1")}));

  open.show();
  open.setListIndex(0);
  open.cancel();
  EXPECT_FALSE(open.visible());
  EXPECT_EQ(link->sent.size(), 1);
}

TEST(StatusLine, FollowsTheConnectionState) {
  ConnectionStatus status;
  const qint32 green = ConnectionStatus::kGreen, yellow = ConnectionStatus::kYellow,
               red = ConnectionStatus::kLightRed;
  const struct {
    qint16 state;
    bool paused, hunting;
    const char *text;
    qint32 color;
  } steps[] = {
      {0, false, false, "Not Connected", red}, {0, false, true, "Connecting", yellow},
      {7, false, true, "Connected", green},    {7, false, true, "Connected", green},
      {7, true, true, "Connected", green},     {0, false, true, "Connecting", yellow},
      {0, true, true, "Waiting", red},         {0, false, true, "Connecting", yellow},
      {7, false, true, "Connected", green},
  };
  for (const auto &s : steps) {
    status.setConnectedLabel(s.state, s.paused, s.hunting);
    EXPECT_EQ(status.text(), s.text);
    EXPECT_EQ(status.color(), s.color) << s.text;
  }
  QSignalSpy changed(&status, &ConnectionStatus::changed);
  status.showConnecting();
  EXPECT_EQ(status.text(), "Connecting");
  // The refresh after an asked-for connection shows the state again.
  status.setConnectedLabel(7, false, true);
  EXPECT_EQ(status.text(), "Connected");
  EXPECT_EQ(changed.count(), 2);
}

TEST_F(Dialogs, AnUnusableAddressIsRefusedAndNeverRememberedAndWorkLocallyForgetsTheServer) {
  programSettings().serverAddress.clear();
  ConnectDialogLogic &dialog = session.connectDialog();
  const struct {
    const char *address, *port, *message;
  } cases[] = {
      {"", "5200", "Enter the address of the server, or choose Work Locally."},
      {"  ", "5200", "Enter the address of the server, or choose Work Locally."},
      {"core 2", "5200", "Invalid Address"},
      {"../x", "5200", "Invalid Address"},
  };
  for (const auto &c : cases) {
    host.fakeUi.messages.clear();
    dialog.show();
    dialog.addressEdit = c.address;
    dialog.portEdit = c.port;
    dialog.connectToServer();
    EXPECT_EQ(host.fakeUi.messageTexts(), QStringList({c.message})) << c.address;
    EXPECT_TRUE(dialog.visible()) << c.address;
    EXPECT_FALSE(programSettings().serverMode) << c.address;
    EXPECT_FALSE(QFile::exists(rememberedFile())) << c.address;
  }
  // A bad port with no server known before remembers nothing either.
  dialog.addressEdit = "core2";
  dialog.portEdit = "52a0";
  dialog.connectToServer();
  EXPECT_FALSE(QFile::exists(rememberedFile()));

  dialog.show();
  dialog.addressEdit = "core2";
  dialog.portEdit = "5201";
  dialog.connectToServer();
  ASSERT_TRUE(QFile::exists(rememberedFile()));
  EXPECT_TRUE(programSettings().serverMode);
  dialog.show();
  dialog.workLocally();
  EXPECT_FALSE(dialog.visible());
  EXPECT_FALSE(programSettings().serverMode);
  EXPECT_FALSE(QFile::exists(rememberedFile()));
  EXPECT_EQ(link->forced.size(), 1);
}
