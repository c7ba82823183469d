// The main window's panel file commands: open, save, save as, the close
// question, and the clipboard commands on the active panel.
#include <QFileInfo>
#include <QHash>
#include <utility>

#include "app/mainwindowlogic.h"
#include "app/serverpanelpath.h"
#include "grid/propertygrid.h"
#include "hwmap/hardwaremap.h"
#include "model/names.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "model/uiservice.h"
#include "panelfile/clipboarddoc.h"
#include "panelfile/interruptedsave.h"
#include "panelfile/localstore.h"
#include "panelfile/paneldifferences.h"
#include "server/serversession.h"
#include "surface/paneleditor.h"
#include "surface/panelreadhooks.h"

namespace {
const QString kPanelFilter = QStringLiteral("Panel XML Document|*.XML|All Documents|*.*");
}

QString MainWindowLogic::dialogFolder() const {
  return m_dialogFolder.isEmpty() ? programSettings().panelsFolder : m_dialogFolder;
}

void MainWindowLogic::chooseLocalPanelToOpen() {
  Ui::FileDialog dialog;
  dialog.title = QStringLiteral("Open");
  dialog.filter = kPanelFilter;
  dialog.initialFolder = dialogFolder();
  dialog.mustExist = true;
  const std::optional<QString> chosen = m_ui.openFile(dialog);
  if (!chosen || chosen->isEmpty()) return;
  m_dialogFolder = folderOf(*chosen);
  openLocalPanelFile(*chosen);
}

PanelEditor *MainWindowLogic::openLocalPanelFile(const QString &path) {
  if (isHardwareMapFileName(fileNameOf(path))) {
    m_ui.message(
        QStringLiteral("The HardwareMap file is a special file which maps hardware "
                       "controls to software panel controls.\r\nIt is not a valid panel "
                       "and may not be opened directly by the Tessary."));
    return nullptr;
  }
  return openPanelLocal(path);
}

PanelEditor *MainWindowLogic::openLocalPanelFileToLook(const QString &path) {
  const bool before = std::exchange(m_openingToLook, true);
  PanelEditor *panel = openLocalPanelFile(path);
  m_openingToLook = before;
  return panel;
}

void MainWindowLogic::choosePanelToOpen() {
  if (programSettings().serverMode) {
    m_server->openDialog().show();
    return;
  }
  chooseLocalPanelToOpen();
}

PanelEditor *MainWindowLogic::openPanel(const QString &path) {
  if (programSettings().serverMode) return nullptr;
  return openPanelLocal(path);
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

PanelEditor *MainWindowLogic::openPanelLocal(const QString &path) {
  if (!fileExists(path)) {
    m_ui.failure(QStringLiteral("Error Opening Panel.  File does not exist.\r\nFile: ") + path +
                 QStringLiteral("\r\n\r\nIt may have been moved, renamed or deleted. Choose "
                                "it again with Open Local Panel."));
    return nullptr;
  }
  const QString name = panelNameFromPath(path).trimmed();
  for (PanelEditor *open : m_shown) {
    if (open->model().canvas.tag.trimmed().compare(name, Qt::CaseInsensitive) == 0) {
      activatePanel(open);
      emit panelRaised(open);
      m_ui.message(QStringLiteral("This Panel is already Open."));
      return nullptr;
    }
  }
  return readPanelFile(path);
}

PanelEditor *MainWindowLogic::readPanelFile(const QString &path) {
  // A save the designer could not finish is completed before a file is read.
  completeInterruptedSave(m_ui, {folderOf(path)});
  FileStamp stamp;
  QString unreadable;
  const QString text = loadPanelText(path, &stamp, &unreadable);
  if (!unreadable.isEmpty()) {
    m_ui.failure(QStringLiteral("Error reading file or no xml data present in file.\r\nThe file ") +
                     unreadable + u'.' + unreadableAdvice(path),
                 Ui::Severity::Critical);
    return nullptr;
  }
  PanelEditor *panel = openPanelText(text, path, panelNameFromPath(path));
  if (panel) panel->model().rememberFile(path, stamp);
  return panel;
}

PanelEditor *MainWindowLogic::reloadPanel(PanelEditor *old) {
  const auto place = std::find(m_shown.begin(), m_shown.end(), old);
  if (place == m_shown.end()) return nullptr;
  const qsizetype index = place - m_shown.begin();
  PanelEditor *const active = m_active;
  PanelEditor *panel = readPanelFile(old->model().documentPath);
  if (!panel) return nullptr;  // the old window stays as it was
  // The new window takes the old one's place in the window order.
  m_shown.erase(std::find(m_shown.begin(), m_shown.end(), panel));
  m_shown.insert(m_shown.begin() + index, panel);

  // The controls of the same names stay selected, the current one current.
  QHash<QString, DesignControl *> byName;
  for (DesignControl *control : panel->model().zOrder()) byName.insert(control->tag, control);
  std::vector<DesignControl *> selected;
  for (const DesignControl *control : old->selectedControls())
    if (DesignControl *same = byName.value(control->tag)) selected.push_back(same);
  const DesignObject *current = old->currentControl();
  DesignControl *newCurrent = current && !current->isCanvas()
                                  ? byName.value(static_cast<const DesignControl *>(current)->tag)
                                  : nullptr;
  if (!selected.empty())
    panel->selectControls(selected, newCurrent && std::find(selected.begin(), selected.end(),
                                                            newCurrent) != selected.end()
                                        ? newCurrent
                                        : selected.back());
  emit panelReloaded(old, panel);
  closePanel(old);
  if (active && active != old) raisePanel(active);
  return panel;
}

PanelEditor *MainWindowLogic::openPanelText(const QString &text, const QString &path,
                                            const QString &panelName) {
  if (text.isEmpty()) {
    m_ui.failure(QStringLiteral("Error reading file or no xml data present in file.") +
                     unreadableAdvice(path),
                 Ui::Severity::Critical);
    return nullptr;
  }
  PanelEditor *panel = createPanel();
  panel->setOpening(true);
  XmlError error;
  bool read = false;
  QString mapUnreadable;
  {
    PanelReadHooks hooks(*panel);
    const QString &mapFile = programSettings().hardwareMapFile;
    read = readPanelText(text, path, panelName, panel->model(), hooks,
                         HardwareMap::fromFile(mapFile, &mapUnreadable), &error);
    if (!mapUnreadable.isEmpty()) mapUnreadable = mapFile + u' ' + mapUnreadable;
  }
  if (!read) {  // never an empty panel that Save could write over the file
    discardPanel(panel);
    m_ui.failure(QStringLiteral("Error reading file or no xml data present in file.\r\n") +
                     error.text() + unreadableAdvice(path),
                 Ui::Severity::Critical);
    return nullptr;
  }
  panel->setCaption(panel->model().caption);
  addPanel(panel);
  panel->setOpening(false);
  // The panel is shown, but without the bindings the map holds; its save
  // will say the same and write nothing.
  if (!mapUnreadable.isEmpty())
    m_ui.failure(QStringLiteral("The hardware map cannot be read: ") + mapUnreadable +
                 QStringLiteral(".\r\nThe panel's hardware bindings are not shown."));
  return panel;
}

bool MainWindowLogic::savePanelDocument(PanelEditor *panel, const QString &path) {
  if (programSettings().serverMode) return savePanelToServer(panel, path);
  QString error;
  if (!savePanelLocal(panel->model(), path, m_ui, &error)) {
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

bool MainWindowLogic::save() {
  PanelEditor *panel = m_active;
  if (!panel) return false;
  const QString path = panel->model().documentPath;
  // A server panel while working locally (restored after a crash, say) is
  // saved where the user chooses, never under a path made from its name.
  if (path.isEmpty() || (!programSettings().serverMode && isServerPanelPath(path))) return saveAs();
  // Someone else's change to the file is not replaced without a word (a file
  // that is gone holds none to lose).
  if (!programSettings().serverMode && fileExists(path) && panel->model().fileChangedOnDisk(path)) {
    const QString question = panel->model().canvas.tag +
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
      m_ui.message(describePanelDifferences(panel->model(), loadPanelText(path)));
    if (answer == 1) return saveAs();
    if (answer != 0) {
      programSettings().cancelExit = true;
      return false;
    }
    backUpChangedFile(path);  // their change stays within reach
  }
  if (savePanelDocument(panel, path)) return true;
  // The server cannot be reached under another name either.
  if (programSettings().serverMode) return false;
  return saveAs();
}

bool MainWindowLogic::saveAs() {
  PanelEditor *panel = m_active;
  if (!panel) return false;
  if (programSettings().serverMode) return serverSaveAs(panel);
  PanelModel &model = panel->model();
  Ui::FileDialog dialog;
  dialog.title = QStringLiteral("Save");
  dialog.filter = kPanelFilter;
  dialog.initialFolder = dialogFolder();
  dialog.fileName = model.canvas.tag + QStringLiteral(".xml");
  const std::optional<QString> chosen = m_ui.saveFile(dialog);
  if (!chosen) {
    programSettings().cancelExit = true;
    return false;
  }
  const QString path = *chosen;
  const QString filePart = fileNameOf(path);
  if (path.isEmpty() || filePart.size() == path.size() || !filePart.contains(u'.')) return false;
  m_dialogFolder = folderOf(path);
  // The panel takes the file's name only with the file: a Save As that does
  // not go through leaves the panel as it was.
  auto &records = model.panelRecord.records;
  const QString oldName = model.canvas.tag;
  std::vector<QString> oldInternalNames;
  for (const auto &record : records) oldInternalNames.push_back(record->hwMapInternalName());
  const QString newName = filePart.left(filePart.lastIndexOf(u'.'));
  if (const QString problem = nameStorageProblem(newName); !problem.isEmpty()) {
    m_ui.failure(problem + QStringLiteral("\r\n\r\nThe panel takes its file's name: choose a "
                                          "file name without them."));
    return false;
  }
  model.canvas.tag = newName;
  for (const auto &record : records)
    if (record->control) record->setHWMapInternalName(newName + u'.' + record->control->tag);
  panel->notify(PanelEditor::Properties);
  panel->requestFillProperties();  // the grid's Name and internal-name rows show the new name
  if (!savePanelDocument(panel, path)) {
    model.canvas.tag = oldName;
    for (size_t k = 0; k < records.size(); ++k)
      records[k]->setHWMapInternalName(oldInternalNames[k]);
    panel->notify(PanelEditor::Properties);
    panel->requestFillProperties();
    return false;
  }
  model.documentPath = path;
  return true;
}

bool MainWindowLogic::queryClosePanel(PanelEditor *panel) {
  if (!panel || !panel->needToSave()) return true;
  activatePanel(panel);
  emit panelRaised(panel);
  const Ui::Answer answer = m_ui.message(QStringLiteral("Do you want to save changes to Panel ") +
                                             panel->model().canvas.tag + QStringLiteral("?"),
                                         Ui::Buttons::YesNoCancel);
  switch (answer) {
    case Ui::Answer::Yes:
      // A save that did not go through keeps the window and its work.
      return save();
    case Ui::Answer::No:
      return true;
    default:
      programSettings().cancelExit = true;
      return false;
  }
}

bool MainWindowLogic::copyToClipboard(bool gridFocused) {
  if (gridFocused) {
    m_ui.setClipboardText(m_grid->textMatrix(m_grid->Row(), m_grid->col()));
    return true;
  }
  if (!m_active) return false;
  const QString text = buildClipboardDocument(m_active->model(), m_active->selectedControls(),
                                              programSettings().serverMode);
  if (text.isEmpty()) return false;  // nothing selected: the clipboard keeps its text
  m_ui.clearClipboard();
  m_ui.setClipboardText(text);
  return true;
}

void MainWindowLogic::copy(bool gridFocused) { copyToClipboard(gridFocused); }

void MainWindowLogic::cut(bool gridFocused) {
  // What is cut leaves only once its text is safe on the clipboard.
  if (!copyToClipboard(gridFocused)) return;
  if (gridFocused) {
    m_grid->setTextMatrix(m_grid->Row(), m_grid->col(), QString());
  } else {
    PanelEditor::EditStep step(*m_active, QStringLiteral("Cut"),
                               PanelEditor::StepName::WithControls);
    m_active->removeSelectedControls();
  }
}

void MainWindowLogic::paste(bool gridFocused) {
  if (!m_ui.clipboardHasText()) return;
  if (gridFocused) {
    // Only the cell changes; the value reaches the object through an edit.
    m_grid->setTextMatrix(m_grid->Row(), m_grid->col(), m_ui.clipboardText());
    return;
  }
  if (!m_active) return;
  PanelEditor::EditStep step(*m_active, QStringLiteral("Paste"),
                             PanelEditor::StepName::WithControls);
  PanelReadHooks hooks(*m_active);
  analyzeClipboardXML(m_ui.clipboardText(), m_active->model(), hooks,
                      HardwareMap::fromFile(programSettings().hardwareMapFile));
  m_active->notify(PanelEditor::Structure | PanelEditor::Selection);
}
