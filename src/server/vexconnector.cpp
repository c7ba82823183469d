#include "server/vexconnector.h"

#include <QList>
#include <algorithm>

#include "model/settings.h"
#include "model/uiservice.h"
#include "server/serverhost.h"

using namespace VexProtocol;

namespace {
// The most delivered panel text waiting for its window at one time.
constexpr qsizetype kDeferredCap = 64 * 1024 * 1024;

// A user's request and a read-back name the same panel alike.
QString requestKey(const QString &name) { return listedPanelName(name).toLower(); }

QStringView withoutTrailingSpace(QStringView text) {
  while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
  return text;
}

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
    : QObject(parent), m_host(host), m_link(std::move(connection)), m_receiveBuffer(receiveCap) {
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
  const ProgramSettings &s = programSettings();
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

QString VexConnector::derivePanelPath(const QString &panelName) const {
  const ProgramSettings &s = programSettings();
  return QStringLiteral("tcp://") + s.serverAddress + u':' + QString::number(s.serverPort) + u'/' +
         panelName + QStringLiteral(".xml");
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
  send(VexCommand::Login,
       passEncodeV2(userName, m_loginKey) + kLoginSeparator + passEncodeV2(password, m_loginKey));
}

void VexConnector::linkConnected() {
  // Text left over from an earlier link can never be completed.
  m_receiveBuffer.clear();
  m_approvedOnLink = false;
  m_listOnLink = false;
  send(VexCommand::Hello, u"F");
}

void VexConnector::linkClosed() {
  // The approval, the lists and the queue are kept for the next link.
  m_approvedOnLink = false;
}

void VexConnector::received(const QString &data) {
  // The buffer is cut down before any message is handled, so a message box
  // that lets further text arrive meanwhile sees only that text.
  const VexReceiveBuffer::Pieces pieces = m_receiveBuffer.append(data);
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
    case VexCommand::PanelNames:
      m_panelList = message.code == VexCommand::PanelList ? readPanelList(message.payload)
                                                          : readPanelNames(message.payload);
      m_listOnLink = true;
      emit panelListChanged();
      break;
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
    // A password given for this connection answers the server by itself;
    // the dialog asks only when none is known or it was refused.
    const ProgramSettings &s = programSettings();
    if (!s.loginPassword.isEmpty() && !m_passwordRejected)
      sendLogin(s.loginName, s.loginPassword);
    else
      emit loginRequested();
  } else {
    takeServerAddress(payload.trimmed());
  }
}

void VexConnector::answerToLogin(QStringView payload) {
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
  defer([this] {
    m_host.ui().message(QStringLiteral("Login Rejected."));
    // The dialog again, so that the user can try once more on this link.
    emit loginRequested();
  });
}

bool VexConnector::takeServerAddress(QStringView trimmedPayload) {
  const QList<QStringView> parts = trimmedPayload.split(u"|||");
  if (parts.size() < 2) return true;
  ProgramSettings &s = programSettings();
  s.serverAddress = parts[0].trimmed().toString();
  const qint32 port = readServerNumber(parts[1]);
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
    defer([this, shown = shownName(name)] {
      m_host.ui().message(QStringLiteral("The server delivered a panel named \"") + shown +
                          QStringLiteral("\", which cannot be used as a panel name (it holds "
                                         "\"/\", \"..\" or control characters, or is "
                                         "longer than 255 characters). The panel was not opened."));
    });
    return;
  }
  const QString path = derivePanelPath(name);
  if (m_host.isPanelPathOpen(path)) return;  // the open panel is neither replaced nor refreshed
  const qsizetype bytes = document.size() * qsizetype(sizeof(QChar));
  if (m_deferredBytes + bytes > kDeferredCap) return;  // a flood while a box is open
  defer(
      [this, text = document.toString(), path] {
        if (!m_host.isPanelPathOpen(path))
          m_host.openDeliveredPanel(text, path, panelTagFromServerPath(path));
      },
      bytes);
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
  m_readBacks.push_back({name, panelDocument, std::move(done), timer});
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

void VexConnector::defer(std::function<void()> job, qsizetype bytes) {
  const bool idle = m_deferred.empty();
  m_deferred.emplace_back(std::move(job), bytes);
  m_deferredBytes += bytes;
  if (idle) QMetaObject::invokeMethod(this, &VexConnector::runDeferred, Qt::QueuedConnection);
}

void VexConnector::runDeferred() {
  // A box opened by a job runs the event loop; jobs queued meanwhile are run
  // here once it closes, whether or not more text arrives.
  if (m_runningDeferred) return;
  m_runningDeferred = true;
  while (!m_deferred.empty()) {
    auto [job, bytes] = std::move(m_deferred.front());
    m_deferred.pop_front();
    m_deferredBytes -= bytes;
    job();
  }
  m_runningDeferred = false;
}
