#include "server/frmopenpanelviavex.h"

#include "model/helpmanual.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "server/serverhost.h"
#include "server/serversession.h"
#include "server/vexconnector.h"

frmOpenPanelViaVex::frmOpenPanelViaVex(ServerSession &session, QObject *parent)
    : QObject(parent), m_session(session) {}

void frmOpenPanelViaVex::setListIndex(int index) {
  m_listIndex = index >= 0 && index < m_lines.size() ? index : -1;
}

void frmOpenPanelViaVex::fill() {
  m_lines.clear();
  if (frmTcpVexConnector *connector = m_session.connectorIfCreated())
    for (const clsPanelEntry &entry : connector->collPanelList())
      m_lines << entry.PanelName + u'\t' + entry.PanelCaption;
  // The first line is chosen, so that Enter opens it at once.
  m_listIndex = m_lines.isEmpty() ? -1 : 0;
  emit listChanged();
}

void frmOpenPanelViaVex::Show() {
  if (!m_visible) fill();
  m_visible = true;
  emit visibleChanged(true);
}

void frmOpenPanelViaVex::RefreshList() {
  if (!m_visible) return;
  const QString selected = m_listIndex >= 0 ? m_lines[m_listIndex] : QString();
  fill();
  if (!selected.isEmpty()) setListIndex(m_lines.indexOf(selected));
  emit listChanged();
}

void frmOpenPanelViaVex::butOpen_Click() {
  if (m_listIndex < 0) {
    m_session.host().ui().failure(
        QStringLiteral("No Panel selected to open\n\n") +
        (m_lines.isEmpty() ? QStringLiteral("The server lists no panels. Save a panel to the "
                                            "server first, or open a local panel file.")
                           : QStringLiteral("Select a panel in the list, then press Open.")));
    return;
  }
  const QString line = m_lines[m_listIndex];
  const qsizetype tab = line.indexOf(u'\t');
  m_session.Connector().OpenPanel(tab < 0 ? line : line.left(tab));
  Close();
}

void frmOpenPanelViaVex::Close() {
  if (!m_visible) return;
  m_visible = false;
  emit visibleChanged(false);
}

void frmOpenPanelViaVex::ShowHelp() { OpenHelp(m_session.host().ui()); }
