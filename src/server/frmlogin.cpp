#include "server/frmlogin.h"

#include "model/helpmanual.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "server/serverhost.h"
#include "server/serversession.h"
#include "server/vexconnector.h"

frmLogin::frmLogin(ServerSession &session, QObject *parent) : QObject(parent), m_session(session) {
  FocusTimer.setInterval(100);
  FocusTimer.setSingleShot(true);
  connect(&FocusTimer, &QTimer::timeout, this, &frmLogin::FocusTimerTick);
}

void frmLogin::Show() {
  // Asked again (a server that drops the link and asks anew): the half-typed
  // password stays.
  if (m_visible) return;
  const ProgramSettings &s = Settings();
  if (!s.strLoginName.isEmpty()) LoginName = s.strLoginName.trimmed();
  LoginPassword.clear();
  emit fieldsChanged();
  FocusTimer.start();
  m_visible = true;
  emit visibleChanged(true);
}

void frmLogin::EnterPressed(Field field) {
  if (field != Field::LoginName) {
    LoginButton_Click();
    return;
  }
  FocusTimer.stop();
  m_focus = Field::LoginPassword;
  emit focusRequested(m_focus);
}

void frmLogin::FocusTimerTick() {
  FocusTimer.stop();
  m_focus = LoginName.isEmpty() ? Field::LoginName : Field::LoginPassword;
  emit focusRequested(m_focus);
}

void frmLogin::LoginButton_Click() {
  QString user = LoginName.trimmed();
  if (user.isEmpty()) user = QStringLiteral("Void");
  QString password = LoginPassword.trimmed();
  if (password.isEmpty()) password = QStringLiteral("Void");
  ProgramSettings &s = Settings();
  s.strLoginName = user;
  s.strLoginPassword = password;
  m_session.Connector().SendLogin(s.strLoginName, s.strLoginPassword);
  Close();
}

void frmLogin::Close() {
  FocusTimer.stop();
  LoginPassword.clear();
  if (!m_visible) return;
  m_visible = false;
  emit visibleChanged(false);
}

void frmLogin::ShowHelp() { OpenHelp(m_session.host().ui()); }
