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

QString systemErrorText(int errorNumber) {
  return QString::fromLocal8Bit(std::strerror(errorNumber));
}

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
  QByteArray bytes;
  if (now.size != stamp.size || !readRegularFile(path, kPanelFileLimit, &bytes)) return true;
  return qHash(bytes, 0) != stamp.hash;
}

namespace {

// What a file that is not a regular file is, said of it.
QString notRegularText(mode_t mode) {
  if (S_ISLNK(mode)) return QStringLiteral("is a link, not a regular file");
  if (S_ISDIR(mode)) return QStringLiteral("is a folder, not a file");
  if (S_ISFIFO(mode)) return QStringLiteral("is a named pipe, not a regular file");
  if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("is a device, not a regular file");
  if (S_ISSOCK(mode)) return QStringLiteral("is a socket, not a regular file");
  return QStringLiteral("is not a regular file");
}

QString megabytes(qint64 bytes) { return QString::number((bytes + kMegabyte - 1) / kMegabyte); }

bool refuse(QString *error, const QString &why) {
  if (error) *error = why;
  return false;
}

// Whether what a stat found may be read: a regular file within the limit.
bool acceptable(const struct stat &st, qint64 limit, QString *error) {
  if (!S_ISREG(st.st_mode)) return refuse(error, notRegularText(st.st_mode));
  if (st.st_size > limit)
    return refuse(error, QStringLiteral("is larger than %1 MB (%2 MB)")
                             .arg(megabytes(limit), megabytes(st.st_size)));
  return true;
}

// The file opened for reading, or -1. The path is looked at first, so that a
// device is never opened; the opened file is looked at again, since the path
// may have changed in between. Opening never blocks, whatever it finds.
int openRegular(const QString &path, qint64 limit, struct stat *st, QString *error) {
  const QByteArray name = QFile::encodeName(path);
  if (::stat(name.constData(), st) != 0) {
    refuse(error, QStringLiteral("cannot be opened: ") + systemErrorText(errno));
    return -1;
  }
  if (!acceptable(*st, limit, error)) return -1;
  const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    refuse(error, QStringLiteral("cannot be opened: ") + systemErrorText(errno));
    return -1;
  }
  if (::fstat(fd, st) != 0 || !acceptable(*st, limit, error)) {
    if (error && error->isEmpty()) *error = QStringLiteral("cannot be read");
    ::close(fd);
    return -1;
  }
  return fd;
}

qint64 modifiedMs(const struct stat &st) {
  return qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
}

}  // namespace

QString whyNotRegularFile(const QString &path, bool followLinks) {
  struct stat st;
  const QByteArray name = QFile::encodeName(path);
  if ((followLinks ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st)) != 0 ||
      S_ISREG(st.st_mode))
    return QString();
  return notRegularText(st.st_mode);
}

bool openRegularFile(QFile &file, qint64 limit, QString *error) {
  struct stat st;
  if (error) error->clear();
  const int fd = openRegular(file.fileName(), limit, &st, error);
  if (fd < 0) return false;
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return refuse(error, QStringLiteral("cannot be opened: ") + file.errorString());
  }
  return true;
}

bool readRegularFile(const QString &path, qint64 limit, QByteArray *bytes, QString *error,
                     FileStamp *stamp) {
  struct stat st;
  if (error) error->clear();
  bytes->clear();
  const int fd = openRegular(path, limit, &st, error);
  if (fd < 0) return false;
  // Read, never mapped: a file cut short by someone else while it is read
  // must not kill the program. One byte more than the limit shows a file
  // that grew past it meanwhile.
  QByteArray read(qsizetype(st.st_size) + 1, Qt::Uninitialized);
  qsizetype got = 0;
  for (;;) {
    if (got == read.size()) {
      if (got > limit) break;
      read.resize(std::min<qsizetype>(read.size() * 2, limit + 1));
    }
    const ssize_t n = ::read(fd, read.data() + got, size_t(read.size() - got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int code = errno;
      ::close(fd);
      return refuse(error, QStringLiteral("cannot be read: ") + systemErrorText(code));
    }
    if (n == 0) break;
    got += n;
  }
  ::close(fd);
  if (got > limit)
    return refuse(error, QStringLiteral("is larger than %1 MB").arg(megabytes(limit)));
  read.truncate(got);
  *bytes = std::move(read);
  if (stamp) {
    *stamp = FileStamp();
    stamp->exists = true;
    stamp->size = bytes->size();
    stamp->modified = modifiedMs(st);
    stamp->hash = qHash(*bytes, 0);
    stamp->taken = QDateTime::currentMSecsSinceEpoch();
  }
  return true;
}

QString readTextFile(const QString &path, TextEncoding *encoding, FileStamp *stamp,
                     QString *error) {
  if (encoding) *encoding = TextEncoding::Windows1252;
  if (stamp) *stamp = FileStamp();
  QByteArray bytes;
  if (!readRegularFile(path, kPanelFileLimit, &bytes, error, stamp)) return QString();
  return decodeTextFile(bytes, encoding);
}

FileStamp stampOfFile(const QString &path) {
  QByteArray bytes;
  FileStamp stamp;
  if (readRegularFile(path, kPanelFileLimit, &bytes, nullptr, &stamp)) return stamp;
  return stampOfBytes(path, QByteArray());
}

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
