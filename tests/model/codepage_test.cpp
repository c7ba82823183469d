// Windows-1252: every character of the code page encodes to its byte whatever
// text surrounds it, and back.
#include "model/codepage.h"

#include <gtest/gtest.h>

TEST(Codepage, EveryCharacterEncodesToItsByteAloneAndAmongAsciiAtEveryAlignment) {
  for (int byte = 1; byte < 256; ++byte) {
    const char expected = static_cast<char>(byte);
    const QString ch = decodeWindows1252(QByteArray(1, expected));
    ASSERT_EQ(ch.size(), 1);
    EXPECT_EQ(encodeWindows1252(ch), QByteArray(1, expected)) << byte;
    // The fast path reads blocks of 8; place the character at every offset
    // of texts of several lengths, with nothing else that needs mapping.
    for (int length = 1; length <= 33; ++length)
      for (int at = 0; at < length; ++at) {
        QString text(length, u'a');
        text[at] = ch[0];
        QByteArray bytes(length, 'a');
        bytes[at] = expected;
        ASSERT_EQ(encodeWindows1252(text), bytes)
            << "byte " << byte << " at " << at << " of " << length;
      }
  }
}

TEST(Codepage, TypographicTextSurvivesARoundTrip) {
  const QString text = QStringLiteral(
      "Mic \u2013 Live \u201cA\u201d \u2018b\u2019 \u2026 \u2122 "
      "\u0160 \u017e \u0152 Other \u2013 A.Btn1 \u20ac");
  EXPECT_EQ(decodeWindows1252(encodeWindows1252(text)), text);
  // A character the code page lacks is "?", never a byte of another.
  EXPECT_EQ(encodeWindows1252(QStringLiteral("Studio \u65e5\u672c and more")),
            QByteArray("Studio ?? and more"));
}
