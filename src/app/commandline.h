#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

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
  // --replace FIND REPLACEMENT [--field FIELD] [--dry-run] PATH...: the
  // paths are in panelFiles.
  bool replace = false;
  QString findText, replacementText, field;
  bool dryRun = false;
  QString exportFile;  // --export OUT: the image or PDF to write of panelFiles' one panel
};

// One option of the command line. A new option is one more line in
// commandLineOptions(): --help lists it and the parser applies it.
struct CommandLineOption {
  QStringList names;    // "h", "help"
  QString valueName;    // empty: a switch without a value
  QString description;  // one line of --help
  // Called once for a switch, once per value for an option with a value.
  std::function<void(CommandLine &, const QString &value)> apply;
};
const std::vector<CommandLineOption> &commandLineOptions();

// One argument that is not an option, as --help lists it.
struct CommandLineArgument {
  QString name;         // "panel.xml ..."
  QString description;  // one line of --help
};
const std::vector<CommandLineArgument> &commandLineArguments();

// An option's names as typed: "-h", "--help".
QStringList typedOptionNames(const CommandLineOption &option);
// How an option is written in --help: "-h, --help", "--field FIELD".
QString optionSynopsis(const CommandLineOption &option);

// What the program is for, one sentence without its full stop.
QString programSummary();

// The exit statuses --help lists, in the order listed.
struct ExitStatusLine {
  int status;
  QString meaning;
};
const std::vector<ExitStatusLine> &exitStatuses();

// The usage text of --help: usage line, arguments, options, exit statuses.
// The manual page is built from the same tables.
QString usageText();

// Parses the arguments (the first is the program). A "tcp://" argument in
// any letter case, with or without quotes, is the server text; other
// arguments name panel files to open.
CommandLine parseCommandLine(const QStringList &arguments);

// The project's version, set by the build.
extern const QString kVersionText;
