#pragma once

#include <QString>
#include <QStringList>

#include "server/vexconnection.h"

// A link that is always up and hands on whatever it is given, for programs
// that drive the connector's receive path directly (fuzzing, benchmarks).
class OpenLink : public VexConnection {
 public:
  bool sendVexCommand(const QString &) override { return true; }
  qint16 connectionState() const override { return 7; }
  void closeMasterConnection() override {}
  void forceConnect(const QString &) override {}
  void startHunting(const QStringList &) override {}
  void setDefaultPort(quint16) override {}
  QString currentName() const override { return QString(); }
  bool huntingInitialized() const override { return true; }

  void up() { emit connected(); }
  void receive(const QString &text) { emit receivedData(text); }
};
