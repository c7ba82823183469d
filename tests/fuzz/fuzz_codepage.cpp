// The Windows-1252 encoder against its decoder: any bytes decoded and encoded
// give the bytes back, and any text encodes the same in the fast and the
// character-by-character way.
#include "fuzzsupport.h"
#include "model/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  const QString decoded = decodeWindows1252(bytes);
  FUZZ_CHECK(encodeWindows1252(decoded) == bytes);
  // The same bytes read as UTF-16 text, so characters beyond the code page
  // come in too.
  const QString text(reinterpret_cast<const QChar *>(data), qsizetype(size / 2));
  const QByteArray encoded = encodeWindows1252(text);
  FUZZ_CHECK(encoded.size() == text.size());
  for (qsizetype i = 0; i < text.size(); ++i)
    FUZZ_CHECK(encoded[i] == encodeWindows1252Char(text[i].unicode()));
  FUZZ_CHECK(encodeWindows1252(decodeWindows1252(encoded)) == encoded);
  return 0;
}
