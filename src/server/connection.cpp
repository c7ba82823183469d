#include "server/connection.h"

#include <QRandomGenerator>

#include "model/codepage.h"
#include "model/numbers.h"

namespace {
const QString kHuntPaused = QStringLiteral("Hunt Paused");
}

ServerConnection::ServerConnection(QObject *parent) : VexConnection(parent) {
  m_jitter = [] { return QRandomGenerator::global()->generateDouble(); };
  // Bounded: text waits in the system (and the server) rather than here.
  m_socket.setReadBufferSize(kReadBufferBytes);
  retryTimer.setSingleShot(true);
  connectTimeoutTimer.setSingleShot(true);
  connectTimeoutTimer.setInterval(kConnectTimeoutMs);
  connect(&retryTimer, &QTimer::timeout, this, &ServerConnection::retryTick);
  connect(&connectTimeoutTimer, &QTimer::timeout, this, &ServerConnection::connectTimeoutTick);
  connect(&m_socket, &QTcpSocket::connected, this, [this] {
    connectTimeoutTimer.stop();
    m_attempting = false;
    m_connected = true;
    m_linkAge.start();
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    emit connected();
    emit statusChanged();
  });
  connect(&m_socket, &QTcpSocket::stateChanged, this, [this](QAbstractSocket::SocketState state) {
    if (state == QAbstractSocket::UnconnectedState) onSocketUnconnected();
  });
  connect(&m_socket, &QTcpSocket::readyRead, this, [this] {
    const QByteArray bytes = m_socket.readAll();
    if (!bytes.isEmpty()) emit receivedData(decodeWindows1252(bytes));
  });
}

ServerConnection::~ServerConnection() {
  // Shut down: nothing more is reported to an owner that is going away.
  m_hunting = false;
  m_socket.disconnect(this);
  abortQuietly();
}

bool ServerConnection::sendVexCommand(const QString &text) {
  if (!m_connected) return false;
  const QByteArray bytes = encodeWindows1252(text);
  return m_socket.write(bytes) == bytes.size();
}

QString ServerConnection::carried(const QString &text) const {
  return decodeWindows1252(encodeWindows1252(text));
}

void ServerConnection::closeMasterConnection() {
  m_hunting = false;
  retryTimer.stop();
  const bool wasConnected = m_connected;
  abortQuietly();
  if (wasConnected) emit Closed();
}

void ServerConnection::forceConnect(const QString &ipForceAddress) {
  clearServerHuntList();
  if (m_huntingInitialized) {
    addServerToHunt(ipForceAddress);
    forceNextHunt();
  } else {
    startHunting({ipForceAddress});
  }
}

void ServerConnection::startHunting(const QStringList &connections) {
  m_huntingInitialized = true;
  for (const QString &address : connections) addServerToHunt(address);
  m_hunting = true;
  m_failures = 0;
  m_huntIndex = 0;
  if (!m_connected && !m_attempting) attempt();
}

void ServerConnection::forceNextHunt() {
  m_hunting = true;
  m_failures = 0;
  m_huntIndex = 0;
  retryTimer.stop();
  const bool wasConnected = m_connected;
  abortQuietly();
  if (wasConnected) emit Closed();
  attempt();
}

void ServerConnection::attempt() {
  if (m_hunt.isEmpty() || !m_hunting) return;
  m_huntIndex %= m_hunt.size();
  const QString address = m_hunt[m_huntIndex];
  setCurrentName(address);
  abortQuietly();
  const auto [host, port] = splitAddress(address, m_defaultPort);
  m_attempting = true;
  connectTimeoutTimer.start();
  m_socket.connectToHost(host, port);
}

void ServerConnection::retryTick() {
  retryTimer.stop();
  if (m_hunting && !m_connected && !m_attempting) attempt();
}

void ServerConnection::connectTimeoutTick() {
  connectTimeoutTimer.stop();
  if (!m_attempting) return;
  abortQuietly();
  attemptFailed();
}

void ServerConnection::onSocketUnconnected() {
  if (m_connected) {
    linkLost();
  } else if (m_attempting) {
    m_attempting = false;
    connectTimeoutTimer.stop();
    attemptFailed();
  }
}

void ServerConnection::attemptFailed() {
  ++m_failures;
  if (!m_hunt.isEmpty()) m_huntIndex = (m_huntIndex + 1) % m_hunt.size();
  if (!m_hunting) return;
  if (m_failures % kFailuresBeforePause == 0) {
    setCurrentName(kHuntPaused);
    retryTimer.start(kPauseMs);
    return;
  }
  scheduleRetry(baseRetryDelay(m_failures));
}

void ServerConnection::linkLost() {
  m_connected = false;
  emit Closed();
  if (m_linkAge.elapsed() < kStableLinkMs) {
    attemptFailed();
    return;
  }
  m_failures = 0;
  if (m_hunting) scheduleRetry(baseRetryDelay(1));
}

int ServerConnection::baseRetryDelay(int failures) {
  qint64 ms = kFirstRetryMs;
  for (int i = 1; i < failures && ms < kMaxRetryMs; ++i) ms *= 2;
  return static_cast<int>(qMin<qint64>(ms, kMaxRetryMs));
}

void ServerConnection::scheduleRetry(int baseMs) {
  const double u = qBound(0.0, m_jitter ? m_jitter() : 0.5, 1.0);
  retryTimer.start(qMin(kMaxRetryMs, static_cast<int>(baseMs * (0.8 + 0.4 * u))));
}

void ServerConnection::abortQuietly() {
  connectTimeoutTimer.stop();
  m_connected = false;
  m_attempting = false;
  if (m_socket.state() != QAbstractSocket::UnconnectedState) m_socket.abort();
}

void ServerConnection::setCurrentName(const QString &name) {
  if (name == m_currentName) return;
  m_currentName = name;
  emit statusChanged();
}

std::pair<QString, quint16> ServerConnection::splitAddress(const QString &address,
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
  if (!portText.isEmpty() && !readPort(portText, &port)) port = defaultPort;
  return {host, port};
}
