#include "app/commandline.h"

#include <QCommandLineParser>
#include <utility>

const std::vector<CommandLineOption> &commandLineOptions() {
  static const std::vector<CommandLineOption> options = {
      {{QStringLiteral("h"), QStringLiteral("help")},
       {},
       QStringLiteral("Show this help and exit."),
       [](CommandLine &c, const QString &) { c.showHelp = true; }},
      {{QStringLiteral("v"), QStringLiteral("version")},
       {},
       QStringLiteral("Show the version and exit."),
       [](CommandLine &c, const QString &) { c.showVersion = true; }},
      {{QStringLiteral("check")},
       {},
       QStringLiteral("Check the panels of each PATH (a panel file, or a folder with its "
                      "hardware map) without a window: one line per finding, FILE: CONTROL: "
                      "SEVERITY: CODE: MESSAGE."),
       [](CommandLine &c, const QString &) { c.check = true; }},
      {{QStringLiteral("json")},
       {},
       QStringLiteral("With --check: the findings as one JSON array."),
       [](CommandLine &c, const QString &) { c.json = true; }},
      {{QStringLiteral("replace")},
       {},
       QStringLiteral("--replace FIND REPLACEMENT PATH...: replace the text in the panels of "
                      "each PATH (a panel file, or a folder with its hardware map) without a "
                      "window, saving each file with a backup: one line per change, FILE: "
                      "CONTROL: FIELD: BEFORE -> AFTER."),
       [](CommandLine &c, const QString &) { c.replace = true; }},
      {{QStringLiteral("field")},
       QStringLiteral("FIELD"),
       QStringLiteral("With --replace: only this field (Name, Caption, OnClick, "
                      "HWMapHostIP, ...); every field when not given."),
       [](CommandLine &c, const QString &value) { c.field = value; }},
      {{QStringLiteral("dry-run")},
       {},
       QStringLiteral("With --replace: list the changes without writing anything."),
       [](CommandLine &c, const QString &) { c.dryRun = true; }},
      {{QStringLiteral("export")},
       QStringLiteral("OUT"),
       QStringLiteral("Write PANEL.xml, the one argument, without a window as operators see it: "
                      "OUT.png an image (1 pixel per 15 twips), OUT.svg a drawing, OUT.pdf one "
                      "printed page."),
       [](CommandLine &c, const QString &value) { c.exportFile = value; }},
  };
  return options;
}

const std::vector<ExitStatusLine> &exitStatuses() {
  static const std::vector<ExitStatusLine> statuses = {
      {0, QStringLiteral("the designer was closed, or --help or --version was shown")},
      {1, QStringLiteral("no display was found to show the designer on; with --check: a "
                         "finding of severity error; with --export: the panel cannot be read "
                         "or OUT cannot be written; with --replace: a file could not be read or "
                         "written, or a change was refused (the other files are still changed)")},
      {2, QStringLiteral("the command line was not understood; with --check: a PATH does not "
                         "exist or cannot be read; with --replace: no text to find, an unknown "
                         "FIELD, or a PATH that does not exist; with --export: OUT does not end "
                         "in .png, .svg or .pdf, or PANEL.xml does not exist")},
  };
  return statuses;
}

const QString kVersionText = QStringLiteral(TESSARY_VERSION);

const std::vector<CommandLineArgument> &commandLineArguments() {
  static const std::vector<CommandLineArgument> arguments = {
      {QStringLiteral("tcp://address[:port[:user]]"),
       QStringLiteral("the routing server to connect to (port 5200 when none is given)")},
      {QStringLiteral("panel.xml ..."), QStringLiteral("panel files to open")},
  };
  return arguments;
}

QStringList typedOptionNames(const CommandLineOption &option) {
  QStringList names;
  for (const QString &name : option.names)
    names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
  return names;
}

QString optionSynopsis(const CommandLineOption &option) {
  QString out = typedOptionNames(option).join(QStringLiteral(", "));
  if (!option.valueName.isEmpty()) out += u' ' + option.valueName;
  return out;
}

QString programSummary() {
  return QStringLiteral("designs the software control panels of the CorvaneCore routing server");
}

namespace {
// Lines of "  left  text" with the texts lined up.
QString table(const std::vector<std::pair<QString, QString>> &rows) {
  qsizetype width = 0;
  for (const auto &row : rows) width = qMax(width, row.first.size());
  QString out;
  for (const auto &row : rows)
    out += QStringLiteral("  ") + row.first.leftJustified(width + 2) + row.second + u'\n';
  return out;
}
}  // namespace

QString usageText() {
  QString usage = QStringLiteral("Usage: tessary-designer [options]");
  std::vector<std::pair<QString, QString>> arguments;
  for (const CommandLineArgument &argument : commandLineArguments()) {
    usage += QStringLiteral(" [") + argument.name + u']';
    arguments.emplace_back(argument.name, argument.description);
  }
  std::vector<std::pair<QString, QString>> options;
  for (const CommandLineOption &option : commandLineOptions())
    options.emplace_back(optionSynopsis(option), option.description);
  std::vector<std::pair<QString, QString>> statuses;
  for (const ExitStatusLine &line : exitStatuses())
    statuses.emplace_back(QString::number(line.status), line.meaning);
  return QStringLiteral(
             "%1\n\nTessary Panel Designer: %2.\n\nArguments:\n%3\nOptions:\n%4\n"
             "Exit status:\n%5")
      .arg(usage, programSummary(), table(arguments), table(options), table(statuses));
}

CommandLine parseCommandLine(const QStringList &arguments) {
  QCommandLineParser parser;
  std::vector<QCommandLineOption> parsed;
  for (const CommandLineOption &option : commandLineOptions()) {
    parsed.emplace_back(option.names, option.description, option.valueName);
    parser.addOption(parsed.back());
  }

  CommandLine out;
  out.helpText = usageText();
  if (!parser.parse(arguments)) {
    out.error = parser.errorText();
    return out;
  }
  for (std::size_t i = 0; i < parsed.size(); ++i) {
    const CommandLineOption &option = commandLineOptions()[i];
    if (!parser.isSet(parsed[i])) continue;
    if (option.valueName.isEmpty()) {
      option.apply(out, QString());
    } else {
      for (const QString &value : parser.values(parsed[i])) option.apply(out, value);
    }
  }
  if (out.json && !out.check) out.error = QStringLiteral("--json goes with --check.");
  if ((out.dryRun || !out.field.isEmpty()) && !out.replace)
    out.error = QStringLiteral("--field and --dry-run go with --replace.");
  const bool exporting = parser.isSet(QStringLiteral("export"));
  if (int(out.check) + int(out.replace) + int(exporting) > 1) {
    out.error = QStringLiteral("--check, --replace and --export are separate commands.");
    return out;
  }
  if (out.replace) {
    QStringList rest = parser.positionalArguments();
    if (rest.size() < 3) {
      out.error = QStringLiteral("--replace needs FIND, REPLACEMENT and a PATH.");
    } else {
      out.findText = rest.takeFirst();
      out.replacementText = rest.takeFirst();
      out.panelFiles = rest;
    }
    return out;
  }
  if (exporting) {
    out.panelFiles = parser.positionalArguments();
    if (parser.values(QStringLiteral("export")).size() > 1)
      out.error = QStringLiteral("--export takes one OUT file.");
    else if (out.exportFile.isEmpty())
      out.error = QStringLiteral("--export needs a file OUT.");
    else if (out.panelFiles.size() != 1)
      out.error = QStringLiteral("--export needs exactly one PANEL.xml.");
    return out;
  }
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
