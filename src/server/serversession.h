#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "server/connectdialoglogic.h"
#include "server/connectionstatus.h"
#include "server/logindialoglogic.h"
#include "server/openpaneldialoglogic.h"

class ServerHost;
class VexConnection;
class VexConnector;

// Everything of the server link the main window holds: the connector
// (created on first use, with the connection the factory makes), the
// connect, login and open-panel dialogs' logic, and the status line.
class ServerSession : public QObject {
  Q_OBJECT
 public:
  using ConnectionFactory = std::function<std::unique_ptr<VexConnection>()>;

  explicit ServerSession(ServerHost &host, QObject *parent = nullptr);
  ~ServerSession() override;

  // The connection the connector will use (a TCP link unless replaced).
  // Takes effect when the connector is created.
  void setConnectionFactory(ConnectionFactory factory) { m_factory = std::move(factory); }

  VexConnector &Connector();
  VexConnector *connectorIfCreated() const { return m_connector.get(); }

  ServerHost &host() { return m_host; }
  ConnectDialogLogic &connectDialog() { return m_connect; }
  LoginDialogLogic &loginDialog() { return m_login; }
  OpenPanelDialogLogic &openDialog() { return m_open; }
  ConnectionStatus &status() { return m_status; }

  // Shows the connector's state on the status line ("Not Connected" while
  // there is no connector).
  void setConnectedLabel();
  // Works with this server from now on: connects to it (the status line
  // shows "Connecting" at once) and remembers it for the next start.
  void connectToServer(const QString &address, quint16 port);

 private:
  ServerHost &m_host;
  ConnectionFactory m_factory;
  ConnectionStatus m_status;
  ConnectDialogLogic m_connect{*this};
  LoginDialogLogic m_login{*this};
  OpenPanelDialogLogic m_open{*this};
  std::unique_ptr<VexConnector> m_connector;
};
