#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>

class QFile;
#include <vector>

// The system's text for an error number ("No space left on device").
QString systemErrorText(int errorNumber);

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

// How large the files the program reads may be: panel files, the hardware
// map and recovery copies; pictures; and the small files the program keeps
// for itself (the save journal, the remembered connection).
inline constexpr qint64 kMegabyte = 1024 * 1024;
inline constexpr qint64 kPanelFileLimit = 64 * kMegabyte;
inline constexpr qint64 kPictureFileLimit = 64 * kMegabyte;
inline constexpr qint64 kSmallFileLimit = kMegabyte;

// Opens a file for reading only when it is a regular file of at most `limit`
// bytes. What it is, is checked before and again on the opened file, which is
// opened without blocking: a named pipe, a device or a folder is refused at
// once, never read. False with the reason in `error`, said of the file
// ("is a named pipe, not a regular file", "is larger than 64 MB (70 MB)",
// "cannot be opened: Permission denied").
bool openRegularFile(QFile &file, qint64 limit, QString *error = nullptr);
// The whole of such a file; with `stamp`, its stamp at this read.
bool readRegularFile(const QString &path, qint64 limit, QByteArray *bytes, QString *error = nullptr,
                     FileStamp *stamp = nullptr);
// Why a path is not a regular file ("is a named pipe, not a regular file"),
// without opening it; empty when it is one or nothing is there. A link is
// followed, or with `followLinks` false is itself "a link".
QString whyNotRegularFile(const QString &path, bool followLinks = true);

// The whole file as text (decodeTextFile), or an empty text when it cannot be
// read (readRegularFile, at most kPanelFileLimit; `error` says why); with
// `stamp`, also the file's stamp at this read.
QString readTextFile(const QString &path, TextEncoding *encoding = nullptr,
                     FileStamp *stamp = nullptr, QString *error = nullptr);
// The stamp of a file as it is now: taken of its bytes when it can be read as
// above, else of a file without bytes.
FileStamp stampOfFile(const QString &path);

// Writes bytes without ever destroying the previous file: they go to a
// temporary file in the same folder, which replaces the old one only once it
// is complete. With `sync` the data and then the folder are synced, so that
// even a power loss leaves the old or the new file whole. On failure the old
// file is untouched, the function returns false and `error` holds the
// system's reason ("No space left on device").
// A link at the path is followed to the file it leads to, which is replaced
// (a panel the user keeps elsewhere); with AtLink::Replace the link itself is
// replaced instead, so that a file the program names itself (a backup) is
// never written through a link someone put in its place.
enum class AtLink { Follow, Replace };
bool writeFileSafely(const QString &path, const QByteArray &bytes, QString *error, bool sync = true,
                     AtLink atLink = AtLink::Follow);
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
  AtLink atLink = AtLink::Follow;
};
// With a journal, a set of several files is also replaced as one step: once
// the data of all of them is on disk, the journal (beside the last file)
// names each temporary file with the size and hash of its bytes, what its
// file was just before (size, time and hash of its bytes) and the set's
// `tag`; it is removed when every file replaced its old one. A process that
// dies between the replacements leaves the journal, from which
// replayFileJournal completes the set. The journal, like every temporary
// file, is created afresh and moved into place: a link at its name is
// replaced, never written through.
struct FileJournal {
  QString path;
  QString tag;  // what the files of the set have in common (a version)
};
void writeFilesSafely(std::vector<FileWrite> &files, bool sync = true,
                      const FileJournal *journal = nullptr);

// A hash of bytes that is the same on every machine and in every build (a
// journal written on one machine may be replayed on another).
quint64 contentHash(QByteArrayView bytes);

// What replaying a journal did with each file of its set.
struct JournalReplay {
  enum class State {
    Replaced,  // the save was completed from its temporary file now
    InPlace,   // the file had already replaced its old one
    Behind,    // its temporary file is missing, incomplete or not of this set,
               // or the file was changed since: it was left as it is
  };
  struct File {
    QString path;
    State state;
  };
  bool found = false;  // a complete journal was there
  QString tag;
  std::vector<File> files;
};
// Completes the set a journal names, in its order: a file whose bytes are
// those of its temporary file already replaced its old one; otherwise its
// temporary file replaces it when the file is still what the journal says it
// was (size, time and hash: nobody changed it since), the temporary file has
// the size and hash the journal gives, and `accept` takes its bytes with the
// set's tag. When no file of the set was replaced yet, all are or none is.
// The journal is removed afterwards (also when it is incomplete: the process
// then died before any file was replaced). The caller must hold whatever
// lock the writer held.
JournalReplay replayFileJournal(
    const QString &journal,
    const std::function<bool(const QString &tag, const QByteArray &bytes)> &accept);

// Temporary files of this writer are named ".NAME.tessary-XXXXXX" (six
// letters or digits). Removes those in the folder last changed more than
// `olderThanSeconds` ago, never another file, and never one that a journal
// in the folder still names (its save is not complete); the number removed.
bool isWritersTemporaryName(const QString &fileName);
int removeStaleTemporaries(const QString &folder, qint64 olderThanSeconds);
// Journals are named after the last file of their set: ".NAME.tessary-journal"
// beside it. The journal of a file, those in a folder, and the file a journal
// belongs to.
QString journalPathOf(const QString &file);
QStringList journalsIn(const QString &folder);
QString fileOfJournal(const QString &journal);

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
