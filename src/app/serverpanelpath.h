#pragma once

#include <QString>

class MainWindowLogic;
class PanelEditor;

// A panel that came from the routing server carries a server path such as
// "tcp://10.0.0.5:5200/Studio1.xml" where a local panel carries its file path.
bool isServerPanelPath(const QString &path);

// The server a server path names, "address:port" as messages show it.
QString serverOfPanelPath(const QString &serverPath);

// Opens a server panel named by its server path (a recent panel, a hit of
// Find): the open window of that path, or null after asking the panel's own
// server for it (its window opens when the server delivers it). Connected
// elsewhere or not at all, the user is told and offered to connect to that
// server. A panel the server no longer lists is not asked for: `notListed`
// is set when given, otherwise the user is told.
PanelEditor *openServerPanel(MainWindowLogic &designer, const QString &serverPath,
                             bool *notListed = nullptr);
