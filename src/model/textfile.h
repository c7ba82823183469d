#pragma once

#include <QString>

// True when a file (not a folder) exists at the path.
bool FileExists(const QString &path);

// The whole file as Windows-1252 text, or an empty text when it cannot be read.
QString ReadTextFile(const QString &path);

// Writes the text in Windows-1252 without ever destroying the previous file:
// the text goes to a temporary file that is synced and renamed over the old
// one, and the folder is synced. On failure the old file is untouched, the
// function returns false and `error` says why.
bool WriteTextFileSafely(const QString &path, const QString &text, QString *error);

// Splits a path at its last "/" or "\": the folder part (with its separator)
// and the file part.
QString FilePart(const QString &path);
QString FolderPart(const QString &path);

// The folder followed by the name, with a separator put between when the
// folder does not end with one.
QString JoinPath(const QString &folder, const QString &name);
