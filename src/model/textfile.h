#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <vector>

// True when a file (not a folder) exists at the path.
bool fileExists(const QString &path);

// How a text file is encoded: the Windows-1252 code page of panel files and
// the hardware map, or UTF-8 behind a byte order mark, as editors write it.
enum class TextEncoding { Windows1252, Utf8WithByteOrderMark };

// Bytes of a text file as text: UTF-8 when they start with a UTF-8 byte order
// mark (which is dropped), Windows-1252 otherwise.
QString decodeTextFile(QByteArrayView bytes, TextEncoding *encoding = nullptr);
QByteArray encodeTextFile(const QString &text, TextEncoding encoding);

// What a file was when it was read or written, to see later whether someone
// else changed it since.
struct FileStamp {
  bool exists = false;
  qint64 size = 0;
  qint64 modified = 0;  // milliseconds since the epoch
  size_t hash = 0;      // of the bytes
  qint64 taken = 0;     // when the stamp was taken, milliseconds since the epoch
};
// The stamp of a file now, taken of the bytes it was just read or written with.
FileStamp stampOfBytes(const QString &path, QByteArrayView bytes);
// Whether the file's bytes differ from those the stamp was taken of. Size and
// time decide when both are as they were and the file was already older than
// the clock's resolution when stamped (a write in the same moment keeps
// both); otherwise the bytes are compared by their hash, so a file touched or
// copied back unchanged is not changed. A file that is gone is changed when
// it was there.
bool fileChangedSince(const QString &path, const FileStamp &stamp);

// The whole file as text (decodeTextFile), or an empty text when it cannot be
// read; with `stamp`, also the file's stamp at this read.
QString readTextFile(const QString &path, TextEncoding *encoding = nullptr,
                     FileStamp *stamp = nullptr);

// Writes bytes without ever destroying the previous file: they go to a
// temporary file in the same folder, which replaces the old one only once it
// is complete. With `sync` the data and then the folder are synced, so that
// even a power loss leaves the old or the new file whole. On failure the old
// file is untouched, the function returns false and `error` holds the
// system's reason ("No space left on device").
bool writeFileSafely(const QString &path, const QByteArray &bytes, QString *error,
                     bool sync = true);
// Several files written as writeFileSafely writes one, in order: the data of
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
// With a journal, a set of several files is also replaced as one step: once
// the data of all of them is on disk, the journal (beside the last file)
// names each temporary file, its size and the set's `tag`; it is removed when
// every file replaced its old one. A process that dies between the
// replacements leaves the journal, from which replayFileJournal completes
// the set.
struct FileJournal {
  QString path;
  QString tag;  // what the files of the set have in common (a version)
};
void writeFilesSafely(std::vector<FileWrite> &files, bool sync = true,
                      const FileJournal *journal = nullptr);

// What replaying a journal did with each file of its set.
struct JournalReplay {
  enum class State {
    Replaced,  // the save was completed from its temporary file now
    InPlace,   // the file had already replaced its old one
    Behind,    // its temporary file is missing, incomplete or not of this set
  };
  struct File {
    QString path;
    State state;
  };
  bool found = false;  // a complete journal was there
  QString tag;
  std::vector<File> files;
};
// Completes the set a journal names, in its order: a temporary file that is
// still there replaces its file when it has the size the journal gives and
// `accept` takes its bytes with the set's tag; the journal is removed afterwards (also when it
// is incomplete: the process then died before any file was replaced). The
// caller must hold whatever lock the writer held.
JournalReplay replayFileJournal(
    const QString &journal,
    const std::function<bool(const QString &tag, const QByteArray &bytes)> &accept);

// Temporary files of this writer are named ".NAME.tessary-XXXXXX" (six
// letters or digits). Removes those in the folder last changed more than
// `olderThanSeconds` ago, never another file; the number removed.
bool isWritersTemporaryName(const QString &fileName);
int removeStaleTemporaries(const QString &folder, qint64 olderThanSeconds);

// For tests only: called between the replacements of a set of files, where
// a test kills the process to leave a save half done.
void setBetweenReplacementsHookForTests(void (*hook)());

// The same for a text (synced), in Windows-1252 unless told otherwise.
bool writeTextFileSafely(const QString &path, const QString &text, QString *error,
                         TextEncoding encoding = TextEncoding::Windows1252);

// A write over the process's file-size limit raises SIGXFSZ, whose default
// kills the program with every open panel's work. Ignored, the write fails
// with an error like any other. The program calls this at start-up.
void ignoreFileSizeLimitSignal();

// Splits a path at its last "/" or "\": the folder part (with its separator)
// and the file part.
QString fileNameOf(const QString &path);
QString folderOf(const QString &path);

// The folder followed by the name, with a separator put between when the
// folder does not end with one.
QString joinPath(const QString &folder, const QString &name);
