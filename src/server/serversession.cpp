#include "server/serversession.h"

#include "model/settings.h"
#include "server/connection.h"
#include "server/connectionmemory.h"
#include "server/vexconnector.h"

ServerSession::ServerSession(ServerHost &host, QObject *parent) : QObject(parent), m_host(host) {}

ServerSession::~ServerSession() = default;

VexConnector &ServerSession::Connector() {
  if (m_connector) return *m_connector;
  std::unique_ptr<VexConnection> connection =
      m_factory ? m_factory() : std::make_unique<ServerConnection>();
  m_connector = std::make_unique<VexConnector>(m_host, std::move(connection));
  VexConnector *c = m_connector.get();
  connect(c, &VexConnector::loginRequested, &m_login, &LoginDialogLogic::show);
  connect(c, &VexConnector::panelListChanged, &m_open, &OpenPanelDialogLogic::refreshList);
  connect(c, &VexConnector::statusRefreshRequested, this, &ServerSession::setConnectedLabel);
  connect(c, &VexConnector::connectingStarted, &m_status, &ConnectionStatus::showConnecting);
  return *m_connector;
}

void ServerSession::setConnectedLabel() {
  if (!m_connector) {
    m_status.setConnectedLabel(0, false, false);
    return;
  }
  m_status.setConnectedLabel(m_connector->linkState(), m_connector->isConnectingPaused(),
                             m_connector->isHuntingEnabled());
}

void ServerSession::connectToServer(const QString &address, quint16 port) {
  ProgramSettings &s = programSettings();
  s.serverAddress = address;
  s.serverPort = port;
  s.serverMode = true;
  m_status.showConnecting();
  Connector().connectToHost(s.serverAddress, s.serverPort);
  saveConnectionData();
}
