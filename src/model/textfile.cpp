#include "model/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
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

bool fail(QString *error, int code) {
  if (error) *error = systemError(code);
  return false;
}

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

bool WriteFileSafely(const QString &path, const QByteArray &bytes, QString *error, bool sync) {
  QFileInfo info(path);
  if (info.isSymLink()) info = QFileInfo(info.symLinkTarget());  // replace what the link names
  const QByteArray target = QFile::encodeName(info.absoluteFilePath());
  const QByteArray folder = QFile::encodeName(info.absolutePath());
  QByteArray temporary =
      QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return fail(error, errno);
  auto abandon = [&](int code) {
    ::close(fd);
    ::unlink(temporary.constData());
    return fail(error, code);
  };
  if (::fchmod(fd, modeFor(target)) != 0) return abandon(errno);
  if (!writeAll(fd, bytes)) return abandon(errno);
  if (sync && ::fdatasync(fd) != 0) return abandon(errno);
  if (::close(fd) != 0) {
    const int code = errno;
    ::unlink(temporary.constData());
    return fail(error, code);
  }
  if (::rename(temporary.constData(), target.constData()) != 0) {
    const int code = errno;
    ::unlink(temporary.constData());
    return fail(error, code);
  }
  if (sync) syncFolder(folder);
  return true;
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
