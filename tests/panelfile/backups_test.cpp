// Backups are kept by a policy: everything of the last days, then one a day,
// then one a week, within a size per file, never the newest; pruned only
// after a save went through.
#include "panelfile/backups.h"

#include <QDir>

#include "model/textfile.h"
#include "panelfile/localstore.h"
#include "support/fakeui.h"
#include "testpanel.h"

namespace {

constexpr qint64 kHour = 60 * 60, kDay = 24 * kHour;

}  // namespace

TEST(BackupPolicy, KeepsTheLastDaysThenOneADayThenOneAWeekWithinTheSize) {
  // At 09:05:07 on Sunday 3 March 2024; ages in seconds, newest not always first.
  const QDateTime now = fixedTime();
  BackupPolicy everything;
  everything.keepEverything = true;
  const struct {
    const char *what;
    std::vector<std::pair<qint64, qint64>> backups;  // age, size
    qint64 sizeLimit;
    std::vector<bool> kept;
    BackupPolicy policy = {};
  } cases[] = {
      {"every backup of the last 7 days",
       {{0, 1}, {kHour, 1}, {kHour + 1, 1}, {2 * kDay, 1}, {7 * kDay - 1, 1}},
       0,
       {true, true, true, true, true}},
      {"then the newest of each day",  // 24 Feb 09:05 and 08:05 are one day
       {{8 * kDay + kHour, 1}, {0, 1}, {8 * kDay, 1}, {9 * kDay, 1}, {29 * kDay, 1}},
       0,
       {false, true, true, true, true}},
      {"then the newest of each week",  // 1 Feb and 31 Jan: week 5; 25 Jan: week 4
       {{0, 1}, {31 * kDay, 1}, {32 * kDay, 1}, {38 * kDay, 1}, {400 * kDay, 1}},
       0,
       {true, true, false, true, true}},
      {"the newest even when it is old and alone", {{400 * kDay, 1}}, 0, {true}},
      {"newest first within the size; older ones go once it is passed",
       {{3 * kHour, 10}, {0, 40}, {kHour, 40}, {2 * kHour, 30}},
       100,
       {false, true, true, false}},
      {"the newest even past the size", {{kHour, 10}, {0, 200}}, 100, {false, true}},
      {"a backup from a clock set back counts as new", {{0, 1}, {-kDay, 1}}, 0, {true, true}},
      {"keep everything",
       {{0, 500}, {8 * kDay + kHour, 500}, {8 * kDay, 500}, {400 * kDay, 500}},
       100,
       {true, true, true, true},
       everything},
  };
  for (const auto &c : cases) {
    std::vector<BackupCopy> copies;
    for (const auto &[age, size] : c.backups)
      copies.push_back({QString(), now.addSecs(-age), size});
    EXPECT_EQ(backupsToKeep(copies, now, c.policy, c.sizeLimit), c.kept) << c.what;
  }
}

// The saves of a busy day keep what the size allows of the panel and of the
// map; old backups go only once a save went through.
TEST_F(PanelFileTest, SavesPruneTheBackupsOfThePanelAndTheMapAfterASaveWentThrough) {
  const QString path = panelsFolder() + QStringLiteral("Studio.xml");
  PanelModel p;
  fillGoldenPanel(p);
  FakeUi ui;
  QString error;
  ASSERT_TRUE(savePanelLocal(p, path, ui, &error)) << error.toStdString();
  const qint64 panelSize = QFileInfo(path).size();
  const qint64 mapSize = QFileInfo(programSettings().hardwareMapFile).size();
  programSettings().backups.panelLimit = 3 * panelSize + panelSize / 2;
  programSettings().backups.mapLimit = 2 * mapSize + mapSize / 2;
  // Two old backups of the panel, one of them past the daily ones.
  writeBytes(backupFolder() + QStringLiteral("Studio_20240101120000.xml"), "old");
  writeBytes(backupFolder() + QStringLiteral("Studio_20240102120000.xml"), "older day");
  const QString other = backupFolder() + QStringLiteral("Other_20240101120000.xml");
  writeBytes(other, "another panel's");

  // A save that fails removes nothing.
  writeBytes(programSettings().hardwareMapFile, "no map");
  DateTimeStamp::setClock([] { return fixedTime().addSecs(60); });
  EXPECT_FALSE(savePanelLocal(p, path, ui, &error));
  EXPECT_EQ(QDir(backupFolder()).entryList(QDir::Files).size(), 5);

  writeBytes(programSettings().hardwareMapFile, "");
  for (int k = 1; k <= 10; ++k) {
    DateTimeStamp::setClock([k] { return fixedTime().addSecs(60 * k); });
    ASSERT_TRUE(savePanelLocal(p, path, ui, &error)) << error.toStdString();
  }
  const QStringList panel =
      QDir(backupFolder()).entryList({QStringLiteral("Studio_*")}, QDir::Files);
  EXPECT_EQ(panel, QStringList({"Studio_20240303091307.xml", "Studio_20240303091407.xml",
                                "Studio_20240303091507.xml"}));
  EXPECT_EQ(QDir(backupFolder()).entryList({QStringLiteral("HardwareMap_*")}, QDir::Files),
            QStringList({"HardwareMap_20240303091407.xml", "HardwareMap_20240303091507.xml"}));
  EXPECT_TRUE(fileExists(other));

  // Keeping everything keeps everything.
  programSettings().backups.keepEverything = true;
  for (int k = 11; k <= 13; ++k) {
    DateTimeStamp::setClock([k] { return fixedTime().addSecs(60 * k); });
    ASSERT_TRUE(savePanelLocal(p, path, ui, &error)) << error.toStdString();
  }
  EXPECT_EQ(QDir(backupFolder()).entryList({QStringLiteral("Studio_*")}, QDir::Files).size(), 6);
}
