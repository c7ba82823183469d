#pragma once

#include <QObject>

class QWidget;
class ServerSession;
class ConnectDialog;
class LoginDialog;
class OpenPanelViaVexDialog;

// The views of the server link's dialogs, made once for the main window;
// each shows and hides itself as its logic says.
class ServerViews : public QObject {
  Q_OBJECT
 public:
  ServerViews(ServerSession &session, QWidget *mainWindow);

  ConnectDialog *connectDialog() const { return m_connect; }
  LoginDialog *loginDialog() const { return m_login; }
  OpenPanelViaVexDialog *openDialog() const { return m_open; }

 private:
  ConnectDialog *m_connect;
  LoginDialog *m_login;
  OpenPanelViaVexDialog *m_open;
};
