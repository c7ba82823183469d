#include "server/connectdialoglogic.h"

#include "model/helpmanual.h"
#include "model/numbers.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "server/connectionmemory.h"
#include "server/serverhost.h"
#include "server/serversession.h"
#include "server/vexconnector.h"

ConnectDialogLogic::ConnectDialogLogic(ServerSession &session, QObject *parent)
    : QObject(parent), m_session(session) {
  keepInFrontTimer.setInterval(1000);
  connect(&keepInFrontTimer, &QTimer::timeout, this, &ConnectDialogLogic::keepInFrontTick);
}

void ConnectDialogLogic::show() {
  if (m_visible) {
    emit activateRequested();
    return;
  }
  const ProgramSettings &s = programSettings();
  addressEdit = s.serverAddress;
  if (s.serverPort != 0) portEdit = QString::number(s.serverPort);
  loginName = s.loginName;
  loginPassword.clear();
  emit fieldsChanged();
  m_visible = true;
  keepInFrontTimer.start();
  emit visibleChanged(true);
}

void ConnectDialogLogic::connectToServer() {
  // A careless Return must not leave a server behind that every later start
  // would try: the dialog stays open for an address or "Work Locally".
  if (!isUsableServerAddress(addressEdit)) {
    m_session.host().ui().message(
        addressEdit.trimmed().isEmpty()
            ? QStringLiteral("Enter the address of the server, or choose Work Locally.")
            : QStringLiteral("Invalid Address"));
    return;
  }
  quint16 port = 0;
  if (readPort(portEdit, &port, /*allowFraction=*/true)) {
    ProgramSettings &s = programSettings();
    s.loginName = loginName.trimmed();
    s.loginPassword = loginPassword;
    s.loginServer = VexConnector::serverName(addressEdit, port);
    m_session.connectToServer(addressEdit, port);
  } else {
    m_session.host().ui().failure(
        QStringLiteral("Invalid Port\n\nEnter the server's port as a whole number from 1 to "
                       "65535 (5200 unless the server was set up otherwise)."));
    saveConnectionData();
  }
  close();
}

void ConnectDialogLogic::workLocally() {
  ProgramSettings &s = programSettings();
  s.serverMode = false;
  s.serverAddress.clear();
  s.loginPassword.clear();
  s.loginServer.clear();
  forgetConnectionData();
  if (VexConnector *connector = m_session.connectorIfCreated()) {
    connector->disconnectFromHost();
    connector->link().closeMasterConnection();  // stops the hunt too
  }
  m_session.setConnectedLabel();
  close();
}

void ConnectDialogLogic::close() {
  keepInFrontTimer.stop();
  loginPassword.clear();
  if (!m_visible) return;
  m_visible = false;
  emit visibleChanged(false);
}

void ConnectDialogLogic::showHelp() { openHelp(m_session.host().ui()); }
