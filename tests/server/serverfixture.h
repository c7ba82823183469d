#pragma once

// A connector over a scripted connection, with a main window stand-in that
// records the panels it is asked to open.

#include <QEventLoop>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "model/settings.h"
#include "server/serverhost.h"
#include "server/serversession.h"
#include "server/vexconnector.h"
#include "server/vexprotocol.h"
#include "support/fakeconnection.h"
#include "support/fakeui.h"

// A FakeUi whose next message box, while `whileOpen` is set, runs a real
// nested event loop as a shown box does, with that job inside it.
struct BoxLoopUi : FakeUi {
  std::function<void()> whileOpen;
  Answer message(const QString &text, Buttons buttons, const QString &title) override {
    const Answer answer = FakeUi::message(text, buttons, title);
    if (auto job = std::exchange(whileOpen, {})) {
      QEventLoop loop;
      QTimer::singleShot(0, &loop, [&] {
        job();
        loop.quit();
      });
      loop.exec();
    }
    return answer;
  }
};

// The main window's side, recorded.
class FakeHost : public ServerHost {
 public:
  struct Opened {
    QString document, path, tagName;
  };
  BoxLoopUi fakeUi;
  QStringList openPaths;
  std::vector<Opened> opened;

  Ui &ui() override { return fakeUi; }
  bool isPanelPathOpen(const QString &path) const override {
    for (const QString &p : openPaths)
      if (p.compare(path, Qt::CaseInsensitive) == 0) return true;
    return false;
  }
  void openDeliveredPanel(const QString &document, const QString &path,
                          const QString &tagName) override {
    opened.push_back({document, path, tagName});
    openPaths << path;
  }
};

// A message as the server sends it (header fields of its own).
inline QString serverMessage(int code, const QString &payload) {
  QString m = buildVexMessage(code, payload);
  m.replace(3, 12, QStringLiteral("0001000A00FF"));
  return m;
}

// A session whose connector talks over a FakeConnection.
struct ConnectorFixture {
  FakeHost host;
  ServerSession session{host};
  FakeConnection *link = nullptr;

  ConnectorFixture() {
    programSettings() = ProgramSettings();
    programSettings().serverAddress = QStringLiteral("10.0.0.5");
    programSettings().serverPort = 5200;
    session.setConnectionFactory([this] {
      auto connection = std::make_unique<FakeConnection>();
      link = connection.get();
      return connection;
    });
    connector().setLoginKeyGenerator([] { return 10; });
  }
  VexConnector &connector() { return session.Connector(); }
  // Link up and approved without a login; the messages sent so far forgotten.
  void approved() {
    link->linkUp();
    link->receive(serverMessage(VexCommand::Hello, QStringLiteral("no")));
    link->sent.clear();
  }
};
