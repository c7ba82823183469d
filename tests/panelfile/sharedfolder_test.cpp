// A shared panels folder is written by others too: a save never writes
// through a link someone put where it creates a file, a lock file left
// behind never blocks saving, and a save that cannot lock says why.
#include <sys/mount.h>
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <cerrno>
#include <cstring>
#include <functional>

#include "model/textfile.h"
#include "panelfile/interruptedsave.h"
#include "panelfile/localstore.h"
#include "panelfile/maplock.h"
#include "support/fakeui.h"
#include "testpanel.h"

namespace {

QString studioPath() { return programSettings().panelsFolder + QStringLiteral("Studio.xml"); }

}  // namespace

// The journal and both backups have names anyone can foresee; a link planted
// there is replaced, and the file it leads to is never touched.
TEST_F(PanelFileTest, ASaveNeverWritesThroughALinkPlantedWhereItCreatesAFile) {
  const QString victim = m_dir.path() + QStringLiteral("/outside/victim.txt");
  QDir().mkpath(m_dir.path() + QStringLiteral("/outside"));
  QDir().mkpath(backupFolder());
  const struct {
    const char *what;
    QString link;
  } cases[] = {
      {"the journal", saveJournalPath(programSettings().hardwareMapFile)},
      {"the panel's backup", backupFolder() + QStringLiteral("Studio_20240303090507.xml")},
      {"the map's backup", backupFolder() + QStringLiteral("HardwareMap_20240303090507.xml")},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    writeBytes(victim, "precious");
    QFile::remove(c.link);
    ASSERT_TRUE(QFile::link(victim, c.link));
    PanelModel p;
    fillGoldenPanel(p);
    FakeUi ui;
    QString error;
    ASSERT_TRUE(savePanelLocal(p, studioPath(), ui, &error)) << error.toStdString();
    EXPECT_EQ(readBytes(victim), "precious");
    EXPECT_FALSE(QFileInfo(c.link).isSymLink());
  }
  EXPECT_EQ(readBytes(cases[1].link), readBytes(studioPath()));
  EXPECT_EQ(readBytes(cases[2].link), readBytes(programSettings().hardwareMapFile));
}

// A lock file nobody holds any more is taken over at once: an empty one, one
// with no holder's name, one a killed designer left. What is no lock file
// at all is named, never waited on.
TEST_F(PanelFileTest, ALockLeftBehindIsTakenOverAtOnceAndAnythingElseIsNamed) {
  const QString lock = mapLockPath(programSettings().hardwareMapFile);
  const auto leftByAKilledDesigner = [&lock] {
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
          QLockFile held(lock);
          std::_Exit(held.tryLock(0) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
  };
  const struct {
    const char *what;
    std::function<void()> leave;
    const char *refused;  // empty: the save goes through
  } cases[] = {
      {"empty", [&] { writeBytes(lock, ""); }, ""},
      {"no holder's name", [&] { writeBytes(lock, "\n\n\n"); }, ""},
      {"left by a killed designer", leftByAKilledDesigner, ""},
      {"a named pipe", [&] { ::mkfifo(QFile::encodeName(lock).constData(), 0600); },
       "HardwareMap.xml.lock is a named pipe, not a regular file; remove it"},
      {"a folder", [&] { QDir().mkpath(lock); }, "HardwareMap.xml.lock is a folder, not a file"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    c.leave();
    ASSERT_TRUE(QFileInfo::exists(lock));
    PanelModel p;
    fillGoldenPanel(p);
    FakeUi ui;
    QString error;
    EXPECT_EQ(savePanelLocal(p, studioPath(), ui, &error), !*c.refused) << error.toStdString();
    EXPECT_TRUE(error.contains(QLatin1String(c.refused))) << error.toStdString();
    EXPECT_FALSE(error.contains("another save")) << error.toStdString();
    QFile::remove(lock);
    QDir().rmdir(lock);
  }
}

// A lock that cannot be made because the disk is full says so, rather than
// blaming another save.
TEST_F(PanelFileTest, ALockThatCannotBeMadeGivesTheSystemsReason) {
  const QString folder = m_dir.path() + QStringLiteral("/small");
  QDir().mkpath(folder);
  const QByteArray mountPoint = QFile::encodeName(folder);
  if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "a small file system cannot be mounted here: " << std::strerror(errno);
  programSettings().hardwareMapFile = folder + QStringLiteral("/HardwareMap.xml");
  writeBytes(programSettings().hardwareMapFile, "");
  // Filled up to the last block.
  QFile filler(folder + QStringLiteral("/filler"));
  ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
  while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
  }
  filler.close();
  PanelModel p;
  fillGoldenPanel(p);
  FakeUi ui;
  QString error;
  EXPECT_FALSE(savePanelLocal(p, studioPath(), ui, &error));
  EXPECT_TRUE(error.contains("No space left on device")) << error.toStdString();
  EXPECT_FALSE(error.contains("another save")) << error.toStdString();
  ::umount2(mountPoint.constData(), MNT_DETACH);
}
