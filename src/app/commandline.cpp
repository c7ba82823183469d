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
  parser.addOption(help);
  parser.addOption(version);
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
