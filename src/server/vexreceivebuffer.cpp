#include "server/vexreceivebuffer.h"

#include "server/vexprotocol.h"

using namespace VexProtocol;

QStringList VexReceiveBuffer::Pieces::strings() const {
  QStringList out;
  for (QStringView v : views) out << v.toString();
  return out;
}

VexReceiveBuffer::Pieces VexReceiveBuffer::append(const QString &data) {
  if (m_text.isEmpty())
    m_text = data;  // shared, not copied
  else
    m_text.append(data);
  if (m_resync) skipToFrameStart();
  Pieces pieces;
  if (m_text.size() <= 2) return pieces;

  std::vector<std::pair<qsizetype, qsizetype>> found;  // start and length of each piece
  qsizetype start = 0;
  qsizetype end = m_text.indexOf(kFrameEnd, m_scanned);
  while (end >= 0) {
    if (end > start) {
      // A message that grew past the cap before its end came is dropped;
      // reading resumes at the frame start that begins the text kept.
      const qsizetype keep =
          end - start > m_cap ? keptFrom(QStringView(m_text).mid(start, end - start)) : 0;
      if (keep != 0) ++m_dropped;
      if (keep >= 0) found.emplace_back(start + keep, end - start - keep);
    }
    start = end + kFrameEnd.size();
    end = m_text.indexOf(kFrameEnd, start);
  }
  if (start > 0) {
    // The pieces go out with the text they are in; what follows the last
    // frame end came with this append, so keeping it costs no more than the
    // text received.
    pieces.text = std::move(m_text);
    m_text = pieces.text.mid(start);
    for (const auto &[at, length] : found)
      pieces.views.push_back(QStringView(pieces.text).mid(at, length));
  }
  m_scanned = qMax<qsizetype>(0, m_text.size() - 1);
  if (m_text.size() > m_cap) dropOversizedMessage();
  // A large message leaves a large allocation behind once it is handled.
  if (m_text.capacity() > 1024 * 1024 && m_text.size() < m_text.capacity() / 4) m_text.squeeze();
  return pieces;
}

void VexReceiveBuffer::clear() {
  m_text = QString();
  m_scanned = 0;
  m_resync = false;
}

qsizetype VexReceiveBuffer::keptFrom(QStringView text) const {
  const qsizetype last = text.lastIndexOf(kFrameStart);
  return last >= 1 && text.size() - last <= m_cap ? last : -1;
}

void VexReceiveBuffer::dropOversizedMessage() {
  // A later message that began inside the oversized text is kept;
  // otherwise everything is skipped up to the next frame start.
  ++m_dropped;
  const qsizetype keep = keptFrom(m_text);
  if (keep >= 0) {
    m_text = m_text.mid(keep);
    m_scanned = qMax<qsizetype>(0, m_text.size() - 1);
    return;
  }
  // Nothing here is worth keeping (the text's own frame start is the
  // dropped message's): skip until a new frame start arrives.
  const bool halfStart = m_text.back() == kFrameStart.front();
  m_text = halfStart ? QString(kFrameStart.front()) : QString();
  m_scanned = 0;
  m_resync = true;
}

void VexReceiveBuffer::skipToFrameStart() {
  const qsizetype next = m_text.indexOf(kFrameStart);
  if (next >= 0) {
    m_text.remove(0, next);
    m_resync = false;
    m_scanned = 0;
    return;
  }
  // A frame start may be split between this piece and the next.
  const bool halfStart = !m_text.isEmpty() && m_text.back() == kFrameStart.front();
  m_text = halfStart ? QString(kFrameStart.front()) : QString();
  m_scanned = 0;
}
