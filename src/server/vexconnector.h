#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "server/loginencoding.h"
#include "server/panellist.h"
#include "server/vexconnection.h"
#include "server/vexprotocol.h"
#include "server/vexreceivebuffer.h"

class ServerHost;

// The one connector to the routing server: turns the program's requests
// into Vex messages, cuts the received text into messages and handles each
// reply, keeps the server's panel list, holds panel requests back until the
// server has approved this client, and opens the panels the server sends.
class VexConnector : public QObject {
  Q_OBJECT
 public:
  // `receiveCap`: the most received text held while a message is incomplete.
  VexConnector(ServerHost &host, std::unique_ptr<VexConnection> connection,
               qsizetype receiveCap = VexReceiveBuffer::kDefaultCap, QObject *parent = nullptr);
  ~VexConnector() override;

  // Connects to the program-wide server address and port (the arguments are
  // the caller's copies of them); the status line shows "Connecting" at once.
  // A password given for another server is forgotten.
  void connectToHost(const QString &address, quint16 port);
  void disconnectFromHost();
  // Asks the server for a panel, or queues the request until the server
  // approves this client on a link.
  void openPanel(const QString &panel);
  // Stores a panel document under the text after the name's last "/" or
  // "\". False, after "Failed to save panel - " and the reason, when nothing
  // could be sent (no link, not approved, or the link refused the text).
  bool savePanel(const QString &panelName, const QString &panelDocument);
  // Asks the server for the panel just stored under `panelName` and
  // compares what comes back with `panelDocument` as the link carried it
  // (characters its encoding cannot hold as "?"): `done(true)` on a match,
  // `done(false)` on a different text or no answer within the read-back
  // timeout. The protocol has no acknowledgement of a store; this is it.
  void confirmSave(const QString &panelName, const QString &panelDocument,
                   std::function<void(bool)> done);
  void setReadBackTimeout(int ms) { m_readBackTimeoutMs = ms; }
  static constexpr int kReadBackTimeoutMs = 10000;
  // The most distinct message boxes waiting to be shown at one time.
  static constexpr int kMostWaitingBoxes = 16;
  // The most delivered panels waiting for their windows at one time.
  static constexpr int kMostWaitingPanels = 64;
  // A panel name the server delivered that can be used in a panel path: no
  // "/", "\", "..", control characters, at most 255 characters.
  static bool isUsablePanelName(QStringView name);
  // Sends the login (command 40) with the encoded user name and password.
  void sendLogin(const QString &userName, const QString &password);

  // The server the link goes to, "address:port" as panel paths name it: the
  // program-wide address and port when the connector was made or last told
  // to connect. An address the server announces never changes it.
  QString serverName() const { return serverName(m_address, m_port); }
  static QString serverName(const QString &address, quint16 port);
  // "tcp://address:port/PanelName.xml" for the server the link goes to.
  QString derivePanelPath(const QString &panelName) const;
  // True when the list holds the name, or the name is a listed name + ".xml"
  // (letter case ignored).
  bool doesPanelNameExist(const QString &name) const;
  // 7 while the link is up, otherwise 0.
  qint16 linkState() const;
  bool isConnectingPaused() const;
  bool isHuntingEnabled() const;

  bool loginApproved() const { return m_loginApproved; }
  void setLoginApproved(bool value) { m_loginApproved = value; }
  const std::vector<PanelEntry> &panelList() const { return m_panelList; }
  // The server sent its list on the link that is up now.
  bool hasPanelListOfThisLink() const { return m_listOnLink; }
  const QStringList &pendingPanels() const { return m_pendingPanels; }
  VexConnection &link() { return *m_link; }
  qsizetype receiveBufferSize() const { return m_receiveBuffer.size(); }
  // Replaces the key source of the login encoding (tests fix the key).
  void setLoginKeyGenerator(LoginKeyGenerator key) { m_loginKey = std::move(key); }

  // Refreshes the status line every second while the connector lives.
  QTimer stateTimer;
  void stateTick() { emit statusRefreshRequested(); }

 signals:
  // The server asks for a login that the program cannot answer by itself.
  void loginRequested();
  void panelListChanged();
  // The status line should show the connection's state again.
  void statusRefreshRequested();
  // A connection was asked for: the status line shows "Connecting" now.
  void connectingStarted();

 private:
  void linkConnected();
  void received(const QString &data);
  void linkClosed();
  void handleMessage(const VexMessage &message);
  void answerToHello(QStringView payload);
  void answerToLogin(QStringView payload);
  void updateUserPanel(QStringView payload);
  // "address|||port" in an answer: the program-wide address and port become
  // them (what the connect dialog proposes next); false when the port is out
  // of range (the address has been taken already). An address that is not a
  // host name or IP address is ignored, port and all.
  bool takeServerAddress(QStringView trimmedPayload);
  void approve();
  void sendApprovedRequests();
  bool send(int code, QStringView payload);
  // What a deferred job is, for the bounds on what may wait.
  enum class Waiting { Job, Box, Panel };
  // Runs a job after the receive handler has returned: message boxes and
  // panel windows never open inside it, so reading goes on while they are
  // open. Jobs queued while one runs are run by it in turn. A job whose key
  // is already waiting is dropped (false); `chars` counts the delivered text
  // it holds.
  bool defer(std::function<void()> job, Waiting kind = Waiting::Job, const QString &key = QString(),
             qsizetype chars = 0);
  // A message box, deferred under a key: a box whose key is already waiting
  // is not queued again (identical messages merge), and past
  // kMostWaitingBoxes further ones are only logged.
  void deferBox(const QString &key, std::function<void()> show);
  // A box showing the text, deferred under the text as its key.
  void deferMessage(const QString &text);
  void runDeferred();
  // Tells the user about the delivered panels that could not wait.
  void showPanelsLeftOut();
  // A delivered panel answers a read-back of a save: true when it was only that.
  bool answerReadBack(const QString &name, QStringView document);

  ServerHost &m_host;
  std::unique_ptr<VexConnection> m_link;
  bool m_loginApproved = false;
  // The server approved this client on the link that is up now.
  bool m_approvedOnLink = false;
  bool m_listOnLink = false;
  // The server refused the password it was last sent: it is not sent again
  // by itself.
  bool m_passwordRejected = false;
  std::vector<PanelEntry> m_panelList;
  QStringList m_pendingPanels;
  VexReceiveBuffer m_receiveBuffer;
  LoginKeyGenerator m_loginKey = randomLoginKey;
  // The server the link goes to (see serverName).
  QString m_address;
  quint16 m_port = 0;
  // A login went out on this link and has not been answered yet.
  bool m_loginSent = false;
  struct Deferred {
    std::function<void()> job;
    Waiting kind = Waiting::Job;
    QString key;  // a box's text, or a delivered panel's path in lower case
    qsizetype chars = 0;
  };
  std::deque<Deferred> m_deferred;
  QSet<QString> m_waitingKeys;
  // Delivered text waiting for its window, at most the receive cap in all:
  // a panel the receive buffer passes always fits an empty queue.
  qsizetype m_deferredChars = 0;
  int m_waitingBoxes = 0;
  int m_waitingPanels = 0;
  bool m_runningDeferred = false;
  // Names of delivered panels dropped since the user was last told.
  QStringList m_panelsLeftOut;
  qsizetype m_panelsLeftOutCount = 0;
  // Saves waiting for their read-back, oldest first.
  struct ReadBack {
    QString name;
    QString expected;
    std::function<void(bool)> done;
    std::shared_ptr<QTimer> timer;
  };
  std::vector<ReadBack> m_readBacks;
  // Names the user asked for that the server has not delivered yet (lower case).
  QStringList m_userRequests;
  int m_readBackTimeoutMs = kReadBackTimeoutMs;
};
