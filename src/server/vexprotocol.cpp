#include "server/vexprotocol.h"

#include "model/numbers.h"

using namespace VexProtocol;

QString buildVexMessage(int code, QStringView payload) {
  QString message;
  message.reserve(2 + 1 + 12 + payload.size() + 2);
  message += kFrameStart;
  message += QChar(code);
  message += kHeaderZeros;
  message += payload;
  message += kFrameEnd;
  return message;
}

namespace {
bool readHeader(QStringView field, int base, int *out) {
  bool ok = false;
  *out = field.trimmed().toInt(&ok, base);
  return ok;
}
}  // namespace

std::optional<VexMessage> parseVexPiece(QStringView piece) {
  if (piece.size() < 15 || !piece.startsWith(kFrameStart)) return std::nullopt;
  VexMessage m;
  m.code = piece[2].unicode();
  if (!readHeader(piece.mid(3, 4), 10, &m.headerA) ||
      !readHeader(piece.mid(7, 4), 16, &m.headerB) || !readHeader(piece.mid(11, 4), 16, &m.headerC))
    return std::nullopt;
  m.payload = piece.mid(15);
  return m;
}

qint32 readServerNumber(QStringView text) {
  QString digits;
  digits.reserve(text.size());
  for (const QChar c : text)
    if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n') digits += c;
  return roundHalfEven(leadingNumber(digits));
}

QString storedPanelName(const QString &path) {
  const qsizetype slash = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
  return slash >= 0 && slash < path.size() - 1 ? path.mid(slash + 1) : path;
}

QString listedPanelName(const QString &path) {
  QString name = storedPanelName(path);
  if (name.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive)) name.chop(4);
  return name;
}

QString panelTagFromServerPath(const QString &path) {
  const qsizetype slash = path.lastIndexOf(u'\\');
  const qsizetype dot = path.lastIndexOf(u'.');
  if (slash < 0 || dot < 0 || dot < slash) return path;
  return path.mid(slash + 1, dot - slash - 1);
}
