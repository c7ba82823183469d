#pragma once

#include <QStringList>
#include <cstdio>

// `--check [--json] PATH…`: checks each PATH (a panel file, or a folder's
// panels with its hardware map), prints the findings to `out` and errors to
// `err`. Returns the exit status: 0 without errors (warnings allowed), 1
// with an error, 2 when a PATH does not exist or cannot be read at all.
int runCheckCommand(const QStringList &paths, bool json, FILE *out, FILE *err);
