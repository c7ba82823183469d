#include "panelfile/localstore.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QThread>
#include <future>

#include "components/datetimestamp.h"
#include "hwmap/hardwaremap.h"
#include "model/codepage.h"
#include "model/panelmodel.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "model/uiservice.h"
#include "model/xmltree.h"
#include "panelfile/interruptedsave.h"
#include "panelfile/panelreader.h"
#include "panelfile/panelwriter.h"
#include "panelfile/readhooks.h"

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QString kMapMessage = QStringLiteral("Error adding version to hardware map");

bool fail(QString *error, const QString &why) {
  if (error) *error = why;
  return false;
}

// Writes a backup copy of a file's bytes. A backup is only a copy: it is
// replaced whole, but not synced.
bool writeBackup(const QString &fileName, const QByteArray &bytes, QString *error,
                 const QDateTime &time = DateTimeStamp::now()) {
  const QString folder = backupFolder();
  if (!QDir().mkpath(folder)) return fail(error, QStringLiteral("cannot create ") + folder);
  return writeFileSafely(folder + backupFileName(fileName, time), bytes, error, false);
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

QString backupFolder() {
  return joinPath(programSettings().startFolder, QStringLiteral("Backup/"));
}

QString backupFileName(const QString &fileName, const QDateTime &time) {
  const QString stamp = time.toString(QStringLiteral("yyyyMMddHHmmss"));
  const qsizetype dot = fileName.lastIndexOf(u'.');
  if (dot < 0) return fileName + u'_' + stamp;
  return fileName.left(dot) + u'_' + stamp + fileName.mid(dot);
}

QString newestBackupOf(const QString &fileName) {
  const qsizetype dot = fileName.lastIndexOf(u'.');
  const QString base = dot < 0 ? fileName : fileName.left(dot);
  const QString extension = dot < 0 ? QString() : fileName.mid(dot);
  // The stamps sort as their times do.
  const QRegularExpression name(QRegularExpression::anchoredPattern(
      QRegularExpression::escape(base) + QStringLiteral("_\\d{14}") +
      QRegularExpression::escape(extension)));
  QString newest;
  for (const QString &entry : QDir(backupFolder()).entryList(QDir::Files))
    if (name.match(entry).hasMatch() && entry > newest) newest = entry;
  return newest.isEmpty() ? QString() : backupFolder() + newest;
}

bool makeBackupFile(const QString &path, QString *error) {
  const QString source =
      folderOf(path).isEmpty() ? joinPath(programSettings().startFolder, path) : path;
  QByteArray bytes;
  if (!readBytes(source, &bytes, error)) return false;
  return writeBackup(fileNameOf(path), bytes, error);
}

bool backUpChangedFile(const QString &path, QString *error) {
  QByteArray bytes;
  if (!readBytes(path, &bytes, error)) return false;
  return writeBackup(fileNameOf(path), bytes, error, QFileInfo(path).lastModified());
}

namespace {

// How long a save waits for another designer's save of the map to finish.
constexpr int kMapLockWait = 3000;

QString mapError(const QString &mapFile, const QString &why) {
  return kMapMessage + QStringLiteral(" (") + mapFile + QStringLiteral(": ") + why +
         QStringLiteral(")");
}

// The hardware map as a save of this panel leaves it; false, with the reason,
// when the map cannot be updated: the save must then not happen, since local
// panels keep their bindings only in the map.
bool updatedMap(const QString &mapFile, const PanelModel &panel, const QString &version,
                QByteArray *bytes, QString *error) {
  const auto &records = panel.panelRecord.records;
  XmlDocument map;
  TextEncoding encoding = TextEncoding::Windows1252;
  QString text;
  QByteArray old;
  QString why;
  if (fileExists(mapFile) && !readBytes(mapFile, &old, &why))
    return fail(error, mapError(mapFile, why));
  const QString oldText = decodeTextFile(old, &encoding);
  if (!isXmlBlank(oldText)) {
    if (!map.read(oldText))
      return fail(error, mapError(mapFile, QStringLiteral("not readable XML")));
    insertVersionIntoDocument(map, version);
    EntryAttributes attributes;  // kept when the panel's own entries are rewritten
    removePanelFromHardwareMap(map, panel.canvas.tag, controlNamesOf(records),
                               panel.mapEntriesSinceOpened(), &attributes);
    if (!addControlsToHardwareMap(map, records, attributes))
      return fail(error, mapError(mapFile, QStringLiteral("no ControlList")));
    text = map.toText();
    // New entries take the map's own line ends: a map with LF only keeps them.
    if (!oldText.contains(QLatin1String("\r\n")) && oldText.contains(u'\n'))
      text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  } else {
    // A missing, empty or blank map is started afresh.
    map.read(newHardwareMapXML());
    addControlsToHardwareMap(map, records);
    text = map.toText() + kLineEnd;
  }
  *bytes = encodeTextFile(text, encoding);
  return true;
}

// Whether a file's read-only flag is set: such a file is never replaced.
bool isReadOnly(const QString &path) {
  const QFileInfo info(path);
  return info.exists() && !(info.permissions() & QFileDevice::WriteOwner);
}

bool refuseReadOnly(const QString &path, const QString &name, QString *error) {
  return isReadOnly(path) ? !fail(error, name + QStringLiteral(" is read-only")) : false;
}

// Holds the map's lock file for a save's read-modify-write of the map, so
// that two designers saving at once do not lose each other's entries.
bool lockMap(QLockFile &lock, const QString &mapFile, QString *error) {
  // Tried in short steps: a designer saving back to back frees the lock for
  // moments only, which QLockFile's own growing pauses would miss.
  const QDeadlineTimer deadline(kMapLockWait);
  while (!lock.tryLock(0)) {
    if (deadline.hasExpired())
      return fail(error,
                  mapError(mapFile, QStringLiteral("another save is updating it; try again")));
    QThread::msleep(2);
  }
  return true;
}

}  // namespace

bool updateHardwareMap(const PanelModel &panel, Ui &ui, QString *error) {
  Q_UNUSED(ui);
  const QString mapFile = programSettings().hardwareMapFile;
  if (mapFile.isEmpty()) return true;
  if (refuseReadOnly(mapFile, fileNameOf(mapFile), error)) return false;
  QLockFile lock(mapLockPath(mapFile));
  QByteArray bytes;
  if (!lockMap(lock, mapFile, error) ||
      !updatedMap(mapFile, panel, DateTimeStamp::formattedNow(), &bytes, error))
    return false;
  QString why;
  if (!writeFileSafely(mapFile, bytes, &why)) return fail(error, mapError(mapFile, why));
  writeBackup(fileNameOf(mapFile), bytes, nullptr);
  return true;
}

namespace {

// savePanelLocal; `mapLocked` when the caller holds the map's lock already
// and completed an unfinished save under it.
bool savePanel(PanelModel &panel, const QString &path, Ui &ui, QString *error, bool mapLocked) {
  if (path.isEmpty()) return fail(error, QStringLiteral("no file name"));
  // A server path is never a disk path: its name came from the server.
  if (path.startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive))
    return fail(error, QStringLiteral("a server panel is not a local file; use Save Panel As"));
  const QString mapFile = programSettings().hardwareMapFile;
  if (refuseReadOnly(path, panel.canvas.tag, error) ||
      (!mapFile.isEmpty() && refuseReadOnly(mapFile, fileNameOf(mapFile), error)))
    return false;
  // The panel document is written on a helper thread while this one updates
  // the map: both only read the panel. Both carry the same Version. Where no
  // thread can be started, the document is written here when it is needed.
  const bool serverMode = programSettings().serverMode;
  const QString version = DateTimeStamp::formattedNow();
  auto document = std::async(
      std::launch::async | std::launch::deferred,
      [&panel, serverMode, &version] { return buildPanelFile(panel, serverMode, version); });
  QLockFile lock(mapLockPath(mapFile));
  QByteArray map;
  JournalReplay unfinished;
  if (!mapFile.isEmpty()) {
    const bool locked = mapLocked || lockMap(lock, mapFile, error);
    // A save another designer could not finish is completed first, so that
    // the map read below is the one its panel file was saved with.
    if (locked && !mapLocked) unfinished = replaySaveJournal(mapFile);
    if (!locked || !updatedMap(mapFile, panel, version, &map, error)) {
      document.wait();
      lock.unlock();
      reportUnfinishedSave(ui, unfinished);
      return false;
    }
  }
  // The panel file and the map go to disk together: neither replaces its old
  // file unless the data of both was written, and the map only once the
  // panel file was replaced; a journal lets the next start or open complete
  // the pair when the designer dies between the two.
  std::vector<FileWrite> files{FileWrite{path, document.get(), false, QString(), false}};
  if (!mapFile.isEmpty()) files.push_back(FileWrite{mapFile, map, false, QString(), false});
  const FileJournal journal{saveJournalPath(mapFile), version};
  writeFilesSafely(files, true, mapFile.isEmpty() ? nullptr : &journal);
  lock.unlock();
  reportUnfinishedSave(ui, unfinished);
  if (!files[0].written) {
    // The panel file's own reason, or the map's when only the map failed.
    const bool becauseOfMap = files[0].cancelled && files.size() > 1;
    return fail(error, becauseOfMap ? mapError(mapFile, files[1].error) : files[0].error);
  }
  panel.rememberFile(path, stampOfBytes(path, files[0].bytes));
  writeBackup(fileNameOf(path), files[0].bytes,
              nullptr);  // a missing backup does not undo the save
  if (files.size() > 1 && !files[1].written) return fail(error, mapError(mapFile, files[1].error));
  panel.rememberMapEntries();
  if (files.size() > 1) writeBackup(fileNameOf(mapFile), files[1].bytes, nullptr);
  return true;
}

}  // namespace

bool savePanelLocal(PanelModel &panel, const QString &path, Ui &ui, QString *error) {
  return savePanel(panel, path, ui, error, false);
}

FileChange changePanelFile(const QString &path, const PanelFileChanger &change, Ui &ui,
                           QString *error) {
  const QString mapFile = programSettings().hardwareMapFile;
  QLockFile lock(mapLockPath(mapFile));
  JournalReplay unfinished;
  if (!mapFile.isEmpty()) {
    if (!lockMap(lock, mapFile, error)) return FileChange::NotSaved;
    unfinished = replaySaveJournal(mapFile);
  }
  const HardwareMap map = mapFile.isEmpty() ? HardwareMap() : HardwareMap::fromFile(mapFile);
  PanelModel panel;
  XmlError unreadable;
  FileChange result = FileChange::Unchanged;
  if (!readClosedPanelFile(path, panel, map, &unreadable)) {
    fail(error, unreadable.text());
    result = FileChange::NotRead;
  } else if (change(panel, map)) {
    result = savePanel(panel, path, ui, error, true) ? FileChange::Saved : FileChange::NotSaved;
  }
  lock.unlock();
  reportUnfinishedSave(ui, unfinished);
  return result;
}

QString loadPanelText(const QString &path, FileStamp *stamp) {
  return readTextFile(path, nullptr, stamp);
}

QString panelNameFromPath(const QString &path) {
  const qsizetype slash = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
  const qsizetype dot = path.lastIndexOf(u'.');
  if (slash < 0 || dot < 0 || dot < slash) return path;
  return path.mid(slash + 1, dot - slash - 1);
}

bool isHardwareMapFileName(const QString &fileName) {
  return fileName.size() >= 12 &&
         fileName.left(11).compare(QLatin1String("hardwaremap"), Qt::CaseInsensitive) == 0;
}

bool readPanelText(const QString &text, const QString &path, PanelModel &panel, ReadHooks &hooks,
                   const HardwareMap &map, XmlError *error) {
  return readPanelText(text, path, panelNameFromPath(path), panel, hooks, map, error);
}

bool readPanelText(const QString &text, const QString &path, const QString &panelName,
                   PanelModel &panel, ReadHooks &hooks, const HardwareMap &map, XmlError *error,
                   ColourTexts colours) {
  panel.canvas.tag = panelName;
  panel.panelRecord.panelPath = path;
  panel.documentPath = path;
  if (!analyzeXML(text, panel, hooks, map, error, colours)) return false;
  panel.rememberMapEntries();
  return true;
}

bool readClosedPanelFile(const QString &path, PanelModel &panel, const HardwareMap &map,
                         XmlError *error) {
  ReadHooks noWindow;
  return readPanelText(loadPanelText(path), path, panel, noWindow, map, error);
}
