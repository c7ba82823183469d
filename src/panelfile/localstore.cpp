#include "panelfile/localstore.h"

#include <QDir>
#include <QFile>
#include <future>

#include "components/datetimestamp.h"
#include "hwmap/hardwaremap.h"
#include "model/codepage.h"
#include "model/panelmodel.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "model/uiservice.h"
#include "model/xmltree.h"
#include "panelfile/panelreader.h"
#include "panelfile/panelwriter.h"

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QString kMapMessage = QStringLiteral("Error adding version to hardware map");

bool fail(QString *error, const QString &why) {
  if (error) *error = why;
  return false;
}

// Writes a backup copy of a file's bytes. A backup is only a copy: it is
// replaced whole, but not synced.
bool writeBackup(const QString &fileName, const QByteArray &bytes, QString *error) {
  const QString folder = BackupFolder();
  if (!QDir().mkpath(folder)) return fail(error, QStringLiteral("cannot create ") + folder);
  return WriteFileSafely(folder + BackupFileName(fileName, DateTimeStamp::Now()), bytes, error,
                         false);
}

// The bytes of a file; false when it cannot be read.
bool readBytes(const QString &path, QByteArray *bytes, QString *error = nullptr) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return fail(error, f.errorString());
  *bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) return fail(error, f.errorString());
  return true;
}

}  // namespace

QString BackupFolder() { return JoinPath(Settings().strStartFolder, QStringLiteral("Backup/")); }

QString BackupFileName(const QString &fileName, const QDateTime &time) {
  const QString stamp = time.toString(QStringLiteral("yyyyMMddHHmmss"));
  const qsizetype dot = fileName.lastIndexOf(u'.');
  if (dot < 0) return fileName + u'_' + stamp;
  return fileName.left(dot) + u'_' + stamp + fileName.mid(dot);
}

bool MakeBackupFile(const QString &path, QString *error) {
  const QString source =
      FolderPart(path).isEmpty() ? JoinPath(Settings().strStartFolder, path) : path;
  QByteArray bytes;
  if (!readBytes(source, &bytes, error)) return false;
  return writeBackup(FilePart(path), bytes, error);
}

namespace {

// The hardware map as a save of this panel leaves it: false (after the
// message) when the map is to stay as it is.
bool updatedMap(const QString &mapFile, const PanelModel &panel, const QString &version, Ui &ui,
                QByteArray *bytes) {
  const auto &records = panel.PanelDetails.CollControls;
  XmlDocument map;
  TextEncoding encoding = TextEncoding::Windows1252;
  QString text;
  if (FileExists(mapFile)) {
    // A map that cannot be read or understood is left exactly as it is.
    QByteArray old;
    if (!readBytes(mapFile, &old) || !map.read(DecodeTextFile(old, &encoding))) {
      ui.message(kMapMessage);
      return false;
    }
    InsertVersionIntoDocument(map, version);
    RemovePanelFromHardwareMap(map, panel.pictMain.Tag, ControlNamesOf(records));
    AddControlsToHardwareMap(map, records);
    text = map.toText();
  } else {
    map.read(NewHardwareMapXML());
    AddControlsToHardwareMap(map, records);
    text = map.toText() + kLineEnd;
  }
  *bytes = EncodeTextFile(text, encoding);
  return true;
}

QString mapError(const QString &mapFile, const QString &why) {
  return QStringLiteral("hardware map ") + mapFile + QStringLiteral(": ") + why;
}

}  // namespace

bool UpdateHardwareMap(const PanelModel &panel, Ui &ui, QString *error) {
  const QString mapFile = Settings().strHardwareMapFile;
  QByteArray bytes;
  if (mapFile.isEmpty() ||
      !updatedMap(mapFile, panel, DateTimeStamp::GetFormattedNow(), ui, &bytes))
    return true;
  QString why;
  if (!WriteFileSafely(mapFile, bytes, &why)) return fail(error, mapError(mapFile, why));
  writeBackup(FilePart(mapFile), bytes, nullptr);
  return true;
}

bool SavePanelLocal(PanelModel &panel, const QString &path, Ui &ui, QString *error) {
  if (path.isEmpty()) return fail(error, QStringLiteral("no file name"));
  // A server path is never a disk path: its name came from the server.
  if (path.startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive))
    return fail(error, QStringLiteral("a server panel is not a local file; use Save Panel As"));
  // The panel document is written on a helper thread while this one updates
  // the map: both only read the panel, and the map may need to ask the user.
  // Both carry the same Version. Where no thread can be started, the document
  // is written here when it is needed.
  const bool serverMode = Settings().boolServerMode;
  const QString version = DateTimeStamp::GetFormattedNow();
  auto document = std::async(
      std::launch::async | std::launch::deferred,
      [&panel, serverMode, &version] { return BuildPanelFile(panel, serverMode, version); });
  const QString mapFile = Settings().strHardwareMapFile;
  QByteArray map;
  const bool mapUpdated = !mapFile.isEmpty() && updatedMap(mapFile, panel, version, ui, &map);
  // The panel file and the map go to disk together; the map is replaced only
  // once the panel file was.
  std::vector<FileWrite> files{FileWrite{path, document.get(), false, QString()}};
  if (mapUpdated) files.push_back(FileWrite{mapFile, map, false, QString()});
  WriteFilesSafely(files);
  if (!files[0].written) return fail(error, files[0].error);
  writeBackup(FilePart(path), files[0].bytes, nullptr);  // a missing backup does not undo the save
  if (files.size() < 2) return true;
  if (!files[1].written) return fail(error, mapError(mapFile, files[1].error));
  writeBackup(FilePart(mapFile), files[1].bytes, nullptr);
  return true;
}

QString LoadPanelText(const QString &path) { return ReadTextFile(path); }

QString PanelNameFromPath(const QString &path) {
  const qsizetype slash = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
  const qsizetype dot = path.lastIndexOf(u'.');
  if (slash < 0 || dot < 0 || dot < slash) return path;
  return path.mid(slash + 1, dot - slash - 1);
}

bool IsHardwareMapFileName(const QString &fileName) {
  return fileName.size() >= 12 &&
         fileName.left(11).compare(QLatin1String("hardwaremap"), Qt::CaseInsensitive) == 0;
}

bool ReadPanelText(const QString &text, const QString &path, PanelModel &panel, ReadHooks &hooks,
                   const HardwareMap &map, XmlError *error) {
  return ReadPanelText(text, path, PanelNameFromPath(path), panel, hooks, map, error);
}

bool ReadPanelText(const QString &text, const QString &path, const QString &panelName,
                   PanelModel &panel, ReadHooks &hooks, const HardwareMap &map, XmlError *error) {
  panel.pictMain.Tag = panelName;
  panel.PanelDetails.strPanelPath = path;
  panel.WindowTag = path;
  return AnalyzeXML(text, panel, hooks, map, error);
}
