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

namespace {
// Opens the manual, or says where it is when no program shows it.
void openManual(Ui &ui, const QString &address, const QString &shown) {
  if (ui.openUrl(address)) return;
  ui.failure(
      QStringLiteral("No program to show the manual was found.\nThe manual is here:\n  %1\n\n"
                     "Open it with a PDF viewer, or install one and try again.")
          .arg(shown));
}
}  // namespace

void openHelp(Ui &ui) {
  const ProgramSettings &s = programSettings();
  if (s.helpFileCandidates.isEmpty()) {
    openManual(ui, s.helpAddress, s.helpAddress);
    return;
  }
  for (const QString &file : s.helpFileCandidates) {
    if (QFileInfo(file).isFile()) {
      openManual(ui, QUrl::fromLocalFile(file).toString(),
                 QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()));
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
