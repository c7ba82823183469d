#include "panelfile/localstore.h"

#include <QFileInfo>
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
#include "panelfile/maplock.h"
#include "panelfile/panelreader.h"
#include "panelfile/panelwriter.h"
#include "panelfile/readhooks.h"

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

bool fail(QString *error, const QString &why) {
  if (error) *error = why;
  return false;
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
  if (QFileInfo::exists(mapFile) && !readRegularFile(mapFile, kPanelFileLimit, &old, &why))
    return fail(error, hardwareMapError(mapFile, QStringLiteral("it ") + why));
  const QString oldText = decodeTextFile(old, &encoding);
  if (!isXmlBlank(oldText)) {
    if (!map.read(oldText))
      return fail(error, hardwareMapError(mapFile, QStringLiteral("not readable XML")));
    insertVersionIntoDocument(map, version);
    EntryAttributes attributes;  // kept when the panel's own entries are rewritten
    removePanelFromHardwareMap(map, panel.canvas.tag, controlNamesOf(records),
                               panel.mapEntriesSinceOpened(), &attributes);
    if (!addControlsToHardwareMap(map, records, attributes))
      return fail(error, hardwareMapError(mapFile, QStringLiteral("no ControlList")));
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

}  // namespace

bool updateHardwareMap(const PanelModel &panel, Ui &ui, QString *error) {
  const QString mapFile = programSettings().hardwareMapFile;
  if (mapFile.isEmpty()) return true;
  if (refuseReadOnly(mapFile, fileNameOf(mapFile), error)) return false;
  MapLock lock(ui);
  QByteArray bytes;
  if (!lock.lock(error) ||
      !updatedMap(mapFile, panel, DateTimeStamp::formattedNow(), &bytes, error))
    return false;
  QString why;
  if (!writeFileSafely(mapFile, bytes, &why)) return fail(error, hardwareMapError(mapFile, why));
  lock.unlock();
  writeBackupCopy(fileNameOf(mapFile), bytes);
  pruneBackups(fileNameOf(mapFile), programSettings().backups.mapLimit);
  return true;
}

bool savePanelLocal(PanelModel &panel, const QString &path, Ui &ui, QString *error, MapLock *held) {
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
  // Locking completes a save another designer could not finish, so that the
  // map read below is the one its panel file was saved with.
  MapLock own(ui);
  MapLock &lock = held && held->isLocked() ? *held : own;
  QByteArray map;
  if (!mapFile.isEmpty() &&
      (!lock.lock(error) || !updatedMap(mapFile, panel, version, &map, error))) {
    document.wait();
    return false;
  }
  // The panel file and the map go to disk together: neither replaces its old
  // file unless the data of both was written, and the map only once the
  // panel file was replaced; a journal lets the next start or open complete
  // the pair when the designer dies between the two.
  std::vector<FileWrite> files{FileWrite{path, document.get(), false, QString(), false}};
  if (!mapFile.isEmpty()) files.push_back(FileWrite{mapFile, map, false, QString(), false});
  const FileJournal journal{saveJournalPath(mapFile), version};
  writeFilesSafely(files, true, mapFile.isEmpty() ? nullptr : &journal);
  own.unlock();
  if (!files[0].written) {
    // The panel file's own reason, or the map's when only the map failed.
    const bool becauseOfMap = files[0].cancelled && files.size() > 1;
    return fail(error, becauseOfMap ? hardwareMapError(mapFile, files[1].error) : files[0].error);
  }
  panel.rememberFile(path, stampOfBytes(path, files[0].bytes));
  // A missing backup does not undo the save.
  writeBackupCopy(fileNameOf(path), files[0].bytes);
  pruneBackups(fileNameOf(path), programSettings().backups.panelLimit);
  if (files.size() > 1 && !files[1].written)
    return fail(error, hardwareMapError(mapFile, files[1].error));
  panel.rememberMapEntries();
  if (files.size() > 1) {
    writeBackupCopy(fileNameOf(mapFile), files[1].bytes);
    pruneBackups(fileNameOf(mapFile), programSettings().backups.mapLimit);
  }
  return true;
}

FileChange changePanelFile(const QString &path, const PanelFileChanger &change, Ui &ui,
                           QString *error) {
  // Locking completes an unfinished save first: the panel and the map are
  // read as that save left them.
  MapLock lock(ui);
  if (!lock.lock(error)) return FileChange::NotSaved;
  const HardwareMap map = lock.map();
  PanelModel panel;
  QString unreadable;
  if (!readClosedPanelFile(path, panel, map, &unreadable)) {
    fail(error, unreadable);
    return FileChange::NotRead;
  }
  if (!change(panel, map)) return FileChange::Unchanged;
  return savePanelLocal(panel, path, ui, error, &lock) ? FileChange::Saved : FileChange::NotSaved;
}

QString loadPanelText(const QString &path, FileStamp *stamp, QString *error) {
  return readTextFile(path, nullptr, stamp, error);
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
                         QString *why) {
  ReadHooks noWindow;
  XmlError error;
  QString unreadable;
  const QString text = loadPanelText(path, nullptr, &unreadable);
  if (unreadable.isEmpty() && readPanelText(text, path, panel, noWindow, map, &error)) return true;
  if (why) *why = unreadable.isEmpty() ? error.text() : QStringLiteral("it ") + unreadable + u'.';
  return false;
}
