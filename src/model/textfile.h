#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

// True when a file (not a folder) exists at the path.
bool FileExists(const QString &path);

// How a text file is encoded: the Windows-1252 code page of panel files and
// the hardware map, or UTF-8 behind a byte order mark, as editors write it.
enum class TextEncoding { Windows1252, Utf8WithByteOrderMark };

// Bytes of a text file as text: UTF-8 when they start with a UTF-8 byte order
// mark (which is dropped), Windows-1252 otherwise.
QString DecodeTextFile(QByteArrayView bytes, TextEncoding *encoding = nullptr);
QByteArray EncodeTextFile(const QString &text, TextEncoding encoding);

// The whole file as text (DecodeTextFile), or an empty text when it cannot be
// read.
QString ReadTextFile(const QString &path, TextEncoding *encoding = nullptr);

// Writes bytes without ever destroying the previous file: they go to a
// temporary file in the same folder, which replaces the old one only once it
// is complete. With `sync` the data and then the folder are synced, so that
// even a power loss leaves the old or the new file whole. On failure the old
// file is untouched, the function returns false and `error` holds the
// system's reason ("No space left on device").
bool WriteFileSafely(const QString &path, const QByteArray &bytes, QString *error,
                     bool sync = true);
// Several files written as WriteFileSafely writes one, in order: the data of
// all of them goes to disk together before the first replaces its old file,
// and each folder is synced once at the end. No file replaces its old one
// unless the data of every file was written, and then only when every file
// before it did (`written`, else `error`); a failure never touches the old
// file.
struct FileWrite {
  QString path;
  QByteArray bytes;
  bool written = false;
  QString error;
  bool cancelled = false;  // not written because another file of the set failed
};
void WriteFilesSafely(std::vector<FileWrite> &files, bool sync = true);

// The same for a text (synced), in Windows-1252 unless told otherwise.
bool WriteTextFileSafely(const QString &path, const QString &text, QString *error,
                         TextEncoding encoding = TextEncoding::Windows1252);

// A write over the process's file-size limit raises SIGXFSZ, whose default
// kills the program with every open panel's work. Ignored, the write fails
// with an error like any other. The program calls this at start-up.
void IgnoreFileSizeLimitSignal();

// Splits a path at its last "/" or "\": the folder part (with its separator)
// and the file part.
QString FilePart(const QString &path);
QString FolderPart(const QString &path);

// The folder followed by the name, with a separator put between when the
// folder does not end with one.
QString JoinPath(const QString &folder, const QString &name);
