#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line.
struct CommandLine {
  bool showHelp = false;
  bool showVersion = false;
  QString helpText;
  QString error;       // a malformed command line
  QString serverText;  // the "tcp://…" text, empty when none was given
  QStringList panelFiles;
  bool check = false;  // --check: check the panel files or folders in panelFiles
  bool json = false;   // --json: results as one JSON array
};

// Parses the arguments (the first is the program). A "tcp://" argument in
// any letter case, with or without quotes, is the server text; other
// arguments name panel files to open.
CommandLine ParseCommandLine(const QStringList &arguments);

inline const QString kVersionText = QStringLiteral("5.77");
