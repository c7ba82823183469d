#include "app/recoveryfile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QUrl>
#include <utility>

#include "model/codepage.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "panelfile/panelwriter.h"

namespace {

const QByteArray kMagic = "TessaryRecovery 1";

QByteArray checksum(const QByteArray &document) {
  return QCryptographicHash::hash(document, QCryptographicHash::Sha256).toHex();
}

// Paths may hold any character; the header holds ASCII only, one value a
// line. Separators stay readable.
QByteArray encoded(const QString &text) { return QUrl::toPercentEncoding(text, "/\\:"); }
QString decoded(const QByteArray &text) { return QUrl::fromPercentEncoding(text); }

}  // namespace

QString RecoveryDocument(const PanelModel &panel) {
  // The writer includes the bindings in server mode; it reads the mode from
  // the settings.
  bool &serverMode = Settings().boolServerMode;
  const bool was = std::exchange(serverMode, true);
  QString document = BuildPanelDocument(panel);
  serverMode = was;
  return document;
}

bool WriteRecoveryFile(const QString &path, const RecoveryFile &content, QString *error) {
  const QByteArray document = EncodeWindows1252(content.document);
  QByteArray header = kMagic + '\n';
  header += "Name " + encoded(content.panelName) + '\n';
  header += "Path " + encoded(content.windowPath) + '\n';
  header += "PanelPath " + encoded(content.panelPath) + '\n';
  header += "Written " + content.written.toUTC().toString(Qt::ISODate).toLatin1() + '\n';
  header += "Sha256 " + checksum(document) + "\n\n";
  // The header is ASCII and the document's characters are those Windows-1252
  // holds, so the safe writer stores exactly these bytes.
  return WriteTextFileSafely(path, DecodeWindows1252(header + document), error);
}

bool ReadRecoveryFile(const QString &path, RecoveryFile *content) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = f.readAll();
  const qsizetype end = bytes.indexOf("\n\n");
  if (end < 0) return false;
  const QList<QByteArray> lines = bytes.left(end).split('\n');
  if (lines.value(0) != kMagic) return false;
  const QByteArray document = bytes.mid(end + 2);
  RecoveryFile read;
  bool checked = false;
  for (const QByteArray &line : lines.mid(1)) {
    const qsizetype blank = line.indexOf(' ');
    const QByteArray key = line.left(blank);
    const QByteArray value = blank < 0 ? QByteArray() : line.mid(blank + 1);
    if (key == "Name")
      read.panelName = decoded(value);
    else if (key == "Path")
      read.windowPath = decoded(value);
    else if (key == "PanelPath")
      read.panelPath = decoded(value);
    else if (key == "Written")
      read.written = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODate);
    else if (key == "Sha256")
      checked = value == checksum(document);
  }
  if (!checked) return false;
  read.document = DecodeWindows1252(document);
  *content = std::move(read);
  return true;
}
