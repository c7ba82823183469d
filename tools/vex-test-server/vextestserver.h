#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QTimer>
#include <map>
#include <memory>

#include "server/vexprotocol.h"
#include "server/vexreceivebuffer.h"

class QTcpSocket;

// A stand-in for the routing server, for tests and demonstrations. It
// answers the hello ("no" without a login, "yes" with one), checks a login
// by decoding it, sends the panel list of its folder after command 41,
// delivers panel files (43) and stores received panels (45) there, one file
// per panel, written whole or not at all.
class VexTestServer : public QObject {
  Q_OBJECT
 public:
  struct Options {
    quint16 port = 5200;  // 0: any free port
    QHostAddress address = QHostAddress(QHostAddress::LocalHost);
    QString panelsFolder;
    QString user;  // a login is asked for when not empty
    QString password;
    int chunkSize = 0;            // > 0: everything is sent in pieces of this size
    int chunkDelayMs = 0;         // pause between the pieces
    qint64 closeAfterBytes = -1;  // >= 0: the first link is closed after this many bytes
    qint64 garbageBytes = 0;      // noise (ended by a frame end) sent first on every link
    qint64 unframedBytes = 0;     // a message without frame end sent first on every link
    bool silent = false;          // accepts links and never answers
    bool dropAfterHello = false;  // closes every link right after answering its hello
  };

  explicit VexTestServer(Options options, QObject *parent = nullptr);
  ~VexTestServer() override;

  bool listen();
  quint16 port() const { return m_server.serverPort(); }
  QString errorString() const { return m_server.errorString(); }

 private:
  struct Client {
    QTcpSocket *socket = nullptr;
    VexReceiveBuffer buffer;
    bool approved = false;
    bool closeAfterLimit = false;
    qint64 sent = 0;
    QByteArray queue;  // waiting to go out in pieces
    QTimer pump;
  };

  void onNewConnection();
  void onReadyRead(Client &client);
  void handle(Client &client, const VexMessage &message);
  void answerLogin(Client &client, QStringView payload);
  void sendList(Client &client);
  void deliverPanel(Client &client, const QString &name);
  void storePanel(Client &client, QStringView payload);
  void send(Client &client, int code, QStringView payload);
  void sendBytes(Client &client, const QByteArray &bytes);
  void pump(Client &client);
  // The file of a panel name in the folder; empty for a name that could leave it.
  QString panelFile(const QString &name) const;
  void log(const QString &line) const;

  Options m_options;
  QTcpServer m_server;
  std::map<QTcpSocket *, std::unique_ptr<Client>> m_clients;
  int m_links = 0;
};
