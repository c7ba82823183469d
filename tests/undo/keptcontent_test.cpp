// Panels holding content this version does not read, edited through the
// designer: every step saves, undoes and saves again to the same bytes, and
// the unknown content is in every file written.
#include "panelfile/foreignfixtures.h"
#include "undo/undofixture.h"

namespace {

class KeptContent : public UndoTest, public ::testing::WithParamInterface<ForeignFixture> {
 protected:
  // Opens the fixture in a window of its own, saved to its own file.
  void openFixture() {
    QFile golden(TESSARY_FIXTURES "/panelfile/golden_panel.xml");
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    path = panelsFolder() + "Kept.xml";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(withForeignInsert(QString::fromLatin1(golden.readAll()), GetParam()).toLatin1());
    file.close();
    panel = designer->openPanelLocal(path);
    ASSERT_NE(panel, nullptr) << ui.messageTexts().join(" | ").toStdString();
  }
  // Every line of the fixture's unknown content is in the file (the lines
  // of a kept control's place left out where it moved).
  void expectKept(const QByteArray &file, bool moved) {
    for (const QByteArray &line : QByteArray(GetParam().insert).split('\n')) {
      const QByteArray trimmed = line.trimmed();
      if (moved && (trimmed.startsWith("<Left>") || trimmed.startsWith("<Top>"))) continue;
      EXPECT_TRUE(file.contains(trimmed)) << trimmed.toStdString();
    }
  }
};

TEST_P(KeptContent, SurvivesMoveCutPasteUndoAndSaveAs) {
  openFixture();
  const QByteArray opened = save();
  expectKept(opened, false);

  // Every control moved, the kept ones too.
  panel->selectAll();
  panel->keyDown(KeyCode::Right, ShiftState::Shift);
  const QByteArray moved = save();
  EXPECT_NE(moved, opened);
  expectKept(moved, true);
  designer->undo();
  EXPECT_EQ(save(), opened);
  designer->redo();
  EXPECT_EQ(save(), moved);
  designer->undo();

  // Cut and pasted back: the controls land at the origin with everything
  // they hold; undoing both gives the file back.
  const size_t controls = panel->model().panelRecord.records.size();
  panel->selectAll();
  designer->cut();
  EXPECT_TRUE(panel->model().panelRecord.records.empty());
  const QByteArray cut = save();
  designer->paste();
  EXPECT_EQ(panel->model().panelRecord.records.size(), controls);
  expectKept(save(), true);
  designer->undo();
  EXPECT_EQ(save(), cut);
  designer->undo();
  EXPECT_EQ(save(), opened);

  // Save As writes the same content under the new name.
  ui.fileAnswers.push_back(panelsFolder() + "Booth.xml");
  ASSERT_TRUE(designer->saveAs());
  QFile booth(panelsFolder() + "Booth.xml");
  ASSERT_TRUE(booth.open(QIODevice::ReadOnly));
  expectKept(booth.readAll(), false);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, KeptContent, ::testing::ValuesIn(kForeignFixtures),
                         [](const auto &info) { return foreignFixtureName(info.param); });

// A kept control is moved, resized and deleted like any control, one undo
// step each; only its geometry elements change in its text, and the hardware
// map keeps its entry.
TEST_F(UndoTest, AKeptControlIsEditedLikeAnyControl) {
  const QString codec = QStringLiteral(
      "    <Control>\r\n      <Type>CodecControl</Type>\r\n      <Name>Codec1</Name>\r\n"
      "      <Left>100</Left>\r\n      <Top>200</Top>\r\n"
      "      <CodecAddress>10.1.1.9</CodecAddress>\r\n    </Control>\r\n");
  QString text = QString::fromLatin1(save(false));
  text.insert(text.indexOf("    <Control>"), codec);
  path = panelsFolder() + "Kept.xml";
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text.toLatin1());
  file.close();
  QFile mapFile(programSettings().hardwareMapFile);
  ASSERT_TRUE(mapFile.open(QIODevice::ReadWrite));
  QByteArray map = mapFile.readAll();
  map.insert(map.indexOf("  </ControlList>"),
             "    <Control>\r\n      <Type>Codec</Type>\r\n"
             "      <HostIPAddress>10.0.0.9</HostIPAddress>\r\n      <HostPort>7000</HostPort>\r\n"
             "      <InternalName>Studio.Codec1</InternalName>\r\n"
             "      <AoipSysName>CODEC#1</AoipSysName>\r\n    </Control>\r\n");
  mapFile.resize(0);
  mapFile.write(map);
  mapFile.close();
  panel = designer->openPanelLocal(path);
  ASSERT_NE(panel, nullptr);
  const QByteArray opened = save();
  EXPECT_TRUE(opened.contains(codec.toLatin1()));
  EXPECT_TRUE(opened.contains("<InternalName>Studio.Codec1</InternalName>"));

  select({"Codec1"});
  EXPECT_EQ(panel->currentControl(), control("Codec1"));
  const int frame = frameOf("Codec1");
  ASSERT_NE(frame, 0);
  // A right-drag moves it, a left-drag on the bottom-right corner resizes it.
  panel->frameMouseDown(frame, MouseButton::Right, 300, 100);
  panel->frameMouseMove(frame, MouseButton::Right, 330, 160);
  panel->frameMouseUp(frame, MouseButton::Right, 330, 160);
  EXPECT_EQ(panel->undoStack().undoText(), "Move Codec1");
  QString moved = codec;
  moved.replace("<Left>100</Left>", "<Left>130</Left>").replace("<Top>200</Top>", "<Top>260</Top>");
  const QByteArray afterMove = save();
  EXPECT_TRUE(afterMove.contains(moved.toLatin1()));

  showInGrid();
  EXPECT_EQ(grid().textMatrix(CommonRow::Type, 1), "CodecControl");
  EXPECT_EQ(grid().textMatrix(CommonRow::Name, 1), "Codec1");
  EXPECT_FALSE(grid().startEdit(CommonRow::Type, 1).allowed);
  EXPECT_FALSE(grid().startEdit(CommonRow::Name, 1).allowed);
  gridEdit(CommonRow::Width, "2000");
  EXPECT_EQ(panel->undoStack().undoText(), "Change Width");
  QString resized = moved;
  resized.replace("      <CodecAddress>10.1.1.9</CodecAddress>\r\n",
                  "      <CodecAddress>10.1.1.9</CodecAddress>\r\n      <Width>2000</Width>\r\n");
  EXPECT_TRUE(save().contains(resized.toLatin1()));

  designer->undo();
  EXPECT_EQ(save(), afterMove);
  designer->undo();
  EXPECT_EQ(save(), opened);

  // Deleted after its question, and back with undo.
  select({"Codec1"});
  ui.answers.push_back(Ui::Answer::Yes);
  panel->keyDown(KeyCode::Delete, 0);
  const QByteArray deleted = save();
  EXPECT_FALSE(deleted.contains("CodecControl"));
  designer->undo();
  EXPECT_EQ(save(), opened);
}

}  // namespace
