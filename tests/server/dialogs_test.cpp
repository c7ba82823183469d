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

using namespace modClientProtocolConsts;

namespace {
struct Dialogs : ::testing::Test, ConnectorFixture {
  QTemporaryDir config;
  void SetUp() override {
    ASSERT_TRUE(config.isValid());
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    Settings().strHelpAddress = "file:///start/help.pdf";
  }
  QString rememberedFile() const { return config.path() + "/CorvanePC/TessaryConnect.txt"; }
  QByteArray remembered() const {
    QFile f(rememberedFile());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
  }
};
}  // namespace

TEST_F(Dialogs, ConnectTakesTheValuesStartsTheLinkAndRemembersWithoutThePassword) {
  Settings() = ProgramSettings();
  frmConnect &dialog = session.connectDialog();
  dialog.Show();
  EXPECT_EQ(dialog.txtIPAddress, "");
  EXPECT_EQ(dialog.txtPort, "5200");
  EXPECT_EQ(dialog.LoginName, "");
  EXPECT_TRUE(dialog.Visible());
  EXPECT_TRUE(dialog.Timer1.isActive());
  EXPECT_EQ(dialog.Timer1.interval(), 1000);
  QSignalSpy front(&dialog, &frmConnect::keepInFrontRequested);
  dialog.Timer1Tick();
  EXPECT_EQ(front.count(), 1);

  dialog.txtIPAddress = "10.0.0.5";
  dialog.txtPort = "5300";
  dialog.LoginName = "  operator ";
  dialog.LoginPassword = " secret";
  dialog.butConnect_Click();
  const ProgramSettings &s = Settings();
  EXPECT_EQ(s.strServerAddress, "10.0.0.5");
  EXPECT_EQ(s.intServerPort, 5300);
  EXPECT_EQ(s.strLoginName, "operator");
  EXPECT_EQ(s.strLoginPassword, " secret");
  EXPECT_TRUE(s.boolServerMode);
  EXPECT_EQ(link->forced, QStringList({"10.0.0.5"}));
  EXPECT_EQ(link->defaultPort, 5300);
  EXPECT_EQ(session.status().text(), "Connecting");
  EXPECT_EQ(session.status().color(), ConnectionStatus::kYellow);
  EXPECT_FALSE(dialog.Visible());
  EXPECT_FALSE(dialog.Timer1.isActive());
  EXPECT_EQ(remembered(), "tcp://10.0.0.5:5300:operator\r\n");
  EXPECT_EQ(ReadConnectionData(), "tcp://10.0.0.5:5300:operator");

  // The next opening proposes them again, with an empty password box.
  dialog.Show();
  EXPECT_EQ(dialog.txtIPAddress, "10.0.0.5");
  EXPECT_EQ(dialog.txtPort, "5300");
  EXPECT_EQ(dialog.LoginName, "operator");
  EXPECT_EQ(dialog.LoginPassword, "");
}

TEST_F(Dialogs, ABadPortSaysSoClosesAndRewritesTheOldValues) {
  Settings().strLoginName = "ops";
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
    Settings().intServerPort = 5200;
    host.fakeUi.messages.clear();
    frmConnect &dialog = session.connectDialog();
    dialog.Show();
    dialog.txtIPAddress = "core2";
    dialog.txtPort = c.port;
    dialog.butConnect_Click();
    EXPECT_FALSE(dialog.Visible()) << c.port;
    if (c.valid) {
      EXPECT_TRUE(host.fakeUi.messages.empty()) << c.port;
      EXPECT_EQ(Settings().intServerPort, c.value) << c.port;
      EXPECT_EQ(remembered(),
                QByteArray("tcp://core2:") + QByteArray::number(c.value) + ":ops\r\n");
    } else {
      EXPECT_EQ(host.fakeUi.firstLines(), QStringList({"Invalid Port"})) << c.port;
      EXPECT_EQ(host.fakeUi.messages[0].severity, Ui::Severity::Warning);
      EXPECT_EQ(Settings().intServerPort, 5200);
      EXPECT_EQ(remembered(), "tcp://10.0.0.5:5200:ops\r\n") << c.port;
    }
    Settings().strServerAddress = "10.0.0.5";
  }
}

TEST_F(Dialogs, CancelChangesAndWritesNothing) {
  frmConnect &dialog = session.connectDialog();
  dialog.Show();
  dialog.txtIPAddress = "elsewhere";
  dialog.btnCancel_Click();
  EXPECT_FALSE(dialog.Visible());
  EXPECT_EQ(Settings().strServerAddress, "10.0.0.5");
  EXPECT_FALSE(QFile::exists(rememberedFile()));
  EXPECT_EQ(session.connectorIfCreated()->VexWinsock().HuntingInitialized(), false);
  dialog.ShowHelp();
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
    ASSERT_TRUE(WriteTextFileSafely(ConnectionDataFile(), c.content, &error));
    EXPECT_EQ(ReadConnectionData(), c.read) << c.content;
    EXPECT_EQ(QFile::exists(rememberedFile()), c.kept) << c.content;
  }
  QFile::remove(rememberedFile());
  EXPECT_EQ(ReadConnectionData(), "");
}

TEST_F(Dialogs, LoginSendsTheEncodedNamesAndRemembersThem) {
  approved();
  frmLogin &login = session.loginDialog();
  Settings().strLoginName = "  operator  ";
  login.Show();
  EXPECT_TRUE(login.Visible());
  EXPECT_EQ(login.LoginName, "operator");
  EXPECT_TRUE(login.FocusTimer.isActive());
  EXPECT_EQ(login.FocusTimer.interval(), 100);
  login.FocusTimerTick();
  EXPECT_FALSE(login.FocusTimer.isActive());
  EXPECT_EQ(login.focusField(), frmLogin::Field::LoginPassword);

  login.LoginName = " operator ";
  login.LoginPassword = " s3cret ";
  login.LoginButton_Click();
  EXPECT_FALSE(login.Visible());
  EXPECT_EQ(Settings().strLoginName, "operator");
  EXPECT_EQ(Settings().strLoginPassword, "s3cret");
  ASSERT_EQ(link->sentCodes(), QList<int>({40}));
  const QStringList fields = link->sent[0].mid(15).chopped(2).split(strLoginSep);
  EXPECT_EQ(fields, QStringList({PassEncodeV2("operator", [] { return 10; }),
                                 PassEncodeV2("s3cret", [] { return 10; })}));

  // Blank fields go as "Void"; with no name the focus stays in the name box.
  Settings().strLoginName.clear();
  login.LoginName.clear();
  login.Show();
  login.FocusTimerTick();
  EXPECT_EQ(login.focusField(), frmLogin::Field::LoginName);
  login.LoginButton_Click();
  const QStringList voids = link->sent[1].mid(15).chopped(2).split(strLoginSep);
  EXPECT_EQ(PassDecodeV2(voids[0]), "Void");
  EXPECT_EQ(PassDecodeV2(voids[1]), "Void");
}

// A server that drops the link and asks again on the next one finds the
// dialog as the user left it; Enter in the name goes on to the password.
TEST_F(Dialogs, TheServerAskingForALoginShowsOneDialogThatKeepsWhatWasTyped) {
  frmLogin &login = session.loginDialog();
  QSignalSpy shown(&login, &frmLogin::visibleChanged);
  link->linkUp();
  link->receive(ServerMessage(VexCommand::Hello, "yes"));
  EXPECT_TRUE(login.Visible());
  login.LoginName = "operator";
  login.EnterPressed(frmLogin::Field::LoginName);
  EXPECT_EQ(login.focusField(), frmLogin::Field::LoginPassword);
  login.LoginPassword = "s3c";
  for (int i = 0; i < 3; ++i) {
    link->linkDown();
    link->linkUp();
    link->receive(ServerMessage(VexCommand::Hello, "yes"));
  }
  EXPECT_TRUE(login.Visible());
  EXPECT_EQ(shown.count(), 1);
  EXPECT_EQ(login.LoginName, "operator");
  EXPECT_EQ(login.LoginPassword, "s3c");
  EXPECT_EQ(link->sentCodes(), QList<int>({1, 1, 1, 1}));  // no login went out meanwhile
  login.EnterPressed(frmLogin::Field::LoginPassword);
  EXPECT_FALSE(login.Visible());
  EXPECT_EQ(link->sentCodes().back(), 40);
  EXPECT_EQ(Settings().strLoginPassword, "s3c");
}

TEST_F(Dialogs, OpenPanelListsTheServersPanelsAndAsksForTheChosenOne) {
  frmOpenPanelViaVex &open = session.openDialog();
  open.Show();
  EXPECT_TRUE(open.lstPanels().isEmpty());
  open.butOpen_Click();
  // The message says what to do after the usual first line.
  ASSERT_EQ(host.fakeUi.messageTexts().size(), 1);
  EXPECT_TRUE(host.fakeUi.messageTexts()[0].startsWith(
      "No Panel selected to open\n\nThe server lists no panels."));
  EXPECT_TRUE(open.Visible());

  approved();
  link->receive(ServerMessage(VexCommand::PanelList, "Studio1\tStudio One\r\nNews"));
  EXPECT_EQ(open.lstPanels(), QStringList({"Studio1\tStudio One", "News\t"}));
  EXPECT_EQ(open.ListIndex(), 0);  // the first line is chosen when the list arrives
  open.setListIndex(-1);
  open.butOpen_Click();
  EXPECT_EQ(host.fakeUi.messageTexts().last(),
            "No Panel selected to open\n\nSelect a panel in the list, then press Open.");
  open.setListIndex(0);
  // A new list while open keeps the chosen line.
  link->receive(ServerMessage(VexCommand::PanelList, "Alpha\r\nStudio1\tStudio One"));
  EXPECT_EQ(open.ListIndex(), 1);
  open.lstPanels_DblClick();
  EXPECT_FALSE(open.Visible());
  EXPECT_EQ(link->sent, QStringList({BuildVexMessage(VexCommand::Panel, u"Studio1")}));

  open.Show();
  open.setListIndex(0);
  open.butCancel_Click();
  EXPECT_FALSE(open.Visible());
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
    status.SetConnectedLabel(s.state, s.paused, s.hunting);
    EXPECT_EQ(status.text(), s.text);
    EXPECT_EQ(status.color(), s.color) << s.text;
  }
  QSignalSpy changed(&status, &ConnectionStatus::changed);
  status.ShowConnecting();
  EXPECT_EQ(status.text(), "Connecting");
  // The refresh after an asked-for connection shows the state again.
  status.SetConnectedLabel(7, false, true);
  EXPECT_EQ(status.text(), "Connected");
  EXPECT_EQ(changed.count(), 2);
}

TEST_F(Dialogs, AnUnusableAddressIsRefusedAndNeverRememberedAndWorkLocallyForgetsTheServer) {
  Settings().strServerAddress.clear();
  frmConnect &dialog = session.connectDialog();
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
    dialog.Show();
    dialog.txtIPAddress = c.address;
    dialog.txtPort = c.port;
    dialog.butConnect_Click();
    EXPECT_EQ(host.fakeUi.messageTexts(), QStringList({c.message})) << c.address;
    EXPECT_TRUE(dialog.Visible()) << c.address;
    EXPECT_FALSE(Settings().boolServerMode) << c.address;
    EXPECT_FALSE(QFile::exists(rememberedFile())) << c.address;
  }
  // A bad port with no server known before remembers nothing either.
  dialog.txtIPAddress = "core2";
  dialog.txtPort = "52a0";
  dialog.butConnect_Click();
  EXPECT_FALSE(QFile::exists(rememberedFile()));

  dialog.Show();
  dialog.txtIPAddress = "core2";
  dialog.txtPort = "5201";
  dialog.butConnect_Click();
  ASSERT_TRUE(QFile::exists(rememberedFile()));
  EXPECT_TRUE(Settings().boolServerMode);
  dialog.Show();
  dialog.butWorkLocally_Click();
  EXPECT_FALSE(dialog.Visible());
  EXPECT_FALSE(Settings().boolServerMode);
  EXPECT_FALSE(QFile::exists(rememberedFile()));
  EXPECT_EQ(link->forced.size(), 1);
}
