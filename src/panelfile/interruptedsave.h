#pragma once

#include <QString>
#include <QStringList>

#include "model/textfile.h"

class Ui;

// A save of a panel and its hardware map replaces both files as one step:
// the journal beside the map names both temporary files while they replace
// their files (see writeFilesSafely), under the map's lock.
QString saveJournalPath(const QString &mapFile);
QString mapLockPath(const QString &mapFile);

// Completes the save the map's journal names, if any (the caller holds the
// map's lock): a temporary file that is whole and carries the save's Version
// replaces its file.
JournalReplay replaySaveJournal(const QString &mapFile);
// When the replay could complete only part of the save, says which file is
// behind and offers to restore the files ahead from their last backup.
void reportUnfinishedSave(Ui &ui, const JournalReplay &replay);

// Completes a save the designer could not finish (killed between the
// replacement of the panel file and of the map): a temporary file that is
// whole and carries the save's Version replaces its file. When that cannot
// be done, says which file is behind and offers to restore the one ahead
// from its backup. Then removes this writer's stale temporary files from the
// map's folder and the given folders. Run at start and before a panel file
// is opened; does nothing while another designer holds the map's lock.
void completeInterruptedSave(Ui &ui, const QStringList &folders);

// How old a temporary file of this writer must be to be taken as left by a
// save that died, rather than one still being written.
inline constexpr qint64 kStaleTemporarySeconds = 300;
