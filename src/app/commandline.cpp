#include "app/commandline.h"

#include <QCommandLineParser>

CommandLine ParseCommandLine(const QStringList &arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Tessary Panel Designer: designs the software control panels of the CorvaneCore routing "
      "server."));
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help and exit."));
  const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Show the version and exit."));
  const QCommandLineOption check(
      QStringLiteral("check"),
      QStringLiteral("Check the panels of each PATH (a panel file, or a folder with its hardware "
                     "map) without a window: one line per finding, FILE: CONTROL: SEVERITY: "
                     "CODE: MESSAGE. Exit 0 without errors, 1 with an error, 2 when a PATH "
                     "cannot be read."));
  const QCommandLineOption json(QStringLiteral("json"),
                                QStringLiteral("With --check: the findings as one JSON array."));
  parser.addOption(help);
  parser.addOption(version);
  parser.addOption(check);
  parser.addOption(json);
  parser.addPositionalArgument(
      QStringLiteral("server"),
      QStringLiteral("tcp://address[:port[:user]] - the routing server to connect to."),
      QStringLiteral("[tcp://address[:port[:user]]]"));
  parser.addPositionalArgument(QStringLiteral("panels"), QStringLiteral("Panel files to open."),
                               QStringLiteral("[panel.xml ...]"));

  CommandLine out;
  out.helpText = parser.helpText();
  if (!parser.parse(arguments)) {
    out.error = parser.errorText();
    return out;
  }
  out.showHelp = parser.isSet(help);
  out.showVersion = parser.isSet(version);
  out.check = parser.isSet(check);
  out.json = parser.isSet(json);
  if (out.json && !out.check) out.error = QStringLiteral("--json goes with --check.");
  if (out.check) {
    out.panelFiles = parser.positionalArguments();
    if (out.panelFiles.isEmpty()) out.error = QStringLiteral("--check needs a PATH.");
    return out;
  }
  for (const QString &arg : parser.positionalArguments()) {
    QString unquoted = arg;
    unquoted.remove(u'"');
    if (unquoted.trimmed().startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive)) {
      if (out.serverText.isEmpty()) out.serverText = arg;
    } else {
      out.panelFiles << arg;
    }
  }
  return out;
}
