// The connector against a scripted link: framing, cutting the received text
// into messages, every reply, the panel queue, saving and the panel list.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "server/loginencoding.h"
#include "serverfixture.h"

using namespace VexProtocol;

namespace {
struct Connector : ::testing::Test, ConnectorFixture {};

const QString kDoc = QStringLiteral("<Panel>\r\n  <Name>Studio1</Name>\r\n</Panel>\r\n");
QString panelMessage(const QString &name, const QString &doc) {
  return serverMessage(VexCommand::Panel, name + kFieldSeparator + doc);
}

// The warnings logged while it lives.
struct LoggedWarnings {
  inline static QStringList *lines = nullptr;
  QStringList caught;
  QtMessageHandler previous;
  LoggedWarnings() {
    lines = &caught;
    previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
          if (type == QtWarningMsg && lines) *lines << text;
        });
  }
  ~LoggedWarnings() {
    qInstallMessageHandler(previous);
    lines = nullptr;
  }
};
}  // namespace

TEST_F(Connector, FramesRequestsAndGreetsEachNewLink) {
  EXPECT_EQ(buildVexMessage(VexCommand::Panel, u"Studio1"),
            QString("\x02\x02+000000000000Studio1\x03\x03"));
  connector();
  link->linkUp();
  EXPECT_EQ(link->sent, QStringList({QString("\x02\x02\x01"
                                             "000000000000F\x03\x03")}));
  link->linkDown();
  link->linkUp();
  EXPECT_EQ(link->sent.size(), 2);
}

TEST_F(Connector, ConnectUsesTheProgramWideAddressAndPort) {
  QSignalSpy connecting(&connector(), &VexConnector::connectingStarted);
  programSettings().serverPort = 40000;
  connector().connectToHost("ignored", 1);
  EXPECT_EQ(link->forced, QStringList({"10.0.0.5"}));
  EXPECT_EQ(link->defaultPort, 40000);
  EXPECT_EQ(connecting.count(), 1);
}

TEST_F(Connector, CutsTheReceivedTextIntoMessages) {
  approved();
  const QString delivery = panelMessage("Studio1", kDoc);
  // Frame start, code, header and half the document, then the rest.
  const qsizetype half = 15 + 10;
  link->receive(delivery.left(half));
  EXPECT_TRUE(host.opened.empty());
  link->receive(delivery.mid(half));
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_EQ(host.opened[0].document, kDoc);
  EXPECT_EQ(host.opened[0].path, "tcp://10.0.0.5:5200/Studio1.xml");
  EXPECT_EQ(connector().receiveBufferSize(), 0);

  // Two messages and the start of a third in one delivery.
  const QString third = panelMessage("C", kDoc);
  link->receive(panelMessage("A", kDoc) + panelMessage("B", kDoc) + third.left(20));
  EXPECT_EQ(host.opened.size(), 3u);
  EXPECT_EQ(connector().receiveBufferSize(), 20);
  // One character at a time.
  for (const QChar c : third.mid(20)) link->receive(QString(c));
  EXPECT_EQ(host.opened.size(), 4u);

  // A buffer of exactly two characters is left alone, even a frame end.
  link->receive(kFrameEnd);
  EXPECT_EQ(connector().receiveBufferSize(), 2);
  link->receive(panelMessage("D", kDoc));
  EXPECT_EQ(host.opened.size(), 5u);
  EXPECT_EQ(connector().receiveBufferSize(), 0);
}

TEST_F(Connector, DropsWhatIsNotAMessageAndGoesOn) {
  approved();
  const QString bad[] = {
      QStringLiteral("garbage"),                                        // no frame start
      QString("\x02\x02+0000"),                                         // shorter than 15
      QString("\x02\x02+00x10000000A") + "X" + kFieldSeparator + kDoc,  // header A not a number
      QString("\x02\x02+0000zz00000A") + "X" + kFieldSeparator + kDoc,  // header B not hexadecimal
      serverMessage(99, "whatever").chopped(2),                         // unknown command
      serverMessage(VexCommand::Panel, "no separator").chopped(2),
  };
  for (const QString &text : bad) link->receive(text + kFrameEnd);
  EXPECT_TRUE(host.opened.empty());
  EXPECT_TRUE(host.fakeUi.messages.empty());
  link->receive(panelMessage("Good", kDoc + kFieldSeparator + "ignored third part"));
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_EQ(host.opened[0].document, kDoc);
}

TEST_F(Connector, AnswersToTheHello) {
  const struct {
    const char *payload;
    bool approved, loginAsked;
  } cases[] = {
      {"no", true, false},    {" NO ", true, false},   {"No0", true, false},
      {"no1", true, false},   {"yes", false, true},    {"YES", false, true},
      {" Yes ", false, true}, {"maybe", false, false}, {"no2", false, false},
  };
  for (const auto &c : cases) {
    ConnectorFixture f;
    QSignalSpy login(&f.connector(), &VexConnector::loginRequested);
    f.link->linkUp();
    f.link->receive(serverMessage(VexCommand::Hello, c.payload));
    EXPECT_EQ(f.connector().loginApproved(), c.approved) << c.payload;
    EXPECT_EQ(login.count(), c.loginAsked ? 1 : 0) << c.payload;
    // Approval sends 41 at once; nothing else answers.
    EXPECT_EQ(f.link->sentCodes(), c.approved ? QList<int>({1, 41}) : QList<int>({1})) << c.payload;
  }
}

TEST_F(Connector, AnAddressAnswerMovesTheServerWithoutReconnecting) {
  const struct {
    const char *payload;
    const char *address;
    quint16 port;
  } cases[] = {
      {"10.0.0.9|||5300", "10.0.0.9", 5300},
      {" core2 ||| 53 01 ", "core2", 5301},
      {"core3|||40000", "core3", 40000},
      {"core4|||5300.5", "core4", 5300},
      {"core5|||abc", "core5", 0},
      {"core6|||70000", "core6", 5200},  // out of range
      {"core7|||-1", "core7", 5200},
      {"no address", "10.0.0.5", 5200},
      {"::1|||5300", "::1", 5300},
      {"core-8.studio_b.example|||5300", "core-8.studio_b.example", 5300},
      // Only a host name or an IP address of at most 253 characters is taken.
      {"bad host|||5300", "10.0.0.5", 5200},
      {"<img src=/dev/zero>|||5300", "10.0.0.5", 5200},
      {"-core|||5300", "10.0.0.5", 5200},
      {"a..b|||5300", "10.0.0.5", 5200},
      {"|||5300", "10.0.0.5", 5200},
  };
  const QString label(63, u'a');
  const QString longest = label + '.' + label + '.' + label + '.' + QString(61, u'b');
  const QString tooLong = longest + 'c';
  const QString longLabel = QString(64, u'a') + ".example";
  const struct {
    QString payload, address;
  } longCases[] = {{longest + "|||5300", longest},
                   {tooLong + "|||5300", "10.0.0.5"},
                   {longLabel + "|||5300", "10.0.0.5"},
                   {QString(1024 * 1024, u'h') + "|||5300", "10.0.0.5"}};
  auto check = [](const QString &payload, const QString &address, quint16 port) {
    ConnectorFixture f;
    f.link->linkUp();
    f.link->receive(serverMessage(VexCommand::Hello, payload));
    EXPECT_EQ(programSettings().serverAddress, address) << payload.left(80).toStdString();
    EXPECT_EQ(programSettings().serverPort, port) << payload.left(80).toStdString();
    EXPECT_TRUE(f.link->forced.isEmpty());
    EXPECT_FALSE(f.connector().loginApproved());
    EXPECT_TRUE(f.host.fakeUi.messages.empty());
    // The panels of this link stay this server's, whatever it announces.
    EXPECT_EQ(f.connector().serverName(), "10.0.0.5:5200");
    f.link->receive(serverMessage(VexCommand::Hello, "no"));
    f.link->receive(panelMessage("Studio1", kDoc));
    ASSERT_EQ(f.host.opened.size(), 1u);
    EXPECT_EQ(f.host.opened[0].path, "tcp://10.0.0.5:5200/Studio1.xml");
  };
  for (const auto &c : cases) check(c.payload, c.address, c.port);
  for (const auto &c : longCases)
    check(c.payload, c.address, c.address == "10.0.0.5" ? 5200 : 5300);
}

TEST_F(Connector, AnswersToTheLogin) {
  const struct {
    const char *payload;
    bool approved;
  } cases[] = {
      {"Yes", true}, {"Yes, welcome", true}, {"yes", false}, {"YES", false},
      {"no", false}, {" no ", false},        {"ok", false},  {"", false},
  };
  for (const auto &c : cases) {
    ConnectorFixture f;
    f.link->linkUp();
    f.connector().sendLogin("operator", "secret");
    f.link->receive(serverMessage(VexCommand::Login, c.payload));
    EXPECT_EQ(f.connector().loginApproved(), c.approved) << c.payload;
    EXPECT_EQ(f.host.fakeUi.messageTexts(),
              c.approved ? QStringList() : QStringList({"Login Rejected."}))
        << c.payload;
    // A refusal opens the login dialog again for another try.
    EXPECT_EQ(f.session.loginDialog().visible(), !c.approved) << c.payload;
    EXPECT_EQ(f.link->sentCodes(), c.approved ? QList<int>({1, 40, 41}) : QList<int>({1, 40}));
  }
  // A rejection with an address takes the address and still says so.
  ConnectorFixture f;
  f.link->linkUp();
  f.connector().sendLogin("operator", "secret");
  f.link->receive(serverMessage(VexCommand::Login, "core9|||5309"));
  EXPECT_EQ(programSettings().serverAddress, "core9");
  EXPECT_EQ(programSettings().serverPort, 5309);
  EXPECT_EQ(f.host.fakeUi.messageTexts(), QStringList({"Login Rejected."}));
}

TEST_F(Connector, SendsTheLoginEncoded) {
  connector();
  link->linkUp();
  connector().sendLogin("abc", "pw");
  ASSERT_EQ(link->sent.size(), 2);
  EXPECT_EQ(link->sent[1],
            buildVexMessage(VexCommand::Login, QStringLiteral("FkXm") + kLoginSeparator +
                                                   passEncodeV2("pw", [] { return 10; })));
}

TEST_F(Connector, AKnownPasswordAnswersTheServerByItselfUntilRefused) {
  programSettings().loginName = "operator";
  programSettings().loginPassword = "secret";
  programSettings().loginServer = "10.0.0.5:5200";
  QSignalSpy login(&connector(), &VexConnector::loginRequested);
  link->linkUp();
  link->receive(serverMessage(VexCommand::Hello, "yes"));
  ASSERT_EQ(link->sentCodes(), QList<int>({1, 40}));
  const QString payload = link->sent[1].mid(15).chopped(2);
  const QStringList fields = payload.split(kLoginSeparator);
  ASSERT_EQ(fields.size(), 2);
  EXPECT_EQ(passDecodeV2(fields[0]), "operator");
  EXPECT_EQ(passDecodeV2(fields[1]), "secret");
  EXPECT_EQ(login.count(), 0);
  // Refused: the message, then the dialog; the next link asks rather than
  // sending the refused password again.
  link->receive(serverMessage(VexCommand::Login, "no"));
  EXPECT_EQ(host.fakeUi.messageTexts(), QStringList({"Login Rejected."}));
  EXPECT_EQ(login.count(), 1);
  link->linkDown();
  link->linkUp();
  link->receive(serverMessage(VexCommand::Hello, "yes"));
  EXPECT_EQ(login.count(), 2);
}

TEST_F(Connector, KeepsPanelRequestsUntilTheServerApproves) {
  connector().openPanel("A");
  connector().openPanel("B");
  EXPECT_EQ(connector().pendingPanels(), QStringList({"A", "B"}));
  link->linkUp();
  connector().openPanel("C");  // linked but not yet approved: it would be lost
  link->receive(serverMessage(VexCommand::Hello, "yes"));
  connector().sendLogin("operator", "secret");
  link->receive(serverMessage(VexCommand::Login, "Yes"));
  EXPECT_EQ(link->sent.mid(2), QStringList({buildVexMessage(41, u""), buildVexMessage(43, u"A"),
                                            buildVexMessage(43, u"B"), buildVexMessage(43, u"C")}));
  EXPECT_TRUE(connector().pendingPanels().isEmpty());
  connector().openPanel("D");
  EXPECT_EQ(link->sent.last(), buildVexMessage(43, u"D"));

  // A lost link keeps the approval, the lists and the queue; a new link
  // waits for a new approval.
  link->receive(serverMessage(VexCommand::PanelNames, "X"));
  link->linkDown();
  connector().openPanel("E");
  EXPECT_TRUE(connector().loginApproved());
  EXPECT_EQ(connector().panelList().size(), 1u);
  link->linkUp();
  link->receive(serverMessage(VexCommand::Hello, "no"));
  EXPECT_EQ(link->sent.last(), buildVexMessage(43, u"E"));
}

TEST_F(Connector, AMessageCutByALostLinkIsNotCompletedByTheNextLink) {
  approved();
  link->receive(panelMessage("Studio1", kDoc).left(30));
  link->linkDown();
  link->linkUp();
  link->receive(serverMessage(VexCommand::Hello, "no"));
  EXPECT_TRUE(host.opened.empty());
  EXPECT_EQ(link->sentCodes(), QList<int>({1, 41}));
}

TEST_F(Connector, StoresPanelsUnderTheLastPartOfTheirPath) {
  approved();
  const struct {
    const char *path, *name;
  } cases[] = {
      {"a/b\\c.xml", "c.xml"},
      {"name/", "name/"},
      {"tcp://10.0.0.5:5200/Studio1.xml", "Studio1.xml"},
      {"Plain.xml", "Plain.xml"},
  };
  for (const auto &c : cases) {
    EXPECT_TRUE(connector().savePanel(c.path, kDoc));
    EXPECT_EQ(link->sent.last(), buildVexMessage(45, QString(c.name) + kFieldSeparator + kDoc));
  }
  EXPECT_TRUE(host.fakeUi.messages.empty());
}

TEST_F(Connector, ASaveThatCannotBeSentSaysWhy) {
  connector();
  const struct {
    int setup;  // 0 link down, 1 linked not approved, 2 approved but the link refuses
    const char *message;
  } cases[] = {
      {0, "Failed to save panel - not connected to the server"},
      {1, "Failed to save panel - not logged in to the server"},
      {2, "Failed to save panel - the link to the server did not take the panel"},
  };
  for (const auto &c : cases) {
    ConnectorFixture f;
    f.connector();
    if (c.setup >= 1) f.link->linkUp();
    if (c.setup == 2) {
      f.link->receive(serverMessage(VexCommand::Hello, "no"));
      f.link->refuseSends = true;
    }
    EXPECT_FALSE(f.connector().savePanel("Studio1.xml", kDoc));
    // The reason first, then what to do, under the critical icon.
    EXPECT_EQ(f.host.fakeUi.firstLines(), QStringList({c.message}));
    EXPECT_TRUE(f.host.fakeUi.messages[0].text.contains("then save again."));
    EXPECT_EQ(f.host.fakeUi.messages[0].severity, Ui::Severity::Critical);
  }
}

TEST_F(Connector, KeepsTheLastPanelList) {
  approved();
  QSignalSpy changed(&connector(), &VexConnector::panelListChanged);
  const struct {
    int code;
    const char *payload;
    std::vector<PanelEntry> entries;
  } cases[] = {
      {42, "A\r\nB\tSecond", {{"A", ""}, {"B", "Second"}}},
      {42, "A\r\nB\tSecond\r\n", {{"A", ""}, {"B", "Second"}}},
      {42, "A\r\n\r\nC", {{"A", ""}}},
      {42, "", {}},
      {44, "A\r\nB\tx\r\n", {{"A", ""}, {"B\tx", ""}}},
      // A names list never offers an empty name, wherever the empty line is.
      {44, "\r\nA\r\n\r\nC\r\n", {{"A", ""}, {"C", ""}}},
  };
  for (const auto &c : cases) {
    link->receive(serverMessage(c.code, c.payload));
    EXPECT_EQ(connector().panelList(), c.entries) << c.payload;
  }
  EXPECT_EQ(changed.count(), 6);

  // Lines longer than 255 characters are left out, with one line in the log
  // for each list that had any.
  LoggedWarnings log;
  const QString longest(255, u'n');
  const QString huge(10 * 1024 * 1024, u'h');
  link->receive(serverMessage(42, "A\r\n" + huge + "\tcaption\r\n" + longest + "\r\n" +
                                      QString(250, u'n') + "\t" + QString(10, u'c') + "\r\nB"));
  EXPECT_EQ(connector().panelList(),
            std::vector<PanelEntry>({{"A", ""}, {longest, ""}, {"B", ""}}));
  link->receive(serverMessage(44, longest + "n\r\nC\r\n" + huge));
  EXPECT_EQ(connector().panelList(), std::vector<PanelEntry>({{"C", ""}}));
  link->receive(serverMessage(44, "D"));
  ASSERT_EQ(log.caught.size(), 2);
  EXPECT_TRUE(log.caught[0].contains("2 lines longer than 255 characters"))
      << log.caught[0].toStdString();
}

TEST_F(Connector, APanelThatIsOpenIsNotOpenedAgain) {
  approved();
  host.openPaths << "TCP://10.0.0.5:5200/STUDIO1.XML";
  link->receive(panelMessage("Studio1", kDoc));
  EXPECT_TRUE(host.opened.empty());
  link->receive(panelMessage("Studio2", kDoc));
  link->receive(panelMessage("Studio2", kDoc));
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_EQ(host.opened[0].tagName, "tcp://10.0.0.5:5200/Studio2.xml");
  // Only a "\" in the name gives a shorter name.
  link->receive(panelMessage("dir\\Studio3", kDoc));
  ASSERT_EQ(host.opened.size(), 2u);
  EXPECT_EQ(host.opened[1].tagName, "Studio3");
}

TEST_F(Connector, PathsAndNamesOfServerPanels) {
  EXPECT_EQ(connector().derivePanelPath("Studio1"), "tcp://10.0.0.5:5200/Studio1.xml");
  approved();
  link->receive(serverMessage(VexCommand::PanelList, "Studio1\tOne\r\nNews"));
  for (const char *name : {"Studio1", "studio1.XML", "STUDIO1", "news.xml"})
    EXPECT_TRUE(connector().doesPanelNameExist(name)) << name;
  for (const char *name : {"Studio", "Studio1.xml.xml", "One", ""})
    EXPECT_FALSE(connector().doesPanelNameExist(name)) << name;
}

TEST_F(Connector, StateOfTheLinkForTheStatusLine) {
  connector();
  EXPECT_EQ(connector().linkState(), 0);
  EXPECT_FALSE(connector().isHuntingEnabled());
  link->hunting = true;
  for (const char *name : {"Paused", "Hunt Paused"}) {
    link->name = name;
    EXPECT_TRUE(connector().isConnectingPaused()) << name;
  }
  for (const char *name : {"", "paused", "10.0.0.5", "Hunt Paused "}) {
    link->name = name;
    EXPECT_FALSE(connector().isConnectingPaused()) << name;
  }
  link->linkUp();
  EXPECT_EQ(connector().linkState(), 7);
  EXPECT_TRUE(connector().isHuntingEnabled());
  QSignalSpy refresh(&connector(), &VexConnector::statusRefreshRequested);
  connector().stateTick();
  emit link->statusChanged();
  EXPECT_EQ(refresh.count(), 2);
  EXPECT_EQ(connector().stateTimer.interval(), 1000);
  EXPECT_TRUE(connector().stateTimer.isActive());
}

TEST_F(Connector, ADeliveredNameThatCouldLeaveAFolderIsRefusedAndNamed) {
  approved();
  const QString tooLong(256, u'a');
  for (const QString &name : {QString("../../../../elsewhere/owned"), QString("a/b"), QString(".."),
                              QString("bell\x07"), tooLong}) {
    host.fakeUi.messages.clear();
    link->receive(panelMessage(name, kDoc));
    EXPECT_TRUE(host.opened.empty()) << name.toStdString();
    ASSERT_EQ(host.fakeUi.messages.size(), 1u) << name.toStdString();
    EXPECT_TRUE(host.fakeUi.messages[0].text.startsWith("The server delivered a panel named \"" +
                                                        name.left(20).replace(u'\x07', u'?')))
        << host.fakeUi.messages[0].text.toStdString();
  }
  link->receive(panelMessage(QString(255, u'a'), kDoc));  // the longest usable name
  EXPECT_EQ(host.opened.size(), 1u);
}

TEST_F(Connector, ASaveIsConfirmedOnlyByTheSameTextReadBack) {
  approved();
  std::vector<bool> results;
  auto record = [&](bool same) { results.push_back(same); };
  // The read-back answers the save and opens no window; a user's own request
  // for the same panel is still answered with a window.
  connector().confirmSave("Studio1.xml", kDoc, record);
  EXPECT_EQ(link->sent.last(), buildVexMessage(VexCommand::Panel, u"Studio1"));
  link->receive(panelMessage("Studio1", kDoc + "\r\n"));
  EXPECT_EQ(results, std::vector<bool>({true}));
  EXPECT_TRUE(host.opened.empty());
  connector().confirmSave("Studio1.xml", kDoc, record);
  connector().openPanel("Studio1");
  link->receive(panelMessage("Studio1", "<Panel/>"));
  EXPECT_EQ(results, std::vector<bool>({true, false}));
  EXPECT_EQ(host.opened.size(), 1u);
  // No answer at all.
  connector().setReadBackTimeout(20);
  connector().confirmSave("Studio2", kDoc, record);
  ASSERT_TRUE(QTest::qWaitFor([&] { return results.size() == 3u; }, 5000));
  EXPECT_FALSE(results[2]);
}

// A server that answers logins nobody sent, or floods the link with
// messages while a box is open, cannot keep the user behind boxes: answers
// to no login are ignored, identical messages merge, and no more than a
// bounded number wait.
TEST_F(Connector, UnaskedLoginAnswersAreIgnoredAndWaitingMessagesMergeUpToABound) {
  QSignalSpy login(&connector(), &VexConnector::loginRequested);
  link->linkUp();
  QString flood;
  for (int i = 0; i < 1000; ++i) flood += serverMessage(VexCommand::Login, "no");
  link->receive(flood + serverMessage(VexCommand::Login, "Yes"));
  EXPECT_TRUE(host.fakeUi.messages.empty());
  EXPECT_EQ(login.count(), 0);
  EXPECT_FALSE(connector().loginApproved());

  // One login sent, a thousand answers: one box, one dialog.
  connector().sendLogin("operator", "secret");
  link->receive(flood);
  EXPECT_EQ(host.fakeUi.messageTexts(), QStringList({"Login Rejected."}));
  EXPECT_EQ(login.count(), 1);

  // While a box is open, the same refused name a hundred times and a
  // hundred different ones: one box for the first, the rest bounded.
  host.fakeUi.messages.clear();
  link->receive(serverMessage(VexCommand::Hello, "no"));
  host.fakeUi.whileOpen = [&] {
    for (int i = 0; i < 100; ++i) link->receive(panelMessage("same/name", kDoc));
    for (int i = 0; i < 100; ++i) link->receive(panelMessage("other/" + QString::number(i), kDoc));
    link->receive(panelMessage("Studio1", kDoc));
  };
  LoggedWarnings log;
  link->receive(panelMessage("first/name", kDoc));
  const QStringList texts = host.fakeUi.messageTexts();
  ASSERT_EQ(texts.size(), 1 + VexConnector::kMostWaitingBoxes);
  EXPECT_TRUE(texts[0].contains("first/name"));
  EXPECT_TRUE(texts[1].contains("same/name"));
  EXPECT_EQ(texts.filter("same/name").size(), 1);
  EXPECT_EQ(log.caught.size(), 100 - (VexConnector::kMostWaitingBoxes - 1));
  // A panel is never left out for the bound on boxes.
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_EQ(host.opened[0].path, "tcp://10.0.0.5:5200/Studio1.xml");
}

// A panel as long as the receive buffer takes opens; what cannot wait while
// a box is open is left out with a message naming it, as is a message over
// the cap.
TEST_F(Connector, DeliveredPanelsWaitUpToTheReceiveCapAndWhatIsLeftOutIsSaid) {
  {
    approved();
    // More than 32 Mi characters, so more than the cap in bytes.
    const QString document =
        "<Panel><Caption>" + QString(34 * 1000 * 1000, u'x') + "</Caption></Panel>";
    link->receive(panelMessage("Big", document));
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0].document.size(), document.size());
    host.opened.clear();
  }
  EXPECT_TRUE(host.fakeUi.messages.empty());

  FakeHost small;
  auto owned = std::make_unique<FakeConnection>();
  FakeConnection *raw = owned.get();
  VexConnector connector(small, std::move(owned), 4096);
  raw->linkUp();
  raw->receive(serverMessage(VexCommand::Hello, "no"));
  const QString doc(3000, u'd');
  small.fakeUi.whileOpen = [&] {
    raw->receive(panelMessage("P1", doc) + panelMessage("P1", doc) + panelMessage("P2", doc));
    raw->receive(serverMessage(VexCommand::Panel, QString(5000, u'z')) + panelMessage("P3", "x"));
    // Many small panels: no more than a bounded number wait.
    QString many;
    for (int i = 0; i < 75; ++i) many += panelMessage("T" + QString::number(i), "");
    raw->receive(many);
  };
  raw->receive(panelMessage("bad/name", kDoc));
  const size_t waited = VexConnector::kMostWaitingPanels;
  ASSERT_EQ(small.opened.size(), waited);
  EXPECT_EQ(small.opened[0].path, "tcp://10.0.0.5:5200/P1.xml");
  EXPECT_EQ(small.opened[1].path, "tcp://10.0.0.5:5200/P3.xml");
  EXPECT_EQ(small.opened.back().path, QString("tcp://10.0.0.5:5200/T%1.xml").arg(waited - 3));
  const QStringList texts = small.fakeUi.messageTexts();
  ASSERT_EQ(texts.size(), 3);
  QStringList leftOut = {"P2"};
  for (size_t i = waited - 2; i < 75; ++i) leftOut << "T" + QString::number(i);
  EXPECT_TRUE(texts[1].contains("These were not opened: " + leftOut.mid(0, 10).join(", ") +
                                QString(" and %1 more.").arg(leftOut.size() - 10)))
      << texts[1].toStdString();
  EXPECT_TRUE(texts[2].startsWith("The server sent a message longer than 4,096 characters"))
      << texts[2].toStdString();
}
