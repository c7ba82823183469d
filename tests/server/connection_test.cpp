// The TCP link: hunting with growing, varied waits and a pause after five
// failures, text in Windows-1252 both ways, and connecting again by itself
// after the server drops the link.
#include "server/connection.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {
// A port on this machine where nothing listens.
quint16 closedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  const quint16 port = probe.serverPort();
  probe.close();
  return port;
}
}  // namespace

TEST(Connection, SplitsAddressAndPort) {
  const struct {
    const char *address, *host;
    quint16 port;
  } cases[] = {
      {"10.0.0.5", "10.0.0.5", 5200}, {"core:6000", "core", 6000},  {" core:40000 ", "core", 40000},
      {"core:0", "core", 5200},       {"core:99999", "core", 5200}, {"core:x", "core", 5200},
      {"[::1]:6001", "::1", 6001},    {"::1", "::1", 5200},         {"[fe80::1]", "fe80::1", 5200},
  };
  for (const auto &c : cases) {
    const auto [host, port] = ServerConnection::splitAddress(c.address, 5200);
    EXPECT_EQ(host, c.host) << c.address;
    EXPECT_EQ(port, c.port) << c.address;
  }
}

TEST(Connection, RetriesWithGrowingWaitsAndPausesAfterFiveFailures) {
  ServerConnection link;
  link.setJitterSource([] { return 0.5; });  // the middle of the variation: the base wait
  QSignalSpy status(&link, &VexConnection::statusChanged);
  const QString address = QStringLiteral("127.0.0.1:%1").arg(closedPort());
  link.startHunting({address});
  EXPECT_TRUE(link.huntingInitialized());
  EXPECT_EQ(link.currentName(), address);
  const int expected[] = {500, 1000, 2000, 4000, 30000, 16000, 30000, 30000, 30000, 30000};
  for (int i = 0; i < int(std::size(expected)); ++i) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.failuresInARow() == i + 1; }, 5000));
    EXPECT_TRUE(link.retryTimer.isActive());
    EXPECT_EQ(link.retryTimer.interval(), expected[i]) << i;
    EXPECT_EQ(link.currentName(), (i + 1) % 5 == 0 ? QString("Hunt Paused") : address) << i;
    EXPECT_EQ(link.connectionState(), 0);
    link.retryTick();
  }
  EXPECT_GE(status.count(), 4);  // each pause and each return to the address

  // The variation stays within a fifth either way and under the cap.
  for (double u : {0.0, 0.999}) {
    ServerConnection other;
    other.setJitterSource([u] { return u; });
    other.startHunting({address});
    ASSERT_TRUE(QTest::qWaitFor([&] { return other.failuresInARow() == 1; }, 5000));
    EXPECT_EQ(other.retryTimer.interval(), u == 0.0 ? 400 : 599);
  }
  EXPECT_EQ(ServerConnection::baseRetryDelay(40), 30000);
}

TEST(Connection, AnAttemptThatHangsCountsAsAFailure) {
  ServerConnection link;
  // A documentation address: nothing answers, the attempt hangs or fails.
  link.startHunting({QStringLiteral("192.0.2.1:5200")});
  EXPECT_EQ(link.connectTimeoutTimer.interval(), 5000);
  if (link.failuresInARow() == 0 && link.connectTimeoutTimer.isActive()) link.connectTimeoutTick();
  EXPECT_EQ(link.failuresInARow(), 1);
  EXPECT_TRUE(link.retryTimer.isActive());
  EXPECT_FALSE(link.connectTimeoutTimer.isActive());
}

TEST(Connection, ASecondRequestGoesToTheNewServerAtOnce) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  ServerConnection link;
  link.setDefaultPort(server.serverPort());
  link.forceConnect(QStringLiteral("127.0.0.1:%1").arg(closedPort()));
  ASSERT_TRUE(QTest::qWaitFor([&] { return link.failuresInARow() == 1; }, 5000));
  QSignalSpy connected(&link, &VexConnection::connected);
  link.forceConnect(QStringLiteral("127.0.0.1"));  // the default port
  EXPECT_EQ(link.huntList(), QStringList({"127.0.0.1"}));
  EXPECT_EQ(link.failuresInARow(), 0);
  EXPECT_FALSE(link.retryTimer.isActive());
  ASSERT_TRUE(QTest::qWaitFor([&] { return connected.count() == 1; }, 5000));
  EXPECT_EQ(link.connectionState(), 7);
}

TEST(Connection, CarriesWindows1252AndReconnectsAfterALoss) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  ServerConnection link;
  QSignalSpy connected(&link, &VexConnection::connected);
  QSignalSpy closed(&link, &VexConnection::Closed);
  QSignalSpy received(&link, &VexConnection::receivedData);
  EXPECT_FALSE(link.sendVexCommand("too early"));
  link.forceConnect(QStringLiteral("127.0.0.1:%1").arg(server.serverPort()));
  ASSERT_TRUE(QTest::qWaitFor([&] { return connected.count() == 1; }, 5000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections(); }, 5000));
  QTcpSocket *peer = server.nextPendingConnection();

  EXPECT_TRUE(link.sendVexCommand(QString::fromUtf8("Caf\u00e9 \u20ac5")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return peer->bytesAvailable() == qint64(7); }, 5000));
  EXPECT_EQ(peer->readAll(), QByteArray("Caf\xe9 \x80"
                                        "5"));
  peer->write("\x80\xe9\x02\x03");
  ASSERT_TRUE(QTest::qWaitFor([&] { return received.count() == 1; }, 5000));
  EXPECT_EQ(received[0][0].toString(), QString::fromUtf8("\u20ac\u00e9\x02\x03"));

  // The server drops the link: Closed, then the link comes back by itself.
  QSignalSpy status(&link, &VexConnection::statusChanged);
  peer->abort();
  ASSERT_TRUE(QTest::qWaitFor([&] { return closed.count() == 1; }, 5000));
  EXPECT_EQ(status.count(), 0);  // the status line is refreshed by its own timer
  EXPECT_EQ(link.connectionState(), 0);
  EXPECT_TRUE(link.retryTimer.isActive());
  ASSERT_TRUE(QTest::qWaitFor([&] { return connected.count() == 2; }, 5000));

  // Closing stops the hunt.
  link.closeMasterConnection();
  EXPECT_EQ(closed.count(), 2);
  EXPECT_FALSE(link.retryTimer.isActive());
}
