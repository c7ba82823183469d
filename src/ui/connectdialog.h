#pragma once

#include "ui/serverdialogsupport.h"

class QLineEdit;
class ConnectDialogLogic;

// The connect dialog ("Connect To CorvaneCore"): draws ConnectDialogLogic's texts,
// passes every edit and button to it, and shows, hides and comes to the
// front when it says so. Not modal.
class ConnectDialog : public ServerDialogView {
  Q_OBJECT
 public:
  ConnectDialog(ConnectDialogLogic &logic, QWidget *parent = nullptr);

  QLineEdit *addressEdit() const { return m_address; }
  QLineEdit *portEdit() const { return m_port; }
  QLineEdit *loginName() const { return m_user; }
  QLineEdit *loginPassword() const { return m_password; }

 private:
  void loadFields();

  ConnectDialogLogic &m_logic;
  QLineEdit *m_address;
  QLineEdit *m_port;
  QLineEdit *m_user;
  QLineEdit *m_password;
};
