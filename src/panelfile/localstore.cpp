#include "panelfile/localstore.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QSaveFile>

#include "components/datetimestamp.h"
#include "hwmap/hardwaremap.h"
#include "model/codepage.h"
#include "model/panelmodel.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "model/uiservice.h"
#include "model/xmldoc.h"
#include "panelfile/panelreader.h"
#include "panelfile/panelwriter.h"

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

bool fail(QString *error, const QString &why) {
  if (error) *error = why;
  return false;
}

// Copies bytes through a temporary file: the previous copy of that name
// stays whole until the new one is complete.
bool copyReplacing(const QString &source, const QString &target, QString *error) {
  QFile in(source);
  if (!in.open(QIODevice::ReadOnly)) return fail(error, in.errorString());
  const QByteArray bytes = in.readAll();
  if (in.error() != QFileDevice::NoError) return fail(error, in.errorString());
  QSaveFile out(target);
  if (!out.open(QIODevice::WriteOnly)) return fail(error, out.errorString());
  if (out.write(bytes) != bytes.size()) {
    out.cancelWriting();
    return fail(error, out.errorString());
  }
  if (!out.commit()) return fail(error, out.errorString());
  return true;
}

// The map file's text; false when the file exists but cannot be read.
bool readMapFile(const QString &path, QString *text) {
  text->clear();
  if (!FileExists(path)) return true;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) return false;
  *text = DecodeWindows1252(bytes);
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
  const QString folder = BackupFolder();
  if (!QDir().mkpath(folder)) return fail(error, QStringLiteral("cannot create ") + folder);
  const QString fileName = FilePart(path);
  const QString source =
      FolderPart(path).isEmpty() ? JoinPath(Settings().strStartFolder, path) : path;
  return copyReplacing(source, folder + BackupFileName(fileName, DateTimeStamp::Now()), error);
}

bool UpdateHardwareMap(const PanelModel &panel, Ui &ui, QString *error) {
  const QString mapFile = Settings().strHardwareMapFile;
  if (mapFile.isEmpty()) return true;
  QString text;
  if (!readMapFile(mapFile, &text)) {
    ui.message(QStringLiteral("Error adding version to hardware map"));
    return true;
  }
  const QString &panelName = panel.pictMain.Tag;
  const auto &records = panel.PanelDetails.CollControls;
  const QString version = DateTimeStamp::GetFormattedNow();
  XmlElement map;
  QDomDocument doc;
  if (FileExists(mapFile) && ReadPlainHardwareMap(text, map)) {
    // The same steps on the light tree, written as the document would be.
    InsertVersionIntoTree(map, version);
    RemovePanelFromHardwareMap(map, panelName);
    if (AddControlsToHardwareMap(map, records) || panelName.isEmpty())
      text = XmlElementToLaidOutText(map);
    else
      text = XmlElementToText(map);
  } else if (FileExists(mapFile) && ParseXml(text, doc)) {
    // The version, the panel's old entries out and its current ones in, on
    // one parse of the map. Laid out as the separate steps would leave it: a
    // map without a control list keeps the layout of the version step only
    // when no entries were looked for.
    InsertVersionIntoDocument(doc, version);
    RemovePanelFromHardwareMap(doc, panelName);
    if (AddControlsToHardwareMap(doc, records) || panelName.isEmpty()) IndentXML(doc);
    text = SerializeXml(doc);
  } else {
    if (FileExists(mapFile)) ui.message(QStringLiteral("Error adding version to hardware map"));
    RemovePanelFromHardwareMap(text, panelName);
    AddControlsToHardwareMap(text, records);
  }
  if (text.isEmpty()) return true;
  // A map we could not understand is written back as it was, without
  // gaining another line end on every save.
  if (!text.endsWith(kLineEnd)) text += kLineEnd;
  QString why;
  if (!WriteTextFileSafely(mapFile, text, &why))
    return fail(error, QStringLiteral("hardware map ") + mapFile + QStringLiteral(": ") + why);
  MakeBackupFile(mapFile);
  return true;
}

bool SavePanelLocal(PanelModel &panel, const QString &path, Ui &ui, QString *error) {
  if (path.isEmpty()) return fail(error, QStringLiteral("no file name"));
  QString text = BuildPanelDocument(panel);
  text += kLineEnd;  // in the room the document keeps, without copying it
  if (!WriteTextFileSafely(path, text, error)) return false;
  MakeBackupFile(path);  // a missing backup does not undo the save
  return UpdateHardwareMap(panel, ui, error);
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

void ReadPanelText(const QString &text, const QString &path, PanelModel &panel, ReadHooks &hooks,
                   const HardwareMap *map) {
  ReadPanelText(text, path, PanelNameFromPath(path), panel, hooks, map);
}

void ReadPanelText(const QString &text, const QString &path, const QString &panelName,
                   PanelModel &panel, ReadHooks &hooks, const HardwareMap *map) {
  panel.pictMain.Tag = panelName;
  panel.PanelDetails.strPanelPath = path;
  panel.WindowTag = path;
  AnalyzeXML(text, panel, hooks, map);
}
