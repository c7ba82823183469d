// The main window's side of the server link: the connect dialog, the status
// line, panels the server delivers, and the server branches of saving.
#include <QEventLoop>
#include <QPointer>
#include <optional>

#include "app/mdiformdesigner.h"
#include "app/serverpanelpath.h"
#include "model/controldetails.h"
#include "model/settings.h"
#include "model/uiservice.h"
#include "panelfile/panelwriter.h"
#include "server/serversession.h"
#include "server/vexconnector.h"
#include "server/vexprotocol.h"
#include "surface/frmpanel.h"

void MDIFormDesigner::mnuConnect_Click() { m_server->connectDialog().Show(); }

void MDIFormDesigner::mnuWorkLocally_Click() {
  for (const frmPanel *panel : m_shown) {
    if (!panel->NeedToSave() || !IsServerPanelPath(panel->model().WindowTag)) continue;
    if (m_ui.message(QStringLiteral("Some panels from the server have unsaved changes. Work "
                                    "locally anyway? They stay open and can be saved as local "
                                    "files with Save Panel As."),
                     Ui::Buttons::YesNo) != Ui::Answer::Yes)
      return;
    break;
  }
  m_server->connectDialog().butWorkLocally_Click();
}

void MDIFormDesigner::SetConnectedLabel() { m_server->SetConnectedLabel(); }

bool MDIFormDesigner::IsPanelPathOpen(const QString &path) const {
  for (const frmPanel *panel : m_shown)
    if (panel->model().WindowTag.compare(path, Qt::CaseInsensitive) == 0) return true;
  return false;
}

void MDIFormDesigner::OpenDeliveredPanel(const QString &document, const QString &path,
                                         const QString &tagName) {
  OpenPanelText(document, path, tagName);
}

bool MDIFormDesigner::SavePanelToServer(frmPanel *panel, const QString &path) {
  // The same text a local save writes to its file.
  const QString document =
      BuildPanelDocument(panel->model(), Settings().boolServerMode) + QStringLiteral("\r\n");
  frmTcpVexConnector &connector = m_server->Connector();
  // A panel of one server is never stored on another under its name.
  const QString own = ServerOfPanelPath(path);
  const QString current = ServerOfPanelPath(connector.DerivePanelPath(QStringLiteral("x")));
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
  if (!connector.SavePanel(path, document)) {
    panel->setNeedToSave(true);
    return false;
  }
  // The server does not acknowledge a store: the save counts once it hands
  // the same text back. The window stays usable meanwhile.
  QPointer<frmPanel> saved(panel);
  std::optional<bool> confirmed;
  QEventLoop wait;
  connector.ConfirmSave(path, document, [&confirmed, &wait](bool same) {
    confirmed = same;
    wait.quit();
  });
  if (!confirmed) wait.exec();
  if (!saved) return false;
  if (!*confirmed) {
    panel->setNeedToSave(true);
    m_ui.message(QStringLiteral("The server has not confirmed the save of ") +
                 ListedPanelName(path) +
                 QStringLiteral(".\r\nThe panel stays marked as changed. Check that the server "
                                "is running and reachable, then save again."));
    return false;
  }
  panel->setNeedToSave(false);
  // Saved under its server path (a name alone, as Save As gives it, is one
  // on this server).
  emit panelSaved(
      panel, IsServerPanelPath(path) ? path : connector.DerivePanelPath(ListedPanelName(path)));
  return true;
}

bool MDIFormDesigner::ServerSaveAs(frmPanel *panel) {
  PanelModel &model = panel->model();
  const std::optional<QString> answer =
      m_ui.inputBox(QStringLiteral("Enter the panel name to save"), QStringLiteral("Save As"),
                    model.pictMain.Tag + QStringLiteral(".xml"));
  if (!answer || answer->isEmpty()) {
    m_ui.message(QStringLiteral("No filename selected to store"));
    return false;
  }
  const QString &name = *answer;
  frmTcpVexConnector &connector = m_server->Connector();
  const QString oldTag = model.pictMain.Tag;
  const qsizetype backslash = name.lastIndexOf(u'\\');
  const QString lastPart = name.mid(backslash + 1);
  if (model.pictMain.Tag + QStringLiteral(".xml") != lastPart) {
    if (lastPart.size() < 4) return false;
    model.pictMain.Tag = lastPart.left(lastPart.size() - 4);
  }
  if (backslash >= 0 && lastPart.contains(u'.')) {
    const QString stem = lastPart.left(lastPart.lastIndexOf(u'.'));
    model.pictMain.Tag = connector.DerivePanelPath(stem);
    for (const auto &record : model.PanelDetails.CollControls)
      if (record->cntrlObject) record->setHWMapInternalName(stem + u'.' + record->cntrlObject->Tag);
  }
  if (model.pictMain.Tag != oldTag) {
    panel->notify(frmPanel::Properties);
    panel->RequestFillProperties();  // the grid's Name row shows the new name
  }
  if (connector.DoesPanelNameExist(name) && m_ui.message(QStringLiteral("File exists - Overwrite?"),
                                                         Ui::Buttons::YesNo) != Ui::Answer::Yes)
    return false;
  // The window keeps its path: a later "&Save Panel" stores under the old name.
  return SavePanelToServer(panel, name);
}
