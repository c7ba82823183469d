#include "ui/serverviews.h"

#include <QWidget>

#include "server/serversession.h"
#include "ui/connectdialog.h"
#include "ui/logindialog.h"
#include "ui/openpanelviavexdialog.h"

ServerViews::ServerViews(ServerSession &session, QWidget *mainWindow)
    : QObject(mainWindow),
      m_connect(new ConnectDialog(session.connectDialog(), mainWindow)),
      m_login(new LoginDialog(session.loginDialog(), mainWindow)),
      m_open(new OpenPanelViaVexDialog(session.openDialog(), mainWindow)) {}
