#include "model/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "model/codepage.h"

bool FileExists(const QString &path) {
  if (path.isEmpty()) return false;
  const QFileInfo info(path);
  return info.exists() && !info.isDir();
}

namespace {
constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";
}

QString DecodeTextFile(QByteArrayView bytes, TextEncoding *encoding) {
  if (bytes.startsWith(kUtf8ByteOrderMark)) {
    if (encoding) *encoding = TextEncoding::Utf8WithByteOrderMark;
    return QString::fromUtf8(bytes.data() + 3, bytes.size() - 3);
  }
  if (encoding) *encoding = TextEncoding::Windows1252;
  return DecodeWindows1252(bytes);
}

QByteArray EncodeTextFile(const QString &text, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8WithByteOrderMark)
    return QByteArray(kUtf8ByteOrderMark) + text.toUtf8();
  return EncodeWindows1252(text);
}

QString ReadTextFile(const QString &path, TextEncoding *encoding) {
  if (encoding) *encoding = TextEncoding::Windows1252;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QString();
  // Decoded straight from the file's pages where the system maps them.
  if (const qint64 size = f.size(); size > 0)
    if (const uchar *mapped = f.map(0, size)) {
      const QString text =
          DecodeTextFile(QByteArrayView(reinterpret_cast<const char *>(mapped), size), encoding);
      f.unmap(const_cast<uchar *>(mapped));
      return text;
    }
  return DecodeTextFile(f.readAll(), encoding);
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
  p.temporary =
      QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";
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

void WriteFilesSafely(std::vector<FileWrite> &files, bool sync) {
  std::vector<Pending> pending(files.size());
  for (size_t k = 0; k < files.size(); ++k) start(pending[k], files[k].path, files[k].bytes, sync);
  for (Pending &p : pending) complete(p, sync);
  // Files that belong together are replaced together or not at all: when the
  // data of one could not be written, none replaces its old file.
  const bool allWritten =
      std::all_of(pending.begin(), pending.end(), [](const Pending &p) { return !p.failure; });
  bool before = allWritten;  // every file before this one was replaced
  for (size_t k = 0; k < files.size(); ++k) {
    if (!before && !pending[k].failure) pending[k].failure = ECANCELED;
    replace(pending[k]);
    files[k].written = before = pending[k].failure == 0;
    files[k].error = files[k].written ? QString() : systemError(pending[k].failure);
    files[k].cancelled = pending[k].failure == ECANCELED;
  }
  if (!sync) return;
  std::vector<QByteArray> synced;
  for (const Pending &p : pending)
    if (!p.failure && std::find(synced.begin(), synced.end(), p.folder) == synced.end()) {
      syncFolder(p.folder);
      synced.push_back(p.folder);
    }
}

bool WriteFileSafely(const QString &path, const QByteArray &bytes, QString *error, bool sync) {
  std::vector<FileWrite> files{FileWrite{path, bytes, false, QString(), false}};
  WriteFilesSafely(files, sync);
  if (!files[0].written && error) *error = files[0].error;
  return files[0].written;
}

bool WriteTextFileSafely(const QString &path, const QString &text, QString *error,
                         TextEncoding encoding) {
  return WriteFileSafely(path, EncodeTextFile(text, encoding), error);
}

void IgnoreFileSizeLimitSignal() { std::signal(SIGXFSZ, SIG_IGN); }

namespace {
qsizetype lastSeparator(const QString &path) {
  return qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
}
}  // namespace

QString FilePart(const QString &path) { return path.mid(lastSeparator(path) + 1); }

QString FolderPart(const QString &path) { return path.left(lastSeparator(path) + 1); }

QString JoinPath(const QString &folder, const QString &name) {
  if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(u'\\')) return folder + name;
  return folder + u'/' + name;
}
