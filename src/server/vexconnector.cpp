#include "server/vexconnector.h"

#include <QList>
#include <algorithm>

#include "model/settings.h"
#include "model/uiservice.h"
#include "server/serverhost.h"

using namespace modClientProtocolConsts;

namespace {
// The most delivered panel text waiting for its window at one time.
constexpr qsizetype kDeferredCap = 64 * 1024 * 1024;

// A user's request and a read-back name the same panel alike.
QString requestKey(const QString &name) { return ListedPanelName(name).toLower(); }

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

frmTcpVexConnector::frmTcpVexConnector(ServerHost &host, std::unique_ptr<VexConnection> connection,
                                       qsizetype receiveCap, QObject *parent)
    : QObject(parent),
      m_host(host),
      m_VexWinsock(std::move(connection)),
      m_strReceiveBuffer(receiveCap) {
  connect(m_VexWinsock.get(), &VexConnection::Connected, this,
          &frmTcpVexConnector::VexWinsock_Connected);
  connect(m_VexWinsock.get(), &VexConnection::Closed, this, &frmTcpVexConnector::VexWinsock_Closed);
  connect(m_VexWinsock.get(), &VexConnection::ReceivedData, this,
          &frmTcpVexConnector::VexWinsock_ReceivedData);
  connect(m_VexWinsock.get(), &VexConnection::StatusChanged, this,
          &frmTcpVexConnector::statusRefreshRequested);
  timState.setInterval(1000);
  connect(&timState, &QTimer::timeout, this, &frmTcpVexConnector::timStateTick);
  timState.start();
}

frmTcpVexConnector::~frmTcpVexConnector() {
  m_VexWinsock->disconnect(this);
  m_VexWinsock.reset();
}

void frmTcpVexConnector::Connect(const QString &, quint16) {
  const ProgramSettings &s = Settings();
  m_passwordRejected = false;
  // What the link up now was granted belongs to the server it goes to.
  m_approvedOnLink = false;
  m_listOnLink = false;
  emit connectingStarted();
  m_VexWinsock->SetDefaultPort(s.intServerPort);
  m_VexWinsock->ForceConnect(s.strServerAddress);
}

void frmTcpVexConnector::Disconnect() {
  if (GetState() != 0) m_VexWinsock->CloseMasterConnection();
}

qint16 frmTcpVexConnector::GetState() const {
  return m_VexWinsock->GetConnectionState() == 7 ? 7 : 0;
}

bool frmTcpVexConnector::IsConnectingPaused() const {
  const QString name = m_VexWinsock->CurrentName();
  return name == QLatin1String("Paused") || name == QLatin1String("Hunt Paused");
}

bool frmTcpVexConnector::IsHuntingEnabled() const { return m_VexWinsock->HuntingInitialized(); }

QString frmTcpVexConnector::DerivePanelPath(const QString &PanelName) const {
  const ProgramSettings &s = Settings();
  return QStringLiteral("tcp://") + s.strServerAddress + u':' + QString::number(s.intServerPort) +
         u'/' + PanelName + QStringLiteral(".xml");
}

bool frmTcpVexConnector::DoesPanelNameExist(const QString &strName) const {
  for (const clsPanelEntry &entry : m_collPanelList) {
    if (entry.PanelName.compare(strName, Qt::CaseInsensitive) == 0) return true;
    if ((entry.PanelName + QStringLiteral(".xml")).compare(strName, Qt::CaseInsensitive) == 0)
      return true;
  }
  return false;
}

bool frmTcpVexConnector::send(int code, QStringView payload) {
  return m_VexWinsock->SendVexCommand(BuildVexMessage(code, payload));
}

void frmTcpVexConnector::OpenPanel(const QString &strPanel) {
  // A request sent before the server approved this client would be lost.
  if (GetState() != 7 || !m_approvedOnLink) {
    m_collPendingPanels << strPanel;
  } else {
    send(VexCommand::Panel, strPanel);
  }
  m_userRequests << requestKey(strPanel);
}

bool frmTcpVexConnector::SavePanel(const QString &strPanelName, const QString &strPanelData) {
  QString why, whatToDo;
  if (GetState() != 7) {
    why = QStringLiteral("not connected to the server");
    whatToDo = QStringLiteral(
        "Connect with File > Connect (the status line turns green), then save again.");
  } else if (!m_approvedOnLink) {
    why = QStringLiteral("not logged in to the server");
    whatToDo = QStringLiteral("Log in with File > Connect, then save again.");
  } else {
    const QString name = StoredPanelName(strPanelName);
    if (send(VexCommand::StorePanel, name + strFieldSep + strPanelData)) return true;
    why = QStringLiteral("the link to the server did not take the panel");
    whatToDo = QStringLiteral("Check the network link to the server, then save again.");
  }
  m_host.ui().failure(QStringLiteral("Failed to save panel - ") + why +
                          QStringLiteral("\n\nThe panel stays open with its changes. ") + whatToDo,
                      Ui::Severity::Critical);
  return false;
}

void frmTcpVexConnector::SendLogin(const QString &UserName, const QString &Password) {
  m_passwordRejected = false;
  send(VexCommand::Login,
       PassEncodeV2(UserName, m_loginKey) + strLoginSep + PassEncodeV2(Password, m_loginKey));
}

void frmTcpVexConnector::VexWinsock_Connected() {
  // Text left over from an earlier link can never be completed.
  m_strReceiveBuffer.Clear();
  m_approvedOnLink = false;
  m_listOnLink = false;
  send(VexCommand::Hello, u"F");
}

void frmTcpVexConnector::VexWinsock_Closed() {
  // The approval, the lists and the queue are kept for the next link.
  m_approvedOnLink = false;
}

void frmTcpVexConnector::VexWinsock_ReceivedData(const QString &strNewData) {
  // The buffer is cut down before any message is handled, so a message box
  // that lets further text arrive meanwhile sees only that text.
  const VexReceiveBuffer::Pieces pieces = m_strReceiveBuffer.Append(strNewData);
  for (QStringView piece : pieces.views)
    if (const std::optional<VexMessage> message = ParseVexPiece(piece)) handleMessage(*message);
}

void frmTcpVexConnector::handleMessage(const VexMessage &message) {
  switch (message.code) {
    case VexCommand::Hello:
      answerToHello(message.payload);
      break;
    case VexCommand::Login:
      answerToLogin(message.payload);
      break;
    case VexCommand::PanelList:
    case VexCommand::PanelNames:
      m_collPanelList = message.code == VexCommand::PanelList ? ReadPanelList(message.payload)
                                                              : ReadPanelNames(message.payload);
      m_listOnLink = true;
      emit panelListChanged();
      break;
    case VexCommand::Panel:
      UpdateUserPanel(message.payload);
      break;
    default:
      break;
  }
}

void frmTcpVexConnector::answerToHello(QStringView payload) {
  const QString answer = payload.trimmed().toString().toLower();
  if (answer == QLatin1String("no") || answer == QLatin1String("no0") ||
      answer == QLatin1String("no1")) {
    approve();
  } else if (answer == QLatin1String("yes")) {
    boolLoginApproved = false;
    // A password given for this connection answers the server by itself;
    // the dialog asks only when none is known or it was refused.
    const ProgramSettings &s = Settings();
    if (!s.strLoginPassword.isEmpty() && !m_passwordRejected)
      SendLogin(s.strLoginName, s.strLoginPassword);
    else
      emit loginRequested();
  } else {
    takeServerAddress(payload.trimmed());
  }
}

void frmTcpVexConnector::answerToLogin(QStringView payload) {
  const QStringView trimmed = payload.trimmed();
  if (payload.size() >= 3 && trimmed.toString().toLower() != QLatin1String("no")) {
    if (payload.left(3) == QLatin1String("Yes")) {
      approve();
    } else {
      boolLoginApproved = false;
      if (!takeServerAddress(trimmed)) return;
    }
  } else {
    boolLoginApproved = false;
  }
  if (boolLoginApproved) return;
  m_passwordRejected = true;
  defer([this] {
    m_host.ui().message(QStringLiteral("Login Rejected."));
    // The dialog again, so that the user can try once more on this link.
    emit loginRequested();
  });
}

bool frmTcpVexConnector::takeServerAddress(QStringView trimmedPayload) {
  const QList<QStringView> parts = trimmedPayload.split(u"|||");
  if (parts.size() < 2) return true;
  ProgramSettings &s = Settings();
  s.strServerAddress = parts[0].trimmed().toString();
  const qint32 port = ReadServerNumber(parts[1]);
  if (port < 0 || port > 65535) return false;
  s.intServerPort = static_cast<quint16>(port);
  return true;
}

void frmTcpVexConnector::approve() {
  boolLoginApproved = true;
  m_approvedOnLink = true;
  m_passwordRejected = false;
  SendApprovedRequests();
}

void frmTcpVexConnector::SendApprovedRequests() {
  send(VexCommand::Approved, QStringView());
  const QStringList pending = m_collPendingPanels;
  m_collPendingPanels = QStringList();
  for (const QString &name : pending) send(VexCommand::Panel, name);
}

void frmTcpVexConnector::UpdateUserPanel(QStringView payload) {
  const qsizetype sep = payload.indexOf(strFieldSep);
  if (sep < 0) return;
  const QString name = payload.left(sep).toString();
  QStringView document = payload.mid(sep + strFieldSep.size());
  const qsizetype nextSep = document.indexOf(strFieldSep);
  if (nextSep >= 0) document = document.left(nextSep);
  if (answerReadBack(name, document)) return;
  if (!IsUsablePanelName(name)) {
    defer([this, shown = shownName(name)] {
      m_host.ui().message(QStringLiteral("The server delivered a panel named \"") + shown +
                          QStringLiteral("\", which cannot be used as a panel name (it holds "
                                         "\"/\", \"..\" or control characters, or is "
                                         "longer than 255 characters). The panel was not opened."));
    });
    return;
  }
  const QString path = DerivePanelPath(name);
  if (m_host.IsPanelPathOpen(path)) return;  // the open panel is neither replaced nor refreshed
  const qsizetype bytes = document.size() * qsizetype(sizeof(QChar));
  if (m_deferredBytes + bytes > kDeferredCap) return;  // a flood while a box is open
  defer(
      [this, text = document.toString(), path] {
        if (!m_host.IsPanelPathOpen(path))
          m_host.OpenDeliveredPanel(text, path, PanelTagFromServerPath(path));
      },
      bytes);
}

bool frmTcpVexConnector::IsUsablePanelName(QStringView name) {
  if (name.isEmpty() || name.size() > 255 || name.contains(u'/') || name.contains(u".."))
    return false;
  return std::none_of(name.begin(), name.end(),
                      [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

void frmTcpVexConnector::ConfirmSave(const QString &strPanelName, const QString &strPanelData,
                                     std::function<void(bool)> done) {
  const QString name = ListedPanelName(strPanelName);
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
  m_readBacks.push_back({name, strPanelData, std::move(done), timer});
  t->start(m_readBackTimeoutMs);
  send(VexCommand::Panel, name);  // an unsent request simply times out
}

bool frmTcpVexConnector::answerReadBack(const QString &name, QStringView document) {
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

void frmTcpVexConnector::defer(std::function<void()> job, qsizetype bytes) {
  const bool idle = m_deferred.empty();
  m_deferred.emplace_back(std::move(job), bytes);
  m_deferredBytes += bytes;
  if (idle) QMetaObject::invokeMethod(this, &frmTcpVexConnector::runDeferred, Qt::QueuedConnection);
}

void frmTcpVexConnector::runDeferred() {
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
