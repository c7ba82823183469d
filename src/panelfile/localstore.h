#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>

#include "model/xmlreader.h"
#include "panelfile/backups.h"
#include "panelfile/panelreader.h"

class PanelModel;
class ReadHooks;
class HardwareMap;
class MapLock;
class Ui;
struct FileStamp;

// Saves a panel to a local file: the panel document + CR LF in Windows-1252,
// written through a temporary file and synced, so that a failed save never
// damages the previous file; then a backup copy and the hardware map update
// (a missing, empty or blank map is started afresh). Nothing is written when
// the panel file or the map is read-only ("NAME is read-only"), when the map
// cannot be read, is not XML or has no ControlList ("Error adding version to
// hardware map (...)"), or when another save holds the map's lock. False, with
// the reason in `error`, then and when a file could not be written; the
// caller shows "Error Saving File - " + reason and keeps the panel marked as
// changed. The caller also updates the window's path and needToSave.
// The panel file and the map replace their old files as one step (a save cut
// short between the two is completed by the next save, start or open:
// completeInterruptedSave). The saved file's stamp is remembered for the
// panel (PanelModel::fileChangedOnDisk). Once the save went through, the
// backups of the panel and of the map are kept by the settings' policy
// (pruneBackups).
// The map's lock is taken for the save, unless the caller holds it already
// (`held`, locked): then the panel was read under it too (see MapLock).
bool savePanelLocal(PanelModel &panel, const QString &path, Ui &ui, QString *error,
                    MapLock *held = nullptr);

// Changes a closed panel file: reads it with the bindings of the settings'
// hardware map, lets `change` change the panel (true: there is something to
// save) and saves it as savePanelLocal does, all with the map's lock held.
// The bindings written back are those of the map they go into, so a binding
// another writer saved meanwhile is kept, and no other save comes between
// the read and the write. NotRead (nothing written) and NotSaved come with
// the reason in `error`.
enum class FileChange { Saved, Unchanged, NotRead, NotSaved };
using PanelFileChanger = std::function<bool(PanelModel &panel, const HardwareMap &map)>;
FileChange changePanelFile(const QString &path, const PanelFileChanger &change, Ui &ui,
                           QString *error);

// Brings the hardware map file of the settings up to date for one panel:
// its old entries are replaced by the bindings of its current controls and
// the Version is stamped; everything else in the file stays byte for byte,
// in the encoding it was read in. A missing map is created (without a
// Version). Nothing happens when the settings name no map file.
bool updateHardwareMap(const PanelModel &panel, Ui &ui, QString *error);

// The text of a panel file (Windows-1252, or UTF-8 after a byte order mark),
// or an empty text when it cannot be read (`error` says why: not a regular
// file, larger than kPanelFileLimit...); with `stamp`, the file as it was read
// (PanelModel::rememberFile).
QString loadPanelText(const QString &path, FileStamp *stamp = nullptr, QString *error = nullptr);
// The panel name of a file path: the text between the last separator and the
// last "." when the "." comes after it; otherwise the whole path.
QString panelNameFromPath(const QString &path);
// True for file names of the hardware map ("HardwareMap...", 12 characters
// or more), which are refused as panels.
bool isHardwareMapFileName(const QString &fileName);
// Reads a panel file's text into a fresh panel: the name from the path (a
// "Name" element in the text replaces it), panelPath and the window's
// path, then analyzeXML. False (with the reason) when the text does not
// parse: the panel must then be discarded, never shown.
bool readPanelText(const QString &text, const QString &path, PanelModel &panel, ReadHooks &hooks,
                   const HardwareMap &map, XmlError *error = nullptr);
// The same with the panel's name given rather than taken from the path (a
// panel delivered by the server).
bool readPanelText(const QString &text, const QString &path, const QString &panelName,
                   PanelModel &panel, ReadHooks &hooks, const HardwareMap &map,
                   XmlError *error = nullptr, ColourTexts colours = ColourTexts::Canonical);
// Reads a panel file that no window shows (to search, check or change it)
// with the bindings of `map`; false, with the reason, when it cannot be read
// (loadPanelText: "it is a named pipe, not a regular file") or does not parse
// (XmlError::text()).
bool readClosedPanelFile(const QString &path, PanelModel &panel, const HardwareMap &map,
                         QString *why);
