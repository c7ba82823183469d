#include "server/frmconnect.h"

#include "model/helpmanual.h"
#include "model/numbers.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "server/connectionmemory.h"
#include "server/serverhost.h"
#include "server/serversession.h"
#include "server/vexconnector.h"

frmConnect::frmConnect(ServerSession &session, QObject *parent)
    : QObject(parent), m_session(session) {
  Timer1.setInterval(1000);
  connect(&Timer1, &QTimer::timeout, this, &frmConnect::Timer1Tick);
}

void frmConnect::Show() {
  if (m_visible) {
    emit activateRequested();
    return;
  }
  const ProgramSettings &s = Settings();
  txtIPAddress = s.strServerAddress;
  if (s.intServerPort != 0) txtPort = QString::number(s.intServerPort);
  LoginName = s.strLoginName;
  LoginPassword.clear();
  emit fieldsChanged();
  m_visible = true;
  Timer1.start();
  emit visibleChanged(true);
}

void frmConnect::butConnect_Click() {
  // A careless Return must not leave a server behind that every later start
  // would try: the dialog stays open for an address or "Work Locally".
  if (!IsUsableServerAddress(txtIPAddress)) {
    m_session.host().ui().message(
        txtIPAddress.trimmed().isEmpty()
            ? QStringLiteral("Enter the address of the server, or choose Work Locally.")
            : QStringLiteral("Invalid Address"));
    return;
  }
  quint16 port = 0;
  if (ReadPort(txtPort, &port, /*allowFraction=*/true)) {
    ProgramSettings &s = Settings();
    s.strLoginName = LoginName.trimmed();
    s.strLoginPassword = LoginPassword;
    m_session.ConnectToServer(txtIPAddress, port);
  } else {
    m_session.host().ui().failure(
        QStringLiteral("Invalid Port\n\nEnter the server's port as a whole number from 1 to "
                       "65535 (5200 unless the server was set up otherwise)."));
    SaveConnectionData();
  }
  Close();
}

void frmConnect::butWorkLocally_Click() {
  ProgramSettings &s = Settings();
  s.boolServerMode = false;
  s.strServerAddress.clear();
  s.strLoginPassword.clear();
  ForgetConnectionData();
  if (frmTcpVexConnector *connector = m_session.connectorIfCreated()) {
    connector->Disconnect();
    connector->VexWinsock().CloseMasterConnection();  // stops the hunt too
  }
  m_session.SetConnectedLabel();
  Close();
}

void frmConnect::Close() {
  Timer1.stop();
  LoginPassword.clear();
  if (!m_visible) return;
  m_visible = false;
  emit visibleChanged(false);
}

void frmConnect::ShowHelp() { OpenHelp(m_session.host().ui()); }
