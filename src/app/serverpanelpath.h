#pragma once

#include <QString>

class MDIFormDesigner;
class frmPanel;

// A panel that came from the routing server carries a server path such as
// "tcp://10.0.0.5:5200/Studio1.xml" where a local panel carries its file path.
bool IsServerPanelPath(const QString &path);

// Opens a server panel named by its server path, as the server's panel list
// does: the open window of that path, or null after asking the server for the
// panel (its window opens when the server delivers it; while the link is
// down the request waits for it).
frmPanel *OpenServerPanel(MDIFormDesigner &designer, const QString &serverPath);
