#include "server/loginencoding.h"

#include <QRandomGenerator>

#include "model/codepage.h"

int randomLoginKey() { return static_cast<int>(QRandomGenerator::global()->bounded(10, 61)); }

qint16 rollEncode(qint16 code, qint16 key, bool add) {
  int v = add ? code + key : code - key;
  if (add)
    while (v >= 127) v -= 95;
  else
    while (v < 32) v += 95;
  return static_cast<qint16>(v);
}

qint16 rollDecode(qint16 code, qint16 key, bool add) {
  int v = add ? code - key : code + key;
  if (add)
    while (v <= 31) v += 95;
  else
    while (v >= 127) v -= 95;
  return static_cast<qint16>(v);
}

QString passEncodeV2(const QString &text, const LoginKeyGenerator &key) {
  const int k = key ? key() : -1;
  if (k < 10 || k > 60) return QStringLiteral("***Error***");
  const QByteArray bytes = encodeWindows1252(text);
  QString out;
  out.reserve(bytes.size() + 1);
  out += QChar(k + 60);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const int c = qBound(32, static_cast<int>(static_cast<unsigned char>(bytes[i])), 126);
    out += QChar(rollEncode(static_cast<qint16>(c), static_cast<qint16>(k), i % 2 == 0));
  }
  return out;
}

QString passDecodeV2(const QString &encoded) {
  if (encoded.isEmpty()) return QString();
  const qint16 k = static_cast<qint16>(encoded.front().unicode() - 60);
  QString out;
  out.reserve(encoded.size() - 1);
  for (qsizetype i = 1; i < encoded.size(); ++i)
    out += QChar(rollDecode(static_cast<qint16>(encoded[i].unicode()), k, i % 2 == 1));
  return out;
}
