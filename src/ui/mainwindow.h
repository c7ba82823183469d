#pragma once

#include <QMainWindow>
#include <QMap>
#include <QTimer>

class QAction;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSettings;
class CrashRecovery;
class CheckDock;
class ControlListDock;
class FindDock;
class MainWindowLogic;
class PaletteWidget;
class RecentPanels;
class PanelSubWindow;
class PropertyGridView;
class ServerViews;
class PanelEditor;

// The designer's main window: menus, the MDI area holding the panel windows,
// and on the left the tool box, the property grid and the connection status
// line. It draws MainWindowLogic's state and forwards commands to it.
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(MainWindowLogic &designer, QWidget *parent = nullptr);
  ~MainWindow() override;

  QMdiArea *mdiArea() const { return m_mdi; }
  PaletteWidget *palette() const { return m_palette; }
  QWidget *gridContainer() const { return m_gridContainer; }
  PropertyGridView *gridView() const { return m_gridView; }
  // Whether Cut, Copy and Paste work on the grid's current cell.
  bool gridHasFocus() const;
  QLabel *statusLine() const { return m_status; }
  // The menu action with this object name ("mnuSavePanel", ...).
  QAction *action(const QString &name) const { return m_actions.value(name); }
  PanelSubWindow *subWindowOf(PanelEditor *panel) const;
  // The connect, login and server panel list dialogs.
  ServerViews *serverViews() const { return m_serverViews; }

  // Shows the connection state text on its colour (0x00BBGGRR).
  void setConnectedLabel(const QString &text, qint32 color);
  // Refreshes the enabled state of the File and Edit menu entries.
  void refreshMenuStates();
  // Adds File > Recent Panels over the list (which must outlive the window).
  void setRecentPanels(RecentPanels *recent);
  // Shows "Recovery off" in the status bar, with the reason as its tip,
  // while unsaved work is not being kept for recovery.
  void setRecovery(CrashRecovery *recovery);
  QLabel *recoveryLabel() const { return m_recoveryOff; }
  FindDock *findDock() const { return m_findDock; }
  CheckDock *checkDock() const { return m_checkDock; }
  ControlListDock *controlListDock() const { return m_controlListDock; }
  // Restores the window's size, place, maximised state, docks (by object
  // name) and Find options from these settings, and saves them there when
  // the window closes. A layout of another version is not restored.
  void setLayoutSettings(QSettings *settings);
  void saveLayout();
  // Scrolls the panel windows so that the active panel's current control is
  // in view (after Find went to it).
  void scrollToCurrentControl();
  // Narrows the docks until the panels have at least half the window's
  // width and height, as far as the docks' minimum sizes allow: neither a
  // remembered layout nor a dock that opens squeezes the panels further.
  void keepHalfForPanels();

 protected:
  void closeEvent(QCloseEvent *event) override;
  void showEvent(QShowEvent *event) override;

 private:
  QAction *addCommand(QMenu *menu, const QString &name, const QString &caption,
                      const QKeySequence &shortcut = {});
  void buildMenus();
  void buildUndoCommands(QMenu *edit);
  void buildViewMenu();
  void buildZoomCommands(QMenu *view);
  void refreshZoom();
  void buildArrangeMenu();
  void refreshPreviewStates();
  QWidget *buildToolBox();
  void onPanelAdded(PanelEditor *panel);
  void onPanelRemoved(PanelEditor *panel);
  // Where a panel window that opens now goes in the MDI area.
  QPoint nextWindowPlace(const QSize &size) const;
  // Find, Check Panels and the control list: tabs of one column.
  QList<QDockWidget *> secondaryDocks() const;
  // No tabbed dock but `except` is open in the column.
  bool secondaryColumnClosed(const QDockWidget *except = nullptr) const;
  // The column's width when it opens.
  void sizeSecondaryColumn(QDockWidget *dock);
  static constexpr int kSecondaryColumnWidth = 360;

  MainWindowLogic &m_designer;
  QMdiArea *m_mdi = nullptr;
  PaletteWidget *m_palette = nullptr;
  QWidget *m_gridContainer = nullptr;
  PropertyGridView *m_gridView = nullptr;
  QLabel *m_recoveryOff = nullptr;
  QLabel *m_status = nullptr;
  QLabel *m_zoomLabel = nullptr;  // the active panel window's zoom
  ServerViews *m_serverViews = nullptr;
  QDockWidget *m_toolDock = nullptr;
  FindDock *m_findDock = nullptr;
  CheckDock *m_checkDock = nullptr;
  ControlListDock *m_controlListDock = nullptr;
  QMap<QString, QAction *> m_actions;
  QSettings *m_layoutSettings = nullptr;
  QTimer m_keepHalfTimer;
};
