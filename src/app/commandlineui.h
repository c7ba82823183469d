#pragma once

#include <QStringList>
#include <cstdio>

#include "model/nodialogsui.h"

// The Ui of a command run without a window: nothing is ever asked, and what
// a box would say goes to `err` when one is given.
class CommandLineUi : public NoDialogsUi {
 public:
  explicit CommandLineUi(FILE *err = nullptr) : m_err(err) {}
  Answer message(const QString &text, Buttons buttons, const QString &title) override;

 private:
  FILE *m_err;
};

// Whether every path exists and can be read; names the first that does not
// on `err`.
bool pathsCanBeRead(const QStringList &paths, FILE *err);

// Works as a designer working in the folder `path` is (or is in) does: with `mapFile` as its map
// and backups in "Backup" beside the folder, as the designer's own
// CVSPanels and Backup folders lie side by side. First completes the saves
// designers could not finish there and removes stale temporary files
// (completeInterruptedSave), so that whatever the command reads is read
// after.
void workInFolder(const QString &path, const QString &mapFile, Ui &ui);
