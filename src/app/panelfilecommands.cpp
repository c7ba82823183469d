// The main window's panel file commands: open, save, save as, the close
// question, and the clipboard commands on the active panel.
#include <QFileInfo>
#include <utility>

#include "app/mdiformdesigner.h"
#include "app/serverpanelpath.h"
#include "grid/propertygrid.h"
#include "hwmap/hardwaremap.h"
#include "model/names.h"
#include "model/panelfilestamp.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "model/uiservice.h"
#include "panelfile/clipboarddoc.h"
#include "panelfile/interruptedsave.h"
#include "panelfile/localstore.h"
#include "panelfile/paneldifferences.h"
#include "server/serversession.h"
#include "surface/frmpanel.h"
#include "surface/panelreadhooks.h"

namespace {
const QString kPanelFilter = QStringLiteral("Panel XML Document|*.XML|All Documents|*.*");
}

QString MDIFormDesigner::dialogFolder() const {
  return m_dialogFolder.isEmpty() ? Settings().strPanelsFolder : m_dialogFolder;
}

void MDIFormDesigner::mnuOpenLocalPanel_Click() {
  Ui::FileDialog dialog;
  dialog.title = QStringLiteral("Open");
  dialog.filter = kPanelFilter;
  dialog.initialFolder = dialogFolder();
  dialog.mustExist = true;
  const std::optional<QString> chosen = m_ui.openFile(dialog);
  if (!chosen || chosen->isEmpty()) return;
  m_dialogFolder = FolderPart(*chosen);
  OpenLocalPanelFile(*chosen);
}

frmPanel *MDIFormDesigner::OpenLocalPanelFile(const QString &path) {
  if (IsHardwareMapFileName(FilePart(path))) {
    m_ui.message(
        QStringLiteral("The HardwareMap file is a special file which maps hardware "
                       "controls to software panel controls.\r\nIt is not a valid panel "
                       "and may not be opened directly by the Tessary."));
    return nullptr;
  }
  return OpenPanelLocal(path);
}

frmPanel *MDIFormDesigner::OpenLocalPanelFileToLook(const QString &path) {
  const bool before = std::exchange(m_openingToLook, true);
  frmPanel *panel = OpenLocalPanelFile(path);
  m_openingToLook = before;
  return panel;
}

void MDIFormDesigner::mnuOpenPanel_Click() {
  if (Settings().boolServerMode) {
    m_server->openDialog().Show();
    return;
  }
  mnuOpenLocalPanel_Click();
}

frmPanel *MDIFormDesigner::OpenPanel(const QString &path) {
  if (Settings().boolServerMode) return nullptr;
  return OpenPanelLocal(path);
}

frmPanel *MDIFormDesigner::OpenPanelLocal(const QString &path) {
  if (!FileExists(path)) {
    m_ui.failure(QStringLiteral("Error Opening Panel.  File does not exist.\r\nFile: ") + path +
                 QStringLiteral("\r\n\r\nIt may have been moved, renamed or deleted. Choose "
                                "it again with Open Local Panel."));
    return nullptr;
  }
  const QString name = PanelNameFromPath(path).trimmed();
  for (frmPanel *open : m_shown) {
    if (open->model().pictMain.Tag.trimmed().compare(name, Qt::CaseInsensitive) == 0) {
      ActivatePanel(open);
      emit panelRaised(open);
      m_ui.message(QStringLiteral("This Panel is already Open."));
      return nullptr;
    }
  }
  // A save the designer could not finish is completed before a file is read.
  CompleteInterruptedSave(m_ui, {FolderPart(path)});
  FileStamp stamp;
  const QString text = LoadPanelText(path, &stamp);
  frmPanel *panel = OpenPanelText(text, path, PanelNameFromPath(path));
  if (panel) RememberPanelFile(panel->model(), path, stamp);
  return panel;
}

namespace {
// The file a read failed on and what the user can do about it.
QString unreadableAdvice(const QString &path) {
  return (path.isEmpty() ? QString() : QStringLiteral("\r\nFile: ") + path) +
         QStringLiteral(
             "\r\n\r\nThe file is left as it is. Mend it in a text editor, or open "
             "one of its backups.");
}
}  // namespace

frmPanel *MDIFormDesigner::OpenPanelText(const QString &text, const QString &path,
                                         const QString &panelName) {
  if (text.isEmpty()) {
    m_ui.failure(QStringLiteral("Error reading file or no xml data present in file.") +
                     unreadableAdvice(path),
                 Ui::Severity::Critical);
    return nullptr;
  }
  frmPanel *panel = CreatePanel();
  panel->boolOpenResize = true;
  XmlError error;
  bool read = false;
  {
    PanelReadHooks hooks(*panel);
    read = ReadPanelText(text, path, panelName, panel->model(), hooks,
                         HardwareMap::FromFile(Settings().strHardwareMapFile), &error);
  }
  if (!read) {  // never an empty panel that Save could write over the file
    DiscardPanel(panel);
    m_ui.failure(QStringLiteral("Error reading file or no xml data present in file.\r\n") +
                     error.text() + unreadableAdvice(path),
                 Ui::Severity::Critical);
    return nullptr;
  }
  panel->setCaption(panel->model().Caption);
  AddPanel(panel);
  panel->boolOpenResize = false;
  return panel;
}

bool MDIFormDesigner::SavePanelDocument(frmPanel *panel, const QString &path) {
  if (Settings().boolServerMode) return SavePanelToServer(panel, path);
  QString error;
  if (!SavePanelLocal(panel->model(), path, m_ui, &error)) {
    m_ui.failure(QStringLiteral("Error Saving File - ") + error +
                     QStringLiteral("\r\n\r\nThe panel stays open with its changes. Mend the "
                                    "cause (room on the disk, rights on the folder) and save "
                                    "again, or save it elsewhere with Save Panel As."),
                 Ui::Severity::Critical);
    panel->setNeedToSave(true);
    return false;
  }
  panel->setNeedToSave(false);
  emit panelSaved(panel, path);
  return true;
}

bool MDIFormDesigner::mnuSavePanel_Click() {
  frmPanel *panel = m_active;
  if (!panel) return false;
  const QString path = panel->model().WindowTag;
  // A server panel while working locally (restored after a crash, say) is
  // saved where the user chooses, never under a path made from its name.
  if (path.isEmpty() || (!Settings().boolServerMode && IsServerPanelPath(path)))
    return mnuSaveAs_Click();
  // Someone else's change to the file is not replaced without a word (a file
  // that is gone holds none to lose).
  if (!Settings().boolServerMode && FileExists(path) &&
      PanelFileChangedSince(panel->model(), path)) {
    const QString question = panel->model().pictMain.Tag +
                             QStringLiteral(" was changed on disk since you opened it\r\nFile: ") +
                             path +
                             QStringLiteral(
                                 "\r\n\r\nOverwrite replaces that change with this panel "
                                 "(the changed file goes to the backups); Save As\u2026 "
                                 "keeps both.");
    const QStringList buttons = {QStringLiteral("Overwrite"), QStringLiteral("Save As\u2026"),
                                 QStringLiteral("Show Differences"), QStringLiteral("Cancel")};
    int answer = m_ui.choose(question, buttons);
    for (; answer == 2; answer = m_ui.choose(question, buttons))
      m_ui.message(DescribePanelDifferences(panel->model(), LoadPanelText(path)));
    if (answer == 1) return mnuSaveAs_Click();
    if (answer != 0) {
      Settings().boolCancelExit = true;
      return false;
    }
    BackUpChangedFile(path);  // their change stays within reach
  }
  if (SavePanelDocument(panel, path)) return true;
  // The server cannot be reached under another name either.
  if (Settings().boolServerMode) return false;
  return mnuSaveAs_Click();
}

bool MDIFormDesigner::mnuSaveAs_Click() {
  frmPanel *panel = m_active;
  if (!panel) return false;
  if (Settings().boolServerMode) return ServerSaveAs(panel);
  PanelModel &model = panel->model();
  Ui::FileDialog dialog;
  dialog.title = QStringLiteral("Save");
  dialog.filter = kPanelFilter;
  dialog.initialFolder = dialogFolder();
  dialog.fileName = model.pictMain.Tag + QStringLiteral(".xml");
  const std::optional<QString> chosen = m_ui.saveFile(dialog);
  if (!chosen) {
    Settings().boolCancelExit = true;
    return false;
  }
  const QString path = *chosen;
  const QString filePart = FilePart(path);
  if (path.isEmpty() || filePart.size() == path.size() || !filePart.contains(u'.')) return false;
  m_dialogFolder = FolderPart(path);
  // The panel takes the file's name only with the file: a Save As that does
  // not go through leaves the panel as it was.
  auto &records = model.PanelDetails.CollControls;
  const QString oldName = model.pictMain.Tag;
  std::vector<QString> oldInternalNames;
  for (const auto &record : records) oldInternalNames.push_back(record->HWMapInternalName());
  const QString newName = filePart.left(filePart.lastIndexOf(u'.'));
  if (const QString problem = NameStorageProblem(newName); !problem.isEmpty()) {
    m_ui.failure(problem + QStringLiteral("\r\n\r\nThe panel takes its file's name: choose a "
                                          "file name without them."));
    return false;
  }
  model.pictMain.Tag = newName;
  for (const auto &record : records)
    if (record->cntrlObject)
      record->setHWMapInternalName(newName + u'.' + record->cntrlObject->Tag);
  panel->notify(frmPanel::Properties);
  panel->RequestFillProperties();  // the grid's Name and internal-name rows show the new name
  if (!SavePanelDocument(panel, path)) {
    model.pictMain.Tag = oldName;
    for (size_t k = 0; k < records.size(); ++k)
      records[k]->setHWMapInternalName(oldInternalNames[k]);
    panel->notify(frmPanel::Properties);
    panel->RequestFillProperties();
    return false;
  }
  model.WindowTag = path;
  return true;
}

bool MDIFormDesigner::QueryClosePanel(frmPanel *panel) {
  if (!panel || !panel->NeedToSave()) return true;
  ActivatePanel(panel);
  emit panelRaised(panel);
  const Ui::Answer answer = m_ui.message(QStringLiteral("Do you want to save changes to Panel ") +
                                             panel->model().pictMain.Tag + QStringLiteral("?"),
                                         Ui::Buttons::YesNoCancel);
  switch (answer) {
    case Ui::Answer::Yes:
      // A save that did not go through keeps the window and its work.
      return mnuSavePanel_Click();
    case Ui::Answer::No:
      return true;
    default:
      Settings().boolCancelExit = true;
      return false;
  }
}

bool MDIFormDesigner::copyToClipboard(bool gridFocused) {
  if (gridFocused) {
    m_ui.setClipboardText(m_grid->TextMatrix(m_grid->Row(), m_grid->Col()));
    return true;
  }
  if (!m_active) return false;
  const QString text = BuildClipboardDocument(m_active->model(), m_active->collSelectedControls,
                                              Settings().boolServerMode);
  if (text.isEmpty()) return false;  // nothing selected: the clipboard keeps its text
  m_ui.clearClipboard();
  m_ui.setClipboardText(text);
  return true;
}

void MDIFormDesigner::mnuCopy_Click(bool gridFocused) { copyToClipboard(gridFocused); }

void MDIFormDesigner::mnuCut_Click(bool gridFocused) {
  // What is cut leaves only once its text is safe on the clipboard.
  if (!copyToClipboard(gridFocused)) return;
  if (gridFocused) {
    m_grid->setTextMatrix(m_grid->Row(), m_grid->Col(), QString());
  } else {
    frmPanel::EditStep step(*m_active, QStringLiteral("Cut"), frmPanel::StepName::WithControls);
    m_active->RemoveSelectedControls();
  }
}

void MDIFormDesigner::mnuPaste_Click(bool gridFocused) {
  if (!m_ui.clipboardHasText()) return;
  if (gridFocused) {
    // Only the cell changes; the value reaches the object through an edit.
    m_grid->setTextMatrix(m_grid->Row(), m_grid->Col(), m_ui.clipboardText());
    return;
  }
  if (!m_active) return;
  frmPanel::EditStep step(*m_active, QStringLiteral("Paste"), frmPanel::StepName::WithControls);
  PanelReadHooks hooks(*m_active);
  AnalyzeClipboardXML(m_ui.clipboardText(), m_active->model(), hooks,
                      HardwareMap::FromFile(Settings().strHardwareMapFile));
  m_active->notify(frmPanel::Structure | frmPanel::Selection);
}
