#include "server/serversession.h"

#include "model/settings.h"
#include "server/connection.h"
#include "server/connectionmemory.h"
#include "server/vexconnector.h"

ServerSession::ServerSession(ServerHost &host, QObject *parent) : QObject(parent), m_host(host) {}

ServerSession::~ServerSession() = default;

frmTcpVexConnector &ServerSession::Connector() {
  if (m_connector) return *m_connector;
  std::unique_ptr<VexConnection> connection =
      m_factory ? m_factory() : std::make_unique<clsCVCoreConnection>();
  m_connector = std::make_unique<frmTcpVexConnector>(m_host, std::move(connection));
  frmTcpVexConnector *c = m_connector.get();
  connect(c, &frmTcpVexConnector::loginRequested, &m_login, &frmLogin::Show);
  connect(c, &frmTcpVexConnector::panelListChanged, &m_open, &frmOpenPanelViaVex::RefreshList);
  connect(c, &frmTcpVexConnector::statusRefreshRequested, this, &ServerSession::SetConnectedLabel);
  connect(c, &frmTcpVexConnector::connectingStarted, &m_status, &ConnectionStatus::ShowConnecting);
  return *m_connector;
}

void ServerSession::SetConnectedLabel() {
  if (!m_connector) {
    m_status.SetConnectedLabel(0, false, false);
    return;
  }
  m_status.SetConnectedLabel(m_connector->GetState(), m_connector->IsConnectingPaused(),
                             m_connector->IsHuntingEnabled());
}

void ServerSession::ConnectToServer(const QString &address, quint16 port) {
  ProgramSettings &s = Settings();
  s.strServerAddress = address;
  s.intServerPort = port;
  s.boolServerMode = true;
  m_status.ShowConnecting();
  Connector().Connect(s.strServerAddress, s.intServerPort);
  SaveConnectionData();
}
