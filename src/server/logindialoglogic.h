#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class ServerSession;

// The login dialog's logic, shown when the server asks for a login: the
// user name and password, sent encoded by the connector. Its view in the
// shell follows the texts, the visibility and the focus.
class LoginDialogLogic : public QObject {
  Q_OBJECT
 public:
  enum class Field { None, LoginName, LoginPassword };
  inline static const QString caption = QStringLiteral("Tessary Login");

  explicit LoginDialogLogic(ServerSession &session, QObject *parent = nullptr);

  QString loginName;
  QString loginPassword;
  bool visible() const { return m_visible; }
  Field focusField() const { return m_focus; }

  // Opening: the last user name, then the focus moves 100 ms later. An open
  // dialog stays as it is, with what was typed, until it is sent or closed.
  void show();
  // Sends the login (blank fields as "Void") and closes.
  void logIn();
  // Enter in a field: from the user name on to the password, from the
  // password (or the button) the login.
  void enterPressed(Field field);
  void close();
  // F1: the help document.
  void showHelp();

  QTimer focusTimer;
  // Once: the focus goes to the password when a user name is there.
  void focusTimerTick();

 signals:
  void visibleChanged(bool visible);
  void fieldsChanged();
  void focusRequested(LoginDialogLogic::Field field);

 private:
  ServerSession &m_session;
  bool m_visible = false;
  Field m_focus = Field::None;
};
