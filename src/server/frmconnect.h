#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class ServerSession;

// The connect dialog's logic: address, port, user name and password of the
// server to connect to. "&Connect" takes them over, starts the connection
// and remembers the connection for the next start.
class frmConnect : public QObject {
  Q_OBJECT
 public:
  inline static const QString Caption = QStringLiteral("Connect To CorvaneCore");

  explicit frmConnect(ServerSession &session, QObject *parent = nullptr);

  QString txtIPAddress;
  QString txtPort = QStringLiteral("5200");
  QString LoginName;
  QString LoginPassword;
  bool Visible() const { return m_visible; }

  // Opens the dialog with the program-wide address, port and user name (an
  // open dialog keeps what was typed and comes to the front).
  void Show();
  void butConnect_Click();
  void btnCancel_Click() { Close(); }
  // "Work &Locally": forgets the remembered server, leaves the server and
  // closes; panels open and save as local files from now on.
  void butWorkLocally_Click();
  void Close();
  void ShowHelp();

  // Every second while open: the dialog stays in front of the main window,
  // without taking the keyboard from the window the user works in.
  QTimer Timer1;
  void Timer1Tick() { emit keepInFrontRequested(); }

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
