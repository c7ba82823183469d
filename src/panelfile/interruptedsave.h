#pragma once

#include <QString>
#include <QStringList>

#include "model/textfile.h"

class Ui;

// A save of a panel and its hardware map replaces both files as one step:
// the journal beside the map names both temporary files while they replace
// their files (see writeFilesSafely), under the map's lock (MapLock).
QString saveJournalPath(const QString &mapFile);

// Completes the save the map's journal names, if any (the caller holds the
// map's lock): a temporary file that is whole, carries the save's Version
// and finds its file as the save left it replaces that file.
JournalReplay replaySaveJournal(const QString &mapFile);
// When the replay could complete only part of the save, says which file is
// behind and offers to restore the files ahead from their last backup.
void reportUnfinishedSave(Ui &ui, const JournalReplay &replay);

// Completes the saves designers could not finish (killed between the
// replacement of the panel file and of the map): that of the settings' map
// and that of every map whose journal lies in the given folders, each under
// its map's lock; a save whose map another designer is saving now is left to
// that designer. A save that cannot be completed is reported as above. Then
// removes this writer's stale temporary files from the map's folder and the
// given folders, except those a journal still names. Run at start, before a
// panel file is opened, and by the commands without a window before they
// read anything.
void completeInterruptedSave(Ui &ui, const QStringList &folders);

// How old a temporary file of this writer must be to be taken as left by a
// save that died, rather than one still being written.
inline constexpr qint64 kStaleTemporarySeconds = 300;
