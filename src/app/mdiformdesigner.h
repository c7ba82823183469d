#pragma once

#include <QObject>
#include <QString>
#include <QUndoGroup>
#include <memory>
#include <vector>

#include "model/designcontrol.h"
#include "server/serverhost.h"

class Ui;
class frmPanel;
class PropertyGrid;
class PanelChecker;
class PanelFinder;
class clsControlDetails;
class ServerSession;

// The main window's logic: the open panel windows, the active one, the
// caption with its unsaved-changes mark, new panels, closing, and the menu
// commands. The Qt main window observes it.
class MDIFormDesigner : public QObject, public ServerHost {
  Q_OBJECT
 public:
  explicit MDIFormDesigner(Ui &ui, QObject *parent = nullptr);
  ~MDIFormDesigner() override;

  Ui &ui() override { return m_ui; }
  // The one property grid; it shows the current object of the panel that
  // last asked for a refill.
  PropertyGrid &grid() { return *m_grid; }
  // Edit > Find over the open panels and the panel files.
  PanelFinder &finder() { return *m_finder; }
  // Edit > Check Panels over the open panels or the panels folder.
  PanelChecker &checker() { return *m_checker; }

  // The main window's load step: folders of the settings, the panels folder.
  void Load();

  const QString BaseCaption = QStringLiteral("Corvane Tessary Core - Ver 5.77");
  QString caption() const { return m_caption; }

  // Open panel windows in the order they were opened.
  std::vector<frmPanel *> collOpenPanels() const;
  frmPanel *activePanel() const { return m_active; }
  // A panel window was activated (by the user or the views).
  void ActivatePanel(frmPanel *panel);
  // Activates a panel window and asks the views to bring it to the front.
  void RaisePanel(frmPanel *panel);

  QString GetNewPanelName() const;
  // A copy of the record of a control of the active panel, for reading; a
  // record with the defaults when the control has none there. Changes go
  // through PanelModel::FindRecord.
  clsControlDetails GetControlDetails(const DesignObject *control) const;
  void SetSaveIndicator();

  // Creates a window for a new panel (not yet shown) and takes ownership;
  // `AddPanel` shows it.
  frmPanel *CreatePanel();
  void AddPanel(frmPanel *panel);
  // Discards a window that was created but never shown.
  void DiscardPanel(frmPanel *panel);

  // --- menu commands
  frmPanel *mnuNewPanel_Click();
  void mnuHelp_Click();
  void InsertControl(ControlKind kind);  // Insert menu; no action without a panel
  void mnuAlignLeft_Click();
  void mnuAlignRight_Click();
  void mnuAlignTop_Click();
  void mnuAlignBottom_Click();
  void mnuSpreadHorizontal_Click();
  void mnuSpreadVertical_Click();
  // Edit menu: undo and redo on the active panel, Select All, Make Same.
  // The group's active stack is the active panel's; it tells the menu what
  // can be undone and how the step is called.
  QUndoGroup &undoGroup() { return m_undoGroup; }
  void mnuUndo_Click();
  void mnuRedo_Click();
  void mnuSelectAll_Click();
  void mnuMakeSameWidth_Click();
  void mnuMakeSameHeight_Click();
  void mnuMakeSameSize_Click();

  // Arrange menu: stacking order, centres and distributing with a gap, on
  // the active panel. Distributing asks the gap in pixels (the last one
  // given is proposed).
  void BringToFront();
  void SendToBack();
  void BringForward();
  void SendBackward();
  void AlignCentresHorizontally();
  void AlignCentresVertically();
  void DistributeHorizontally();
  void DistributeVertically();

  // Menu states, asked each time a menu opens.
  bool SaveEnabled() const { return m_active != nullptr; }
  bool PasteEnabled() const;

  // --- panel files
  void mnuOpenLocalPanel_Click();
  void mnuOpenPanel_Click();
  frmPanel *OpenPanel(const QString &path);
  // A file chosen by the user or named on the command line: the hardware
  // map is refused, anything else goes to OpenPanelLocal.
  frmPanel *OpenLocalPanelFile(const QString &path);
  // The same for a look at the file (Find going to a hit): while it opens,
  // isOpeningToLook() is true, so the recent list waits for an edit.
  frmPanel *OpenLocalPanelFileToLook(const QString &path);
  bool isOpeningToLook() const { return m_openingToLook; }
  // Opens a panel file into a new window; null (after its message) when the
  // file is missing, empty or its panel is already open.
  frmPanel *OpenPanelLocal(const QString &path);
  // Reads a panel document into a new window, whether it came from a file or
  // from the server; null (after its message) when there is no document or
  // it does not parse.
  frmPanel *OpenPanelText(const QString &text, const QString &path, const QString &panelName);
  // Saves the active panel; false when it was not saved (failure or cancel).
  bool mnuSavePanel_Click();
  bool mnuSaveAs_Click();
  // Writes the panel to the path; on failure says why and keeps it marked changed.
  bool SavePanelDocument(frmPanel *panel, const QString &path);

  // --- server link (servercommands.cpp)
  ServerSession &server() { return *m_server; }
  // "&Connect", and the start procedure: the connect dialog, not modal.
  void mnuConnect_Click();
  // "Work Locally": leaves the server after asking when server panels have
  // unsaved changes.
  void mnuWorkLocally_Click();
  // Shows the connection state on the status line.
  void SetConnectedLabel();
  bool IsPanelPathOpen(const QString &path) const override;
  void OpenDeliveredPanel(const QString &document, const QString &path,
                          const QString &tagName) override;
  // The save routine in server mode: hands the panel document to the
  // server under the text after the path's last separator.
  bool SavePanelToServer(frmPanel *panel, const QString &path);
  // "Save Panel &As" in server mode: asks for the name on the server.
  bool ServerSaveAs(frmPanel *panel);

  // --- clipboard: the grid's current cell when the grid has the focus,
  //     otherwise the selected controls of the active panel
  void mnuCopy_Click(bool gridFocused = false);
  void mnuCut_Click(bool gridFocused = false);
  void mnuPaste_Click(bool gridFocused = false);

  // --- closing
  // The close question of one panel window; false keeps the window open.
  bool QueryClosePanel(frmPanel *panel);
  // Closes a window (after its question was answered).
  void ClosePanel(frmPanel *panel);
  // Closing the program: asks every panel in turn; false keeps the program running.
  bool QueryExit();

  // Where the palette item was grabbed (twips inside the item).
  qint32 lngDragOffsetX = 0;
  qint32 lngDragOffsetY = 0;

 signals:
  void captionChanged(const QString &caption);
  void panelAdded(frmPanel *panel);
  void panelRemoved(frmPanel *panel);
  // The views should bring this window to the front and activate it.
  void panelRaised(frmPanel *panel);
  // A panel was written to a local file.
  void panelSaved(frmPanel *panel, const QString &path);

 private:
  Ui &m_ui;
  QUndoGroup m_undoGroup;
  std::unique_ptr<PropertyGrid> m_grid;
  std::unique_ptr<ServerSession> m_server;
  std::unique_ptr<PanelFinder> m_finder;
  std::unique_ptr<PanelChecker> m_checker;
  std::vector<std::unique_ptr<frmPanel>> m_panels;
  std::vector<frmPanel *> m_shown;
  frmPanel *m_active = nullptr;
  QString m_caption;
  QString m_dialogFolder;  // where the file dialog opens next
  QString dialogFolder() const;
  // Copy of the grid cell or of the selected controls; false when nothing was copied.
  bool copyToClipboard(bool gridFocused);
  bool m_openingToLook = false;
  void distribute(bool horizontal);
  int m_distributeGap = 10;  // pixels
};
