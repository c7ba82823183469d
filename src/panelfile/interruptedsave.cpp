#include "panelfile/interruptedsave.h"

#include <QFileInfo>

#include "model/settings.h"
#include "model/textfile.h"
#include "model/uiservice.h"
#include "panelfile/localstore.h"
#include "panelfile/maplock.h"

QString saveJournalPath(const QString &mapFile) { return journalPathOf(mapFile); }

namespace {

// A temporary file belongs to the save when it carries its Version; a map
// started afresh has none yet.
bool carriesVersion(const QString &version, const QByteArray &bytes) {
  if (!bytes.contains("<Version>") && !bytes.contains("<version>")) return true;
  return bytes.contains('>' + version.toLatin1() + "</");
}

}  // namespace

JournalReplay replaySaveJournal(const QString &mapFile) {
  const QString journal = saveJournalPath(mapFile);
  if (!QFileInfo::exists(journal)) return JournalReplay();
  return replayFileJournal(journal, carriesVersion);
}

void reportUnfinishedSave(Ui &ui, const JournalReplay &replay) {
  QStringList behind, ahead;
  for (const JournalReplay::File &f : replay.files)
    (f.state == JournalReplay::State::Behind ? behind : ahead) << f.path;
  if (behind.isEmpty() || ahead.isEmpty()) return;  // all or nothing: the files agree
  const auto names = [](const QStringList &paths) {
    QStringList out;
    for (const QString &path : paths) out << fileNameOf(path);
    return out.join(QStringLiteral(", "));
  };
  const QString text = QStringLiteral("The save of ") + replay.tag +
                       QStringLiteral(" did not finish: ") + names(behind) +
                       QStringLiteral(" is behind ") + names(ahead) + u'.';
  for (const QString &path : ahead) {
    const QString backup = newestBackupOf(fileNameOf(path));
    if (backup.isEmpty()) {
      ui.failure(text + QStringLiteral("\r\n\r\nThere is no backup of ") + fileNameOf(path) +
                 QStringLiteral(" in ") + backupFolder() +
                 QStringLiteral(". Open the panel, check its hardware bindings and save it."));
      continue;
    }
    const Ui::Answer answer = ui.message(
        text + QStringLiteral("\r\n\r\nRestore ") + fileNameOf(path) +
            QStringLiteral(" from its backup ") + fileNameOf(backup) +
            QStringLiteral(", saved with the files that are behind?\r\nNo keeps it as it is."),
        Ui::Buttons::YesNo);
    if (answer != Ui::Answer::Yes) continue;
    QByteArray bytes;
    QString error;
    if (!readRegularFile(backup, kPanelFileLimit, &bytes, &error))
      error = fileNameOf(backup) + u' ' + error;
    else
      writeFileSafely(path, bytes, &error);
    if (!error.isEmpty())
      ui.failure(QStringLiteral("Cannot restore ") + fileNameOf(path) + QStringLiteral(" from ") +
                 backup + QStringLiteral(": ") + error);
  }
}

void completeInterruptedSave(Ui &ui, const QStringList &folders) {
  const QString settingsMap = programSettings().hardwareMapFile;
  QStringList sweep;
  for (const QString &folder : folders + QStringList{folderOf(settingsMap)})
    if (!folder.isEmpty()) sweep << QFileInfo(folder).absoluteFilePath();
  sweep.removeDuplicates();
  // The settings' map, and every other map whose save left a journal here:
  // a designer whose map lies elsewhere completes or reports it too, rather
  // than leaving it to look done once its temporary files are gone.
  QStringList maps;
  if (!settingsMap.isEmpty()) maps << QFileInfo(settingsMap).absoluteFilePath();
  for (const QString &folder : sweep)
    for (const QString &journal : journalsIn(folder))
      maps << QFileInfo(fileOfJournal(journal)).absoluteFilePath();
  maps.removeDuplicates();
  for (const QString &map : maps) {
    MapLock lock(ui, map);
    // A designer saving now holds the lock and completes it itself. The
    // lock is freed, and the user told, before the next map is taken.
    lock.lock(nullptr, 0);
  }
  for (const QString &folder : sweep) removeStaleTemporaries(folder, kStaleTemporarySeconds);
}
