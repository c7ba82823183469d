#include "server/connectionstatus.h"

namespace {
const QString kConnected = QStringLiteral("Connected");
const QString kConnecting = QStringLiteral("Connecting");
const QString kWaiting = QStringLiteral("Waiting");
const QString kNotConnected = QStringLiteral("Not Connected");
}  // namespace

void ConnectionStatus::setConnectedLabel(qint16 state, bool paused, bool hunting) {
  QString text = m_text;
  qint32 color = m_color;
  if (m_text == kConnecting || state != m_lastState) {
    m_lastState = state;
    if (state == 7) {
      text = kConnected;
      color = kGreen;
    } else if (state == 0) {
      text = kNotConnected;
      color = kLightRed;
    }
  }
  if (state != 7) {
    if (paused) {
      text = kWaiting;
      color = kLightRed;
    } else if (hunting) {
      text = kConnecting;
      color = kYellow;
    } else {
      text = kNotConnected;
      color = kLightRed;
    }
  }
  show(text, color);
}

void ConnectionStatus::showConnecting() { show(kConnecting, kYellow); }

void ConnectionStatus::show(const QString &text, qint32 color) {
  if (text == m_text && color == m_color) return;
  m_text = text;
  m_color = color;
  emit changed(m_text, m_color);
}
