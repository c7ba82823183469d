// Edit > Find over two small panels, open in windows and as closed files.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include "app/panelfinder.h"
#include "designerfixture.h"
#include "model/textfile.h"
#include "surface/paneleditor.h"

namespace {

// Studio1's label OnAir takes its binding from the hardware map; the other
// bindings are in the panels. "Trap" holds values that a loose match would
// find for the OnAir queries.
const char *kStudio1 =
    "<Panel><Name>Studio1</Name><Caption>Studio One</Caption><OnLoad>LOAD STUDIO</OnLoad>"
    "<ControlList>"
    "<Control><Type>Button</Type><Name>MicLive</Name><Caption>Mic live</Caption>"
    "<Click>ROUTE 12 3</Click><MouseDown>GPO 7 ON</MouseDown><MouseUp>GPO 7 OFF</MouseUp>"
    "<MapRouter>Main</MapRouter><MapSource>1204</MapSource>"
    "<MapDestination>Studio Out</MapDestination></Control>"
    "<Control><Type>Label</Type><Name>OnAir</Name><Caption>On air</Caption></Control>"
    "<Control><Type>Label</Type><Name>Trap</Name><Caption>Spare</Caption>"
    "<HWMapType>GPIOButton</HWMapType><HWMapHostIP>10.0.0.60</HWMapHostIP>"
    "<HWMapHostPort>5001</HWMapHostPort><HWMapInternalName>Studio1.Trap</HWMapInternalName>"
    "<HWMapAoipSysName>Port2_Circuit50</HWMapAoipSysName></Control>"
    "</ControlList></Panel>";
const char *kStudio2 =
    "<Panel><Name>Studio2</Name><ControlList>"
    "<Control><Type>Meter</Type><Name>PGM</Name><MeterRouterNumber>4</MeterRouterNumber>"
    "<MeterIONumber>17</MeterIONumber></Control>"
    "<Control><Type>Button</Type><Name>Talk</Name><Caption>Talkback</Caption>"
    "<HWMapType>Button</HWMapType><HWMapHostIP>10.1.1.8</HWMapHostIP>"
    "<HWMapHostPort>4010</HWMapHostPort><HWMapInternalName>Studio2.Talk</HWMapInternalName>"
    "<HWMapAoipSysName>MOD_USER#3.BUT#12</HWMapAoipSysName></Control>"
    "<Control><Type>MeterFader</Type><Name>Fader1</Name><Caption>Mix bus</Caption>"
    "<MeterRouterNumber>9</MeterRouterNumber><MeterIONumber>33</MeterIONumber></Control>"
    "<Control>\r\n  <Type>CodecControl</Type>\r\n  <Name>Codec1</Name>\r\n"
    "  <CodecAddress>10.9.9.9</CodecAddress>\r\n</Control>"
    "<Control><Type>WebBrowser</Type><Name>Web1</Name><WebURL>http://intranet/onair</WebURL>"
    "</Control>"
    "</ControlList></Panel>";
const char *kMap =
    "<HardwareMapList><Name>HardwareMapList</Name><ControlList>"
    "<Control><Type>GPIOButton</Type><HostIPAddress>10.0.0.6</HostIPAddress>"
    "<HostPort>5001</HostPort><InternalName>Studio1.OnAir</InternalName>"
    "<AoipSysName>Port2_Circuit5</AoipSysName></Control>"
    "</ControlList></HardwareMapList>";

struct Find : DesignerFixture {
  void SetUp() override {
    DesignerFixture::SetUp();
    write("Studio1.xml", kStudio1);
    write("Studio2.xml", kStudio2);
    write("HardwareMap.xml", kMap);
  }
  void openBoth() {
    ASSERT_NE(designer->openPanelLocal(path("Studio1.xml")), nullptr);
    ASSERT_NE(designer->openPanelLocal(path("Studio2.xml")), nullptr);
  }
  // "panel/control/kind/field/value" per hit.
  QStringList found(const QString &text) {
    QStringList out;
    for (const FindHit &h : designer->finder().Find(text))
      out << QStringList{h.panelName, h.controlName, h.kind, h.field, h.value}.join(u'/');
    return out;
  }
};

const struct {
  const char *query;
  QStringList hits;
} kQueries[] = {
    {"MICLIVE", {"Studio1/MicLive/Button/Name/MicLive"}},
    {"mic LIVE", {"Studio1/MicLive/Button/Caption/Mic live"}},
    {"route 12", {"Studio1/MicLive/Button/OnClick/ROUTE 12 3"}},
    {"gpo 7 on", {"Studio1/MicLive/Button/OnMouseDown/GPO 7 ON"}},
    {"7 off", {"Studio1/MicLive/Button/OnMouseUp/GPO 7 OFF"}},
    {"main", {"Studio1/MicLive/Button/MapRouter/Main"}},
    {"1204", {"Studio1/MicLive/Button/MapSource/1204"}},
    {"studio out", {"Studio1/MicLive/Button/MapDestination/Studio Out"}},
    {"port2_circuit5", {"Studio1/OnAir/Label/HWMapAoipSysName/Port2_Circuit5"}},
    {"5",
     {"Studio1/OnAir/Label/HWMapAoipSysName/Port2_Circuit5", "Studio1/OnAir/Label/GPIO Circuit/5"}},
    {"2",
     {"Studio1/OnAir/Label/HWMapAoipSysName/Port2_Circuit5", "Studio1/OnAir/Label/GPIO Port/2",
      "Studio1/Trap/Label/HWMapAoipSysName/Port2_Circuit50", "Studio1/Trap/Label/GPIO Port/2"}},
    {"10.0.0.6", {"Studio1/OnAir/Label/HWMapHostIP/10.0.0.6"}},
    {"BUT#12", {"Studio2/Talk/Button/HWMapAoipSysName/MOD_USER#3.BUT#12"}},
    {"user#3",
     {"Studio2/Talk/Button/HWMapAoipSysName/MOD_USER#3.BUT#12",
      "Studio2/Talk/Button/UserPanel Module/USER#3"}},
    {"12",
     {"Studio1/MicLive/Button/OnClick/ROUTE 12 3",
      "Studio2/Talk/Button/HWMapAoipSysName/MOD_USER#3.BUT#12",
      "Studio2/Talk/Button/UserPanel Button/12"}},
    {"4", {"Studio2/PGM/Meter/Router Number/4"}},
    {"17", {"Studio2/PGM/Meter/IO Number/17"}},
    {"8", {"Studio2/Talk/Button/HWMapHostIP/10.1.1.8"}},
    {"mi",
     {"Studio1/MicLive/Button/Name/MicLive", "Studio1/MicLive/Button/Caption/Mic live",
      "Studio2/Fader1/MeterFader/Caption/Mix bus"}},
    {"  Mix BUS ", {"Studio2/Fader1/MeterFader/Caption/Mix bus"}},
    {"10.9.9", {"Studio2/Codec1/CodecControl/Text/<CodecAddress>10.9.9.9</CodecAddress>"}},
    {"studio one", {"Studio1//Panel/Caption/Studio One"}},
    {"load", {"Studio1//Panel/OnLoad/LOAD STUDIO"}},
    {"intranet", {"Studio2/Web1/WebBrowser/URL/http://intranet/onair"}},
    {"Port2_Circuit500", {}},
    {"talkback!", {}},
    {"", {}},
};

}  // namespace

TEST_F(Find, EveryFieldKindInOpenPanelsAndInClosedFilesAlike) {
  openBoth();
  for (const auto &q : kQueries) EXPECT_EQ(found(q.query), q.hits) << q.query;

  for (PanelEditor *p : designer->openPanels()) designer->closePanel(p);
  designer->finder().setIncludeClosedFiles(true);
  for (const auto &q : kQueries) EXPECT_EQ(found(q.query), q.hits) << "closed: " << q.query;
}

TEST_F(Find, ClosedFilesAreReadNeverWrittenAndOpenPanelsWin) {
  // The open window's state is newer than its file: the file is not searched.
  PanelEditor *studio1 = designer->openPanelLocal(path("Studio1.xml"));
  ASSERT_NE(studio1, nullptr);
  studio1->model().panelRecord.records[0]->control->tag = "MicChanged";
  const QDateTime old(QDate(2020, 1, 2), QTime(3, 4, 5));
  struct Snapshot {
    QByteArray bytes;
    QDateTime modified;
  };
  std::map<QString, Snapshot> before;
  for (const QString &name : QDir(programSettings().panelsFolder).entryList(QDir::Files)) {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    before[name] = {f.readAll(), old};
  }

  designer->finder().setIncludeClosedFiles(true);
  const auto &hits = designer->finder().Find("mi");
  ASSERT_EQ(hits.size(), 3u);
  EXPECT_EQ(hits[0].controlName, "MicChanged");
  EXPECT_EQ(hits[0].panel, studio1);
  EXPECT_EQ(hits[2].panelName, "Studio2");
  EXPECT_EQ(hits[2].panel, nullptr);
  EXPECT_EQ(hits[2].panelPath, path("Studio2.xml"));

  QStringList after = QDir(programSettings().panelsFolder).entryList(QDir::Files);
  EXPECT_EQ(after.size(), static_cast<qsizetype>(before.size()));
  for (const auto &[name, snapshot] : before) {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), snapshot.bytes) << name.toStdString();
    EXPECT_EQ(QFileInfo(f).lastModified(), snapshot.modified) << name.toStdString();
  }
  EXPECT_FALSE(QDir(programSettings().startFolder + "Backup").exists());
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Find, ANewPanelOfTheSameNameDoesNotHideAClosedFile) {
  PanelEditor *fresh = designer->newPanel();
  ASSERT_NE(fresh, nullptr);
  const QString name = fresh->model().canvas.tag;
  write(name + ".xml", QStringLiteral("<Panel><Name>%1</Name><ControlList><Control><Type>Button"
                                      "</Type><Name>Hidden</Name></Control></ControlList></Panel>")
                           .arg(name));
  designer->finder().setIncludeClosedFiles(true);
  const auto &hits = designer->finder().Find("hidden");
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].panel, nullptr);
  EXPECT_EQ(hits[0].panelPath, path(name + ".xml"));
}

TEST_F(Find, AHitBringsItsPanelForwardAndSelectsTheControlOpeningTheFileWhenNeeded) {
  PanelEditor *studio1 = designer->openPanelLocal(path("Studio1.xml"));
  designer->newPanel();
  designer->finder().setIncludeClosedFiles(true);
  ASSERT_EQ(found("12").size(), 3u);

  PanelFinder &finder = designer->finder();
  EXPECT_EQ(finder.findNext(), 0);
  EXPECT_EQ(designer->activePanel(), studio1);
  ASSERT_EQ(studio1->selectedControls().size(), 1u);
  EXPECT_EQ(studio1->selectedControls()[0]->tag, "MicLive");
  EXPECT_EQ(studio1->currentControl(), studio1->selectedControls()[0]);

  // The next hit is in a closed file: F3 makes it current without opening
  // it; picking it opens the file and selects the key.
  EXPECT_EQ(finder.findNext(), 1);
  EXPECT_EQ(designer->activePanel(), studio1);
  EXPECT_EQ(designer->openPanels().size(), 2u);
  EXPECT_TRUE(finder.activateHit(1));
  PanelEditor *studio2 = designer->activePanel();
  ASSERT_NE(studio2, studio1);
  EXPECT_EQ(studio2->model().documentPath, path("Studio2.xml"));
  ASSERT_EQ(studio2->selectedControls().size(), 1u);
  EXPECT_EQ(studio2->selectedControls()[0]->tag, "Talk");
  // The third hit is the same control, in the window now open; then back to the first.
  EXPECT_EQ(finder.findNext(), 2);
  EXPECT_EQ(designer->openPanels().size(), 3u);
  EXPECT_EQ(designer->activePanel(), studio2);
  EXPECT_EQ(finder.findNext(), 0);
  EXPECT_EQ(designer->activePanel(), studio1);
  EXPECT_TRUE(ui.messages.empty()) << ui.messageTexts().join(" | ").toStdString();

  // A control renamed since the search: its panel comes forward and the
  // user is told; the hits then follow the panel.
  studio2->model().panelRecord.records[1]->control->tag = "Renamed";
  EXPECT_FALSE(finder.activateHit(1));
  EXPECT_EQ(designer->activePanel(), studio2);
  EXPECT_EQ(ui.firstLines(), QStringList({"Talk is no longer on the panel Studio2."}));
  EXPECT_FALSE(finder.activateHit(7));
  finder.refreshOpenPanels();
  ASSERT_EQ(finder.hits().size(), 3u);
  EXPECT_EQ(finder.hits()[1].controlName, "Renamed");
  EXPECT_EQ(finder.hits()[1].panel, studio2);
  // An edit the panel announces refreshes them by itself, shortly after.
  studio2->model().panelRecord.records[1]->control->tag = "Talk";
  studio2->notify(PanelEditor::Properties);
  QElapsedTimer waited;
  waited.start();
  while (finder.hits()[1].controlName != "Talk" && waited.elapsed() < 3000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(finder.hits()[1].controlName, "Talk");
}

TEST_F(Find, FindNextSearchesTheLastTextAgainWhenThereAreNoHits) {
  PanelFinder &finder = designer->finder();
  EXPECT_EQ(finder.findNext(), -1);
  EXPECT_TRUE(finder.Find("talk").empty());  // nothing open, closed files not searched
  openBoth();
  EXPECT_EQ(finder.findNext(), 0);
  EXPECT_EQ(finder.hits().size(), 2u);
  EXPECT_EQ(designer->activePanel()->selectedControls()[0]->tag, "Talk");
}

// A closed file that cannot be read is listed as such; a hit of the panel's
// own fields brings the panel's rows.
TEST_F(Find, AnUnreadableFileIsListedAndAPanelHitSelectsThePanel) {
  write("Broken.xml", "<Panel><Name>Broken</Name>");
  designer->finder().setIncludeClosedFiles(true);
  const QStringList hits = found("studio one");
  ASSERT_EQ(hits.size(), 2) << hits.join('\n').toStdString();
  EXPECT_TRUE(hits[0].startsWith("Broken//File/Not searched/The file cannot be read: "))
      << hits[0].toStdString();
  EXPECT_EQ(hits[1], "Studio1//Panel/Caption/Studio One");
  EXPECT_TRUE(designer->finder().activateHit(1));
  ASSERT_NE(designer->activePanel(), nullptr);
  EXPECT_EQ(designer->activePanel()->currentControl(), &designer->activePanel()->model().canvas);
}
