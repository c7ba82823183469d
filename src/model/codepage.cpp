#include "model/codepage.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

}  // namespace

QString decodeWindows1252(QByteArrayView bytes) {
  QString out = QString::fromLatin1(bytes);
  if (!hasHighControls(bytes.data(), bytes.size())) return out;
  QChar *d = out.data();
  for (qsizetype i = 0; i < out.size(); ++i) {
    const char16_t u = d[i].unicode();
    if (u >= 0x80 && u < 0xA0 && kHigh[u - 0x80] != 0) d[i] = QChar(kHigh[u - 0x80]);
  }
  return out;
}

char encodeWindows1252Char(char16_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
  // A C1 control stands for a byte without a character of its own.
  if (u < 0xA0) return kHigh[u - 0x80] == 0 ? static_cast<char>(u) : '?';
  for (int k = 0; k < 32; ++k)
    if (kHigh[k] == u) return static_cast<char>(0x80 + k);
  return '?';
}

QByteArray encodeWindows1252(const QString &text) {
  const auto *s = reinterpret_cast<const char16_t *>(text.constData());
  const qsizetype n = text.size();
  QByteArray out(n, Qt::Uninitialized);
  auto *d = reinterpret_cast<unsigned char *>(out.data());
  // Latin-1 characters are their own bytes; the rest (0x80-0x9F and beyond
  // 0xFF, rare) are noted and mapped afterwards.
  bool special = false;
  qsizetype i = 0;
#ifdef __SSE2__
  const __m128i controls = _mm_set1_epi16(0x80), beyond = _mm_set1_epi16(0xFF),
                span = _mm_set1_epi16(0x1F);
  __m128i seen = _mm_setzero_si128();
  for (; i + 8 <= n; i += 8) {
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
    // c > 0xFF, or c - 0x80 <= 0x1F (unsigned)
    const __m128i high = _mm_subs_epu16(c, beyond);
    const __m128i control =
        _mm_cmpeq_epi16(_mm_subs_epu16(_mm_sub_epi16(c, controls), span), _mm_setzero_si128());
    seen = _mm_or_si128(seen, _mm_or_si128(high, control));
    _mm_storel_epi64(reinterpret_cast<__m128i *>(d + i), _mm_packus_epi16(c, c));
  }
  // A lane of `seen` is non-zero wherever a character needs mapping; its
  // high bits need not be set (0x2013 - 0xFF is 0x1F14), so test each byte.
  special = _mm_movemask_epi8(_mm_cmpeq_epi8(seen, _mm_setzero_si128())) != 0xFFFF;
#endif
  for (; i < n; ++i) {
    d[i] = static_cast<unsigned char>(s[i]);
    special |= s[i] >= 0x80 && (s[i] < 0xA0 || s[i] > 0xFF);
  }
  if (!special) return out;
  for (i = 0; i < n; ++i)
    if (s[i] >= 0x80) d[i] = static_cast<unsigned char>(encodeWindows1252Char(s[i]));
  return out;
}

QString charactersOutsideWindows1252(const QString &text) {
  QString outside;
  for (qsizetype k = 0; k < text.size(); ++k) {
    const char16_t c = text[k].unicode();
    if (c == u'?' || encodeWindows1252Char(c) != '?') continue;
    // A character beyond the basic plane is its two halves together.
    const qsizetype length =
        QChar::isHighSurrogate(c) && k + 1 < text.size() && text[k + 1].isLowSurrogate() ? 2 : 1;
    const QStringView character = QStringView(text).mid(k, length);
    if (!outside.contains(character)) outside += character;
    k += length - 1;
  }
  return outside;
}
