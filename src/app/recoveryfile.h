#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

#include "model/textfile.h"

class PanelModel;

// One panel's unsaved work as a recovery file keeps it: a short header of
// the panel's name and paths, then the panel document. Nothing else goes
// in (no login data).
struct RecoveryFile {
  QString panelName;   // the panel's name (canvas Tag), for the offer
  QString windowPath;  // where Save writes: a file or server path, empty when never saved
  QString panelPath;   // the path the panel was opened from (panelPath)
  QDateTime written;
  // The panel file as the work started from it (as the panel read or last
  // saved it); none for a server panel or one never saved.
  std::optional<FileStamp> original;
  QString document;  // the panel document
};

// The stamp of a local file as it is now; none for a server path or none.
std::optional<FileStamp> diskStamp(const QString &path);

// The panel document of a panel with its hardware bindings written in (as a
// server save writes them), so that restoring it does not depend on the
// hardware map, which holds the bindings of the last save only.
QString recoveryDocument(const PanelModel &panel);

// Writes the file through the safe writer of panel files: a kill at any
// moment leaves the previous file or the new one, whole. The header carries
// a checksum of the document.
bool writeRecoveryFile(const QString &path, const RecoveryFile &content, QString *error = nullptr);
// The bytes of such a file: an ASCII header, then the document in
// Windows-1252.
QByteArray recoveryFileBytes(const RecoveryFile &content);
// Reads a file writeRecoveryFile wrote; false for anything else or a
// document that does not match its checksum.
// It is read only when it is a regular file of at most a panel file's size
// and its header's.
bool readRecoveryFile(const QString &path, RecoveryFile *content);
// The same from the file's bytes.
bool readRecoveryBytes(const QByteArray &bytes, RecoveryFile *content);
