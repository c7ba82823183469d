#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <QUndoGroup>
#include <memory>
#include <vector>

#include "model/designcontrol.h"
#include "server/serverhost.h"

class Ui;
class PanelEditor;
class PropertyGrid;
class PanelChecker;
class PanelFinder;
class ControlRecord;
class ServerSession;

// The main window's logic: the open panel windows, the active one, the
// caption with its unsaved-changes mark, new panels, closing, and the menu
// commands. The Qt main window observes it.
class MainWindowLogic : public QObject, public ServerHost {
  Q_OBJECT
 public:
  explicit MainWindowLogic(Ui &ui, QObject *parent = nullptr);
  ~MainWindowLogic() override;

  Ui &ui() override { return m_ui; }
  // The one property grid; it shows the current object of the panel that
  // last asked for a refill.
  PropertyGrid &grid() { return *m_grid; }
  // Edit > Find over the open panels and the panel files.
  PanelFinder &finder() { return *m_finder; }
  // Edit > Check Panels over the open panels or the panels folder.
  PanelChecker &checker() { return *m_checker; }

  // The main window's load step: folders of the settings, the panels folder.
  void load();

  const QString baseCaption = QStringLiteral("Corvane Tessary Core - Ver 5.77");
  QString caption() const { return m_caption; }

  // Open panel windows in the order they were opened.
  std::vector<PanelEditor *> openPanels() const;
  PanelEditor *activePanel() const { return m_active; }
  // A panel window was activated (by the user or the views).
  void activatePanel(PanelEditor *panel);
  // Activates a panel window and asks the views to bring it to the front.
  void raisePanel(PanelEditor *panel);

  QString newPanelName() const;
  // A copy of the record of a control of the active panel, for reading; a
  // record with the defaults when the control has none there. Changes go
  // through PanelModel::findRecord.
  ControlRecord controlRecord(const DesignObject *control) const;
  void setSaveIndicator();

  // Creates a window for a new panel (not yet shown) and takes ownership;
  // `addPanel` shows it.
  PanelEditor *createPanel();
  void addPanel(PanelEditor *panel);
  // Discards a window that was created but never shown.
  void discardPanel(PanelEditor *panel);

  // --- menu commands
  PanelEditor *newPanel();
  void showHelp();
  void insertControl(ControlKind kind);  // Insert menu; no action without a panel
  void alignLeft();
  void alignRight();
  void alignTop();
  void alignBottom();
  void spreadHorizontally();
  void spreadVertically();
  // Edit menu: undo and redo on the active panel, Select All, Make Same.
  // The group's active stack is the active panel's; it tells the menu what
  // can be undone and how the step is called.
  QUndoGroup &undoGroup() { return m_undoGroup; }
  void undo();
  void redo();
  void selectAll();
  void makeSameWidth();
  void makeSameHeight();
  void makeSameSize();

  // Arrange menu: stacking order, centres and distributing with a gap, on
  // the active panel. Distributing asks the gap in pixels (the last one
  // given is proposed).
  void bringToFront();
  void sendToBack();
  void bringForward();
  void sendBackward();
  void alignCentresHorizontally();
  void alignCentresVertically();
  void distributeHorizontally();
  void distributeVertically();

  // Menu states, asked each time a menu opens.
  bool saveEnabled() const { return m_active != nullptr; }
  bool pasteEnabled() const;

  // --- panel files
  void chooseLocalPanelToOpen();
  void choosePanelToOpen();
  PanelEditor *openPanel(const QString &path);
  // A file chosen by the user or named on the command line: the hardware
  // map is refused, anything else goes to openPanelLocal.
  PanelEditor *openLocalPanelFile(const QString &path);
  // The same for a look at the file (Find going to a hit): while it opens,
  // isOpeningToLook() is true, so the recent list waits for an edit.
  PanelEditor *openLocalPanelFileToLook(const QString &path);
  bool isOpeningToLook() const { return m_openingToLook; }
  // Opens a panel file into a new window; null (after its message) when the
  // file is missing, empty or its panel is already open.
  PanelEditor *openPanelLocal(const QString &path);
  // Reads an open panel's file afresh into a new window that takes the old
  // one's place: the same place in the window order, the controls of the
  // same names selected, the views keep its window and zoom
  // (panelReloaded); then the old window closes without a question. Null,
  // after its message and with the old window left as it was, when the file
  // cannot be read.
  PanelEditor *reloadPanel(PanelEditor *panel);
  // Reads a panel document into a new window, whether it came from a file or
  // from the server; null (after its message) when there is no document or
  // it does not parse.
  PanelEditor *openPanelText(const QString &text, const QString &path, const QString &panelName);
  // Saves the active panel; false when it was not saved (failure or cancel).
  bool save();
  bool saveAs();
  // Writes the panel to the path; on failure says why and keeps it marked changed.
  bool savePanelDocument(PanelEditor *panel, const QString &path);

  // --- server link (servercommands.cpp)
  ServerSession &server() { return *m_server; }
  // "&Connect", and the start procedure: the connect dialog, not modal.
  void connectToServer();
  // "Work Locally": leaves the server after asking when server panels have
  // unsaved changes.
  void workLocally();
  // Shows the connection state on the status line.
  void setConnectedLabel();
  bool isPanelPathOpen(const QString &path) const override;
  void openDeliveredPanel(const QString &document, const QString &path,
                          const QString &tagName) override;
  // The save routine in server mode: hands the panel document to the
  // server under the text after the path's last separator.
  bool savePanelToServer(PanelEditor *panel, const QString &path);
  // "Save Panel &As" in server mode: asks for the name on the server.
  bool serverSaveAs(PanelEditor *panel);

  // --- clipboard: the grid's current cell when the grid has the focus,
  //     otherwise the selected controls of the active panel
  void copy(bool gridFocused = false);
  void cut(bool gridFocused = false);
  void paste(bool gridFocused = false);

  // --- closing
  // The close question of one panel window; false keeps the window open.
  bool queryClosePanel(PanelEditor *panel);
  // Closes a window (after its question was answered).
  void closePanel(PanelEditor *panel);
  // Closing the program: asks every panel in turn; false keeps the program running.
  bool queryExit();

  // Where the palette item was grabbed (twips inside the item).
  QPoint dragOffset() const { return m_dragOffset; }
  void setDragOffset(QPoint twips) { m_dragOffset = twips; }

 signals:
  void captionChanged(const QString &caption);
  void panelAdded(PanelEditor *panel);
  void panelRemoved(PanelEditor *panel);
  // The views should bring this window to the front and activate it.
  void panelRaised(PanelEditor *panel);
  // A panel was written to a local file.
  void panelSaved(PanelEditor *panel, const QString &path);
  // `to` was read afresh from the file of `from`, which closes next.
  void panelReloaded(PanelEditor *from, PanelEditor *to);

 private:
  Ui &m_ui;
  QPoint m_dragOffset;
  QUndoGroup m_undoGroup;
  std::unique_ptr<PropertyGrid> m_grid;
  std::unique_ptr<ServerSession> m_server;
  std::unique_ptr<PanelFinder> m_finder;
  std::unique_ptr<PanelChecker> m_checker;
  std::vector<std::unique_ptr<PanelEditor>> m_panels;
  std::vector<PanelEditor *> m_shown;
  PanelEditor *m_active = nullptr;
  QString m_caption;
  QString m_dialogFolder;  // where the file dialog opens next
  QString dialogFolder() const;
  // Copy of the grid cell or of the selected controls; false when nothing was copied.
  bool copyToClipboard(bool gridFocused);
  bool m_openingToLook = false;
  // Reads a panel file into a new window (openPanelLocal without its checks).
  PanelEditor *readPanelFile(const QString &path);
  void distribute(bool horizontal);
  int m_distributeGap = 10;  // pixels
};
