#pragma once

#include "server/frmlogin.h"
#include "ui/serverdialogsupport.h"

class QLineEdit;

// The login dialog ("Tessary Login"): draws frmLogin's texts, passes edits
// and the button to it, and follows its visibility and focus. Not modal.
class LoginDialog : public ServerDialogView {
  Q_OBJECT
 public:
  LoginDialog(frmLogin &logic, QWidget *parent = nullptr);

  QLineEdit *LoginName() const { return m_user; }
  QLineEdit *LoginPassword() const { return m_password; }

 private:
  void loadFields();
  void focusField(frmLogin::Field field);

  frmLogin &m_logic;
  QLineEdit *m_user;
  QLineEdit *m_password;
};
