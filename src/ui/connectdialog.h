#pragma once

#include <QDialog>

class QLineEdit;
class frmConnect;

// The connect dialog ("Connect To CorvaneCore"): draws frmConnect's texts,
// passes every edit and button to it, and shows, hides and comes to the
// front when it says so. Not modal.
class ConnectDialog : public QDialog {
  Q_OBJECT
 public:
  ConnectDialog(frmConnect &logic, QWidget *parent = nullptr);

  QLineEdit *txtIPAddress() const { return m_address; }
  QLineEdit *txtPort() const { return m_port; }
  QLineEdit *LoginName() const { return m_user; }
  QLineEdit *LoginPassword() const { return m_password; }

 protected:
  void keyPressEvent(QKeyEvent *event) override;
  void closeEvent(QCloseEvent *event) override;

 private:
  void loadFields();
  void follow(bool visible);

  frmConnect &m_logic;
  QLineEdit *m_address;
  QLineEdit *m_port;
  QLineEdit *m_user;
  QLineEdit *m_password;
};
