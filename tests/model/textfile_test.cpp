// Text files: the encodings files come in, and the safe writer when the
// system refuses a write (a file-size limit, a full disk).
#include "model/textfile.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace {

QByteArray readBytes(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// In a child process with the signal's default action, as a program starts:
// writes past a file-size limit of 1 KiB, then exits 0 when the write failed
// with the system's reason and left the old file whole.
void writePastAFileSizeLimit(const QString &path, bool ignoreTheSignal) {
  std::signal(SIGXFSZ, SIG_DFL);
  if (ignoreTheSignal) ignoreFileSizeLimitSignal();
  rlimit limit{1024, 1024};
  setrlimit(RLIMIT_FSIZE, &limit);
  QString error;
  const bool written = writeTextFileSafely(path, QString(4096, u'x'), &error);
  const bool old = readBytes(path) == "old";
  std::exit(!written && error == QLatin1String("File too large") && old ? 0 : 1);
}

}  // namespace

TEST(TextFile, AByteOrderMarkMeansUtf8) {
  TextEncoding encoding = TextEncoding::Windows1252;
  EXPECT_EQ(decodeTextFile("\xEF\xBB\xBF<a>\xC3\xA9\xE2\x82\xAC</a>", &encoding),
            QString::fromUtf8("<a>\u00e9\u20ac</a>"));
  EXPECT_EQ(encoding, TextEncoding::Utf8WithByteOrderMark);
  EXPECT_EQ(decodeTextFile("<a>\xE9\x80</a>", &encoding), QString::fromUtf8("<a>\u00e9\u20ac</a>"));
  EXPECT_EQ(encoding, TextEncoding::Windows1252);
  for (TextEncoding e : {TextEncoding::Windows1252, TextEncoding::Utf8WithByteOrderMark}) {
    const QString text = QString::fromUtf8("caf\u00e9 \u20ac");
    TextEncoding read;
    EXPECT_EQ(decodeTextFile(encodeTextFile(text, e), &read), text);
    EXPECT_EQ(read, e);
  }
}

TEST(TextFile, AWritePastTheFileSizeLimitFailsInsteadOfKillingTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("Studio.xml"));
  QString error;
  ASSERT_TRUE(writeTextFileSafely(path, QStringLiteral("old"), &error));
  // Left to its default, the signal kills the program and its unsaved work.
  EXPECT_EXIT(writePastAFileSizeLimit(path, false), ::testing::KilledBySignal(SIGXFSZ), "");
  EXPECT_EXIT(writePastAFileSizeLimit(path, true), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(readBytes(path), "old");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Studio.xml"});
}

TEST(TextFile, AFullDiskIsReportedWithTheSystemsReason) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QByteArray mountPoint = QFile::encodeName(dir.path());
  if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "a small file system cannot be mounted here: " << std::strerror(errno);
  const QString path = dir.filePath(QStringLiteral("Studio.xml"));
  QString error;
  EXPECT_TRUE(writeTextFileSafely(path, QStringLiteral("old"), &error));
  EXPECT_FALSE(writeTextFileSafely(path, QString(200 * 1024, u'x'), &error));
  EXPECT_EQ(error, "No space left on device");
  EXPECT_EQ(readBytes(path), "old");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Studio.xml"});
  ::umount2(mountPoint.constData(), MNT_DETACH);
}

TEST(TextFile, AReplacedFileKeepsItsPermissions) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("Studio.xml"));
  QString error;
  ASSERT_TRUE(writeTextFileSafely(path, QStringLiteral("old"), &error));
  ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
  ASSERT_TRUE(writeTextFileSafely(path, QStringLiteral("new"), &error));
  const QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                  QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                  QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
  EXPECT_EQ(QFile::permissions(path) & mode,
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
  EXPECT_EQ(readBytes(path), "new");
}

TEST(TextFile, AChainOfLinksKeepsEveryLinkAndReplacesTheFileAtItsEnd) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QDir(dir.path()).mkdir(QStringLiteral("real"));
  const QString file = dir.filePath(QStringLiteral("real/Studio.xml"));
  const QString second = dir.filePath(QStringLiteral("second.xml"));
  const QString first = dir.filePath(QStringLiteral("Studio.xml"));
  QString error;
  ASSERT_TRUE(writeTextFileSafely(file, QStringLiteral("old"), &error));
  ASSERT_TRUE(QFile::link(QStringLiteral("real/Studio.xml"), second));  // relative, one level
  ASSERT_TRUE(QFile::link(second, first));
  ASSERT_TRUE(writeTextFileSafely(first, QStringLiteral("new"), &error)) << error.toStdString();
  EXPECT_TRUE(QFileInfo(first).isSymLink());
  EXPECT_TRUE(QFileInfo(second).isSymLink());
  EXPECT_EQ(readBytes(file), "new");
}

// Only regular files within their size limit are read: a named pipe, a
// device (also behind a link) or a folder is refused at once with a reason,
// never read or waited on, and so is a file past the limit (a sparse one
// costs nothing to make).
TEST(TextFile, OnlyRegularFilesWithinTheLimitAreRead) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString fifo = dir.filePath(QStringLiteral("Pipe.xml"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString zero = dir.filePath(QStringLiteral("Zero.xml"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
  const QString large = dir.filePath(QStringLiteral("Large.xml"));
  const QString full = dir.filePath(QStringLiteral("Full.xml"));
  QString error;
  ASSERT_TRUE(writeTextFileSafely(large, QStringLiteral("<Panel/>"), &error));
  ASSERT_TRUE(QFile::resize(large, kSmallFileLimit + 1));
  ASSERT_TRUE(writeTextFileSafely(full, QString(kSmallFileLimit, u'x'), &error));
  const struct {
    QString path;
    const char *reason;  // empty: read
  } cases[] = {
      {fifo, "is a named pipe, not a regular file"},
      {QStringLiteral("/dev/zero"), "is a device, not a regular file"},
      {zero, "is a device, not a regular file"},
      {dir.path(), "is a folder, not a file"},
      {large, "is larger than 1 MB (2 MB)"},
      {dir.filePath(QStringLiteral("None.xml")), "cannot be opened: No such file or directory"},
      {full, ""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    QByteArray bytes;
    EXPECT_EQ(readRegularFile(c.path, kSmallFileLimit, &bytes, &error), !*c.reason);
    EXPECT_EQ(error, QLatin1String(c.reason));
    EXPECT_EQ(bytes.size(), *c.reason ? 0 : kSmallFileLimit);
    QFile file(c.path);
    EXPECT_EQ(openRegularFile(file, kSmallFileLimit, &error), !*c.reason);
    EXPECT_EQ(error, QLatin1String(c.reason));
  }
  // Text files are read the same way, within the panel files' limit.
  EXPECT_TRUE(readTextFile(fifo, nullptr, nullptr, &error).isEmpty());
  EXPECT_EQ(error, "is a named pipe, not a regular file");
}
