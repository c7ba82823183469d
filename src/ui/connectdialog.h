#pragma once

#include "ui/serverdialogsupport.h"

class QLineEdit;
class frmConnect;

// The connect dialog ("Connect To CorvaneCore"): draws frmConnect's texts,
// passes every edit and button to it, and shows, hides and comes to the
// front when it says so. Not modal.
class ConnectDialog : public ServerDialogView {
  Q_OBJECT
 public:
  ConnectDialog(frmConnect &logic, QWidget *parent = nullptr);

  QLineEdit *txtIPAddress() const { return m_address; }
  QLineEdit *txtPort() const { return m_port; }
  QLineEdit *LoginName() const { return m_user; }
  QLineEdit *LoginPassword() const { return m_password; }

 private:
  void loadFields();

  frmConnect &m_logic;
  QLineEdit *m_address;
  QLineEdit *m_port;
  QLineEdit *m_user;
  QLineEdit *m_password;
};
