// Content this version does not read (unknown elements, codec controls,
// controls of unknown kinds, comments) is written back where it stood.
#include <functional>

#include "hwmap/hardwaremap.h"
#include "model/codepage.h"
#include "model/designcontrol.h"
#include "panelfile/clipboarddoc.h"
#include "panelfile/controlreader.h"
#include "panelfile/foreignfixtures.h"
#include "panelfile/panelreader.h"
#include "panelfile/panelwriter.h"
#include "testpanel.h"

namespace {

const HardwareMap kNoMap;

QString golden() {
  return decodeWindows1252(readBytes(fixturePath(QStringLiteral("golden_panel.xml"))));
}

QString fileText(const PanelModel &p) {
  return buildPanelDocument(p, programSettings().serverMode) + QStringLiteral("\r\n");
}

class ForeignContent : public PanelFileTest,
                       public ::testing::WithParamInterface<ForeignFixture> {};

}  // namespace

TEST_P(ForeignContent, SurvivesOpenSaveMoveAndCopyPaste) {
  programSettings().serverMode = true;
  const QString text = withForeignInsert(golden(), GetParam());
  ASSERT_NE(text, golden());
  PanelModel p;
  ReadHooks hooks;
  ASSERT_TRUE(analyzeXML(text, p, hooks, kNoMap));
  EXPECT_EQ(fileText(p), text);

  // Moving every control changes only their Left lines.
  for (auto &record : p.panelRecord.records) record->control->left += 15;
  const QString moved = fileText(p);
  for (auto &record : p.panelRecord.records) record->control->left -= 15;
  EXPECT_NE(moved, text);
  EXPECT_EQ(fileText(p), text);

  // A copy of every control pasted into an empty panel keeps the unknown
  // elements of each.
  std::vector<DesignControl *> all;
  for (auto &record : p.panelRecord.records) all.push_back(record->control);
  PanelModel target;
  const auto pasted =
      analyzeClipboardXML(buildClipboardDocument(p, all, true), target, hooks, kNoMap);
  ASSERT_EQ(pasted.size(), all.size());
  for (size_t k = 0; k < pasted.size(); ++k)
    EXPECT_EQ(pasted[k]->foreign, p.panelRecord.records[k]->foreign);

  // Deleting every control keeps the controls this version cannot build.
  for (auto &record : p.panelRecord.records) p.unloadControl(record->control);
  p.panelRecord.records.clear();
  const QString emptied = fileText(p);
  for (const auto &kept : p.panelRecord.foreignControls) EXPECT_TRUE(emptied.contains(kept.text));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ForeignContent, ::testing::ValuesIn(kForeignFixtures),
                         [](const auto &info) { return foreignFixtureName(info.param); });

TEST_F(PanelFileTest, UnknownElementsOfAPastedControlComeWithIt) {
  const QString clip = QStringLiteral(
      "<ClipboardControls><ControlList><Control><Type>Button</Type><Name>Button1</Name>"
      "<Left>10</Left><Top>20</Top><Glow>soft</Glow></Control></ControlList></ClipboardControls>");
  PanelModel p;
  addControl<DesignButton>(p, QStringLiteral("Button1"), 0, 0);
  ReadHooks hooks;
  const auto pasted = analyzeClipboardXML(clip, p, hooks, kNoMap);
  ASSERT_EQ(pasted.size(), 1u);
  EXPECT_NE(pasted[0]->control->tag, QStringLiteral("Button1"));
  ASSERT_EQ(pasted[0]->foreign.size(), 1u);
  EXPECT_EQ(pasted[0]->foreign[0].text, QStringLiteral("<Glow>soft</Glow>"));
  EXPECT_EQ(pasted[0]->foreign[0].after, QStringLiteral("top"));
}

// A kept control's text after a change of its name or geometry: only the
// elements of what changed are rewritten (added where it has none), and the
// text reads back with the new values.
TEST_F(PanelFileTest, KeptControlTextChangesOnlyTheChangedElements) {
  struct Case {
    const char *what;
    const char *source;
    std::function<void(DesignKept &)> change;
    const char *written;
  };
  const char *laidOut =
      "<Control>\r\n      <Type>CodecControl</Type>\r\n      <Name>Codec1</Name>\r\n"
      "      <Left>100</Left>\r\n      <X a=\"1\">y</X>\r\n    </Control>";
  const Case cases[] = {
      {"moved", laidOut, [](DesignKept &c) { c.left = 115; },
       "<Control>\r\n      <Type>CodecControl</Type>\r\n      <Name>Codec1</Name>\r\n"
       "      <Left>115</Left>\r\n      <X a=\"1\">y</X>\r\n    </Control>"},
      {"a size it lacked", laidOut, [](DesignKept &c) { c.width = 2000; },
       "<Control>\r\n      <Type>CodecControl</Type>\r\n      <Name>Codec1</Name>\r\n"
       "      <Left>100</Left>\r\n      <X a=\"1\">y</X>\r\n      <Width>2000</Width>\r\n"
       "    </Control>"},
      {"unchanged values keep their spelling",
       "<Control><Type>Slider</Type><Left a=\"b\">1.5</Left><Width>-5</Width></Control>",
       [](DesignKept &) {},
       "<Control><Type>Slider</Type><Left a=\"b\">1.5</Left><Width>-5</Width></Control>"},
      {"attributes stay", "<Control><Type>Slider</Type><Left a=\"b\">1.5</Left></Control>",
       [](DesignKept &c) { c.left = 10; },
       "<Control><Type>Slider</Type><Left a=\"b\">10</Left></Control>"},
      {"an empty element takes the value", "<Control><Top/><Name>N</Name></Control>",
       [](DesignKept &c) { c.top = 30; }, "<Control><Top>30</Top><Name>N</Name></Control>"},
      {"an empty control opens", "<Control/>", [](DesignKept &c) { c.left = 5; },
       "<Control><Left>5</Left></Control>"},
      {"renamed", "<Control><Name>A&amp;B</Name><!-- c --></Control>",
       [](DesignKept &c) { c.tag = QStringLiteral("C<1"); },
       "<Control><Name>C&lt;1</Name><!-- c --></Control>"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    PanelModel p;
    const auto record = readControl(QString::fromUtf8(c.source), p, false, 0, 0, kNoMap);
    ASSERT_NE(record, nullptr);
    auto *kept = controlCast<DesignKept>(record->control);
    ASSERT_NE(kept, nullptr);
    c.change(*kept);
    const QString written = keptControlText(*kept);
    EXPECT_EQ(written, QString::fromUtf8(c.written));
    const auto reread = readControl(written, p, false, 0, 0, kNoMap);
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(reread->control->tag, kept->tag);
    EXPECT_EQ(reread->control->left, kept->left);
    EXPECT_EQ(reread->control->top, kept->top);
    EXPECT_EQ(reread->control->width, kept->width);
  }
}

TEST_F(PanelFileTest, APastedKeptControlLandsLikeAnyControl) {
  const QString clip = QStringLiteral(
      "<ClipboardControls><ControlList>"
      "<Control><Type>Button</Type><Name>Button2</Name><Left>100</Left><Top>200</Top></Control>"
      "<Control><Type>CodecControl</Type><Name>Button1</Name><Left>400</Left><Top>250</Top>"
      "<CodecAddress>10.1.1.9</CodecAddress></Control></ControlList></ClipboardControls>");
  PanelModel p;
  addControl<DesignButton>(p, QStringLiteral("Button1"), 0, 0);
  ReadHooks hooks;
  const auto pasted = analyzeClipboardXML(clip, p, hooks, kNoMap);
  ASSERT_EQ(pasted.size(), 2u);
  const auto *kept = controlCast<DesignKept>(pasted[1]->control);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->tag, "Control1");
  EXPECT_EQ(keptControlText(*kept),
            "<Control><Type>CodecControl</Type><Name>Control1</Name><Left>300</Left><Top>50</Top>"
            "<CodecAddress>10.1.1.9</CodecAddress></Control>");
}
