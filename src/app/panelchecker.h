#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

#include "app/panelcheck.h"

class MainWindowLogic;
class PanelEditor;

// The logic of Edit > Check Panels: checks the open panels, or every panel
// of the panels folder with its hardware map, keeps the findings and takes
// the user to the control of one. Nothing is written. Once the open panels
// were checked, their edits check them again. The check dock observes it.
class PanelChecker : public QObject {
  Q_OBJECT
 public:
  enum class Scope { OpenPanels, PanelsFolder };

  explicit PanelChecker(MainWindowLogic &designer, QObject *parent = nullptr);

  Scope scope() const { return m_scope; }
  void setScope(Scope scope) { m_scope = scope; }

  // Checks the open panels in window order as they stand (unsaved changes
  // included) and, for the folder, then the closed panel files of the
  // panels folder in name order, all against one another and the map.
  const std::vector<CheckFinding> &Check();
  const std::vector<CheckFinding> &findings() const { return m_findings; }
  // How many panels the last check covered; -1 before the first.
  int panelsChecked() const { return m_panelsChecked; }

  // Brings the finding's panel forward, opening its file when it is not
  // open, and selects its control. Empty when it got there, else why not.
  QString goTo(int index);

 signals:
  void findingsChanged();

 private:
  MainWindowLogic &m_designer;
  Scope m_scope = Scope::OpenPanels;
  std::vector<CheckFinding> m_findings;
  // The open windows checked, by the file name their findings carry.
  std::vector<std::pair<QString, PanelEditor *>> m_checkedWindows;
  int m_panelsChecked = -1;
  QTimer m_refresh;
};
