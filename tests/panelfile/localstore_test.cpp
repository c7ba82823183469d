// Local saves: the file, its backup, the hardware map update and failures
// that must leave the previous file whole.
#include "panelfile/localstore.h"

#include <sys/resource.h>

#include <csignal>

#include "hwmap/hardwaremap.h"
#include "model/codepage.h"
#include "model/textfile.h"
#include "panelfile/panelreader.h"
#include "panelfile/panelwriter.h"
#include "support/fakeui.h"
#include "testpanel.h"

namespace {

// Limits the size of files this process may write while it lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &m_old);
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_old;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
  }

 private:
  rlimit m_old{};
  void (*m_oldHandler)(int) = nullptr;
};

}  // namespace

TEST_F(PanelFileTest, SaveWritesFileBackupAndHardwareMap) {
  PanelModel p;
  fillGoldenPanel(p);  // panel "Studio", bound as Studio.Button1 and Studio.Label1
  FakeUi ui;
  QString error;
  const QString path = panelsFolder() + QStringLiteral("Studio1.xml");
  ASSERT_TRUE(savePanelLocal(p, path, ui, &error)) << error.toStdString();

  const QByteArray saved = readBytes(path);
  EXPECT_EQ(saved, encodeWindows1252(buildPanelDocument(p, false) + QStringLiteral("\r\n")));
  EXPECT_EQ(readBytes(programSettings().startFolder + "Backup/Studio1_20240303090507.xml"), saved);
  EXPECT_TRUE(ui.messages.empty());

  // The first save creates the map without a version, holding both bindings.
  const QString map = readTextFile(programSettings().hardwareMapFile);
  EXPECT_TRUE(map.startsWith(QLatin1String("<HardwareMapList>\r\n  <Name>HardwareMapList</Name>")));
  EXPECT_TRUE(map.endsWith(QLatin1String("</HardwareMapList>\r\n")));
  EXPECT_FALSE(map.contains(QLatin1String("Version")));
  EXPECT_EQ(map.count(QLatin1String("<Control>")), 2);
  EXPECT_TRUE(fileExists(programSettings().startFolder + "Backup/HardwareMap_20240303090507.xml"));

  // A second save stamps the map and replaces the panel's entries.
  ASSERT_TRUE(savePanelLocal(p, path, ui, &error));
  const QString again = readTextFile(programSettings().hardwareMapFile);
  EXPECT_TRUE(again.contains(QLatin1String("<Version>2024-03-03T09:05:07</Version>")));
  EXPECT_EQ(again.count(QLatin1String("<Control>")), 2);
}

TEST_F(PanelFileTest, EveryPrintableWindows1252CharacterSurvivesSaveAndRead) {
  QByteArray bytes;
  for (int b = 0x20; b <= 0xFF; ++b)
    if (b != 0x7F && b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)
      bytes.append(static_cast<char>(b));
  const QString caption = decodeWindows1252(bytes);
  PanelModel p;
  auto [button, r] = addControl<DesignButton>(p, QStringLiteral("Button1"), 0, 0);
  button->caption = caption;
  r->click = caption;
  FakeUi ui;
  QString error;
  const QString path = panelsFolder() + QStringLiteral("Chars.xml");
  ASSERT_TRUE(savePanelLocal(p, path, ui, &error));
  QByteArray escaped = bytes;
  escaped.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;");
  EXPECT_TRUE(readBytes(path).contains("<Caption>" + escaped + "</Caption>"));

  PanelModel back;
  ReadHooks hooks;
  ASSERT_TRUE(readPanelText(loadPanelText(path), path, back, hooks, HardwareMap()));
  ASSERT_EQ(back.panelRecord.records.size(), 1u);
  EXPECT_EQ(controlCast<DesignButton>(back.panelRecord.records[0]->control)->caption, caption);
  EXPECT_EQ(back.panelRecord.records[0]->click, caption);
}

TEST_F(PanelFileTest, FailedSaveKeepsTheOldFileAndSaysWhy) {
  const QString path = panelsFolder() + QStringLiteral("Studio.xml");
  const QByteArray old = "<Panel><Name>Old</Name></Panel>\r\n";
  writeBytes(path, old);
  PanelModel p;
  fillGoldenPanel(p);
  FakeUi ui;
  QString error;
  {
    const FileSizeLimit limit(256);  // a full disk, even for root
    EXPECT_FALSE(savePanelLocal(p, path, ui, &error));
  }
  EXPECT_EQ(error, "File too large");  // the system's reason
  EXPECT_EQ(readBytes(path), old);
  EXPECT_FALSE(QDir(programSettings().startFolder + "Backup").exists());

  // A folder that cannot exist: the path runs through a regular file.
  error.clear();
  EXPECT_FALSE(savePanelLocal(p, path + QStringLiteral("/inside.xml"), ui, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(readBytes(path), old);
}

// The panel file and the map are replaced together or not at all: a map
// whose new text cannot be written leaves the panel file as it was, so the
// panel never reopens with the bindings of an older save.
TEST_F(PanelFileTest, APanelFileIsNotReplacedWhenItsMapCannotBeWritten) {
  const QString path = panelsFolder() + QStringLiteral("Studio.xml");
  const QByteArray old = "<Panel><Name>Studio</Name></Panel>\r\n";
  writeBytes(path, old);
  const QByteArray bigMap = "<HardwareMapList><!--" + QByteArray(64 * 1024, 'x') +
                            "--><ControlList/></HardwareMapList>\r\n";
  writeBytes(programSettings().hardwareMapFile, bigMap);
  PanelModel p;
  fillGoldenPanel(p);
  FakeUi ui;
  QString error;
  {
    const FileSizeLimit limit(16 * 1024);  // the panel fits, the map does not
    EXPECT_FALSE(savePanelLocal(p, path, ui, &error));
  }
  EXPECT_TRUE(error.contains("HardwareMap.xml: File too large")) << error.toStdString();
  EXPECT_EQ(readBytes(path), old);
  EXPECT_EQ(readBytes(programSettings().hardwareMapFile), bigMap);
}

// The save updates the map on one parse; the result is what the separate
// steps (version, removal, addition) give.
TEST_F(PanelFileTest, HardwareMapUpdateEqualsTheSeparateSteps) {
  const QString otherPanel = QStringLiteral(
      "<Control><Type>Button</Type><HostIPAddress>10.0.0.9</HostIPAddress>"
      "<HostPort>5000</HostPort><InternalName>Other.Button4</InternalName>"
      "<AoipSysName>X</AoipSysName></Control>");
  const QString stale = QStringLiteral(
      "<Control><Type>Button</Type><HostIPAddress>10.0.0.1</HostIPAddress>"
      "<HostPort>4000</HostPort><InternalName>studio.Button9</InternalName>"
      "<AoipSysName>OLD</AoipSysName></Control>");
  struct Case {
    const char *what;
    QString map;
    QString panelName;
  };
  const Case cases[] = {
      {"entries of this and another panel",
       "<HardwareMapList>\r\n  <Name>HardwareMapList</Name>\r\n  <ControlList>" + otherPanel +
           stale + "</ControlList>\r\n  <version>old</version>\r\n</HardwareMapList>",
       "Studio"},
      {"list name in another case, no version",
       "<HardwareMapList><CONTROLLIST>" + stale + otherPanel + "</CONTROLLIST></HardwareMapList>",
       "Studio"},
  };
  for (const Case &c : cases) {
    PanelModel p;
    fillGoldenPanel(p);
    p.canvas.tag = c.panelName;
    QString error;
    ASSERT_TRUE(writeTextFileSafely(programSettings().hardwareMapFile, c.map, &error)) << c.what;
    QString expected = c.map;
    ASSERT_TRUE(insertVersionIntoXML(expected, DateTimeStamp::formattedNow())) << c.what;
    removePanelFromHardwareMap(expected, c.panelName);
    addControlsToHardwareMap(expected, p.panelRecord.records);

    FakeUi ui;
    ASSERT_TRUE(savePanelLocal(p, panelsFolder() + QStringLiteral("Studio.xml"), ui, &error))
        << c.what;
    EXPECT_EQ(readTextFile(programSettings().hardwareMapFile), expected) << c.what;
    EXPECT_TRUE(ui.messages.empty()) << c.what;
  }
}

TEST(LocalStoreNames, BackupNamesPanelNamesAndMapFiles) {
  const QDateTime t = fixedTime();
  EXPECT_EQ(backupFileName("Studio1.xml", t), "Studio1_20240303090507.xml");
  EXPECT_EQ(backupFileName("my.panel.v2.xml", t), "my.panel.v2_20240303090507.xml");
  EXPECT_EQ(backupFileName("README", t), "README_20240303090507");
  EXPECT_EQ(backupFileName("HardwareMap.xml", QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58))),
            "HardwareMap_20241231235958.xml");

  EXPECT_EQ(panelNameFromPath("/panels/Studio.v2.xml"), "Studio.v2");
  EXPECT_EQ(panelNameFromPath("C:\\Panels\\Studio1.xml"), "Studio1");
  EXPECT_EQ(panelNameFromPath("/pan.els/Studio"), "/pan.els/Studio");

  EXPECT_TRUE(isHardwareMapFileName("hardwaremap_old.xml"));
  EXPECT_TRUE(isHardwareMapFileName("HardwareMap.xml"));
  EXPECT_FALSE(isHardwareMapFileName("hwmap.xml"));
  EXPECT_FALSE(isHardwareMapFileName("hardwaremap"));
}

TEST_F(PanelFileTest, BackupOfANameWithoutFolderComesFromTheStartFolder) {
  QFile f(programSettings().startFolder + QStringLiteral("Loose"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("data");
  f.close();
  ASSERT_TRUE(makeBackupFile(QStringLiteral("Loose")));
  EXPECT_EQ(readBytes(backupFolder() + QStringLiteral("Loose_20240303090507")), "data");
}
