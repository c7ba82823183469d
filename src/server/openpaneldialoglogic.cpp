#include "server/openpaneldialoglogic.h"

#include "model/helpmanual.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "server/serverhost.h"
#include "server/serversession.h"
#include "server/vexconnector.h"

OpenPanelDialogLogic::OpenPanelDialogLogic(ServerSession &session, QObject *parent)
    : QObject(parent), m_session(session) {}

void OpenPanelDialogLogic::setListIndex(int index) {
  m_listIndex = index >= 0 && index < m_lines.size() ? index : -1;
}

void OpenPanelDialogLogic::fill() {
  m_lines.clear();
  if (VexConnector *connector = m_session.connectorIfCreated())
    for (const PanelEntry &entry : connector->panelList())
      m_lines << entry.panelName + u'\t' + entry.panelCaption;
  // The first line is chosen, so that Enter opens it at once.
  m_listIndex = m_lines.isEmpty() ? -1 : 0;
  emit listChanged();
}

void OpenPanelDialogLogic::show() {
  if (!m_visible) fill();
  m_visible = true;
  emit visibleChanged(true);
}

void OpenPanelDialogLogic::refreshList() {
  if (!m_visible) return;
  const QString selected = m_listIndex >= 0 ? m_lines[m_listIndex] : QString();
  fill();
  if (!selected.isEmpty()) setListIndex(m_lines.indexOf(selected));
  emit listChanged();
}

void OpenPanelDialogLogic::openSelected() {
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
  m_session.Connector().openPanel(tab < 0 ? line : line.left(tab));
  close();
}

void OpenPanelDialogLogic::close() {
  if (!m_visible) return;
  m_visible = false;
  emit visibleChanged(false);
}

void OpenPanelDialogLogic::showHelp() { openHelp(m_session.host().ui()); }
