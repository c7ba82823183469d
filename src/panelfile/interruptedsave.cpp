#include "panelfile/interruptedsave.h"

#include <QFile>
#include <QLockFile>

#include "model/settings.h"
#include "model/textfile.h"
#include "model/uiservice.h"
#include "panelfile/localstore.h"

QString saveJournalPath(const QString &mapFile) {
  return folderOf(mapFile) + u'.' + fileNameOf(mapFile) + QStringLiteral(".tessary-journal");
}

QString mapLockPath(const QString &mapFile) { return mapFile + QStringLiteral(".lock"); }

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
  if (!fileExists(journal)) return JournalReplay();
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
    QFile f(backup);
    QString error;
    if (!f.open(QIODevice::ReadOnly) || !writeFileSafely(path, f.readAll(), &error))
      ui.failure(QStringLiteral("Cannot restore ") + fileNameOf(path) + QStringLiteral(" from ") +
                 backup + QStringLiteral(": ") + (error.isEmpty() ? f.errorString() : error));
  }
}

void completeInterruptedSave(Ui &ui, const QStringList &folders) {
  const QString mapFile = programSettings().hardwareMapFile;
  QStringList sweep = folders;
  if (!mapFile.isEmpty()) {
    // A designer saving now holds the lock; a dead one's lock is taken over.
    JournalReplay replay;
    {
      QLockFile lock(mapLockPath(mapFile));
      if (!lock.tryLock(0)) return;
      replay = replaySaveJournal(mapFile);
      sweep << folderOf(mapFile);
      sweep.removeDuplicates();
      for (const QString &folder : sweep)
        if (!folder.isEmpty()) removeStaleTemporaries(folder, kStaleTemporarySeconds);
    }
    reportUnfinishedSave(ui, replay);  // the lock is free while the user decides
    return;
  }
  for (const QString &folder : sweep)
    if (!folder.isEmpty()) removeStaleTemporaries(folder, kStaleTemporarySeconds);
}
