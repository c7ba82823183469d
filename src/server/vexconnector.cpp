#include "server/vexconnector.h"

#include <QList>
#include <QLocale>
#include <algorithm>

#include "model/settings.h"
#include "model/uiservice.h"
#include "server/connectionmemory.h"
#include "server/serverhost.h"

using namespace VexProtocol;

namespace {
// A user's request and a read-back name the same panel alike.
QString requestKey(const QString &name) { return listedPanelName(name).toLower(); }

QStringView withoutTrailingSpace(QStringView text) {
  while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
  return text;
}

// A count as messages show it, the same on every system: 67,108,864.
QString shownCount(qsizetype count) { return QLocale(QLocale::English).toString(count); }

// A name as a message can show it: control characters as "?", long ones cut.
QString shownName(QStringView name) {
  QString shown = name.left(80).toString();
  for (QChar &c : shown)
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) c = u'?';
  if (name.size() > 80) shown += QStringLiteral("...");
  return shown;
}
}  // namespace

VexConnector::VexConnector(ServerHost &host, std::unique_ptr<VexConnection> connection,
                           qsizetype receiveCap, QObject *parent)
    : QObject(parent),
      m_host(host),
      m_link(std::move(connection)),
      m_receiveBuffer(receiveCap),
      m_address(programSettings().serverAddress),
      m_port(programSettings().serverPort) {
  connect(m_link.get(), &VexConnection::connected, this, &VexConnector::linkConnected);
  connect(m_link.get(), &VexConnection::Closed, this, &VexConnector::linkClosed);
  connect(m_link.get(), &VexConnection::receivedData, this, &VexConnector::received);
  connect(m_link.get(), &VexConnection::statusChanged, this, &VexConnector::statusRefreshRequested);
  stateTimer.setInterval(1000);
  connect(&stateTimer, &QTimer::timeout, this, &VexConnector::stateTick);
  stateTimer.start();
}

VexConnector::~VexConnector() {
  m_link->disconnect(this);
  m_link.reset();
}

void VexConnector::connectToHost(const QString &, quint16) {
  ProgramSettings &s = programSettings();
  m_address = s.serverAddress;
  m_port = s.serverPort;
  // A login belongs to the server it was given for.
  if (s.loginServer.compare(serverName(), Qt::CaseInsensitive) != 0) {
    s.loginPassword.clear();
    s.loginServer.clear();
  }
  m_passwordRejected = false;
  // What the link up now was granted belongs to the server it goes to.
  m_approvedOnLink = false;
  m_listOnLink = false;
  emit connectingStarted();
  m_link->setDefaultPort(s.serverPort);
  m_link->forceConnect(s.serverAddress);
}

void VexConnector::disconnectFromHost() {
  if (linkState() != 0) m_link->closeMasterConnection();
}

qint16 VexConnector::linkState() const { return m_link->connectionState() == 7 ? 7 : 0; }

bool VexConnector::isConnectingPaused() const {
  const QString name = m_link->currentName();
  return name == QLatin1String("Paused") || name == QLatin1String("Hunt Paused");
}

bool VexConnector::isHuntingEnabled() const { return m_link->huntingInitialized(); }

QString VexConnector::serverName(const QString &address, quint16 port) {
  return address + u':' + QString::number(port);
}

QString VexConnector::derivePanelPath(const QString &panelName) const {
  return QStringLiteral("tcp://") + serverName() + u'/' + panelName + QStringLiteral(".xml");
}

bool VexConnector::doesPanelNameExist(const QString &name) const {
  for (const PanelEntry &entry : m_panelList) {
    if (entry.panelName.compare(name, Qt::CaseInsensitive) == 0) return true;
    if ((entry.panelName + QStringLiteral(".xml")).compare(name, Qt::CaseInsensitive) == 0)
      return true;
  }
  return false;
}

bool VexConnector::send(int code, QStringView payload) {
  return m_link->sendVexCommand(buildVexMessage(code, payload));
}

void VexConnector::openPanel(const QString &panel) {
  // A request sent before the server approved this client would be lost.
  if (linkState() != 7 || !m_approvedOnLink) {
    m_pendingPanels << panel;
  } else {
    send(VexCommand::Panel, panel);
  }
  m_userRequests << requestKey(panel);
}

bool VexConnector::savePanel(const QString &panelName, const QString &panelDocument) {
  QString why, whatToDo;
  if (linkState() != 7) {
    why = QStringLiteral("not connected to the server");
    whatToDo = QStringLiteral(
        "Connect with File > Connect (the status line turns green), then save again.");
  } else if (!m_approvedOnLink) {
    why = QStringLiteral("not logged in to the server");
    whatToDo = QStringLiteral("Log in with File > Connect, then save again.");
  } else {
    const QString name = storedPanelName(panelName);
    if (send(VexCommand::StorePanel, name + kFieldSeparator + panelDocument)) return true;
    why = QStringLiteral("the link to the server did not take the panel");
    whatToDo = QStringLiteral("Check the network link to the server, then save again.");
  }
  m_host.ui().failure(QStringLiteral("Failed to save panel - ") + why +
                          QStringLiteral("\n\nThe panel stays open with its changes. ") + whatToDo,
                      Ui::Severity::Critical);
  return false;
}

void VexConnector::sendLogin(const QString &userName, const QString &password) {
  m_passwordRejected = false;
  if (send(VexCommand::Login, passEncodeV2(userName, m_loginKey) + kLoginSeparator +
                                  passEncodeV2(password, m_loginKey)))
    m_loginSent = true;
}

void VexConnector::linkConnected() {
  // Text left over from an earlier link can never be completed.
  m_receiveBuffer.clear();
  m_approvedOnLink = false;
  m_listOnLink = false;
  m_loginSent = false;
  send(VexCommand::Hello, u"F");
}

void VexConnector::linkClosed() {
  // The approval, the lists and the queue are kept for the next link.
  m_approvedOnLink = false;
  m_loginSent = false;
}

void VexConnector::received(const QString &data) {
  // The buffer is cut down before any message is handled, so a message box
  // that lets further text arrive meanwhile sees only that text.
  const qsizetype droppedBefore = m_receiveBuffer.droppedMessages();
  const VexReceiveBuffer::Pieces pieces = m_receiveBuffer.append(data);
  if (m_receiveBuffer.droppedMessages() != droppedBefore)
    deferMessage(QStringLiteral("The server sent a message longer than %1 characters; it was "
                                "left out, and a panel it held was not opened.")
                     .arg(shownCount(m_receiveBuffer.cap())));
  for (QStringView piece : pieces.views)
    if (const std::optional<VexMessage> message = parseVexPiece(piece)) handleMessage(*message);
}

void VexConnector::handleMessage(const VexMessage &message) {
  switch (message.code) {
    case VexCommand::Hello:
      answerToHello(message.payload);
      break;
    case VexCommand::Login:
      answerToLogin(message.payload);
      break;
    case VexCommand::PanelList:
    case VexCommand::PanelNames: {
      qsizetype leftOut = 0;
      m_panelList = message.code == VexCommand::PanelList
                        ? readPanelList(message.payload, &leftOut)
                        : readPanelNames(message.payload, &leftOut);
      if (leftOut > 0)
        qWarning(
            "The server's panel list had %lld lines longer than %lld characters; they were "
            "left out.",
            static_cast<long long>(leftOut), static_cast<long long>(kLongestPanelListLine));
      m_listOnLink = true;
      emit panelListChanged();
      break;
    }
    case VexCommand::Panel:
      updateUserPanel(message.payload);
      break;
    default:
      break;
  }
}

void VexConnector::answerToHello(QStringView payload) {
  const QString answer = payload.trimmed().toString().toLower();
  if (answer == QLatin1String("no") || answer == QLatin1String("no0") ||
      answer == QLatin1String("no1")) {
    approve();
  } else if (answer == QLatin1String("yes")) {
    m_loginApproved = false;
    // A password given for this server answers it by itself; the dialog
    // asks when none is known for it or it was refused.
    const ProgramSettings &s = programSettings();
    if (!s.loginPassword.isEmpty() && !m_passwordRejected &&
        s.loginServer.compare(serverName(), Qt::CaseInsensitive) == 0)
      sendLogin(s.loginName, s.loginPassword);
    else
      emit loginRequested();
  } else {
    takeServerAddress(payload.trimmed());
  }
}

void VexConnector::answerToLogin(QStringView payload) {
  // Only a login this link sent is answered: answers nobody asked for
  // would otherwise keep the user behind boxes.
  if (!m_loginSent) return;
  m_loginSent = false;
  const QStringView trimmed = payload.trimmed();
  if (payload.size() >= 3 && trimmed.toString().toLower() != QLatin1String("no")) {
    if (payload.left(3) == QLatin1String("Yes")) {
      approve();
    } else {
      m_loginApproved = false;
      if (!takeServerAddress(trimmed)) return;
    }
  } else {
    m_loginApproved = false;
  }
  if (m_loginApproved) return;
  m_passwordRejected = true;
  // The dialog again, so that the user can try once more on this link.
  deferBox(QStringLiteral("Login Rejected."), [this] {
    m_host.ui().message(QStringLiteral("Login Rejected."));
    emit loginRequested();
  });
}

bool VexConnector::takeServerAddress(QStringView trimmedPayload) {
  const qsizetype separator = trimmedPayload.indexOf(u"|||");
  if (separator < 0) return true;
  const QStringView address = trimmedPayload.left(separator).trimmed();
  if (!isHostAddress(address)) {
    qWarning(
        "The server announced an address that is not a host name or IP address (%lld "
        "characters); it was ignored.",
        static_cast<long long>(address.size()));
    return true;
  }
  QStringView portText = trimmedPayload.mid(separator + 3);
  const qsizetype next = portText.indexOf(u"|||");
  if (next >= 0) portText = portText.left(next);
  ProgramSettings &s = programSettings();
  s.serverAddress = address.toString();
  const qint32 port = readServerNumber(portText);
  if (port < 0 || port > 65535) return false;
  s.serverPort = static_cast<quint16>(port);
  return true;
}

void VexConnector::approve() {
  m_loginApproved = true;
  m_approvedOnLink = true;
  m_passwordRejected = false;
  sendApprovedRequests();
}

void VexConnector::sendApprovedRequests() {
  send(VexCommand::Approved, QStringView());
  const QStringList pending = m_pendingPanels;
  m_pendingPanels = QStringList();
  for (const QString &name : pending) send(VexCommand::Panel, name);
}

void VexConnector::updateUserPanel(QStringView payload) {
  const qsizetype sep = payload.indexOf(kFieldSeparator);
  if (sep < 0) return;
  const QString name = payload.left(sep).toString();
  QStringView document = payload.mid(sep + kFieldSeparator.size());
  const qsizetype nextSep = document.indexOf(kFieldSeparator);
  if (nextSep >= 0) document = document.left(nextSep);
  if (answerReadBack(name, document)) return;
  if (!isUsablePanelName(name)) {
    deferMessage(QStringLiteral("The server delivered a panel named \"") + shownName(name) +
                 QStringLiteral("\", which cannot be used as a panel name (it holds "
                                "\"/\", \"..\" or control characters, or is "
                                "longer than 255 characters). The panel was not opened."));
    return;
  }
  const QString path = derivePanelPath(name);
  if (m_host.isPanelPathOpen(path)) return;  // the open panel is neither replaced nor refreshed
  // The same panel delivered again while it waits is not kept twice.
  const QString key = path.toLower();
  if (m_waitingKeys.contains(key)) return;
  // A flood while a box is open: what does not fit is left out, and said so.
  if (m_waitingPanels >= kMostWaitingPanels ||
      m_deferredChars + document.size() > m_receiveBuffer.cap()) {
    if (m_panelsLeftOut.size() < 10) m_panelsLeftOut << shownName(name);
    ++m_panelsLeftOutCount;
    deferBox(QStringLiteral("panels left out"), [this] { showPanelsLeftOut(); });
    return;
  }
  defer(
      [this, text = document.toString(), path] {
        if (!m_host.isPanelPathOpen(path))
          m_host.openDeliveredPanel(text, path, panelTagFromServerPath(path));
      },
      Waiting::Panel, key, document.size());
}

void VexConnector::showPanelsLeftOut() {
  if (m_panelsLeftOutCount == 0) return;
  QString names = m_panelsLeftOut.join(QStringLiteral(", "));
  if (m_panelsLeftOutCount > m_panelsLeftOut.size())
    names += QStringLiteral(" and %1 more").arg(m_panelsLeftOutCount - m_panelsLeftOut.size());
  m_panelsLeftOut.clear();
  m_panelsLeftOutCount = 0;
  m_host.ui().message(QStringLiteral("The server delivered more panels than can wait to open at "
                                     "once (%1 characters in all). These were not opened: ")
                          .arg(shownCount(m_receiveBuffer.cap())) +
                      names + QStringLiteral(".\r\nOpen them again once the others are open."));
}

bool VexConnector::isUsablePanelName(QStringView name) {
  if (name.isEmpty() || name.size() > 255 || name.contains(u'/') || name.contains(u".."))
    return false;
  return std::none_of(name.begin(), name.end(),
                      [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

void VexConnector::confirmSave(const QString &panelName, const QString &panelDocument,
                               std::function<void(bool)> done) {
  const QString name = listedPanelName(panelName);
  // Deleted later: a read-back may end inside its own timer's signal.
  std::shared_ptr<QTimer> timer(new QTimer, [](QTimer *t) { t->deleteLater(); });
  timer->setSingleShot(true);
  QTimer *t = timer.get();
  connect(t, &QTimer::timeout, this, [this, t] {
    const auto it = std::find_if(m_readBacks.begin(), m_readBacks.end(),
                                 [t](const ReadBack &r) { return r.timer.get() == t; });
    if (it == m_readBacks.end()) return;
    std::function<void(bool)> failed = std::move(it->done);
    m_readBacks.erase(it);
    defer([failed] { failed(false); });
  });
  m_readBacks.push_back({name, m_link->carried(panelDocument), std::move(done), timer});
  t->start(m_readBackTimeoutMs);
  send(VexCommand::Panel, name);  // an unsent request simply times out
}

bool VexConnector::answerReadBack(const QString &name, QStringView document) {
  const QString key = requestKey(name);
  const bool userAsked = m_userRequests.removeOne(key);
  const auto it = std::find_if(m_readBacks.begin(), m_readBacks.end(),
                               [&](const ReadBack &r) { return requestKey(r.name) == key; });
  if (it == m_readBacks.end()) return false;
  const bool same =
      withoutTrailingSpace(document) == withoutTrailingSpace(QStringView(it->expected));
  std::function<void(bool)> done = std::move(it->done);
  it->timer->stop();
  it->timer->disconnect(this);
  m_readBacks.erase(it);
  defer([done, same] { done(same); });
  return !userAsked;
}

bool VexConnector::defer(std::function<void()> job, Waiting kind, const QString &key,
                         qsizetype chars) {
  if (!key.isEmpty() && m_waitingKeys.contains(key)) return false;
  if (!key.isEmpty()) m_waitingKeys.insert(key);
  const bool idle = m_deferred.empty();
  m_deferred.push_back({std::move(job), kind, key, chars});
  m_deferredChars += chars;
  if (kind == Waiting::Box) ++m_waitingBoxes;
  if (kind == Waiting::Panel) ++m_waitingPanels;
  if (idle) QMetaObject::invokeMethod(this, &VexConnector::runDeferred, Qt::QueuedConnection);
  return true;
}

void VexConnector::deferMessage(const QString &text) {
  deferBox(text, [this, text] { m_host.ui().message(text); });
}

void VexConnector::deferBox(const QString &key, std::function<void()> show) {
  if (m_waitingKeys.contains(key)) return;
  if (m_waitingBoxes >= kMostWaitingBoxes) {
    qWarning("A message of the server link was left out (too many waiting): %s",
             qPrintable(key.left(200)));
    return;
  }
  defer(std::move(show), Waiting::Box, key);
}

void VexConnector::runDeferred() {
  // A box opened by a job runs the event loop; jobs queued meanwhile are run
  // here once it closes, whether or not more text arrives.
  if (m_runningDeferred) return;
  m_runningDeferred = true;
  while (!m_deferred.empty()) {
    Deferred next = std::move(m_deferred.front());
    m_deferred.pop_front();
    m_deferredChars -= next.chars;
    if (next.kind == Waiting::Box) --m_waitingBoxes;
    if (next.kind == Waiting::Panel) --m_waitingPanels;
    m_waitingKeys.remove(next.key);
    next.job();
  }
  m_runningDeferred = false;
}
