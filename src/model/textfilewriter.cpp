// The safe writer of textfile.h: temporary files renamed into place, sets of
// files replaced as one step through a journal, and the journal's replay.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "model/textfile.h"

namespace {

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

// What marks a temporary file as this writer's: ".NAME" + mark + six characters.
constexpr char kTemporaryMark[] = ".tessary-";
constexpr char kJournalMark[] = ".tessary-journal";
void (*g_betweenReplacements)() = nullptr;

// One file on its way: its temporary file beside the target.
struct Pending {
  QByteArray target, folder, temporary;
  int fd = -1;
  int failure = 0;  // errno of the first step that failed
};

void start(Pending &p, const QString &path, const QByteArray &bytes, bool sync, AtLink atLink) {
  QFileInfo info(path);
  // Replace the file the links lead to, through every level of a chain (a
  // loop ends after as many hops as the system allows).
  for (int hops = 0; atLink == AtLink::Follow && info.isSymLink() && hops < 40; ++hops)
    info = QFileInfo(info.symLinkTarget());
  p.target = QFile::encodeName(info.absoluteFilePath());
  p.folder = QFile::encodeName(info.absolutePath());
  p.temporary = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) +
                kTemporaryMark + "XXXXXX";
  // Created afresh (O_EXCL): never a file or link that was already there.
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

// The new file in the old one's place. A rename replaces a link at the
// target's name; it never writes through it.
void replace(Pending &p) {
  if (!p.failure && ::rename(p.temporary.constData(), p.target.constData()) != 0) p.failure = errno;
  if (p.failure && p.fd >= 0) ::unlink(p.temporary.constData());
}

// ---------------------------------------------------------------- the journal

constexpr char kJournalHeader[] = "tessary-save-journal 2";

}  // namespace

quint64 contentHash(QByteArrayView bytes) {
  constexpr quint64 k1 = 0x9E3779B185EBCA87ull, k2 = 0xC2B2AE3D27D4EB4Full;
  const auto mix = [](quint64 h, quint64 word) {
    h = (h ^ (word * k2)) * k1;
    return h ^ (h >> 29);
  };
  const char *p = bytes.data();
  qsizetype n = bytes.size();
  // Four lanes, so that the multiplications of one step overlap.
  quint64 lane[4] = {k1, k2, k1 ^ k2, k1 + k2};
  for (; n >= 32; p += 32, n -= 32)
    for (int k = 0; k < 4; ++k) lane[k] = mix(lane[k], qFromLittleEndian<quint64>(p + 8 * k));
  quint64 h = quint64(bytes.size());
  for (quint64 l : lane) h = mix(h, l);
  for (; n >= 8; p += 8, n -= 8) h = mix(h, qFromLittleEndian<quint64>(p));
  for (; n > 0; ++p, --n) h = mix(h, quint8(*p));
  return mix(h, h >> 32);
}

namespace {

// What a file is: there or not, and then its size, time and hash; unknown
// when it is there but cannot be read as a file.
struct Identity {
  enum class Kind { Absent, Known, Unknown } kind = Kind::Unknown;
  qint64 size = 0;
  qint64 modified = 0;
  quint64 hash = 0;

  QByteArray text() const {
    if (kind == Kind::Absent) return "absent";
    if (kind == Kind::Unknown) return "unknown";
    return QByteArray::number(size) + ':' + QByteArray::number(modified) + ':' +
           QByteArray::number(hash, 16);
  }
  static Identity fromText(const QByteArray &text) {
    Identity id;
    if (text == "absent") id.kind = Kind::Absent;
    const QList<QByteArray> parts = text.split(':');
    bool ok[3] = {false, false, false};
    if (parts.size() == 3) {
      id.size = parts[0].toLongLong(&ok[0]);
      id.modified = parts[1].toLongLong(&ok[1]);
      id.hash = parts[2].toULongLong(&ok[2], 16);
      if (ok[0] && ok[1] && ok[2]) id.kind = Kind::Known;
    }
    return id;
  }
  bool operator==(const Identity &o) const {
    // What is unknown is never the same as anything.
    if (kind != o.kind || kind == Kind::Unknown) return false;
    return kind == Kind::Absent || (size == o.size && modified == o.modified && hash == o.hash);
  }
};

Identity identityOf(const QByteArray &path, QByteArray *bytes = nullptr) {
  Identity id;
  struct stat st;
  if (::lstat(path.constData(), &st) != 0) {
    if (errno == ENOENT) id.kind = Identity::Kind::Absent;
    return id;
  }
  QByteArray read;
  FileStamp stamp;
  if (!readRegularFile(QFile::decodeName(path), kPanelFileLimit, &read, nullptr, &stamp)) return id;
  id.kind = Identity::Kind::Known;
  id.size = read.size();
  id.modified = stamp.modified;
  id.hash = contentHash(read);
  if (bytes) *bytes = std::move(read);
  return id;
}

QByteArray pathText(const QByteArray &path) { return path.toPercentEncoding("/"); }

// The journal of a set whose data is on disk: one line per file (temporary
// file, file, the size and hash of the new bytes, what the file is now), the
// tag, and "end" last, so that a journal cut short is seen as such. Written
// as every file is, through a temporary file moved into place.
bool writeJournal(const FileJournal &journal, const std::vector<Pending> &pending,
                  const std::vector<FileWrite> &files, bool sync) {
  QByteArray text = QByteArray(kJournalHeader) + "\ntag\t" + pathText(journal.tag.toUtf8()) + '\n';
  for (size_t k = 0; k < files.size(); ++k)
    text += "file\t" + pathText(pending[k].temporary) + '\t' + pathText(pending[k].target) + '\t' +
            QByteArray::number(files[k].bytes.size()) + '\t' +
            QByteArray::number(contentHash(files[k].bytes), 16) + '\t' +
            identityOf(pending[k].target).text() + '\n';
  text += "end\n";
  Pending p;
  start(p, journal.path, text, sync, AtLink::Replace);
  // Only its data is synced here: where the file system keeps metadata
  // changes in order (ext4 and others) no replacement reaches the disk before
  // the journal's, and a killed process loses neither.
  complete(p, sync);
  replace(p);
  errno = p.failure;
  return p.failure == 0;
}

// One file of a journal as read back.
struct JournalFile {
  QByteArray temporary, target;
  qint64 size = -1;
  quint64 hash = 0;
  Identity before;
};

// The files of a complete journal (and its tag); false when it is not one.
bool parseJournal(const QByteArray &text, QString *tag, std::vector<JournalFile> *files) {
  const QList<QByteArray> lines = text.split('\n');
  if (lines.size() < 4 || lines.first() != kJournalHeader || lines[lines.size() - 2] != "end")
    return false;
  for (qsizetype k = 1; k < lines.size() - 2; ++k) {
    const QList<QByteArray> field = lines[k].split('\t');
    if (field.size() == 2 && field[0] == "tag")
      *tag = QString::fromUtf8(QByteArray::fromPercentEncoding(field[1]));
    if (field.size() != 6 || field[0] != "file") continue;
    JournalFile f;
    f.temporary = QByteArray::fromPercentEncoding(field[1]);
    f.target = QByteArray::fromPercentEncoding(field[2]);
    bool sized = false, hashed = false;
    f.size = field[3].toLongLong(&sized);
    f.hash = field[4].toULongLong(&hashed, 16);
    f.before = Identity::fromText(field[5]);
    if (sized && hashed) files->push_back(f);
  }
  return true;
}

bool isTemporaryOf(const QByteArray &temporary, const QByteArray &target) {
  const qsizetype slash = target.lastIndexOf('/');
  if (slash < 0) return false;
  const QByteArray prefix = target.left(slash + 1) + '.' + target.mid(slash + 1) + kTemporaryMark;
  return temporary.startsWith(prefix) && temporary.size() == prefix.size() + 6 &&
         isWritersTemporaryName(QFile::decodeName(temporary.mid(slash + 1)));
}

}  // namespace

void writeFilesSafely(std::vector<FileWrite> &files, bool sync, const FileJournal *journal) {
  std::vector<Pending> pending(files.size());
  for (size_t k = 0; k < files.size(); ++k)
    start(pending[k], files[k].path, files[k].bytes, sync, files[k].atLink);
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
    files[k].error = files[k].written ? QString() : systemErrorText(pending[k].failure);
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

JournalReplay replayFileJournal(
    const QString &journal,
    const std::function<bool(const QString &tag, const QByteArray &bytes)> &accept) {
  JournalReplay replay;
  QByteArray text;
  // A journal that is no regular file is not this writer's: it is left for
  // the next journal to replace.
  if (!readRegularFile(journal, kSmallFileLimit, &text)) return replay;
  std::vector<JournalFile> files;
  replay.found = parseJournal(text, &replay.tag, &files);
  // Only a temporary file this writer names after its file, beside it,
  // ever replaces that file: a journal someone else wrote moves nothing else.
  files.erase(
      std::remove_if(files.begin(), files.end(),
                     [](const JournalFile &f) { return !isTemporaryOf(f.temporary, f.target); }),
      files.end());
  enum class Step { InPlace, Ready, Blocked };
  std::vector<Step> steps;
  for (const JournalFile &f : files) {
    QByteArray bytes;
    const Identity now = identityOf(f.target, &bytes);
    if (now.kind == Identity::Kind::Known && now.size == f.size && now.hash == f.hash) {
      steps.push_back(Step::InPlace);
      continue;
    }
    // The temporary file replaces its file only when it is whole and of this
    // set, and nobody changed the file since the set was written: a change
    // made since (an entry the hardware side added) is never undone.
    const bool whole = readRegularFile(QFile::decodeName(f.temporary), f.size, &bytes) &&
                       bytes.size() == f.size && contentHash(bytes) == f.hash &&
                       accept(replay.tag, bytes);
    steps.push_back(whole && now == f.before ? Step::Ready : Step::Blocked);
  }
  // A set none of whose files was replaced yet is completed whole or not at
  // all; once one was, every other file that can follow does.
  const bool started = std::count(steps.begin(), steps.end(), Step::InPlace) > 0;
  const bool allReady = std::count(steps.begin(), steps.end(), Step::Blocked) == 0;
  std::vector<QByteArray> folders;
  for (size_t k = 0; k < files.size(); ++k) {
    JournalReplay::File file{QFile::decodeName(files[k].target), JournalReplay::State::Behind};
    if (steps[k] == Step::InPlace) {
      file.state = JournalReplay::State::InPlace;
    } else if (steps[k] == Step::Ready && (started || allReady) &&
               ::rename(files[k].temporary.constData(), files[k].target.constData()) == 0) {
      file.state = JournalReplay::State::Replaced;
      folders.push_back(QFile::encodeName(QFileInfo(file.path).absolutePath()));
    }
    replay.files.push_back(file);
  }
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

QString journalPathOf(const QString &file) {
  return folderOf(file) + u'.' + fileNameOf(file) + QLatin1String(kJournalMark);
}

QStringList journalsIn(const QString &folder) {
  QStringList journals;
  const QDir dir(folder);
  for (const QString &name : dir.entryList({QStringLiteral(".*") + QLatin1String(kJournalMark)},
                                           QDir::Files | QDir::Hidden | QDir::System))
    if (name.size() > qsizetype(sizeof kJournalMark)) journals << dir.filePath(name);
  return journals;
}

QString fileOfJournal(const QString &journal) {
  const QString name = fileNameOf(journal);
  return folderOf(journal) + name.mid(1, name.size() - 1 - qsizetype(sizeof kJournalMark - 1));
}

int removeStaleTemporaries(const QString &folder, qint64 olderThanSeconds) {
  // The temporary files a journal still names belong to a save that is not
  // complete: they are kept until it is completed or reported.
  QStringList named;
  for (const QString &journal : journalsIn(folder)) {
    QByteArray text;
    QString tag;
    std::vector<JournalFile> files;
    if (readRegularFile(journal, kSmallFileLimit, &text) && parseJournal(text, &tag, &files))
      for (const JournalFile &f : files) named << fileNameOf(QFile::decodeName(f.temporary));
  }
  const QDir dir(folder);
  const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-olderThanSeconds);
  int removed = 0;
  for (const QFileInfo &info :
       dir.entryInfoList({QStringLiteral(".*") + QLatin1String(kTemporaryMark) + u'*'},
                         QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks))
    if (isWritersTemporaryName(info.fileName()) && !named.contains(info.fileName()) &&
        info.lastModified().toUTC() < before && QFile::remove(info.absoluteFilePath()))
      ++removed;
  return removed;
}

bool writeFileSafely(const QString &path, const QByteArray &bytes, QString *error, bool sync,
                     AtLink atLink) {
  std::vector<FileWrite> files{FileWrite{path, bytes, false, QString(), false, atLink}};
  writeFilesSafely(files, sync);
  if (!files[0].written && error) *error = files[0].error;
  return files[0].written;
}

bool writeTextFileSafely(const QString &path, const QString &text, QString *error,
                         TextEncoding encoding) {
  return writeFileSafely(path, encodeTextFile(text, encoding), error);
}

void ignoreFileSizeLimitSignal() { std::signal(SIGXFSZ, SIG_IGN); }
