#include "app/serverpanelpath.h"

#include "app/mdiformdesigner.h"
#include "server/serversession.h"
#include "server/vexconnector.h"
#include "server/vexprotocol.h"
#include "surface/frmpanel.h"

bool IsServerPanelPath(const QString &path) {
  return path.startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive);
}

frmPanel *OpenServerPanel(MDIFormDesigner &designer, const QString &serverPath) {
  for (frmPanel *panel : designer.collOpenPanels())
    if (panel->model().WindowTag.compare(serverPath, Qt::CaseInsensitive) == 0) return panel;
  // The server knows the panel by the name its list shows: the path's last
  // part without ".xml". The window opens when the server delivers it.
  const QString name = ListedPanelName(serverPath);
  if (!name.isEmpty()) designer.server().Connector().OpenPanel(name);
  return nullptr;
}
