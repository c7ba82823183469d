#include "vextestserver.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTcpSocket>
#include <QXmlStreamReader>
#include <cstdio>

#include "model/codepage.h"
#include "server/loginencoding.h"
#include "server/panellist.h"

using namespace VexProtocol;

namespace {
// The text of a panel document's "Caption" element, if it has one.
QString captionOf(const QString &document) {
  QXmlStreamReader xml(document);
  int depth = 0;
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::StartElement) {
      ++depth;
      if (depth == 2 && xml.name().compare(QLatin1String("Caption"), Qt::CaseInsensitive) == 0)
        return xml.readElementText();
    } else if (token == QXmlStreamReader::EndElement) {
      --depth;
    }
  }
  return QString();
}

// Bytes that hold neither a frame start nor a frame end.
QByteArray noise(qint64 size) {
  QByteArray bytes(size, Qt::Uninitialized);
  auto *rng = QRandomGenerator::global();
  for (char &b : bytes) {
    char c = static_cast<char>(rng->bounded(256));
    if (c == 2 || c == 3) c = 'x';
    b = c;
  }
  return bytes;
}
}  // namespace

VexTestServer::VexTestServer(Options options, QObject *parent)
    : QObject(parent), m_options(std::move(options)) {
  connect(&m_server, &QTcpServer::newConnection, this, &VexTestServer::onNewConnection);
}

VexTestServer::~VexTestServer() {
  for (auto &[socket, client] : m_clients) socket->disconnect(this);
}

bool VexTestServer::listen() {
  if (!m_server.listen(m_options.address, m_options.port)) return false;
  log(QStringLiteral("listening on %1").arg(m_server.serverPort()));
  return true;
}

void VexTestServer::log(const QString &line) const {
  std::printf("%s\n", qPrintable(line));
  std::fflush(stdout);
}

void VexTestServer::onNewConnection() {
  while (QTcpSocket *socket = m_server.nextPendingConnection()) {
    auto client = std::make_unique<Client>();
    Client &c = *client;
    c.socket = socket;
    c.closeAfterLimit = m_options.closeAfterBytes >= 0 && m_links == 0;
    ++m_links;
    c.pump.setInterval(m_options.chunkDelayMs);
    connect(&c.pump, &QTimer::timeout, this, [this, &c] { pump(c); });
    connect(socket, &QTcpSocket::readyRead, this, [this, &c] { onReadyRead(c); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
      log(QStringLiteral("link closed"));
      m_clients.erase(socket);
      socket->deleteLater();
    });
    m_clients[socket] = std::move(client);
    log(QStringLiteral("link from %1").arg(socket->peerAddress().toString()));
    if (m_options.silent) continue;
    if (m_options.garbageBytes > 0) sendBytes(c, noise(m_options.garbageBytes) + "\x03\x03");
    if (m_options.unframedBytes > 0) {
      QByteArray start = encodeWindows1252(kFrameStart + QChar(VexCommand::Panel) + kHeaderZeros);
      sendBytes(c, start + QByteArray(m_options.unframedBytes, 'x'));
    }
  }
}

void VexTestServer::onReadyRead(Client &client) {
  const QString text = decodeWindows1252(client.socket->readAll());
  if (m_options.silent) return;
  const VexReceiveBuffer::Pieces pieces = client.buffer.append(text);
  for (QStringView piece : pieces.views)
    if (const std::optional<VexMessage> message = parseVexPiece(piece)) handle(client, *message);
}

void VexTestServer::handle(Client &client, const VexMessage &message) {
  switch (message.code) {
    case VexCommand::Hello:
      client.approved = m_options.user.isEmpty();
      log(QStringLiteral("hello: %1").arg(client.approved ? "no login needed" : "login asked for"));
      send(client, VexCommand::Hello, client.approved ? u"no" : u"yes");
      if (m_options.dropAfterHello) {
        log(QStringLiteral("dropping the link"));
        // Later, and after what was written has gone out.
        QMetaObject::invokeMethod(client.socket, &QTcpSocket::disconnectFromHost,
                                  Qt::QueuedConnection);
      }
      return;
    case VexCommand::Login:
      answerLogin(client, message.payload);
      return;
    default:
      break;
  }
  if (!client.approved) {
    log(QStringLiteral("command %1 ignored: not logged in").arg(message.code));
    return;
  }
  switch (message.code) {
    case VexCommand::Approved:
      sendList(client);
      break;
    case VexCommand::Panel:
      deliverPanel(client, message.payload.toString());
      break;
    case VexCommand::StorePanel:
      storePanel(client, message.payload);
      break;
    default:
      log(QStringLiteral("command %1 ignored").arg(message.code));
  }
}

void VexTestServer::answerLogin(Client &client, QStringView payload) {
  const qsizetype sep = payload.indexOf(kLoginSeparator);
  const QString user = passDecodeV2(payload.left(qMax<qsizetype>(sep, 0)).toString());
  const QString password =
      sep < 0 ? QString() : passDecodeV2(payload.mid(sep + kLoginSeparator.size()).toString());
  client.approved = sep >= 0 && user == m_options.user && password == m_options.password;
  log(QStringLiteral("login %1 %2").arg(user, client.approved ? "accepted" : "rejected"));
  send(client, VexCommand::Login, client.approved ? u"Yes" : u"no");
}

void VexTestServer::sendList(Client &client) {
  std::vector<PanelEntry> entries;
  const QDir folder(m_options.panelsFolder);
  for (const QString &file : folder.entryList(QDir::Files, QDir::Name)) {
    if (!file.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive)) continue;
    if (file.startsWith(QLatin1String("hardwaremap"), Qt::CaseInsensitive)) continue;
    QFile f(folder.filePath(file));
    const QString document =
        f.open(QIODevice::ReadOnly) ? decodeWindows1252(f.readAll()) : QString();
    entries.push_back({file.left(file.size() - 4), captionOf(document)});
  }
  log(QStringLiteral("sent the list of %1 panels").arg(entries.size()));
  send(client, VexCommand::PanelList, writePanelList(entries));
}

QString VexTestServer::panelFile(const QString &name) const {
  if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name.startsWith(u'.'))
    return QString();
  const QString file = name.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive)
                           ? name
                           : name + QStringLiteral(".xml");
  return QDir(m_options.panelsFolder).filePath(file);
}

void VexTestServer::deliverPanel(Client &client, const QString &name) {
  QFile file(panelFile(name));
  if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly)) {
    log(QStringLiteral("no panel %1").arg(name));
    return;
  }
  log(QStringLiteral("delivered %1").arg(name));
  send(client, VexCommand::Panel, name + kFieldSeparator + decodeWindows1252(file.readAll()));
}

void VexTestServer::storePanel(Client &client, QStringView payload) {
  const qsizetype sep = payload.indexOf(kFieldSeparator);
  const QString name = payload.left(qMax<qsizetype>(sep, 0)).toString();
  const QString path = sep < 0 ? QString() : panelFile(name);
  if (path.isEmpty()) {
    log(QStringLiteral("store refused: bad name %1").arg(name));
    return;
  }
  QSaveFile file(path);
  const QByteArray bytes = encodeWindows1252(payload.mid(sep + kFieldSeparator.size()).toString());
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    log(QStringLiteral("store of %1 failed: %2").arg(name, file.errorString()));
    return;
  }
  log(QStringLiteral("stored %1").arg(name));
  sendList(client);
}

void VexTestServer::send(Client &client, int code, QStringView payload) {
  // The server fills the header fields with numbers of its own.
  QString message = buildVexMessage(code, payload);
  message.replace(3, 12, QStringLiteral("00010000000A"));
  sendBytes(client, encodeWindows1252(message));
}

void VexTestServer::sendBytes(Client &client, const QByteArray &bytes) {
  if (m_options.chunkSize <= 0 && !client.closeAfterLimit) {
    client.socket->write(bytes);
    client.sent += bytes.size();
    return;
  }
  client.queue += bytes;
  pump(client);
  if (!client.queue.isEmpty() && !client.pump.isActive()) client.pump.start();
}

void VexTestServer::pump(Client &client) {
  qint64 n = m_options.chunkSize > 0 ? qMin<qint64>(m_options.chunkSize, client.queue.size())
                                     : client.queue.size();
  if (client.closeAfterLimit) n = qMin(n, m_options.closeAfterBytes - client.sent);
  if (n > 0) {
    client.socket->write(client.queue.left(n));
    client.queue.remove(0, n);
    client.sent += n;
  }
  if (client.closeAfterLimit && client.sent >= m_options.closeAfterBytes) {
    log(QStringLiteral("closing the link after %1 bytes").arg(client.sent));
    client.pump.stop();
    client.queue.clear();
    // Later, so that no caller is left holding a client that went away.
    QMetaObject::invokeMethod(client.socket, &QTcpSocket::disconnectFromHost, Qt::QueuedConnection);
    return;
  }
  if (client.queue.isEmpty()) client.pump.stop();
}
