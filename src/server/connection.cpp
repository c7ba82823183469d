#include "server/connection.h"

#include <QRandomGenerator>

#include "model/codepage.h"
#include "model/numbers.h"

namespace {
const QString kHuntPaused = QStringLiteral("Hunt Paused");
}

clsCVCoreConnection::clsCVCoreConnection(QObject *parent) : VexConnection(parent) {
  m_jitter = [] { return QRandomGenerator::global()->generateDouble(); };
  // Bounded: text waits in the system (and the server) rather than here.
  m_socket.setReadBufferSize(kReadBufferBytes);
  timRetry.setSingleShot(true);
  timConnectTimeout.setSingleShot(true);
  timConnectTimeout.setInterval(kConnectTimeoutMs);
  connect(&timRetry, &QTimer::timeout, this, &clsCVCoreConnection::RetryTick);
  connect(&timConnectTimeout, &QTimer::timeout, this, &clsCVCoreConnection::ConnectTimeoutTick);
  connect(&m_socket, &QTcpSocket::connected, this, [this] {
    timConnectTimeout.stop();
    m_attempting = false;
    m_connected = true;
    m_linkAge.start();
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    emit Connected();
    emit StatusChanged();
  });
  connect(&m_socket, &QTcpSocket::stateChanged, this, [this](QAbstractSocket::SocketState state) {
    if (state == QAbstractSocket::UnconnectedState) onSocketUnconnected();
  });
  connect(&m_socket, &QTcpSocket::readyRead, this, [this] {
    const QByteArray bytes = m_socket.readAll();
    if (!bytes.isEmpty()) emit ReceivedData(DecodeWindows1252(bytes));
  });
}

clsCVCoreConnection::~clsCVCoreConnection() {
  // Shut down: nothing more is reported to an owner that is going away.
  m_hunting = false;
  m_socket.disconnect(this);
  abortQuietly();
}

bool clsCVCoreConnection::SendVexCommand(const QString &text) {
  if (!m_connected) return false;
  const QByteArray bytes = EncodeWindows1252(text);
  return m_socket.write(bytes) == bytes.size();
}

void clsCVCoreConnection::CloseMasterConnection() {
  m_hunting = false;
  timRetry.stop();
  const bool wasConnected = m_connected;
  abortQuietly();
  if (wasConnected) emit Closed();
}

void clsCVCoreConnection::ForceConnect(const QString &ipForceAddress) {
  ClearServerHuntList();
  if (m_HuntingInitialized) {
    AddServerToHunt(ipForceAddress);
    ForceNextHunt();
  } else {
    StartHunting({ipForceAddress});
  }
}

void clsCVCoreConnection::StartHunting(const QStringList &connections) {
  m_HuntingInitialized = true;
  for (const QString &address : connections) AddServerToHunt(address);
  m_hunting = true;
  m_failures = 0;
  m_huntIndex = 0;
  if (!m_connected && !m_attempting) attempt();
}

void clsCVCoreConnection::ForceNextHunt() {
  m_hunting = true;
  m_failures = 0;
  m_huntIndex = 0;
  timRetry.stop();
  const bool wasConnected = m_connected;
  abortQuietly();
  if (wasConnected) emit Closed();
  attempt();
}

void clsCVCoreConnection::attempt() {
  if (m_hunt.isEmpty() || !m_hunting) return;
  m_huntIndex %= m_hunt.size();
  const QString address = m_hunt[m_huntIndex];
  setCurrentName(address);
  abortQuietly();
  const auto [host, port] = SplitAddress(address, m_defaultPort);
  m_attempting = true;
  timConnectTimeout.start();
  m_socket.connectToHost(host, port);
}

void clsCVCoreConnection::RetryTick() {
  timRetry.stop();
  if (m_hunting && !m_connected && !m_attempting) attempt();
}

void clsCVCoreConnection::ConnectTimeoutTick() {
  timConnectTimeout.stop();
  if (!m_attempting) return;
  abortQuietly();
  attemptFailed();
}

void clsCVCoreConnection::onSocketUnconnected() {
  if (m_connected) {
    linkLost();
  } else if (m_attempting) {
    m_attempting = false;
    timConnectTimeout.stop();
    attemptFailed();
  }
}

void clsCVCoreConnection::attemptFailed() {
  ++m_failures;
  if (!m_hunt.isEmpty()) m_huntIndex = (m_huntIndex + 1) % m_hunt.size();
  if (!m_hunting) return;
  if (m_failures % kFailuresBeforePause == 0) {
    setCurrentName(kHuntPaused);
    timRetry.start(kPauseMs);
    return;
  }
  scheduleRetry(BaseRetryDelay(m_failures));
}

void clsCVCoreConnection::linkLost() {
  m_connected = false;
  emit Closed();
  if (m_linkAge.elapsed() < kStableLinkMs) {
    attemptFailed();
    return;
  }
  m_failures = 0;
  if (m_hunting) scheduleRetry(BaseRetryDelay(1));
}

int clsCVCoreConnection::BaseRetryDelay(int failures) {
  qint64 ms = kFirstRetryMs;
  for (int i = 1; i < failures && ms < kMaxRetryMs; ++i) ms *= 2;
  return static_cast<int>(qMin<qint64>(ms, kMaxRetryMs));
}

void clsCVCoreConnection::scheduleRetry(int baseMs) {
  const double u = qBound(0.0, m_jitter ? m_jitter() : 0.5, 1.0);
  timRetry.start(qMin(kMaxRetryMs, static_cast<int>(baseMs * (0.8 + 0.4 * u))));
}

void clsCVCoreConnection::abortQuietly() {
  timConnectTimeout.stop();
  m_connected = false;
  m_attempting = false;
  if (m_socket.state() != QAbstractSocket::UnconnectedState) m_socket.abort();
}

void clsCVCoreConnection::setCurrentName(const QString &name) {
  if (name == m_CurrentName) return;
  m_CurrentName = name;
  emit StatusChanged();
}

std::pair<QString, quint16> clsCVCoreConnection::SplitAddress(const QString &address,
                                                              quint16 defaultPort) {
  const QString a = address.trimmed();
  QString host = a;
  QString portText;
  if (a.startsWith(u'[')) {
    const qsizetype close = a.indexOf(u']');
    if (close > 0) {
      host = a.mid(1, close - 1);
      if (a.mid(close + 1).startsWith(u':')) portText = a.mid(close + 2);
    }
  } else if (a.count(u':') == 1) {
    const qsizetype colon = a.indexOf(u':');
    host = a.left(colon);
    portText = a.mid(colon + 1);
  }
  quint16 port = defaultPort;
  if (!portText.isEmpty() && !ReadPort(portText, &port)) port = defaultPort;
  return {host, port};
}
