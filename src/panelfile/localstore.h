#pragma once

#include <QDateTime>
#include <QString>

class PanelModel;
class ReadHooks;
class HardwareMap;
class Ui;

// Saves a panel to a local file: the panel document + CR LF in Windows-1252,
// written through a temporary file so that a failed save never damages the
// previous file; then a backup copy and the hardware map update (a map that
// cannot be stamped shows "Error adding version to hardware map" and the
// update goes on). False, with the reason in `error`, when the panel file or
// the hardware map could not be written; the caller shows
// "Error Saving File - " + reason and keeps the panel marked as changed.
// The caller also updates the window's path and NeedToSave.
bool SavePanelLocal(PanelModel &panel, const QString &path, Ui &ui, QString *error);

// Brings the hardware map file of the settings up to date for one panel:
// its old entries are replaced by the bindings of its current controls.
// Nothing happens when the settings name no map file. A map file that exists
// but cannot be read is left alone (with the message above), so that the
// entries of other panels are never lost.
bool UpdateHardwareMap(const PanelModel &panel, Ui &ui, QString *error);

// The folder backups go to: "Backup/" under the start folder.
QString BackupFolder();
// "base_yyyyMMddHHmmss.ext" for "base.ext" (only the text after the last "."
// is the extension); "name_yyyyMMddHHmmss" for a name without ".".
QString BackupFileName(const QString &fileName, const QDateTime &time);
// Copies the file to the backup folder under the name for DateTimeStamp::Now(),
// creating the folder and replacing a copy of the same name. A path without
// a folder is taken from the start folder.
bool MakeBackupFile(const QString &path, QString *error = nullptr);

// The text of a panel file, or an empty text when it cannot be read.
QString LoadPanelText(const QString &path);
// The panel name of a file path: the text between the last separator and the
// last "." when the "." comes after it; otherwise the whole path.
QString PanelNameFromPath(const QString &path);
// True for file names of the hardware map ("HardwareMap...", 12 characters
// or more), which are refused as panels.
bool IsHardwareMapFileName(const QString &fileName);
// Reads a panel file's text into a fresh panel: the name from the path (a
// "Name" element in the text replaces it), strPanelPath and the window's
// path, then AnalyzeXML.
void ReadPanelText(const QString &text, const QString &path, PanelModel &panel, ReadHooks &hooks,
                   const HardwareMap *map = nullptr);
// The same with the panel's name given rather than taken from the path (a
// panel delivered by the server).
void ReadPanelText(const QString &text, const QString &path, const QString &panelName,
                   PanelModel &panel, ReadHooks &hooks, const HardwareMap *map = nullptr);
