#include "model/codepage.h"

namespace {
// 0x80-0x9F; 0 marks a byte without a character.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Whether any byte lies in 0x80-0x9F: a loop the compiler can vectorise,
// since most files hold none.
bool hasHighControls(const char *bytes, qsizetype size) {
  unsigned char any = 0;
  for (qsizetype i = 0; i < size; ++i)
    any |= static_cast<unsigned char>(static_cast<unsigned char>(bytes[i]) - 0x80) < 0x20;
  return any != 0;
}

// Whether any character needs more than Latin-1's plain mapping.
bool hasNonLatin1(const char16_t *text, qsizetype size) {
  unsigned char any = 0;
  for (qsizetype i = 0; i < size; ++i)
    any |= static_cast<unsigned char>(text[i] >= 0x80 && (text[i] < 0xA0 || text[i] > 0xFF));
  return any != 0;
}
}  // namespace

QString DecodeWindows1252(QByteArrayView bytes) {
  QString out = QString::fromLatin1(bytes);
  if (!hasHighControls(bytes.data(), bytes.size())) return out;
  QChar *d = out.data();
  for (qsizetype i = 0; i < out.size(); ++i) {
    const char16_t u = d[i].unicode();
    if (u >= 0x80 && u < 0xA0 && kHigh[u - 0x80] != 0) d[i] = QChar(kHigh[u - 0x80]);
  }
  return out;
}

QByteArray EncodeWindows1252(const QString &text) {
  QByteArray out = text.toLatin1();
  const auto *s = reinterpret_cast<const char16_t *>(text.constData());
  if (!hasNonLatin1(s, text.size())) return out;
  char *d = out.data();
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t u = s[i];
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) continue;
    char mapped = '?';
    if (u < 0xA0) {
      // A C1 control stands for a byte without a character of its own.
      mapped = kHigh[u - 0x80] == 0 ? static_cast<char>(u) : '?';
    } else {
      for (int k = 0; k < 32; ++k)
        if (kHigh[k] == u) {
          mapped = static_cast<char>(0x80 + k);
          break;
        }
    }
    d[i] = mapped;
  }
  return out;
}
