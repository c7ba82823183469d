#include "app/checkcommand.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "app/commandlineui.h"
#include "app/panelcheck.h"

int runCheckCommand(const QStringList &paths, bool json, FILE *out, FILE *err) {
  if (!pathsCanBeRead(paths, err)) return 2;
  std::vector<CheckFinding> findings;
  CommandLineUi ui(err);
  for (const QString &path : paths) {
    QString mapFile;
    const QStringList files = panelFilesOfPath(path, &mapFile);
    // A pair of panel and map cut short is completed first: its pending
    // entries are no findings.
    workInFolder(path, mapFile, ui);
    for (CheckFinding &f : checkPanelFiles(files, mapFile)) findings.push_back(std::move(f));
  }
  bool anyError = false;
  QJsonArray array;
  for (const CheckFinding &f : findings) {
    anyError = anyError || f.severity == CheckFinding::Severity::Error;
    if (json)
      array.append(QJsonObject{{QStringLiteral("file"), f.file},
                               {QStringLiteral("control"), f.control},
                               {QStringLiteral("severity"), severityText(f.severity)},
                               {QStringLiteral("code"), f.code},
                               {QStringLiteral("message"), f.message}});
    else
      std::fprintf(out, "%s: %s: %s: %s: %s\n", qPrintable(f.file), qPrintable(f.control),
                   qPrintable(severityText(f.severity)), qPrintable(f.code), qPrintable(f.message));
  }
  if (json)
    std::fprintf(out, "%s\n", QJsonDocument(array).toJson(QJsonDocument::Indented).constData());
  return anyError ? 1 : 0;
}
