#include "model/helpmanual.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "model/settings.h"
#include "model/uiservice.h"

#ifndef TESSARY_DOC_DIR
#define TESSARY_DOC_DIR "share/doc/TessaryDesigner"
#endif

QStringList helpFileCandidates(const QString &startFolder, const QString &programFolder,
                               const QString &buildFolder) {
  QStringList out;
  auto add = [&out](const QString &folder) {
    if (folder.isEmpty()) return;
    const QString file = QDir::cleanPath(folder + QStringLiteral("/help.pdf"));
    if (!out.contains(file)) out << file;
  };
  add(startFolder);
  if (!programFolder.isEmpty())
    add(programFolder + QStringLiteral("/../") + QStringLiteral(TESSARY_DOC_DIR));
  add(buildFolder);
  return out;
}

void openHelp(Ui &ui) {
  const ProgramSettings &s = programSettings();
  if (s.helpFileCandidates.isEmpty()) {
    ui.openUrl(s.helpAddress);
    return;
  }
  for (const QString &file : s.helpFileCandidates) {
    if (QFileInfo(file).isFile()) {
      ui.openUrl(QUrl::fromLocalFile(file).toString());
      return;
    }
  }
  QStringList places;
  for (const QString &file : s.helpFileCandidates)
    places << QStringLiteral("  ") + QDir::toNativeSeparators(file);
  ui.failure(QStringLiteral("The manual help.pdf was not found. It was looked for here:\n%1\n\n"
                            "Install the designer again (cmake --install), or start it from "
                            "the folder that holds help.pdf.")
                 .arg(places.join(u'\n')));
}
