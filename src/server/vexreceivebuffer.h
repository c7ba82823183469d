#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// Received Vex text not yet handled, cut into messages at the frame ends.
// Each append scans only text that no earlier scan has seen, so receiving a
// message in many small pieces costs the same as receiving it whole.
//
// The buffer never holds more than `cap` characters: an incomplete message
// that grows past it is dropped, and reading starts again at the next frame
// start (the rest of the dropped message is skipped until one comes).
class VexReceiveBuffer {
 public:
  static constexpr qsizetype kDefaultCap = qsizetype(64) * 1024 * 1024;

  explicit VexReceiveBuffer(qsizetype cap = kDefaultCap) : m_cap(cap) {}

  // Appends the text and moves every complete piece out of the buffer, in
  // order: the text before each frame end (empty pieces left out). A buffer
  // of two characters or fewer is not looked at.
  std::vector<QString> Append(QStringView data);

  // Forgets everything held (a new link starts a new stream).
  void Clear();

  qsizetype size() const { return m_text.size(); }
  const QString &text() const { return m_text; }
  // True while the rest of a dropped message is being skipped.
  bool resynchronising() const { return m_resync; }

 private:
  void dropOversizedMessage();
  void skipToFrameStart();

  QString m_text;
  qsizetype m_scanned = 0;  // no frame end begins before this position
  qsizetype m_cap;
  bool m_resync = false;
};
