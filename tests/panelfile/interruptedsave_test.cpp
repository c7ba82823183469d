// A save of a panel and its hardware map cut short between the two
// replacements, completed at the next open; and the writer's temporary files
// a dead save leaves behind.
#include "panelfile/interruptedsave.h"

#include <QDir>
#include <QFile>
#include <csignal>

#include "model/textfile.h"
#include "panelfile/localstore.h"
#include "support/fakeui.h"
#include "testpanel.h"

namespace {

// Binds a control to the hardware under its internal name.
void bind(ControlRecord &r, const QString &internalName) {
  r.hwMapType = QStringLiteral("Button");
  r.hwMapHostIP = QStringLiteral("10.0.0.9");
  r.hwMapHostPort = QStringLiteral("5000");
  r.hwMapAoipSysName = QStringLiteral("MOD_USER#1.BUT#1");
  r.setHWMapInternalName(internalName);
}

struct InterruptedSave : PanelFileTest {
  QString panelPath() const { return panelsFolder() + QStringLiteral("Studio.xml"); }
  QString mapPath() const { return programSettings().hardwareMapFile; }

  // Saves the panel in a child process that is killed between the
  // replacement of the panel file and of the map, at a minute past the fixed
  // time; the panel has gained a bound fader.
  void saveKilledBetweenTheReplacements(PanelModel &p) {
    auto [button, f] = addControl<DesignButton>(p, QStringLiteral("Fader1"), 0, 1200);
    bind(*f, QStringLiteral("Studio.Fader1"));
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
          DateTimeStamp::setClock([] { return fixedTime().addSecs(60); });
          setBetweenReplacementsHookForTests([] { std::raise(SIGKILL); });
          FakeUi childUi;
          savePanelLocal(p, panelPath(), childUi, nullptr);
          std::_Exit(0);
        },
        ::testing::KilledBySignal(SIGKILL), "");
  }

  // The map's temporary file a killed save left, or an empty text.
  QString mapTemporary() const {
    QStringList names = hiddenFiles(panelsFolder()).filter(QStringLiteral(".HardwareMap.xml"));
    names.removeAll(fileNameOf(saveJournalPath(mapPath())));
    return names.size() == 1 ? panelsFolder() + names[0] : QString();
  }

  QStringList hiddenFiles(const QString &folder) const {
    return QDir(folder).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
  }
};

}  // namespace

// Killed between the two replacements, the save leaves a new panel file, the
// old map and the map's synced temporary file; the next open completes it.
TEST_F(InterruptedSave, ASaveKilledBetweenPanelAndMapIsCompletedAtTheNextOpen) {
  PanelModel p;
  fillGoldenPanel(p);
  FakeUi ui;
  ASSERT_TRUE(savePanelLocal(p, panelPath(), ui, nullptr));
  const QByteArray oldMap = readBytes(mapPath());
  saveKilledBetweenTheReplacements(p);

  // Half done: the panel file is new, the map is not.
  EXPECT_TRUE(readBytes(panelPath()).contains("<Version>2024-03-03T09:06:07</Version>"));
  EXPECT_EQ(readBytes(mapPath()), oldMap);
  EXPECT_TRUE(fileExists(saveJournalPath(mapPath())));

  completeInterruptedSave(ui, {panelsFolder()});
  const QByteArray map = readBytes(mapPath());
  EXPECT_TRUE(map.contains("<Version>2024-03-03T09:06:07</Version>"));
  EXPECT_TRUE(map.contains("Studio.Fader1"));
  EXPECT_TRUE(map.contains("Studio.Button1"));
  EXPECT_TRUE(ui.messages.empty()) << ui.messageTexts().join('|').toStdString();
  // Nothing is left of the save: no journal, no temporary file.
  EXPECT_TRUE(hiddenFiles(panelsFolder()).isEmpty())
      << hiddenFiles(panelsFolder()).join(' ').toStdString();

  // What it left is what the save would have written.
  ASSERT_TRUE(savePanelLocal(p, panelPath(), ui, nullptr));
  DateTimeStamp::setClock([] { return fixedTime().addSecs(60); });
  ASSERT_TRUE(savePanelLocal(p, panelPath(), ui, nullptr));
  EXPECT_EQ(readBytes(mapPath()), map);
}

// The next save completes it too, before it reads the map: the fader's
// binding is not lost to a map read before the completion.
TEST_F(InterruptedSave, TheNextSaveCompletesAnInterruptedOneFirst) {
  PanelModel p;
  fillGoldenPanel(p);
  FakeUi ui;
  ASSERT_TRUE(savePanelLocal(p, panelPath(), ui, nullptr));
  saveKilledBetweenTheReplacements(p);

  PanelModel other;
  auto [button, b] = addControl<DesignButton>(other, QStringLiteral("Button1"), 0, 0);
  other.canvas.tag = QStringLiteral("Other");
  bind(*b, QStringLiteral("Other.Button1"));
  ASSERT_TRUE(savePanelLocal(other, panelsFolder() + QStringLiteral("Other.xml"), ui, nullptr));
  const QByteArray map = readBytes(mapPath());
  EXPECT_TRUE(map.contains("Studio.Fader1"));
  EXPECT_TRUE(map.contains("Other.Button1"));
  EXPECT_FALSE(fileExists(saveJournalPath(mapPath())));
  EXPECT_TRUE(ui.messages.empty());
}

// When the map's temporary file is not whole, or is gone (removed by hand),
// the save cannot be completed and is not taken as done: the user is told
// which file is behind and offered the panel's backup, which was saved with
// the map as it is.
TEST_F(InterruptedSave, AnIncompleteOrMissingTemporaryIsNotUsedAndTheBackupIsOffered) {
  for (const bool removed : {false, true}) {
    SCOPED_TRACE(removed ? "removed" : "cut in half");
    PanelModel p;
    fillGoldenPanel(p);
    FakeUi ui;
    ASSERT_TRUE(savePanelLocal(p, panelPath(), ui, nullptr));
    const QByteArray saved = readBytes(panelPath());
    const QByteArray oldMap = readBytes(mapPath());
    saveKilledBetweenTheReplacements(p);
    const QString temporary = mapTemporary();
    ASSERT_FALSE(temporary.isEmpty());
    if (removed)
      QFile::remove(temporary);
    else
      QFile::resize(temporary, QFileInfo(temporary).size() / 2);

    ui.answers.push_back(Ui::Answer::Yes);
    completeInterruptedSave(ui, {panelsFolder()});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith(
        "The save of 2024-03-03T09:06:07 did not finish: HardwareMap.xml is behind Studio.xml."))
        << ui.messages[0].text.toStdString();
    EXPECT_TRUE(ui.messages[0].text.contains("Studio_20240303090507.xml"));
    EXPECT_EQ(readBytes(mapPath()), oldMap);
    EXPECT_EQ(readBytes(panelPath()), saved);  // restored from the backup
    EXPECT_FALSE(fileExists(saveJournalPath(mapPath())));
    QFile::remove(temporary);
  }
}

// An entry the hardware side added to the map after the kill is never
// undone by completing the save: the map is no longer what the save left,
// so the save is reported instead, and the next save keeps the entry.
TEST_F(InterruptedSave, ACompletionNeverUndoesAChangeMadeToTheMapSinceTheKill) {
  PanelModel p;
  fillGoldenPanel(p);
  FakeUi ui;
  ASSERT_TRUE(savePanelLocal(p, panelPath(), ui, nullptr));
  saveKilledBetweenTheReplacements(p);
  QByteArray map = readBytes(mapPath());
  const QByteArray added =
      "<Control><Type>Button</Type><HostIPAddress>10.0.0.1</HostIPAddress><HostPort>5000"
      "</HostPort><InternalName>Desk.Key1</InternalName><AoipSysName>MOD_USER#1.BUT#1"
      "</AoipSysName></Control>\r\n";
  map.insert(map.indexOf("</ControlList>"), added);
  writeBytes(mapPath(), map);

  completeInterruptedSave(ui, {panelsFolder()});
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.contains("HardwareMap.xml is behind Studio.xml"))
      << ui.messages[0].text.toStdString();
  EXPECT_EQ(readBytes(mapPath()), map);
  EXPECT_FALSE(fileExists(saveJournalPath(mapPath())));
  ASSERT_TRUE(savePanelLocal(p, panelPath(), ui, nullptr));
  EXPECT_TRUE(readBytes(mapPath()).contains("Desk.Key1"));
  EXPECT_TRUE(readBytes(mapPath()).contains("Studio.Fader1"));
}

// A designer whose map lies in another folder, opening a panel of this
// folder long after the kill, completes this folder's save rather than
// removing its temporary files as stale (which left the save looking done).
TEST_F(InterruptedSave, ADesignerWithAnotherMapCompletesTheSaveOfThisFolder) {
  PanelModel p;
  fillGoldenPanel(p);
  FakeUi ui;
  ASSERT_TRUE(savePanelLocal(p, panelPath(), ui, nullptr));
  saveKilledBetweenTheReplacements(p);
  const QString temporary = mapTemporary();
  const QDateTime old = QDateTime::currentDateTime().addSecs(-2 * kStaleTemporarySeconds);
  for (const QString &file : {temporary, saveJournalPath(mapPath())}) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(old, QFileDevice::FileModificationTime);
  }
  // A journal's temporary files are kept even when they are old.
  EXPECT_EQ(removeStaleTemporaries(panelsFolder(), kStaleTemporarySeconds), 0);

  const QString ownMap = mapPath();
  QDir().mkpath(m_dir.path() + QStringLiteral("/Elsewhere"));
  programSettings().hardwareMapFile = m_dir.path() + QStringLiteral("/Elsewhere/HardwareMap.xml");
  completeInterruptedSave(ui, {panelsFolder()});
  EXPECT_TRUE(ui.messages.empty()) << ui.messageTexts().join('|').toStdString();
  EXPECT_TRUE(readBytes(ownMap).contains("Studio.Fader1"));
  EXPECT_TRUE(hiddenFiles(panelsFolder()).isEmpty())
      << hiddenFiles(panelsFolder()).join(' ').toStdString();
}

// Only this writer's temporary files are removed, and only once they are old
// enough not to belong to a save still being written.
TEST_F(InterruptedSave, OnlyTheWritersOwnStaleTemporariesAreRemoved) {
  struct Case {
    const char *name;
    bool old;
    bool removed;
  };
  const Case cases[] = {
      {".Studio.xml.tessary-a1B2c3", true, true},
      {".HardwareMap.xml.tessary-ZZZZZZ", true, true},
      {".Studio.xml.tessary-a1B2c3x", true, false},  // not the writer's length
      {".Studio.xml.tessary-a1B2c", true, false},
      {".Studio.xml.tessary-a1-2c3", true, false},   // not letters and digits
      {"Studio.xml.tessary-a1B2c3", true, false},    // not hidden
      {".Studio.xml.backup", true, false},           // a name of the user's
      {".Studio.xml.Ab12Cd", true, false},           // no mark of this writer
      {".Studio.xml.tessary-Q1w2E3", false, false},  // a save still writing it
  };
  for (const Case &c : cases) {
    const QString path = panelsFolder() + QString::fromLatin1(c.name);
    writeBytes(path, "<Panel/>");
    if (c.old) {
      QFile f(path);
      ASSERT_TRUE(f.open(QIODevice::ReadWrite));
      f.setFileTime(QDateTime::currentDateTime().addSecs(-2 * kStaleTemporarySeconds),
                    QFileDevice::FileModificationTime);
    }
  }
  FakeUi ui;
  completeInterruptedSave(ui, {panelsFolder()});
  for (const Case &c : cases)
    EXPECT_EQ(fileExists(panelsFolder() + QString::fromLatin1(c.name)), !c.removed) << c.name;
}

// A journal moves only a temporary file of this writer, named after its file
// and beside it, onto that file: a journal someone else wrote moves nothing
// else.
TEST_F(InterruptedSave, AJournalMovesOnlyTheWritersTemporaryOfTheSameFile) {
  const QString folder = panelsFolder();
  writeBytes(folder + "Studio.xml", "old");
  const QStringList sources = {folder + "Notes.txt", folder + ".Other.xml.tessary-a1B2c3",
                               folder + "Sub/.Studio.xml.tessary-a1B2c3"};
  QDir().mkpath(folder + "Sub");
  // Studio.xml as it is: the journal's other conditions hold.
  const QByteArray before =
      "3:" +
      QByteArray::number(QFileInfo(folder + "Studio.xml").lastModified().toMSecsSinceEpoch()) +
      ':' + QByteArray::number(contentHash("old"), 16);
  QByteArray journal = "tessary-save-journal 2\ntag\tv1\n";
  for (const QString &source : sources) {
    writeBytes(source, "new");
    journal += "file\t" + source.toUtf8() + '\t' + (folder + "Studio.xml").toUtf8() + "\t3\t" +
               QByteArray::number(contentHash("new"), 16) + '\t' + before + '\n';
  }
  journal += "end\n";
  writeBytes(saveJournalPath(mapPath()), journal);
  FakeUi ui;
  completeInterruptedSave(ui, {});
  EXPECT_EQ(readBytes(folder + "Studio.xml"), "old");
  for (const QString &source : sources) EXPECT_TRUE(fileExists(source)) << source.toStdString();
  EXPECT_FALSE(fileExists(saveJournalPath(mapPath())));
}
