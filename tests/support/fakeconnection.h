#pragma once

#include <QList>
#include <QStringList>

#include "server/vexconnection.h"

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
