#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Program-wide settings, fixed at start-up and read by every subsystem.
// Folders the program builds end with "/".
struct ProgramSettings {
  QString strStartFolder;
  QString strAppFolder;
  QString strPanelsFolder;
  QString strHardwareMapFile;
  QString strHelpAddress;
  // Where the manual may be, best first (start folder, installed tree, build
  // folder); empty: strHelpAddress is opened as it stands.
  QStringList helpFileCandidates;
  QString strDefaultGraphicsFolder;
  bool boolUseComma = false;
  bool boolServerMode = false;
  QString strServerAddress;
  quint16 intServerPort = 5200;  // 1-65535 when valid
  QString strLoginName;
  // The password of the server login. It lives in memory only: it is never
  // written to a file, a log or the remembered connection.
  QString strLoginPassword;
  bool boolCancelExit = false;
};

// The one instance of the running program (tests reset it freely).
ProgramSettings &Settings();
