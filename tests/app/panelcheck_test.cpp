#include "app/panelcheck.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// A button; `extra` adds or overrides elements (later elements win).
QString button(const QString &name, int left, int top, int width, int height,
               const QString &extra = QStringLiteral("<Click>GO</Click>")) {
  return QStringLiteral(
             "<Control><Type>Button</Type><Name>%1</Name><Left>%2</Left><Top>%3</Top>"
             "<Width>%4</Width><Height>%5</Height>%6</Control>")
      .arg(name)
      .arg(left)
      .arg(top)
      .arg(width)
      .arg(height)
      .arg(extra);
}

QString panel(const QString &name, const QString &controls, const QString &extra = QString()) {
  return QStringLiteral(
             "<Panel><Name>%1</Name><Width>9600</Width><Height>7200</Height>%2"
             "<ControlList>%3</ControlList></Panel>")
      .arg(name, extra, controls);
}

QString mapping(const QString &code, const QString &type = QStringLiteral("Button")) {
  return QStringLiteral(
             "<Click>GO</Click><HWMapType>%1</HWMapType><HWMapHostIP>10.0.0.5</HWMapHostIP>"
             "<HWMapHostPort>4010</HWMapHostPort><HWMapAoipSysName>%2</HWMapAoipSysName>")
      .arg(type, code);
}

class PanelCheckTest : public ::testing::Test {
 protected:
  QString write(const QString &name, const QString &text) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
    return path;
  }
  // The findings of the files written so far, as "control code severity".
  QStringList check(const QString &mapFile = QString()) {
    QString found;
    const QStringList files = panelFilesOfPath(dir.path(), &found);
    QStringList out;
    for (const CheckFinding &f : checkPanelFiles(files, mapFile))
      out << QStringLiteral("%1 %2 %3").arg(f.control, f.code, severityText(f.severity));
    return out;
  }
  QTemporaryDir dir;
};

TEST_F(PanelCheckTest, EachFindingOfOnePanel) {
  write(QStringLiteral("there.png"), QStringLiteral("x"));
  struct Case {
    const char *what;
    QString controls;
    QStringList expected;
  };
  const Case cases[] = {
      {"a sound panel has no finding",
       button("A", 0, 0, 500, 500) + button("B", 600, 0, 500, 500, mapping("MOD_USER#1.BUT#2")) +
           button("C", 1200, 0, 500, 500,
                  QStringLiteral("<Click>GO</Click><PictureUpOff>there.png</PictureUpOff>")) +
           button("D", 1800, 0, 500, 500, mapping("Port3_Circuit12", "GPIOButton")),
       {}},
      {"names equal but for case",
       button("Mic", 0, 0, 500, 500) + button("MIC", 600, 0, 500, 500),
       {"MIC duplicate-name error"}},
      {"one panel binds one key twice",
       button("A", 0, 0, 500, 500, mapping("MOD_USER#1.BUT#1")) +
           button("B", 600, 0, 500, 500, mapping("mod_user#1.but#1")),
       {"B mapping-conflict warning"}},
      {"a code no decoder reads",
       button("A", 0, 0, 500, 500, mapping("MOD_FOO")),
       {"A bad-mapping-code error"}},
      {"a GPIO type with a key code",
       button("A", 0, 0, 500, 500, mapping("MOD_USER#1.BUT#2", "GPIOButton")),
       {"A bad-mapping-code error"}},
      {"a picture that names no file",
       button("A", 0, 0, 500, 500,
              QStringLiteral("<Click>GO</Click><PictureDownOn>gone.png</PictureDownOn>")),
       {"A missing-picture error"}},
      {"partly off the right edge", button("A", 9000, 0, 1200, 500), {"A outside-panel warning"}},
      {"off the top", button("A", 100, -10, 500, 500), {"A outside-panel warning"}},
      {"wholly under a later control",
       button("Small", 100, 100, 200, 200) + button("Big", 0, 0, 1000, 1000),
       {"Small covered warning"}},
      {"a control above is not covered",
       button("Big", 0, 0, 1000, 1000) + button("Small", 100, 100, 200, 200),
       {}},
      {"a button that does nothing",
       button("A", 0, 0, 500, 500, QString()),
       {"A no-action warning"}},
      {"a router map is an action",
       button("A", 0, 0, 500, 500, QStringLiteral("<MapRouter>1</MapRouter>")),
       {}},
  };
  for (const Case &c : cases) {
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.path());
    write(QStringLiteral("there.png"), QStringLiteral("x"));
    // Pictures are looked up in the panel's picture folder.
    write(QStringLiteral("P.xml"),
          panel(QStringLiteral("P"), c.controls,
                QStringLiteral("<DefaultPicturePath>%1</DefaultPicturePath>").arg(dir.path())));
    EXPECT_EQ(check(), c.expected) << c.what;
  }
}

TEST_F(PanelCheckTest, PanelPictureAndUnreadableFile) {
  write(QStringLiteral("P.xml"),
        panel(QStringLiteral("P"), QString(), QStringLiteral("<Picture>none.png</Picture>")));
  write(QStringLiteral("Q.xml"), QStringLiteral("<Panel><Name>Q</Name>\n<Width>"));
  const std::vector<CheckFinding> findings =
      checkPanelFiles(panelFilesOfPath(dir.path(), nullptr), QString());
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[0].code, QStringLiteral("missing-picture"));
  EXPECT_TRUE(findings[0].control.isEmpty());
  EXPECT_EQ(findings[1].code, QStringLiteral("unreadable"));
  EXPECT_TRUE(findings[1].message.contains(QStringLiteral("Line 2")))
      << findings[1].message.toStdString();
}

TEST_F(PanelCheckTest, TheFoldersMapIsHardwareMapXmlNeverACopyBesideIt) {
  write(QStringLiteral("HardwareMap - copy.xml"), QStringLiteral("<HardwareMapList/>"));
  QString found;
  EXPECT_TRUE(panelFilesOfPath(dir.path(), &found).isEmpty());  // nor is it a panel
  EXPECT_TRUE(found.isEmpty());
  const QString map =
      write(QStringLiteral("HardwareMap.xml"), QStringLiteral("<HardwareMapList/>"));
  panelFilesOfPath(dir.path(), &found);
  EXPECT_EQ(found, map);
}

TEST_F(PanelCheckTest, BindingsAcrossPanelsAndOrphanMapEntries) {
  write(QStringLiteral("A.xml"),
        panel(QStringLiteral("A"),
              button("Key", 0, 0, 500, 500, QStringLiteral("<Click>GO</Click>")) +
                  "<Control><Type>CodecControl</Type><Name>Codec1</Name><Left>600</Left>"
                  "</Control>"));
  write(QStringLiteral("B.xml"),
        panel(QStringLiteral("B"), button("Other", 0, 0, 500, 500, mapping("MOD_USER#1.BUT#1"))));
  // The map binds A.Key to the key B.Other holds, and keeps two entries of
  // nothing: a panel that is gone and a control that is gone. The codec
  // control's entry is its own, in a form this version does not judge.
  const QString entry = QStringLiteral(
      "<Control><Type>Button</Type><HostIPAddress>10.0.0.5</HostIPAddress><HostPort>4010</HostPort>"
      "<InternalName>%1</InternalName><AoipSysName>MOD_USER#1.BUT#1</AoipSysName></Control>");
  const QString map =
      write(QStringLiteral("HardwareMap.xml"),
            QStringLiteral("<HardwareMapList><Name>HardwareMapList</Name><ControlList>%1%2%3"
                           "</ControlList></HardwareMapList>")
                .arg(entry.arg(QStringLiteral("A.Key")), entry.arg(QStringLiteral("Ghost.B1")),
                     entry.arg(QStringLiteral("A.Nobody")) +
                         QStringLiteral("<Control><Type>Codec</Type><HostIPAddress>10.0.0.9"
                                        "</HostIPAddress><HostPort>7000</HostPort><InternalName>"
                                        "A.Codec1</InternalName><AoipSysName>CODEC#1</AoipSysName>"
                                        "</Control>")));
  QString found;
  panelFilesOfPath(dir.path(), &found);
  EXPECT_EQ(found, map);
  EXPECT_EQ(check(map),
            (QStringList{"Other mapping-conflict warning", "Ghost.B1 orphan-map-entry warning",
                         "A.Nobody orphan-map-entry warning"}));
}

}  // namespace
