#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

// Received Vex text not yet handled, cut into messages at the frame ends.
// Each append scans only text that no earlier scan has seen, so receiving a
// message in many small pieces costs the same as receiving it whole.
//
// No message longer than `cap` characters is held or handed on: a message
// that grows past it is dropped, and reading starts again at the next frame
// start (the rest of the dropped message is skipped until one comes), also
// when the dropped text and the next message arrive in one piece.
class VexReceiveBuffer {
 public:
  static constexpr qsizetype kDefaultCap = qsizetype(64) * 1024 * 1024;

  // Complete pieces taken out of the buffer: views into `text`, which keeps
  // them alive (a large message is handed on without being copied).
  struct Pieces {
    QString text;
    std::vector<QStringView> views;
    bool empty() const { return views.empty(); }
    size_t size() const { return views.size(); }
    QStringList strings() const;
  };

  explicit VexReceiveBuffer(qsizetype cap = kDefaultCap) : m_cap(cap) {}

  // Appends the text and moves every complete piece out of the buffer, in
  // order: the text before each frame end (empty pieces left out). A buffer
  // of two characters or fewer is not looked at.
  Pieces append(const QString &data);

  // Forgets everything held (a new link starts a new stream).
  void clear();

  qsizetype size() const { return m_text.size(); }
  qsizetype cap() const { return m_cap; }
  // How many messages have been dropped for growing past the cap.
  qsizetype droppedMessages() const { return m_dropped; }
  const QString &text() const { return m_text; }
  // True while the rest of a dropped message is being skipped.
  bool resynchronising() const { return m_resync; }

 private:
  // Where the text kept of an oversized message begins: the last frame start
  // after its first character that leaves no more than the cap; -1 for none.
  qsizetype keptFrom(QStringView text) const;
  void dropOversizedMessage();
  void skipToFrameStart();

  QString m_text;
  qsizetype m_scanned = 0;  // no frame end begins before this position
  qsizetype m_cap;
  qsizetype m_dropped = 0;
  bool m_resync = false;
};
