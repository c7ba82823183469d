#include "app/recoveryfile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QUrl>
#include <utility>

#include "app/serverpanelpath.h"
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

// A file stamp on one header line: "exists size modified hash taken", or
// nothing when there is none.
QByteArray stampText(const std::optional<FileStamp> &stamp) {
  if (!stamp) return QByteArray();
  return QByteArray::number(int(stamp->exists)) + ' ' + QByteArray::number(stamp->size) + ' ' +
         QByteArray::number(stamp->modified) + ' ' + QByteArray::number(quint64(stamp->hash)) +
         ' ' + QByteArray::number(stamp->taken);
}

std::optional<FileStamp> stampFromText(const QByteArray &text) {
  const QList<QByteArray> parts = text.split(' ');
  if (parts.size() != 5) return std::nullopt;
  FileStamp stamp;
  stamp.exists = parts[0] == "1";
  stamp.size = parts[1].toLongLong();
  stamp.modified = parts[2].toLongLong();
  stamp.hash = size_t(parts[3].toULongLong());
  stamp.taken = parts[4].toLongLong();
  return stamp;
}

}  // namespace

std::optional<FileStamp> diskStamp(const QString &path) {
  if (path.isEmpty() || isServerPanelPath(path)) return std::nullopt;
  return stampOfFile(path);
}

QString recoveryDocument(const PanelModel &panel) {
  // The bindings are written as in server mode.
  return buildPanelDocument(panel, true);
}

QByteArray recoveryFileBytes(const RecoveryFile &content) {
  const QByteArray document = encodeWindows1252(content.document);
  QByteArray header = kMagic + '\n';
  header += "Name " + encoded(content.panelName) + '\n';
  header += "Path " + encoded(content.windowPath) + '\n';
  header += "PanelPath " + encoded(content.panelPath) + '\n';
  header += "Written " + content.written.toUTC().toString(Qt::ISODate).toLatin1() + '\n';
  header += "Original " + stampText(content.original) + '\n';
  header += "Sha256 " + checksum(document) + "\n\n";
  return header + document;
}

bool writeRecoveryFile(const QString &path, const RecoveryFile &content, QString *error) {
  return writeFileSafely(path, recoveryFileBytes(content), error);
}

bool readRecoveryFile(const QString &path, RecoveryFile *content) {
  QByteArray bytes;
  // A panel document and its header.
  return readRegularFile(path, kPanelFileLimit + kSmallFileLimit, &bytes) &&
         readRecoveryBytes(bytes, content);
}

bool readRecoveryBytes(const QByteArray &bytes, RecoveryFile *content) {
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
    else if (key == "Original")
      read.original = stampFromText(value);
    else if (key == "Sha256")
      checked = value == checksum(document);
  }
  if (!checked) return false;
  read.document = decodeWindows1252(document);
  *content = std::move(read);
  return true;
}
