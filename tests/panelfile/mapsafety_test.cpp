// Local panels keep their bindings only in the hardware map: a save that
// cannot update the map, or must not replace a file, writes nothing and says
// why; a renamed panel leaves no entries of its old names behind.
#include <QCoreApplication>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QThread>
#include <cstdio>

#include "hwmap/hardwaremap.h"
#include "model/textfile.h"
#include "panelfile/localstore.h"
#include "support/childtest.h"
#include "support/fakeui.h"
#include "testpanel.h"

namespace {

const QByteArray kOldPanel = "<Panel><Name>Old</Name></Panel>\r\n";
const char *kSaverFolder = "TESSARY_MAP_SAVER_FOLDER";

// Gives the panel a name, as the grid's Name row does: the bound controls'
// internal names follow it.
void renamePanel(PanelModel &p, const QString &name) {
  p.canvas.tag = name;
  for (const auto &r : p.panelRecord.records)
    if (r->control) r->setHWMapInternalName(name + u'.' + r->control->tag);
}

}  // namespace

TEST_F(PanelFileTest, AMapThatCannotBeUpdatedRefusesTheSaveAndSaysWhy) {
  const struct {
    const char *map, *reason;
  } cases[] = {
      {"<!DOCTYPE HardwareMapList>\r\n<HardwareMapList><ControlList/></HardwareMapList>\r\n",
       "not readable XML"},
      {"this is no map\r\n", "not readable XML"},
      {"<HardwareMapList><Version>1</Version></HardwareMapList>\r\n", "no ControlList"},
  };
  const QString path = panelsFolder() + QStringLiteral("Studio.xml");
  for (const auto &c : cases) {
    writeBytes(path, kOldPanel);
    writeBytes(programSettings().hardwareMapFile, c.map);
    PanelModel p;
    fillGoldenPanel(p);
    FakeUi ui;
    QString error;
    EXPECT_FALSE(savePanelLocal(p, path, ui, &error)) << c.map;
    EXPECT_TRUE(error.startsWith("Error adding version to hardware map")) << error.toStdString();
    EXPECT_TRUE(error.contains(c.reason)) << error.toStdString();
    EXPECT_EQ(readBytes(path), kOldPanel);
    EXPECT_EQ(readBytes(programSettings().hardwareMapFile), QByteArray(c.map));
  }
}

TEST_F(PanelFileTest, AnEmptyOrBlankMapIsStartedAfresh) {
  for (const char *blank : {"", " \r\n\t\r\n"}) {
    writeBytes(programSettings().hardwareMapFile, blank);
    PanelModel p;
    fillGoldenPanel(p);
    FakeUi ui;
    QString error;
    ASSERT_TRUE(savePanelLocal(p, panelsFolder() + QStringLiteral("Studio.xml"), ui, &error))
        << error.toStdString();
    const QString map = readTextFile(programSettings().hardwareMapFile);
    EXPECT_TRUE(map.contains("<InternalName>Studio.Button1</InternalName>")) << blank;
    EXPECT_TRUE(map.contains("<InternalName>Studio.Label1</InternalName>")) << blank;
  }
}

TEST_F(PanelFileTest, ReadOnlyPanelOrMapIsNeverReplaced) {
  const QString path = panelsFolder() + QStringLiteral("Studio.xml");
  const QString mapFile = programSettings().hardwareMapFile;
  const QByteArray map = "<HardwareMapList><ControlList/></HardwareMapList>\r\n";
  const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                            QFileDevice::ReadOther | QFileDevice::ReadUser;
  for (const QString &locked : {path, mapFile}) {
    writeBytes(path, kOldPanel);
    writeBytes(mapFile, map);
    ASSERT_TRUE(QFile::setPermissions(locked, readOnly));
    PanelModel p;
    fillGoldenPanel(p);
    FakeUi ui;
    QString error;
    EXPECT_FALSE(savePanelLocal(p, path, ui, &error));
    EXPECT_EQ(error, locked == path ? "Studio is read-only" : "HardwareMap.xml is read-only");
    EXPECT_EQ(readBytes(path), kOldPanel);
    EXPECT_EQ(readBytes(mapFile), map);
    QFile::setPermissions(locked, readOnly | QFileDevice::WriteOwner | QFileDevice::WriteUser);
  }
}

TEST_F(PanelFileTest, ASaveWaitsForTheMapLockAndGivesUpWithAReason) {
  const QString path = panelsFolder() + QStringLiteral("Studio.xml");
  const QByteArray map = "<HardwareMapList><ControlList/></HardwareMapList>\r\n";
  writeBytes(path, kOldPanel);
  writeBytes(programSettings().hardwareMapFile, map);
  QLockFile other(programSettings().hardwareMapFile + QStringLiteral(".lock"));
  ASSERT_TRUE(other.tryLock(0));  // another designer is saving
  PanelModel p;
  fillGoldenPanel(p);
  FakeUi ui;
  QString error;
  EXPECT_FALSE(savePanelLocal(p, path, ui, &error));
  EXPECT_TRUE(error.contains("another save is updating it")) << error.toStdString();
  EXPECT_EQ(readBytes(path), kOldPanel);
  EXPECT_EQ(readBytes(programSettings().hardwareMapFile), map);

  other.unlock();
  EXPECT_TRUE(savePanelLocal(p, path, ui, &error)) << error.toStdString();
  EXPECT_TRUE(readTextFile(programSettings().hardwareMapFile).contains("Studio.Button1"));
}

// Run by TwoDesignersSavingAtOnceKeepEachOthersEntries in a child process:
// saves the bound panel "Busy" over and over until it is killed.
TEST(MapSaver, DISABLED_SavesABoundPanelUntilKilled) {
  const QString folder = qEnvironmentVariable(kSaverFolder);
  ASSERT_FALSE(folder.isEmpty());
  programSettings().panelsFolder = folder;
  programSettings().hardwareMapFile = folder + QStringLiteral("HardwareMap.xml");
  PanelModel p;
  fillGoldenPanel(p);
  renamePanel(p, QStringLiteral("Busy"));
  FakeUi ui;
  QString error;
  for (int k = 0;; ++k) {
    ASSERT_TRUE(savePanelLocal(p, folder + QStringLiteral("Busy.xml"), ui, &error))
        << error.toStdString();
    if (k == 0) {
      std::printf("ready\n");
      std::fflush(stdout);
    }
    QThread::msleep(1);
  }
}

// Another designer saving its panel all the while never makes a save of this
// one lose its map entries (each save reads, changes and writes the map).
TEST_F(PanelFileTest, TwoDesignersSavingAtOnceKeepEachOthersEntries) {
  QProcess other;
  QByteArray out;
  ASSERT_TRUE(startChildTest(other, "MapSaver.DISABLED_SavesABoundPanelUntilKilled", kSaverFolder,
                             panelsFolder(), &out))
      << out.toStdString();

  PanelModel p;
  fillGoldenPanel(p);
  FakeUi ui;
  QString error;
  int lost = 0;
  for (int k = 0; k < 60; ++k) {
    if (!savePanelLocal(p, panelsFolder() + QStringLiteral("Studio.xml"), ui, &error)) {
      ADD_FAILURE() << error.toStdString();
      break;
    }
    QThread::msleep(5);
    if (!readTextFile(programSettings().hardwareMapFile).contains("Studio.Button1")) ++lost;
  }
  other.kill();
  other.waitForFinished(10000);
  EXPECT_EQ(lost, 0);
  const QString map = readTextFile(programSettings().hardwareMapFile);
  EXPECT_TRUE(map.contains("Studio.Button1"));
  EXPECT_TRUE(map.contains("Busy.Button1"));
}

// Rename, save, undo the rename, save: only the current name's entries stay,
// another panel's are untouched, and an emptied list keeps its read form.
TEST_F(PanelFileTest, ARenamedPanelLeavesNoEntriesOfItsFormerNames) {
  const QByteArray other =
      "<Control><Type>Button</Type><HostIPAddress>1</HostIPAddress><HostPort>2</HostPort>"
      "<InternalName>Other.Button1</InternalName><AoipSysName>X</AoipSysName></Control>";
  writeBytes(programSettings().hardwareMapFile, "<HardwareMapList>\r\n  <ControlList>" + other +
                                                    "</ControlList>\r\n</HardwareMapList>\r\n");
  PanelModel p;
  fillGoldenPanel(p);
  renamePanel(p, QStringLiteral("CopyX"));
  FakeUi ui;
  QString error;
  const auto saveAs = [&](const QString &name) {
    ASSERT_TRUE(savePanelLocal(p, panelsFolder() + name + QStringLiteral(".xml"), ui, &error))
        << error.toStdString();
  };
  saveAs(QStringLiteral("CopyX"));
  renamePanel(p, QStringLiteral("RenTest"));
  saveAs(QStringLiteral("RenTest"));
  QString map = readTextFile(programSettings().hardwareMapFile);
  EXPECT_FALSE(map.contains("CopyX.")) << map.toStdString();
  EXPECT_TRUE(map.contains("RenTest.Button1"));
  EXPECT_TRUE(map.contains(QString::fromLatin1(other)));

  renamePanel(p, QStringLiteral("CopyX"));  // the rename undone
  saveAs(QStringLiteral("CopyX"));
  map = readTextFile(programSettings().hardwareMapFile);
  EXPECT_FALSE(map.contains("RenTest.")) << map.toStdString();
  EXPECT_TRUE(map.contains("CopyX.Button1"));
  EXPECT_TRUE(map.contains(QString::fromLatin1(other)));
}

TEST_F(PanelFileTest, AnEmptiedControlListKeepsItsReadForm) {
  const QByteArray map = "<HardwareMapList>\r\n  <ControlList/>\r\n</HardwareMapList>\r\n";
  writeBytes(programSettings().hardwareMapFile, map);
  PanelModel p;
  fillGoldenPanel(p);
  for (const auto &r : p.panelRecord.records) r->hwMapAoipSysName.clear();  // no bindings
  FakeUi ui;
  QString error;
  ASSERT_TRUE(savePanelLocal(p, panelsFolder() + QStringLiteral("Studio.xml"), ui, &error));
  EXPECT_TRUE(readBytes(programSettings().hardwareMapFile).contains("<ControlList/>"))
      << readBytes(programSettings().hardwareMapFile).toStdString();
}

TEST_F(PanelFileTest, ARenamedDottedControlLeavesNoEntryBehind) {
  PanelModel p;
  auto [mic, r] = studioWithDottedButton(p);
  FakeUi ui;
  QString error;
  const QString path = panelsFolder() + QStringLiteral("Studio.xml");
  ASSERT_TRUE(savePanelLocal(p, path, ui, &error));
  mic->tag = QStringLiteral("Mic2");
  r->setHWMapInternalName(QStringLiteral("Studio.Mic2"));
  ASSERT_TRUE(savePanelLocal(p, path, ui, &error));
  const QString map = readTextFile(programSettings().hardwareMapFile);
  EXPECT_FALSE(map.contains("Studio.Mic.1")) << map.toStdString();
  EXPECT_TRUE(map.contains("Studio.Mic2"));
}

// Entries a save writes take the map's own line ends, and the panel's own
// entries keep their attributes when they are rewritten.
TEST_F(PanelFileTest, RewrittenEntriesKeepTheMapsLineEndsAndTheirAttributes) {
  writeBytes(programSettings().hardwareMapFile,
             "<HardwareMapList>\n  <ControlList>\n"
             "    <Control site=\"north\"><Type>Button</Type><HostIPAddress>1.2.3.4</HostIPAddress>"
             "<HostPort>1</HostPort><InternalName>Studio.Button1</InternalName>"
             "<AoipSysName>A</AoipSysName></Control>\n  </ControlList>\n</HardwareMapList>\n");
  PanelModel p;
  fillGoldenPanel(p);
  FakeUi ui;
  QString error;
  ASSERT_TRUE(savePanelLocal(p, panelsFolder() + QStringLiteral("Studio.xml"), ui, &error));
  const QByteArray map = readBytes(programSettings().hardwareMapFile);
  EXPECT_TRUE(map.contains("Studio.Button1"));
  EXPECT_FALSE(map.contains('\r')) << map.toStdString();
  EXPECT_TRUE(map.contains("<Control site=\"north\">\n      <Type>")) << map.toStdString();
  EXPECT_EQ(map.count("site="), 1);
}
