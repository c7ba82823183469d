#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>

// `--replace FIND REPLACEMENT [--field FIELD] [--dry-run] PATH…`: replaces
// the text in the panel files of each PATH (a panel file, or a folder's
// panels), each file with the hardware map of its folder and its backups
// in the "Backup" folder beside that folder, as a save makes them. Prints
// one line per change to `out` ("FILE: CONTROL: FIELD: BEFORE -> AFTER")
// and what could not be done to `err`. With `dryRun` nothing is written.
// Returns the exit status: 0 when every change was made, 1 when a file
// could not be read or written or a change was refused (the other files
// are still changed), 2 for a bad FIND or FIELD or a PATH that does not exist.
int runReplaceCommand(const QString &find, const QString &replacement, const QString &field,
                      bool dryRun, const QStringList &paths, FILE *out, FILE *err);
