#include "app/commandlineui.h"

#include <QDir>
#include <QFileInfo>

#include "model/settings.h"
#include "panelfile/interruptedsave.h"

Ui::Answer CommandLineUi::message(const QString &text, Buttons buttons, const QString &title) {
  if (m_err) std::fprintf(m_err, "tessary-designer: %s\n", qPrintable(text));
  return NoDialogsUi::message(text, buttons, title);
}

bool pathsCanBeRead(const QStringList &paths, FILE *err) {
  for (const QString &path : paths) {
    const QFileInfo info(path);
    if (!info.exists() || !info.isReadable()) {
      std::fprintf(err, "tessary-designer: %s %s.\n", qPrintable(path),
                   info.exists() ? "cannot be read" : "does not exist");
      return false;
    }
  }
  return true;
}

void workInFolder(const QString &path, const QString &mapFile, Ui &ui) {
  const QFileInfo info(path);
  const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
  ProgramSettings &settings = programSettings();
  settings.hardwareMapFile = mapFile;
  QDir start(folder);
  start.cdUp();
  settings.startFolder = start.path() + u'/';
  completeInterruptedSave(ui, {folder});
}
