// The hardware map document: entries, removing a panel, adding bindings and
// the lookup index used while a panel is read.
#include "hwmap/hardwaremap.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "model/panelmodel.h"

namespace {

std::unique_ptr<ControlRecord> binding(const QString &internalName, const QString &code,
                                       const QString &type = QStringLiteral("Button")) {
  auto r = std::make_unique<ControlRecord>();
  r->hwMapType = type;
  r->hwMapHostIP = QStringLiteral("10.0.0.9");
  r->hwMapHostPort = QStringLiteral("5000");
  r->setHWMapInternalName(internalName);
  r->hwMapAoipSysName = code;
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
  std::vector<std::unique_ptr<ControlRecord>> old;
  old.push_back(binding("Studio.Btn1", "MOD_USER#1.BUT#1"));
  old.push_back(binding("studio.Btn9", "MOD_USER#1.BUT#9"));
  old.push_back(binding("Other.Btn1", "Port1_Circuit1"));
  QString text;
  addControlsToHardwareMap(text, old);

  std::vector<std::unique_ptr<ControlRecord>> current;
  current.push_back(binding("Studio.Btn1", "MOD_USER#2.BUT#1"));
  current.push_back(binding("Studio.Btn2", "MOD_USER#2.BUT#2"));
  removePanelFromHardwareMap(text, QStringLiteral("STUDIO"));
  addControlsToHardwareMap(text, current);

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
    EXPECT_EQ(entryBelongsToPanel(c.entry, "Studio", studio), c.ofStudio);
    EXPECT_EQ(entryBelongsToPanel(c.entry, "studio.V2", studioV2), c.ofStudioV2);
  }

  // Removing one panel's entries keeps the other's.
  std::vector<std::unique_ptr<ControlRecord>> records;
  for (const auto &c : cases) records.push_back(binding(c.entry, "X"));
  QString text;
  addControlsToHardwareMap(text, records);
  QString withoutStudio = text;
  removePanelFromHardwareMap(withoutStudio, "Studio", studio);
  const HardwareMap left = HardwareMap::fromText(withoutStudio);
  for (const auto &c : cases) EXPECT_EQ(left.Find(c.entry) != nullptr, !c.ofStudio) << c.entry;
  removePanelFromHardwareMap(text, "Studio.v2", studioV2);
  const HardwareMap right = HardwareMap::fromText(text);
  for (const auto &c : cases) EXPECT_EQ(right.Find(c.entry) != nullptr, !c.ofStudioV2) << c.entry;
}

TEST(HardwareMap, IncompleteBindingsAndUnusableMapsAreLeftOut) {
  std::vector<std::unique_ptr<ControlRecord>> records;
  for (int missing = 0; missing < 5; ++missing) {
    auto r = binding("P.B", "Port1_Circuit1");
    if (missing == 0) r->hwMapType.clear();
    if (missing == 1) r->hwMapHostIP.clear();
    if (missing == 2) r->hwMapHostPort.clear();
    if (missing == 3) r->setHWMapInternalName(QString());
    if (missing == 4) r->hwMapAoipSysName.clear();
    records.push_back(std::move(r));
  }
  QString text;
  addControlsToHardwareMap(text, records);
  EXPECT_EQ(text, QStringLiteral("<HardwareMapList>\r\n  <Name>HardwareMapList</Name>\r\n"
                                 "  <ControlList/>\r\n</HardwareMapList>"));
  EXPECT_EQ(text, newHardwareMapXML());

  std::vector<std::unique_ptr<ControlRecord>> good;
  good.push_back(binding("P.B", "Port1_Circuit1"));
  for (const char *unusable :
       {"not a map", "<HardwareMapList><Name>x</Name></HardwareMapList>",
        "<!DOCTYPE x []><HardwareMapList><ControlList/></HardwareMapList>"}) {
    QString map = QString::fromLatin1(unusable);
    removePanelFromHardwareMap(map, QStringLiteral("P"));
    addControlsToHardwareMap(map, good);
    EXPECT_EQ(map, QString::fromLatin1(unusable));
  }
}

TEST(HardwareMap, EntryFromXml) {
  const ControlRecord e = hardwareMapEntryFromXML(QStringLiteral(
      "<Control><TYPE>GPIOButton</TYPE><hostport>5001abc</hostport><Login>secret</Login>"
      "<InternalName>P.B</InternalName><HostIPAddress></HostIPAddress><Other>x</Other>"
      "<AoipSysName>Port3_Circuit12</AoipSysName></Control>"));
  EXPECT_EQ(e.hwMapType, "GPIOButton");
  EXPECT_EQ(e.hwMapHostPort, "5001");
  EXPECT_EQ(e.hwMapInternalName(), "P.B");
  EXPECT_TRUE(e.hwMapHostIP.isEmpty());
  EXPECT_EQ(e.hwMapAoipSysName, "Port3_Circuit12");

  const ControlRecord bad = hardwareMapEntryFromXML(QStringLiteral("<Control><Type>B"));
  EXPECT_TRUE(bad.hwMapType.isEmpty());
  EXPECT_TRUE(bad.hwMapInternalName().isEmpty());
}

TEST(HardwareMap, LookupTakesTheFirstEntryOfAName) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("HardwareMap.xml"));
  std::vector<std::unique_ptr<ControlRecord>> entries;
  entries.push_back(binding(" studio.BUTTON1 ", "First"));
  entries.push_back(binding("Studio.Button1", "Second"));
  entries.push_back(binding("Studio.Label1", "Port2_Circuit7", "GPIOButton"));
  QString text;
  addControlsToHardwareMap(text, entries);
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text.toLatin1());
  f.close();

  PanelModel panel;
  panel.canvas.tag = QStringLiteral("Studio");
  const HardwareMap map = HardwareMap::fromFile(path);
  const struct {
    const char *name;
    const char *code;
    const char *type;
  } cases[] = {{"Button1", "First", "Button"},
               {"Label1", "Port2_Circuit7", "GPIOButton"},
               {"Unbound", "", ""}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    DesignControl *control = panel.loadControl(ControlKind::Button);
    control->tag = QLatin1String(c.name);
    ControlRecord r;
    r.control = control;
    applyHardwareMapToControl(r, map);
    EXPECT_EQ(r.hwMapInternalName(), "Studio." + control->tag);
    EXPECT_EQ(r.hwMapAoipSysName, QLatin1String(c.code));
    EXPECT_EQ(r.hwMapType, QLatin1String(c.type));
  }
  EXPECT_TRUE(HardwareMap::fromText(QStringLiteral("garbage")).isEmpty());
  EXPECT_TRUE(HardwareMap::fromFile(dir.filePath(QStringLiteral("missing.xml"))).isEmpty());
}
