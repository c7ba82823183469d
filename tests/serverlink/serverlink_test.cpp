// The server link end to end: the designer's own connection over TCP to
// vex-test-server, started by each test on a free port. Every wait has a
// bound; nothing here sleeps for a fixed time.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <csignal>

#include "app/mainwindowlogic.h"
#include "app/recentpanels.h"
#include "app/startup.h"
#include "components/datetimestamp.h"
#include "model/controlrecord.h"
#include "model/settings.h"
#include "panelfile/localstore.h"
#include "server/connection.h"
#include "server/serversession.h"
#include "server/vexconnector.h"
#include "support/fakeui.h"
#include "support/isolatedsettings.h"
#include "surface/paneleditor.h"

namespace {

// The stand-in server as a child process.
class StandIn {
 public:
  ~StandIn() { stop(); }

  // Starts it with the options on `port` (0: a free one) and waits until it listens.
  bool start(const QString &panels, QStringList options, quint16 port = 0) {
    options << "--panels" << panels << "--port" << QString::number(port);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(VEX_TEST_SERVER), options);
    if (!m_process.waitForStarted(10000)) return false;
    QByteArray out;
    while (!out.contains('\n')) {
      if (!m_process.waitForReadyRead(10000)) return false;
      out += m_process.readAllStandardOutput();
    }
    const QByteArray line = out.left(out.indexOf('\n'));
    if (!line.startsWith("listening on ")) return false;
    m_port = static_cast<quint16>(line.mid(13).toUInt());
    return m_port != 0;
  }
  void stop() {
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.kill();
    m_process.waitForFinished(10000);
  }
  quint16 port() const { return m_port; }
  qint64 pid() const { return m_process.processId(); }

 private:
  QProcess m_process;
  quint16 m_port = 0;
};

const QByteArray kStudio =
    "<Panel>\r\n  <Name>Studio1</Name>\r\n  <Caption>Studio One</Caption>\r\n"
    "  <Width>9600</Width>\r\n  <Height>7200</Height>\r\n  <ControlList>\r\n"
    "    <Control>\r\n      <Type>Button</Type>\r\n      <Name>Btn1</Name>\r\n"
    "      <Caption>Caf\xe9 \x80</Caption>\r\n      <Left>100</Left>\r\n      <Top>200</Top>\r\n"
    "      <Width>1215</Width>\r\n      <Height>495</Height>\r\n    </Control>\r\n"
    "  </ControlList>\r\n  <Version>2024-01-01T00:00:00</Version>\r\n</Panel>\r\n";

// A Ui whose message box runs the event loop while it is open, as a real one
// does; `whileOpen` runs once inside it.
struct ModalUi : FakeUi {
  std::function<void()> whileOpen;
  Answer message(const QString &text, Buttons buttons, const QString &title) override {
    const Answer answer = FakeUi::message(text, buttons, title);
    stayOpen();
    return answer;
  }
  void failure(const QString &text, Severity severity) override {
    FakeUi::failure(text, severity);
    stayOpen();
  }
  void stayOpen() {
    if (auto job = std::exchange(whileOpen, {})) job();
    QEventLoop loop;
    QTimer::singleShot(700, &loop, &QEventLoop::quit);
    loop.exec();
  }
};

struct ServerLink : ::testing::Test {
  QTemporaryDir dir;
  QString panels;
  ModalUi ui;
  std::unique_ptr<MainWindowLogic> designer;
  StandIn server;

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toLocal8Bit());
    programSettings() = ProgramSettings();
    initSettings(programSettings(), dir.path() + "/designer");
    panels = dir.path() + "/server";
    QDir().mkpath(panels);
    writeServerPanel("Studio1.xml", kStudio);
    DateTimeStamp::setClock([] { return QDateTime(QDate(2024, 3, 3), QTime(9, 5, 7)); });
    designer = std::make_unique<MainWindowLogic>(ui);
    designer->load();
  }
  void TearDown() override {
    designer.reset();
    DateTimeStamp::setClock({});
  }

  void writeServerPanel(const QString &name, const QByteArray &bytes) {
    QFile f(panels + "/" + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray serverFile(const QString &name) const {
    QFile f(panels + "/" + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  VexConnector &connector() { return designer->server().Connector(); }
  // Connects through the connect dialog, as a person does.
  void connect(const QString &user = QString(), const QString &password = QString()) {
    ConnectDialogLogic &dialog = designer->server().connectDialog();
    designer->connectToServer();
    dialog.addressEdit = "127.0.0.1";
    dialog.portEdit = QString::number(server.port());
    dialog.loginName = user;
    dialog.loginPassword = password;
    dialog.connectToServer();
  }
  bool approvedWithList(int panelsListed = 1) {
    return connector().linkState() == 7 && connector().loginApproved() &&
           int(connector().panelList().size()) == panelsListed;
  }
  void openFromList(const QString &name) {
    OpenPanelDialogLogic &open = designer->server().openDialog();
    designer->choosePanelToOpen();
    open.setListIndex(int(open.panelList().indexOf(QRegularExpression("^" + name + "\t.*"))));
    open.openSelected();
  }
  // Starts the stand-in, connects and opens its Studio1 (the active panel).
  void openStudio1() {
    ASSERT_TRUE(server.start(panels, {}));
    connect();
    ASSERT_TRUE(QTest::qWaitFor([&] { return approvedWithList(); }, 10000));
    openFromList("Studio1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return designer->openPanels().size() == size_t(1); }, 10000));
  }
  QString statusAfterTick() {
    connector().stateTick();
    return designer->server().status().text();
  }
};

}  // namespace

TEST_F(ServerLink, LogInListOpenChangeAndSaveAsALocalSaveWould) {
  ASSERT_TRUE(server.start(panels, {"--login", "operator:s3cret"}));
  connect("operator");
  ASSERT_TRUE(QTest::qWaitFor([&] { return designer->server().loginDialog().visible(); }, 10000));
  LoginDialogLogic &login = designer->server().loginDialog();
  EXPECT_EQ(login.loginName, "operator");
  login.loginPassword = "s3cret";
  login.logIn();
  ASSERT_TRUE(QTest::qWaitFor([&] { return approvedWithList(); }, 10000));
  EXPECT_EQ(statusAfterTick(), "Connected");
  EXPECT_EQ(connector().panelList()[0].panelCaption, "Studio One");

  openFromList("Studio1");
  ASSERT_TRUE(QTest::qWaitFor([&] { return designer->openPanels().size() == size_t(1); }, 10000));
  PanelEditor *panel = designer->activePanel();
  EXPECT_EQ(panel->model().documentPath,
            QString("tcp://127.0.0.1:%1/Studio1.xml").arg(server.port()));
  ASSERT_EQ(panel->model().panelRecord.records.size(), 1u);
  const auto *button =
      static_cast<const DesignButton *>(panel->model().panelRecord.records[0]->control);
  EXPECT_EQ(button->caption, QString::fromUtf8("Caf\u00e9 \u20ac"));

  panel->insertControl(ControlKind::Label);
  panel->setNeedToSave(true);
  const QByteArray before = serverFile("Studio1.xml");
  EXPECT_TRUE(designer->save());
  EXPECT_FALSE(panel->needToSave());
  ASSERT_TRUE(QTest::qWaitFor([&] { return serverFile("Studio1.xml") != before; }, 10000));

  // Byte for byte what a local save of the same panel writes.
  const QString local = dir.path() + "/local.xml";
  QString error;
  ASSERT_TRUE(savePanelLocal(panel->model(), local, ui, &error)) << error.toStdString();
  QFile localFile(local);
  ASSERT_TRUE(localFile.open(QIODevice::ReadOnly));
  EXPECT_EQ(serverFile("Studio1.xml"), localFile.readAll());
  EXPECT_TRUE(serverFile("Studio1.xml").contains("Caf\xe9 \x80"));
  EXPECT_TRUE(ui.messages.empty()) << ui.messageTexts().join('|').toStdString();
}

TEST_F(ServerLink, ReconnectsByItselfAndSendsAQueuedRequestAfterTheNewApproval) {
  // The stand-in reads the password from a file, so it never shows in `ps`.
  QTemporaryFile passwordFile;
  ASSERT_TRUE(passwordFile.open());
  passwordFile.write("s3cret\n");
  passwordFile.flush();
  ASSERT_TRUE(
      server.start(panels, {"--login", "operator", "--password-file", passwordFile.fileName()}));
  const quint16 port = server.port();
  connect("operator", "s3cret");  // the password answers the server by itself
  ASSERT_TRUE(QTest::qWaitFor([&] { return approvedWithList(); }, 10000));

  server.stop();
  ASSERT_TRUE(QTest::qWaitFor([&] { return connector().linkState() == qint16(0); }, 10000));
  EXPECT_EQ(statusAfterTick(), "Connecting");
  connector().openPanel("Studio1");
  EXPECT_EQ(connector().pendingPanels(), QStringList({"Studio1"}));

  ASSERT_TRUE(server.start(panels, {"--login", "operator:s3cret"}, port));
  ASSERT_TRUE(QTest::qWaitFor([&] { return designer->openPanels().size() == size_t(1); }, 20000));
  EXPECT_TRUE(connector().pendingPanels().isEmpty());
  EXPECT_EQ(statusAfterTick(), "Connected");
  EXPECT_FALSE(designer->server().loginDialog().visible());
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ServerLink, GarbageBeforeTheAnswersIsDropped) {
  ASSERT_TRUE(server.start(panels, {"--garbage", "200000", "--chunk", "4096"}));
  connect();
  ASSERT_TRUE(QTest::qWaitFor([&] { return approvedWithList(); }, 10000));
  openFromList("Studio1");
  ASSERT_TRUE(QTest::qWaitFor([&] { return designer->openPanels().size() == size_t(1); }, 10000));
}

TEST_F(ServerLink, AnEndlessMessageIsCutOffAtTheCapAndLaterMessagesAreRead) {
  const qint64 endless = VexReceiveBuffer::kDefaultCap + 4 * 1024 * 1024;
  ASSERT_TRUE(server.start(panels, {"--unframed", QString::number(endless)}));
  connect();
  ASSERT_TRUE(QTest::qWaitFor([&] { return approvedWithList(); }, 60000));
  EXPECT_LE(connector().receiveBufferSize(), VexReceiveBuffer::kDefaultCap);
  openFromList("Studio1");
  ASSERT_TRUE(QTest::qWaitFor([&] { return designer->openPanels().size() == size_t(1); }, 10000));
  EXPECT_LT(connector().receiveBufferSize(), 1024);
}

TEST_F(ServerLink, ALinkDroppedMidMessageLeavesNoHalfPanel) {
  // A panel large enough that the first link closes in its middle.
  QByteArray big = kStudio;
  big.replace("  <ControlList>",
              "  <OnLoad>" + QByteArray(6000, 'x') + "</OnLoad>\r\n  <ControlList>");
  writeServerPanel("Studio1.xml", big);
  ASSERT_TRUE(server.start(panels, {"--close-after", "3000", "--chunk", "500"}));
  connector().openPanel("Studio1");  // goes out with the first approval
  connect();
  // The first link delivers half the panel and closes; the second approves.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return approvedWithList() && connector().pendingPanels().isEmpty(); }, 10000));
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return connector().link().currentName() == "127.0.0.1" && connector().linkState() == 7 &&
               connector().receiveBufferSize() == 0;
      },
      10000));
  EXPECT_TRUE(designer->openPanels().empty());
  connector().openPanel("Studio1");
  ASSERT_TRUE(QTest::qWaitFor([&] { return designer->openPanels().size() == size_t(1); }, 10000));
  EXPECT_EQ(designer->activePanel()->model().panelRecord.records.size(), 1u);
}

TEST_F(ServerLink, AServerThatNeverAnswersLeavesTheProgramWorking) {
  ASSERT_TRUE(server.start(panels, {"--silent"}));
  connect();
  ASSERT_TRUE(QTest::qWaitFor([&] { return connector().linkState() == qint16(7); }, 10000));
  bool ticked = false;
  QTimer::singleShot(50, [&] { ticked = true; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticked; }, 5000));  // events still flow
  EXPECT_FALSE(connector().loginApproved());
  // Requests wait; a save says why it did not happen.
  connector().openPanel("Studio1");
  EXPECT_EQ(connector().pendingPanels().size(), 1);
  PanelEditor *panel = designer->newPanel();
  panel->model().documentPath = connector().derivePanelPath("Panel1");
  panel->setNeedToSave(true);
  EXPECT_FALSE(designer->save());
  EXPECT_TRUE(panel->needToSave());
  EXPECT_EQ(ui.firstLines(), QStringList({"Failed to save panel - not logged in to the server"}));
}

TEST_F(ServerLink, APanelArrivingWhileAMessageBoxIsOpenOpensWhenItCloses) {
  writeServerPanel("Bad.xml", "this is not a panel");
  ASSERT_TRUE(server.start(panels, {}));
  connect();
  ASSERT_TRUE(QTest::qWaitFor([&] { return approvedWithList(2); }, 10000));
  // The server answers this request while the box about the bad panel is
  // open, and sends nothing after it.
  ui.whileOpen = [&] { connector().openPanel("Studio1"); };
  connector().openPanel("Bad");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !ui.messages.empty(); }, 10000));
  EXPECT_TRUE(ui.messages[0].text.startsWith("Error reading file"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return designer->openPanels().size() == size_t(1); }, 5000));
  EXPECT_EQ(designer->activePanel()->model().canvas.tag, "Studio1");
}

TEST_F(ServerLink, ASaveIntoAHungServerStaysUnsavedWithAMessage) {
  ASSERT_NO_FATAL_FAILURE(openStudio1());
  PanelEditor *panel = designer->activePanel();
  panel->insertControl(ControlKind::Label);
  panel->setNeedToSave(true);
  ASSERT_EQ(::kill(pid_t(server.pid()), SIGSTOP), 0);
  connector().setReadBackTimeout(500);
  EXPECT_FALSE(designer->save());
  ::kill(pid_t(server.pid()), SIGCONT);
  EXPECT_TRUE(panel->needToSave());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.startsWith("The server has not confirmed the save of Studio1"));
  // Once the server answers again, a save goes through.
  connector().setReadBackTimeout(10000);
  EXPECT_TRUE(designer->save());
  EXPECT_FALSE(panel->needToSave());
}

// A server that accepts each link, asks for a login and drops the link at
// once: the designer backs off as from a refused connection, and the one
// login dialog keeps the half-typed password across the new links.
TEST_F(ServerLink, AServerThatDropsEachLinkAtOnceIsBackedOffAndTheLoginDialogStays) {
  ASSERT_TRUE(server.start(panels, {"--login", "operator:s3cret", "--drop-after-hello"}));
  auto *link = dynamic_cast<ServerConnection *>(&connector().link());
  ASSERT_NE(link, nullptr);
  int links = 0;
  QObject::connect(link, &VexConnection::connected, [&] { ++links; });
  LoginDialogLogic &login = designer->server().loginDialog();
  int shown = 0;
  QObject::connect(&login, &LoginDialogLogic::visibleChanged,
                   [&](bool visible) { shown += visible; });
  connect("operator");
  ASSERT_TRUE(QTest::qWaitFor([&] { return login.visible(); }, 10000));
  login.loginPassword = "s3c";
  ASSERT_TRUE(QTest::qWaitFor([&] { return links >= 3 && !link->connectionState(); }, 20000));
  // Each dropped link counted as a failure: the waits grow as for refused links.
  EXPECT_GE(link->failuresInARow(), 2);
  EXPECT_GE(link->retryTimer.interval(),
            ServerConnection::baseRetryDelay(link->failuresInARow()) * 4 / 5);
  EXPECT_TRUE(login.visible());
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(login.loginPassword, "s3c");
}

// Two servers each hold a Keys panel. Connected to the second, the recent
// entry of the first's Keys does not open the second's: the user is offered
// the first server, and Keys opens from there.
TEST_F(ServerLink, ARecentServerPanelOpensFromItsOwnServerOnly) {
  isolateSettings(dir.path() + "/settings", "serverlink-test");
  RecentPanels recent(*designer);
  QByteArray keys = kStudio;
  writeServerPanel("Keys.xml", keys.replace("Studio One", "Keys of the first"));
  ASSERT_TRUE(server.start(panels, {}));
  const QString otherPanels = dir.path() + "/other";
  QDir().mkpath(otherPanels);
  {
    QFile f(otherPanels + "/Keys.xml");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(kStudio).replace("Studio One", "Keys of the second"));
  }
  StandIn second;
  ASSERT_TRUE(second.start(otherPanels, {}));
  const QString firstKeys = QString("tcp://127.0.0.1:%1/Keys.xml").arg(server.port());

  ConnectDialogLogic &dialog = designer->server().connectDialog();
  designer->connectToServer();
  dialog.addressEdit = "127.0.0.1";
  dialog.portEdit = QString::number(second.port());
  dialog.connectToServer();
  ASSERT_TRUE(QTest::qWaitFor([&] { return approvedWithList(); }, 10000));

  ui.answers = {Ui::Answer::Yes};
  ui.whileOpen = [] {};
  EXPECT_EQ(recent.openRecentPanel(firstKeys), nullptr);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(
      ui.messages[0].text.contains(QString("connected to 127.0.0.1:%1").arg(second.port())));
  ASSERT_TRUE(QTest::qWaitFor([&] { return designer->openPanels().size() == size_t(1); }, 10000));
  PanelEditor *panel = designer->activePanel();
  EXPECT_EQ(panel->model().documentPath, firstKeys);
  EXPECT_EQ(panel->caption(), "Keys of the first");
  EXPECT_EQ(programSettings().serverPort, server.port());
}

// The link carries panels in the code page, where a character it cannot
// hold becomes "?". The read-back is compared with what the link carried,
// so such a save is confirmed as the server stored it instead of staying
// changed on every retry.
TEST_F(ServerLink, ASaveOfTextTheCodePageCannotHoldIsConfirmedAsCarried) {
  ASSERT_NO_FATAL_FAILURE(openStudio1());
  PanelEditor *panel = designer->activePanel();
  auto *button = static_cast<DesignButton *>(panel->model().panelRecord.records[0]->control);
  button->caption = QString::fromUtf8("\u03A9mega \u20AC");
  panel->setNeedToSave(true);
  EXPECT_TRUE(designer->save());
  EXPECT_FALSE(panel->needToSave());
  EXPECT_TRUE(serverFile("Studio1.xml").contains("?mega \x80"));
  EXPECT_TRUE(ui.messages.empty()) << ui.messageTexts().join('|').toStdString();
}
