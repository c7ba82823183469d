#include "app/replacecommand.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "app/commandlineui.h"
#include "app/panelcheck.h"
#include "app/panelreplace.h"
#include "grid/gridsupport.h"
#include "hwmap/hardwaremap.h"
#include "model/settings.h"
#include "model/uiservice.h"

namespace {

QString valueText(const QString &value) { return captionToCell(value); }

void printChange(FILE *to, const ReplaceChange &c) {
  std::fprintf(to, "%s: %s: %s: %s -> %s\n", qPrintable(c.file), qPrintable(c.control),
               qPrintable(c.field), qPrintable(valueText(c.before)),
               qPrintable(valueText(c.after)));
}

void printRefused(FILE *to, const ReplaceChange &c) {
  std::fprintf(to, "%s: %s: %s: not changed: %s\n", qPrintable(c.file), qPrintable(c.control),
               qPrintable(c.field), qPrintable(c.refused));
}

void printSkipped(FILE *to, const SkippedFile &f) {
  std::fprintf(to, "%s: not changed: %s\n", qPrintable(f.file), qPrintable(f.reason));
}

// The files of a PATH with the map they are read and saved with: a folder's
// own, or for a file the one of the folder it is in.
QStringList filesOf(const QString &path, QString *mapFile) {
  const QStringList files = panelFilesOfPath(path, mapFile);
  if (!QFileInfo(path).isDir()) panelFilesOfPath(QFileInfo(path).path(), mapFile);
  return files;
}

}  // namespace

int runReplaceCommand(const QString &find, const QString &replacement, const QString &field,
                      bool dryRun, const QStringList &paths, FILE *out, FILE *err) {
  ReplaceRequest request{QString(), find, replacement};
  if (find.trimmed().isEmpty()) {
    std::fprintf(err, "tessary-designer: --replace needs a text to find.\n");
    return 2;
  }
  if (!field.isEmpty()) {
    for (const QString &label : replaceFieldLabels())
      if (label.compare(field, Qt::CaseInsensitive) == 0) request.field = label;
    if (request.field.isEmpty()) {
      std::fprintf(err, "tessary-designer: --field %s is not a field; the fields are: %s.\n",
                   qPrintable(field), qPrintable(replaceFieldLabels().join(QStringLiteral(", "))));
      return 2;
    }
  }
  if (!pathsCanBeRead(paths, err)) return 2;
  CommandLineUi ui(err);
  bool complete = true;
  for (const QString &path : paths) {
    QString mapFile;
    const QStringList files = filesOf(path, &mapFile);
    // As a designer working in this folder saves: its map, and backups
    // beside the folder; a save cut short there is completed before any
    // panel or the map is read.
    workInFolder(path, mapFile, ui);
    const ReplacePlan plan = planReplace(request, {}, files, HardwareMap::fromFile(mapFile));
    for (const SkippedFile &f : plan.skipped) printSkipped(err, f);
    complete = complete && plan.skipped.empty();
    if (dryRun) {
      for (const ReplaceChange &c : plan.changes) {
        if (c.refused.isEmpty())
          printChange(out, c);
        else
          printRefused(err, c);
        complete = complete && c.refused.isEmpty();
      }
      continue;
    }
    const ReplaceOutcome outcome = applyReplace(request, plan.changes, {}, ui);
    for (const ReplaceChange &c : outcome.made) printChange(out, c);
    for (const ReplaceChange &c : plan.changes)
      if (!c.refused.isEmpty()) printRefused(err, c);
    for (const ReplaceChange &c : outcome.refused) printRefused(err, c);
    for (const SkippedFile &f : outcome.failed) printSkipped(err, f);
    complete = complete && outcome.complete() &&
               std::none_of(plan.changes.begin(), plan.changes.end(),
                            [](const ReplaceChange &c) { return !c.refused.isEmpty(); });
  }
  return complete ? 0 : 1;
}
