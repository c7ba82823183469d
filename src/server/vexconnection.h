#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The link to the routing server as the connector sees it: a hunt list of
// server addresses, connecting on request and again on its own after a
// loss, text in and out unchanged, and the little state the status line
// shows. ServerConnection realises it over TCP; tests use a fake.
class VexConnection : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

  // Hands the text to the link; false when it could not be sent (no link).
  virtual bool sendVexCommand(const QString &text) = 0;
  // The text as the server receives it: what the link's encoding keeps of it.
  virtual QString carried(const QString &text) const { return text; }
  // 7 while connected, otherwise 0.
  virtual qint16 connectionState() const = 0;
  // Closes the link and stops connecting again.
  virtual void closeMasterConnection() = 0;
  // Leaves the current server and goes to this one now; starts hunting on
  // the first call.
  virtual void forceConnect(const QString &ipForceAddress) = 0;
  // Starts connecting to the addresses in turn and keeps trying.
  virtual void startHunting(const QStringList &connections) = 0;
  // The port for an address that names none ("host" rather than "host:port").
  virtual void setDefaultPort(quint16 port) = 0;

  // The name reported with the last server switch; "Hunt Paused" while the
  // hunt waits after repeated failures.
  virtual QString currentName() const = 0;
  // Hunting has been started once.
  virtual bool huntingInitialized() const = 0;

 signals:
  void Closed();
  void connected();
  void receivedData(const QString &data);
  // Connected, or switched server or paused: the status line should be refreshed.
  void statusChanged();
};
