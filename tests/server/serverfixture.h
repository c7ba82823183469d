#pragma once

// A connector over a scripted connection, with a main window stand-in that
// records the panels it is asked to open.

#include <QStringList>
#include <memory>
#include <vector>

#include "model/settings.h"
#include "server/serverhost.h"
#include "server/serversession.h"
#include "server/vexconnection.h"
#include "server/vexconnector.h"
#include "server/vexprotocol.h"
#include "support/fakeui.h"

// A link that is up or down as the test says and keeps what was sent.
class FakeConnection : public VexConnection {
 public:
  QStringList sent;
  QStringList forced;  // every ForceConnect address
  QStringList hunted;  // every StartHunting list, joined
  qint16 state = 0;
  QString name;
  bool hunting = false;
  quint16 defaultPort = 0;
  bool refuseSends = false;

  bool SendVexCommand(const QString &text) override {
    if (state != 7 || refuseSends) return false;
    sent << text;
    return true;
  }
  qint16 GetConnectionState() const override { return state; }
  void CloseMasterConnection() override { linkDown(); }
  void ForceConnect(const QString &address) override {
    forced << address;
    hunting = true;
  }
  void StartHunting(const QStringList &connections) override {
    hunted << connections.join(u',');
    hunting = true;
  }
  void SetDefaultPort(quint16 port) override { defaultPort = port; }
  QString CurrentName() const override { return name; }
  bool HuntingInitialized() const override { return hunting; }

  void linkUp() {
    state = 7;
    emit Connected();
  }
  void linkDown() {
    state = 0;
    emit Closed();
  }
  void receive(const QString &text) { emit ReceivedData(text); }
  // The command codes of the messages sent so far, as numbers.
  QList<int> sentCodes() const {
    QList<int> codes;
    for (const QString &m : sent) codes << (m.size() > 2 ? m[2].unicode() : -1);
    return codes;
  }
};

// The main window's side, recorded.
class FakeHost : public ServerHost {
 public:
  struct Opened {
    QString document, path, tagName;
  };
  FakeUi fakeUi;
  QStringList openPaths;
  std::vector<Opened> opened;

  Ui &ui() override { return fakeUi; }
  bool IsPanelPathOpen(const QString &path) const override {
    for (const QString &p : openPaths)
      if (p.compare(path, Qt::CaseInsensitive) == 0) return true;
    return false;
  }
  void OpenDeliveredPanel(const QString &document, const QString &path,
                          const QString &tagName) override {
    opened.push_back({document, path, tagName});
    openPaths << path;
  }
};

// A message as the server sends it (header fields of its own).
inline QString ServerMessage(int code, const QString &payload) {
  QString m = BuildVexMessage(code, payload);
  m.replace(3, 12, QStringLiteral("0001000A00FF"));
  return m;
}

// A session whose connector talks over a FakeConnection.
struct ConnectorFixture {
  FakeHost host;
  ServerSession session{host};
  FakeConnection *link = nullptr;

  ConnectorFixture() {
    Settings() = ProgramSettings();
    Settings().strServerAddress = QStringLiteral("10.0.0.5");
    Settings().intServerPort = 5200;
    session.SetConnectionFactory([this] {
      auto connection = std::make_unique<FakeConnection>();
      link = connection.get();
      return connection;
    });
    connector().SetLoginKeyGenerator([] { return 10; });
  }
  frmTcpVexConnector &connector() { return session.Connector(); }
  // Link up and approved without a login; the messages sent so far forgotten.
  void approved() {
    link->linkUp();
    link->receive(ServerMessage(VexCommand::Hello, QStringLiteral("no")));
    link->sent.clear();
  }
};
