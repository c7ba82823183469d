#pragma once

#include <QString>
#include <QStringList>

#include "server/vexconnection.h"

// A link that is always up and hands on whatever it is given, for programs
// that drive the connector's receive path directly (fuzzing, benchmarks).
class OpenLink : public VexConnection {
 public:
  bool SendVexCommand(const QString &) override { return true; }
  qint16 GetConnectionState() const override { return 7; }
  void CloseMasterConnection() override {}
  void ForceConnect(const QString &) override {}
  void StartHunting(const QStringList &) override {}
  void SetDefaultPort(quint16) override {}
  QString CurrentName() const override { return QString(); }
  bool HuntingInitialized() const override { return true; }

  void up() { emit Connected(); }
  void receive(const QString &text) { emit ReceivedData(text); }
};
