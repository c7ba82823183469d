#include "panelfile/maplock.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>
#include <cerrno>

#include "hwmap/hardwaremap.h"
#include "model/settings.h"
#include "panelfile/interruptedsave.h"

QString mapLockPath(const QString &mapFile) { return mapFile + QStringLiteral(".lock"); }

QString hardwareMapError(const QString &mapFile, const QString &why) {
  return QStringLiteral("Error adding version to hardware map (") + mapFile + QStringLiteral(": ") +
         why + u')';
}

namespace {

// Why the system refuses a file beside the lock: the lock file itself does
// not say (a full disk, a folder without write permission).
QString whyNoLockFile(const QString &lockPath) {
  const QFileInfo info(lockPath);
  QByteArray probe = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") +
                                       info.fileName() + QStringLiteral(".tessary-XXXXXX"));
  const int fd = ::mkostemp(probe.data(), O_CLOEXEC);
  if (fd < 0) return systemErrorText(errno);
  // As much as a lock file holds, and more.
  const QByteArray block(4096, ' ');
  int code = 0;
  if (::write(fd, block.constData(), size_t(block.size())) < 0 || ::fsync(fd) != 0) code = errno;
  ::close(fd);
  ::unlink(probe.constData());
  return code ? systemErrorText(code) : QStringLiteral("the system refused to create it");
}

// Takes over a lock file that names no holder. A live holder writes its
// name at once and keeps the file locked while it holds it, so the removal
// fails for a lock that is still held.
bool takeOverNamelessLock(QLockFile &lock) {
  qint64 pid = 0;
  QString host, application;
  if (lock.getLockInfo(&pid, &host, &application)) return false;  // QLockFile decides
  return lock.removeStaleLockFile();
}

}  // namespace

MapLock::MapLock(Ui &ui) : MapLock(ui, programSettings().hardwareMapFile) {}

MapLock::MapLock(Ui &ui, const QString &mapFile) : m_ui(ui), m_mapFile(mapFile) {}

MapLock::~MapLock() { unlock(); }

bool MapLock::lock(QString *error, int waitMs) {
  if (m_locked || m_mapFile.isEmpty()) return true;
  const QString path = mapLockPath(m_mapFile);
  if (!m_lock) m_lock = std::make_unique<QLockFile>(path);
  const auto fail = [&](const QString &why) {
    if (error) *error = hardwareMapError(m_mapFile, why);
    return false;
  };
  // Tried in short steps: a designer saving back to back frees the lock for
  // moments only, which QLockFile's own growing pauses would miss.
  const QDeadlineTimer deadline(waitMs);
  for (;;) {
    // Something else in the lock's place would make QLockFile wait on it
    // forever (a named pipe) or never free it.
    const QString what = whyNotRegularFile(path, false);
    if (!what.isEmpty())
      return fail(QStringLiteral("its lock file %1 %2; remove it").arg(fileNameOf(path), what));
    if (m_lock->tryLock(0)) break;
    if (m_lock->error() != QLockFile::LockFailedError)
      return fail(QStringLiteral("its lock file %1 cannot be created: %2")
                      .arg(fileNameOf(path), whyNoLockFile(path)));
    if (takeOverNamelessLock(*m_lock)) continue;
    if (deadline.hasExpired())
      return fail(QStringLiteral("another save is updating it; try again"));
    QThread::msleep(2);
  }
  m_locked = true;
  // A save another designer could not finish is completed first, so that
  // the map read under the lock is the one its panel file was saved with.
  m_replay = replaySaveJournal(m_mapFile);
  return true;
}

HardwareMap MapLock::map() const { return HardwareMap::fromFile(m_mapFile); }

void MapLock::unlock() {
  if (!m_locked) return;
  m_lock->unlock();
  m_locked = false;
  reportUnfinishedSave(m_ui, std::exchange(m_replay, JournalReplay()));
}
