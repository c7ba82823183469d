#pragma once

#include <QCoreApplication>
#include <QList>
#include <QMap>
#include <QStringList>

#include "server/vexconnection.h"
#include "server/vexprotocol.h"

// A link that is up or down as the test says and keeps what was sent.
class FakeConnection : public VexConnection {
 public:
  QStringList sent;
  QStringList forced;  // every forceConnect address
  QStringList hunted;  // every startHunting list, joined
  qint16 state = 0;
  QString name;
  bool hunting = false;
  quint16 defaultPort = 0;
  bool refuseSends = false;
  // Answers a panel request (43) with what was last stored (45) under its
  // name, as a server that keeps what it is sent does.
  bool echoStores = false;
  QMap<QString, QString> stored;

  bool sendVexCommand(const QString &text) override {
    if (state != 7 || refuseSends) return false;
    sent << text;
    if (echoStores) echo(text);
    return true;
  }
  qint16 connectionState() const override { return state; }
  void closeMasterConnection() override { linkDown(); }
  void forceConnect(const QString &address) override {
    forced << address;
    hunting = true;
  }
  void startHunting(const QStringList &connections) override {
    hunted << connections.join(u',');
    hunting = true;
  }
  void setDefaultPort(quint16 port) override { defaultPort = port; }
  QString currentName() const override { return name; }
  bool huntingInitialized() const override { return hunting; }

  void linkUp() {
    state = 7;
    emit connected();
  }
  void linkDown() {
    state = 0;
    emit Closed();
  }
  // The text arrives, then the event loop runs what the handler left for later.
  void receive(const QString &text) {
    emit receivedData(text);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
  }
  void echo(const QString &text) {
    using namespace VexProtocol;
    const int code = text.size() > 2 ? text[2].unicode() : -1;
    const QString payload = text.mid(15).chopped(2);
    const qsizetype sep = payload.indexOf(kFieldSeparator);
    if (code == VexCommand::StorePanel && sep > 0)
      stored[listedPanelName(payload.left(sep)).toLower()] = payload.mid(sep + 1);
    const QString key = payload.toLower();  // a request names the panel as listed
    if (code == VexCommand::Panel && stored.contains(key))
      emit receivedData(buildVexMessage(code, payload + kFieldSeparator + stored[key]));
  }
  // The command codes of the messages sent so far, as numbers.
  QList<int> sentCodes() const {
    QList<int> codes;
    for (const QString &m : sent) codes << (m.size() > 2 ? m[2].unicode() : -1);
    return codes;
  }
};
