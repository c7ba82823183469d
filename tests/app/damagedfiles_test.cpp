// Files that are not what a panel file should be: a file that does not parse
// is never opened as an empty panel (which Save would write over it). The
// user reads why, no window opens and the file stays as it was.
#include <sys/stat.h>

#include <QFile>

#include "app/recoveryfile.h"
#include "designerfixture.h"
#include "model/textfile.h"
#include "panelfile/localstore.h"
#include "surface/paneleditor.h"

namespace {

QByteArray readBytes(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

const QByteArray kPanel =
    "<Panel>\r\n  <Name>Studio</Name>\r\n  <Caption>Studio One</Caption>\r\n  <ControlList>\r\n"
    "    <Control>\r\n      <Type>Button</Type>\r\n      <Name>Talk</Name>\r\n"
    "      <Caption>Talk \xE9</Caption>\r\n      <Left>1200</Left>\r\n    </Control>\r\n"
    "  </ControlList>\r\n</Panel>\r\n";

QByteArray crowded() {
  QByteArray tag = "<Panel><Name";
  for (int k = 0; k < 257; ++k) tag += " a" + QByteArray::number(k) + "='1'";
  return tag + ">Studio</Name></Panel>";
}

}  // namespace

using DamagedFiles = DesignerFixture;

TEST_F(DamagedFiles, AreRefusedWithTheReasonAndNoWindow) {
  const struct {
    const char *what;
    QByteArray bytes;
  } cases[] = {
      {"cut in a start tag", kPanel.left(30)},
      {"cut in a control", kPanel.left(kPanel.indexOf("<Left>") + 8)},
      {"cut before the last end tag", kPanel.left(kPanel.size() - 10)},
      {"one character short", kPanel.left(kPanel.lastIndexOf('>'))},
      {"binary", QByteArray("\x00\x01\xFF\xFE<\x89PNG\r\n\x1A\n", 12) + QByteArray(300, '\x90')},
      {"a document type", "<!DOCTYPE Panel [<!ENTITY a \"x\">]>\r\n" + kPanel},
      {"two roots", kPanel + kPanel},
      {"UTF-16", QByteArray("\xFF\xFE<\0P\0", 6)},
      {"an element with 257 attributes", crowded()},
      {"white space only", "\r\n  \r\n"},
  };
  int added = 0;
  QObject::connect(designer.get(), &MainWindowLogic::panelAdded, [&added] { ++added; });
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const QString path = panelsFolder() + QStringLiteral("Studio.xml");
    writeBytes(path, c.bytes);
    ui.messages.clear();
    EXPECT_EQ(designer->openPanelLocal(path), nullptr);
    ASSERT_EQ(ui.messages.size(), 1u);
    const QString message = ui.messages[0].text;
    EXPECT_TRUE(message.startsWith(
        QLatin1String("Error reading file or no xml data present in file.\r\nLine ")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QLatin1String(", column "))) << message.toStdString();
    EXPECT_TRUE(designer->openPanels().empty());
    EXPECT_EQ(readBytes(path), c.bytes);
  }
  EXPECT_EQ(added, 0);
  EXPECT_FALSE(fileExists(programSettings().hardwareMapFile));
}

TEST_F(DamagedFiles, AFileWithAUtf8ByteOrderMarkIsReadAsUtf8AndSavedAsAlways) {
  // An editor saved the panel in UTF-8 with a byte order mark.
  QByteArray utf8 = QString::fromLatin1(kPanel).toUtf8();
  const QString path = panelsFolder() + QStringLiteral("Studio.xml");
  writeBytes(path, "\xEF\xBB\xBF" + utf8);
  PanelEditor *panel = designer->openPanelLocal(path);
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(ui.messages.empty());
  ASSERT_EQ(panel->model().panelRecord.records.size(), 1u);
  const auto *button = controlCast<DesignButton>(panel->model().panelRecord.records[0]->control);
  EXPECT_EQ(button->caption, QString::fromUtf8("Talk \u00e9"));

  QString error;
  ASSERT_TRUE(savePanelLocal(panel->model(), path, ui, &error)) << error.toStdString();
  const QByteArray saved = readBytes(path);
  EXPECT_TRUE(saved.startsWith("<Panel>"));
  EXPECT_TRUE(saved.contains("<Caption>Talk \xE9</Caption>"));
}

TEST_F(DamagedFiles, APanelTheServerDeliversCutShortOpensNoWindow) {
  designer->openDeliveredPanel(QString::fromLatin1(kPanel.left(kPanel.size() / 2)),
                               QStringLiteral("Studio1.xml"), QStringLiteral("Studio1"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.startsWith(
      QLatin1String("Error reading file or no xml data present in file.\r\nLine ")));
  EXPECT_TRUE(designer->openPanels().empty());
}

// A panel file, the hardware map or a recovery copy that is no regular file
// or is too large is refused at once with the reason: a named pipe or
// /dev/zero never makes the designer wait or fill its memory.
TEST_F(DamagedFiles, FilesThatAreNoRegularFilesOrTooLargeAreRefusedAtOnce) {
  const QString pipe = path(QStringLiteral("Pipe.xml"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  const QString zero = path(QStringLiteral("Zero.xml"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
  const QString large = path(QStringLiteral("Large.xml"));
  write(QStringLiteral("Large.xml"), QString::fromLatin1(kPanel));
  ASSERT_TRUE(QFile::resize(large, kPanelFileLimit + 1));  // sparse: it costs nothing
  const struct {
    QString file;
    const char *reason;
  } cases[] = {
      {pipe, "The file is a named pipe, not a regular file."},
      {zero, "The file is a device, not a regular file."},
      {large, "The file is larger than 64 MB (65 MB)."},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.file.toStdString());
    ui.messages.clear();
    EXPECT_EQ(designer->openPanelLocal(c.file), nullptr);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains(QLatin1String(c.reason)))
        << ui.messages[0].text.toStdString();
    EXPECT_TRUE(ui.messages[0].text.contains(c.file));
    RecoveryFile recovered;
    EXPECT_FALSE(readRecoveryFile(c.file, &recovered));
  }
  EXPECT_TRUE(designer->openPanels().empty());

  // A map that is a named pipe: the panel opens without its bindings and
  // says why; its save writes nothing and says why too.
  const QString map = programSettings().hardwareMapFile;
  ASSERT_EQ(::mkfifo(QFile::encodeName(map).constData(), 0600), 0);
  write(QStringLiteral("Studio.xml"), QString::fromLatin1(kPanel));
  ui.messages.clear();
  PanelEditor *panel = designer->openPanelLocal(path(QStringLiteral("Studio.xml")));
  ASSERT_NE(panel, nullptr);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.contains(map + " is a named pipe, not a regular file"))
      << ui.messages[0].text.toStdString();
  QString error;
  EXPECT_FALSE(savePanelLocal(panel->model(), path(QStringLiteral("Studio.xml")), ui, &error));
  EXPECT_TRUE(error.contains("it is a named pipe, not a regular file")) << error.toStdString();
  EXPECT_EQ(readBytes(path(QStringLiteral("Studio.xml"))), kPanel);
}
