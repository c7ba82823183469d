#pragma once

#include "server/logindialoglogic.h"
#include "ui/serverdialogsupport.h"

class QLineEdit;

// The login dialog ("Tessary Login"): draws LoginDialogLogic's texts, passes edits
// and the button to it, and follows its visibility and focus. Not modal.
class LoginDialog : public ServerDialogView {
  Q_OBJECT
 public:
  LoginDialog(LoginDialogLogic &logic, QWidget *parent = nullptr);

  QLineEdit *loginName() const { return m_user; }
  QLineEdit *loginPassword() const { return m_password; }

 private:
  void loadFields();
  void focusField(LoginDialogLogic::Field field);

  LoginDialogLogic &m_logic;
  QLineEdit *m_user;
  QLineEdit *m_password;
};
