// Find and replace over open panels and closed panel files.
#include "app/panelreplace.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "app/panelsearch.h"
#include "designerfixture.h"
#include "hwmap/hardwaremap.h"
#include "model/textfile.h"
#include "panelfile/localstore.h"
#include "panelfile/panelwriter.h"
#include "surface/paneleditor.h"

namespace {

// OnAir's binding is held in the hardware map, as local panels keep them.
const char *kStudio1 =
    "<Panel><Name>Studio1</Name><Caption>Studio 12</Caption><ControlList>"
    "<Control><Type>Button</Type><Name>Mic12</Name><Caption>Mic 12</Caption>"
    "<Click>ROUTE 12 3</Click><MouseDown>GPO 120</MouseDown></Control>"
    "<Control><Type>Label</Type><Name>OnAir</Name><Caption>On air</Caption></Control>"
    "<Control><Type>Meter</Type><Name>PGM</Name><MeterRouterNumber>12</MeterRouterNumber>"
    "</Control>"
    "</ControlList></Panel>";
const char *kStudio2 =
    "<Panel><Name>Studio2</Name><ControlList>"
    "<Control><Type>Button</Type><Name>Talk</Name><Click>ROUTE 12 4</Click></Control>"
    "</ControlList></Panel>";
const char *kMap =
    "<HardwareMapList><Name>HardwareMapList</Name><ControlList>\r\n"
    "<Control><Type>GPIOButton</Type><HostIPAddress>10.0.0.6</HostIPAddress>"
    "<HostPort>5001</HostPort><InternalName>Studio1.OnAir</InternalName>"
    "<AoipSysName>Port2_Circuit5</AoipSysName></Control>\r\n"
    "</ControlList></HardwareMapList>\r\n";

struct Replace : DesignerFixture {
  void SetUp() override {
    DesignerFixture::SetUp();
    write("Studio1.xml", kStudio1);
    write("Studio2.xml", kStudio2);
    write("HardwareMap.xml", kMap);
  }
  static QByteArray bytes(const QString &file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  ReplacePlan plan(const ReplaceRequest &request, const QStringList &files = {}) {
    return planReplace(request, designer->openPanels(), files,
                       HardwareMap::fromFile(programSettings().hardwareMapFile));
  }
  // "control/field/before -> after", with " (refused: why)" when refused.
  static QStringList lines(const std::vector<ReplaceChange> &changes) {
    QStringList out;
    for (const ReplaceChange &c : changes)
      out << c.control + u'/' + c.field + u'/' + c.before + QStringLiteral(" -> ") + c.after +
                 (c.refused.isEmpty() ? QString() : QStringLiteral(" (refused)"));
    return out;
  }
};

}  // namespace

TEST(FindQuery, ReplacesEveryMatchWithoutCuttingNumbers) {
  const struct {
    const char *find, *value, *replacement, *result;
  } cases[] = {
      {"12", "ROUTE 12 3", "13", "ROUTE 13 3"},
      {"12", "GPO 120 12", "13", "GPO 120 13"},
      {"5", "Port5_Circuit15", "6", "Port6_Circuit15"},
      {"mic", "Mic 1 MIC", "Talk", "Talk 1 Talk"},
      {"  10.0.0 ", "10.0.0.6", "10.1.0", "10.1.0.6"},
      {"aa", "aaa", "b", "ba"},
      {"x", "none", "y", "none"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(FindQuery(QString::fromUtf8(c.find))
                  .replaced(QString::fromUtf8(c.value), QString::fromUtf8(c.replacement)),
              QString::fromUtf8(c.result))
        << c.find << " in " << c.value;
}

TEST_F(Replace, AnOpenPanelChangesInOneUndoStepThatUndoesToTheSameBytes) {
  PanelEditor *studio1 = designer->openPanelLocal(path("Studio1.xml"));
  ASSERT_NE(studio1, nullptr);
  const auto document = [&] { return buildPanelFile(studio1->model(), false, "v"); };
  const QByteArray before = document();

  const ReplaceRequest request{QString(), QStringLiteral("12"), QStringLiteral("13")};
  const ReplacePlan planned = plan(request);
  EXPECT_EQ(lines(planned.changes),
            (QStringList{"/Caption/Studio 12 -> Studio 13", "Mic12/Name/Mic12 -> Mic13",
                         "Mic12/Caption/Mic 12 -> Mic 13", "Mic12/OnClick/ROUTE 12 3 -> ROUTE 13 3",
                         "PGM/Router Number/12 -> 13"}));
  const ReplaceOutcome outcome = applyReplace(request, planned.changes, {studio1}, ui);
  EXPECT_TRUE(outcome.complete());
  EXPECT_EQ(outcome.made.size(), 5u);
  EXPECT_EQ(outcome.controlCount(), 3);  // the panel, Mic12 and PGM
  EXPECT_EQ(outcome.panelCount(), 1);

  EXPECT_EQ(studio1->undoStack().count(), 1);
  EXPECT_EQ(studio1->undoStack().undoText(), QStringLiteral("Replace in 2 Controls"));
  EXPECT_TRUE(studio1->needToSave());
  const QByteArray after = document();
  EXPECT_TRUE(after.contains("<Name>Mic13</Name>")) << after.constData();
  EXPECT_TRUE(after.contains("<MeterRouterNumber>13</MeterRouterNumber>"));
  EXPECT_TRUE(after.contains("<Caption>Studio 13</Caption>"));
  EXPECT_EQ(bytes(path("Studio1.xml")), QByteArray(kStudio1));  // open panels wait for Save

  studio1->undo();
  EXPECT_EQ(document(), before);
  studio1->redo();
  EXPECT_EQ(document(), after);
}

TEST_F(Replace, ClosedFilesAreSavedWithBackupAndMapAndAnUnreadableFileIsLeftAlone) {
  write("Broken.xml", "<Panel><Name>Broken</Name><Caption>10.0.0.6");
  const QStringList files{path("Broken.xml"), path("Studio1.xml"), path("Studio2.xml")};
  // Studio2 is open: its window changes, its file does not.
  PanelEditor *studio2 = designer->openPanelLocal(path("Studio2.xml"));
  ASSERT_NE(studio2, nullptr);

  const ReplaceRequest request{QString(), QStringLiteral("12"), QStringLiteral("14")};
  ReplacePlan planned = plan(request, files);
  ASSERT_EQ(planned.skipped.size(), 1u);
  EXPECT_EQ(planned.skipped[0].file, path("Broken.xml"));
  ReplaceOutcome outcome = applyReplace(request, planned.changes, {studio2}, ui);
  EXPECT_TRUE(outcome.complete());
  EXPECT_EQ(outcome.panelCount(), 2);
  EXPECT_EQ(bytes(path("Studio2.xml")), QByteArray(kStudio2));
  EXPECT_EQ(studio2->model().panelRecord.records[0]->click, QStringLiteral("ROUTE 14 4"));

  const QByteArray saved = bytes(path("Studio1.xml"));
  EXPECT_TRUE(saved.contains("<Click>ROUTE 14 3</Click>")) << saved.constData();
  EXPECT_TRUE(saved.contains("<MouseDown>GPO 120</MouseDown>"));
  EXPECT_EQ(bytes(path("Broken.xml")), QByteArray("<Panel><Name>Broken</Name><Caption>10.0.0.6"));
  const QStringList backups = QDir(backupFolder()).entryList(QDir::Files);
  EXPECT_EQ(backups.filter(QStringLiteral("Studio1_")).size(), 1)
      << backups.join(u' ').toStdString();

  // A binding held in the map, and a rename, change the map's entry.
  const ReplaceRequest address{QStringLiteral("HWMapHostIP"), QStringLiteral("10.0.0.6"),
                               QStringLiteral("10.0.0.9")};
  outcome = applyReplace(address, plan(address, files).changes, {}, ui);
  EXPECT_EQ(lines(outcome.made), QStringList{"OnAir/HWMapHostIP/10.0.0.6 -> 10.0.0.9"});
  const ReplaceRequest name{QStringLiteral("Name"), QStringLiteral("OnAir"),
                            QStringLiteral("OnAir2")};
  outcome = applyReplace(name, plan(name, files).changes, {}, ui);
  EXPECT_TRUE(outcome.complete());
  const HardwareMap map = HardwareMap::fromFile(programSettings().hardwareMapFile);
  ASSERT_EQ(map.entries().size(), 1u);
  EXPECT_EQ(map.entries()[0].internalName, QStringLiteral("Studio1.OnAir2"));
  EXPECT_EQ(map.entries()[0].hostIP, QStringLiteral("10.0.0.9"));
  EXPECT_EQ(map.entries()[0].aoipSysName, QStringLiteral("Port2_Circuit5"));
}

TEST_F(Replace, AValueTheFieldCannotHoldIsListedWithItsReasonAndNotMade) {
  const QStringList files{path("Studio1.xml")};
  const struct {
    const char *field, *find, *replacement;
    const char *reason;  // a part of the reason
  } cases[] = {
      {"Name", "Mic12", "OnAIR", "Another control of the panel is named"},
      {"Name", "Mic12", "Mic\u4e00", "cannot store"},
      {"OnClick", "ROUTE", "\u4e00", "cannot store"},
      {"Router Number", "12", "twelve", "not a whole number"},
      {"HWMapHostPort", "5001", "70000", "not a port number"},
      {"HWMapHostIP", "10.0.0.6", "", "hardware binding"},
  };
  for (const auto &c : cases) {
    const ReplaceRequest request{QString::fromUtf8(c.field), QString::fromUtf8(c.find),
                                 QString::fromUtf8(c.replacement)};
    const ReplacePlan planned = plan(request, files);
    ASSERT_EQ(planned.changes.size(), 1u) << c.field;
    EXPECT_TRUE(planned.changes[0].refused.contains(QString::fromUtf8(c.reason)))
        << c.field << ": " << planned.changes[0].refused.toStdString();
    // Chosen anyway, it is still not made, and the file is not written.
    const ReplaceOutcome outcome = applyReplace(request, planned.changes, {}, ui);
    EXPECT_TRUE(outcome.made.empty()) << c.field;
    EXPECT_EQ(bytes(path("Studio1.xml")), QByteArray(kStudio1)) << c.field;
  }
}

// Find shows the text inside a control this version keeps; Replace lists it
// too, saying why it stays, and never changes it.
TEST_F(Replace, TextInsideAKeptControlIsListedWithItsReasonAndNotMade) {
  const QByteArray studio3 =
      "<Panel><Name>Studio3</Name><ControlList><Control><Type>CodecControl</Type>"
      "<Name>Codec1</Name>\r\n<Remote>ROUTE 12 9</Remote></Control></ControlList></Panel>";
  write("Studio3.xml", studio3.constData());
  const QStringList files{path("Studio3.xml")};
  std::vector<FindHit> hits;
  searchPanelFiles(files, FindQuery("route 12"), HardwareMap(), hits);
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].field, "Text");

  const ReplaceRequest request{QString(), QStringLiteral("route 12"), QStringLiteral("ROUTE 13")};
  const ReplacePlan planned = plan(request, files);
  EXPECT_EQ(lines(planned.changes),
            QStringList{"Codec1/Text/<Remote>ROUTE 12 9</Remote></Control> -> "
                        "<Remote>ROUTE 13 9</Remote></Control> (refused)"});
  ASSERT_EQ(planned.changes.size(), 1u);
  EXPECT_TRUE(planned.changes[0].refused.contains("cannot change its text"));
  EXPECT_TRUE(plan({QStringLiteral("OnClick"), request.find, request.replacement}, files)
                  .changes.empty());
  const ReplaceOutcome outcome = applyReplace(request, planned.changes, {}, ui);
  EXPECT_TRUE(outcome.made.empty());
  EXPECT_EQ(bytes(path("Studio3.xml")), studio3);
}

TEST_F(Replace, OnlyTheChosenChangesAreMadeAndAFieldChangedSinceThePlanIsRefused) {
  PanelEditor *studio1 = designer->openPanelLocal(path("Studio1.xml"));
  ASSERT_NE(studio1, nullptr);
  const ReplaceRequest request{QStringLiteral("OnClick"), QStringLiteral("route"),
                               QStringLiteral("CUT")};
  ReplacePlan planned = plan(request, {path("Studio2.xml")});
  ASSERT_EQ(planned.changes.size(), 2u);
  studio1->model().panelRecord.records[0]->click = QStringLiteral("ROUTE 99");
  const ReplaceOutcome outcome = applyReplace(request, planned.changes, {studio1}, ui);
  EXPECT_EQ(lines(outcome.made), QStringList{"Talk/OnClick/ROUTE 12 4 -> CUT 12 4"});
  ASSERT_EQ(outcome.refused.size(), 1u);
  EXPECT_TRUE(outcome.refused[0].refused.contains(QStringLiteral("no longer holds")));
  EXPECT_EQ(studio1->undoStack().count(), 0);  // nothing changed, no step

  planned = plan(request, {path("Studio1.xml")});
  ASSERT_EQ(planned.changes.size(), 1u);  // the window's, not the file's
  EXPECT_EQ(planned.changes[0].panel, studio1);
  // The window closes before Replace: neither it nor the file is changed.
  designer->closePanel(studio1);
  const ReplaceOutcome closed = applyReplace(request, planned.changes, {}, ui);
  ASSERT_EQ(closed.refused.size(), 1u);
  EXPECT_TRUE(closed.refused[0].refused.contains(QStringLiteral("closed")));
  EXPECT_EQ(closed.refused[0].panel, nullptr);
  EXPECT_EQ(bytes(path("Studio1.xml")), QByteArray(kStudio1));
}

TEST_F(Replace, ANewNameIsCleanedAsTheGridCleansItAndNeverTakesAnotherControlsMapEntry) {
  // Panel "Studio" has a control named "v2.B2", as an older designer could
  // write it: its map entry "Studio.v2.B2" is named as panel "Studio.v2"'s
  // control "B2" would be. "Studio.v2.B1" is Studio.v2's own B1.
  write("Studio.xml",
        "<Panel><Name>Studio</Name><ControlList>"
        "<Control><Type>Button</Type><Name>Q</Name></Control>"
        "<Control><Type>Label</Type><Name>Mic</Name></Control>"
        "<Control><Type>Button</Type><Name>v2.B2</Name></Control>"
        "</ControlList></Panel>");
  write("Studio.v2.xml",
        "<Panel><Name>Studio.v2</Name><ControlList>"
        "<Control><Type>Button</Type><Name>B1</Name></Control>"
        "<Control><Type>Button</Type><Name>Talk</Name></Control>"
        "</ControlList></Panel>");
  const auto entry = [](const char *name, const char *address) {
    return QStringLiteral(
               "<Control><Type>Button</Type><HostIPAddress>%1</HostIPAddress>"
               "<HostPort>5001</HostPort><InternalName>%2</InternalName>"
               "<AoipSysName>MOD_USER#1.BUT#1</AoipSysName></Control>\r\n")
        .arg(QLatin1String(address), QLatin1String(name));
  };
  write("HardwareMap.xml",
        QStringLiteral("<HardwareMapList><Name>HardwareMapList</Name><ControlList>\r\n") +
            entry("Studio.Q", "10.0.0.1") + entry("Studio.v2.B1", "10.0.0.2") +
            entry("Studio.v2.B2", "10.0.0.3") +
            QStringLiteral("</ControlList></HardwareMapList>\r\n"));

  const struct {
    const char *file, *find, *replacement;
    const char *line;  // the change as made, or refused
  } cases[] = {
      {"Studio.xml", "Q", "v2.B1", "Q/Name/Q -> v2_B1"},
      {"Studio.xml", "Mic", "B 1;<x>", "Mic/Name/Mic -> B_1;<x>"},
      {"Studio.v2.xml", "Talk", "B2", "Talk/Name/Talk -> B2 (refused)"},
  };
  for (const auto &c : cases) {
    const ReplaceRequest request{QStringLiteral("Name"), QString::fromUtf8(c.find),
                                 QString::fromUtf8(c.replacement)};
    const ReplacePlan planned = plan(request, {path(QString::fromUtf8(c.file))});
    EXPECT_EQ(lines(planned.changes), QStringList{QString::fromUtf8(c.line)});
    const ReplaceOutcome outcome = applyReplace(request, planned.changes, {}, ui);
    EXPECT_EQ(lines(outcome.made).join(u'|') + lines(planned.changes).filter("refused").join(u'|'),
              QString::fromUtf8(c.line));
  }
  const HardwareMap map = HardwareMap::fromFile(programSettings().hardwareMapFile);
  QStringList entries;
  for (const HardwareMap::Entry &e : map.entries()) entries << e.internalName + u' ' + e.hostIP;
  entries.sort();
  EXPECT_EQ(entries, (QStringList{"Studio.v2.B1 10.0.0.2", "Studio.v2.B2 10.0.0.3",
                                  "Studio.v2_B1 10.0.0.1"}));

  // An open window refuses the same name.
  PanelEditor *v2 = designer->openPanelLocal(path("Studio.v2.xml"));
  ASSERT_NE(v2, nullptr);
  const ReplaceRequest request{QStringLiteral("Name"), QStringLiteral("Talk"),
                               QStringLiteral("B2")};
  const ReplacePlan planned = plan(request);
  ASSERT_EQ(planned.changes.size(), 1u);
  EXPECT_TRUE(planned.changes[0].refused.contains(QStringLiteral("\"Studio.v2.B2\"")))
      << planned.changes[0].refused.toStdString();
}
