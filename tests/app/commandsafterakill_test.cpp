// The commands without a window complete a save a designer could not finish
// before they read anything, and remove the stale temporary files it left.
#include <QDateTime>
#include <QFile>
#include <csignal>
#include <cstdio>
#include <functional>

#include "app/checkcommand.h"
#include "app/replacecommand.h"
#include "designerfixture.h"
#include "hwmap/hardwaremap.h"
#include "model/panelmodel.h"
#include "panelfile/interruptedsave.h"
#include "panelfile/localstore.h"
#include "panelfile/readhooks.h"

namespace {

const char *kStudio =
    "<Panel><Name>Studio</Name><ControlList>"
    "<Control><Type>Label</Type><Name>OnAir</Name><Caption>On air</Caption></Control>"
    "</ControlList></Panel>";
const char *kMap =
    "<HardwareMapList><Name>HardwareMapList</Name><ControlList>\r\n"
    "<Control><Type>GPIOButton</Type><HostIPAddress>10.0.0.6</HostIPAddress>"
    "<HostPort>5001</HostPort><InternalName>Studio.OnAir</InternalName>"
    "<AoipSysName>Port2_Circuit5</AoipSysName></Control>\r\n"
    "</ControlList></HardwareMapList>\r\n";

QByteArray contents(FILE *file) {
  std::rewind(file);
  QByteArray text;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  return text;
}

struct CommandsAfterAKill : DesignerFixture {
  void SetUp() override {
    DesignerFixture::SetUp();
    write("Studio.xml", kStudio);
    write("HardwareMap.xml", kMap);
  }
  QString mapFile() const { return programSettings().hardwareMapFile; }

  // Saves Studio, changed by `change`, in a child killed between the
  // replacement of the panel file and of the map.
  void saveKilledBetweenTheReplacements(const std::function<void(ControlRecord &)> &change) {
    PanelModel panel;
    ReadHooks noWindow;
    ASSERT_TRUE(readPanelText(loadPanelText(path("Studio.xml")), path("Studio.xml"), panel,
                              noWindow, HardwareMap::fromFile(mapFile())));
    change(*panel.panelRecord.records.front());
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
          setBetweenReplacementsHookForTests([] { std::raise(SIGKILL); });
          FakeUi childUi;
          savePanelLocal(panel, path("Studio.xml"), childUi, nullptr);
          std::_Exit(0);
        },
        ::testing::KilledBySignal(SIGKILL), "");
    ASSERT_TRUE(fileExists(saveJournalPath(mapFile())));
  }
};

}  // namespace

// A replace after the kill reads the map the killed save wrote: its new
// binding is neither lost nor rewritten from the map as it was before.
TEST_F(CommandsAfterAKill, ReplaceCompletesTheSaveBeforeItReadsAndSweepsStaleTemporaries) {
  saveKilledBetweenTheReplacements([](ControlRecord &r) { r.hwMapHostIP = "10.0.0.7"; });
  write(".Gone.xml.tessary-Zz9Yy8", "left by a save that died");
  {
    QFile stale(path(".Gone.xml.tessary-Zz9Yy8"));
    ASSERT_TRUE(stale.open(QIODevice::ReadWrite));
    stale.setFileTime(QDateTime::currentDateTime().addSecs(-2 * kStaleTemporarySeconds),
                      QFileDevice::FileModificationTime);
  }
  FILE *out = std::tmpfile(), *err = std::tmpfile();
  EXPECT_EQ(runReplaceCommand("On air", "Live", "Caption", false, {panelsFolder()}, out, err), 0)
      << contents(err).toStdString();
  const HardwareMap map = HardwareMap::fromFile(mapFile());
  ASSERT_NE(map.Find("Studio.OnAir"), nullptr);
  EXPECT_EQ(map.Find("Studio.OnAir")->hostIP, "10.0.0.7");
  EXPECT_FALSE(fileExists(saveJournalPath(mapFile())));
  EXPECT_FALSE(fileExists(path(".Gone.xml.tessary-Zz9Yy8")));
  std::fclose(out);
  std::fclose(err);
}

// A check after the kill finds the pair complete: the renamed control's old
// entry, which the killed save removed, is no orphan.
TEST_F(CommandsAfterAKill, CheckCompletesTheSaveBeforeItReports) {
  saveKilledBetweenTheReplacements([](ControlRecord &r) {
    r.control->tag = QStringLiteral("Live");
    r.setHWMapInternalName(QStringLiteral("Studio.Live"));
  });
  FILE *out = std::tmpfile(), *err = std::tmpfile();
  runCheckCommand({panelsFolder()}, false, out, err);
  const QByteArray findings = contents(out);
  EXPECT_FALSE(findings.contains("orphan-map-entry")) << findings.toStdString();
  EXPECT_NE(HardwareMap::fromFile(mapFile()).Find("Studio.Live"), nullptr);
  std::fclose(out);
  std::fclose(err);
}
