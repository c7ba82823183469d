#include "app/serverpanelpath.h"

#include "app/mainwindowlogic.h"
#include "model/numbers.h"
#include "model/uiservice.h"
#include "server/serversession.h"
#include "server/vexconnector.h"
#include "server/vexprotocol.h"
#include "surface/paneleditor.h"

namespace {
const QString kScheme = QStringLiteral("tcp://");

// Offers to connect to the panel's server and asks it for the panel there.
void offerItsServer(MainWindowLogic &designer, const QString &serverPath, const QString &name,
                    bool connected) {
  const QString server = serverOfPanelPath(serverPath);
  const QString now =
      connected ? QStringLiteral("connected to ") + designer.server().Connector().serverName()
                : QStringLiteral("not connected to a server");
  if (designer.ui().message(
          QStringLiteral("The panel ") + name + QStringLiteral(" is on the server ") + server +
              QStringLiteral(", and the designer is ") + now + QStringLiteral(".\r\nConnect to ") +
              server + QStringLiteral(" and open the panel there?"),
          Ui::Buttons::YesNo) != Ui::Answer::Yes)
    return;
  const qsizetype colon = server.lastIndexOf(u':');
  quint16 port = 0;
  if (colon <= 0 || !readPort(server.mid(colon + 1), &port)) {
    designer.ui().failure(QStringLiteral("The server ") + server +
                          QStringLiteral(" names no usable port.\r\nConnect with File > Connect "
                                         "to Server… instead."));
    return;
  }
  designer.server().connectToServer(server.left(colon), port);
  // Sent once the server has approved the designer.
  designer.server().Connector().openPanel(name);
}
}  // namespace

bool isServerPanelPath(const QString &path) {
  return path.startsWith(kScheme, Qt::CaseInsensitive);
}

QString serverOfPanelPath(const QString &serverPath) {
  const qsizetype slash = serverPath.lastIndexOf(u'/');
  if (!isServerPanelPath(serverPath) || slash < kScheme.size()) return QString();
  return serverPath.mid(kScheme.size(), slash - kScheme.size());
}

PanelEditor *openServerPanel(MainWindowLogic &designer, const QString &serverPath,
                             bool *notListed) {
  for (PanelEditor *panel : designer.openPanels())
    if (panel->model().documentPath.compare(serverPath, Qt::CaseInsensitive) == 0) return panel;
  // The server knows the panel by the name its list shows: the path's last
  // part without ".xml". The window opens when the server delivers it.
  const QString name = listedPanelName(serverPath);
  if (name.isEmpty()) return nullptr;
  VexConnector &connector = designer.server().Connector();
  const bool connected = connector.linkState() == 7;
  // Another server may hold a panel of the same name: only its own server is asked.
  if (!connected || connector.derivePanelPath(name).compare(serverPath, Qt::CaseInsensitive) != 0) {
    offerItsServer(designer, serverPath, name, connected);
    return nullptr;
  }
  if (connector.hasPanelListOfThisLink() && !connector.doesPanelNameExist(name)) {
    if (notListed)
      *notListed = true;
    else
      designer.ui().message(QStringLiteral("The panel ") + name +
                            QStringLiteral(" is no longer on the server ") +
                            serverOfPanelPath(serverPath) + u'.');
    return nullptr;
  }
  connector.openPanel(name);
  return nullptr;
}
