#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

#include "components/datetimestamp.h"
#include "model/settings.h"

// The folder backups go to: "Backup/" under the start folder.
QString backupFolder();
// "base_yyyyMMddHHmmss.ext" for "base.ext" (only the text after the last "."
// is the extension); "name_yyyyMMddHHmmss" for a name without ".".
QString backupFileName(const QString &fileName, const QDateTime &time);

// One backup of a file: its path, the time its name gives and its size.
struct BackupCopy {
  QString path;
  QDateTime time;
  qint64 size = 0;
};
// The backups of a file name in the backup folder, in no order: its regular
// files named backupFileName(fileName, some time).
std::vector<BackupCopy> backupsOf(const QString &fileName);
// The path of the newest backup of a file name, or an empty text.
QString newestBackupOf(const QString &fileName);

// A backup copy of bytes under the name for `time`, creating the folder and
// replacing a copy of the same name. A backup is only a copy: it is replaced
// whole, but not synced; a link in its place is replaced, never written
// through.
bool writeBackupCopy(const QString &fileName, const QByteArray &bytes, QString *error = nullptr,
                     const QDateTime &time = DateTimeStamp::now());
// Copies the file to the backup folder under the name for DateTimeStamp::now().
// A path without a folder is taken from the start folder.
bool makeBackupFile(const QString &path, QString *error = nullptr);
// A backup of a file someone else changed, before a save replaces it: named
// after the time the file was last modified.
bool backUpChangedFile(const QString &path, QString *error = nullptr);

// Which backups of one file a policy keeps at `now`, one flag per backup in
// the order given (BackupPolicy says how; `sizeLimit` is the panel's or the
// map's limit, 0 for none). Once the kept ones, newest first, pass the size
// limit, the older ones go. The newest backup is always kept.
std::vector<bool> backupsToKeep(const std::vector<BackupCopy> &backups, const QDateTime &now,
                                const BackupPolicy &policy, qint64 sizeLimit);
// Removes the backups of a file name that the settings' policy does not keep
// now (DateTimeStamp::now()); the number removed. Run after a save went
// through, never otherwise.
int pruneBackups(const QString &fileName, qint64 sizeLimit);

// The policy kept in the program's settings (group "Backups"), with the
// defaults of BackupPolicy for what is not there or not valid.
BackupPolicy readBackupPolicy();
