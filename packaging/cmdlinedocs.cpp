// Writes the manual page and the bash completion of tessary-designer from
// the tables --help is built from, so that neither can disagree with it.
//   tessary-cmdline-docs man OUT.1 DATE
//   tessary-cmdline-docs completion TEMPLATE OUT
#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <cstdio>

#include "app/commandline.h"

namespace {
// Text as roff shows it literally: backslashes escaped, hyphens as the
// minus signs options are typed with, no line taken for a request.
QString roff(QString text) {
  text.replace(u'\\', QStringLiteral("\\e"));
  text.replace(u'-', QStringLiteral("\\-"));
  if (text.startsWith(u'.') || text.startsWith(u'\'')) text.prepend(QStringLiteral("\\&"));
  return text;
}

QString bold(const QString &text) {
  return QStringLiteral("\\fB") + roff(text) + QStringLiteral("\\fR");
}
QString italic(const QString &text) {
  return QStringLiteral("\\fI") + roff(text) + QStringLiteral("\\fR");
}

// "\fB\-\-field\fR \fIFIELD\fR"
QString optionHeading(const CommandLineOption &option) {
  QStringList names;
  for (const QString &name : typedOptionNames(option)) names << bold(name);
  QString out = names.join(QStringLiteral(", "));
  if (!option.valueName.isEmpty()) out += u' ' + italic(option.valueName);
  return out;
}

QString manPage(const QString &date) {
  QString out;
  out += QStringLiteral(
             ".TH TESSARY\\-DESIGNER 1 \"%1\" \"tessary\\-designer %2\" \"User Commands\"\n")
             .arg(date, kVersionText);
  out += QStringLiteral(".nh\n.ad l\n");  // options are not to be hyphenated
  out += QStringLiteral(".SH NAME\ntessary\\-designer \\- %1\n").arg(roff(programSummary()));
  out += QStringLiteral(".SH SYNOPSIS\n.B tessary\\-designer\n[\\fIoptions\\fR]");
  for (const CommandLineArgument &argument : commandLineArguments())
    out += QStringLiteral(" [") + italic(argument.name) + u']';
  out += QStringLiteral(
             "\n.SH DESCRIPTION\nTessary Panel Designer %1. Panels are XML files in a local "
             "panels folder, with time\\-stamped backups and a shared hardware map, or are "
             "stored on the routing server. Without a display, the options below check, "
             "change and export panels for scripts.\n")
             .arg(roff(programSummary()));
  out += QStringLiteral(".SH ARGUMENTS\n");
  for (const CommandLineArgument &argument : commandLineArguments())
    out += QStringLiteral(".TP\n%1\n%2\n").arg(italic(argument.name), roff(argument.description));
  out += QStringLiteral(".SH OPTIONS\n");
  for (const CommandLineOption &option : commandLineOptions())
    out += QStringLiteral(".TP\n%1\n%2\n").arg(optionHeading(option), roff(option.description));
  out += QStringLiteral(".SH EXIT STATUS\n");
  for (const ExitStatusLine &line : exitStatuses())
    out += QStringLiteral(".TP\n.B %1\n%2\n").arg(QString::number(line.status), roff(line.meaning));
  out += QStringLiteral(
      ".SH FILES\n.TP\n.I help.pdf\nThe user manual, opened by F1: from the start folder, "
      "else from the installed documentation folder; \\fB\\-\\-help\\fR says which one is "
      "used.\n");
  return out;
}

// The template with @OPTIONS@ replaced by every option as typed and
// @VALUE_OPTIONS@ by the options that take a value, as a case pattern.
QString completion(QString text) {
  QStringList all, valued;
  for (const CommandLineOption &option : commandLineOptions()) {
    all << typedOptionNames(option);
    if (!option.valueName.isEmpty()) valued << typedOptionNames(option);
  }
  text.replace(QStringLiteral("@OPTIONS@"), all.join(u' '));
  text.replace(QStringLiteral("@VALUE_OPTIONS@"), valued.join(u'|'));
  return text;
}

bool write(const QString &path, const QString &text) {
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit())
    return true;
  std::fprintf(stderr, "tessary-cmdline-docs: %s: %s\n", qPrintable(path),
               qPrintable(file.errorString()));
  return false;
}
}  // namespace

int main(int argc, char **argv) {
  const QStringList args = [&] {
    QStringList out;
    for (int i = 1; i < argc; ++i) out << QString::fromLocal8Bit(argv[i]);
    return out;
  }();
  if (args.size() == 3 && args[0] == QLatin1String("man"))
    return write(args[1], manPage(args[2])) ? 0 : 1;
  if (args.size() == 3 && args[0] == QLatin1String("completion")) {
    QFile in(args[1]);
    if (!in.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "tessary-cmdline-docs: %s: %s\n", qPrintable(args[1]),
                   qPrintable(in.errorString()));
      return 1;
    }
    return write(args[2], completion(QString::fromUtf8(in.readAll()))) ? 0 : 1;
  }
  std::fprintf(stderr,
               "Usage: tessary-cmdline-docs man OUT.1 DATE\n"
               "       tessary-cmdline-docs completion TEMPLATE OUT\n");
  return 2;
}
