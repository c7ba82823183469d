#pragma once

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <utility>

#include "server/vexconnection.h"

// The link to the routing server over TCP. It tries the addresses of its
// hunt list in turn and, after a failure or a lost link, tries again on its
// own: the first retry after about half a second, each further one after
// twice as long, up to 30 s, every delay varied by up to a fifth so that
// many designers do not knock at the same moment. After five failures in a
// row it pauses for 30 s and reports "Hunt Paused". A link the server drops
// within 10 s of accepting it counts as a failed attempt, so that a server
// that accepts and drops at once is backed off the same way. Text goes both
// ways in Windows-1252, unchanged.
class ServerConnection : public VexConnection {
  Q_OBJECT
 public:
  static constexpr int kFirstRetryMs = 500;
  static constexpr int kMaxRetryMs = 30000;
  static constexpr int kPauseMs = 30000;
  static constexpr int kFailuresBeforePause = 5;
  static constexpr int kConnectTimeoutMs = 5000;
  // A link that lasted this long was a working one: the failures start anew.
  static constexpr int kStableLinkMs = 10000;
  static constexpr qint64 kReadBufferBytes = 1024 * 1024;

  explicit ServerConnection(QObject *parent = nullptr);
  ~ServerConnection() override;

  bool sendVexCommand(const QString &text) override;
  // A character the code page cannot hold arrives as "?".
  QString carried(const QString &text) const override;
  qint16 connectionState() const override { return m_connected ? 7 : 0; }
  void closeMasterConnection() override;
  void forceConnect(const QString &ipForceAddress) override;
  void startHunting(const QStringList &connections) override;
  void setDefaultPort(quint16 port) override { m_defaultPort = port; }
  QString currentName() const override { return m_currentName; }
  bool huntingInitialized() const override { return m_huntingInitialized; }

  // The next attempt after a wait, and the end of an attempt that hangs.
  // Their ticks are public so that tests need not wait.
  QTimer retryTimer;
  QTimer connectTimeoutTimer;
  void retryTick();
  void connectTimeoutTick();

  // The source of the delays' variation, a value in [0, 1).
  void setJitterSource(std::function<double()> source) { m_jitter = std::move(source); }
  // The wait after `failures` failed attempts in a row (before the variation).
  static int baseRetryDelay(int failures);
  int failuresInARow() const { return m_failures; }
  const QStringList &huntList() const { return m_hunt; }

  // "host", "host:port" or "[v6 address]:port" as host and port; a missing
  // or bad port gives `defaultPort`.
  static std::pair<QString, quint16> splitAddress(const QString &address, quint16 defaultPort);

 private:
  void addServerToHunt(const QString &address) { m_hunt << address; }
  void clearServerHuntList() { m_hunt.clear(); }
  void forceNextHunt();
  void attempt();
  void onSocketUnconnected();
  void attemptFailed();
  void linkLost();
  void scheduleRetry(int baseMs);
  void abortQuietly();
  void setCurrentName(const QString &name);

  QTcpSocket m_socket;
  QStringList m_hunt;
  qsizetype m_huntIndex = 0;
  quint16 m_defaultPort = 5200;
  bool m_connected = false;
  bool m_attempting = false;
  bool m_hunting = false;  // keeps trying until closeMasterConnection
  int m_failures = 0;      // failed attempts since the last stable link
  QElapsedTimer m_linkAge;
  QString m_currentName;
  bool m_huntingInitialized = false;
  std::function<double()> m_jitter;
};
