#include "server/logindialoglogic.h"

#include "model/helpmanual.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "server/serverhost.h"
#include "server/serversession.h"
#include "server/vexconnector.h"

LoginDialogLogic::LoginDialogLogic(ServerSession &session, QObject *parent)
    : QObject(parent), m_session(session) {
  focusTimer.setInterval(100);
  focusTimer.setSingleShot(true);
  connect(&focusTimer, &QTimer::timeout, this, &LoginDialogLogic::focusTimerTick);
}

void LoginDialogLogic::show() {
  // Asked again (a server that drops the link and asks anew): the half-typed
  // password stays.
  if (m_visible) return;
  const ProgramSettings &s = programSettings();
  if (!s.loginName.isEmpty()) loginName = s.loginName.trimmed();
  loginPassword.clear();
  emit fieldsChanged();
  focusTimer.start();
  m_visible = true;
  emit visibleChanged(true);
}

void LoginDialogLogic::enterPressed(Field field) {
  if (field != Field::LoginName) {
    logIn();
    return;
  }
  focusTimer.stop();
  m_focus = Field::LoginPassword;
  emit focusRequested(m_focus);
}

void LoginDialogLogic::focusTimerTick() {
  focusTimer.stop();
  m_focus = loginName.isEmpty() ? Field::LoginName : Field::LoginPassword;
  emit focusRequested(m_focus);
}

void LoginDialogLogic::logIn() {
  QString user = loginName.trimmed();
  if (user.isEmpty()) user = QStringLiteral("Void");
  QString password = loginPassword.trimmed();
  if (password.isEmpty()) password = QStringLiteral("Void");
  ProgramSettings &s = programSettings();
  s.loginName = user;
  s.loginPassword = password;
  VexConnector &connector = m_session.Connector();
  s.loginServer = connector.serverName();
  connector.sendLogin(s.loginName, s.loginPassword);
  close();
}

void LoginDialogLogic::close() {
  focusTimer.stop();
  loginPassword.clear();
  if (!m_visible) return;
  m_visible = false;
  emit visibleChanged(false);
}

void LoginDialogLogic::showHelp() { openHelp(m_session.host().ui()); }
