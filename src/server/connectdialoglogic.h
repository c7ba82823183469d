#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class ServerSession;

// The connect dialog's logic: address, port, user name and password of the
// server to connect to. "&Connect" takes them over, starts the connection
// and remembers the connection for the next start.
class ConnectDialogLogic : public QObject {
  Q_OBJECT
 public:
  inline static const QString caption = QStringLiteral("Connect To CorvaneCore");

  explicit ConnectDialogLogic(ServerSession &session, QObject *parent = nullptr);

  QString addressEdit;
  QString portEdit = QStringLiteral("5200");
  QString loginName;
  QString loginPassword;
  bool visible() const { return m_visible; }

  // Opens the dialog with the program-wide address, port and user name (an
  // open dialog keeps what was typed and comes to the front).
  void show();
  void connectToServer();
  void cancel() { close(); }
  // "Work &Locally": forgets the remembered server, leaves the server and
  // closes; panels open and save as local files from now on.
  void workLocally();
  void close();
  void showHelp();

  // Every second while open: the dialog stays in front of the main window,
  // without taking the keyboard from the window the user works in.
  QTimer keepInFrontTimer;
  void keepInFrontTick() { emit keepInFrontRequested(); }

 signals:
  void visibleChanged(bool visible);
  void fieldsChanged();
  // The user asked for the dialog again: it comes to the front with the keyboard.
  void activateRequested();
  // In front of the main window, the keyboard staying where it is.
  void keepInFrontRequested();

 private:
  ServerSession &m_session;
  bool m_visible = false;
};
