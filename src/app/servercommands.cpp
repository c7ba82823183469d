// The main window's side of the server link: the connect dialog, the status
// line, panels the server delivers, and the server branches of saving.
#include <QEventLoop>
#include <QPointer>
#include <optional>

#include "app/mainwindowlogic.h"
#include "app/serverpanelpath.h"
#include "model/controlrecord.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "panelfile/panelwriter.h"
#include "server/serversession.h"
#include "server/vexconnector.h"
#include "server/vexprotocol.h"
#include "surface/paneleditor.h"

namespace {
// The server stores a panel under the text after the last "\" of its name,
// a rule servers rely on: a panel opened as "Archive\Studio" would be stored
// as "Studio". It is stored under another name only when the user says so.
bool mayStoreUnder(Ui &ui, const VexConnector &connector, const QString &path) {
  if (!isServerPanelPath(path)) return true;  // a name given to Save Panel As
  QString opened = path.mid(path.lastIndexOf(u'/') + 1);
  if (opened.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive)) opened.chop(4);
  const QString stored = listedPanelName(path);
  if (stored == opened) return true;
  const QString question =
      QStringLiteral(
          "The server stores the panel %1 under the name %2.\r\nSave as %2 on the "
          "server%3?")
          .arg(opened, stored,
               connector.doesPanelNameExist(stored) ? QStringLiteral(", replacing it") : QString());
  return ui.message(question, Ui::Buttons::YesNo) == Ui::Answer::Yes;
}
}  // namespace

void MainWindowLogic::connectToServer() { m_server->connectDialog().show(); }

void MainWindowLogic::workLocally() {
  for (const PanelEditor *panel : m_shown) {
    if (!panel->needToSave() || !isServerPanelPath(panel->model().documentPath)) continue;
    if (m_ui.message(QStringLiteral("Some panels from the server have unsaved changes. Work "
                                    "locally anyway? They stay open and can be saved as local "
                                    "files with Save Panel As."),
                     Ui::Buttons::YesNo) != Ui::Answer::Yes)
      return;
    break;
  }
  m_server->connectDialog().workLocally();
}

void MainWindowLogic::setConnectedLabel() { m_server->setConnectedLabel(); }

bool MainWindowLogic::isPanelPathOpen(const QString &path) const {
  for (const PanelEditor *panel : m_shown)
    if (panel->model().documentPath.compare(path, Qt::CaseInsensitive) == 0) return true;
  return false;
}

void MainWindowLogic::openDeliveredPanel(const QString &document, const QString &path,
                                         const QString &tagName) {
  openPanelText(document, path, tagName);
}

bool MainWindowLogic::savePanelToServer(PanelEditor *panel, const QString &path) {
  // The same text a local save writes to its file.
  const QString document =
      buildPanelDocument(panel->model(), programSettings().serverMode) + QStringLiteral("\r\n");
  VexConnector &connector = m_server->Connector();
  // A panel of one server is never stored on another under its name. The
  // server the link goes to decides, never an address a server announces.
  const QString own = serverOfPanelPath(path);
  const QString current = connector.serverName();
  if (!own.isEmpty() && own.compare(current, Qt::CaseInsensitive) != 0) {
    m_ui.failure(QStringLiteral("Failed to save panel - it came from the server %1, and the "
                                "designer is connected to %2.\n\nThe panel stays open with its "
                                "changes. Connect to %1 to save it there, or use Save Panel As "
                                "to store it on %2.")
                     .arg(own, current),
                 Ui::Severity::Critical);
    panel->setNeedToSave(true);
    return false;
  }
  if (!mayStoreUnder(m_ui, connector, path)) {
    panel->setNeedToSave(true);
    return false;
  }
  if (!connector.savePanel(path, document)) {
    panel->setNeedToSave(true);
    return false;
  }
  // The server does not acknowledge a store: the save counts once it hands
  // the same text back. The window stays usable meanwhile.
  QPointer<PanelEditor> saved(panel);
  std::optional<bool> confirmed;
  QEventLoop wait;
  connector.confirmSave(path, document, [&confirmed, &wait](bool same) {
    confirmed = same;
    wait.quit();
  });
  if (!confirmed) wait.exec();
  if (!saved) return false;
  if (!*confirmed) {
    panel->setNeedToSave(true);
    m_ui.message(QStringLiteral("The server has not confirmed the save of ") +
                 listedPanelName(path) +
                 QStringLiteral(".\r\nThe panel stays marked as changed. Check that the server "
                                "is running and reachable, then save again."));
    return false;
  }
  panel->setNeedToSave(false);
  // Saved under its server path (a name alone, as Save As gives it, is one
  // on this server).
  emit panelSaved(
      panel, isServerPanelPath(path) ? path : connector.derivePanelPath(listedPanelName(path)));
  return true;
}

bool MainWindowLogic::serverSaveAs(PanelEditor *panel) {
  PanelModel &model = panel->model();
  const std::optional<QString> answer =
      m_ui.inputBox(QStringLiteral("Enter the panel name to save"), QStringLiteral("Save As"),
                    model.canvas.tag + QStringLiteral(".xml"));
  if (!answer || answer->isEmpty()) {
    m_ui.message(QStringLiteral("No filename selected to store"));
    return false;
  }
  const QString &name = *answer;
  VexConnector &connector = m_server->Connector();
  const QString oldTag = model.canvas.tag;
  const qsizetype backslash = name.lastIndexOf(u'\\');
  const QString lastPart = name.mid(backslash + 1);
  if (model.canvas.tag + QStringLiteral(".xml") != lastPart) {
    if (lastPart.size() < 4) return false;
    model.canvas.tag = lastPart.left(lastPart.size() - 4);
  }
  if (backslash >= 0 && lastPart.contains(u'.')) {
    const QString stem = lastPart.left(lastPart.lastIndexOf(u'.'));
    model.canvas.tag = connector.derivePanelPath(stem);
    for (const auto &record : model.panelRecord.records)
      if (record->control) record->setHWMapInternalName(stem + u'.' + record->control->tag);
  }
  if (model.canvas.tag != oldTag) {
    panel->notify(PanelEditor::Properties);
    panel->requestFillProperties();  // the grid's Name row shows the new name
  }
  // The server's list is asked for the name the panel is stored under.
  if (connector.doesPanelNameExist(storedPanelName(name)) &&
      m_ui.message(QStringLiteral("File exists - Overwrite?"), Ui::Buttons::YesNo) !=
          Ui::Answer::Yes)
    return false;
  // The window keeps its path: a later "&Save Panel" stores under the old name.
  return savePanelToServer(panel, name);
}
