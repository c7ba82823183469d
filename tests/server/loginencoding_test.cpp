// The login text encoding: the worked example, the clamping of codes, and
// the round trip over every printable character and every key.
#include "server/loginencoding.h"

#include <gtest/gtest.h>

#include <QSet>
#include <algorithm>

namespace {
LoginKeyGenerator key(int k) {
  return [k] { return k; };
}
}  // namespace

TEST(LoginEncoding, WorkedExampleAndEdges) {
  EXPECT_EQ(passEncodeV2("abc", key(10)), "FkXm");
  EXPECT_EQ(passEncodeV2("", key(10)), "F");
  EXPECT_EQ(passEncodeV2("", key(60)), "x");
  EXPECT_EQ(rollEncode(126, 60, true), 91);  // 126 + 60 - 95
  EXPECT_EQ(rollEncode(32, 60, false), 67);  // 32 - 60 + 95
  // Codes outside 32-126 travel clamped: a tab as a blank, "é" (233) as "~".
  EXPECT_EQ(passDecodeV2(passEncodeV2(QString::fromUtf8("a\tb\u00e9"), key(33))), "a b~");
  for (int bad : {9, 61, -1}) EXPECT_EQ(passEncodeV2("abc", key(bad)), "***Error***") << bad;
}

TEST(LoginEncoding, EveryPrintableCharacterComesBackUnderEveryKey) {
  QString all;
  for (int c = 32; c <= 126; ++c) all += QChar(c);
  QString reversed = all;
  std::reverse(reversed.begin(), reversed.end());
  for (int k = 10; k <= 60; ++k) {
    for (const QString &text : {all, reversed}) {
      const QString encoded = passEncodeV2(text, key(k));
      ASSERT_EQ(encoded.size(), text.size() + 1);
      EXPECT_EQ(encoded[0].unicode(), k + 60);
      for (const QChar c : encoded) {
        EXPECT_GE(c.unicode(), 32);
        EXPECT_LE(c.unicode(), 126);
      }
      EXPECT_EQ(passDecodeV2(encoded), text) << k;
    }
    for (int c = 32; c <= 126; ++c)
      for (bool add : {true, false}) ASSERT_EQ(rollDecode(rollEncode(c, k, add), k, add), c);
  }
}

TEST(LoginEncoding, TheKeyIsDrawnFreshEachTime) {
  QSet<int> keys;
  for (int i = 0; i < 500; ++i) {
    const int k = randomLoginKey();
    ASSERT_GE(k, 10);
    ASSERT_LE(k, 60);
    keys.insert(k);
  }
  EXPECT_GT(keys.size(), 30);
  // The same password encodes differently but always decodes the same.
  QSet<QString> encodings;
  for (int i = 0; i < 20; ++i) {
    const QString e = passEncodeV2("secret");
    EXPECT_EQ(passDecodeV2(e), "secret");
    encodings.insert(e);
  }
  EXPECT_GT(encodings.size(), 1);
}
