#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Program-wide settings, fixed at start-up and read by every subsystem.
// Folders the program builds end with "/".
struct ProgramSettings {
  QString startFolder;
  QString appFolder;
  QString panelsFolder;
  QString hardwareMapFile;
  QString helpAddress;
  // Where the manual may be, best first (start folder, installed tree, build
  // folder); empty: helpAddress is opened as it stands.
  QStringList helpFileCandidates;
  QString defaultGraphicsFolder;
  bool useComma = false;
  bool serverMode = false;
  QString serverAddress;
  quint16 serverPort = 5200;  // 1-65535 when valid
  QString loginName;
  // The password of the server login. It lives in memory only: it is never
  // written to a file, a log or the remembered connection.
  QString loginPassword;
  // The server ("address:port") the password was given for; it is sent to
  // no other.
  QString loginServer;
  bool cancelExit = false;
};

// The one instance of the running program (tests reset it freely).
ProgramSettings &programSettings();
