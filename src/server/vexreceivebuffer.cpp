#include "server/vexreceivebuffer.h"

#include "server/vexprotocol.h"

using namespace modClientProtocolConsts;

std::vector<QString> VexReceiveBuffer::Append(QStringView data) {
  m_text.append(data);
  if (m_resync) skipToFrameStart();
  std::vector<QString> pieces;
  if (m_text.size() <= 2) return pieces;

  qsizetype start = 0;
  qsizetype end = m_text.indexOf(strFrameEnd, m_scanned);
  while (end >= 0) {
    if (end > start) pieces.push_back(m_text.mid(start, end - start));
    start = end + strFrameEnd.size();
    end = m_text.indexOf(strFrameEnd, start);
  }
  // What follows the last frame end came with this append, so removing the
  // handled text costs no more than the text received.
  if (start > 0) m_text.remove(0, start);
  m_scanned = qMax<qsizetype>(0, m_text.size() - 1);
  if (m_text.size() > m_cap) dropOversizedMessage();
  // A large message leaves a large allocation behind once it is handled.
  if (m_text.capacity() > 1024 * 1024 && m_text.size() < m_text.capacity() / 4) m_text.squeeze();
  return pieces;
}

void VexReceiveBuffer::Clear() {
  m_text = QString();
  m_scanned = 0;
  m_resync = false;
}

void VexReceiveBuffer::dropOversizedMessage() {
  // Keep the latest frame start that leaves no more than the cap, if any;
  // otherwise skip everything up to the next one.
  const qsizetype from = qMax<qsizetype>(1, m_text.size() - m_cap);
  const qsizetype next = m_text.indexOf(strFrameStart, from);
  if (next >= 0) {
    m_text = m_text.mid(next);
    m_scanned = qMax<qsizetype>(0, m_text.size() - 1);
    return;
  }
  // Nothing here is worth keeping (the text's own frame start is the
  // dropped message's): skip until a new frame start arrives.
  const bool halfStart = m_text.back() == strFrameStart.front();
  m_text = halfStart ? QString(strFrameStart.front()) : QString();
  m_scanned = 0;
  m_resync = true;
}

void VexReceiveBuffer::skipToFrameStart() {
  const qsizetype next = m_text.indexOf(strFrameStart);
  if (next >= 0) {
    m_text.remove(0, next);
    m_resync = false;
    m_scanned = 0;
    return;
  }
  // A frame start may be split between this piece and the next.
  const bool halfStart = !m_text.isEmpty() && m_text.back() == strFrameStart.front();
  m_text = halfStart ? QString(strFrameStart.front()) : QString();
  m_scanned = 0;
}
