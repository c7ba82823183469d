#include "model/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "model/codepage.h"

bool fileExists(const QString &path) {
  if (path.isEmpty()) return false;
  const QFileInfo info(path);
  return info.exists() && !info.isDir();
}

namespace {
constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";
}

QString decodeTextFile(QByteArrayView bytes, TextEncoding *encoding) {
  if (bytes.startsWith(kUtf8ByteOrderMark)) {
    if (encoding) *encoding = TextEncoding::Utf8WithByteOrderMark;
    return QString::fromUtf8(bytes.data() + 3, bytes.size() - 3);
  }
  if (encoding) *encoding = TextEncoding::Windows1252;
  return decodeWindows1252(bytes);
}

QByteArray encodeTextFile(const QString &text, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8WithByteOrderMark)
    return QByteArray(kUtf8ByteOrderMark) + text.toUtf8();
  return encodeWindows1252(text);
}

namespace {
// The file's size and modification time (milliseconds); false when it is not there.
bool statFile(const QString &path, FileStamp *stamp) {
  struct stat st;
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return false;
  stamp->exists = true;
  stamp->size = st.st_size;
  stamp->modified = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
  return true;
}
}  // namespace

FileStamp stampOfBytes(const QString &path, QByteArrayView bytes) {
  FileStamp stamp;
  if (!statFile(path, &stamp)) return stamp;
  stamp.size = bytes.size();
  stamp.hash = qHash(bytes, 0);
  stamp.taken = QDateTime::currentMSecsSinceEpoch();
  return stamp;
}

bool fileChangedSince(const QString &path, const FileStamp &stamp) {
  FileStamp now;
  if (!statFile(path, &now)) return stamp.exists;
  if (!stamp.exists) return true;
  // Two writes within the file system's time resolution leave the same time.
  constexpr qint64 kTimeResolutionMs = 2000;
  if (now.size == stamp.size && now.modified == stamp.modified &&
      stamp.taken - stamp.modified > kTimeResolutionMs)
    return false;
  QFile f(path);
  if (now.size != stamp.size || !f.open(QIODevice::ReadOnly)) return true;
  return qHash(f.readAll(), 0) != stamp.hash;
}

QString readTextFile(const QString &path, TextEncoding *encoding, FileStamp *stamp) {
  if (encoding) *encoding = TextEncoding::Windows1252;
  if (stamp) *stamp = FileStamp();
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QString();
  // Decoded straight from the file's pages where the system maps them.
  if (const qint64 size = f.size(); size > 0)
    if (const uchar *mapped = f.map(0, size)) {
      const QByteArrayView bytes(reinterpret_cast<const char *>(mapped), size);
      const QString text = decodeTextFile(bytes, encoding);
      if (stamp) *stamp = stampOfBytes(path, bytes);
      f.unmap(const_cast<uchar *>(mapped));
      return text;
    }
  const QByteArray bytes = f.readAll();
  if (stamp) *stamp = stampOfBytes(path, bytes);
  return decodeTextFile(bytes, encoding);
}

namespace {

QString systemError(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

void syncFolder(const QByteArray &folder) {
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// The permissions a replaced file keeps, or those of a new file.
mode_t modeFor(const QByteArray &target) {
  struct stat st;
  if (::stat(target.constData(), &st) == 0) return st.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool writeAll(int fd, const QByteArray &bytes) {
  const char *p = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= n;
  }
  return true;
}

}  // namespace

namespace {

// What marks a temporary file as this writer's: ".NAME" + mark + six characters.
constexpr char kTemporaryMark[] = ".tessary-";
void (*g_betweenReplacements)() = nullptr;

// One file on its way: its temporary file beside the target.
struct Pending {
  QByteArray target, folder, temporary;
  int fd = -1;
  int failure = 0;  // errno of the first step that failed
};

void start(Pending &p, const QString &path, const QByteArray &bytes, bool sync) {
  QFileInfo info(path);
  // Replace the file the links lead to, through every level of a chain (a
  // loop ends after as many hops as the system allows).
  for (int hops = 0; info.isSymLink() && hops < 40; ++hops) info = QFileInfo(info.symLinkTarget());
  p.target = QFile::encodeName(info.absoluteFilePath());
  p.folder = QFile::encodeName(info.absolutePath());
  p.temporary = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) +
                kTemporaryMark + "XXXXXX";
  p.fd = ::mkostemp(p.temporary.data(), O_CLOEXEC);
  if (p.fd < 0) {
    p.failure = errno;
    return;
  }
  if (::fchmod(p.fd, modeFor(p.target)) != 0 || !writeAll(p.fd, bytes)) {
    p.failure = errno;
    return;
  }
  // The system starts writing the data out now, so that the syncs of
  // several files overlap.
  if (sync) ::sync_file_range(p.fd, 0, 0, SYNC_FILE_RANGE_WRITE);
}

// The data on disk and the file closed.
void complete(Pending &p, bool sync) {
  if (!p.failure && sync && ::fdatasync(p.fd) != 0) p.failure = errno;
  if (p.fd >= 0 && ::close(p.fd) != 0 && !p.failure) p.failure = errno;
}

// The new file in the old one's place.
void replace(Pending &p) {
  if (!p.failure && ::rename(p.temporary.constData(), p.target.constData()) != 0) p.failure = errno;
  if (p.failure && p.fd >= 0) ::unlink(p.temporary.constData());
}

}  // namespace

namespace {

constexpr char kJournalHeader[] = "tessary-save-journal 1";

// The journal of a set whose data is on disk: one line per file (temporary
// file, file, size), the tag, and "end" last, so that a journal cut short
// is seen as such. Written in place.
bool writeJournal(const FileJournal &journal, const std::vector<Pending> &pending,
                  const std::vector<FileWrite> &files, bool sync) {
  QByteArray text = QByteArray(kJournalHeader) + "\ntag\t" + journal.tag.toUtf8() + '\n';
  for (size_t k = 0; k < files.size(); ++k)
    text += "file\t" + pending[k].temporary + '\t' + pending[k].target + '\t' +
            QByteArray::number(files[k].bytes.size()) + '\n';
  text += "end\n";
  const QByteArray path = QFile::encodeName(journal.path);
  const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  // Only its data is synced here: where the file system keeps metadata
  // changes in order (ext4 and others) no replacement reaches the disk before
  // the journal's creation, and a killed process loses neither.
  bool ok = writeAll(fd, text) && (!sync || ::fdatasync(fd) == 0);
  return ::close(fd) == 0 && ok;
}

}  // namespace

void writeFilesSafely(std::vector<FileWrite> &files, bool sync, const FileJournal *journal) {
  std::vector<Pending> pending(files.size());
  for (size_t k = 0; k < files.size(); ++k) start(pending[k], files[k].path, files[k].bytes, sync);
  for (Pending &p : pending) complete(p, sync);
  // Files that belong together are replaced together or not at all: when the
  // data of one could not be written, none replaces its old file.
  bool allWritten =
      std::all_of(pending.begin(), pending.end(), [](const Pending &p) { return !p.failure; });
  const bool journalled = journal && allWritten && files.size() > 1;
  if (journalled && !writeJournal(*journal, pending, files, sync)) {
    for (Pending &p : pending) p.failure = errno ? errno : EIO;
    allWritten = false;
  }
  bool before = allWritten;  // every file before this one was replaced
  for (size_t k = 0; k < files.size(); ++k) {
    if (k > 0 && before && g_betweenReplacements) g_betweenReplacements();
    if (!before && !pending[k].failure) pending[k].failure = ECANCELED;
    replace(pending[k]);
    files[k].written = before = pending[k].failure == 0;
    files[k].error = files[k].written ? QString() : systemError(pending[k].failure);
    files[k].cancelled = pending[k].failure == ECANCELED;
  }
  if (journalled) ::unlink(QFile::encodeName(journal->path).constData());
  if (!sync) return;
  std::vector<QByteArray> synced;
  for (const Pending &p : pending)
    if (!p.failure && std::find(synced.begin(), synced.end(), p.folder) == synced.end()) {
      syncFolder(p.folder);
      synced.push_back(p.folder);
    }
}

void setBetweenReplacementsHookForTests(void (*hook)()) { g_betweenReplacements = hook; }

namespace {
bool isTemporaryOf(const QByteArray &temporary, const QByteArray &target) {
  const qsizetype slash = target.lastIndexOf('/');
  if (slash < 0) return false;
  const QByteArray prefix = target.left(slash + 1) + '.' + target.mid(slash + 1) + kTemporaryMark;
  return temporary.startsWith(prefix) && temporary.size() == prefix.size() + 6 &&
         isWritersTemporaryName(QFile::decodeName(temporary.mid(slash + 1)));
}
}  // namespace

JournalReplay replayFileJournal(
    const QString &journal,
    const std::function<bool(const QString &tag, const QByteArray &bytes)> &accept) {
  JournalReplay replay;
  QFile f(journal);
  if (!f.open(QIODevice::ReadOnly)) return replay;
  const QList<QByteArray> lines = f.readAll().split('\n');
  f.close();
  const bool complete =
      lines.size() >= 4 && lines.first() == kJournalHeader && lines[lines.size() - 2] == "end";
  std::vector<QByteArray> folders;
  for (qsizetype k = 1; complete && k < lines.size() - 2; ++k) {
    const QList<QByteArray> field = lines[k].split('\t');
    if (field.size() == 2 && field[0] == "tag") replay.tag = QString::fromUtf8(field[1]);
    if (field.size() != 4 || field[0] != "file") continue;
    const QByteArray &temporary = field[1], &target = field[2];
    // Only a temporary file this writer names after its file, beside it,
    // ever replaces that file: a journal someone else wrote moves nothing
    // else.
    if (!isTemporaryOf(temporary, target)) continue;
    JournalReplay::File file{QFile::decodeName(target), JournalReplay::State::InPlace};
    QFile t(QFile::decodeName(temporary));
    if (t.open(QIODevice::ReadOnly)) {
      const QByteArray bytes = t.readAll();
      t.close();
      const bool whole = bytes.size() == field[3].toLongLong() && accept(replay.tag, bytes);
      file.state = whole && ::rename(temporary.constData(), target.constData()) == 0
                       ? JournalReplay::State::Replaced
                       : JournalReplay::State::Behind;
      if (file.state == JournalReplay::State::Replaced)
        folders.push_back(QFile::encodeName(QFileInfo(file.path).absolutePath()));
    } else if (fileExists(QFile::decodeName(temporary))) {
      file.state = JournalReplay::State::Behind;  // there, but cannot be read
    }
    replay.files.push_back(file);
  }
  replay.found = complete;
  for (const QByteArray &folder : folders) syncFolder(folder);
  QFile::remove(journal);
  return replay;
}

bool isWritersTemporaryName(const QString &fileName) {
  const qsizetype mark = fileName.lastIndexOf(QLatin1String(kTemporaryMark));
  if (!fileName.startsWith(u'.') || mark < 2 ||
      fileName.size() != mark + qsizetype(sizeof kTemporaryMark - 1) + 6)
    return false;
  for (qsizetype k = fileName.size() - 6; k < fileName.size(); ++k)
    if (!(fileName[k].isLetterOrNumber() && fileName[k].unicode() < 0x80)) return false;
  return true;
}

int removeStaleTemporaries(const QString &folder, qint64 olderThanSeconds) {
  const QDir dir(folder);
  const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-olderThanSeconds);
  int removed = 0;
  for (const QFileInfo &info :
       dir.entryInfoList({QStringLiteral(".*") + QLatin1String(kTemporaryMark) + u'*'},
                         QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks))
    if (isWritersTemporaryName(info.fileName()) && info.lastModified().toUTC() < before &&
        QFile::remove(info.absoluteFilePath()))
      ++removed;
  return removed;
}

bool writeFileSafely(const QString &path, const QByteArray &bytes, QString *error, bool sync) {
  std::vector<FileWrite> files{FileWrite{path, bytes, false, QString(), false}};
  writeFilesSafely(files, sync);
  if (!files[0].written && error) *error = files[0].error;
  return files[0].written;
}

bool writeTextFileSafely(const QString &path, const QString &text, QString *error,
                         TextEncoding encoding) {
  return writeFileSafely(path, encodeTextFile(text, encoding), error);
}

void ignoreFileSizeLimitSignal() { std::signal(SIGXFSZ, SIG_IGN); }

namespace {
qsizetype lastSeparator(const QString &path) {
  return qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
}
}  // namespace

QString fileNameOf(const QString &path) { return path.mid(lastSeparator(path) + 1); }

QString folderOf(const QString &path) { return path.left(lastSeparator(path) + 1); }

QString joinPath(const QString &folder, const QString &name) {
  if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(u'\\')) return folder + name;
  return folder + u'/' + name;
}
