// The receive buffer: cutting at frame ends from where the last scan
// stopped gives the same messages as cutting the whole text at once, and
// the cap bounds what an endless message can take.
#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QStringList>

#include "server/vexprotocol.h"
#include "server/vexreceivebuffer.h"

using namespace VexProtocol;

namespace {
// The plain way: the whole stream so far cut at every frame end.
std::vector<QString> cutWhole(const QString &stream, QString *rest) {
  std::vector<QString> pieces;
  const QStringList parts = stream.split(kFrameEnd);
  for (qsizetype i = 0; i + 1 < parts.size(); ++i)
    if (!parts[i].isEmpty()) pieces.push_back(parts[i]);
  *rest = parts.last();
  return pieces;
}
}  // namespace

TEST(ReceiveBuffer, PiecesOfAnySizeGiveTheMessagesOfTheWholeText) {
  // Streams made of frame starts, frame ends, lone \3 and \2 and text, cut
  // at random places: the incremental cut equals the whole cut.
  QRandomGenerator rng(20240303);
  const QString tokens[] = {
      kFrameStart,           kFrameEnd,           QString(QChar(3)),   QString(QChar(2)),
      QStringLiteral("abc"), QStringLiteral("x"), kFrameEnd + QChar(3)};
  for (int round = 0; round < 300; ++round) {
    QString stream;
    const int n = rng.bounded(1, 40);
    for (int i = 0; i < n; ++i) stream += tokens[rng.bounded(int(std::size(tokens)))];
    VexReceiveBuffer buffer;
    std::vector<QString> got;
    for (qsizetype at = 0; at < stream.size();) {
      const qsizetype len = rng.bounded(1, 6);
      for (const QString &p : buffer.append(stream.mid(at, len)).strings()) got.push_back(p);
      at += len;
    }
    QString rest;
    const std::vector<QString> expected = cutWhole(stream, &rest);
    // A buffer of just a frame end waits for more text; the whole cut has
    // used it up (as an empty piece).
    const QString held = buffer.text() == kFrameEnd ? QString() : buffer.text();
    ASSERT_EQ(got, expected) << round;
    ASSERT_EQ(held, rest) << round;
  }
}

TEST(ReceiveBuffer, AnEndlessMessageIsDroppedAndReadingResumesAtTheNextFrameStart) {
  const qsizetype cap = 100;
  VexReceiveBuffer buffer(cap);
  const QString good = buildVexMessage(42, u"A\tB");
  // A message that never ends, in pieces, far past the cap.
  EXPECT_TRUE(buffer.append(kFrameStart + QChar(43) + QStringLiteral("000000000000")).empty());
  for (int i = 0; i < 50; ++i) {
    EXPECT_TRUE(buffer.append(QString(30, u'x')).empty());
    EXPECT_LE(buffer.size(), cap);
  }
  EXPECT_TRUE(buffer.resynchronising());
  // The rest of the dropped message ends; what follows it is read again,
  // even with the frame start split between two pieces.
  EXPECT_TRUE(buffer.append(QString(10, u'y') + kFrameEnd + QString(3, u'z') + QChar(2)).empty());
  const QStringList pieces = buffer.append(good.mid(1) + good).strings();
  ASSERT_EQ(pieces.size(), 2);
  EXPECT_EQ(pieces[0] + kFrameEnd, good);
  EXPECT_FALSE(buffer.resynchronising());

  // The same when the end of the endless message and the next message come
  // in one piece, however the text is cut.
  const QString endless = kFrameStart + QChar(43) + QString(300, u'x');
  for (qsizetype cut : {qsizetype(1), qsizetype(150), endless.size(), endless.size() + 1}) {
    VexReceiveBuffer oneGo(cap);
    const QString stream = endless + good;
    QStringList got = oneGo.append(stream.left(cut)).strings();
    got += oneGo.append(stream.mid(cut)).strings();
    EXPECT_EQ(got, QStringList({good.chopped(2)})) << cut;
    EXPECT_EQ(oneGo.size(), 0) << cut;
  }

  // A frame start inside the oversized text is where reading resumes.
  VexReceiveBuffer other(cap);
  other.append(kFrameStart + QString(80, u'x') + kFrameStart + QString(40, u'y'));
  EXPECT_EQ(other.text(), kFrameStart + QString(40, u'y'));
  EXPECT_EQ(other.append(kFrameEnd).size(), 1u);
}

TEST(ReceiveBuffer, ClearForgetsAHalfMessage) {
  VexReceiveBuffer buffer;
  buffer.append(buildVexMessage(43, u"Studio1").left(10));
  buffer.clear();
  EXPECT_EQ(buffer.size(), 0);
  EXPECT_EQ(buffer.append(buildVexMessage(1, u"no")).size(), 1u);
}
