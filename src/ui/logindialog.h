#pragma once

#include <QDialog>

#include "server/frmlogin.h"

class QLineEdit;

// The login dialog ("Tessary Login"): draws frmLogin's texts, passes edits
// and the button to it, and follows its visibility and focus. Not modal.
class LoginDialog : public QDialog {
  Q_OBJECT
 public:
  LoginDialog(frmLogin &logic, QWidget *parent = nullptr);

  QLineEdit *LoginName() const { return m_user; }
  QLineEdit *LoginPassword() const { return m_password; }

 protected:
  void keyPressEvent(QKeyEvent *event) override;
  void closeEvent(QCloseEvent *event) override;

 private:
  void loadFields();
  void follow(bool visible);
  void focusField(frmLogin::Field field);

  frmLogin &m_logic;
  QLineEdit *m_user;
  QLineEdit *m_password;
};
