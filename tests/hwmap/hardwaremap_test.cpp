// The hardware map document: entries, removing a panel, adding bindings and
// the lookup index used while a panel is read.
#include "hwmap/hardwaremap.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "model/panelmodel.h"

namespace {

std::unique_ptr<clsControlDetails> binding(const QString &internalName, const QString &code,
                                           const QString &type = QStringLiteral("Button")) {
  auto r = std::make_unique<clsControlDetails>();
  r->HWMapType = type;
  r->HWMapHostIP = QStringLiteral("10.0.0.9");
  r->HWMapHostPort = QStringLiteral("5000");
  r->setHWMapInternalName(internalName);
  r->HWMapAoipSysName = code;
  return r;
}

QString entry(const char *internalName, const char *code) {
  return QStringLiteral(
             "    <Control>\r\n      <Type>Button</Type>\r\n      <HostIPAddress>10.0.0.9"
             "</HostIPAddress>\r\n      <HostPort>5000</HostPort>\r\n      <InternalName>%1"
             "</InternalName>\r\n      <AoipSysName>%2</AoipSysName>\r\n    </Control>\r\n")
      .arg(QLatin1String(internalName), QLatin1String(code));
}

}  // namespace

TEST(HardwareMap, SavingAPanelReplacesItsEntriesOnly) {
  std::vector<std::unique_ptr<clsControlDetails>> old;
  old.push_back(binding("Studio.Btn1", "MOD_USER#1.BUT#1"));
  old.push_back(binding("studio.Btn9", "MOD_USER#1.BUT#9"));
  old.push_back(binding("Other.Btn1", "Port1_Circuit1"));
  QString text;
  AddControlsToHardwareMap(text, old);

  std::vector<std::unique_ptr<clsControlDetails>> current;
  current.push_back(binding("Studio.Btn1", "MOD_USER#2.BUT#1"));
  current.push_back(binding("Studio.Btn2", "MOD_USER#2.BUT#2"));
  RemovePanelFromHardwareMap(text, QStringLiteral("STUDIO"));
  AddControlsToHardwareMap(text, current);

  EXPECT_EQ(text, "<HardwareMapList>\r\n  <Name>HardwareMapList</Name>\r\n  <ControlList>\r\n" +
                      entry("Other.Btn1", "Port1_Circuit1") +
                      entry("Studio.Btn1", "MOD_USER#2.BUT#1") +
                      entry("Studio.Btn2", "MOD_USER#2.BUT#2") +
                      "  </ControlList>\r\n</HardwareMapList>");
}

TEST(HardwareMap, EntriesOfDottedPanelAndControlNamesBelongToOnePanel) {
  // Panels "Studio" (controls "Btn1", "Mic.1") and "Studio.v2" (control
  // "Btn1") share the map.
  const QSet<QString> studio = {"btn1", "mic.1"}, studioV2 = {"btn1"};
  const struct {
    const char *entry;
    bool ofStudio, ofStudioV2;
  } cases[] = {
      {"Studio.Btn1", true, false},
      {" studio.BTN9 ", true, false},  // a control since deleted or renamed
      {"Studio.Mic.1", true, false},   // a dotted control of Studio
      {"STUDIO.mic.1", true, false},
      {"Studio.v2.Btn1", false, true},
      {"Studio.v2.Gone", false, true},
      {"Studio.v2", true, false},
      {"Studio.", true, false},
      {"Studio", false, false},
      {"Studios.Btn1", false, false},
      {"Other.Studio.Btn1", false, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.entry);
    EXPECT_EQ(EntryBelongsToPanel(c.entry, "Studio", studio), c.ofStudio);
    EXPECT_EQ(EntryBelongsToPanel(c.entry, "studio.V2", studioV2), c.ofStudioV2);
  }

  // Removing one panel's entries keeps the other's.
  std::vector<std::unique_ptr<clsControlDetails>> records;
  for (const auto &c : cases) records.push_back(binding(c.entry, "X"));
  QString text;
  AddControlsToHardwareMap(text, records);
  QString withoutStudio = text;
  RemovePanelFromHardwareMap(withoutStudio, "Studio", studio);
  const HardwareMap left = HardwareMap::FromText(withoutStudio);
  for (const auto &c : cases) EXPECT_EQ(left.Find(c.entry) != nullptr, !c.ofStudio) << c.entry;
  RemovePanelFromHardwareMap(text, "Studio.v2", studioV2);
  const HardwareMap right = HardwareMap::FromText(text);
  for (const auto &c : cases) EXPECT_EQ(right.Find(c.entry) != nullptr, !c.ofStudioV2) << c.entry;
}

TEST(HardwareMap, IncompleteBindingsAndUnusableMapsAreLeftOut) {
  std::vector<std::unique_ptr<clsControlDetails>> records;
  for (int missing = 0; missing < 5; ++missing) {
    auto r = binding("P.B", "Port1_Circuit1");
    if (missing == 0) r->HWMapType.clear();
    if (missing == 1) r->HWMapHostIP.clear();
    if (missing == 2) r->HWMapHostPort.clear();
    if (missing == 3) r->setHWMapInternalName(QString());
    if (missing == 4) r->HWMapAoipSysName.clear();
    records.push_back(std::move(r));
  }
  QString text;
  AddControlsToHardwareMap(text, records);
  EXPECT_EQ(text, QStringLiteral("<HardwareMapList>\r\n  <Name>HardwareMapList</Name>\r\n"
                                 "  <ControlList/>\r\n</HardwareMapList>"));
  EXPECT_EQ(text, NewHardwareMapXML());

  std::vector<std::unique_ptr<clsControlDetails>> good;
  good.push_back(binding("P.B", "Port1_Circuit1"));
  for (const char *unusable :
       {"not a map", "<HardwareMapList><Name>x</Name></HardwareMapList>",
        "<!DOCTYPE x []><HardwareMapList><ControlList/></HardwareMapList>"}) {
    QString map = QString::fromLatin1(unusable);
    RemovePanelFromHardwareMap(map, QStringLiteral("P"));
    AddControlsToHardwareMap(map, good);
    EXPECT_EQ(map, QString::fromLatin1(unusable));
  }
}

TEST(HardwareMap, EntryFromXml) {
  const clsControlDetails e = HardwareMapEntryFromXML(QStringLiteral(
      "<Control><TYPE>GPIOButton</TYPE><hostport>5001abc</hostport><Login>secret</Login>"
      "<InternalName>P.B</InternalName><HostIPAddress></HostIPAddress><Other>x</Other>"
      "<AoipSysName>Port3_Circuit12</AoipSysName></Control>"));
  EXPECT_EQ(e.HWMapType, "GPIOButton");
  EXPECT_EQ(e.HWMapHostPort, "5001");
  EXPECT_EQ(e.HWMapInternalName(), "P.B");
  EXPECT_TRUE(e.HWMapHostIP.isEmpty());
  EXPECT_EQ(e.HWMapAoipSysName, "Port3_Circuit12");

  const clsControlDetails bad = HardwareMapEntryFromXML(QStringLiteral("<Control><Type>B"));
  EXPECT_TRUE(bad.HWMapType.isEmpty());
  EXPECT_TRUE(bad.HWMapInternalName().isEmpty());
}

TEST(HardwareMap, LookupTakesTheFirstEntryOfAName) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("HardwareMap.xml"));
  std::vector<std::unique_ptr<clsControlDetails>> entries;
  entries.push_back(binding(" studio.BUTTON1 ", "First"));
  entries.push_back(binding("Studio.Button1", "Second"));
  entries.push_back(binding("Studio.Label1", "Port2_Circuit7", "GPIOButton"));
  QString text;
  AddControlsToHardwareMap(text, entries);
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text.toLatin1());
  f.close();

  PanelModel panel;
  panel.pictMain.Tag = QStringLiteral("Studio");
  const HardwareMap map = HardwareMap::FromFile(path);
  const struct {
    const char *name;
    const char *code;
    const char *type;
  } cases[] = {{"Button1", "First", "Button"},
               {"Label1", "Port2_Circuit7", "GPIOButton"},
               {"Unbound", "", ""}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    DesignControl *control = panel.LoadControl(ControlKind::Button);
    control->Tag = QLatin1String(c.name);
    clsControlDetails r;
    r.cntrlObject = control;
    ApplyHardwareMapToControl(r, map);
    EXPECT_EQ(r.HWMapInternalName(), "Studio." + control->Tag);
    EXPECT_EQ(r.HWMapAoipSysName, QLatin1String(c.code));
    EXPECT_EQ(r.HWMapType, QLatin1String(c.type));
  }
  EXPECT_TRUE(HardwareMap::FromText(QStringLiteral("garbage")).isEmpty());
  EXPECT_TRUE(HardwareMap::FromFile(dir.filePath(QStringLiteral("missing.xml"))).isEmpty());
}
