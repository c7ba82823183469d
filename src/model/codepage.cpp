#include "model/codepage.h"

namespace {
// 0x80-0x9F; 0 marks a byte without a character.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

QString DecodeWindows1252(const QByteArray &bytes) {
  QString out(bytes.size(), Qt::Uninitialized);
  QChar *d = out.data();
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0)
      *d++ = QChar(kHigh[b - 0x80]);
    else
      *d++ = QChar(b);
  }
  return out;
}

QByteArray EncodeWindows1252(const QString &text) {
  QByteArray out(text.size(), Qt::Uninitialized);
  char *d = out.data();
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      *d++ = static_cast<char>(u);
      continue;
    }
    char mapped = '?';
    if (u >= 0x80 && u < 0xA0) {
      mapped = kHigh[u - 0x80] == 0 ? static_cast<char>(u) : '?';
    } else {
      for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u) {
          mapped = static_cast<char>(0x80 + i);
          break;
        }
    }
    *d++ = mapped;
  }
  return out;
}
