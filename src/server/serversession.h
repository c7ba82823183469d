#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "server/connectionstatus.h"
#include "server/frmconnect.h"
#include "server/frmlogin.h"
#include "server/frmopenpanelviavex.h"

class ServerHost;
class VexConnection;
class frmTcpVexConnector;

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
  void SetConnectionFactory(ConnectionFactory factory) { m_factory = std::move(factory); }

  frmTcpVexConnector &Connector();
  frmTcpVexConnector *connectorIfCreated() const { return m_connector.get(); }

  ServerHost &host() { return m_host; }
  frmConnect &connectDialog() { return m_connect; }
  frmLogin &loginDialog() { return m_login; }
  frmOpenPanelViaVex &openDialog() { return m_open; }
  ConnectionStatus &status() { return m_status; }

  // Shows the connector's state on the status line ("Not Connected" while
  // there is no connector).
  void SetConnectedLabel();
  // Works with this server from now on: connects to it (the status line
  // shows "Connecting" at once) and remembers it for the next start.
  void ConnectToServer(const QString &address, quint16 port);

 private:
  ServerHost &m_host;
  ConnectionFactory m_factory;
  ConnectionStatus m_status;
  frmConnect m_connect{*this};
  frmLogin m_login{*this};
  frmOpenPanelViaVex m_open{*this};
  std::unique_ptr<frmTcpVexConnector> m_connector;
};
