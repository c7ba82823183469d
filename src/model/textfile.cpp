#include "model/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

#include "model/codepage.h"

bool FileExists(const QString &path) {
  if (path.isEmpty()) return false;
  const QFileInfo info(path);
  return info.exists() && !info.isDir();
}

QString ReadTextFile(const QString &path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QString();
  return DecodeWindows1252(f.readAll());
}

namespace {
void syncFolderOf(const QString &path) {
  const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}
}  // namespace

bool WriteTextFileSafely(const QString &path, const QString &text, QString *error) {
  QSaveFile f(path);
  auto fail = [&](const QString &why) {
    if (error) *error = why;
    f.cancelWriting();
    return false;
  };
  if (!f.open(QIODevice::WriteOnly)) return fail(f.errorString());
  const QByteArray bytes = EncodeWindows1252(text);
  if (f.write(bytes) != bytes.size()) return fail(f.errorString());
  if (!f.flush()) return fail(f.errorString());
  if (::fsync(f.handle()) != 0) return fail(QStringLiteral("the data could not be written to disk"));
  if (!f.commit()) {
    if (error) *error = f.errorString();
    return false;
  }
  syncFolderOf(path);
  return true;
}

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
