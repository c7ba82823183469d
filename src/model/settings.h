#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Which backups of a file are kept after a save (the manual's "Backups"
// gives the defaults): every backup of the last `allDays` days, then the
// newest of each day up to `dailyDays` days back, then the newest of each
// week; at most `panelLimit` bytes of each panel's backups and `mapLimit`
// bytes of the map's (0: no limit). The newest backup is always kept.
struct BackupPolicy {
  bool keepEverything = false;
  int allDays = 7;
  int dailyDays = 30;
  qint64 panelLimit = qint64(100) << 20;
  qint64 mapLimit = qint64(500) << 20;
};

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
  BackupPolicy backups;
};

// The one instance of the running program (tests reset it freely).
ProgramSettings &programSettings();
