// The hardware map is shared with the hardware side: a save changes the
// entries of the panel saved and the Version, and nothing else of the file.
#include "hwmap/hardwaremap.h"
#include "model/textfile.h"
#include "panelfile/localstore.h"
#include "panelfile/panelreader.h"
#include "support/fakeui.h"
#include "testpanel.h"

namespace {

// Everything the designer does not own, around entries of three panels.
const QByteArray kForeignMap =
    "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n"
    "<!-- Shared with the hardware side: keep the order -->\r\n"
    "<?hwtool schema=\"3\"?>\r\n"
    "<HardwareMapList xmlns:hw=\"urn:hw\" build=\"17\">\r\n"
    "\t<Name>HardwareMapList</Name>\r\n"
    "\t<ControlList hw:owner='caf\xE9'>\r\n"
    "\t\t<!-- Studio, first row -->\r\n"
    "\t\t<Control hw:id=\"9\"><Type>Button</Type><HostIPAddress>10.0.0.1</HostIPAddress>"
    "<HostPort>4000</HostPort><InternalName>Studio.Button1</InternalName>"
    "<AoipSysName>OLD</AoipSysName></Control>\r\n"
    "\t\t<Control>\r\n"
    "\t\t\t<Type>Button</Type>\r\n"
    "\t\t\t<HostIPAddress>10.0.0.2</HostIPAddress>\r\n"
    "\t\t\t<HostPort>4000</HostPort>\r\n"
    "\t\t\t<InternalName>Other.Mic.1</InternalName>\r\n"
    "\t\t\t<AoipSysName>MOD_USER#1.BUT#1</AoipSysName>\r\n"
    "\t\t\t<Login>operator</Login>\r\n"
    "\t\t</Control>\r\n"
    "\t\t<Control><Type>Label</Type><HostIPAddress>10.0.0.3</HostIPAddress><HostPort>1</HostPort>"
    "<InternalName>Studio.v2.Lamp</InternalName><AoipSysName>Port1_Circuit2</AoipSysName>"
    "</Control>\r\n"
    "\t\t<Extra><![CDATA[raw <data> & more]]></Extra>\r\n"
    "\t\t<Control><Type>Button</Type><HostIPAddress>10.0.0.1</HostIPAddress><HostPort>4000"
    "</HostPort><InternalName>studio.Gone</InternalName><AoipSysName>OLD2</AoipSysName>"
    "</Control>\r\n"
    "\t</ControlList>\r\n"
    "\t<Version stamp=\"x\">2020-01-01T00:00:00</Version>\r\n"
    "\t<Custom a=\"1\">&amp; kept &#169; \xA9</Custom>\r\n"
    "</HardwareMapList>\r\n"
    "<!-- end -->\r\n";

// The entries the golden panel "Studio" writes, laid out as the program does;
// a rewritten entry keeps the attributes it had in kForeignMap.
QByteArray studioEntries() {
  QByteArray out;
  const char *entries[][6] = {
      {" hw:id=\"9\"", "Button", "10.0.0.5", "5000", "Studio.Button1", "MOD_USER#3.BUT#12"},
      {"", "GPIOButton", "10.0.0.6", "5001", "Studio.Label1", "Port3_Circuit12"}};
  for (const auto &entry : entries) {
    const char *const *e = entry + 1;
    out += QByteArray("\r\n    <Control") + entry[0] + ">\r\n      <Type>" + e[0] +
           "</Type>\r\n      <HostIPAddress>" + e[1] + "</HostIPAddress>\r\n      <HostPort>" +
           e[2] + "</HostPort>\r\n      <InternalName>" + e[3] +
           "</InternalName>\r\n      <AoipSysName>" + e[4] + "</AoipSysName>\r\n    </Control>";
  }
  return out;
}

// The line of the entry with this internal name, with the line end before it.
QByteArray entryLine(const QByteArray &map, const QByteArray &internalName) {
  const qsizetype at = map.indexOf("<InternalName>" + internalName + "<");
  const qsizetype start = map.lastIndexOf("\r\n", map.lastIndexOf("<Control", at));
  const qsizetype end = map.indexOf("</Control>", at) + 10;
  return map.mid(start, end - start);
}

}  // namespace

TEST_F(PanelFileTest, SavingChangesOnlyThePanelsEntriesAndTheVersion) {
  writeBytes(programSettings().hardwareMapFile, kForeignMap);
  QByteArray expected = kForeignMap;
  expected.replace(entryLine(kForeignMap, "Studio.Button1"), "");
  expected.replace(entryLine(kForeignMap, "studio.Gone"), "");
  expected.replace("]]></Extra>", "]]></Extra>" + studioEntries());
  expected.replace("2020-01-01T00:00:00", "2024-03-03T09:05:07");

  PanelModel p;
  fillGoldenPanel(p);  // panel "Studio", bound as Studio.Button1 and Studio.Label1
  FakeUi ui;
  QString error;
  const QString path = panelsFolder() + QStringLiteral("Studio.xml");
  ASSERT_TRUE(savePanelLocal(p, path, ui, &error)) << error.toStdString();
  EXPECT_EQ(readBytes(programSettings().hardwareMapFile), expected);
  EXPECT_TRUE(ui.messages.empty());

  // Saved again later: the same map, a new Version.
  DateTimeStamp::setClock([] { return fixedTime().addSecs(60); });
  ASSERT_TRUE(savePanelLocal(p, path, ui, &error)) << error.toStdString();
  expected.replace("2024-03-03T09:05:07", "2024-03-03T09:06:07");
  EXPECT_EQ(readBytes(programSettings().hardwareMapFile), expected);
}

TEST_F(PanelFileTest, AMapWrittenInUtf8StaysUtf8) {
  const QByteArray map =
      "\xEF\xBB\xBF<HardwareMapList>\r\n  <!-- \xE5\x9C\xB0\xE5\x9B\xBE -->\r\n"
      "  <ControlList/>\r\n</HardwareMapList>\r\n";
  writeBytes(programSettings().hardwareMapFile, map);
  PanelModel p;
  fillGoldenPanel(p);
  FakeUi ui;
  QString error;
  ASSERT_TRUE(savePanelLocal(p, panelsFolder() + QStringLiteral("Studio.xml"), ui, &error));
  const QByteArray saved = readBytes(programSettings().hardwareMapFile);
  EXPECT_TRUE(
      saved.startsWith("\xEF\xBB\xBF<HardwareMapList>\r\n  <!-- \xE5\x9C\xB0\xE5\x9B\xBE -->"));
  EXPECT_TRUE(saved.contains("<ControlList>\r\n    <Control>"));
  EXPECT_TRUE(saved.endsWith("  <Version>2024-03-03T09:05:07</Version>\r\n</HardwareMapList>\r\n"));
}

TEST_F(PanelFileTest, AClearedBindingOfADottedControlStaysCleared) {
  // Studio's control "Mic.1" was bound; the binding is cleared and saved.
  PanelModel p;
  auto [mic, r] = studioWithDottedButton(p);
  FakeUi ui;
  QString error;
  const QString path = panelsFolder() + QStringLiteral("Studio.xml");
  ASSERT_TRUE(savePanelLocal(p, path, ui, &error));
  ASSERT_TRUE(readTextFile(programSettings().hardwareMapFile).contains("Studio.Mic.1"));

  r->hwMapAoipSysName.clear();
  ASSERT_TRUE(savePanelLocal(p, path, ui, &error));
  EXPECT_FALSE(readTextFile(programSettings().hardwareMapFile).contains("Studio.Mic.1"));

  // Reopened, the control has no binding: the old one does not come back.
  PanelModel back;
  ReadHooks hooks;
  ASSERT_TRUE(readPanelText(loadPanelText(path), path, back, hooks,
                            HardwareMap::fromFile(programSettings().hardwareMapFile)));
  ASSERT_EQ(back.panelRecord.records.size(), 1u);
  EXPECT_TRUE(back.panelRecord.records[0]->hwMapAoipSysName.isEmpty());
}
