#pragma once

#include <QString>
#include <QtGlobal>

// Program-wide settings, fixed at start-up and read by every subsystem.
// Folders the program builds end with "/".
struct ProgramSettings {
  QString strStartFolder;
  QString strAppFolder;
  QString strPanelsFolder;
  QString strHardwareMapFile;
  QString strHelpAddress;
  QString strDefaultGraphicsFolder;
  bool boolUseComma = false;
  bool boolServerMode = false;
  QString strServerAddress;
  qint16 intServerPort = 5200;
  QString strLoginName;
  bool boolCancelExit = false;
};

// The one instance of the running program (tests reset it freely).
ProgramSettings &Settings();
